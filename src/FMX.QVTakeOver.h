// While a menu is open it borrows the OnMouseDown and OnMouseLeave of the control under
// the mouse, so that a press anywhere closes it. The title bar's system menu and the menu
// bars borrow through this one object. Two menus may borrow the same control; each keeps
// what was on the control before it, and giving back in any order (or freeing a menu
// meanwhile) leaves the control with the application's own handlers once no menu holds it.
#pragma once

#include <functional>

#include "host/Controls.h"

namespace fmx {

class TCommonCustomForm;

// The borrowing of a control's mouse handlers by an open menu.
class TQVTakeOver {
 public:
  // Holder is the menu's component: the handlers put on a control act only while it
  // exists. OnDown and OnLeave are the menu's own reactions.
  TQVTakeOver(TComponent* Holder, TMouseEvent OnDown, TNotifyEvent OnLeave);
  // For a menu whose reactions are its __QV_Control_OnMouseDown and _OnMouseLeave (the
  // menu makes this class its friend).
  template <class Menu>
  explicit TQVTakeOver(Menu* Holder)
      : TQVTakeOver(
            Holder,
            [Holder](TObject* S, TMouseButton B, TShiftState Sh, float X, float Y) {
              Holder->__QV_Control_OnMouseDown(S, B, Sh, X, Y);
            },
            [Holder](TObject* S) { Holder->__QV_Control_OnMouseLeave(S); }) {}
  // Gives back what it still holds.
  ~TQVTakeOver();
  TQVTakeOver(const TQVTakeOver&) = delete;
  TQVTakeOver& operator=(const TQVTakeOver&) = delete;

  // Puts the menu's handlers on C, keeping C's own; what was borrowed before is given
  // back first.
  void Take(TControl* C);
  // Puts back what was on the control before this menu took it, wherever this menu's
  // handlers are now: on the control itself, or kept by another menu that took the
  // control after this one. A handler the application set meanwhile stays.
  void GiveBack();
  // The control (nil when none, or once it is being freed).
  TControl* Control() const { return FControl.Get(); }
  // Whether a control is taken over now.
  bool Holding() const { return FControl.Get() != nullptr; }
  // The control's own mouse-down handler as kept while taken over.
  const TMouseEvent& SavedMouseDown() const { return FSavedDown; }
  // A free notification to the holder: true when the control taken over has gone (its
  // link reads null from the moment its freeing begins, before anyone is told), which
  // is then forgotten with the handlers it carried.
  bool Forget(const TComponent* AComponent);

  // Whether the handler is one a menu put on a control.
  static bool IsHook(const TMouseEvent& Handler);
  /// Whether the handler is one a menu put on a control.
  static bool IsHook(const TNotifyEvent& Handler);

 private:
  struct TDownHook;
  struct TLeaveHook;
  bool IsMine(const TMouseEvent& Handler) const;
  bool IsMine(const TNotifyEvent& Handler) const;
  void Clear();

  // The component this object is a part of.
  TComponent* const FHolder;
  TMouseEvent FOnDown;
  TNotifyEvent FOnLeave;
  TWeak<TControl> FControl;
  // A control was taken and not given back: with FControl null, it went.
  bool FTaken = false;
  TMouseEvent FSavedDown;
  TNotifyEvent FSavedLeave;
};

namespace qvmenus {
// One menu tree open at a time on a window: a tree that opens says so here, and the
// one open before on the same form is closed through the Close it gave when it opened.
void OpeningMenuTree(TComponent* Who, TCommonCustomForm* Form, std::function<void()> Close);
// How many times a menu tree opened so far: a key that opened one (Alt+Space) leaves the
// Alt it was pressed with no lone Alt.
unsigned MenuTreesOpened();
}  // namespace qvmenus

}  // namespace fmx
