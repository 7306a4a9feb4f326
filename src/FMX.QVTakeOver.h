// The handlers the title bar's system menu and the menu bars put on a control they
// take over while a menu is open. They hold their owner weakly (the control may
// outlive it), and being of their own types they are told apart from whatever the
// application put on the control since.
#pragma once

#include "host/Classes.h"
#include "host/Types.h"

namespace fmx {

/// A mouse-down handler an open menu puts on the control under the mouse, so that a click anywhere
/// closes the menu.
template <class Owner>
struct TQVTakeOverMouseDown {
  /// The bar that took the control over.
  TWeak<Owner> Bar;
  /// Hands the press to the bar, which closes the menu and calls the control's own handler.
  void operator()(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y) const {
    if (Owner* b = Bar.Get()) b->__QV_Control_OnMouseDown(Sender, Button, Shift, X, Y);
  }
};

/// A mouse-leave handler an open menu puts on the control under the mouse.
template <class Owner>
struct TQVTakeOverMouseLeave {
  /// The bar that took the control over.
  TWeak<Owner> Bar;
  /// Hands the leave to the bar.
  void operator()(TObject* Sender) const {
    if (Owner* b = Bar.Get()) b->__QV_Control_OnMouseLeave(Sender);
  }
};

}  // namespace fmx
