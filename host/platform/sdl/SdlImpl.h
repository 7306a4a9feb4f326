// The SDL platform's inside, shared by its sources (windows and input in SdlPlatform.cpp,
// painting and presenting in SdlPaint.cpp). Private to host/platform/sdl.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/AlphaShape.h"
#include "host/Canvas.h"
#include "host/InputRouter.h"
#include "host/platform/sdl/SdlPlatform.h"

#ifdef ZZ_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#endif

namespace fmx {

// The keyboard's modifiers as shift-state items.
inline TShiftState KeyShift(uint16_t m = SDL_GetModState()) {
  TShiftState s;
  if (m & KMOD_SHIFT) s.Include(TShiftStateItem::ssShift);
  if (m & KMOD_CTRL) s.Include(TShiftStateItem::ssCtrl);
  if (m & KMOD_ALT) s.Include(TShiftStateItem::ssAlt);
  return s;
}

struct TSdlPlatform::Impl {
  struct Window {
    TCommonCustomForm* Form = nullptr;  // the window goes with its form (FormDestroying)
    SDL_Window* Win = nullptr;
    uint32_t Id = 0;
    // Device pixels per form pixel, and SDL window units per form pixel. They differ
    // where the window system scales by itself (a high-density drawable has Scale / Unit
    // pixels per window unit); on X11 a window unit is a pixel and both are ZZ_SCALE.
    float Scale = 1, Unit = 1;
    std::unique_ptr<TCanvas> Canvas;
    bool Dirty = true;
    // The surface's pixels are not known to match the canvas (new, resized, exposed).
    bool SurfaceStale = true;
    // Minimised without a window manager: hidden until the form is restored, or until
    // someone maps the window again; it then takes back the state it had before.
    bool HiddenAsMinimised = false;
    TWindowState StateBeforeMinimised = TWindowState::wsNormal;
    // Maximised without a window manager: the bounds to go back to.
    bool EmulatedMax = false;
    TRect RestoreRect;
    // The left or top edge a resize moved: a size the form's painting changes next
    // keeps the opposite edge in place (TInputRouter::KeepOppositeEdges).
    TWindowEdge HeldEdge = TWindowEdge::NoEdge;
    // When a window manager's resize moved that edge: the window it left and the bounds
    // the form took from it. A size the form's painting then changes keeps the window's
    // own right (bottom) edge, which form pixels rounded back to window units may miss
    // by one at fractional scales (and the next step of the resize be taken for a move).
    SDL_Rect HeldWindow = {0, 0, 0, 0};
    TRect HeldBounds;
    // What shows of the picture, and whether the X window carries that as its shape.
    TAlphaShape Shape;
    bool Shaped = false;
    // The picture has transparent parts but the window shows whole (TAlphaShape::WindowShape).
    bool Unshaped = false;
    // Where the window was last put or found, in window units: a window manager's
    // resize is told apart from a move by which of these edges it changed (form pixels
    // rounded to window units do not add up at fractional scales).
    SDL_Rect Placed = {0, 0, 0, 0};
    // Wayland: the picture goes to the compositor through a renderer, with its alpha (the
    // corners a borderless form leaves transparent show what lies behind).
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    // Where the form asked the window to go while an event was being handled.
    bool PlacePending = false;
    TRect PendingRect;
  };

  explicit Impl(TSdlPlatform* AOwner) : Owner(AOwner) {}
  // The video driver to ask SDL for (SdlWayland.cpp); empty: SDL's own choice.
  static std::string ChooseVideoDriver();
  TSdlPlatform* Owner;
  std::vector<std::unique_ptr<Window>> Windows;
  // Above zero while the window's own change is being copied into the form, so that
  // the form's setters do not send it back to the window.
  int FromWindow = 0;
  // Above zero while an event is dispatched: window placements wait for its end.
  int Dispatching = 0;
  // Puts each window whose form moved meanwhile where its form ended.
  void FlushPlacements();
  TInputRouter Router;
  uint64_t Frames = 0, PartialFrames = 0;

