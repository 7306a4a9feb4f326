// Real windows through SDL2: one window per visible form, drawn with Cairo straight
// from the form's canvas, input and window-manager changes fed back into the form.
// Nothing outside this file's source sees SDL or Xlib.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/Forms.h"
#include "host/Keys.h"
#include "host/Platform.h"

namespace fmx {


using TPlatformKeyEvent = std::function<void(TCommonCustomForm* Form, uint16_t Key, TShiftState Shift)>;

class TSdlPlatform : public TPlatform {
 public:

  // Starts SDL's video; returns nullptr (and the reason in Error) when there is no
  // display to open.
  static std::unique_ptr<TSdlPlatform> Create(std::string* Error = nullptr);
  ~TSdlPlatform() override;
  TSdlPlatform(const TSdlPlatform&) = delete;
  TSdlPlatform& operator=(const TSdlPlatform&) = delete;

  // Key presses in any window (letters as upper-case ASCII, F keys as vk::F1 + n), heard
  // before the form's own key dispatch.
  void SetOnKeyDown(TPlatformKeyEvent Handler) { FOnKeyDown = std::move(Handler); }

  // Waits at most MaxWaitMs for input, dispatches it, fires due timers and paints what
  // changed. Run() is this in a loop until the application terminates.
  void ProcessEvents(int MaxWaitMs);
  // Whether a window manager runs on the display (decides how minimising works).
  bool HasWindowManager() const;
  // SDL's video driver: "x11", "wayland", ... (ZZ_VIDEO=x11|wayland chooses; by default a
  // Wayland session gets "wayland").
  std::string VideoDriver() const;
  // Frames presented so far, and how many of them needed only part of the window.
  uint64_t FramesPresented() const;
  uint64_t PartialFramesPresented() const;

  // --- TPlatform ---
  uint64_t NowMs() const override;
  TPoint ScreenSize() const override;
  // SDL's display bounds and usable bounds (the latter follow _NET_WORKAREA).
  std::vector<TDisplay> Displays() const override;
  TDisplay DisplayOf(const TCommonCustomForm* AForm) const override;
  void FormDestroying(TCommonCustomForm* AForm) override;
  void FormVisibleChanged(TCommonCustomForm* AForm) override;
  void FormTransparencyChanged(TCommonCustomForm* AForm) override;
  void FormWindowStateChanged(TCommonCustomForm* AForm) override;
  void FormCaptionChanged(TCommonCustomForm* AForm) override;
  void Invalidate(TCommonCustomForm* AForm, const TRectF& ARect) override;
  void StartWindowDrag(TCommonCustomForm* AForm) override;
  void ShowMessage(const std::string& AText) override;
  void Run() override;
  // True on Wayland, where the compositor moves, sizes and maximises windows.
  bool WindowSystemPlacesWindows() const override;

 protected:
  void ApplyWindowRect(TCommonCustomForm* AForm, const TRect& ARect) override;

 private:
  TSdlPlatform();
  struct Impl;
  std::unique_ptr<Impl> FImpl;
  TPlatformKeyEvent FOnKeyDown;
};

}  // namespace fmx
