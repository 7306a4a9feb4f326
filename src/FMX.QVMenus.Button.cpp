// Menu entries: the private tree, the three looks, marks and the check state, arrow,
// shortcut and caption, font colour and size, and the width an entry asks for.
#include <algorithm>
#include <cmath>

#include "FMX.QVMenus.h"
#include "FMX.QVMenusShared.h"
#include "FMX.QVUtils.h"
#include "host/Effects.h"
#include "host/Registry.h"

namespace fmx {

using namespace qvmenus;

namespace {

// The private children: owned by the entry and never written to a stored form. Each is
// set up before it joins its parent, so that joining is the one realign it costs.
enum class TDesignerLock { Locked, Unlocked };

template <class T>
T* MakePrivate(TComponent* Owner, TDesignerLock Lock) {
  auto* c = new T(Owner);
  c->SetStored(false);
  c->SetLocked(Lock == TDesignerLock::Locked);
  c->SetHitTest(false);
  return c;
}

bool Blank(const std::string& S) { return Trim(S).empty(); }

// The text of one UTF-16 code unit. A NUL shows nothing; half a surrogate pair has no
// character of its own and shows the replacement character.
std::string CharText(fmx::Char C) {
  if (C == 0) return {};
  if (C >= 0xD800 && C <= 0xDFFF) return "\xEF\xBF\xBD";
  std::string out;
  if (C < 0x80) {
    out += static_cast<char>(C);
  } else if (C < 0x800) {
    out += static_cast<char>(0xC0 | (C >> 6));
    out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (C >> 12));
    out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (C & 0x3F));
  }
  return out;
}

void SetOwnFontColor(TLabel* L, TAlphaColor Value) {
  L->SetStyledSettings(L->StyledSettings() - TStyledSetting::FontColor);
  L->TextSettings()->SetFontColor(Value);
}

void SetOwnFontSize(TLabel* L, float Value) {
  L->SetStyledSettings(L->StyledSettings() - TStyledSetting::Size);
  L->TextSettings()->Font()->SetSize(Value);
}

// The published properties in declaration order; ordinal ones have no stored default.
const TDeclareClass<TQVMenuButton, TPresentedControl> MenuButtonClass(
    "TQVMenuButton", [](auto& c) {
      DeclareEnum<TQVMenuButtonStyle>({"mbMainMenuButton", "mbSubMenuButton", "mbSeparatorBar"});
      DeclareEnum<TQVMark>({"mNone", "mImageList", "mIcon", "mTick", "mChar"});
      using T = TQVMenuButton;
      c.Prop("Mark", &T::Mark, &T::SetMark, AlwaysWritten);
      c.Prop("IsCheck", &T::IsCheck, &T::SetIsCheck, AlwaysWritten);
      c.Prop("GroupIndex", &T::GroupIndex, &T::SetGroupIndex, AlwaysWritten);
      c.Prop("MenuButtonStyle", &T::MenuButtonStyle, &T::SetMenuButtonStyle, AlwaysWritten);
      c.Prop("ButtonText", &T::ButtonText, &T::SetButtonText, Default(""));
      c.Prop("ShortCut", &T::ShortCut, &T::SetShortCut, Default(""));
      c.Prop("IconBitmap", &T::IconBitmap, &T::SetIconBitmap, WrittenWhenNotEmpty);
      c.Prop("MoreArrow", &T::MoreArrow, &T::SetMoreArrow, AlwaysWritten);
      c.Prop("ImageIndex", &T::ImageIndex, &T::SetImageIndex, AlwaysWritten);
      c.Prop("Char", &T::Char, &T::SetChar, AlwaysWritten);
      // Always written: an entry joining a bar is aligned by it, so an entry the
      // application left unaligned must say so.
      c.Prop("Align", &T::Align, &T::SetAlign, AlwaysWritten);
      c.Inherit({"ClipChildren", "ClipParent", "Cursor", "DragMode",
                 "EnableDragHighlight", "Enabled", "Locked", "Height", "Hint", "HitTest",
                 "Padding", "Opacity", "Margins", "Position", "Size", "TouchTargetExpansion",
                 "Visible", "Width", "ParentShowHint", "ShowHint", "TabOrder", "TabStop",
                 "OnPainting", "OnPaint", "OnResize", "OnResized", "OnDragEnter", "OnDragLeave",
                 "OnDragOver", "OnDragDrop", "OnDragEnd", "OnClick", "OnDblClick", "OnMouseDown",
                 "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnMouseEnter", "OnMouseLeave"});
    });

}  // namespace

