// The title bar's system menu: a sub-menu bar of the library's menus with Restore,
// Move, Size, Minimise, Maximise and Close. The entries' own click handling is not
// used to learn the choice: while the menu is open a timer borrows the mouse handlers
// of the control under the mouse, so that the next press anywhere closes the menu and,
// on one of the entries, performs its action. Every way the menu closes gives the
// borrowed handlers back.
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "FMX.QVTitleBarNames.h"
#include "host/Keys.h"

namespace fmx {

using namespace qvtitlebar;

namespace {

inline constexpr const char* kRestoreName = "PopupBtnRestore";
inline constexpr const char* kMoveName = "PopupBtnMove";
inline constexpr const char* kSizeName = "PopupBtnSize";
inline constexpr const char* kMinName = "PopupBtnMin";
inline constexpr const char* kMaxName = "PopupBtnMax";
inline constexpr const char* kCloseName = "PopupBtnClose";

bool SameName(const std::string& Name, const char* Literal) {
  return LowerCase(Trim(Name)) == LowerCase(Trim(Literal));
}

// The letter that chooses an entry while the menu is open: the one its caption offers
// in parentheses, else the one window menus customarily give it.
char AccessLetter(const TQVMenuButton* E) {
  if (char c = QVMenuMnemonic(E->ButtonText())) return c;
  const std::string& n = E->Name();
  if (SameName(n, kRestoreName)) return 'R';
  if (SameName(n, kMoveName)) return 'M';
  if (SameName(n, kSizeName)) return 'S';
  if (SameName(n, kMinName)) return 'N';
  if (SameName(n, kMaxName)) return 'X';
  if (SameName(n, kCloseName)) return 'C';
  return 0;
}

}  // namespace


// --- building ---------------------------------------------------------------------

void TQVTitleBar::__QV_CreateTitleBarPopUpMenuBar() {
  TRealignBatch batch;
  F_PopupMMC_MenuBar = new TQVMenuBar(this);
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  bar->SetParent(this);
  bar->SetLocked(true);
  bar->SetHitTest(true);
  bar->SetAlign(TAlignLayout::None);
  bar->SetVisible(false);
  bar->SetStored(false);
  bar->SetTag(kPrivateTag);
  bar->SetBackgroundColor(FFormColor);
  bar->SetBorderColor(FBorderActiveColor);
  bar->SetFontColor(FFontColor);
  bar->SetSelectBarColor(FFontColor);
  bar->SetSelectBarOpacity(0.6f);
  bar->SetDefaultMenubarColor(false);
  bar->BringToFront();
  // Disabled entries take no mouse input: a press on one lands on the bar.
  bar->SetOnMouseDown([this](TObject* s, TMouseButton b, TShiftState sh, float x, float y) {
    __QV_PopupMenuBar_MouseDown(s, b, sh, x, y);
  });

  TQVMenuButton* previous = nullptr;
  auto nextY = [&] {
    return previous == nullptr ? 0.0f : previous->Position()->Y() + previous->Height() + 3;
  };
  auto entry = [&](const char* Name, fmx::Char Glyph, const char* Text) {
    auto* b = new TQVMenuButton(this);
    b->SetParent(bar);
    b->SetName(Name);
    b->SetLocked(true);
    b->SetHitTest(true);
    b->SetVisible(true);
    b->SetStored(false);
    b->SetTag(kPrivateTag);
    b->Position()->SetY(nextY());
    b->SetMark(TQVMark::mChar);
    b->SetChar(Glyph);
    b->SetButtonText(Text);
    previous = b;
    return b;
  };
  F_PopupMMC_RestoreBtn = entry(kRestoreName, u'2', "还原");
  F_PopupMMC_MoveBtn = entry(kMoveName, u' ', "移动");
  F_PopupMMC_SizeBtn = entry(kSizeName, u' ', "大小");
  F_PopupMMC_MinBtn = entry(kMinName, u'0', "最小化");
  F_PopupMMC_MaxBtn = entry(kMaxName, u'1', "最大化");

  F_PopupMMC_SpeBtn = new TQVMenuButton(this);
  F_PopupMMC_SpeBtn->SetParent(bar);
  F_PopupMMC_SpeBtn->SetLocked(true);
  F_PopupMMC_SpeBtn->SetHitTest(false);
  F_PopupMMC_SpeBtn->SetVisible(true);
  F_PopupMMC_SpeBtn->SetStored(false);
  F_PopupMMC_SpeBtn->SetTag(kPrivateTag);
  F_PopupMMC_SpeBtn->Position()->SetY(nextY());
  F_PopupMMC_SpeBtn->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  F_PopupMMC_SpeBtn->SetMark(TQVMark::mNone);
  previous = F_PopupMMC_SpeBtn;

  F_PopupMMC_CloseBtn = entry(kCloseName, u'r', "关闭");
  F_PopupMMC_CloseBtn->SetShortCut("Alt + C");
}

void TQVTitleBar::__QV_ColourSystemMenu(bool AllColours) {
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  if (bar == nullptr) return;
  // The setters return at once on an unchanged value, so painting costs nothing here
  // once the colours have settled.
  if (AllColours) {
    bar->SetBackgroundColor(FFormColor);
    bar->SetBorderColor(FBorderActiveColor);
  }
  bar->SetFontColor(FFontColor);
  if (AllColours) bar->SetSelectBarColor(FFontColor);
}

// --- showing -------------------------------------------------------------------------

void TQVTitleBar::__QV_LOGO_MouseDown(TObject*, TMouseButton Button, TShiftState Shift, float X,
                                      float Y) {
  if (Button == TMouseButton::mbLeft) __QV_ShowTitleBarToolsMenu(TMouseButton::mbLeft, Shift, X, Y);
}

void TQVTitleBar::__QV_ShowTitleBarToolsMenu(TMouseButton Button, TShiftState, float X, float Y) {
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  if (bar == nullptr) return;
  // Closing the other menus and placing this one run handlers that may free the title
  // bar: what they free stays readable to the end of the dispatch.
  TDispatchScope scope;
  // Whatever was borrowed before belongs to the menu that was open then.
  __QV_GiveBackControl();
  if (Parent() != nullptr) BringToFront();
  bar->BringToFront();
  // One menu tree at a time on the window: an open main menu closes.
  TWeak<TQVTitleBar> link(this);
  qvmenus::OpeningMenuTree(this, FOwnerF.Get(), [link] {
    if (TQVTitleBar* t = link.Get(); t != nullptr && t->FPopupMenuShowed) t->__QV_HideSystemMenu();
  });
  // A title bar freed meanwhile has given back its timer: it shows no menu.
  if (IsDestroying() || F_PopupMMC_MenuBar == nullptr) return;
  FPopupMenuShowed = true;
  F_TimerHidePopupMenuBar->SetEnabled(true);

  float h = 0;
  for (TFmxObject* child : bar->ChildrenList()) {
    auto* b = dynamic_cast<TQVMenuButton*>(child);
    if (b == nullptr) continue;
    if (b->MenuButtonStyle() == TQVMenuButtonStyle::mbSubMenuButton)
      h += b->Height() + b->Margins()->Top() + b->Margins()->Bottom();
    else if (b->MenuButtonStyle() == TQVMenuButtonStyle::mbSeparatorBar)
      h += 3;
  }
  bar->SetHeight(h + 4);

  F_PopupMMC_MoveBtn->SetEnabled(false);
  F_PopupMMC_SizeBtn->SetEnabled(false);
  const bool maximised = Trim(F_TextMax->Text()) == "2";
  F_PopupMMC_RestoreBtn->SetEnabled(maximised);
  F_PopupMMC_MaxBtn->SetEnabled(!maximised);
  if (FOwnerF != nullptr && Trim(F_TextMax->Text()) == "1") {
    // Saved without the size test: a window that fills the screen but shows the
    // maximise glyph is still the normal one.
    FDownWindowRectF.Left = FOwnerF->Left();
    FDownWindowRectF.Top = FOwnerF->Top();
    FDownWindowRectF.SetWidth(FOwnerF->Width());
    FDownWindowRectF.SetHeight(FOwnerF->Height());
  }

  switch (Button) {
    case TMouseButton::mbLeft:
      if (bar->Visible()) {
        bar->Position()->SetPoint({0, Height() + Position()->Y() - 6});
        // The second press on the logo closes the menu for good, not only from view.
        __QV_HideSystemMenu();
      } else {
        __QV_PlaceSystemMenu({0, Height() + Position()->Y() - 6});
        bar->SetVisible(true);
      }
      break;
    case TMouseButton::mbRight:
      __QV_PlaceSystemMenu({X + 3, Y + 3});
      bar->SetVisible(true);
      break;
    case TMouseButton::mbMiddle:
      break;
  }
}

// --- closing -------------------------------------------------------------------------

bool TQVTitleBar::__QV_HideSystemMenu() {
  __QV_GiveBackControl();
  FPopupMenuShowed = false;
  if (F_TimerHidePopupMenuBar != nullptr) F_TimerHidePopupMenuBar->SetEnabled(false);
  if (F_PopupMMC_MenuBar == nullptr || !F_PopupMMC_MenuBar->Visible()) return true;
  // Hiding tells the entry under the mouse that the mouse left it, and its handler is
  // the application's.
  TDispatchScope scope;
  F_PopupMMC_MenuBar->SetVisible(false);
  return !IsDestroying();
}

void TQVTitleBar::__QV_GiveBackControl() { FTakeOver.GiveBack(); }

void TQVTitleBar::__QV_PlaceSystemMenu(TPointF P) {
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  // Its width as its first paint will make it; its height is the one just summed. A
  // title bar freed by the resize handlers is off its form and places nothing.
  const float height = bar->Height();
  qvmenus::FitSubMenuBar(bar);
  bar->SetHeight(height);
  TCommonCustomForm* form = ParentForm();
  if (form == nullptr) {
    bar->Position()->SetPoint(P);
    return;
  }
  // Where the menu fits it opens at P; else it moves left or up just enough.
  const TPointF origin = LocalToAbsolute({0, 0});
  float x = P.X, y = P.Y;
  const float right = static_cast<float>(form->ClientWidth());
  const float bottom = static_cast<float>(form->ClientHeight());
  if (origin.X + x + bar->Width() > right) x = right - bar->Width() - origin.X;
  if (origin.X + x < 0) x = -origin.X;
  if (origin.Y + y + bar->Height() > bottom) y = bottom - bar->Height() - origin.Y;
  if (origin.Y + y < 0) y = -origin.Y;
  bar->Position()->SetPoint({x, y});
}

void TQVTitleBar::__QV_ListenToForm() {
  TForm* form = FOwnerF;
  if (form == nullptr) return;
  TWeak<TQVTitleBar> link(this);
  form->AddMousePreview(this, [link](TObject*, TMouseButton Button, TShiftState, float, float) {
    if (TQVTitleBar* t = link.Get()) t->__QV_SystemMenuPress(Button);
  });
  form->AddKeyPreview(
      this,
      [link](TObject*, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
        if (TQVTitleBar* t = link.Get()) t->__QV_SystemMenuKey(Key, KeyChar, Shift);
      },
      {});
}

void TQVTitleBar::__QV_SystemMenuPress(TMouseButton) {
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  if (!FPopupMenuShowed || bar == nullptr) return;
  IRoot* root = Root();
  if (root == nullptr) return;
  TControl* target = root->Captured() != nullptr ? root->Captured() : root->Hovered();
  if (target != nullptr && bar->Visible() && target->Parent() == bar) {
    // An entry pressed before the hover timer reached it: taken over now, so that the
    // press chooses it.
    if (FTakeOver.Control() != target) {
      FTakeOver.Take(target);
      F_TimerHidePopupMenuBar->SetEnabled(false);
    }
    return;
  }
  // The menu itself (between entries, a disabled entry), the logo that toggles it and
  // the control already taken over answer the press themselves.
  if (target != nullptr && (target == bar || target == F_Logo || target == FTakeOver.Control()))
    return;
  __QV_HideSystemMenu();
}

void TQVTitleBar::__QV_SystemMenuKey(uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  TQVMenuBar* bar = F_PopupMMC_MenuBar;
  if (bar == nullptr || Key == 0 || !Visible() || !FTitleBarEnabled) return;
  const TShiftState mods =
      Shift * TShiftState{TShiftStateItem::ssShift, TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt};
  auto consume = [&] {
    Key = 0;
    KeyChar = 0;
  };
  TDispatchScope scope;
  if (Key == vk::Space && mods == TShiftState{TShiftStateItem::ssAlt}) {
    consume();
    if (FPopupMenuShowed && bar->Visible()) {
      __QV_HideSystemMenu();
      return;
    }
    if (bar->Visible()) bar->SetVisible(false);
    // Hiding ran leave handlers; a title bar they freed shows no menu, so none is lit.
    __QV_ShowTitleBarToolsMenu(TMouseButton::mbLeft, Shift, 0, 0);
    if (!bar->Visible()) return;
    if (TQVMenuButton* first = qvmenus::StepEntry(bar, nullptr, +1)) qvmenus::LightEntry(first);
    return;
  }
  if (!FPopupMenuShowed || !bar->Visible() || !mods.Empty()) return;
  TQVMenuButton* lit = qvmenus::LitEntry(bar);
  const uint16_t pressed = Key;
  switch (pressed) {
    case vk::Down:
    case vk::Up:
      consume();
      if (TQVMenuButton* e = qvmenus::StepEntry(bar, lit, pressed == vk::Down ? +1 : -1))
        qvmenus::LightEntry(e);
      return;
    case vk::Return:
      consume();
      if (lit != nullptr && lit->Enabled()) __QV_PopUpButton_OnClick(lit);
      return;
    case vk::Escape:
      consume();
      __QV_HideSystemMenu();
      return;
    default:
      break;
  }
  if (Key > 0x7F) return;
  const char letter = static_cast<char>(Key);
  for (TFmxObject* child : bar->ChildrenList()) {
    auto* e = dynamic_cast<TQVMenuButton*>(child);
    if (e == nullptr || !e->Enabled() || !e->Visible() || AccessLetter(e) != letter) continue;
    consume();
    __QV_PopUpButton_OnClick(e);
    return;
  }
}

void TQVTitleBar::__QV_PopupMenuBar_MouseDown(TObject*, TMouseButton, TShiftState, float, float) {
  __QV_HideSystemMenu();
}

// --- borrowing the control under the mouse ---------------------------------------------

void TQVTitleBar::__QV_TimerOnTimer(TObject*) {
  if (!FPopupMenuShowed || FTakeOver.Holding()) return;
  IRoot* root = Root();
  if (root == nullptr) return;
  TControl* h = root->Hovered();
  if (h == nullptr) return;
  // A title bar's own parts (logo, cells, the menu bar) keep their handlers.
  if (IsExactly<TQVTitleBar>(h->Parent())) return;
  FTakeOver.Take(h);
  F_TimerHidePopupMenuBar->SetEnabled(false);
}

void TQVTitleBar::__QV_Control_OnMouseDown(TObject* Sender, TMouseButton Button,
                                           TShiftState Shift, float X, float Y) {
  TWeak<TControl> control = FTakeOver.Control();
  if (control.Get() != Sender) control = nullptr;
  TDispatchScope scope;
  if (!__QV_HideSystemMenu()) return;
  TControl* c = control.Get();
  if (c == nullptr) return;
  // The control's own handler, as it is now that it is back (closing may have run
  // handlers that set another one, or freed the control; another menu that took the
  // control before this one may have its handler there).
  TMouseEvent own = c->OnMouseDown();
  if (own) {
    own(c, Button, Shift, X, Y);
    if (IsDestroying()) return;
  }
  __QV_PopUpButton_OnClick(control.Get());
}

void TQVTitleBar::__QV_Control_OnMouseLeave(TObject* Sender) {
  TWeak<TControl> control = FTakeOver.Control();
  // The control's own leave handler is not run for this leave.
  __QV_GiveBackControl();
  if (FPopupMenuShowed) F_TimerHidePopupMenuBar->SetEnabled(true);
  // Another menu holding the control under this one lets go as well.
  if (TControl* c = control.Get(); c != nullptr && TQVTakeOver::IsHook(c->OnMouseLeave())) {
    TNotifyEvent other = c->OnMouseLeave();
    other(Sender);
  }
}

// --- the entries' actions ---------------------------------------------------------------

void TQVTitleBar::__QV_PopUpButton_OnClick(TObject* Sender) {
  auto* entry = dynamic_cast<TQVMenuButton*>(Sender);
  // Only this menu's own entries act: an entry of the application's menus that
  // happens to share a name is not a window command.
  if (entry == nullptr || entry->Owner() != this || FOwnerF == nullptr) return;
  if (!__QV_HideSystemMenu() || FOwnerF == nullptr) return;
  __QV_ReadScreenSize();
  const std::string& name = entry->Name();
  if (SameName(name, kRestoreName)) {
    __QV_WindowNormal();
  } else if (SameName(name, kCloseName)) {
    FOwnerF->Close();
  } else if (SameName(name, kMaxName)) {
    __QV_SavePostionAndSizeOfNormalWindow();
    if (!__QV_FormFillsScreen()) __QV_WindowMaximized();
  } else if (SameName(name, kMinName)) {
    FOwnerF->SetWindowState(TWindowState::wsMinimized);
  }
  // Move and Size have no action: choosing them only closes the menu.
}

}  // namespace fmx
