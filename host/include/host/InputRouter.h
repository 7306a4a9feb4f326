// One place for the rules that turn a platform's raw pointer and key events into the
// form's mouse and key dispatch: which buttons are down, when a second press is a
// double-click, when a held press becomes a drag. Both platforms feed one, so the
// headless platform and real windows cannot disagree.
#pragma once

#include <cstdint>

#include "host/Classes.h"
#include "host/Types.h"

namespace fmx {

class TCommonCustomForm;

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

  // The buttons held now, as shift-state items.
  TShiftState Buttons() const { return FButtons; }

  // Raw events at form coordinates; Modifiers are the keyboard's (Shift, Ctrl, Alt).
  void PointerMove(TCommonCustomForm* Form, TPointF P, TShiftState Modifiers);
  void PointerDown(TCommonCustomForm* Form, TMouseButton Button, TPointF P,
                   TShiftState Modifiers, uint64_t NowMs);
  void PointerUp(TCommonCustomForm* Form, TMouseButton Button, TPointF P, TShiftState Modifiers);
  // A button was released where the form does not hear it (a window drag ate it).
  void ButtonReleasedElsewhere(TMouseButton Button);
  void KeyDown(TCommonCustomForm* Form, uint16_t Key, Char KeyChar, TShiftState Modifiers);
  void KeyUp(TCommonCustomForm* Form, uint16_t Key, Char KeyChar, TShiftState Modifiers);
  // Forget the last press (the next one cannot complete a double-click), and every
  // held button (a modal box took the pointer).
  void ForgetPress() { FHasLastPress = false; }
  void Reset();

 private:
  TShiftState FButtons;
  bool FHasLastPress = false;
  uint64_t FLastPressTime = 0;
  TPointF FLastPressPoint;
  TMouseButton FLastPressButton = TMouseButton::mbLeft;
  TWeak<TCommonCustomForm> FLastPressForm;
};

}  // namespace fmx
