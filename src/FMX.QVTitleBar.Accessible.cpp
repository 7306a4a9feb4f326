// What a screen reader is told about the title bar: the window's name, its three
// caption buttons as push buttons that do what a click on them does, and the system
// menu with its entries.
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "FMX.QVTitleBarNames.h"

namespace fmx {

namespace {
constexpr const char* kMinimiseText = "最小化";
constexpr const char* kMaximiseText = "最大化";
constexpr const char* kRestoreText = "还原";
constexpr const char* kCloseText = "关闭";
constexpr const char* kSystemMenuText = "系统菜单";
}  // namespace

void TQVTitleBar::DescribeAccessible(TAccessibleDescription& D) const {
  TPresentedControl::DescribeAccessible(D);
  D.Role = TAccessibleRole::TitleBar;
  D.Name = FCaption;
}

void TQVTitleBar::AccessibleChildren(std::vector<TControl*>& Out) const {
  for (TControl* c : {static_cast<TControl*>(F_ContainerMin), static_cast<TControl*>(F_ContainerMax),
                      static_cast<TControl*>(F_ContainerClose),
                      static_cast<TControl*>(F_PopupMMC_MenuBar)})
    if (c != nullptr && !c->IsDestroying()) Out.push_back(c);
}

void TQVTitleBar::DescribeAccessibleForm(TAccessibleDescription& D) const {
  if (!FCaption.empty()) D.Name = FCaption;
}

bool TQVTitleBar::DescribeAccessiblePart(const TControl* Part, TAccessibleDescription& D) const {
  if (Part == nullptr) return false;
  const char* button = Part == F_ContainerMin   ? kMinimiseText
                       : Part == F_ContainerClose ? kCloseText
                       : Part == F_ContainerMax
                           ? (F_TextMax != nullptr && Trim(F_TextMax->Text()) == "2" ? kRestoreText
                                                                                       : kMaximiseText)
                           : nullptr;
  if (button != nullptr) {
    D.Role = TAccessibleRole::PushButton;
    D.Name = button;
    D.Actions.push_back({"press", ""});
    return true;
  }
  if (Part == F_PopupMMC_MenuBar) {
    Part->DescribeAccessible(D);
    D.Name = kSystemMenuText;
    return true;
  }
  // The system menu's entries read as any menu's.
  if (F_PopupMMC_MenuBar != nullptr && Part->Parent() == F_PopupMMC_MenuBar) {
    Part->DescribeAccessible(D);
    return true;
  }
  return false;
}

bool TQVTitleBar::DoAccessiblePartAction(TControl* Part, int Index) {
  if (Index != 0 || Part == nullptr || !AbsoluteEnabled()) return false;
  TRectangle* surface = Part == F_ContainerMin     ? F_BackgroundMin
                        : Part == F_ContainerMax   ? F_BackgroundMax
                        : Part == F_ContainerClose ? F_BackgroundClose
                                                   : nullptr;
  if (surface != nullptr) {
    // The press and release a click on the button gives; a title bar freed by the first
    // has no form for the second to act on.
    TDispatchScope scope;
    __QV_MinMaxCloseButton_MouseDown(surface, TMouseButton::mbLeft, {}, 0, 0);
    __QV_MinMaxCloseButton_MouseUp(surface, TMouseButton::mbLeft, {}, 0, 0);
    return true;
  }
  auto* entry = dynamic_cast<TQVMenuButton*>(Part);
  if (entry == nullptr || F_PopupMMC_MenuBar == nullptr || entry->Parent() != F_PopupMMC_MenuBar)
    return false;
  // A disabled entry or the separator does nothing, and its own action says so.
  if (!entry->AbsoluteEnabled() || entry->MenuButtonStyle() == TQVMenuButtonStyle::mbSeparatorBar)
    return false;
  __QV_PopUpButton_OnClick(entry);
  return true;
}

}  // namespace fmx
