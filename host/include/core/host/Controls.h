// Visual controls: bounds, alignment, visibility, mouse input and painting hooks.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "host/Accessibility.h"
#include "host/Objects.h"

namespace fmx {

class TBrush;

class TCanvas;
class TCommonCustomForm;

// Handlers of a control, kept apart: most controls of a big tree never get one.
struct TControlEvents : detail::TObjectMemoryPlaced {
  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnPainting, OnPaint, OnResize,
      OnResized, OnDragEnter, OnDragLeave, OnDragOver, OnDragDrop, OnDragEnd;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TKeyEvent OnKeyDown, OnKeyUp;
};

struct TControlPadding;

// Properties that few controls set; made on first use.
struct TControlRare : detail::TObjectMemoryPlaced {
  TControlRare();
  ~TControlRare();
  std::string Hint;
  TPosition Scale;
  TBounds TouchTargetExpansion;
  int Cursor = 0;
  TDragMode DragMode = TDragMode::dmManual;
  bool ShowHint = false;
  bool ParentShowHint = true;
  bool EnableDragHighlight = true;
  // Made when first asked for: containers set padding, the many parts they hold do not.
  std::unique_ptr<TControlPadding> Padding;
};

struct TControlSpacing;

/// A visual object with bounds, alignment, mouse and key input, and painting of its own.
class TControl : public TFmxObject {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  TControl* AsControl() override { return this; }

  // Geometry, in the parent's coordinates.
  TPosition* Position() const { return &FPosition; }
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

  TAlignLayout Align() const { return static_cast<TAlignLayout>(FAlign); }
  void SetAlign(TAlignLayout Value);
  // Made on first use; MarginsRect and PaddingRect read them without making them.
  TBounds* Margins() const;
  TBounds* Padding() const;
  TRectF MarginsRect() const;
  TRectF PaddingRect() const;
  TAnchors Anchors() const { return TAnchors::FromBits(FAnchors); }
  void SetAnchors(TAnchors Value) { FAnchors = static_cast<uint8_t>(Value.Bits()); }

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
  int Cursor() const { return FRare ? FRare->Cursor : 0; }
  void SetCursor(int Value) {
    if (FRare || Value != 0) Rare().Cursor = Value;
  }
  const std::string& Hint() const;
  void SetHint(const std::string& Value) {
    if (FRare || !Value.empty()) Rare().Hint = Value;
  }
  bool ShowHint() const { return FRare ? FRare->ShowHint : false; }
  void SetShowHint(bool Value) {
    if (FRare || Value) Rare().ShowHint = Value;
  }
  bool ParentShowHint() const { return FRare ? FRare->ParentShowHint : true; }
  void SetParentShowHint(bool Value) {
    if (FRare || !Value) Rare().ParentShowHint = Value;
  }
  TPosition* Scale() const { return &Rare().Scale; }
  TDragMode DragMode() const { return FRare ? FRare->DragMode : TDragMode::dmManual; }
  void SetDragMode(TDragMode Value) {
    if (FRare || Value != TDragMode::dmManual) Rare().DragMode = Value;
  }
  bool EnableDragHighlight() const { return FRare ? FRare->EnableDragHighlight : true; }
  void SetEnableDragHighlight(bool Value) {
    if (FRare || !Value) Rare().EnableDragHighlight = Value;
  }
  TBounds* TouchTargetExpansion() const { return &Rare().TouchTargetExpansion; }

  bool IsMouseOver() const { return FIsMouseOver; }
  bool Pressed() const { return FPressed; }

  // Child controls (children that are controls), in z-order.
  std::vector<TControl*> Controls() const;
  int ControlsCount() const;
  TControl* ParentControl() const;
  // The form this control sits on, if any.
  TCommonCustomForm* ParentForm() const;

  // Asks for the control to be drawn again where it may show something stale; a
  // subtree of plain primitives without paint handlers never does.
  void Repaint();
  void InvalidateRect(const TRectF& R);
  // Lays out the aligned children again (later, when a realign lock is held; when
  // the control or an ancestor is hidden, once it shows: until then its children keep
  // the bounds they had).
  void Realign();
  // While updating, the control does not lay out its children; EndUpdate does it
  // once. Nests.
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

  // Mouse capture: while captured, moves and the release come here.
  void Capture();
  void ReleaseCapture();

  // The control's own hit area, in local coordinates.
  virtual bool PointInObjectLocal(float X, float Y) const;

  // The canvas being painted on; valid while Paint runs.
  TCanvas* Canvas() const;

