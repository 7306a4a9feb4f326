// The host's control tree on the desktop's accessibility bus (AT-SPI 2), through ATK
// and its AT-SPI bridge: screen readers (Orca) and inspectors (accerciser) see each
// form as a frame and its controls as they describe themselves (host/Accessibility.h),
// follow the highlight and the menus, and run the controls' actions.
//
// A platform with real windows starts it; it needs GLib's default main context to be
// run, which the platform does by waiting through Wait while the bridge is active.
#pragma once

namespace fmx {

/// The control tree on the desktop's accessibility bus.
class TAtspiBridge {
 public:
  // Connects when an accessibility bus runs (and NO_AT_BRIDGE is not set); otherwise
  // does nothing at all and returns false. Again after a start, returns true.
  static bool Start();
  // Leaves the bus; every object handed out reads as gone.
  static void Stop();
  static bool Active();
  // Waits up to TimeoutMs (-1: no limit) for input on Fd (-1: none) or for the bridge's
  // own work, and does that work. Only while Active.
  static void Wait(int Fd, int TimeoutMs);
  // Does the bridge's pending work without waiting.
  static void DispatchPending();
};

}  // namespace fmx
