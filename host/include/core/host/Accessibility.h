// What a screen reader is told about a window: each control describes itself (role,
// name, states, actions, children), and the host reports the changes a reader follows
// (the highlight moving, menus opening and closing, checks and enabling, activation).
// Nothing here knows a desktop protocol: a platform that talks to the desktop's
// accessibility bus installs a sink (host/platform/atspi does it for AT-SPI), and until
// one does, every report is a test of one pointer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fmx {

class TFmxObject;
class TControl;
class TCommonCustomForm;

enum class TAccessibleRole : uint8_t {
  // Not shown to a screen reader; what it holds is shown in its place.
  None,
  Frame,
  TitleBar,
  Panel,
  Label,
  PushButton,
  MenuBar,
  Menu,
  MenuItem,
  CheckMenuItem,
  RadioMenuItem,
  Separator,
};

/// The states a control reports to a screen reader.
struct TAccessibleStates {
  bool Visible = false;   // set to be seen (a hidden menu is not)
  bool Showing = false;   // visible, and so are all its parents and its form
  bool Enabled = false;   // takes input
  bool Focusable = false;
  bool Focused = false;   // under the keyboard's or the pointer's highlight
  bool Selectable = false;
  bool Selected = false;
  bool Checkable = false;
  bool Checked = false;
  bool Active = false;    // a window that has the input focus
  bool Expandable = false;
  bool Expanded = false;  // its sub-menu is open
  bool operator==(const TAccessibleStates&) const = default;
};

/// An action a screen reader can ask a control to do.
struct TAccessibleAction {
  std::string Name;  // "click", "press"
  std::string Description;
};

/// What a control says of itself to a screen reader.
struct TAccessibleDescription {
  TAccessibleRole Role = TAccessibleRole::None;
  std::string Name;
  std::string Description;
  TAccessibleStates States;
  std::vector<TAccessibleAction> Actions;
  // The letter that reaches the control with Alt (upper-case ASCII), 0 for none.
  char AccessKey = 0;
  // The shortcut as the control shows it ("Ctrl+S"), "" for none.
  std::string ShortCut;
};

// What a reader is told of a change.
enum class TAccessibleEvent : uint8_t {
  Focused,       // the highlight moved onto the control
  Shown,
  Hidden,
  StateChanged,  // checked or enabled changed
  NameChanged,
  Destroyed,     // the control or form is being freed; describe it no more
  Activated,     // a form's window gained the input focus
  Deactivated,
};

/// Hears of changes a screen reader must know of (the accessibility bridge).
class IAccessibleSink {
 public:
  virtual ~IAccessibleSink() = default;
  // Called from inside the host's own changes: a sink may read descriptions, but must
  // run no application code (an action it wants done, it does later).
  virtual void ControlChanged(TControl* AControl, TAccessibleEvent AEvent) = 0;
  virtual void FormChanged(TCommonCustomForm* AForm, TAccessibleEvent AEvent) = 0;
};

/// Where the host reports changes to the one installed sink, if any.
class TAccessibility {
 public:
  static IAccessibleSink* Sink() { return FSink; }
  // At most one sink; nullptr removes it.
  static void SetSink(IAccessibleSink* ASink) { FSink = ASink; }
  // What is being freed tells a reader only that it went: no caller has to ask.
  static void Notify(TControl* AControl, TAccessibleEvent AEvent) {
    if (FSink != nullptr) Tell(AControl, AEvent);
  }
  static void Notify(TCommonCustomForm* AForm, TAccessibleEvent AEvent) {
    if (FSink != nullptr) Tell(AForm, AEvent);
  }

 private:
  static void Tell(TControl* AControl, TAccessibleEvent AEvent);
  static void Tell(TCommonCustomForm* AForm, TAccessibleEvent AEvent);
  static inline IAccessibleSink* FSink = nullptr;
};

// A control's description as a reader gets it: a private part of a control (one it
// owns) is described by its owner where the owner says so, otherwise by itself.
TAccessibleDescription DescribeAccessible(const TControl* AControl);
// The controls a reader sees directly under this one, in reading order.
std::vector<TControl*> AccessibleChildren(const TControl* AControl);
// Runs the control's action Index (its owner's, for a part the owner acts for); false
// when there is no such action.
bool DoAccessibleAction(TControl* AControl, int Index);
// A form is a frame named by its caption, unless a control on it (a title bar) names it.
TAccessibleDescription DescribeAccessible(const TCommonCustomForm* AForm);
std::vector<TControl*> AccessibleChildren(const TCommonCustomForm* AForm);
// The states every control has from its own flags (visible, showing, enabled).
void FillAccessibleStates(const TControl* AControl, TAccessibleStates& States);
// Adds to Out the children of AParent that a reader sees: an exposed child itself, and
// for a child that is not exposed, what it exposes in its place.
void AddExposedChildren(const TFmxObject* AParent, std::vector<TControl*>& Out);

}  // namespace fmx
