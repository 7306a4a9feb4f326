// The behaviour of a menu tree: which entry a sub-menu bar hangs on, opening menus on
// a click and switching them on hover, the highlight that follows the mouse, choosing
// an entry, and everything that closes the menus again. While a menu is open the root
// bar borrows the mouse handlers of the control under the mouse and of the form, so
// that a click anywhere closes it; each borrowed handler is given back on every way
// the menu closes, and is still called with the click that closed it.
#include "FMX.QVMenus.h"
#include "FMX.QVMenusShared.h"
#include "FMX.QVUtils.h"
#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/InputRouter.h"

namespace fmx {

using namespace qvmenus;

namespace {

inline constexpr const char* kSeparatorAsTarget = " 菜单分隔条不能做为 TargetButton 设置 ";
inline constexpr const char* kTargetNotOnBar = " TargetButton 的父类必须是菜单条 ";
inline constexpr const char* kTargetOnOwnBar = " 要设置的 TargetButton 不能是其父类菜单条中的按钮 ";
inline constexpr const char* kTargetLoop = " 不能循环设置菜单 TargetButton ";
inline constexpr const char* kMainBarTarget = " 主菜单条样式不能设置 TargetButton ";

std::string NameKey(const TComponent* C) { return TrimLower(C->Name()); }

// Links are found again by name; a component without a name has no name to match, so
// it matches only itself (unnamed entries are all different entries).
bool SameByName(const TComponent* A, const TComponent* B) {
  if (A == nullptr || B == nullptr) return false;
  if (A == B) return true;
  const std::string a = NameKey(A);
  return !a.empty() && a == NameKey(B);
}

// Whether the last children of their common parent are already these, in this order.
// Bringing them to the front again would end in the same order, yet every step of the
// way would repaint each of them (the whole open drop-down on each hover).
bool AlreadyInFront(std::initializer_list<const TFmxObject*> Controls) {
  const TFmxObject* parent = (*Controls.begin())->Parent();
  if (parent == nullptr) return false;
  const auto& children = parent->ChildrenList();
  if (children.size() < Controls.size()) return false;
  size_t at = children.size() - Controls.size();
  for (const TFmxObject* c : Controls)
    if (c->Parent() != parent || children[at++] != c) return false;
  return true;
}

bool SameByExactName(const TComponent* A, const TComponent* B) {
  if (A == nullptr || B == nullptr) return false;
  if (A == B) return true;
  return !A->Name().empty() && A->Name() == B->Name();
}

bool IsMainBar(const TQVMenuBar* B) { return B->MenuBarStyle() == TQVMenuBarStyle::msMainMenuBar; }

// How long the mouse must rest on an entry, while it heads for the cascade of another,
// before that entry's own cascade replaces the open one.
constexpr int kCascadeRestMs = 250;

// Whether P lies in the triangle A, B, C (edges included).
bool InTriangle(TPointF P, TPointF A, TPointF B, TPointF C) {
  auto side = [](TPointF P1, TPointF P2, TPointF P3) {
    return (P1.X - P3.X) * (P2.Y - P3.Y) - (P2.X - P3.X) * (P1.Y - P3.Y);
  };
  const float d1 = side(P, A, B), d2 = side(P, B, C), d3 = side(P, C, A);
  const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
  return !(neg && pos);
}

// The cascade open below Bar (at most one is), or nil.
TQVMenuBar* OpenCascadeOf(const TQVMenuBar* Bar) {
  for (TFmxObject* child : Bar->ChildrenList()) {
    auto* s = dynamic_cast<TQVMenuBar*>(child);
    if (s != nullptr && s->Visible() && s->TargetButton() != nullptr) return s;
  }
  return nullptr;
}

}  // namespace


struct TQVMenuBar::TFormDownHook {
  TWeak<TQVMenuBar> Bar;
  void operator()(TObject* Sender, TMouseButton Button, TShiftState Shift, float X,
                  float Y) const {
    if (TQVMenuBar* b = Bar.Get()) b->__QV_Form_OnMouseDown(Sender, Button, Shift, X, Y);
  }
};

// --- hanging a sub-menu on an entry ---------------------------------------------------

void TQVMenuBar::SetTargetButton(TQVMenuButton* Value) {
  // Moving and marking run handlers that may free this bar, the entry or its bar; what
  // they free stays readable until the scope closes and takes no part any more.
  TDispatchScope scope;
  TQVMenuButton* old = FTargetButton;
  FTargetButton = Value;
  if (Value == nullptr) {
    // A bar on its way out, or without a form, stays where it is (the tree takes
    // nothing on its way out).
    if (TForm* form = FOwnerForm; form != nullptr && Parent() != form) SetParent(form);
    return;
  }
  auto* q = dynamic_cast<TQVMenuBar*>(Value->Parent());
  const char* refusal = nullptr;
  if (Value->MenuButtonStyle() == TQVMenuButtonStyle::mbSeparatorBar) {
    refusal = kSeparatorAsTarget;
  } else if (q == nullptr) {
    refusal = kTargetNotOnBar;
  } else if (SameByName(q, this)) {
    refusal = kTargetOnOwnBar;
  } else if (TQVMenuButton* u = q->FTargetButton; u != nullptr) {
    for (TFmxObject* child : ChildrenList()) {
      auto* b = dynamic_cast<TQVMenuButton*>(child);
      if (b != nullptr && SameByName(b, u)) {
        refusal = kTargetLoop;
        break;
      }
    }
  }
  if (refusal == nullptr && IsMainBar(this)) refusal = kMainBarTarget;
  // An entry anywhere below this bar: hanging on it would make the bar a child of its
  // own cascade, which the tree cannot hold.
  if (refusal == nullptr && q->IsChildOf(this)) refusal = kTargetLoop;
  if (refusal != nullptr) {
    FTargetButton = nullptr;
    ShowMessage(refusal);
    return;
  }
  TWeak<TQVMenuButton> oldLink(old);
  if (Parent() != q) SetParent(q);
  Value->SetMoreArrow(true);
  if (dynamic_cast<TQVMenuBar*>(Parent()) == nullptr) return;
  if (TQVMenuButton* o = oldLink.Get()) {
    o->FMoreArrow = false;
    o->F_MoreArrow->SetVisible(false);
    Value->FMoreArrow = true;
    Value->F_MoreArrow->SetVisible(true);
  }
  if (IsMainBar(q)) {
    Position()->SetX(Value->Position()->X());
    Position()->SetY(q->Height() + Value->Position()->Y() - 1);
  } else {
    Position()->SetX(Value->Width() + Value->Position()->X() - 1);
    Position()->SetY(Value->Position()->Y());
  }
  BringToFront();
}

// --- opening and hiding ----------------------------------------------------------------

void TQVMenuBar::SetMenuButtonPressed(bool Value) {
  TDispatchScope scope;
  const bool opening = Value && !FMenuButtonPressed;
  FMenuButtonPressed = Value;
  F_TimerHideMenus->SetEnabled(Value);
  // A menu closed through the property borrows nothing any more; giving back runs no
  // application code.
  if (!Value) {
    FDragOpener = nullptr;
    __QV_GiveBackControl();
    __QV_GiveBackForm();
  }
  if (opening) __QV_OpeningTree();
}

void TQVMenuBar::__QV_OpeningTree() {
  TCommonCustomForm* form = ParentForm();
  if (form == nullptr) form = FOwnerForm.Get();
  TWeak<TQVMenuBar> self(this);
  qvmenus::OpeningMenuTree(this, form, [self] {
    if (TQVMenuBar* b = self.Get(); b != nullptr && b->FMenuButtonPressed) b->__QV_CloseMenus();
  });
}

// --- where a sub-menu shows ------------------------------------------------------------

void TQVMenuBar::__QV_FitSubMenuBar() {
  if (FMenuBarStyle != TQVMenuBarStyle::msSubMenuBar || IsDesigning()) return;
  float widest = -1;
  for (TFmxObject* child : ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(child)) widest = std::max(widest, b->__QV_MenuButtonWidth());
  if (!AlignSetsWidth(Align())) SetWidth(widest < 0 ? 200 : widest);
  __QV_DoUpdateSubMenuBarTotalHeight();
}

void TQVMenuBar::__QV_KeepInsideForm(TQVMenuBar* S, TPointF P, TQVMenuButton* T, bool Cascade) {
  auto* parent = dynamic_cast<TControl*>(S->Parent());
  TCommonCustomForm* form = S->ParentForm();
  if (parent == nullptr || form == nullptr) {
    S->Position()->SetPoint(P);
    return;
  }
  const TPointF origin = parent->LocalToAbsolute({0, 0});
  const float w = S->Width(), h = S->Height();
  const float right = static_cast<float>(form->ClientWidth());
  const float bottom = static_cast<float>(form->ClientHeight());
  float x = P.X, y = P.Y;
  if (origin.X + x + w > right) {
    // A cascade opens to the left of its entry where that fits; else it, like a
    // drop-down, moves left just enough.
    const float flipped = T != nullptr ? T->Position()->X() - w + 1 : -1;
    if (Cascade && T != nullptr && origin.X + flipped >= 0)
      x = flipped;
    else
      x = right - w - origin.X;
  }
  if (origin.X + x < 0) x = -origin.X;
  if (origin.Y + y + h > bottom) y = bottom - h - origin.Y;
  if (origin.Y + y < 0) y = -origin.Y;
  S->Position()->SetPoint({x, y});
}

void TQVMenuBar::__QV_PlaceHighlight(TQVMenuButton* AButton) {
  FLitEntry = AButton;
  const float x = AButton->Position()->X(), y = AButton->Position()->Y();
  if (IsMainBar(this))
    F_SelectedBar->SetBounds(x, y, AButton->Width(), AButton->Height());
  else
    F_SelectedBar->SetBounds(x + 1, y + 1, AButton->Width() - 2, AButton->Height());
}

void TQVMenuBar::__QV_HideAllSubMenuBar(TQVMenuBar* AMenuBar) {
  if (AMenuBar == nullptr) return;
  TDispatchScope scope;
  std::vector<TQVMenuBar*> below;
  auto walk = [&](auto& walkOn, TFmxObject* From) -> void {
    for (TFmxObject* child : From->ChildrenList()) {
      if (dynamic_cast<TControl*>(child) == nullptr) continue;
      if (auto* bar = dynamic_cast<TQVMenuBar*>(child)) below.emplace_back(bar);
      walkOn(walkOn, child);
    }
  };
  walk(walk, AMenuBar);
  // Hiding the bar under the mouse tells what was hovered that the mouse left, and a
  // leave handler may free anything: a freed bar hides as well and shows nothing.
  for (TQVMenuBar* bar : below) {
    bar->SetVisible(false);
    bar->F_SelectedBar->SetVisible(false);
  }
  __QV_窗体_清除窗体上的残影(FOwnerForm);
}

void TQVMenuButton::__QV_DisplaySubMenuOfTheMainMenuButton() {
  TQVMenuBar* root = FMenuBarRoot;
  if (root == nullptr) return;
  TDispatchScope scope;
  root->__QV_HideAllSubMenuBar(root);
  if (TFmxObject* p = root->Parent()) p->BringToFront();
  ShowSubMenuBar(SameByName, false);
}

void TQVMenuButton::__QV_DisplaySubMenuOfTheSubMenuButton() {
  ShowSubMenuBar(SameByExactName, true);
}

void TQVMenuButton::ShowSubMenuBar(bool (*Same)(const TComponent*, const TComponent*), bool Beside) {
  TQVMenuBar* root = FMenuBarRoot;
  if (root == nullptr) return;
  TDispatchScope scope;
  TQVMenuBar* s = nullptr;
  for (const TWeak<TQVMenuBar>& link : root->FMenuBarList)
    if (TQVMenuBar* b = link.Get(); b != nullptr && Same(b->FTargetButton, this)) {
      s = b;
      break;
    }
  // Found first: showing it runs handlers that may change the list.
  if (s == nullptr) return;
  TQVMenuButton* t = s->FTargetButton;
  s->__QV_FitSubMenuBar();
  const TPointF at = Beside ? TPointF{t->Position()->X() + t->Width() - 1, t->Position()->Y()}
                            : TPointF{t->Position()->X(), t->Position()->Y() + t->Height() - 1};
  TQVMenuBar::__QV_KeepInsideForm(s, at, t, Beside);
  s->SetVisible(true);
  s->BringToFront();
}

// --- entries under the mouse -------------------------------------------------------------

void TQVMenuButton::DoMouseEnter() {
  TPresentedControl::DoMouseEnter();
  // Freed by the enter handler: off its bar, so nothing below applies.
  TQVMenuBar* p = __QV_ParentMenuBar();
  if (p == nullptr) return;
  if (!IsMainBar(p)) {
    // Crossing an entry on the way to the cascade open beside it does not switch the
    // cascade: the move decides (MouseMove), or a rest on the entry.
    TQVMenuBar* open = OpenCascadeOf(p);
    if (open != nullptr && open->FTargetButton.Get() != this && p->FHasLastMouse &&
        !IsDesigning()) {
      p->FPendingEntry = this;
      p->FPendingHide = false;
      p->__QV_WaitForRest();
      return;
    }
    __QV_EnterSubMenuEntry(p);
    return;
  }
  TRectangle* highlight = p->F_SelectedBar;
  highlight->BringToFront();
  BringToFront();
  p->__QV_PlaceHighlight(this);
  if (p->FMenuButtonPressed) __QV_DisplaySubMenuOfTheMainMenuButton();
  if (Parent() != p) return;
  highlight->SetVisible(FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar);
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar)
    TAccessibility::Notify(this, TAccessibleEvent::Focused);
  __QV_KeepOpenerLit(p);
}