// --- construction -----------------------------------------------------------------

TQVMenuButton::TQVMenuButton(TComponent* AOwner) : TPresentedControl(AOwner) {
  SetSize(200, kEntryHeight);
  SetHitTest(true);
  FMark = TQVMark::mNone;
  FIsCheck = false;
  FImageIndex = -1;
  FMoreArrow = false;
  FParentMenuBar = nullptr;
  // The field only: the style's look is applied when a bar adopts the entry.
  FMenuButtonStyle = TQVMenuButtonStyle::mbSubMenuButton;
  __QV_CreateMenuButtonAppearance();
}

void TQVMenuButton::__QV_CreateMenuButtonAppearance() {
  // The parts are neither entries nor effects and are owned by the entry: the checks
  // that keep foreign controls out would all come to nothing for them.
  FAddingParts = true;
  ReserveComponents(11);
  // 1. The mark column; its width is the height the layout gives it.
  F_MarkContainer = MakePrivate<TLayout>(this, TDesignerLock::Unlocked);
  F_MarkContainer->Margins()->Set(3, 5, 3, 1);
  F_MarkContainer->SetAlign(TAlignLayout::MostLeft);
  F_MarkContainer->SetHeight(kEntryHeight);
  F_MarkContainer->SetParent(this);
  F_MarkContainer->SetWidth(F_MarkContainer->Height());

  // 2-5. The four marks, one shown at a time.
  F_ImageIndexMark = MakePrivate<TGlyph>(this, TDesignerLock::Locked);
  F_ImageIndexMark->Margins()->Set(2, 2, 2, 2);
  F_ImageIndexMark->SetAlign(TAlignLayout::Client);
  F_ImageIndexMark->SetVisible(false);
  F_ImageIndexMark->SetImages(nullptr);
  F_ImageIndexMark->SetImageIndex(-1);
  F_ImageIndexMark->SetAutoHide(false);
  F_ImageIndexMark->SetParent(F_MarkContainer);

  F_IconMark = MakePrivate<TImage>(this, TDesignerLock::Locked);
  F_IconMark->Margins()->Set(2, 2, 2, 2);
  F_IconMark->SetAlign(TAlignLayout::Client);
  F_IconMark->SetVisible(false);
  F_IconMark->SetParent(F_MarkContainer);

  F_TickMark = MakePrivate<TPath>(this, TDesignerLock::Locked);
  F_TickMark->Margins()->Set(4, 4, 4, 4);
  F_TickMark->SetAlign(TAlignLayout::Client);
  F_TickMark->SetVisible(false);
  static const std::string tick(kTickPath);
  F_TickMark->Data()->SetData(tick);
  F_TickMark->Fill()->SetKind(TBrushKind::None);
  F_TickMark->Stroke()->SetThickness(1.5f);
  F_TickMark->SetParent(F_MarkContainer);

  F_CharMark = MakePrivate<TLabel>(this, TDesignerLock::Locked);
  F_CharMark->Margins()->Set(4, 4, 4, 4);
  F_CharMark->SetAlign(TAlignLayout::Client);
  F_CharMark->SetVisible(false);
  F_CharMark->SetStyledSettings({});
  F_CharMark->TextSettings()->SetWordWrap(false);
  F_CharMark->TextSettings()->SetHorzAlign(TTextAlign::Center);
  F_CharMark->TextSettings()->Font()->SetSize(kFontSize);
  F_CharMark->TextSettings()->Font()->SetFamily("Webdings");
  F_CharMark->SetParent(F_MarkContainer);

  // 6-8. Caption and shortcut share the middle: one from the left, one from the right.
  F_MenuBtnShortCutContainer = MakePrivate<TLayout>(this, TDesignerLock::Locked);
  F_MenuBtnShortCutContainer->SetAlign(TAlignLayout::Client);
  F_MenuBtnShortCutContainer->SetParent(this);

  auto text = [this](TTextAlign HorzAlign) {
    auto* l = MakePrivate<TLabel>(this, TDesignerLock::Locked);
    l->SetAlign(TAlignLayout::Contents);
    l->SetVisible(true);
    l->SetStyledSettings({TStyledSetting::Family});
    l->TextSettings()->SetWordWrap(false);
    l->TextSettings()->SetHorzAlign(HorzAlign);
    l->TextSettings()->Font()->SetSize(kFontSize);
    l->SetText("");
    l->SetParent(F_MenuBtnShortCutContainer);
    return l;
  };
  F_MenuButton = text(TTextAlign::Leading);
  F_ShortCut = text(TTextAlign::Trailing);

  // 9. The separator line, hidden until the entry is a separator.
  F_SepratorLine = MakePrivate<TLine>(this, TDesignerLock::Unlocked);
  F_SepratorLine->SetAlign(TAlignLayout::VertCenter);
  F_SepratorLine->SetHeight(1);
  F_SepratorLine->SetEnabled(false);
  F_SepratorLine->SetLineType(TLineType::Bottom);
  F_SepratorLine->SetVisible(false);
  F_SepratorLine->SetParent(this);

  // 10-11. The arrow column: square, with a chevron narrower than it is high.
  F_MoreArrowContainer = MakePrivate<TLayout>(this, TDesignerLock::Locked);
  F_MoreArrowContainer->Margins()->Set(0, 8, 7, 6);
  F_MoreArrowContainer->SetAlign(TAlignLayout::MostRight);
  F_MoreArrowContainer->SetParent(this);
  F_MoreArrowContainer->SetWidth(F_MoreArrowContainer->Height());

  F_MoreArrow = MakePrivate<TPath>(this, TDesignerLock::Locked);
  F_MoreArrow->SetAlign(TAlignLayout::Right);
  F_MoreArrow->SetVisible(true);
  static const std::string arrow(kArrowPath);
  F_MoreArrow->Data()->SetData(arrow);
  F_MoreArrow->Fill()->SetKind(TBrushKind::None);
  F_MoreArrow->Stroke()->SetThickness(1.5f);
  F_MoreArrow->Stroke()->SetColor(kWhite);
  F_MoreArrow->SetParent(F_MoreArrowContainer);
  const float h = F_MoreArrow->Height();
  F_MoreArrow->SetWidth(h - h / 2.5f);
  FAddingParts = false;
}