  // The pointer on the screen in form units, from screen pixels (a window drag or edge
  // resize the host does itself follows it there: Router.Gesture()).
  static TPointF ScreenUnits(const Window* W, TPoint P) {
    return {static_cast<float>(P.X) / W->Unit, static_cast<float>(P.Y) / W->Unit};
  }
  // On a Wayland compositor: windows have no position the client knows or sets; moving,
  // resizing and the window's state are the compositor's, asked for and reported.
  bool Wayland = false;
  // Whether a window manager answers _NET_WM_MOVERESIZE; read when a window is shown,
  // as the hit-test callback runs inside SDL's event pump and should stay cheap.
  bool WmResizes = false;
  SDL_Cursor* Cursors[5] = {};
  TCursorShape Shape = TCursorShape::Arrow;
  void SetShape(TCursorShape S);
  static SDL_HitTestResult HitTest(SDL_Window* Win, const SDL_Point* P, void* Data);
  // Wayland: a window moves only when the compositor is asked at the press, and SDL asks
  // its hit test then, before the press reaches the application. The press is dispatched
  // there, and the hit test answers draggable when the form asked for a window drag.
  SDL_HitTestResult PressForCompositor(Window* W, const SDL_Point& P);
  bool InHitTest = false;
  bool MoveWanted = false;
  // The window whose left press the hit test dispatched: SDL's own copy is skipped.
  uint32_t EarlyPressWindow = 0;
  // Windows of forms freed while an event was handled (or SDL was inside its event
  // pump): hidden at once, destroyed after it, as the code still handling the event may
  // hold them, as it may hold the form.
  std::vector<std::unique_ptr<Window>> Retired;
  // Outside any dispatch: nobody holds them any more.
  void DestroyRetired() {
    if (InHitTest || TDispatchScope::Open()) return;
    for (auto& w : Retired) DestroyNative(w->Win, w->Renderer);
    Retired.clear();
  }
  static void DestroyNative(SDL_Window* Win, SDL_Renderer* Renderer) {
    if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);  // with its textures
    if (Win != nullptr) SDL_DestroyWindow(Win);
  }
  // Presents the canvas with its alpha through the window's renderer (Wayland).
  void PresentWithAlpha(Window* W, const TPaintRegion& Painted, bool Stale);
  // The size the compositor gives a maximised window on each display: its work area
  // (Wayland tells clients nothing else of panels).
  std::vector<SDL_Point> MaximisedSize;
  void FollowResize(Window* W, int EventX, int EventY);

#ifdef ZZ_HAVE_X11
  Display* X = nullptr;
  XErrorHandler PreviousErrorHandler = nullptr;
  bool ErrorHandlerInstalled = false;
#endif
#ifdef ZZ_HAVE_XSHAPE
  // The server shapes windows (the Shape extension).
  bool CanShape = false;
#endif

  Window* Find(const TCommonCustomForm* F) {
    for (auto& w : Windows)
      if (w->Form == F) return w.get();
    return nullptr;
  }
  Window* FindId(uint32_t Id) {
    for (auto& w : Windows)
      if (w->Id == Id) return w.get();
    return nullptr;
  }

