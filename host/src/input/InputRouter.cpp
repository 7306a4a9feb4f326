#include "host/InputRouter.h"

#include <algorithm>
#include <cmath>

#include "host/Forms.h"

namespace fmx {

namespace {
TShiftStateItem ButtonItem(TMouseButton B) {
  switch (B) {
    case TMouseButton::mbRight: return TShiftStateItem::ssRight;
    case TMouseButton::mbMiddle: return TShiftStateItem::ssMiddle;
    default: return TShiftStateItem::ssLeft;
  }
}
}  // namespace

bool TInputRouter::BeyondDragThreshold(TPointF From, TPointF To) {
  return std::max(std::fabs(To.X - From.X), std::fabs(To.Y - From.Y)) >= DragThreshold;
}

TWindowEdge TInputRouter::EdgeAt(const TCommonCustomForm* Form, TPointF P) {
  if (Form == nullptr || !Form->Transparency() || !Form->Visible() ||
      Form->WindowState() != TWindowState::wsNormal)
    return TWindowEdge::NoEdge;
  const float w = static_cast<float>(Form->Width()), h = static_cast<float>(Form->Height());
  if (P.X < 0 || P.Y < 0 || P.X >= w || P.Y >= h) return TWindowEdge::NoEdge;
  // A window smaller than two corners still has its edges reachable from inside.
  const float corner = std::min<float>(CornerSize, std::min(w, h) / 3);
  const bool left = P.X < corner, right = P.X >= w - corner;
  const bool top = P.Y < corner, bottom = P.Y >= h - corner;
  if (top && left) return TWindowEdge::TopLeft;
  if (top && right) return TWindowEdge::TopRight;
  if (bottom && left) return TWindowEdge::BottomLeft;
  if (bottom && right) return TWindowEdge::BottomRight;
  if (P.X < EdgeBand) return TWindowEdge::Left;
  if (P.X >= w - EdgeBand) return TWindowEdge::Right;
  if (P.Y < EdgeBand) return TWindowEdge::Top;
  if (P.Y >= h - EdgeBand) return TWindowEdge::Bottom;
  return TWindowEdge::NoEdge;
}

TCursorShape TInputRouter::CursorFor(TWindowEdge Edge) {
  switch (Edge) {
    case TWindowEdge::Left: case TWindowEdge::Right: return TCursorShape::SizeWE;
    case TWindowEdge::Top: case TWindowEdge::Bottom: return TCursorShape::SizeNS;
    case TWindowEdge::TopLeft: case TWindowEdge::BottomRight: return TCursorShape::SizeNWSE;
    case TWindowEdge::TopRight: case TWindowEdge::BottomLeft: return TCursorShape::SizeNESW;
    default: return TCursorShape::Arrow;
  }
}

namespace {
bool GrabsLeft(TWindowEdge E) {
  return E == TWindowEdge::Left || E == TWindowEdge::TopLeft || E == TWindowEdge::BottomLeft;
}
bool GrabsRight(TWindowEdge E) {
  return E == TWindowEdge::Right || E == TWindowEdge::TopRight || E == TWindowEdge::BottomRight;
}
bool GrabsTop(TWindowEdge E) {
  return E == TWindowEdge::Top || E == TWindowEdge::TopLeft || E == TWindowEdge::TopRight;
}
bool GrabsBottom(TWindowEdge E) {
  return E == TWindowEdge::Bottom || E == TWindowEdge::BottomLeft ||
         E == TWindowEdge::BottomRight;
}
}  // namespace

void TInputRouter::DragBy(TCommonCustomForm* Form, TPoint Start, TPoint Grab, TPoint Delta) {
  const int w = Form->Width(), h = Form->Height();
  const int holdX = std::clamp(Grab.X, 0, std::max(0, w - 1));
  const int holdY = std::clamp(Grab.Y, 0, std::max(0, h - 1));
  Form->SetBounds(TRect::SaturatedSum(TRect::SaturatedSum(Start.X, Delta.X), Grab.X - holdX),
                  TRect::SaturatedSum(TRect::SaturatedSum(Start.Y, Delta.Y), Grab.Y - holdY), w, h);
}

void TInputRouter::ResizeBy(TCommonCustomForm* Form, TWindowEdge Edge, const TRect& Start,
                            TPoint Delta) {
  // Edges stop at the ends of the integer range, as TRect::Bounds does.
  auto sum = TRect::SaturatedSum;
  TRect r = Start;
  if (GrabsLeft(Edge)) r.Left = std::min(sum(Start.Left, Delta.X), sum(Start.Right, -1));
  if (GrabsRight(Edge)) r.Right = std::max(sum(Start.Right, Delta.X), sum(Start.Left, 1));
  if (GrabsTop(Edge)) r.Top = std::min(sum(Start.Top, Delta.Y), sum(Start.Bottom, -1));
  if (GrabsBottom(Edge)) r.Bottom = std::max(sum(Start.Bottom, Delta.Y), sum(Start.Top, 1));
  Form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  // A form that kept another size than asked (its limits) did so at its right and
  // bottom. (One that its resize handler freed is moved where nobody sees it.)
  KeepOppositeEdges(Form, Edge, r);
}

void TInputRouter::KeepOppositeEdges(TCommonCustomForm* Form, TWindowEdge Edge,
                                     const TRect& Before) {
  int l = Form->Left(), t = Form->Top();
  if (GrabsLeft(Edge) && l == Before.Left && Form->Width() != Before.Width())
    l = TRect::SaturatedDifference(Before.Right, Form->Width());
  if (GrabsTop(Edge) && t == Before.Top && Form->Height() != Before.Height())
    t = TRect::SaturatedDifference(Before.Bottom, Form->Height());
  if (l != Form->Left() || t != Form->Top()) Form->SetBounds(l, t, Form->Width(), Form->Height());
}

void TInputRouter::NotePointer(TCommonCustomForm* Form) {
  FPointerForm = Form;
  FPointerBounds = TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
}

void TInputRouter::FollowGeometry(
    const std::function<bool(TCommonCustomForm* Form, TPointF& P)>& PointerAt) {
  TCommonCustomForm* f = FPointerForm.Get();
  // A held button belongs to a press, a drag or a resize; its release brings the check.
  if (f == nullptr || !FButtons.Empty()) return;
  const TRect now = TRect::Bounds(f->Left(), f->Top(), f->Width(), f->Height());
  if (now == FPointerBounds) return;
  FPointerBounds = now;
  if (!f->Visible() || f->WindowState() == TWindowState::wsMinimized) return;
  TPointF p;
  if (PointerAt(f, p)) FPointer.Still(f, p);
}

void TInputRouter::PointerMove(TCommonCustomForm* Form, TPointF P, TShiftState Modifiers) {
  NotePointer(Form);
  FPointer.Move(Form, Modifiers + FButtons, P);
}

void TInputRouter::PointerDown(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                               TShiftState Modifiers, uint64_t NowMs) {
  const bool isDouble = FHasLastPress && FLastPressForm.Get() == Form &&
                        FLastPressButton == Button && NowMs - FLastPressTime <= DoubleClickTimeMs &&
                        std::fabs(P.X - FLastPressPoint.X) <= DoubleClickDistance &&
                        std::fabs(P.Y - FLastPressPoint.Y) <= DoubleClickDistance;
  // A third quick press starts a new pair rather than being another double.
  FHasLastPress = !isDouble;
  FLastPressDouble = isDouble;
  FLastPressTime = NowMs;
  FLastPressPoint = P;
  FLastPressButton = Button;
  FLastPressForm = Form;
  NotePointer(Form);
  FButtons.Include(ButtonItem(Button));
  TShiftState shift = Modifiers + FButtons;
  if (isDouble) shift.Include(TShiftStateItem::ssDouble);
  FPointer.Down(Form, Button, shift, P);
}

void TInputRouter::PointerUp(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                             TShiftState Modifiers) {
  FButtons.Exclude(ButtonItem(Button));
  NotePointer(Form);
  FPointer.Up(Form, Button, Modifiers + FButtons, P);
}

void TInputRouter::PointerWheel(TCommonCustomForm* Form, TShiftState Modifiers, int WheelDelta) {
  FPointer.Wheel(Form, Modifiers + FButtons, WheelDelta);
}

void TInputRouter::PointerLeft(TCommonCustomForm* Form) { FPointer.Leave(Form); }

void TInputRouter::ButtonReleasedElsewhere(TMouseButton Button) {
  FButtons.Exclude(ButtonItem(Button));
}

void TInputRouter::KeyDown(TCommonCustomForm* Form, uint16_t Key, Char KeyChar,
                           TShiftState Modifiers) {
  Form->KeyDown(Key, KeyChar, Modifiers + FButtons);
}

void TInputRouter::KeyUp(TCommonCustomForm* Form, uint16_t Key, Char KeyChar,
                         TShiftState Modifiers) {
  Form->KeyUp(Key, KeyChar, Modifiers + FButtons);
}

void TInputRouter::Reset() {
  FButtons = {};
  FHasLastPress = false;
}

}  // namespace fmx
