// The pointer over a form's control tree: the control under it hears enter and leave,
// presses and releases go to it (or to the control that captured the pointer), and a
// release over the control that was pressed is its click. There is one pointer, so one
// press at a time, whichever form it was on; the router holds the one dispatch both
// platforms feed.
#pragma once

#include "host/Classes.h"
#include "host/Controls.h"
#include "host/Types.h"

namespace fmx {

class TCommonCustomForm;

/// Routes the pointer to the controls of a form: hover, capture, press and click.
class TPointerDispatch {
 public:
  // At P in form coordinates. Shift holds the buttons and keys, and ssDouble on the
  // second press of a double-click.
  void Move(TCommonCustomForm* Form, TShiftState Shift, TPointF P);
  void Down(TCommonCustomForm* Form, TMouseButton Button, TShiftState Shift, TPointF P);
  void Up(TCommonCustomForm* Form, TMouseButton Button, TShiftState Shift, TPointF P);
  // Goes up the chain of controls from the hovered one until one handles it.
  void Wheel(TCommonCustomForm* Form, TShiftState Shift, int WheelDelta);
  // The pointer left the window.
  void Leave(TCommonCustomForm* Form);
  // The pointer stands at P without having moved: the window moved or changed size
  // under it. The control under it hears leave and enter as after a move; a point
  // outside the form is the pointer leaving the window.
  void Still(TCommonCustomForm* Form, TPointF P);
  // The platform took the pointer (a window drag ate the release): the form forgets
  // its capture and nothing is pressed any more.
  void Cancel(TCommonCustomForm* Form);

 private:
  void UpdateHovered(TCommonCustomForm* Form, TPointF P);
  TWeak<TControl> FPressed;
  bool FPressedDouble = false;
};

}  // namespace fmx