TQVMenuButton::~TQVMenuButton() {
  // The glyph lets go of the image list before the children go.
  if (F_ImageIndexMark != nullptr) F_ImageIndexMark->SetImages(nullptr);
}

void TQVMenuButton::BeforeDestruction() {
  // The bars are found while the links still name this entry: once its freeing begins,
  // every link to it reads null. A bar that goes as a whole takes its cascades with it.
  std::vector<TWeak<TQVMenuBar>> hanging;
  TQVMenuBar* bar = __QV_GetParentMenuBar(this);
  if (!IsDestroying() && bar != nullptr && !bar->IsDestroying())
    if (TQVMenuBar* root = bar->__QV_EnsureRootMenuBar())
      for (const TWeak<TQVMenuBar>& b : root->FMenuBarList)
        if (b && b->FTargetButton.Get() == this) hanging.push_back(b);
  TPresentedControl::BeforeDestruction();
  // Off its bar now: code still running on it finds no tree to act on.
  __QV_ForgetMenuTree();
  for (const TWeak<TQVMenuBar>& b : hanging)
    if (TQVMenuBar* h = b.Get(); h != nullptr && h->FTargetButton.Get() == nullptr)
      h->SetTargetButton(nullptr);
}

// --- place in a menu ----------------------------------------------------------------

TQVMenuBar* TQVMenuButton::__QV_GetParentMenuBar(TQVMenuButton* AButton) {
  return AButton == nullptr ? nullptr : dynamic_cast<TQVMenuBar*>(AButton->Parent());
}

TQVMenuBar* TQVMenuButton::__QV_ParentMenuBar() {
  if (!FParentMenuBar) FParentMenuBar = __QV_GetParentMenuBar(this);
  return FParentMenuBar;
}

void TQVMenuButton::__QV_ForgetMenuTree() {
  FMenuBarRoot = nullptr;
  FParentMenuBar = nullptr;
  FMenuButtonImags = nullptr;
}

