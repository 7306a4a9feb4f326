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
  TQVMenuButton* old = FTargetButton;
  FTargetButton = Value;
  TWeak<TComponent> self(this);
  if (Value == nullptr) {
    // A bar on its way out, or without a form, stays where it is.
    if (IsDestroying()) return;
    if (TForm* form = FOwnerForm; form != nullptr && !form->IsDestroying() && Parent() != form)
      SetParent(form);
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
  TWeak<TQVMenuButton> target(Value);
  TWeak<TQVMenuButton> oldLink(old);
  TWeak<TQVMenuBar> qLink(q);
  if (Parent() != q) SetParent(q);
  if (!self.Alive() || !target.Alive()) return;
  Value->SetMoreArrow(true);
  if (!self.Alive() || !target.Alive() || !qLink.Alive()) return;
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
  if (self.Alive()) BringToFront();
}

// --- opening and hiding ----------------------------------------------------------------

void TQVMenuBar::SetMenuButtonPressed(bool Value) {
  FMenuButtonPressed = Value;
  F_TimerHideMenus->SetEnabled(Value);
  // A menu closed through the property borrows nothing any more; giving back runs no
  // application code.
  if (!Value) {
    __QV_GiveBackControl();
    __QV_GiveBackForm();
  }
}

void TQVMenuBar::__QV_HideAllSubMenuBar(TQVMenuBar* AMenuBar) {
  if (AMenuBar == nullptr) return;
  std::vector<TWeak<TQVMenuBar>> below;
  auto walk = [&](auto& walkOn, TFmxObject* From) -> void {
    for (TFmxObject* child : From->ChildrenList()) {
      if (dynamic_cast<TControl*>(child) == nullptr) continue;
      if (auto* bar = dynamic_cast<TQVMenuBar*>(child)) below.emplace_back(bar);
      walkOn(walkOn, child);
    }
  };
  walk(walk, AMenuBar);
  // Hiding the bar under the mouse tells what was hovered that the mouse left, and a
  // leave handler may free anything.
  TWeak<TComponent> self(this);
  for (const TWeak<TQVMenuBar>& link : below) {
    if (!self.Alive()) return;
    TQVMenuBar* bar = link.Get();
    if (bar == nullptr) continue;
    bar->SetVisible(false);
    if (link.Alive()) bar->F_SelectedBar->SetVisible(false);
  }
  if (self.Alive()) __QV_窗体_清除窗体上的残影(FOwnerForm);
}

void TQVMenuButton::__QV_DisplaySubMenuOfTheMainMenuButton() {
  TQVMenuBar* root = FMenuBarRoot;
  if (root == nullptr) return;
  TWeak<TComponent> self(this);
  TWeak<TQVMenuBar> rootLink(root);
  root->__QV_HideAllSubMenuBar(root);
  if (!self.Alive() || !rootLink.Alive()) return;
  if (TFmxObject* p = root->Parent()) p->BringToFront();
  for (const TWeak<TQVMenuBar>& link : root->FMenuBarList) {
    TQVMenuBar* s = link.Get();
    if (s == nullptr) continue;
    TQVMenuButton* t = s->FTargetButton;
    if (t == nullptr || !SameByName(t, this)) continue;
    s->Position()->SetX(t->Position()->X());
    s->Position()->SetY(t->Position()->Y() + t->Height() - 1);
    TWeak<TQVMenuBar> shown(s);
    s->SetVisible(true);
    if (shown.Alive()) s->BringToFront();
    return;
  }
}

void TQVMenuButton::__QV_DisplaySubMenuOfTheSubMenuButton() {
  TQVMenuBar* root = FMenuBarRoot;
  if (root == nullptr) return;
  for (const TWeak<TQVMenuBar>& link : root->FMenuBarList) {
    TQVMenuBar* s = link.Get();
    if (s == nullptr) continue;
    TQVMenuButton* t = s->FTargetButton;
    if (t == nullptr || !SameByExactName(t, this)) continue;
    s->Position()->SetX(t->Position()->X() + t->Width() - 1);
    s->Position()->SetY(t->Position()->Y());
    TWeak<TQVMenuBar> shown(s);
    s->SetVisible(true);
    if (shown.Alive()) s->BringToFront();
    return;
  }
}

