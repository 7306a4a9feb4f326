#include "host/InputRouter.h"

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

void TInputRouter::PointerMove(TCommonCustomForm* Form, TPointF P, TShiftState Modifiers) {
  Form->MouseMove(Modifiers + FButtons, P.X, P.Y);
}

void TInputRouter::PointerDown(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                               TShiftState Modifiers, uint64_t NowMs) {
  const bool isDouble = FHasLastPress && FLastPressForm.Get() == Form &&
                        FLastPressButton == Button && NowMs - FLastPressTime <= DoubleClickTimeMs &&
                        std::fabs(P.X - FLastPressPoint.X) <= DoubleClickDistance &&
                        std::fabs(P.Y - FLastPressPoint.Y) <= DoubleClickDistance;
  // A third quick press starts a new pair rather than being another double.
  FHasLastPress = !isDouble;
  FLastPressTime = NowMs;
  FLastPressPoint = P;
  FLastPressButton = Button;
  FLastPressForm = Form;
  FButtons.Include(ButtonItem(Button));
  TShiftState shift = Modifiers + FButtons;
  if (isDouble) shift.Include(TShiftStateItem::ssDouble);
  Form->MouseDown(Button, shift, P.X, P.Y);
}

void TInputRouter::PointerUp(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                             TShiftState Modifiers) {
  FButtons.Exclude(ButtonItem(Button));
  Form->MouseUp(Button, Modifiers + FButtons, P.X, P.Y);
}

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