  // Events.
  const TNotifyEvent& OnClick() const { return FEvents ? FEvents->OnClick : kNoNotify; }
  void SetOnClick(TNotifyEvent Value) { SetEvent(&TControlEvents::OnClick, std::move(Value)); }
  const TNotifyEvent& OnDblClick() const { return FEvents ? FEvents->OnDblClick : kNoNotify; }
  void SetOnDblClick(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDblClick, std::move(Value)); }
  const TMouseEvent& OnMouseDown() const { return FEvents ? FEvents->OnMouseDown : kNoMouse; }
  void SetOnMouseDown(TMouseEvent Value) { SetEvent(&TControlEvents::OnMouseDown, std::move(Value)); }
  const TMouseEvent& OnMouseUp() const { return FEvents ? FEvents->OnMouseUp : kNoMouse; }
  void SetOnMouseUp(TMouseEvent Value) { SetEvent(&TControlEvents::OnMouseUp, std::move(Value)); }
  const TMouseMoveEvent& OnMouseMove() const { return FEvents ? FEvents->OnMouseMove : kNoMove; }
  void SetOnMouseMove(TMouseMoveEvent Value) {
    SetEvent(&TControlEvents::OnMouseMove, std::move(Value));
  }
  const TMouseWheelEvent& OnMouseWheel() const { return FEvents ? FEvents->OnMouseWheel : kNoWheel; }
  void SetOnMouseWheel(TMouseWheelEvent Value) {
    SetEvent(&TControlEvents::OnMouseWheel, std::move(Value));
  }
  const TNotifyEvent& OnMouseEnter() const { return FEvents ? FEvents->OnMouseEnter : kNoNotify; }
  void SetOnMouseEnter(TNotifyEvent Value) {
    SetEvent(&TControlEvents::OnMouseEnter, std::move(Value));
  }
  const TNotifyEvent& OnMouseLeave() const { return FEvents ? FEvents->OnMouseLeave : kNoNotify; }
  void SetOnMouseLeave(TNotifyEvent Value) {
    SetEvent(&TControlEvents::OnMouseLeave, std::move(Value));
  }
  const TNotifyEvent& OnPainting() const { return FEvents ? FEvents->OnPainting : kNoNotify; }
  void SetOnPainting(TNotifyEvent Value) { SetEvent(&TControlEvents::OnPainting, std::move(Value)); }
  const TNotifyEvent& OnPaint() const { return FEvents ? FEvents->OnPaint : kNoNotify; }
  void SetOnPaint(TNotifyEvent Value) { SetEvent(&TControlEvents::OnPaint, std::move(Value)); }
  const TNotifyEvent& OnResize() const { return FEvents ? FEvents->OnResize : kNoNotify; }
  void SetOnResize(TNotifyEvent Value) { SetEvent(&TControlEvents::OnResize, std::move(Value)); }
  const TNotifyEvent& OnResized() const { return FEvents ? FEvents->OnResized : kNoNotify; }
  void SetOnResized(TNotifyEvent Value) { SetEvent(&TControlEvents::OnResized, std::move(Value)); }
  // Drag and drop is not delivered by this host; the events exist so forms that
  // name handlers for them load.
  const TNotifyEvent& OnDragEnter() const { return FEvents ? FEvents->OnDragEnter : kNoNotify; }
  void SetOnDragEnter(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDragEnter, std::move(Value)); }
  const TNotifyEvent& OnDragLeave() const { return FEvents ? FEvents->OnDragLeave : kNoNotify; }
  void SetOnDragLeave(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDragLeave, std::move(Value)); }
  const TNotifyEvent& OnDragOver() const { return FEvents ? FEvents->OnDragOver : kNoNotify; }
  void SetOnDragOver(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDragOver, std::move(Value)); }
  const TNotifyEvent& OnDragDrop() const { return FEvents ? FEvents->OnDragDrop : kNoNotify; }
  void SetOnDragDrop(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDragDrop, std::move(Value)); }
  const TNotifyEvent& OnDragEnd() const { return FEvents ? FEvents->OnDragEnd : kNoNotify; }
  void SetOnDragEnd(TNotifyEvent Value) { SetEvent(&TControlEvents::OnDragEnd, std::move(Value)); }
  // Keys reach the focused control first, then its form.
  const TKeyEvent& OnKeyDown() const { return FEvents ? FEvents->OnKeyDown : kNoKey; }
  void SetOnKeyDown(TKeyEvent Value) { SetEvent(&TControlEvents::OnKeyDown, std::move(Value)); }
  const TKeyEvent& OnKeyUp() const { return FEvents ? FEvents->OnKeyUp : kNoKey; }
  void SetOnKeyUp(TKeyEvent Value) { SetEvent(&TControlEvents::OnKeyUp, std::move(Value)); }

  // Input entry points used by the form's mouse routing. X and Y are local.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseMove(TShiftState Shift, float X, float Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Keyboard entry points; a handler may set Key to 0 (and KeyChar to 0) to consume it.
  virtual void KeyDown(uint16_t& Key, Char& KeyChar, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, Char& KeyChar, TShiftState Shift);

  // Focus: the control that hears keys first. Only a visible, enabled control on a form
  // can take it.
  bool CanFocus() const { return FCanFocus; }
  void SetCanFocus(bool Value) { FCanFocus = Value; }
  bool IsFocused() const;
  void SetFocus();
  virtual void DoEnter() {}
  virtual void DoExit() {}

  // Painting entry point for the painter: draws this control and its children on
  // ACanvas, whose origin is this control's top-left corner.
  void PaintTo(TCanvas* ACanvas);
  // Where painting this control and its children may put ink, in the parent's
  // coordinates (children hanging outside included, unless this control clips them).
  // Cached; every change of geometry, visibility or order below refreshes it.
  TRectF SubtreePaintRect() const;
  // Where this control's own Paint may put ink, locally; the bounds unless a class
  // draws outside them (a text longer than its box). Effects are added to it.
  virtual TRectF PaintRectLocal() const;
  // What this control may paint changed after the fact (an effect grew, a text got
  // longer): the old ink, as last measured, and the new are both repainted.
  void PaintExtentChanged();
  // Whether every visible property of this control invalidates what it painted as it
  // changes, so that a Repaint asks for nothing more. The primitives say so for their
  // exact class only (IsExactly): a subclass may draw from state of its own that nobody
  // tells the host about.
  virtual bool InvalidatesItself() const { return false; }
  // The brush of this control that a form whose style book names it as the form's
  // background takes its colour from (a rectangle's fill), or nullptr.
  virtual const TBrush* BackgroundFill() const { return nullptr; }

  // What a screen reader is told (host/Accessibility.h). By default a control is not
  // exposed (role None) and reports its own states; what it holds is shown in its place.
  virtual void DescribeAccessible(TAccessibleDescription& D) const;
  // The controls a reader sees under this one, in reading order.
  virtual void AccessibleChildren(std::vector<TControl*>& Out) const;
  // Does action Index of the description, as the user's input would; false when none.
  virtual bool DoAccessibleAction(int Index) { return false; }
  // A control answers for its private parts (controls it owns) here: true when it
  // described Part (D holds Part's own states on entry) or did Part's action.
  virtual bool DescribeAccessiblePart(const TControl* Part, TAccessibleDescription& D) const {
    return false;
  }
  virtual bool DoAccessiblePartAction(TControl* Part, int Index) { return false; }
  // A control that stands in for its form's frame names the window here.
  virtual void DescribeAccessibleForm(TAccessibleDescription& D) const {}

 protected:
  // Draws the control itself; Canvas() is valid. Children are painted afterwards.
  virtual void Paint();
  virtual void Resize();
  // Lays out the children; the default applies the alignment rules.
  virtual void DoRealign();
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  void DoRemoveObject(TFmxObject* AObject) override;
  void ChildrenChanged() override;
  // Only where this control overlaps a sibling it passed can the picture change.
  void ZOrderChanged(size_t OldIndex) override;
  // A child's position, size or margins just changed. Runs before any handler the
  // change may cause, so an override must not run application code; a parent keeps
  // figures about its children up to date here instead of walking them all again.
  virtual void ChildGeometryChanged(TControl* AChild) {}
  // The control's visibility, size or alignment changed: its parent must re-lay out.
  void ParentRealign();
  // What this control paints changed: the old ink must go and the new must come. Call
  // before a change (with the old geometry) and after it; both are cheap.
  void InvalidatePainted();
  // This control is leaving its parent: what it showed must go. Unlike
  // InvalidatePainted it also holds for the top of a subtree being freed, which is
  // already marked as destroying when it leaves.
  void InvalidateLeaving();
  // A change below changed what the subtree may cover: the cached rectangles of this
  // control and its parents are stale.
  void SubtreeChanged();

 private:
  friend class TCommonCustomForm;
  friend class TRealignBatch;
  friend struct TControlSpacing;
  friend struct TControlPadding;
  static const TNotifyEvent kNoNotify;
  static const TMouseEvent kNoMouse;
  static const TMouseMoveEvent kNoMove;
  static const TMouseWheelEvent kNoWheel;
  static const TKeyEvent kNoKey;

  TControlSpacing& Spacing() const;
  TControlRare& Rare() const;
  TControlPadding& PaddingBlock() const;
  template <class F>
  void SetEvent(F TControlEvents::*Member, F Value) {
    if (!FEvents) {
      if (!Value) return;
      FEvents = std::make_unique<TControlEvents>();
    }
    (*FEvents).*Member = std::move(Value);
  }
  // Runs the application's handler for an event, unless it has none or this control
  // is being freed: a control on its way out hears no more, so no caller has to ask.
  // The handler runs as a copy, as it may replace or free itself.
  template <class F, class... A>
  void Fire(F TControlEvents::*Member, A&&... Args) {
    if (!FEvents || !((*FEvents).*Member) || IsDestroying()) return;
    const F handler = (*FEvents).*Member;
    handler(this, std::forward<A>(Args)...);
  }
  void PositionChanged();
  void MarginsChanged();
  void PaddingChanged();
  using TControlPosition = THeld<TPosition, TControl, &TControl::PositionChanged>;
  void PaintChildren(TCanvas* ACanvas);
  void DoRealignNow();
  // A hidden control's subtree is laid out when it shows (see Realign).
  bool HoldWhileHidden(const TControl* KnownShown = nullptr);
  void CollectHeldLayouts(std::vector<TControl*>& Out);
  void LayOutWhatWaited();
  void HeldLayoutMoved();
  static void MarkWaiting(TControl* From);

  mutable TControlPosition FPosition{this};
  float FWidth = 0;
  float FHeight = 0;
  float FOpacity = 1.0f;
  int FTabOrder = -1;
  mutable TRectF FSubtreeRect;
  uint16_t FRealignLock = 0;
  uint16_t FUpdateCount = 0;
  uint8_t FAlign = 0;
  uint8_t FAnchors = 0;
  bool FVisible : 1 = true;
  bool FEnabled : 1 = true;
  bool FHitTest : 1 = true;
  bool FLocked : 1 = false;
  bool FClipChildren : 1 = false;
  bool FClipParent : 1 = false;
  bool FTabStop : 1 = true;
  bool FAutoCapture : 1 = false;
  bool FIsMouseOver : 1 = false;
  bool FPressed : 1 = false;
  bool FRealignPending : 1 = false;
  // Its own layout waits for it (or the ancestor hiding it) to show.
  bool FRealignHeld : 1 = false;
  // It or something below it waits so; set on every ancestor of a waiting control.
  bool FLayoutHeld : 1 = false;
  bool FCanFocus : 1 = false;
  mutable bool FSubtreeRectValid : 1 = false;
  mutable std::unique_ptr<TControlSpacing> FSpacing;
  mutable std::unique_ptr<TControlRare> FRare;
  std::unique_ptr<TControlEvents> FEvents;
};