void TQVMenuButton::ParentChanged() {
  TPresentedControl::ParentChanged();
  // An entry off every bar belongs to no tree: nothing it keeps may point into one.
  if (Parent() == nullptr) {
    __QV_ForgetMenuTree();
    return;
  }
  // Handlers below may free this entry or its bar, or move it: what is freed is off
  // its parent (and hears no more), so asking for the parent tells all.
  TDispatchScope scope;
  if (auto* bar = dynamic_cast<TQVMenuBar*>(Parent())) {
    const TAlphaColor color = bar->FFontColor;
    const bool across = bar->FMenuBarStyle == TQVMenuBarStyle::msMainMenuBar;
    // The layout orders a bar's entries by position: a newcomer starts past the last
    // one, so that entries stand in the order they were added. A stored entry keeps
    // the position it was written with (none written means 0, ties go by stacking
    // order), or a second reading would stack it differently from the first.
    if (!(IsLoading() && IsReading())) {
      const float end = bar->__QV_EntriesEnd(across, this);
      if (across)
        Position()->SetX(end);
      else
        Position()->SetY(end);
      if (Parent() != bar) return;
    }
    bar->__QV_AccountEntryEnd(this);
    SetAlign(across ? TAlignLayout::Left : TAlignLayout::Top);
    SetMenuButtonFontColor(color);
  } else {
    SetAlign(TAlignLayout::None);
    __QV_ForgetMenuTree();
  }
}

void TQVMenuButton::DoInsertObject(int Index, TFmxObject* AObject) {
  // The entry's own parts, added by its constructor, run no application code and
  // stay where they are put.
  if (FAddingParts) {
    TPresentedControl::DoInsertObject(Index, AObject);
    return;
  }
  TDispatchScope scope;
  TPresentedControl::DoInsertObject(Index, AObject);
  // Freed (with this entry or alone) or moved on by a handler.
  if (AObject->Parent() != this) return;
  // An entry dropped on an entry becomes its sibling.
  if (dynamic_cast<TQVMenuButton*>(AObject) != nullptr) {
    AObject->SetParent(Parent());
    return;
  }
  if (dynamic_cast<TEffect*>(AObject) != nullptr) return;
  // Controls of the form or a frame go back to it; the entry's own parts stay.
  TComponent* owner = AObject->Owner();
  if (auto* form = dynamic_cast<TForm*>(owner))
    AObject->SetParent(form);
  else if (auto* frame = dynamic_cast<TFrame*>(owner))
    AObject->SetParent(frame);
}

void TQVMenuButton::Paint() {
  TPresentedControl::Paint();
  // The size an entry asks for, wherever the bar's layout does not decide it already
  // (setting what the layout decides would only be undone by it, on every paint).
  // Painting runs in a dispatch: a resize handler that frees the entry leaves it whole
  // to the end of it, off its bar, where a size changes nothing.
  const float height =
      FMenuButtonStyle == TQVMenuButtonStyle::mbSeparatorBar ? kSeparatorHeight : kEntryHeight;
  if (!AlignSetsHeight(Align())) SetHeight(height);
  if (!AlignSetsWidth(Align())) {
    if (const float w = __QV_MenuButtonWidth(); w != 0) SetWidth(w);
  }
}

// --- the three looks --------------------------------------------------------------

void TQVMenuButton::SetMenuButtonStyle(TQVMenuButtonStyle Value) {
  FMenuButtonStyle = Value;
  // New margins lay the bar out again, and the resize handlers that runs may free this
  // entry: it is then restyled to no effect, off its bar.
  TDispatchScope scope;
  // A stored entry's hit test, enabled state and margins follow in the text, and one
  // left at its default is not written: the look must not replace them while read.
  const bool stored = __QV_ReadingStoredMarks();
  if (!stored) {
    SetHitTest(true);
    SetEnabled(true);
    // Read without making them: most entries never have margins, and each set costs a
    // small allocation.
    if (const TRectF m = MarginsRect(); m.Top != 0 || m.Bottom != 0) Margins()->Set(m.Left, 0, m.Right, 0);
  }
  __QV_ParentMenuBar();
  switch (Value) {
    case TQVMenuButtonStyle::mbMainMenuButton:
      F_MarkContainer->SetVisible(false);
      F_MoreArrowContainer->SetVisible(false);
      F_SepratorLine->SetVisible(false);
      F_MenuButton->SetVisible(true);
      F_ShortCut->SetVisible(false);
      FIsCheck = false;
      F_MenuButton->TextSettings()->SetHorzAlign(TTextAlign::Center);
      break;
    case TQVMenuButtonStyle::mbSubMenuButton:
      F_MarkContainer->SetVisible(true);
      F_MoreArrowContainer->SetVisible(true);
      __QV_ApplySubMenuMarks();
      F_ShortCut->SetVisible(true);
      F_SepratorLine->SetVisible(false);
      F_MenuButton->SetVisible(true);
      F_MenuButton->TextSettings()->SetHorzAlign(TTextAlign::Leading);
      break;
    case TQVMenuButtonStyle::mbSeparatorBar: {
      if (!stored) {
        SetHitTest(false);
        Margins()->Set(Margins()->Left(), 3, Margins()->Right(), 1);
      }
      F_MarkContainer->SetVisible(false);
      F_MenuButton->SetVisible(false);
      F_ShortCut->SetVisible(false);
      F_MoreArrowContainer->SetVisible(false);
      F_SepratorLine->SetVisible(true);
      F_SepratorLine->Stroke()->SetColor(FMenuButtonFontColor);
      // The line starts where the caption of an entry starts.
      const TBounds* column = F_MarkContainer->Margins();
      TBounds* line = F_SepratorLine->Margins();
      line->Set(column->Left() + F_MarkContainer->Width() + column->Right(), line->Top(), 6,
                line->Bottom());
      F_SepratorLine->SetOpacity(0.8f);
      FIsCheck = false;
      break;
    }
  }
  __QV_UpdateMenuButtonTotalWidth();
}

