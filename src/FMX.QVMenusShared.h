// What the menu unit's source files share: the messages, the entries' fixed sizes and
// the walk over a root's weak lists.
#pragma once

#include <string>
#include <vector>

#include "host/Classes.h"

namespace fmx::qvmenus {

inline constexpr float kEntryHeight = 27;
inline constexpr float kSeparatorHeight = 1;
inline constexpr float kFontSize = 14;
inline constexpr TAlphaColor kWhite = 0xFFFFFFFF;
inline constexpr TAlphaColor kBlack = 0xFF000000;
inline constexpr TAlphaColor kBorderGrey = 0xFFA9A9A9;
inline constexpr TAlphaColor kSelectBlue = 0xFF6495ED;
inline constexpr float kSelectOpacity = 0.6f;

inline constexpr const char* kTickPath = "M50,174 L63,183 L76,157 L76,157 L63,183 ";
inline constexpr const char* kArrowPath = "M108,0 L243,127 L108,254 L108,254 L243,127 ";

inline constexpr const char* kOnlyMenuChildren = "菜单条中只能增加其它菜单条或者菜单条按钮";
inline constexpr const char* kOnlyOneMainBar = "窗体中只能存在一个主菜单条";
inline std::string ParentIsMenuBarMessage(const std::string& Name) {
  return "你不能将父类是菜单条的 " + Name + " 设置成主菜单条";
}
inline std::string NotTheRootMessage(const std::string& Name, const std::string& RootName) {
  return Name + " 的所有者 " + RootName + " 才可以设置成主菜单条";
}

// Whether an alignment decides the control's width (height) by itself.
inline bool AlignSetsWidth(TAlignLayout A) {
  switch (A) {
    case TAlignLayout::Top:
    case TAlignLayout::Bottom:
    case TAlignLayout::MostTop:
    case TAlignLayout::MostBottom:
    case TAlignLayout::Client:
    case TAlignLayout::Contents:
    case TAlignLayout::VertCenter:
      return true;
    default:
      return false;
  }
}
inline bool AlignSetsHeight(TAlignLayout A) {
  switch (A) {
    case TAlignLayout::Left:
    case TAlignLayout::Right:
    case TAlignLayout::MostLeft:
    case TAlignLayout::MostRight:
    case TAlignLayout::Client:
    case TAlignLayout::Contents:
    case TAlignLayout::HorzCenter:
      return true;
    default:
      return false;
  }
}

// Calls Fn on each entry of List there when the walk starts and not freed on the way.
// Fn may run application code that frees anything (the list's owner included) or
// changes the list: the walk goes over a copy inside a dispatch scope, so what a
// handler frees stays readable until the walk is over.
template <class T, class A, class F>
void ForEachIn(const std::vector<TWeak<T>, A>& List, F&& Fn) {
  TDispatchScope scope;
  detail::TObjectVector<T*> items;
  items.reserve(List.size());
  for (const TWeak<T>& entry : List)
    if (T* item = entry.Get()) items.push_back(item);
  for (T* item : items)
    if (!item->IsDestroying()) Fn(item);
}

// Drops the entries that are freed (or being freed) and those for which Drop says so.
template <class T, class A, class P>
void EraseEntries(std::vector<TWeak<T>, A>& List, P&& Drop) {
  std::erase_if(List, [&](const TWeak<T>& e) { return !e.Alive() || Drop(e.Get()); });
}

}  // namespace fmx::qvmenus