// --- entries under the mouse -------------------------------------------------------------

void TQVMenuButton::DoMouseEnter() {
  TWeak<TComponent> self(this);
  TPresentedControl::DoMouseEnter();
  if (!self.Alive()) return;
  TQVMenuBar* p = __QV_ParentMenuBar();
  if (p == nullptr) return;
  TWeak<TQVMenuBar> parent(p);
  TRectangle* highlight = p->F_SelectedBar;
  highlight->BringToFront();
  BringToFront();
  if (IsMainBar(p)) {
    highlight->SetBounds(Position()->X(), Position()->Y(), Width(), Height());
    if (p->FMenuButtonPressed) __QV_DisplaySubMenuOfTheMainMenuButton();
  } else {
    highlight->SetBounds(Position()->X() + 1, Position()->Y() + 1, Width() - 2, Height());
    p->__QV_HideAllSubMenuBar(p);
    if (!self.Alive() || !parent.Alive()) return;
    if (FMoreArrow) __QV_DisplaySubMenuOfTheSubMenuButton();
  }
  if (!self.Alive() || !parent.Alive()) return;
  highlight->SetVisible(FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar);
  if (FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar)
    TAccessibility::Notify(this, TAccessibleEvent::Focused);
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

void TQVMenuButton::DoMouseLeave() {
  TWeak<TComponent> self(this);
  TPresentedControl::DoMouseLeave();
  if (!self.Alive()) return;
  if (TQVMenuBar* p = __QV_ParentMenuBar()) p->F_SelectedBar->SetVisible(false);
}

void TQVMenuBar::DoMouseEnter() {
  TWeak<TComponent> self(this);
  TPresentedControl::DoMouseEnter();
  if (!self.Alive() || IsDesigning() || IsMainBar(this)) return;
  __QV_HideAllSubMenuBar(this);
}

// --- clicks --------------------------------------------------------------------------

void TQVMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TWeak<TComponent> self(this);
  TPresentedControl::MouseDown(Button, Shift, X, Y);
  if (!self.Alive()) return;
  TQVMenuBar* p = __QV_ParentMenuBar();
  TQVMenuBar* root = FMenuBarRoot;
  if (Button != TMouseButton::mbLeft || p == nullptr || root == nullptr || !IsMainBar(p)) return;
  if (root->FMenuButtonPressed) {
    // The mouse is still on the entry: its highlight stays.
    root->__QV_CloseMenus(false);
    return;
  }
  root->SetMenuButtonPressed(true);
  // Sub-menus hang outside the bar.
  if (root->ClipChildren()) root->SetClipChildren(false);
  __QV_DisplaySubMenuOfTheMainMenuButton();
}

void TQVMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TWeak<TComponent> self(this);
  TPresentedControl::MouseUp(Button, Shift, X, Y);
  if (!self.Alive()) return;
  TQVMenuBar* p = __QV_ParentMenuBar();
  if (p == nullptr || IsMainBar(p)) return;
  TWeak<TQVMenuBar> parent(p);
  if (TQVMenuBar* root = FMenuBarRoot) {
    if (!FMoreArrow && !root->__QV_CloseMenus()) return;
    if (!self.Alive() || !parent.Alive()) return;
    __QV_窗体_清除窗体上的残影(p->FOwnerForm);
  }
  if (FMark == TQVMark::mTick) __QV_ToggleTick(p);
}

void TQVMenuButton::__QV_ToggleTick(TQVMenuBar* AParentBar) {
  if (FGroupIndex == 0) {
    SetIsCheck(!FIsCheck);
    return;
  }
  for (TFmxObject* child : AParentBar->ChildrenList()) {
    auto* b = dynamic_cast<TQVMenuButton*>(child);
    if (b != nullptr && b->FGroupIndex == FGroupIndex) b->SetIsCheck(false);
  }
  SetIsCheck(true);
}

void TQVMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TWeak<TComponent> self(this);
  TPresentedControl::MouseDown(Button, Shift, X, Y);
  if (!self.Alive() || !IsMainBar(this)) return;
  __QV_CloseMenus();
}