void TQVMenuButton::__QV_EnterSubMenuEntry(TQVMenuBar* p) {
  TDispatchScope scope;
  p->FPendingEntry = nullptr;
  if (p->F_TimerSwitch != nullptr) p->F_TimerSwitch->SetEnabled(false);
  TRectangle* highlight = p->F_SelectedBar;
  highlight->BringToFront();
  BringToFront();
  p->__QV_PlaceHighlight(this);
  p->__QV_HideAllSubMenuBar(p);
  if (FMoreArrow) __QV_DisplaySubMenuOfTheSubMenuButton();
  // Handlers freed or moved the entry or its bar: its light is no longer theirs.
  if (Parent() != p) return;
  highlight->SetVisible(FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar);
  __QV_KeepOpenerLit(p);
}

void TQVMenuButton::__QV_KeepOpenerLit(TQVMenuBar* p) {
  // The entry that opened this sub-menu stays highlighted in its own bar, and the
  // sub-menu stays above it.
  TQVMenuButton* t = p->FTargetButton;
  if (t == nullptr) return;
  auto* q = dynamic_cast<TQVMenuBar*>(t->Parent());
  if (q == nullptr) return;
  q->F_SelectedBar->SetVisible(true);
  if (AlreadyInFront({q->F_SelectedBar, t, p})) return;
  q->F_SelectedBar->BringToFront();
  t->BringToFront();
  p->BringToFront();
}

