// A window moved or resized by the pointer where the host does it itself.
#pragma once

#include <cstdint>

#include "host/Classes.h"
#include "host/Types.h"

namespace fmx {

class TCommonCustomForm;
enum class TWindowEdge : uint8_t;

/// The one window drag or edge resize under way, for a platform that moves and sizes
/// its windows itself (headless, or a desktop without a window manager): started by
/// the press, followed by each pointer step, ended by the release. Both platforms keep
/// theirs in their input router, so that they follow the pointer by the same rules.
///
/// Pointer points are on the screen, in form units (a window at a device scale divides
/// its pixels by the scale first).
class TWindowGesture {
 public:
  // What a step of the pointer did.
  enum class TStep : uint8_t {
    None,   // no gesture, or the pointer stood still
    Below,  // not yet past the drag threshold: a press that may still be a click
    First,  // the first step past it: the window begins to follow the pointer
    Moved,  // a later step
  };

  // A drag of Form from the pointer at Pointer; the form's position now is where the
  // drag starts from.
  void BeginDrag(TCommonCustomForm* Form, TPointF Pointer);
  // A resize of Form by its Edge from the pointer at Pointer, from its bounds now.
  void BeginResize(TCommonCustomForm* Form, TWindowEdge Edge, TPointF Pointer);
  // Moves or resizes the form for the pointer at Pointer, once it has gone past the
  // drag threshold (as a window manager's move does). Runs the form's handlers.
  TStep Follow(TPointF Pointer);
  // Whether the pointer at Pointer is past the drag threshold from where it started.
  bool PastThreshold(TPointF Pointer) const;
  void End() { *this = TWindowGesture(); }
  // A form that goes, is minimised or hidden stops its gesture.
  void Forget(const TCommonCustomForm* Form) {
    if (Form != nullptr && FForm.Get() == Form) End();
  }

  // The form being dragged or resized (nullptr: none).
  TCommonCustomForm* Dragged() const { return FResizing ? nullptr : FForm.Get(); }
  TCommonCustomForm* Resized() const { return FResizing ? FForm.Get() : nullptr; }
  // Whether the window has begun to follow the pointer.
  bool Moving() const { return FMoving; }
  TWindowEdge Edge() const { return FEdge; }
  // The form's bounds when the gesture began.
  const TRect& Start() const { return FStart; }

 private:
  TWeak<TCommonCustomForm> FForm;
  bool FResizing = false;
  bool FMoving = false;
  bool FHasLast = false;
  TWindowEdge FEdge{};
  TPointF FPointerStart;
  TPointF FPointerLast;
  TRect FStart;
};

}  // namespace fmx