// Margins, made when first asked for. Many parts of a big tree have margins; few have
// padding, which is kept apart (TControlRare) so that the parts do not carry it.
struct TControlSpacing : detail::TObjectMemoryPlaced {
  explicit TControlSpacing(TControl* AControl);
  /// A control's margins: the space kept around it when its parent aligns it.
  THeld<TBounds, TControl, &TControl::MarginsChanged> Margins;
};

// Padding, made when first asked for.
struct TControlPadding : detail::TObjectMemoryPlaced {
  explicit TControlPadding(TControl* AControl);
  /// A control's padding: the space inside it that its aligned children keep off.
  THeld<TBounds, TControl, &TControl::PaddingChanged> Padding;
};

inline TBounds* TControl::Margins() const { return &Spacing().Margins; }
inline TBounds* TControl::Padding() const { return &PaddingBlock().Padding; }
inline TRectF TControl::MarginsRect() const {
  return FSpacing ? FSpacing->Margins.Rect() : TRectF{};
}
inline TRectF TControl::PaddingRect() const {
  return FRare && FRare->Padding ? FRare->Padding->Padding.Rect() : TRectF{};
}

// While one of these lives, realigns anywhere are put off and done once, parents
// first, when the outermost one ends: building a tree of thousands of controls then
// lays each parent out once instead of once per insert. Sizes read inside the scope
// are those before the layout. The stored-form reader and the library's constructors
// hold one.
class TRealignBatch {
 public:
  TRealignBatch();
  ~TRealignBatch();
  TRealignBatch(const TRealignBatch&) = delete;
  TRealignBatch& operator=(const TRealignBatch&) = delete;
  static bool Active();
  // Puts off the realign of AObject (a control or a form) until the batch ends.
  static void Defer(TFmxObject* AObject);
  // Does the layouts put off so far now, where an exception they throw (a handler's)
  // reaches the caller; a destructor could only end the process with it. Only the
  // outermost batch lays out; an inner one leaves it to that.
  void Flush();

 private:
  // How the layouts put off so far end: laid out with the batch still open (a flush),
  // laid out as the batch closes, or dropped as an exception leaves it, not done on a
  // tree that is being given up.
  enum class TBatchEnd { Flush, Close, Abandon };
  static void RunDeferred(TBatchEnd End);
  int FExceptionsAtStart;
};

// Base of the controls that present themselves (the library's visible controls).
class TPresentedControl : public TControl {
 public:
  explicit TPresentedControl(TComponent* AOwner);
};

// Whether C is an object of the class Exact itself, not of a class derived from it.
template <class Exact>
bool IsExactly(const TControl* C) {
  return typeid(*C) == typeid(Exact);
}

}  // namespace fmx