void TQVMenuButton::MouseMove(TShiftState Shift, float X, float Y) {
  TPresentedControl::MouseMove(Shift, X, Y);
  TQVMenuBar* p = FParentMenuBar;
  if (p == nullptr || IsMainBar(p)) return;
  const TPointF at = LocalToAbsolute({X, Y});
  if (p->FPendingEntry.Get() == this) {
    if (p->__QV_HeadingForCascade(at)) {
      // Still on the way: the rest starts again.
      p->__QV_WaitForRest();
    } else {
      __QV_EnterSubMenuEntry(p);
    }
  }
  p->FLastMouse = at;
  p->FHasLastMouse = true;
}

bool TQVMenuBar::__QV_HeadingForCascade(TPointF P) const {
  if (!FHasLastMouse) return false;
  const TQVMenuBar* s = OpenCascadeOf(this);
  if (s == nullptr) return false;
  const TPointF tl = s->LocalToAbsolute({0, 0});
  const TPointF br = s->LocalToAbsolute({s->Width(), s->Height()});
  // The near edge of the cascade, whichever side of the entry it opened on.
  const float edge = tl.X >= FLastMouse.X ? tl.X : br.X;
  // A little slack around the start, for a hand that wobbles a pixel.
  const TPointF a{FLastMouse.X + (edge >= FLastMouse.X ? -2.0f : 2.0f), FLastMouse.Y};
  return InTriangle(P, a, {edge, tl.Y}, {edge, br.Y});
}

