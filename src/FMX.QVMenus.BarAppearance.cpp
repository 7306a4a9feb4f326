// How menu bars look: the layout redone on every paint, the colours taken from the
// style book or the form, the colour and highlight settings shared across a tree, and
// the tree's image list.
#include <algorithm>
#include <cmath>

#include "FMX.QVMenus.h"
#include "FMX.QVMenusShared.h"
#include "FMX.QVUtils.h"

namespace fmx {

using namespace qvmenus;

// --- layout -----------------------------------------------------------------------

void TQVMenuBar::Paint() {
  TPresentedControl::Paint();
  if (IsLoading() && IsReading()) return;
  // Sizes, alignment and padding run resize handlers of the bar and its neighbours,
  // which may free it: painting runs in a dispatch scope, so a freed bar is laid out
  // to no effect (it is off its form and hears nothing).
  if (IsDesigning()) SetVisible(true);
  if (FMenuBarStyle == TQVMenuBarStyle::msMainMenuBar) {
    // What the alignment decides is left to it (setting it would only be undone).
    if (!AlignSetsHeight(Align())) SetHeight(kEntryHeight);
    if (dynamic_cast<TControl*>(Parent()) == nullptr) {
      // On a form: a strip along the top.
      Margins()->SetTop(0);
      SetAlign(TAlignLayout::Top);
      Padding()->Set(1, 0, 1, 0);
    } else {
      // Inside another control: as wide as its entries, from the left.
      Padding()->Set(1, 1, 1, 1);
      SetAlign(TAlignLayout::Left);
      __QV_DoUpdateMainbMenuBarTotalWidth();
    }
  } else {
    FWidthList.clear();
    for (TFmxObject* child : ChildrenList())
      if (auto* b = dynamic_cast<TQVMenuButton*>(child)) FWidthList.push_back(b->__QV_MenuButtonWidth());
    std::sort(FWidthList.begin(), FWidthList.end());
    if (!AlignSetsWidth(Align())) SetWidth(FWidthList.empty() ? 200 : FWidthList.back());
    __QV_DoUpdateSubMenuBarTotalHeight();
  }
  if (FDefaultMenubarColor) __QV_DoDynamicUpdateComponentColor();
}

void TQVMenuBar::__QV_DoUpdateMainbMenuBarTotalWidth() {
  float total = 0;
  for (TFmxObject* child : ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(child))
      total += b->MarginsRect().Left + b->Width() + b->MarginsRect().Right;
  const float w = IsDesigning() ? total + 54 : total + 2 * Padding()->Left();
  if (!AlignSetsWidth(Align())) SetWidth(w);
}

void TQVMenuBar::__QV_DoUpdateSubMenuBarTotalHeight() {
  float total = 0;
  for (TFmxObject* child : ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(child))
      total += b->MarginsRect().Top + b->Height() + b->MarginsRect().Bottom;
  const float h =
      IsDesigning() ? total + 2 * Padding()->Top() + 54 : total + Padding()->Top() + 2.5f;
  if (!AlignSetsHeight(Align())) SetHeight(h);
}

// --- colours ----------------------------------------------------------------------

void TQVMenuBar::__QV_DoDynamicUpdateComponentColor() {
  TForm* form = FOwnerForm;
  TStyleBook* book = form != nullptr ? __QV_样式_GetStyleBook(form) : nullptr;
  bool fromStyle = false;
  if (book != nullptr) {
    FBackgroundColor = __QV_颜色_获取样式本中窗体背景颜色(book);
    // Pure white is what a style without a background colour reads as.
    if (FBackgroundColor != kWhite) {
      FBorderColor = kBorderGrey;
      FFontColor = __QV_颜色_获取样式本中字体颜色(book);
      FSelectBarColor = kSelectBlue;
      FSelectBarOpacity = kSelectOpacity;
      fromStyle = true;
    }
  }
  if (!fromStyle) {
    if (form != nullptr && form->Fill()->Kind() == TBrushKind::Solid) {
      FBackgroundColor = form->Fill()->Color();
      FFontColor = FBackgroundColor == kBlack ? kWhite : kBlack;
    } else {
      FBackgroundColor = kWhite;
      FFontColor = kBlack;
    }
    FBorderColor = kBorderGrey;
    FSelectBarColor = kSelectBlue;
    FSelectBarOpacity = kSelectOpacity;
  }
  F_BackgroundColor->Fill()->SetColor(FBackgroundColor);
  F_BackgroundColor->Stroke()->SetColor(FBorderColor);
  F_SelectedBar->Fill()->SetColor(FSelectBarColor);
  F_SelectedBar->SetOpacity(FSelectBarOpacity);
  // The entries follow when the first of them shows another colour.
  TQVMenuBar* root = FRootMenuBar;
  if (root == nullptr) return;
  EraseEntries(root->FMenuButtonList, [](const TObject*) { return false; });
  if (root->FMenuButtonList.empty()) return;
  if (root->FMenuButtonList.front()->MenuButtonFontColor() == FFontColor) return;
  const TAlphaColor color = FFontColor;
  ForEachIn(root->FMenuButtonList, [color](TQVMenuButton* b) { b->SetMenuButtonFontColor(color); });
}

// The colour setters change this bar and every bar the root lists, each bar's field
// and its own rectangle; none of this runs application code. While a stored form is
// read each bar takes its own written value only: the bars of a tree may differ (one
// added after a setter ran, one that follows the style on its own), and a value
// spread to the tree would overwrite what the other bars' texts say.
void TQVMenuBar::SetBackgroundColor(TAlphaColor Value) {
  __QV_测试_显示提示(this, nullptr);
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FBackgroundColor || root == nullptr) return;
  auto apply = [Value](TQVMenuBar* b) {
    b->FBackgroundColor = Value;
    b->F_BackgroundColor->Fill()->SetColor(Value);
  };
  apply(this);
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, apply);
}