// --- closing and giving back ---------------------------------------------------------------

bool TQVMenuBar::__QV_CloseMenus(bool HideHighlight) {
  TWeak<TComponent> self(this);
  FMenuButtonPressed = false;
  FKeyboardMode = false;
  F_TimerHideMenus->SetEnabled(false);
  __QV_GiveBackControl();
  __QV_GiveBackForm();
  if (HideHighlight) F_SelectedBar->SetVisible(false);
  __QV_HideAllSubMenuBar(this);
  return self.Alive();
}

void TQVMenuBar::__QV_GiveBackControl() {
  TControl* c = FControl;
  if (c != nullptr) {
    c->RemoveFreeNotification(this);
    // Only where the bar's handlers are still on it: a handler the application set in
    // the meantime is the application's and stays.
    if (c->OnMouseDown().target<TControlDownHook>() != nullptr)
      c->SetOnMouseDown(FControl_OnMouseDownEvent);
    if (c->OnMouseLeave().target<TControlLeaveHook>() != nullptr)
      c->SetOnMouseLeave(FControl_OnMouseLeaveEvent);
  }
  FControl = nullptr;
  FControlIdentity = nullptr;
  FControl_OnMouseDownEvent = nullptr;
  FControl_OnMouseLeaveEvent = nullptr;
}

void TQVMenuBar::__QV_GiveBackForm() {
  if (TForm* form = FHookedForm; form != nullptr && !form->IsDestroying() &&
                                 form->OnMouseDown().target<TFormDownHook>() != nullptr)
    form->SetOnMouseDown(FForm_OnMouseDownEvent);
  FHookedForm = nullptr;
  FForm_OnMouseDownEvent = nullptr;
}

void TQVMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TPresentedControl::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || AComponent == nullptr ||
      AComponent != FControlIdentity)
    return;
  // The control goes with the handlers it carries; nothing is taken over any more, so
  // the timer watches again.
  FControl = nullptr;
  FControlIdentity = nullptr;
  FControl_OnMouseDownEvent = nullptr;
  FControl_OnMouseLeaveEvent = nullptr;
  if (FMenuButtonPressed && !IsDestroying()) F_TimerHideMenus->SetEnabled(true);
}

// --- watching the rest of the window ------------------------------------------------------

void TQVMenuBar::__QV_TimerOnTimer(TObject*) {
  if (FRootMenuBar == nullptr) FRootMenuBar = __QV_GetRootMenuBar(this);
  TQVMenuBar* root = FRootMenuBar;
  if (!IsMainBar(this) || !FMenuButtonPressed || root == nullptr) return;
  IRoot* frameworkRoot = Root();
  if (frameworkRoot == nullptr) return;
  TControl* h = frameworkRoot->Hovered();
  if (h != nullptr && FControl == nullptr && !IsExactly<TQVMenuBar>(h) &&
      !IsExactly<TQVMenuButton>(h)) {
    FControl = h;
    FControlIdentity = h;
    h->FreeNotification(this);
    FControl_OnMouseDownEvent = h->OnMouseDown();
    FControl_OnMouseLeaveEvent = h->OnMouseLeave();
    h->SetOnMouseDown(TControlDownHook{this});
    h->SetOnMouseLeave(TControlLeaveHook{this});
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
  TWeak<TControl> control = FControl;
  __QV_GiveBackControl();
  root->__QV_CloseMenus();
  // The control's own handler, as it is now that it is back (the application may have
  // set another one meanwhile); closing may have freed the control.
  TControl* c = control.Get();
  if (c == nullptr) return;
  TMouseEvent own = c->OnMouseDown();
  if (own && own.target<TControlDownHook>() == nullptr) own(c, Button, Shift, X, Y);
}

void TQVMenuBar::__QV_Control_OnMouseLeave(TObject*) {
  TQVMenuBar* root = FRootMenuBar;
  if (root == nullptr || !root->FMenuButtonPressed) return;
  __QV_GiveBackControl();
  root->F_TimerHideMenus->SetEnabled(true);
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
