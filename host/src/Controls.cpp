#include "host/Controls.h"

#include <algorithm>

#include "Layout.h"
#include "host/Canvas.h"
#include "host/Effects.h"
#include "host/Forms.h"

namespace fmx {

namespace {
// How much a disabled control's opacity is dimmed.
constexpr float kDisabledOpacity = 0.6f;
}  // namespace

TControl::TControl(TComponent* AOwner)
    : TFmxObject(AOwner),
      FPosition(new TPosition),
      FScale(new TPosition(1, 1)),
      FMargins(new TBounds),
      FPadding(new TBounds),
      FTouchTargetExpansion(new TBounds) {
  FWidth = 100;
  FHeight = 100;
  FPosition->SetOnChange([this](TObject*) { PositionChanged(); });
  FMargins->SetOnChange([this](TObject*) { MarginsChanged(); });
  FPadding->SetOnChange([this](TObject*) { PaddingChanged(); });
}

TControl::~TControl() {
  Destroying();
  delete FPosition;
  delete FScale;
  delete FMargins;
  delete FPadding;
  delete FTouchTargetExpansion;
}

// --- geometry ------------------------------------------------------------------

void TControl::SetSize(float AWidth, float AHeight) {
  SetBounds(FPosition->X(), FPosition->Y(), AWidth, AHeight);
}

void TControl::SetBounds(float X, float Y, float AWidth, float AHeight) {
  AWidth = SanitizeSize(AWidth);
  AHeight = SanitizeSize(AHeight);
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  const bool moved = SanitizeCoord(X) != FPosition->X() || SanitizeCoord(Y) != FPosition->Y();
  if (!sized && !moved) return;
  FSettingBounds = true;
  FPosition->SetPoint({X, Y});
  FSettingBounds = false;
  if (sized) {
    FWidth = AWidth;
    FHeight = AHeight;
    Realign();
    TWeak<TComponent> self(this);
    Resize();
    if (!self.Alive()) return;  // freed by its resize handler
  }
  NotifyTreeChanged();
  if (FAlign != TAlignLayout::None) ParentRealign();
  Repaint();
}

void TControl::PositionChanged() {
  if (FSettingBounds) return;
  NotifyTreeChanged();
  // An aligned control's position only orders it among its siblings; the layout
  // decides where it ends up.
  if (FAlign != TAlignLayout::None) ParentRealign();
  Repaint();
}

void TControl::MarginsChanged() {
  if (FAlign != TAlignLayout::None) ParentRealign();
}

void TControl::PaddingChanged() { Realign(); }

void TControl::Resize() {
  if (FOnResize) {
    auto h = FOnResize;
    h(this);
  }
}

TRectF TControl::BoundsRect() const {
  return {FPosition->X(), FPosition->Y(), FPosition->X() + FWidth, FPosition->Y() + FHeight};
}

TPointF TControl::LocalToAbsolute(TPointF P) const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    P.X += c->FPosition->X();
    P.Y += c->FPosition->Y();
  }
  return P;
}

TPointF TControl::AbsoluteToLocal(TPointF P) const {
  TPointF origin = LocalToAbsolute({0, 0});
  return {P.X - origin.X, P.Y - origin.Y};
}

TRectF TControl::AbsoluteRect() const {
  TPointF o = LocalToAbsolute({0, 0});
  return {o.X, o.Y, o.X + FWidth, o.Y + FHeight};
}

void TControl::SetAlign(TAlignLayout Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  ParentRealign();
  NotifyTreeChanged();
}

void TControl::ParentRealign() {
  if (auto* pc = dynamic_cast<TControl*>(Parent())) {
    if (pc->FRealignLock == 0) pc->Realign();
  } else if (auto* form = dynamic_cast<TCommonCustomForm*>(Parent())) {
    form->Realign();
  }
}

void TControl::Realign() {
  if (FRealignLock > 0) return;
  ++FRealignLock;
  DoRealign();
  --FRealignLock;
}

void TControl::DoRealign() {
  TRectF full = LocalRect();
  TRectF area{FPadding->Left(), FPadding->Top(), FWidth - FPadding->Right(),
              FHeight - FPadding->Bottom()};
  AlignChildren(Controls(), area, full);
}

// --- visibility and state -----------------------------------------------------

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (FAlign != TAlignLayout::None) ParentRealign();
  NotifyTreeChanged();
  Repaint();
  // A control that disappears cannot stay hovered or captured. Last, since the leave
  // runs handlers.
  if (!FVisible)
    if (IRoot* root = Root()) root->ControlHidden(this);
}

bool TControl::ParentedVisible() const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl())
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Repaint();
  if (!FEnabled)
    if (IRoot* root = Root()) root->ControlHidden(this);
}

bool TControl::AbsoluteEnabled() const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl())
    if (!c->FEnabled) return false;
  return true;
}

void TControl::SetOpacity(float Value) {
  Value = std::isnan(Value) ? 0.0f : std::clamp(Value, 0.0f, 1.0f);
  if (Value == FOpacity) return;
  FOpacity = Value;
  Repaint();
}

float TControl::AbsoluteOpacity() const {
  float o = 1.0f;
  bool enabled = true;
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    o *= c->FOpacity;
    enabled = enabled && c->FEnabled;
  }
  return enabled ? o : o * kDisabledOpacity;
}

void TControl::SetClipChildren(bool Value) {
  if (Value == FClipChildren) return;
  FClipChildren = Value;
  Repaint();
}

