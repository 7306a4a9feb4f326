// The handlers the title bar's system menu and the menu bars put on a control they
// take over while a menu is open. They hold their owner weakly (the control may
// outlive it), and being of their own types they are told apart from whatever the
// application put on the control since.
#pragma once

#include "host/Classes.h"
#include "host/Types.h"

namespace fmx {

template <class Owner>
struct TQVTakeOverMouseDown {
  TWeak<Owner> Bar;
  void operator()(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y) const {
    if (Owner* b = Bar.Get()) b->__QV_Control_OnMouseDown(Sender, Button, Shift, X, Y);
  }
};

template <class Owner>
struct TQVTakeOverMouseLeave {
  TWeak<Owner> Bar;
  void operator()(TObject* Sender) const {
    if (Owner* b = Bar.Get()) b->__QV_Control_OnMouseLeave(Sender);
  }
};

}  // namespace fmx
