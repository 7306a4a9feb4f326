// Shapes: rectangles, paths and lines with fill and stroke.
#pragma once

#include "host/Controls.h"
#include "host/Graphics.h"

namespace fmx {

/// What the shapes share: a fill and a stroke.
class TShape : public TControl {
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TBrush* Fill() const { return &FFill; }
  TStrokeBrush* Stroke() const { return &FStroke; }

 private:
  // A change of either brush repaints the shape.
  using TFillBrush = THeldNotifier<TBrush, TControl, &TShape::InvalidatePainted>;
  using TShapeStroke = THeldNotifier<TStrokeBrush, TControl, &TShape::InvalidatePainted>;
  mutable TFillBrush FFill;
  mutable TShapeStroke FStroke;
};

/// A rectangle, optionally with rounded corners, filled and outlined.
class TRectangle : public TShape {
 public:
  bool InvalidatesItself() const override { return IsExactly<TRectangle>(this); }
  const TBrush* BackgroundFill() const override { return Fill(); }
  explicit TRectangle(TComponent* AOwner);
  float XRadius() const { return FXRadius; }
  void SetXRadius(float Value);
  float YRadius() const { return FYRadius; }
  void SetYRadius(float Value);
  TCorners Corners() const { return FCorners; }
  void SetCorners(TCorners Value);

 protected:
  void Paint() override;

 private:
  float FXRadius = 0;
  float FYRadius = 0;
  TCorners FCorners = AllCorners;
};

enum class TPathWrapMode { Original, Fit, Stretch, Tile };

/// A shape drawn from SVG path data, stretched to the control's bounds by default.
class TPath : public TShape {
 public:
  bool InvalidatesItself() const override { return IsExactly<TPath>(this); }
  explicit TPath(TComponent* AOwner);
  ~TPath() override;
  TPathData* Data() const { return &FData; }
  TPathWrapMode WrapMode() const { return FWrapMode; }
  void SetWrapMode(TPathWrapMode Value);

 protected:
  void Paint() override;

 private:
  // A change of the path repaints it.
  using TShapePath = THeldNotifier<TPathData, TControl, &TPath::InvalidatePainted>;
  mutable TShapePath FData{this};
  TPathWrapMode FWrapMode = TPathWrapMode::Stretch;
};

/// A straight line across the control's bounds.
class TLine : public TShape {
 public:
  bool InvalidatesItself() const override { return IsExactly<TLine>(this); }
  explicit TLine(TComponent* AOwner);
  TLineType LineType() const { return FLineType; }
  void SetLineType(TLineType Value);

 protected:
  void Paint() override;

 private:
  TLineType FLineType = TLineType::Diagonal;
};

}  // namespace fmx
