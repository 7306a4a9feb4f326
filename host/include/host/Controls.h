// Visual controls: bounds, alignment, visibility, mouse input and painting hooks.
#pragma once

#include <string>
#include <vector>

#include "host/Objects.h"

namespace fmx {

class TCanvas;
class TCommonCustomForm;

class TControl : public TFmxObject {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Geometry, in the parent's coordinates.
  TPosition* Position() const { return FPosition; }
  float Width() const { return FWidth; }
  float Height() const { return FHeight; }
  void SetWidth(float Value) { SetSize(Value, FHeight); }
  void SetHeight(float Value) { SetSize(FWidth, Value); }
  void SetSize(float AWidth, float AHeight);
  void SetBounds(float X, float Y, float AWidth, float AHeight);
  TRectF BoundsRect() const;
  TRectF LocalRect() const { return {0, 0, FWidth, FHeight}; }
  TPointF LocalToAbsolute(TPointF P) const;
  TPointF AbsoluteToLocal(TPointF P) const;
  TRectF AbsoluteRect() const;

  TAlignLayout Align() const { return FAlign; }
  void SetAlign(TAlignLayout Value);
  TBounds* Margins() const { return FMargins; }
  TBounds* Padding() const { return FPadding; }
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Visible, and so are all its parents.
  bool ParentedVisible() const;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Enabled, and so are all its parents.
  bool AbsoluteEnabled() const;
  bool HitTest() const { return FHitTest; }
  void SetHitTest(bool Value) { FHitTest = Value; }
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }
  float Opacity() const { return FOpacity; }
  void SetOpacity(float Value);
  // Own opacity times the parents', at 60 % where the control is disabled.
  float AbsoluteOpacity() const;
  bool ClipChildren() const { return FClipChildren; }
  void SetClipChildren(bool Value);
  bool ClipParent() const { return FClipParent; }
  void SetClipParent(bool Value) { FClipParent = Value; }
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int Value) { FTabOrder = Value; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  bool AutoCapture() const { return FAutoCapture; }
  void SetAutoCapture(bool Value) { FAutoCapture = Value; }
  int Cursor() const { return FCursor; }
  void SetCursor(int Value) { FCursor = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }
  TPosition* Scale() const { return FScale; }
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  bool EnableDragHighlight() const { return FEnableDragHighlight; }
  void SetEnableDragHighlight(bool Value) { FEnableDragHighlight = Value; }
  TBounds* TouchTargetExpansion() const { return FTouchTargetExpansion; }

  bool IsMouseOver() const { return FIsMouseOver; }
  bool Pressed() const { return FPressed; }

  // Child controls (children that are controls), in z-order.
  std::vector<TControl*> Controls() const;
  int ControlsCount() const;
  TControl* ParentControl() const;
  // The form this control sits on, if any.
  TCommonCustomForm* ParentForm() const;

  // Asks for the control to be drawn again.
  void Repaint();
  void InvalidateRect(const TRectF& R);
  // Lays out the aligned children again.
  void Realign();

  // Mouse capture: while captured, moves and the release come here.
  void Capture();
  void ReleaseCapture();

  // The control's own hit area, in local coordinates.
  virtual bool PointInObjectLocal(float X, float Y) const;

  // The canvas being painted on; valid while Paint runs.
  TCanvas* Canvas() const { return FCanvas; }

  // Events.
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }
  const TNotifyEvent& OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(TNotifyEvent Value) { FOnDblClick = std::move(Value); }
  const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent Value) { FOnMouseDown = std::move(Value); }
  const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent Value) { FOnMouseUp = std::move(Value); }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent Value) { FOnMouseMove = std::move(Value); }
  const TMouseWheelEvent& OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent Value) { FOnMouseWheel = std::move(Value); }
  const TNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent Value) { FOnMouseEnter = std::move(Value); }
  const TNotifyEvent& OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent Value) { FOnMouseLeave = std::move(Value); }
  const TNotifyEvent& OnPainting() const { return FOnPainting; }
  void SetOnPainting(TNotifyEvent Value) { FOnPainting = std::move(Value); }
  const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent Value) { FOnPaint = std::move(Value); }
  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent Value) { FOnResize = std::move(Value); }
  const TNotifyEvent& OnResized() const { return FOnResized; }
  void SetOnResized(TNotifyEvent Value) { FOnResized = std::move(Value); }
  // Drag and drop is not delivered by this host; the events exist so forms that
  // name handlers for them load.
  const TNotifyEvent& OnDragEnter() const { return FOnDragEnter; }
  void SetOnDragEnter(TNotifyEvent Value) { FOnDragEnter = std::move(Value); }
  const TNotifyEvent& OnDragLeave() const { return FOnDragLeave; }
  void SetOnDragLeave(TNotifyEvent Value) { FOnDragLeave = std::move(Value); }
  const TNotifyEvent& OnDragOver() const { return FOnDragOver; }
  void SetOnDragOver(TNotifyEvent Value) { FOnDragOver = std::move(Value); }
  const TNotifyEvent& OnDragDrop() const { return FOnDragDrop; }
  void SetOnDragDrop(TNotifyEvent Value) { FOnDragDrop = std::move(Value); }
  const TNotifyEvent& OnDragEnd() const { return FOnDragEnd; }
  void SetOnDragEnd(TNotifyEvent Value) { FOnDragEnd = std::move(Value); }

  // Input entry points used by the form's mouse routing. X and Y are local.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseMove(TShiftState Shift, float X, float Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();

  // Painting entry point for the painter: draws this control and its children on
  // ACanvas, whose origin is this control's top-left corner.
  void PaintTo(TCanvas* ACanvas);

 protected:
  // Draws the control itself; Canvas() is valid. Children are painted afterwards.
  virtual void Paint();
  virtual void Resize();
  // Lays out the children; the default applies the alignment rules.
  virtual void DoRealign();
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  void DoRemoveObject(TFmxObject* AObject) override;
  void ChildrenChanged() override;
  // The control's visibility, size or alignment changed: its parent must re-lay out.
  void ParentRealign();

 private:
  friend class TCommonCustomForm;
  void PositionChanged();
  void MarginsChanged();
  void PaddingChanged();
  void PaintChildren();

  TPosition* FPosition;
  TPosition* FScale;
  TBounds* FMargins;
  TBounds* FPadding;
  TBounds* FTouchTargetExpansion;
  float FWidth = 0;
  float FHeight = 0;
  TAlignLayout FAlign = TAlignLayout::None;
  TAnchors FAnchors{TAnchorKind::akLeft, TAnchorKind::akTop};
  bool FVisible = true;
  bool FEnabled = true;
  bool FHitTest = true;
  bool FLocked = false;
  float FOpacity = 1.0f;
  bool FClipChildren = false;
  bool FClipParent = false;
  bool FTabStop = true;
  int FTabOrder = -1;
  bool FAutoCapture = false;
  int FCursor = 0;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TDragMode FDragMode = TDragMode::dmManual;
  bool FEnableDragHighlight = true;
  bool FIsMouseOver = false;
  bool FPressed = false;
  int FRealignLock = 0;
  bool FSettingBounds = false;
  TCanvas* FCanvas = nullptr;

  TNotifyEvent FOnClick, FOnDblClick, FOnMouseEnter, FOnMouseLeave, FOnPainting, FOnPaint,
      FOnResize, FOnResized, FOnDragEnter, FOnDragLeave, FOnDragOver, FOnDragDrop, FOnDragEnd;
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TMouseWheelEvent FOnMouseWheel;
};

// Base of the controls that present themselves (the library's visible controls).
class TPresentedControl : public TControl {
 public:
  explicit TPresentedControl(TComponent* AOwner);
};

}  // namespace fmx