void TQVMenuBar::SetBorderColor(TAlphaColor Value) {
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FBorderColor || root == nullptr) return;
  auto apply = [Value](TQVMenuBar* b) {
    b->FBorderColor = Value;
    b->F_BackgroundColor->Stroke()->SetColor(Value);
    // A border given on purpose is a whole pixel wide.
    b->F_BackgroundColor->Stroke()->SetThickness(1);
  };
  apply(this);
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, apply);
}

void TQVMenuBar::SetSelectBarColor(TAlphaColor Value) {
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FSelectBarColor || root == nullptr) return;
  auto apply = [Value](TQVMenuBar* b) {
    b->FSelectBarColor = Value;
    b->F_SelectedBar->Fill()->SetColor(Value);
  };
  apply(this);
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, apply);
}

void TQVMenuBar::SetSelectBarOpacity(float Value) {
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  // Compared before clamping: NaN differs from everything and ends up as 1.
  if (Value == FSelectBarOpacity || root == nullptr) return;
  const float opacity = (std::isnan(Value) || Value > 1) ? 1.0f : (Value < 0 ? 0.0f : Value);
  auto apply = [opacity](TQVMenuBar* b) {
    b->FSelectBarOpacity = opacity;
    b->F_SelectedBar->SetOpacity(opacity);
  };
  apply(this);
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, apply);
}

void TQVMenuBar::SetFontColor(TAlphaColor Value) {
  // The walks run handlers that may free the tree; what they free stays readable until
  // both are done.
  TDispatchScope scope;
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FFontColor || root == nullptr) return;
  FFontColor = Value;
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, [Value](TQVMenuBar* b) { b->FFontColor = Value; });
  ForEachIn(root->FMenuButtonList, [Value](TQVMenuButton* b) { b->SetMenuButtonFontColor(Value); });
}

void TQVMenuBar::SetDefaultMenubarColor(bool Value) {
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FDefaultMenubarColor || root == nullptr) return;
  // Takes effect at the next paint.
  FDefaultMenubarColor = Value;
  if (IsLoading()) return;
  ForEachIn(root->FMenuBarList, [Value](TQVMenuBar* b) { b->FDefaultMenubarColor = Value; });
}

// --- image list -------------------------------------------------------------------

TBaseImageList* TQVMenuBar::GetImages() const {
  return FImageLink != nullptr ? FImageLink->Images() : nullptr;
}

void TQVMenuBar::__QV_LinkImages(TBaseImageList* Value) {
  if (Value == nullptr) {
    FImageLink.reset();
    return;
  }
  if (FImageLink == nullptr) FImageLink = std::make_unique<TImageLink>();
  FImageLink->SetImages(Value);
}

void TQVMenuBar::SetImages(TBaseImageList* Value) {
  // The walks run handlers that may free the tree; what they free stays readable until
  // both are done.
  TDispatchScope scope;
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == GetImages() || root == nullptr) return;
  __QV_LinkImages(Value);
  // Read from a stored form, the list is this bar's and its own entries' (see the
  // colour setters).
  const bool own = IsLoading();
  if (!own) ForEachIn(root->FMenuBarList, [Value](TQVMenuBar* b) { b->__QV_LinkImages(Value); });
  // Marks and glyph indexes run handlers; a list they free is left to the link, which
  // reads null, and to the list's own notice to its entries.
  TWeak<TBaseImageList> images(Value);
  ForEachIn(root->FMenuButtonList, [&](TQVMenuButton* b) {
    if (own && b->Parent() != this) return;
    if (Value == nullptr) {
      b->FMenuButtonImags = nullptr;
      b->SetMark(TQVMark::mNone);
      return;
    }
    if (images.Get() == nullptr) return;
    b->FMenuButtonImags = Value;
    if (b->FImageIndex >= 0) {
      b->SetMark(TQVMark::mImageList);
      b->SetImageIndex(b->FImageIndex);
    }
  });
}

}  // namespace fmx