void TQVMenuBar::__QV_WaitForRest() {
  if (F_TimerSwitch == nullptr) {
    F_TimerSwitch = new TTimer(this);
    F_TimerSwitch->SetStored(false);
    F_TimerSwitch->SetInterval(kCascadeRestMs);
    F_TimerSwitch->SetOnTimer([this](TObject* s) { __QV_SwitchTimerOnTimer(s); });
  }
  F_TimerSwitch->SetEnabled(false);
  F_TimerSwitch->SetEnabled(true);
}

void TQVMenuBar::__QV_SwitchTimerOnTimer(TObject*) {
  F_TimerSwitch->SetEnabled(false);
  TQVMenuButton* e = FPendingEntry.Get();
  const bool hide = FPendingHide;
  FPendingEntry = nullptr;
  FPendingHide = false;
  // The mouse rested on the entry (or the gap): what it rests on acts now.
  IRoot* root = Root();
  if (root == nullptr) return;
  if (e != nullptr && root->Hovered() == e) e->__QV_EnterSubMenuEntry(this);
  if (hide && root->Hovered() == this) __QV_HideAllSubMenuBar(this);
}

void TQVMenuBar::MouseMove(TShiftState Shift, float X, float Y) {
  TPresentedControl::MouseMove(Shift, X, Y);
  if (IsMainBar(this)) return;
  const TPointF at = LocalToAbsolute({X, Y});
  if (FPendingHide) {
    if (__QV_HeadingForCascade(at)) {
      __QV_WaitForRest();
    } else {
      FPendingHide = false;
      __QV_HideAllSubMenuBar(this);
    }
  }
  FLastMouse = at;
  FHasLastMouse = true;
}

