#include "host/Shapes.h"

namespace fmx {

namespace {
// Colours a new shape starts with, as a designer shows them when dropped on a form.
constexpr TAlphaColor kDefaultShapeFill = 0xFFE0E0E0;
constexpr TAlphaColor kDefaultShapeStroke = 0xFF000000;
}  // namespace

TShape::TShape(TComponent* AOwner)
    : TControl(AOwner),
      FFill(TBrushKind::Solid, kDefaultShapeFill),
      FStroke(TBrushKind::Solid, kDefaultShapeStroke) {
  SetSize(50, 50);
  FFill.SetOnChange([this](TObject*) { InvalidatePainted(); });
  FStroke.SetOnChange([this](TObject*) { InvalidatePainted(); });
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

TPath::TPath(TComponent* AOwner) : TShape(AOwner) {
  FData.SetOnChange([this](TObject*) { InvalidatePainted(); });
}

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

}  // namespace fmx
