// The SDL platform on a Wayland compositor: which driver to start, the press handed to
// the compositor from SDL's hit test, and the size the compositor gives a window.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "SdlImpl.h"

namespace fmx {

// Which of SDL's video drivers to start. ZZ_VIDEO=x11|wayland decides; else a Wayland
// session is served natively (under XWayland a window could neither move nor maximise
// as the compositor's own windows do), unless SDL_VIDEODRIVER already names a driver.
// Empty: SDL's own order.
std::string TSdlPlatform::Impl::ChooseVideoDriver() {
  auto set = [](const char* Name) {
    const char* v = std::getenv(Name);
    return v != nullptr && *v != '\0' ? std::string(v) : std::string();
  };
  const std::string forced = set("ZZ_VIDEO");
  if (forced == "x11" || forced == "wayland") return forced;
  if (!forced.empty()) std::fprintf(stderr, "zuzided: ZZ_VIDEO=%s is neither x11 nor wayland\n", forced.c_str());
  if (!set("SDL_VIDEODRIVER").empty()) return {};
  if (!set("WAYLAND_DISPLAY").empty()) return "wayland";
  return {};
}

SDL_HitTestResult TSdlPlatform::Impl::PressForCompositor(Window* W, const SDL_Point& P) {
  // SDL may ask again on the release of a press it passed on: that one is not ours.
  if ((SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0 || InHitTest || !Shows(W) ||
      !Router.Buttons().Empty())
    return SDL_HITTEST_NORMAL;
  InHitTest = true;
  ++Dispatching;
  {
    TDispatchScope scope;
    // What SDL queued before the press comes first.
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) Dispatch(e);
  }
  SDL_HitTestResult answer = SDL_HITTEST_NORMAL;
  if (Find(W->Form) == W && Shows(W)) {
    TDispatchScope scope;
    TWeak<TCommonCustomForm> form(W->Form);
    PressWindow = W->Id;
    PressAt = {P.x, P.y};
    MoveWanted = false;
    Router.PointerDown(W->Form, TMouseButton::mbLeft, FormPoint(W, P.x, P.y), KeyShift(), Owner->NowMs());
    if (MoveWanted && form.Alive()) {
      // The compositor keeps the pointer until the release, which the form never hears.
      Router.ButtonReleasedElsewhere(TMouseButton::mbLeft);
      Router.CancelTracking(form.Get());
      answer = SDL_HITTEST_DRAGGABLE;
    } else {
      EarlyPressWindow = W->Id;
    }
    MoveWanted = false;
  }
  --Dispatching;
  FlushPlacements();
  InHitTest = false;
  return answer;
}

void TSdlPlatform::Impl::SyncSizeFromCompositor(Window* W) {
  // A Wayland window has no position the client can read: the form keeps its own, or the
  // work area's origin while maximised. The size is the compositor's.
  TCommonCustomForm* f = W->Form;
  const bool maximised = (SDL_GetWindowFlags(W->Win) & SDL_WINDOW_MAXIMIZED) != 0;
  SDL_Rect now{0, 0, 0, 0};
  SDL_GetWindowSize(W->Win, &now.w, &now.h);
  const float u = W->Unit;
  const int w = std::max(1, ToForm(now.w, u)), h = std::max(1, ToForm(now.h, u));
  int x = f->Left(), y = f->Top();
  if (maximised) {
    const int display = std::max(0, SDL_GetWindowDisplayIndex(W->Win));
    if (MaximisedSize.size() <= static_cast<size_t>(display)) MaximisedSize.resize(display + 1, {0, 0});
    MaximisedSize[display] = {now.w, now.h};
    const TRect area = Owner->DisplayOf(f).WorkArea;
    x = area.Left;
    y = area.Top;
  }
  W->Placed = {ToWindow(x, u), ToWindow(y, u), now.w, now.h};
  if (x == f->Left() && y == f->Top() && w == f->Width() && h == f->Height()) return;
  ++FromWindow;
  f->SetBounds(x, y, w, h);
  --FromWindow;
  // A form that holds its size to limits overrules the compositor's resize (one that
  // its resize handler freed has left the window list).
  if (Find(f) != W || maximised) return;
  if (f->Width() != w || f->Height() != h) Place(W, ToWindow(BoundsOf(f), u));
}

}  // namespace fmx
