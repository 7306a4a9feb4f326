#include "host/Forms.h"

#include <algorithm>
#include <cmath>

#include "core/Layout.h"
#include "host/Styles.h"

namespace fmx {

namespace {
// The window colour when neither the fill nor a style gives one.
constexpr TAlphaColor kDefaultFormBackground = 0xFFF0F0F0;
}  // namespace

TCommonCustomForm::TCommonCustomForm(TComponent* AOwner)
    : TFmxObject(AOwner), FFill(new TFormFill(this, TBrushKind::None, TAlphaColors::White)) {
  Application->FormCreated(this);
}

TCommonCustomForm::~TCommonCustomForm() {
  // Objects not freed through delete (a form on the stack) skip BeforeDestruction.
  Destroying();
  TAccessibility::Notify(this, TAccessibleEvent::Destroyed);
  // Children are freed by the object tree below; make sure none of them calls back
  // into the form's routing while that happens.
  FHovered = FCaptured = FFocused = nullptr;
  if (FStyleBook != nullptr) FStyleBook->RemoveFreeNotification(this);
  Application->FormDestroyed(this);
  delete FFill;
}

// --- bounds -------------------------------------------------------------------

void TCommonCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::clamp(AWidth, 0, MaxSide);
  AHeight = std::clamp(AHeight, 0, MaxSide);
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  if (!sized && ALeft == FLeft && ATop == FTop) return;
  // Its layout and resize handlers may free the form: what follows then does nothing.
  TDispatchScope scope;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Application->Platform()->ApplyWindowRect(this, TRect::Bounds(FLeft, FTop, FWidth, FHeight));
  if (sized) {
    InvalidateAll();
    Realign();
    Resize();
  }
  TreeChanged();
}

void TCommonCustomForm::Resize() { Fire(FOnResize); }

void TCommonCustomForm::Realign() {
  if (FRealigning || IsDestroying()) return;
  if (TRealignBatch::Active()) {
    if (!FRealignPending) {
      FRealignPending = true;
      TRealignBatch::Defer(this);
    }
    return;
  }
  FRealignPending = false;
  FRealigning = true;
  // Cleared however the layout ends (a handler may throw or free the form).
  TDispatchScope scope;
  struct TDone {
    TCommonCustomForm* Self;
    ~TDone() { Self->FRealigning = false; }
  } done{this};
  TRectF full{0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight)};
  TRectF area{FPadding.Left(), FPadding.Top(), full.Right - FPadding.Right(),
              full.Bottom - FPadding.Bottom()};
  AlignChildren(this, area, full, [](TControl* C, float X, float Y, float W, float H) {
    C->SetBounds(X, Y, W, H);
  });
}

void TCommonCustomForm::RealignDeferred() {
  if (FRealignPending) Realign();
}

void TCommonCustomForm::DoInsertObject(int Index, TFmxObject* AObject) {
  // The newcomer's ParentChanged may run application code that frees either of the two:
  // a freed newcomer is off this form, and a freed form shows and lays out nothing.
  TDispatchScope scope;
  TFmxObject::DoInsertObject(Index, AObject);
  auto* c = fmx::AsControl(AObject);
  if (c == nullptr || c->Parent() != this) return;
  c->InvalidatePainted();
  // The form's layout first: it sizes the newcomer, whose own layout then runs once.
  if (c->Align() != TAlignLayout::None) Realign();
  c->HeldLayoutMoved();
}

void TCommonCustomForm::DoRemoveObject(TFmxObject* AObject) {
  // A form being freed is not showing and lays nothing out, so this costs nothing then.
  auto* c = fmx::AsControl(AObject);
  const bool wasAligned = c != nullptr && c->Align() != TAlignLayout::None;
  if (c != nullptr) c->InvalidateLeaving();
  // The leaving child's ParentChanged may run application code that frees this form.
  TDispatchScope scope;
  TFmxObject::DoRemoveObject(AObject);
  if (wasAligned) Realign();
}

void TCommonCustomForm::ChildrenChanged() {
  // The child that moved in the z-order repaints where it lies.
  Realign();
}

// --- properties ---------------------------------------------------------------

void TCommonCustomForm::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Application->Platform()->FormCaptionChanged(this);
  TAccessibility::Notify(this, TAccessibleEvent::NameChanged);
}

TRect FitToArea(const TRect& R, const TRect& Area) {
  if (Area.Width() <= 0 || Area.Height() <= 0) return R;
  if (R.Width() <= Area.Width() && R.Height() <= Area.Height()) return R;
  const int w = std::min(R.Width(), Area.Width()), h = std::min(R.Height(), Area.Height());
  return TRect::Bounds(std::clamp(R.Left, Area.Left, Area.Right - w),
                       std::clamp(R.Top, Area.Top, Area.Bottom - h), w, h);
}

