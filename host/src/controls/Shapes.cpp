#include "host/Shapes.h"

#include "paint/PaintGeometry.h"

namespace fmx {

namespace {
// Colours a new shape starts with, as a designer shows them when dropped on a form.
constexpr TAlphaColor kDefaultShapeFill = 0xFFE0E0E0;
constexpr TAlphaColor kDefaultShapeStroke = 0xFF000000;
}  // namespace

TShape::TShape(TComponent* AOwner)
    : TControl(AOwner),
      FFill(this, TBrushKind::Solid, kDefaultShapeFill),
      FStroke(this, TBrushKind::Solid, kDefaultShapeStroke) {
  SetSize(50, 50);
}

TShape::~TShape() = default;

TRectangle::TRectangle(TComponent* AOwner) : TShape(AOwner) {}

void TRectangle::SetXRadius(float Value) {
  Value = SanitizeSize(Value);
  if (Value == FXRadius) return;
  FXRadius = Value;
  InvalidatePainted();
}

void TRectangle::SetYRadius(float Value) {
  Value = SanitizeSize(Value);
  if (Value == FYRadius) return;
  FYRadius = Value;
  InvalidatePainted();
}

void TRectangle::SetCorners(TCorners Value) {
  if (Value == FCorners) return;
  FCorners = Value;
  InvalidatePainted();
}

TPath::TPath(TComponent* AOwner) : TShape(AOwner) {}


TPath::~TPath() = default;

void TPath::SetWrapMode(TPathWrapMode Value) {
  if (Value == FWrapMode) return;
  FWrapMode = Value;
  InvalidatePainted();
}

TLine::TLine(TComponent* AOwner) : TShape(AOwner) {}

void TLine::SetLineType(TLineType Value) {
  if (Value == FLineType) return;
  FLineType = Value;
  InvalidatePainted();
}

// --- painting ---------------------------------------------------------------
// Each Paint draws in local coordinates on Canvas() and does nothing when there is no
// canvas (a paint pass run only for its side effects on layout).

using namespace paintgeometry;

void TRectangle::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  const TRectF R = LocalRect();
  const float Opacity = AbsoluteOpacity();
  // The fill covers the whole rectangle; the stroke lies inside it, over the fill.
  C->FillRect(R, FXRadius, FYRadius, FCorners, Opacity, *Fill());
  C->DrawRect(R, FXRadius, FYRadius, FCorners, Opacity, *Stroke());
}

void TPath::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || FData.IsEmpty()) return;
  const float Opacity = AbsoluteOpacity();
  // Keep the whole stroke inside the control, as for the other shapes.
  const TRectF Box = Inset(LocalRect(), StrokeInset(Stroke()));
  TRectF Dest = Box;
  bool Stretch = true;
  switch (FWrapMode) {
    case TPathWrapMode::Stretch:
      break;
    case TPathWrapMode::Fit: {
      const TRectF B = FData.GetBounds();
      if (B.Width() > 0 && B.Height() > 0) Dest = FitRect(B.Width(), B.Height(), Box);
      break;
    }
    case TPathWrapMode::Original:
    case TPathWrapMode::Tile:
      Dest = LocalRect();
      Stretch = false;
      break;
  }
  C->FillPath(FData, Dest, Stretch, Opacity, *Fill());
  C->DrawPath(FData, Dest, Stretch, Opacity, *Stroke());
}

void TLine::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  const float W = Width(), H = Height();
  // Lines along an edge sit half a pen inside it, so a one-pixel line on a
  // one-pixel-high control covers exactly its pixel row.
  const float D = Stroke()->Thickness() / 2;
  TPointF A, B;
  switch (FLineType) {
    case TLineType::Diagonal:
      A = {D, D};
      B = {W - D, H - D};
      break;
    case TLineType::Top:
      A = {0, D};
      B = {W, D};
      break;
    case TLineType::Bottom:
      A = {0, H - D};
      B = {W, H - D};
      break;
    case TLineType::Left:
      A = {D, 0};
      B = {D, H};
      break;
    case TLineType::Right:
      A = {W - D, 0};
      B = {W - D, H};
      break;
  }
  C->DrawLine(A, B, AbsoluteOpacity(), *Stroke());
}

}  // namespace fmx