// The mark column of a sub-menu entry as its mark says.
void TQVMenuButton::__QV_ApplySubMenuMarks() {
  switch (FMark) {
    case TQVMark::mNone:
      F_ImageIndexMark->SetVisible(false);
      F_IconMark->SetVisible(false);
      F_TickMark->SetVisible(false);
      // The arrow shows exactly when the entry opens a further menu (the built tree
      // shows it, so an entry without one must hide it here).
      F_MoreArrow->SetVisible(FMoreArrow);
      break;
    case TQVMark::mImageList:
      F_ImageIndexMark->SetVisible(true);
      F_IconMark->SetVisible(false);
      F_TickMark->SetVisible(false);
      break;
    case TQVMark::mIcon:
      F_IconMark->SetVisible(true);
      F_ImageIndexMark->SetVisible(false);
      F_TickMark->SetVisible(false);
      break;
    case TQVMark::mTick:
      F_ImageIndexMark->SetVisible(false);
      F_IconMark->SetVisible(false);
      F_TickMark->SetVisible(FIsCheck);
      F_MoreArrow->SetVisible(false);
      break;
    case TQVMark::mChar:
      break;
  }
}

void TQVMenuButton::__QV_UpdateMenuButtonTotalWidth() {
  switch (FMenuButtonStyle) {
    case TQVMenuButtonStyle::mbMainMenuButton: {
      // A main entry sizes itself on its strip, which shows: measured at once.
      const float w =
          Blank(FButtonText) ? 80 : __QV_文本_获取文本宽度(F_MenuButton->TextSettings(), FButtonText);
      FMenuButtonWidth = w + 12;
      FMenuButtonWidthDue = false;
      SetWidth(FMenuButtonWidth);
      break;
    }
    case TQVMenuButtonStyle::mbSubMenuButton:
      FMenuButtonWidthDue = true;
      break;
    case TQVMenuButtonStyle::mbSeparatorBar:
      break;
  }
}

float TQVMenuButton::__QV_MenuButtonWidth() {
  if (FMenuButtonWidthDue) {
    FMenuButtonWidthDue = false;
    FMenuButtonWidth = __QV_MeasureSubMenuButtonWidth();
  }
  return FMenuButtonWidth;
}

float TQVMenuButton::__QV_MeasureSubMenuButtonWidth() const {
  // Both columns count, shown or not.
  auto column = [](const TControl* C) {
    return C->Margins()->Left() + C->Width() + C->Margins()->Right();
  };
  float w = column(F_MarkContainer) + column(F_MoreArrowContainer);
  if (!Blank(FButtonText)) w += __QV_文本_获取文本宽度(F_MenuButton->TextSettings(), FButtonText);
  if (!Blank(FShortCut)) w += __QV_文本_获取文本宽度(F_ShortCut->TextSettings(), FShortCut);
  return w + 30;
}

// --- marks ------------------------------------------------------------------------

TBitmap* TQVMenuButton::IconBitmap() const {
  if (!FIconBitmap) FIconBitmap.reset(new TIconBitmap(const_cast<TQVMenuButton*>(this)));
  return FIconBitmap.get();
}