  // Between form pixels and window units.
  static int ToWindow(int V, float Unit) { return static_cast<int>(std::lround(V * Unit)); }
  static int ToForm(int V, float Unit) { return static_cast<int>(std::lround(V / Unit)); }
  static TPointF FormPoint(const Window* W, int X, int Y) { return {X / W->Unit, Y / W->Unit}; }
  // A form rectangle in window units; never empty, as SDL has no empty windows.
  static SDL_Rect ToWindow(const TRect& R, float Unit) {
    return {ToWindow(R.Left, Unit), ToWindow(R.Top, Unit), std::max(1, ToWindow(R.Width(), Unit)),
            std::max(1, ToWindow(R.Height(), Unit))};
  }
  // A rectangle of window units as the whole form pixels inside it.
  static TRect ToFormInside(const SDL_Rect& R, float Unit) {
    const int l = static_cast<int>(std::ceil(R.x / Unit - 1e-3f)), t = static_cast<int>(std::ceil(R.y / Unit - 1e-3f));
    const int r = static_cast<int>(std::floor((R.x + R.w) / Unit + 1e-3f));
    const int b = static_cast<int>(std::floor((R.y + R.h) / Unit + 1e-3f));
    return {l, t, std::max(l, r), std::max(t, b)};
  }
  // Whether the window shows (not hidden, not minimised): only then does it take input.
  static bool Shows(const Window* W) {
    return !W->HiddenAsMinimised &&
           (SDL_GetWindowFlags(W->Win) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
  }
  static TRect BoundsOf(const TCommonCustomForm* F) {
    return TRect::Bounds(F->Left(), F->Top(), F->Width(), F->Height());
  }
  // The pixels of a drawable Units window units long: the rounding is the window
  // system's, so a picture this size is presented one to one, never resampled.
  static int ToPixels(int Units, const Window* W) {
    return std::max(1, static_cast<int>(std::lround(Units * (W->Scale / W->Unit))));
  }
#ifdef ZZ_HAVE_X11
  // The X display and window behind an SDL window; false on other video drivers.
  static bool XWindowOf(SDL_Window* Win, Display*& D, ::Window& XW) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (Win == nullptr || SDL_GetWindowWMInfo(Win, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
      return false;
    D = info.info.x11.display;
    XW = info.info.x11.window;
    return true;
  }
#endif
  // A hidden window at the form's bounds, Unit window units a form pixel.
  static SDL_Window* CreateNativeWindow(TCommonCustomForm* F, float Unit, bool Wayland);
  // The scale ZZ_SCALE asks for; 0 when it is not set (or not a sensible scale).
  static float ScaleFromEnvironment();
  // Takes the window's scale from the environment or its drawable, and puts the window
  // at the form's bounds in the units that follow.
  void MeasureScale(Window* W);
  // Puts the window at R (window units), asking only for what differs.
  void Place(Window* W, const SDL_Rect& R);
  // Window units per form pixel for what has no window (the screen's size).
  float ScreenUnit() const;

  // The pointer in screen pixels (see the source).
  bool PointerOnScreen(Window* W, int EventX, int EventY, TPoint& Out);
  // Where the last press in W was, in screen pixels. A drag or resize is measured from
  // there, not from where the pointer has got to by the time the press is handled (a
  // busy loop sees it late, and the window would jump by the difference).
  bool PressOnScreen(Window* W, TPoint& Out) const {
    if (W == nullptr || W->Win == nullptr || PressWindow != W->Id) return false;
    int x, y;
    SDL_GetWindowPosition(W->Win, &x, &y);
    Out = {x + PressAt.X, y + PressAt.Y};
    return true;
  }
  uint32_t PressWindow = 0;
  TPoint PressAt;  // window units, relative to the window
  bool ProbeWindowManager() const;
  // The descriptor of SDL's X connection (-1 when not on X11 or no window yet).
  int EventConnection();
  int EventFd = -1;

  // The accessibility bridge (SdlAccessibility.cpp). WaitWithAccessibility waits as
  // poll would, running the bridge's work too; false (nothing done) while it is off.
  void StartAccessibility();
  void StopAccessibility();
  bool WaitWithAccessibility(int Fd, int TimeoutMs);
  void DispatchAccessibility();

  void Dispatch(const SDL_Event& E);
  void WindowEvent(const SDL_WindowEvent& E);
  void SyncBoundsFromWindow(Window* W);
  void SyncSizeFromCompositor(Window* W);
  void FollowDrag(Window* W, int EventX, int EventY);
  void PaintDirty();
  void Paint(Window* W);
  // Brings the window's shape up to date with rows Top to Bottom - 1 of its canvas, just
  // copied into the surface S, whose edge pixels of those rows it makes opaque.
  void UpdateShape(Window* W, SDL_Surface* S, int Top, int Bottom);
  // The window goes back to a plain rectangle (no longer borderless).
  void ClearShape(Window* W);
};

}  // namespace fmx
