#include "host/Forms.h"

#include <algorithm>

#include "Layout.h"
#include "host/Canvas.h"
#include "host/Shapes.h"
#include "host/Styles.h"

namespace fmx {

namespace {
// Painting passes before the form gives up waiting for its paint handlers to settle.
constexpr int kMaxPaintPasses = 4;
// The window colour when neither the fill nor a style gives one.
constexpr TAlphaColor kDefaultFormBackground = 0xFFF0F0F0;
}  // namespace

TCommonCustomForm::TCommonCustomForm(TComponent* AOwner)
    : TFmxObject(AOwner),
      FPadding(new TBounds),
      FFill(new TBrush(TBrushKind::None, TAlphaColors::White)) {
  FPadding->SetOnChange([this](TObject*) { Realign(); });
  FFill->SetOnChange([this](TObject*) { InvalidateAll(); });
  Application->FormCreated(this);
}

TCommonCustomForm::~TCommonCustomForm() {
  // Objects not freed through delete (a form on the stack) skip BeforeDestruction.
  Destroying();
  // Children are freed by the object tree below; make sure none of them calls back
  // into the form's routing while that happens.
  FHovered = FCaptured = FPressedControl = nullptr;
  if (FStyleBook != nullptr) FStyleBook->RemoveFreeNotification(this);
  Application->FormDestroyed(this);
  delete FPadding;
  delete FFill;
}

// --- bounds -------------------------------------------------------------------

void TCommonCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  if (!sized && ALeft == FLeft && ATop == FTop) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Application->Platform()->ApplyWindowRect(this, TRect::Bounds(FLeft, FTop, FWidth, FHeight));
  if (sized) {
    Realign();
    Resize();
  }
  TreeChanged();
  InvalidateAll();
}

void TCommonCustomForm::Resize() {
  if (FOnResize) {
    auto h = FOnResize;
    h(this);
  }
}

void TCommonCustomForm::Realign() {
  if (FRealigning) return;
  FRealigning = true;
  std::vector<TControl*> controls;
  for (TFmxObject* o : ChildrenList())
    if (auto* c = dynamic_cast<TControl*>(o)) controls.push_back(c);
  TRectF full{0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight)};
  TRectF area{FPadding->Left(), FPadding->Top(), full.Right - FPadding->Right(),
              full.Bottom - FPadding->Bottom()};
  AlignChildren(controls, area, full);
  FRealigning = false;
}

void TCommonCustomForm::DoInsertObject(int Index, TFmxObject* AObject) {
  TFmxObject::DoInsertObject(Index, AObject);
  if (auto* c = dynamic_cast<TControl*>(AObject); c != nullptr && c->Parent() == this)
    if (c->Align() != TAlignLayout::None) Realign();
  InvalidateAll();
}

void TCommonCustomForm::DoRemoveObject(TFmxObject* AObject) {
  TFmxObject::DoRemoveObject(AObject);
  if (!IsDestroying()) {
    Realign();
    InvalidateAll();
  }
}

void TCommonCustomForm::ChildrenChanged() {
  Realign();
  InvalidateAll();
}

// --- properties ---------------------------------------------------------------

void TCommonCustomForm::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Application->Platform()->FormCaptionChanged(this);
}

void TCommonCustomForm::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Application->Platform()->FormVisibleChanged(this);
  if (FVisible) InvalidateAll();
  DoShowOrHide();
}

void TCommonCustomForm::SetWindowState(TWindowState Value) {
  if (Value == FWindowState) return;
  FWindowState = Value;
  Application->Platform()->FormWindowStateChanged(this);
}

void TCommonCustomForm::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  const TNotifyEvent& handler = FActive ? FOnActivate : FOnDeactivate;
  if (handler) {
    auto h = handler;
    h(this);
  }
}

void TCommonCustomForm::SetTransparency(bool Value) {
  if (Value == FTransparency) return;
  FTransparency = Value;
  Application->Platform()->FormTransparencyChanged(this);
  InvalidateAll();
}

void TCommonCustomForm::SetStyleBook(TStyleBook* Value) {
  if (Value == FStyleBook) return;
  if (FStyleBook != nullptr) FStyleBook->RemoveFreeNotification(this);
  FStyleBook = Value;
  if (FStyleBook != nullptr) FStyleBook->FreeNotification(this);
  InvalidateAll();
}

void TCommonCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TFmxObject::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FStyleBook) FStyleBook = nullptr;
}

