#include "host/WindowGesture.h"

#include <algorithm>
#include <cmath>

#include "host/Forms.h"
#include "host/InputRouter.h"

namespace fmx {

namespace {
// How far the pointer went, in whole form units; an injected point may be anything a
// float holds.
int Travel(float To, float From) {
  const double d = static_cast<double>(To) - From;
  if (std::isnan(d)) return 0;
  return static_cast<int>(std::lround(std::clamp(d, -1.0e9, 1.0e9)));
}
}  // namespace

void TWindowGesture::BeginDrag(TCommonCustomForm* Form, TPointF Pointer) {
  End();
  if (Form == nullptr) return;
  FForm = Form;
  FPointerStart = Pointer;
  FStart = TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
}

void TWindowGesture::BeginResize(TCommonCustomForm* Form, TWindowEdge Edge, TPointF Pointer) {
  BeginDrag(Form, Pointer);
  FResizing = Form != nullptr;
  FEdge = Edge;
}

bool TWindowGesture::PastThreshold(TPointF Pointer) const {
  return TInputRouter::BeyondDragThreshold(FPointerStart, Pointer);
}

TWindowGesture::TStep TWindowGesture::Follow(TPointF Pointer) {
  TCommonCustomForm* form = FForm.Get();
  if (form == nullptr) {
    End();
    return TStep::None;
  }
  if (FHasLast && Pointer.X == FPointerLast.X && Pointer.Y == FPointerLast.Y) return TStep::None;
  FHasLast = true;
  FPointerLast = Pointer;
  if (!FMoving && !PastThreshold(Pointer)) return TStep::Below;
  const TStep step = FMoving ? TStep::Moved : TStep::First;
  FMoving = true;
  const TPoint travel{Travel(Pointer.X, FPointerStart.X), Travel(Pointer.Y, FPointerStart.Y)};
  if (FResizing) {
    TInputRouter::ResizeBy(form, FEdge, FStart, travel);
  } else {
    const TPoint grab{Travel(FPointerStart.X, static_cast<float>(FStart.Left)),
                      Travel(FPointerStart.Y, static_cast<float>(FStart.Top))};
    TInputRouter::DragBy(form, {FStart.Left, FStart.Top}, grab, travel);
  }
  return step;
}

}  // namespace fmx