std::vector<TControl*> TControl::Controls() const {
  std::vector<TControl*> result;
  result.reserve(ChildrenList().size());
  for (TFmxObject* o : ChildrenList())
    if (auto* c = dynamic_cast<TControl*>(o)) result.push_back(c);
  return result;
}

int TControl::ControlsCount() const { return static_cast<int>(Controls().size()); }

TControl* TControl::ParentControl() const { return dynamic_cast<TControl*>(Parent()); }

TCommonCustomForm* TControl::ParentForm() const {
  TFmxObject* p = Parent();
  while (p != nullptr && dynamic_cast<TCommonCustomForm*>(p) == nullptr) p = p->Parent();
  return dynamic_cast<TCommonCustomForm*>(p);
}

void TControl::Repaint() {
  if (IRoot* root = Root()) root->InvalidateAll();
}

void TControl::InvalidateRect(const TRectF&) { Repaint(); }

void TControl::Capture() {
  if (auto* form = ParentForm()) form->SetCaptured(this);
}

void TControl::ReleaseCapture() {
  if (auto* form = ParentForm(); form != nullptr && form->Captured() == this)
    form->SetCaptured(nullptr);
}

bool TControl::PointInObjectLocal(float X, float Y) const {
  return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight;
}

// --- children -----------------------------------------------------------------

void TControl::DoInsertObject(int Index, TFmxObject* AObject) {
  TFmxObject::DoInsertObject(Index, AObject);
  if (auto* c = dynamic_cast<TControl*>(AObject); c != nullptr && c->Parent() == this)
    if (c->Align() != TAlignLayout::None) Realign();
  Repaint();
}

void TControl::DoRemoveObject(TFmxObject* AObject) {
  const bool wasAligned = [&] {
    auto* c = dynamic_cast<TControl*>(AObject);
    return c != nullptr && c->Align() != TAlignLayout::None;
  }();
  Repaint();
  TFmxObject::DoRemoveObject(AObject);
  if (wasAligned && !IsDestroying()) Realign();
}

void TControl::ChildrenChanged() {
  // Order decides ties in the layout.
  Realign();
  Repaint();
}

// --- input --------------------------------------------------------------------

void TControl::Click() {
  if (FOnClick) {
    auto h = FOnClick;
    h(this);
  }
}

void TControl::DblClick() {
  if (FOnDblClick) {
    auto h = FOnDblClick;
    h(this);
  }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft) FPressed = true;
  if (FOnMouseDown) {
    auto h = FOnMouseDown;
    h(this, Button, Shift, X, Y);
  }
}

void TControl::MouseMove(TShiftState Shift, float X, float Y) {
  if (FOnMouseMove) {
    auto h = FOnMouseMove;
    h(this, Shift, X, Y);
  }
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft) FPressed = false;
  if (FOnMouseUp) {
    auto h = FOnMouseUp;
    h(this, Button, Shift, X, Y);
  }
}

void TControl::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  if (FOnMouseWheel) {
    auto h = FOnMouseWheel;
    h(this, Shift, WheelDelta, Handled);
  }
}

void TControl::DoMouseEnter() {
  FIsMouseOver = true;
  if (FOnMouseEnter) {
    auto h = FOnMouseEnter;
    h(this);
  }
}

void TControl::DoMouseLeave() {
  FIsMouseOver = false;
  FPressed = false;
  if (FOnMouseLeave) {
    auto h = FOnMouseLeave;
    h(this);
  }
}

// --- painting -----------------------------------------------------------------

void TControl::Paint() {}

void TControl::PaintTo(TCanvas* ACanvas) {
  // Paint handlers may free the control; stop painting it then.
  TWeak<TComponent> self(this);
  FCanvas = ACanvas;
  if (FOnPainting) {
    auto h = FOnPainting;
    h(this);
    if (!self.Alive()) return;
  }
  TEffect::PaintEffectsBehind(this, ACanvas);
  Paint();
  if (!self.Alive()) return;
  if (FOnPaint) {
    auto h = FOnPaint;
    h(this);
    if (!self.Alive()) return;
  }
  FCanvas = nullptr;
  if (ACanvas != nullptr && FClipChildren) {
    ACanvas->SaveState();
    ACanvas->IntersectClipRect(LocalRect());
  }
  FCanvas = ACanvas;
  PaintChildren();
  FCanvas = nullptr;
  if (ACanvas != nullptr && FClipChildren) ACanvas->RestoreState();
}

void TControl::PaintChildren() {
  TCanvas* canvas = FCanvas;
  // A child's paint handler may free this control too.
  TWeak<TComponent> self(this);
  // Index-based: a child's Paint may reorder, add or remove siblings. The form paints
  // again until the tree is stable, so a pass that sees a changing list is redone.
  for (size_t i = 0; i < ChildrenList().size(); ++i) {
    auto* child = dynamic_cast<TControl*>(ChildrenList()[i]);
    if (child == nullptr || !child->FVisible) continue;
    if (canvas != nullptr) {
      canvas->SaveState();
      canvas->Translate(child->FPosition->X(), child->FPosition->Y());
    }
    child->PaintTo(canvas);
    if (canvas != nullptr) canvas->RestoreState();
    if (!self.Alive()) return;
  }
}

// --- TPresentedControl ---------------------------------------------------------

TPresentedControl::TPresentedControl(TComponent* AOwner) : TControl(AOwner) {}

}  // namespace fmx