TAlphaColor TCommonCustomForm::BackgroundColor() const {
  if (FFill->Kind() == TBrushKind::Solid) return FFill->Color();
  if (FStyleBook != nullptr)
    if (auto* r = dynamic_cast<TRectangle*>(
            FStyleBook->FindStyleResource(FStyleLookup.empty() ? "backgroundstyle" : FStyleLookup)))
      return r->Fill()->Color();
  return kDefaultFormBackground;
}

// --- closing and moving -------------------------------------------------------

bool TCommonCustomForm::CloseQuery() {
  bool canClose = true;
  if (FOnCloseQuery) {
    auto h = FOnCloseQuery;
    h(this, canClose);
  }
  return canClose;
}

void TCommonCustomForm::Close() {
  TWeak<TComponent> self(this);
  if (!CloseQuery() || !self.Alive()) return;
  const bool isMain = Application->MainForm() == this;
  TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
  if (FOnClose) {
    auto h = FOnClose;
    h(this, action);
    // A handler that freed the form has closed it for good.
    if (!self.Alive()) {
      if (isMain) Application->Terminate();
      return;
    }
  }
  switch (action) {
    case TCloseAction::caNone:
      return;
    case TCloseAction::caMinimize:
      SetWindowState(TWindowState::wsMinimized);
      return;
    case TCloseAction::caHide:
    case TCloseAction::caFree:
      // The form is hidden; freeing it is left to its owner, so that no caller up the
      // stack (a button handler of this very form) runs on a freed object.
      Hide();
      break;
  }
  if (isMain) Application->Terminate();
}

void TCommonCustomForm::StartWindowDrag() { Application->Platform()->StartWindowDrag(this); }

// --- mouse routing --------------------------------------------------------------

namespace {

// Front-most hit below P (in Parent's coordinates), children before their parent.
TControl* HitTestChildren(const TFmxObject* Parent, TPointF P) {
  const auto& children = Parent->ChildrenList();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    auto* c = dynamic_cast<TControl*>(*it);
    if (c == nullptr || !c->Visible() || !c->Enabled()) continue;
    TPointF local{P.X - c->Position()->X(), P.Y - c->Position()->Y()};
    const bool inside = c->PointInObjectLocal(local.X, local.Y);
    if (!c->ClipChildren() || inside) {
      if (TControl* hit = HitTestChildren(c, local)) return hit;
    }
    if (c->HitTest() && inside) return c;
  }
  return nullptr;
}

}  // namespace

TControl* TCommonCustomForm::ObjectAtPoint(TPointF P) const { return HitTestChildren(this, P); }

void TCommonCustomForm::SetCaptured(TControl* AControl) { FCaptured = AControl; }

void TCommonCustomForm::CancelMouseTracking() {
  FCaptured = nullptr;
  FPressedControl = nullptr;
}

void TCommonCustomForm::ControlRemovedFromTree(TFmxObject* AObject) {
  auto gone = [AObject](TControl* c) {
    return c != nullptr && (c == AObject || c->IsChildOf(AObject));
  };
  if (gone(FHovered)) FHovered = nullptr;
  if (gone(FCaptured)) FCaptured = nullptr;
  if (gone(FPressedControl)) FPressedControl = nullptr;
}

void TCommonCustomForm::ControlHidden(TControl* AControl) {
  TControl* old = FHovered;
  const bool wasHovered = old != nullptr && (old == AControl || old->IsChildOf(AControl));
  ControlRemovedFromTree(AControl);
  // The pointer is no longer over what disappeared; tell it, as a move away would.
  if (wasHovered && !old->IsDestroying()) old->DoMouseLeave();
}

bool TCommonCustomForm::UpdateHovered(TPointF P) {
  TControl* now = ObjectAtPoint(P);
  if (now == FHovered) return true;
  TWeak<TComponent> self(this);
  TControl* old = FHovered;
  FHovered = now;
  // Each handler may free controls or the form; the removal hook clears FHovered when
  // the control it names goes.
  if (old != nullptr) old->DoMouseLeave();
  if (!self.Alive()) return false;
  if (FHovered != nullptr && FHovered == now) now->DoMouseEnter();
  return self.Alive();
}

void TCommonCustomForm::MouseMove(TShiftState Shift, float X, float Y) {
  if (FCaptured == nullptr && !UpdateHovered({X, Y})) return;
  TControl* target = FCaptured != nullptr ? FCaptured : FHovered;
  if (target != nullptr) {
    TPointF local = target->AbsoluteToLocal({X, Y});
    target->MouseMove(Shift, local.X, local.Y);
  } else if (FOnMouseMove) {
    auto h = FOnMouseMove;
    h(this, Shift, X, Y);
  }
}

