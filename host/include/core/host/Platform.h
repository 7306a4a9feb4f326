// What the host needs from the system under it: windows, screen, clock, input
// delivery and message boxes. The headless platform (tests, no display) and the SDL
// platform (real windows) implement it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/Types.h"

namespace fmx {

class TCommonCustomForm;

// A monitor: all of it, and its work area, the part windows may fill (the rest is
// reserved by panels and docks), in form pixels.
struct TDisplay {
  int Index = 0;
  bool Primary = true;
  TRect Bounds;
  TRect WorkArea;
};

// The window service: puts a form's window at a rectangle in screen pixels.
class IFMXWindowService {
 public:
  virtual ~IFMXWindowService() = default;
  virtual void SetWindowRect(TCommonCustomForm* AForm, const TRectF& ARect) = 0;
  virtual TRectF GetWindowRect(TCommonCustomForm* AForm) = 0;
  // Whether the window system places windows itself (a Wayland compositor): a window
  // cannot put itself anywhere; a move or resize by the pointer is handed to the window
  // system, and maximising or restoring is a request whose bounds the window system
  // gives. Elsewhere a form's bounds are its window's.
  virtual bool WindowSystemPlacesWindows() const { return false; }
};

/// What a platform gives the host: windows (or a virtual screen), a clock, painting, message boxes
/// and the event loop.
class TPlatform : public IFMXWindowService {
 public:
  ~TPlatform() override = default;

  // Milliseconds on the platform's clock (virtual on the headless platform).
  virtual uint64_t NowMs() const = 0;
  // The primary screen, in pixels.
  virtual TPoint ScreenSize() const = 0;
  // The monitors, the primary one first. By default one: the screen, all of it work area.
  virtual std::vector<TDisplay> Displays() const;
  // The monitor the form's window is on: the one it overlaps most, else the primary one.
  virtual TDisplay DisplayOf(const TCommonCustomForm* AForm) const;

  // Form lifecycle and state, forwarded to the form's window.
  virtual void FormCreated(TCommonCustomForm* AForm) {}
  virtual void FormDestroying(TCommonCustomForm* AForm) {}
  virtual void FormVisibleChanged(TCommonCustomForm* AForm) {}
  virtual void FormTransparencyChanged(TCommonCustomForm* AForm) {}
  virtual void FormWindowStateChanged(TCommonCustomForm* AForm) {}
  virtual void FormCaptionChanged(TCommonCustomForm* AForm) {}
  // The form needs painting again (all of it, or the given rectangle in form pixels).
  virtual void Invalidate(TCommonCustomForm* AForm, const TRectF& ARect) {}
  // Moves the form's window with the pointer until the button is released.
  virtual void StartWindowDrag(TCommonCustomForm* AForm) {}
  // The framework's simple message box.
  virtual void ShowMessage(const std::string& AText) = 0;
  // A timer was enabled or rescheduled: a sleeping run loop must wake earlier.
  virtual void TimersChanged() {}

  // Runs the event loop until the application terminates.
  virtual void Run() = 0;

  void SetWindowRect(TCommonCustomForm* AForm, const TRectF& ARect) override;
  TRectF GetWindowRect(TCommonCustomForm* AForm) override;

 protected:
  // Window-side bounds change for AForm; the default does nothing (headless windows
  // are the form's bounds).
  virtual void ApplyWindowRect(TCommonCustomForm* AForm, const TRect& ARect) {}
  friend class TCommonCustomForm;
};

// The framework's service registry: which platform services are available now.
class TPlatformServices {
 public:
  static TPlatformServices* Current();
  template <class T>
  bool SupportsPlatformService() const {
    return GetPlatformService<T>() != nullptr;
  }
  template <class T>
  T* GetPlatformService() const;
};

}  // namespace fmx

namespace fmx {
template <>
IFMXWindowService* TPlatformServices::GetPlatformService<IFMXWindowService>() const;
}  // namespace fmx