// An icon never made is empty already; its column is hidden all the same, as emptying
// a made one tells.
void TQVMenuButton::__QV_EmptyIconBitmap() {
  if (FIconBitmap)
    FIconBitmap->Assign(nullptr);
  else
    OnBitmapChanged(nullptr);
}

void TQVMenuButton::SetMark(TQVMark Value) {
  if (IsLoading() && IsReading()) FMarkRead = true;
  if (Value == FMark) return;
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSubMenuButton) {
    // A main entry keeps the mark it had on a sub-menu, and a stored one says so: while
    // read it is taken as written, to show once the entry is a sub-menu entry again.
    if (IsLoading()) FMark = Value;
    return;
  }
  FMark = Value;
  const bool glyph = Value == TQVMark::mImageList, icon = Value == TQVMark::mIcon,
             charMark = Value == TQVMark::mChar;
  F_ImageIndexMark->SetVisible(glyph);
  F_IconMark->SetVisible(icon);
  F_TickMark->SetVisible(Value == TQVMark::mTick && FIsCheck);
  F_CharMark->SetVisible(charMark);
  if (glyph) F_ImageIndexMark->BringToFront();
  if (icon) F_IconMark->BringToFront();
  if (charMark) F_CharMark->BringToFront();
  if (Value != TQVMark::mTick) {
    FIsCheck = false;
    FGroupIndex = 0;
  }
  if (Value != TQVMark::mIcon) __QV_EmptyIconBitmap();
}

void TQVMenuButton::OnBitmapChanged(TObject*) {
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSubMenuButton || F_IconMark == nullptr) return;
  F_IconMark->SetBitmap(FIconBitmap.get());
  if (!FIconBitmap || FIconBitmap->IsEmpty()) {
    F_IconMark->SetVisible(false);
  } else if (__QV_ReadingStoredMarks()) {
    // A radio entry keeps the icon it had (joining a group changes no mark), so a
    // stored one carries both; turning it into an icon entry would lose its tick.
    F_IconMark->SetVisible(!FIsCheck);
  } else {
    FIsCheck = false;
    F_TickMark->SetVisible(false);
    FMark = TQVMark::mIcon;
    F_IconMark->SetVisible(true);
  }
  F_IconMark->Repaint();
}

// The setters keep mark, tick, group and icon consistent for the application; a
// stored form was written from such a state (or one the setters reach, like a radio
// entry that kept its icon, or a separator that kept its tick), and read with the same
// side effects it would come back as something else. Once the stored Mark is in (it
// is written first), the tick, group and icon that follow are taken as written. A
// hand-written form without a Mark still gets what the setters make of it.
bool TQVMenuButton::__QV_ReadingStoredMarks() const {
  return FMarkRead && IsLoading() && IsReading();
}

void TQVMenuButton::Loaded() {
  FMarkRead = false;
  TPresentedControl::Loaded();
}

void TQVMenuButton::SetIconBitmap(TBitmap* Value) {
  if (Value != nullptr && Value == FIconBitmap.get())
    OnBitmapChanged(Value);
  else if (Value == nullptr && !FIconBitmap)
    OnBitmapChanged(nullptr);  // what emptying a made one tells
  else
    IconBitmap()->Assign(Value);
}

void TQVMenuButton::SetImageIndex(int Value) {
  FImageIndex = Value;
  TBaseImageList* images = FMenuButtonImags;
  if (images == nullptr) return;
  F_ImageIndexMark->SetImages(images);
  FMark = TQVMark::mImageList;
  if (Value == -1) {
    F_ImageIndexMark->SetVisible(false);
    return;
  }
  // An index the list does not have shows nothing.
  F_ImageIndexMark->SetImageIndex(Value);
  F_ImageIndexMark->SetVisible(true);
  F_ImageIndexMark->Repaint();
  F_IconMark->SetVisible(false);
  F_TickMark->SetVisible(false);
}

void TQVMenuButton::SetChar(fmx::Char Value) {
  // Half of a surrogate pair is no character: no text can hold it, a stored form
  // neither. The entry takes the stand-in it shows for it.
  if (Value >= 0xD800 && Value <= 0xDFFF) Value = 0xFFFD;
  FChar = Value;
  F_CharMark->SetText(CharText(Value));
}

// --- check marks and radio groups ---------------------------------------------------

