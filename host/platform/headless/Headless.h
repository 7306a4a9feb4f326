// The deterministic platform: a virtual screen and clock, input injected at form
// coordinates, activation switched by hand, messages recorded and forms rendered to
// images on demand. The same input always gives the same state and the same pixels.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Canvas.h"
#include "host/Forms.h"
#include "host/InputRouter.h"
#include "host/Keys.h"
#include "host/Graphics.h"
#include "host/Platform.h"

namespace fmx {

/// The deterministic platform for tests: a virtual screen and clock, input injected at form
/// coordinates, forms rendered to pictures.
class THeadlessPlatform : public TPlatform {
 public:
  // How close in time and space a second press must follow to count as a double-click
  // (the rules of every platform).
  static constexpr uint64_t DoubleClickTimeMs = TInputRouter::DoubleClickTimeMs;
  static constexpr float DoubleClickDistance = TInputRouter::DoubleClickDistance;

  explicit THeadlessPlatform(int ScreenWidth = 1920, int ScreenHeight = 1080);

  // Makes a fresh headless platform the application's platform and returns it. Its
  // clock continues from the previous platform's, so scheduled timers stay in step.
  static THeadlessPlatform& Install(int ScreenWidth = 1920, int ScreenHeight = 1080);
  // The application's platform if it is a headless one, else nullptr.
  static THeadlessPlatform* Current();

  // --- test-facing calls ---
  // Input at form coordinates. During a window drag (StartWindowDrag) the coordinates
  // are taken relative to where the form was when the drag began, as the pointer's
  // screen position would be. The release ends the drag; it reaches the form only when
  // the window did not move (as on the real platform).
  void MouseMove(TCommonCustomForm* Form, float X, float Y, TShiftState Shift = {});
  void MouseDown(TCommonCustomForm* Form, TMouseButton Button, float X, float Y,
                 TShiftState Shift = {});
  void MouseUp(TCommonCustomForm* Form, TMouseButton Button, float X, float Y,
               TShiftState Shift = {});
  // Move there, press and release.
  void Click(TCommonCustomForm* Form, float X, float Y, TMouseButton Button = TMouseButton::mbLeft,
             TShiftState Shift = {});
  // Two clicks in quick succession; the second press carries ssDouble.
  void DoubleClick(TCommonCustomForm* Form, float X, float Y, TShiftState Shift = {});
  // Keys, as the form's window would get them: to the focused control, then the form.
  // Modifiers are given in Shift (Alt is ssAlt).
  void KeyDown(TCommonCustomForm* Form, uint16_t Key, Char KeyChar = 0, TShiftState Shift = {});
  void KeyUp(TCommonCustomForm* Form, uint16_t Key, Char KeyChar = 0, TShiftState Shift = {});
  // Down and up.
  void KeyPress(TCommonCustomForm* Form, uint16_t Key, Char KeyChar = 0, TShiftState Shift = {});
  // The pointer leaves the form's window.
  void MouseLeaveWindow(TCommonCustomForm* Form);
  // Moves the virtual clock forward, firing due timers in time order.
  void Advance(uint64_t Ms);
  // Gives the form the focus (others lose it) or takes it away.
  void SetActive(TCommonCustomForm* Form, bool Active);
  const std::vector<std::string>& Messages() const { return FMessages; }
  void ClearMessages() { FMessages.clear(); }
  // Runs the paint handlers of every visible form that asked to be painted.
  void PaintAll();
  // Renders the form (visible or not) and returns the picture.
  std::unique_ptr<TBitmap> Snapshot(TCommonCustomForm* Form);
  void SaveSnapshotPng(TCommonCustomForm* Form, const std::string& FileName);
  // Paint after every injected event and clock advance, as a run loop would (default on).
  void SetAutoPaint(bool Value) { FAutoPaint = Value; }
  // Keep a picture of each visible form and bring only its damaged part up to date on
  // each paint, as a real window does (default off: paints then run the controls'
  // painting for its effects only, drawing no pixels, which keeps tests fast).
  void SetRetainedPainting(bool Value);
  // The kept picture of the form as of the last paint (retained painting only; else
  // nullptr).
  const TCanvas* RetainedCanvas(const TCommonCustomForm* Form) const;
  // What the last PaintAll repainted of the form, in form pixels.
  const TPaintRegion& LastPainted(const TCommonCustomForm* Form) const;
  // Device pixels per form pixel for the kept pictures and for Snapshot: 0.25 to 8, as
  // a form's and a canvas's (anything else, NaN included, gives 1). A picture is at most
  // TBitmap::MaxSide device pixels a side; what lies beyond is not painted.
  void SetDeviceScale(float Value);
  float DeviceScale() const { return FDeviceScale; }

