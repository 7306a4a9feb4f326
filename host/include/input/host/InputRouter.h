// One place for the rules that turn a platform's raw pointer and key events into the
// form's mouse and key dispatch: which buttons are down, when a second press is a
// double-click, when a held press becomes a drag. Both platforms feed one, so the
// headless platform and real windows cannot disagree.
#pragma once

#include <cstdint>
#include <functional>

#include "host/Classes.h"
#include "host/PointerDispatch.h"
#include "host/Types.h"
#include "host/WindowGesture.h"

namespace fmx {

class TCommonCustomForm;

// Which edge or corner of a borderless window the pointer is on, for resizing it as a
// system frame would.
enum class TWindowEdge : uint8_t {
  NoEdge, Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight
};
// The pointer shape over an edge; platforms map it to their own cursors.
enum class TCursorShape : uint8_t { Arrow, SizeWE, SizeNS, SizeNWSE, SizeNESW };

/// Turns a platform's raw pointer, button and key events into the host's mouse and key dispatch,
/// with one rule for double-clicks, drags and edge resizing.
class TInputRouter {
 public:
  // How close in time (ms) and space (pixels, each axis) a second press of the same
  // button must follow the first to be a double-click.
  static constexpr uint64_t DoubleClickTimeMs = 500;
  static constexpr float DoubleClickDistance = 4.0f;
  // How far the pointer must travel with a button held before a press becomes a drag
  // (a window drag moves the window only then, so a double-click on a draggable strip
  // still reaches the control).
  static constexpr float DragThreshold = 4.0f;

  static bool BeyondDragThreshold(TPointF From, TPointF To);

  // A borderless window has no frame to grab, so a thin band along each edge and a
  // larger square at each corner (easier to hit than the crossing of two bands) of its
  // own area resize it instead of reaching the controls underneath.
  static constexpr int EdgeBand = 4;
  static constexpr int CornerSize = 12;
  // The edge under P (form coordinates); None for a framed, maximised, minimised or
  // hidden form, whose size is not the pointer's to change. (Not None: Xlib defines it.)
  static TWindowEdge EdgeAt(const TCommonCustomForm* Form, TPointF P);
  static TCursorShape CursorFor(TWindowEdge Edge);
  // Resizes Form from the bounds Start by the pointer's travel Delta, the edge opposite
  // the grabbed one staying where it was, also when the form holds its size to limits.
  static void ResizeBy(TCommonCustomForm* Form, TWindowEdge Edge, const TRect& Start, TPoint Delta);
  // Moves Form, dragged from the origin Start by the point Grab (relative to Start), by
  // the pointer's travel Delta. The grabbed point stays under the pointer; when the form
  // shrank during the drag past that point, its nearest point does instead, so a window
  // never slides out from under the pointer (and off the screen) as it is dragged.
  static void DragBy(TCommonCustomForm* Form, TPoint Start, TPoint Grab, TPoint Delta);
  // A form that changes its own size after a resize (its painting holds a minimum, as
  // the title bar's does) grows or shrinks at its right and bottom. When the resize
  // grabbed the left or top edge, this moves the form so that its right or bottom edge
  // is where it was in Before, the bounds before that change.
  static void KeepOppositeEdges(TCommonCustomForm* Form, TWindowEdge Edge, const TRect& Before);

  // The buttons held now, as shift-state items.
  TShiftState Buttons() const { return FButtons; }
  // The window drag or edge resize the platform does itself, if one is under way.
  TWindowGesture& Gesture() { return FGesture; }
  const TWindowGesture& Gesture() const { return FGesture; }

  // Raw events at form coordinates; Modifiers are the keyboard's (Shift, Ctrl, Alt).
  void PointerMove(TCommonCustomForm* Form, TPointF P, TShiftState Modifiers);
  void PointerDown(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                   TShiftState Modifiers, uint64_t NowMs);
  void PointerUp(TCommonCustomForm* Form, TMouseButton Button, TPointF P, TShiftState Modifiers);
  void PointerWheel(TCommonCustomForm* Form, TShiftState Modifiers, int WheelDelta);
  // The pointer left the form's window.
  void PointerLeft(TCommonCustomForm* Form);
  // A button was released where the form does not hear it (a window drag ate it).
  void ButtonReleasedElsewhere(TMouseButton Button);
  // The platform took the pointer from Form (a window drag ate the release, a modal box
  // opened): its capture and the press are forgotten.
  void CancelTracking(TCommonCustomForm* Form) { FPointer.Cancel(Form); }
  void KeyDown(TCommonCustomForm* Form, uint16_t Key, Char KeyChar, TShiftState Modifiers);
  void KeyUp(TCommonCustomForm* Form, uint16_t Key, Char KeyChar, TShiftState Modifiers);
  // The pointer stands still while the window under it moves or changes size (the
  // title bar or the window manager maximised, restored or resized it): what lies under
  // it may have changed. Platforms call this once input and timers have run. When the
  // form the pointer was last over has other bounds than at that moment, PointerAt
  // gives where the pointer is now, in that form's coordinates (false: not known), and
  // the form hears leave and enter as if the pointer had moved there.
  void FollowGeometry(const std::function<bool(TCommonCustomForm* Form, TPointF& P)>& PointerAt);
  // Forget the last press (the next one cannot complete a double-click), and every
  // held button (a modal box took the pointer).
  void ForgetPress() { FHasLastPress = false; }
  // Whether the last press was the second of a double-click.
  bool LastPressWasDouble() const { return FLastPressDouble; }
  void Reset();

 private:
  TPointerDispatch FPointer;
  TWindowGesture FGesture;
  TShiftState FButtons;
  bool FHasLastPress = false;
  bool FLastPressDouble = false;
  uint64_t FLastPressTime = 0;
  TPointF FLastPressPoint;
  TMouseButton FLastPressButton = TMouseButton::mbLeft;
  TWeak<TCommonCustomForm> FLastPressForm;
  // The form the pointer was last reported over, and its bounds then.
  void NotePointer(TCommonCustomForm* Form);
  TWeak<TCommonCustomForm> FPointerForm;
  TRect FPointerBounds;
};

}  // namespace fmx