void TCommonCustomForm::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (FCaptured == nullptr && !UpdateHovered({X, Y})) return;
  TControl* target = FCaptured != nullptr ? FCaptured : FHovered;
  if (target == nullptr) {
    FPressedControl = nullptr;
    FormMouseDown(Button, Shift, X, Y);
    return;
  }
  FPressedControl = target;
  FPressedDouble = Shift.Contains(TShiftStateItem::ssDouble);
  if (target->AutoCapture()) FCaptured = target;
  TPointF local = target->AbsoluteToLocal({X, Y});
  target->MouseDown(Button, Shift, local.X, local.Y);
}

void TCommonCustomForm::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TControl* target = FCaptured != nullptr ? FCaptured : ObjectAtPoint({X, Y});
  if (FCaptured != nullptr && Button == TMouseButton::mbLeft) FCaptured = nullptr;
  if (target == nullptr) {
    FPressedControl = nullptr;
    if (FOnMouseUp) {
      auto h = FOnMouseUp;
      h(this, Button, Shift, X, Y);
    }
    return;
  }
  const bool clicks = target == FPressedControl;
  const bool isDouble = FPressedDouble;
  TPointF local = target->AbsoluteToLocal({X, Y});
  TWeak<TComponent> self(this);
  TWeak<TComponent> watchedTarget(target);
  target->MouseUp(Button, Shift, local.X, local.Y);
  if (!self.Alive()) return;
  FPressedControl = nullptr;
  // A handler that freed the target, or took it off this form, ends the release here.
  if (!watchedTarget.Alive() || target->Root() != this) return;
  if (clicks && Button == TMouseButton::mbLeft && target->PointInObjectLocal(local.X, local.Y)) {
    if (isDouble)
      target->DblClick();
    else
      target->Click();
    if (!self.Alive()) return;
  }
  if (FCaptured == nullptr) UpdateHovered({X, Y});
}

void TCommonCustomForm::MouseWheel(TShiftState Shift, int WheelDelta) {
  bool handled = false;
  TControl* c = FHovered;
  while (c != nullptr && !handled) {
    // Up the chain from what is still there after each handler.
    TControl* parent = c->ParentControl();
    TWeak<TComponent> watchedParent(parent);
    TWeak<TComponent> self(this);
    c->MouseWheel(Shift, WheelDelta, handled);
    if (!self.Alive() || parent == nullptr || !watchedParent.Alive()) return;
    c = parent;
  }
}

void TCommonCustomForm::MouseLeave() {
  if (FCaptured != nullptr) return;
  TControl* old = FHovered;
  FHovered = nullptr;
  if (old != nullptr) old->DoMouseLeave();
}

void TCommonCustomForm::FormMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (FOnMouseDown) {
    auto h = FOnMouseDown;
    h(this, Button, Shift, X, Y);
  }
}

// --- painting -----------------------------------------------------------------

void TCommonCustomForm::InvalidateAll() {
  Application->Platform()->Invalidate(
      this, TRectF{0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight)});
}

int TCommonCustomForm::PaintTo(TCanvas* ACanvas) {
  TWeak<TComponent> self(this);
  int pass = 0;
  while (pass < kMaxPaintPasses) {
    ++pass;
    const uint64_t before = FTreeGeneration;
    if (ACanvas != nullptr) {
      ACanvas->Clear(FTransparency ? TAlphaColors::Null : BackgroundColor());
    }
    for (size_t i = 0; i < ChildrenList().size(); ++i) {
      auto* c = dynamic_cast<TControl*>(ChildrenList()[i]);
      if (c == nullptr || !c->Visible()) continue;
      if (ACanvas != nullptr) {
        ACanvas->SaveState();
        ACanvas->Translate(c->Position()->X(), c->Position()->Y());
      }
      c->PaintTo(ACanvas);
      if (ACanvas != nullptr) ACanvas->RestoreState();
      if (!self.Alive()) return pass;  // a paint handler freed the form
    }
    if (FTreeGeneration == before) break;
  }
  return pass;
}

// --- TFrame / TScreen -----------------------------------------------------------

TFrame::TFrame(TComponent* AOwner) : TControl(AOwner) { SetSize(320, 240); }

namespace {
TScreen gScreen;
}  // namespace
TScreen* const Screen = &gScreen;

int TScreen::Width() const { return Application->Platform()->ScreenSize().X; }
int TScreen::Height() const { return Application->Platform()->ScreenSize().Y; }
int TScreen::FormCount() const { return static_cast<int>(Application->Forms().size()); }
TCommonCustomForm* TScreen::Forms(int Index) const {
  return Application->Forms().at(static_cast<size_t>(Index));
}

}  // namespace fmx