  bool IsDragging(const TCommonCustomForm* Form) const { return FRouter.Gesture().Dragged() == Form; }
  // A left press on a borderless form's edge band or corner square (TInputRouter::
  // EdgeAt) resizes the window from the drag threshold on, with the pointer given as
  // during a window drag; neither the press nor its release reaches the form, as a
  // window manager's resize keeps them.
  bool IsResizing(const TCommonCustomForm* Form) const { return FRouter.Gesture().Resized() == Form; }
  // The pointer shape the last motion asked for.
  TCursorShape Cursor() const { return FCursor; }
  int WindowRectCalls() const { return FWindowRectCalls; }
  TRect LastWindowRect() const { return FLastWindowRect; }
  // Calls of the window service (IFMXWindowService::SetWindowRect) and the last
  // rectangle it was given, as the caller passed it.
  int WindowServiceCalls() const { return FWindowServiceCalls; }
  TRectF LastWindowServiceRect() const { return FLastWindowServiceRect; }
  // One monitor of that size, all of it work area.
  void SetScreenSize(int Width, int Height) {
    FScreen = {Width, Height};
    FDisplays.clear();
  }
  // Monitors with work areas of their own, the primary one first (its bounds are the
  // screen); an empty list is one monitor, the whole screen.
  void SetDisplays(std::vector<TDisplay> Displays);
  // The window manager changed the window's state (its menu, a key binding), not the
  // form: the form hears it as from a real one. Maximised, the window takes the work
  // area of its monitor; restored, the bounds it had when it was maximised (by either
  // side); minimised, only the state changes.
  void ReportWindowState(TCommonCustomForm* Form, TWindowState State);
  // The window system places windows, as a Wayland compositor does: a window drag or an
  // edge resize is handed to it at the press (which then keeps the press and its release
  // from the form; the second press of a double-click stays the form's), and maximising
  // or restoring is a request that it answers on the next Advance with the bounds it
  // gives (the work area; the bounds the window had before).
  void SetWindowSystemPlacesWindows(bool Value) { FPlacesWindows = Value; }
  bool WindowSystemPlacesWindows() const override { return FPlacesWindows; }
  // What was handed to the window system: moves, resizes and states asked for.
  int MoveRequests() const { return FMoveRequests; }
  int ResizeRequests() const { return FResizeRequests; }
  const std::vector<TWindowState>& StateRequests() const { return FStateRequests; }

  // --- TPlatform ---
  uint64_t NowMs() const override { return FNow; }
  TPoint ScreenSize() const override { return FScreen; }
  std::vector<TDisplay> Displays() const override;
  void FormWindowStateChanged(TCommonCustomForm* AForm) override;
  void FormDestroying(TCommonCustomForm* AForm) override;
  void FormVisibleChanged(TCommonCustomForm* AForm) override;
  void Invalidate(TCommonCustomForm* AForm, const TRectF& ARect) override;
  void StartWindowDrag(TCommonCustomForm* AForm) override;
  void ShowMessage(const std::string& AText) override;
  void Run() override;
  void SetWindowRect(TCommonCustomForm* AForm, const TRectF& ARect) override;

 protected:
  void ApplyWindowRect(TCommonCustomForm* AForm, const TRect& ARect) override;

 private:
  void AfterInput();
  // Where the pointer is on the screen, from the last injected event at form
  // coordinates (during a drag or resize, relative to where the form was when it began).
  void NotePointer(TCommonCustomForm* Form, TPointF P);
  // Paints the form; see FHeldForm.
  void PaintHeld(TCommonCustomForm* Form, TCanvas* Canvas, TPaintRegion* Painted, bool Full);
  void DeactivateOthers(TCommonCustomForm* Form);

  uint64_t FNow = 0;
  TPoint FScreen;
  std::vector<TDisplay> FDisplays;
  TPointF FPointer;
  bool FPointerKnown = false;
  // The bounds each window had when it was maximised, as a window manager keeps them.
  std::map<const TCommonCustomForm*, TRect> FRestoreBounds;
  bool FReportingState = false;
  bool FPlacesWindows = false;
  bool FMoveHanded = false;
  int FMoveRequests = 0, FResizeRequests = 0;
  std::vector<TWindowState> FStateRequests;
  // States asked for and not yet answered, in order.
  std::vector<std::pair<TWeak<TCommonCustomForm>, TWindowState>> FPendingStates;
  void AnswerStateRequests();
  std::vector<std::string> FMessages;
  struct TFormPicture {
    // Shared with the paint under way: a handler it runs may free the form (and so its
    // picture) or turn retained painting off.
    std::shared_ptr<TCanvas> Canvas;
    TPaintRegion LastPainted;
  };
  std::vector<TWeak<TCommonCustomForm>> FDirty;
  std::map<const TCommonCustomForm*, TFormPicture> FPictures;
  bool FRetained = false;
  float FDeviceScale = 1.0f;
  bool FAutoPaint = true;
  bool FPainting = false;
  TInputRouter FRouter;
  // Where the last press was, on the screen: a window drag starts from there.
  TPointF FPressPointer;
  // The form last resized by an edge, until its first paint after the release: a size
  // its painting changes then keeps the edge opposite the grabbed one.
  TWeak<TCommonCustomForm> FHeldForm;
  TWindowEdge FHeldEdge = TWindowEdge::NoEdge;
  TCursorShape FCursor = TCursorShape::Arrow;
  int FWindowRectCalls = 0;
  TRect FLastWindowRect;
  int FWindowServiceCalls = 0;
  TRectF FLastWindowServiceRect;
};

}  // namespace fmx