void TCommonCustomForm::SetVisible(bool Value) {
  if (Value == FVisible) return;
  // Showing activates the form, and its OnActivate may free it.
  TDispatchScope scope;
  if (Value) {
    // A window never opens larger than the work area of its monitor (at any device
    // scale, where the work area has fewer form pixels).
    const TRect was = TRect::Bounds(FLeft, FTop, FWidth, FHeight);
    const TRect fit = FitToArea(was, Application->Platform()->DisplayOf(this).WorkArea);
    if (fit != was) SetBounds(fit.Left, fit.Top, fit.Width(), fit.Height());
    if (IsDestroying() || FVisible) return;
  }
  FVisible = Value;
  // Its activation may free the form: then it invalidates nothing, tells no reader and
  // raises nothing.
  Application->Platform()->FormVisibleChanged(this);
  if (FVisible) InvalidateAll();
  TAccessibility::Notify(this, FVisible ? TAccessibleEvent::Shown : TAccessibleEvent::Hidden);
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
  TAccessibility::Notify(this, FActive ? TAccessibleEvent::Activated : TAccessibleEvent::Deactivated);
  Fire(FActive ? FOnActivate : FOnDeactivate);
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
    if (const TControl* c = fmx::AsControl(
            FStyleBook->FindStyleResource(FStyleLookup.empty() ? "backgroundstyle" : FStyleLookup)))
      if (const TBrush* fill = c->BackgroundFill()) return fill->Color();
  return kDefaultFormBackground;
}

// --- closing and moving -------------------------------------------------------

bool TCommonCustomForm::CloseQuery() {
  bool canClose = true;
  Fire(FOnCloseQuery, canClose);
  return canClose;
}

void TCommonCustomForm::Close() {
  TDispatchScope scope;
  const bool isMain = Application->MainForm() == this;
  if (!CloseQuery()) return;
  TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
  Fire(FOnClose, action);
  // A handler that freed the form has closed it for good.
  if (IsDestroying()) action = TCloseAction::caFree;
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
    auto* c = fmx::AsControl(*it);
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

void TCommonCustomForm::SetFocused(TControl* AControl) {
  if (AControl == FFocused.Get()) return;
  if (AControl != nullptr && (AControl->ParentForm() != this || !AControl->ParentedVisible() ||
                              !AControl->AbsoluteEnabled()))
    return;
  TDispatchScope scope;
  TControl* old = FFocused.Get();
  FFocused = AControl;
  if (old != nullptr) old->DoExit();
  // Unless the exit handler moved the focus on, or freed the form or the control (the
  // form's children go with it, and a freed control reads null).
  if (FFocused.Get() == AControl && AControl != nullptr) AControl->DoEnter();
}

void TCommonCustomForm::AddKeyPreview(TComponent* AOwner, TKeyEvent OnKeyDown,
                                      TKeyEvent OnKeyUp) {
  if (AOwner == nullptr) return;
  std::erase_if(FKeyPreviews, [AOwner](const TKeyPreview& P) {
    return !P.Owner.Alive() || P.Owner.Get() == AOwner;
  });
  FKeyPreviews.push_back({TWeak<TComponent>(AOwner), std::move(OnKeyDown), std::move(OnKeyUp)});
}

void TCommonCustomForm::RemoveKeyPreview(TComponent* AOwner) {
  std::erase_if(FKeyPreviews, [AOwner](const TKeyPreview& P) {
    return !P.Owner.Alive() || P.Owner.Get() == AOwner;
  });
}

void TCommonCustomForm::AddMousePreview(TComponent* AOwner, TMouseEvent OnMouseDown) {
  if (AOwner == nullptr) return;
  RemoveMousePreview(AOwner);
  FMousePreviews.push_back({TWeak<TComponent>(AOwner), std::move(OnMouseDown)});
}

void TCommonCustomForm::RemoveMousePreview(TComponent* AOwner) {
  std::erase_if(FMousePreviews, [AOwner](const TMousePreview& P) {
    return !P.Owner.Alive() || P.Owner.Get() == AOwner;
  });
}

bool TCommonCustomForm::PreviewMouseDown(TMouseButton Button, TShiftState Shift, float X,
                                         float Y) {
  TDispatchScope scope;
  // A preview may add or remove previews, or free their owners.
  const std::vector<TMousePreview> previews = FMousePreviews;
  for (const TMousePreview& p : previews) {
    if (!p.Owner.Alive() || !p.OnMouseDown) continue;
    p.OnMouseDown(this, Button, Shift, X, Y);
    if (IsDestroying()) return false;
  }
  return true;
}

bool TCommonCustomForm::PreviewKey(bool Down, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  if (FKeyPreviews.empty()) return true;
  TDispatchScope scope;
  // A preview may add or remove previews, or free their owners.
  const std::vector<TKeyPreview> previews = FKeyPreviews;
  for (const TKeyPreview& p : previews) {
    if (!p.Owner.Alive()) continue;
    const TKeyEvent& h = Down ? p.OnKeyDown : p.OnKeyUp;
    if (!h) continue;
    h(this, Key, KeyChar, Shift);
    if (IsDestroying() || (Key == 0 && KeyChar == 0)) return false;
  }
  return true;
}

void TCommonCustomForm::KeyDown(uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  TDispatchScope scope;
  if (!PreviewKey(true, Key, KeyChar, Shift)) return;
  if (TControl* f = FFocused.Get()) {
    f->KeyDown(Key, KeyChar, Shift);
    if (Key == 0 && KeyChar == 0) return;
  }
  Fire(FOnKeyDown, Key, KeyChar, Shift);
}

void TCommonCustomForm::KeyUp(uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  TDispatchScope scope;
  if (!PreviewKey(false, Key, KeyChar, Shift)) return;
  if (TControl* f = FFocused.Get()) {
    f->KeyUp(Key, KeyChar, Shift);
    if (Key == 0 && KeyChar == 0) return;
  }
  Fire(FOnKeyUp, Key, KeyChar, Shift);
}

void TCommonCustomForm::SetDeviceScale(float Value) {
  if (!(Value >= 0.25f && Value <= 8.0f)) Value = 1.0f;
  if (Value == FDeviceScale) return;
  FDeviceScale = Value;
  InvalidateAll();
}

void TCommonCustomForm::ControlRemovedFromTree(TFmxObject* AObject) {
  // Freed controls read null already; this is for controls that leave the tree alive.
  auto gone = [AObject](TControl* c) {
    return c != nullptr && (c == AObject || c->IsChildOf(AObject));
  };
  if (gone(FHovered.Get())) FHovered = nullptr;
  if (gone(FCaptured.Get())) FCaptured = nullptr;
  if (gone(FFocused.Get())) FFocused = nullptr;
}

void TCommonCustomForm::ControlHidden(TControl* AControl) {
  // Hiding or disabling reaches here from anywhere, and the leave below runs handlers.
  TDispatchScope scope;
  TControl* old = FHovered.Get();
  const bool wasHovered = old != nullptr && (old == AControl || old->IsChildOf(AControl));
  ControlRemovedFromTree(AControl);
  // The pointer is no longer over what disappeared; tell it, as a move away would.
  if (wasHovered) old->DoMouseLeave();
}

void TCommonCustomForm::FormMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  Fire(FOnMouseDown, Button, Shift, X, Y);
}