void TQVMenuButton::DoMouseLeave() {
  TPresentedControl::DoMouseLeave();
  TQVMenuBar* p = __QV_ParentMenuBar();
  if (p == nullptr) return;
  if (p->FPendingEntry.Get() == this) p->FPendingEntry = nullptr;
  // The entry whose cascade is open stays lit while the mouse heads for the cascade.
  if (!IsMainBar(p) && FMoreArrow) {
    TQVMenuBar* open = OpenCascadeOf(p);
    if (open != nullptr && open->FTargetButton.Get() == this) return;
  }
  p->F_SelectedBar->SetVisible(false);
}

void TQVMenuBar::DoMouseEnter() {
  TPresentedControl::DoMouseEnter();
  if (IsDesigning() || IsMainBar(this)) return;
  // On the way to the open cascade across a gap of this bar: the move decides.
  if (OpenCascadeOf(this) != nullptr && FHasLastMouse) {
    FPendingEntry = nullptr;
    FPendingHide = true;
    __QV_WaitForRest();
    return;
  }
  __QV_HideAllSubMenuBar(this);
}

// --- clicks --------------------------------------------------------------------------

void TQVMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TPresentedControl::MouseDown(Button, Shift, X, Y);
  TQVMenuBar* p = __QV_ParentMenuBar();
  TQVMenuBar* root = FMenuBarRoot;
  if (Button != TMouseButton::mbLeft || p == nullptr || root == nullptr || !IsMainBar(p)) return;
  if (root->FMenuButtonPressed) {
    // The mouse is still on the entry: its highlight stays.
    root->__QV_CloseMenus(TMenuHighlight::Keep);
    return;
  }
  // Opening runs handlers; an entry they free belongs to no tree and opens nothing.
  root->SetMenuButtonPressed(true);
  // Until the button comes up, a release on a sub-menu entry chooses it.
  root->FDragOpener = this;
  root->FDragFrom = LocalToAbsolute({X, Y});
  // Sub-menus hang outside the bar.
  if (root->ClipChildren()) root->SetClipChildren(false);
  __QV_DisplaySubMenuOfTheMainMenuButton();
}

void TQVMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TPresentedControl::MouseUp(Button, Shift, X, Y);
  TQVMenuBar* p = __QV_ParentMenuBar();
  TQVMenuBar* root = FMenuBarRoot;
  // The press that opened the menus ends: on its own main entry that was a click.
  const bool dragged = root != nullptr && root->FDragOpener.Get() != nullptr &&
                       root->FDragOpener.Get() != this;
  if (root != nullptr) root->FDragOpener = nullptr;
  if (p == nullptr || IsMainBar(p)) return;
  if (dragged && !TInputRouter::BeyondDragThreshold(root->FDragFrom, LocalToAbsolute({X, Y})))
    return;
  if (root != nullptr) {
    if (!FMoreArrow) root->__QV_CloseMenus();
    __QV_窗体_清除窗体上的残影(p->FOwnerForm);
  }
  // Closing ran handlers; a choice they freed (or took off its bar) is not made.
  if (Parent() != p) return;
  if (FMark == TQVMark::mTick) __QV_ToggleTick(p);
  // Pressed on a main entry and released here: the form saw no click on this entry, so
  // the choice raises OnClick itself, once.
  if (dragged && !FMoreArrow) Click();
}

void TQVMenuButton::__QV_ToggleTick(TQVMenuBar* AParentBar) {
  if (FGroupIndex == 0) {
    SetIsCheck(!FIsCheck);
    return;
  }
  // A copy: unticking runs handlers that may change the bar's children.
  const TFmxObjectList children = AParentBar->ChildrenList();
  for (TFmxObject* child : children) {
    auto* b = dynamic_cast<TQVMenuButton*>(child);
    if (b != nullptr && b->FGroupIndex == FGroupIndex) b->SetIsCheck(false);
  }
  SetIsCheck(true);
}

void TQVMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TPresentedControl::MouseDown(Button, Shift, X, Y);
  if (!IsMainBar(this)) return;
  __QV_CloseMenus();
}

// --- closing and giving back ---------------------------------------------------------------

void TQVMenuBar::__QV_CloseMenus(TMenuHighlight Highlight) {
  TDispatchScope scope;
  FMenuButtonPressed = false;
  FKeyboardMode = false;
  FDragOpener = nullptr;
  F_TimerHideMenus->SetEnabled(false);
  __QV_GiveBackControl();
  __QV_GiveBackForm();
  if (Highlight == TMenuHighlight::Hide) F_SelectedBar->SetVisible(false);
  __QV_HideAllSubMenuBar(this);
}

void TQVMenuBar::__QV_GiveBackControl() { FTakeOver.GiveBack(); }

void TQVMenuBar::__QV_GiveBackForm() {
  if (TForm* form = FHookedForm; form != nullptr &&
                                 form->OnMouseDown().target<TFormDownHook>() != nullptr)
    form->SetOnMouseDown(FForm_OnMouseDownEvent);
  FHookedForm = nullptr;
  FForm_OnMouseDownEvent = nullptr;
}

void TQVMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TPresentedControl::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || !FTakeOver.Forget(AComponent)) return;
  // The control goes with the handlers it carries; nothing is taken over any more, so
  // the timer watches again.
  if (FMenuButtonPressed) F_TimerHideMenus->SetEnabled(true);
}

// --- watching the rest of the window ------------------------------------------------------

void TQVMenuBar::__QV_TimerOnTimer(TObject*) {
  if (FRootMenuBar == nullptr) FRootMenuBar = __QV_GetRootMenuBar(this);
  TQVMenuBar* root = FRootMenuBar;
  if (!IsMainBar(this) || !FMenuButtonPressed || root == nullptr) return;
  IRoot* frameworkRoot = Root();
  if (frameworkRoot == nullptr) return;
  TControl* h = frameworkRoot->Hovered();
  if (h != nullptr && !FTakeOver.Holding() && !IsExactly<TQVMenuBar>(h) &&
      !IsExactly<TQVMenuButton>(h)) {
    FTakeOver.Take(h);
    root->F_TimerHideMenus->SetEnabled(false);
  }
  TForm* form = FOwnerForm;
  if (form == nullptr) return;
  if (FHookedForm == nullptr) {
    FHookedForm = form;
    FForm_OnMouseDownEvent = form->OnMouseDown();
    form->SetOnMouseDown(TFormDownHook{this});
  }
  if (!form->Active()) root->__QV_CloseMenus();
}

void TQVMenuBar::__QV_Control_OnMouseDown(TObject*, TMouseButton Button, TShiftState Shift,
                                          float X, float Y) {
  TQVMenuBar* root = FRootMenuBar;
  if (root == nullptr) return;
  TWeak<TControl> control = FTakeOver.Control();
  __QV_GiveBackControl();
  root->__QV_CloseMenus();
  // The control's own handler, as it is now that it is back (the application may have
  // set another one meanwhile, or another menu that took the control before this one
  // has its handler there); closing may have freed the control.
  TControl* c = control.Get();
  if (c == nullptr) return;
  TMouseEvent own = c->OnMouseDown();
  if (own) own(c, Button, Shift, X, Y);
}

void TQVMenuBar::__QV_Control_OnMouseLeave(TObject* Sender) {
  TQVMenuBar* root = FRootMenuBar;
  if (root == nullptr || !root->FMenuButtonPressed) return;
  TWeak<TControl> control = FTakeOver.Control();
  __QV_GiveBackControl();
  root->F_TimerHideMenus->SetEnabled(true);
  // Another menu holding the control under this one lets go as well; the control's own
  // leave handler is not run for this leave.
  if (TControl* c = control.Get(); c != nullptr && TQVTakeOver::IsHook(c->OnMouseLeave())) {
    TNotifyEvent other = c->OnMouseLeave();
    other(Sender);
  }
}

// --- a press anywhere on the form ------------------------------------------------------

void TQVMenuBar::__QV_PressPreview(TMouseButton) {
  FDragOpener = nullptr;
  if (!FMenuButtonPressed) return;
  IRoot* root = Root();
  if (root == nullptr) return;
  TControl* target = root->Captured() != nullptr ? root->Captured() : root->Hovered();
  // Inside the tree the entries and bars answer the press themselves.
  if (target != nullptr && (target == this || target->IsChildOf(this))) return;
  // Outside: the tree closes now, whatever the timer has taken over yet; the press
  // then reaches what is under the mouse with that control's own handlers.
  __QV_CloseMenus();
}

void TQVMenuBar::__QV_Form_OnMouseDown(TObject*, TMouseButton Button, TShiftState Shift, float X,
                                       float Y) {
  TQVMenuBar* root = FRootMenuBar;
  if (root == nullptr) return;
  TWeak<TForm> form = FHookedForm;
  __QV_GiveBackForm();
  root->__QV_CloseMenus();
  TForm* f = form.Get();
  if (f == nullptr) return;
  TMouseEvent own = f->OnMouseDown();
  if (own && own.target<TFormDownHook>() == nullptr) own(f, Button, Shift, X, Y);
}

}  // namespace fmx