void TQVMenuButton::SetIsCheck(bool Value) {
  if (Value == FIsCheck) return;
  // A separator is never checked: the style switch unchecks it, so no stored form
  // written from one says otherwise, and one read with a check would not write it.
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSubMenuButton) {
    // The style follows in the text: an entry read onto a main bar may be written as a
    // sub-menu entry (the application set its style), tick and all.
    if (FMenuButtonStyle == TQVMenuButtonStyle::mbMainMenuButton && IsLoading() && IsReading())
      FIsCheck = Value;
    return;
  }
  FIsCheck = Value;
  TAccessibility::Notify(this, TAccessibleEvent::StateChanged);
  F_TickMark->SetVisible(Value);
  F_IconMark->SetVisible(false);
  F_ImageIndexMark->SetVisible(false);
  if (!Value || __QV_ReadingStoredMarks()) return;
  if (FGroupIndex == 0) {
    FMark = TQVMark::mTick;
    F_IconMark->SetBitmap(nullptr);
    __QV_EmptyIconBitmap();
    FMoreArrow = false;
    F_MoreArrow->SetVisible(false);
    return;
  }
  // A radio entry: the others of its group anywhere in the tree lose their tick. They
  // are told apart by identity, so entries without names are no one's twins.
  TQVMenuBar* root = FMenuBarRoot;
  if (root == nullptr) return;
  for (const TWeak<TQVMenuButton>& entry : root->FMenuButtonList) {
    TQVMenuButton* other = entry.Get();
    if (other == nullptr || other == this || other->FGroupIndex != FGroupIndex) continue;
    other->FIsCheck = false;
    other->F_TickMark->SetVisible(false);
  }
}

void TQVMenuButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  if (Value == 0 || __QV_ReadingStoredMarks()) return;
  FMark = TQVMark::mTick;
  FMoreArrow = false;
  F_MoreArrow->SetVisible(false);
}

// --- arrow, shortcut and caption ----------------------------------------------------

void TQVMenuButton::SetMoreArrow(bool Value) {
  if (Value == FMoreArrow) return;
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSubMenuButton) {
    // As with the tick: the arrow an entry had stays with it as a separator and is
    // written, so a load stores it back (its container is hidden by the style). Only
    // the stored value: the links made after reading still go by the style.
    if (!IsLoading() || !IsReading()) return;
    FMoreArrow = Value;
    F_MoreArrow->SetVisible(Value);
    return;
  }
  FMoreArrow = Value;
  F_MoreArrow->SetVisible(Value);
  // While read, the mark, tick, group and shortcut read before are as the text says (a
  // tick given after the arrow stays with it).
  if (!Value || (IsLoading() && IsReading())) return;
  // An entry that opens a further menu is neither checked nor has a shortcut.
  FGroupIndex = 0;
  FIsCheck = false;
  FShortCut.clear();
  if (FMark == TQVMark::mTick) {
    FMark = TQVMark::mNone;
    __QV_EmptyIconBitmap();
  }
  F_TickMark->SetVisible(false);
  F_ShortCut->SetText("");
}

void TQVMenuButton::SetShortCut(const std::string& Value) {
  if (Value == FShortCut) return;
  FShortCut = Value;
  F_ShortCut->SetText(Value);
  if (!Blank(Value)) {
    FMoreArrow = false;
    F_MoreArrow->SetVisible(false);
  }
  __QV_UpdateMenuButtonTotalWidth();
}

void TQVMenuButton::SetButtonText(const std::string& Value) {
  FButtonText = Value;
  F_MenuButton->SetText(Value);
  __QV_UpdateMenuButtonTotalWidth();
}

// --- font -------------------------------------------------------------------------

void TQVMenuButton::SetMenuButtonFontColor(TAlphaColor Value) {
  if (Value == FMenuButtonFontColor) return;
  FMenuButtonFontColor = Value;
  for (TLabel* l : {F_MenuButton, F_ShortCut, F_CharMark}) SetOwnFontColor(l, Value);
  for (TShape* s : {static_cast<TShape*>(F_TickMark), static_cast<TShape*>(F_MoreArrow),
                    static_cast<TShape*>(F_SepratorLine)})
    s->Stroke()->SetColor(Value);
}

void TQVMenuButton::SetMenuButtonFontSize(float Value) {
  // A size no text can have is ignored.
  if (Value == FMenuButtonFontSize || !std::isfinite(Value) || Value <= 0) return;
  FMenuButtonFontSize = Value;
  SetOwnFontSize(F_MenuButton, Value);
  SetOwnFontSize(F_ShortCut, Value);
}

}  // namespace fmx