void TCommonCustomForm::FormMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  Fire(FOnMouseUp, Button, Shift, X, Y);
}

void TCommonCustomForm::FormMouseMove(TShiftState Shift, float X, float Y) {
  Fire(FOnMouseMove, Shift, X, Y);
}

// --- painting -----------------------------------------------------------------

void TCommonCustomForm::InvalidateAll() {
  InvalidateRect({0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight)});
}

void TCommonCustomForm::InvalidateRect(const TRectF& R) {
  if (IsDestroying()) return;
  FPainter.Invalidate(R);
}

int TCommonCustomForm::PaintTo(TCanvas* ACanvas) { return FPainter.PaintAll(ACanvas); }

int TCommonCustomForm::PaintDirty(TCanvas* ACanvas, TPaintRegion* Painted, bool Full) {
  return FPainter.PaintDirty(ACanvas, Painted, Full);
}

// --- TFrame / TScreen -----------------------------------------------------------

TFrame::TFrame(TComponent* AOwner) : TControl(AOwner) { SetSize(320, 240); }

namespace {
TScreen gScreen;
}  // namespace
TScreen* const Screen = &gScreen;

int TScreen::Width() const { return Application->Platform()->ScreenSize().X; }
int TScreen::Height() const { return Application->Platform()->ScreenSize().Y; }
int TScreen::DisplayCount() const {
  return static_cast<int>(Application->Platform()->Displays().size());
}
TDisplay TScreen::Displays(int Index) const {
  return Application->Platform()->Displays().at(static_cast<size_t>(Index));
}
TDisplay TScreen::DisplayFromForm(const TCommonCustomForm* AForm) const {
  return Application->Platform()->DisplayOf(AForm);
}
int TScreen::FormCount() const { return static_cast<int>(Application->Forms().size()); }
TCommonCustomForm* TScreen::Forms(int Index) const {
  return Application->Forms().at(static_cast<size_t>(Index));
}

}  // namespace fmx
