#include "host/platform/sdl/SdlPlatform.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "SdlImpl.h"

#ifdef ZZ_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif
#ifdef ZZ_HAVE_XSHAPE
#include <X11/extensions/shape.h>
#endif
#include <poll.h>

namespace fmx {

namespace {

// SDL is one global state: two platforms at once would tear each other's windows down.
int gLivePlatforms = 0;

// While a drag waits for pointer motion the loop wakes this often to follow the pointer
// even when the server sends no motion (the pointer can be grabbed by someone else).
constexpr int kDragPollMs = 8;

uint16_t VirtualKey(SDL_Keycode K) {
  if (K >= SDLK_F1 && K <= SDLK_F12) return static_cast<uint16_t>(vk::F1 + (K - SDLK_F1));
  if (K >= SDLK_a && K <= SDLK_z) return static_cast<uint16_t>('A' + (K - SDLK_a));
  if (K >= SDLK_0 && K <= SDLK_9) return static_cast<uint16_t>('0' + (K - SDLK_0));
  switch (K) {
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_RETURN: case SDLK_KP_ENTER: return vk::Return;
    case SDLK_SPACE: return vk::Space;
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_LEFT: return vk::Left;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_UP: return vk::Up;
    case SDLK_DOWN: return vk::Down;
    case SDLK_HOME: return vk::Home;
    case SDLK_END: return vk::End;
    case SDLK_PAGEUP: return vk::Prior;
    case SDLK_PAGEDOWN: return vk::Next;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL: case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT: case SDLK_RALT: return vk::Menu;
    default: return 0;
  }
}

bool ToButton(uint8_t SdlButton, TMouseButton& Out) {
  switch (SdlButton) {
    case SDL_BUTTON_LEFT: Out = TMouseButton::mbLeft; return true;
    case SDL_BUTTON_RIGHT: Out = TMouseButton::mbRight; return true;
    case SDL_BUTTON_MIDDLE: Out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}


}  // namespace


// --- life ------------------------------------------------------------------------

TSdlPlatform::TSdlPlatform() : FImpl(std::make_unique<Impl>(this)) {}

std::unique_ptr<TSdlPlatform> TSdlPlatform::Create(std::string* Error) {
  auto fail = [Error](const std::string& Why) -> std::unique_ptr<TSdlPlatform> {
    if (Error != nullptr) *Error = Why;
    return nullptr;
  };
  if (gLivePlatforms > 0) return fail("an SDL platform is already running");
  const std::string driver = Impl::ChooseVideoDriver();
  if (!driver.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
  // Closing a window is the form's business; only a signal or the app ends the loop.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  int started = SDL_Init(SDL_INIT_VIDEO);
  std::string why = started != 0 ? SDL_GetError() : "";
  if (started != 0 && driver == "wayland" && std::getenv("ZZ_VIDEO") == nullptr &&
      std::getenv("DISPLAY") != nullptr) {
    // The compositor would not have us; its X server may.
    SDL_Quit();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    started = SDL_Init(SDL_INIT_VIDEO);
    if (started != 0) why += std::string("; x11: ") + SDL_GetError();
  }
  if (started != 0) {
    SDL_Quit();
    return fail("SDL video: " + why);
  }
  // Cairo draws straight into the window surface: SDL's renderers cost ten times
  // more to present and, with acceleration, the first surface re-creates the window.
  // Wayland has no window surface of its own: there SDL's texture stands in for it.
  const char* running = SDL_GetCurrentVideoDriver();
  const bool wayland = running != nullptr && std::strcmp(running, "wayland") == 0;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, wayland ? "1" : "0");
  // On Wayland the compositor blends the window's alpha over what lies behind it.
  if (wayland) {
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_SetHint(SDL_HINT_VIDEO_EGL_ALLOW_TRANSPARENCY, "1");
  }
  std::unique_ptr<TSdlPlatform> p(new TSdlPlatform);
  ++gLivePlatforms;
  p->FImpl->Wayland = wayland;
#ifdef ZZ_HAVE_X11
  if (running != nullptr && std::strcmp(running, "x11") == 0) {
    p->FImpl->X = XOpenDisplay(nullptr);
    // Xlib's default answer to any protocol error is exit(1); a request that names a
    // window destroyed a moment earlier (a closed form) is not worth dying for.
    p->FImpl->PreviousErrorHandler = XSetErrorHandler([](Display* D, XErrorEvent* E) -> int {
      if (E->error_code == BadWindow || E->error_code == BadDrawable) return 0;
      char text[256];
      XGetErrorText(D, E->error_code, text, sizeof text);
      std::fprintf(stderr, "zuzided: X error %s (request %d)\n", text, E->request_code);
      return 0;
    });
    p->FImpl->ErrorHandlerInstalled = true;
#ifdef ZZ_HAVE_XSHAPE
    int event = 0, error = 0;
    p->FImpl->CanShape = p->FImpl->X != nullptr && XShapeQueryExtension(p->FImpl->X, &event, &error);
#endif
  }
#endif
  p->FImpl->StartAccessibility();
  return p;
}

TSdlPlatform::~TSdlPlatform() {
  FImpl->StopAccessibility();
  for (SDL_Cursor*& c : FImpl->Cursors)
    if (c != nullptr) SDL_FreeCursor(c);
  for (auto& w : FImpl->Windows) Impl::DestroyNative(w->Win, w->Renderer);
  FImpl->Windows.clear();
  for (auto& w : FImpl->Retired) Impl::DestroyNative(w->Win, w->Renderer);
  FImpl->Retired.clear();
#ifdef ZZ_HAVE_X11
  if (FImpl->X != nullptr) XCloseDisplay(FImpl->X);
#endif
  SDL_Quit();
#ifdef ZZ_HAVE_X11
  if (FImpl->ErrorHandlerInstalled) XSetErrorHandler(FImpl->PreviousErrorHandler);
#endif
  --gLivePlatforms;
}

// --- the server ------------------------------------------------------------------

// The pointer in screen pixels. The server is asked directly where it can be: SDL's
// global mouse state lags behind under a synthetic pointer, and a window position
// plus event coordinates mixes two moments while the window itself moves.
bool TSdlPlatform::Impl::PointerOnScreen(Window* W, int EventX, int EventY, TPoint& Out) {
#ifdef ZZ_HAVE_X11
  if (X != nullptr) {
    ::Window root, child;
    int rx, ry, wx, wy;
    unsigned mask;
    if (XQueryPointer(X, DefaultRootWindow(X), &root, &child, &rx, &ry, &wx, &wy, &mask)) {
      Out = {rx, ry};
      return true;
    }
  }
#endif
  if (W == nullptr || W->Win == nullptr || EventX < 0) return false;
  int x, y;
  SDL_GetWindowPosition(W->Win, &x, &y);
  Out = {x + EventX, y + EventY};
  return true;
}

bool TSdlPlatform::Impl::ProbeWindowManager() const {
#ifdef ZZ_HAVE_X11
  if (X != nullptr) {
    // EWMH: the root names a check window that names itself; a stale property left
    // by a window manager that has gone does not pass the second read.
    static bool failed;
    failed = false;
    auto old = XSetErrorHandler([](Display*, XErrorEvent*) -> int {
      failed = true;
      return 0;
    });
    const Atom check = XInternAtom(X, "_NET_SUPPORTING_WM_CHECK", False);
    auto readWindow = [&](::Window Of, ::Window& Out) {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      const int rc = XGetWindowProperty(X, Of, check, 0, 1, False, XA_WINDOW, &type, &format,
                                        &count, &after, &data);
      const bool ok = rc == Success && !failed && type == XA_WINDOW && format == 32 &&
                      count == 1 && data != nullptr;
      if (ok) Out = *reinterpret_cast<::Window*>(data);
      if (data != nullptr) XFree(data);
      return ok;
    };
    ::Window wm = 0, self = 0;
    bool found = readWindow(DefaultRootWindow(X), wm) && readWindow(wm, self) && self == wm;
    XSync(X, False);
    if (failed) found = false;
    XSetErrorHandler(old);
    return found;
  }
#endif
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "offscreen") != 0 &&
         std::strcmp(driver, "dummy") != 0;
}

int TSdlPlatform::Impl::EventConnection() {
#ifdef ZZ_HAVE_X11
  if (EventFd < 0) {
    for (auto& w : Windows) {
      Display* d;
      ::Window xw;
      if (XWindowOf(w->Win, d, xw)) {
        EventFd = ConnectionNumber(d);
        break;
      }
    }
  }
#endif
  return EventFd;
}

uint64_t TSdlPlatform::NowMs() const { return SDL_GetTicks64(); }

TPoint TSdlPlatform::ScreenSize() const {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {1920, 1080};
  // In form pixels, like every position the forms see.
  const float unit = FImpl->ScreenUnit();
  return {Impl::ToForm(mode.w, unit), Impl::ToForm(mode.h, unit)};
}

std::vector<TDisplay> TSdlPlatform::Displays() const {
  std::vector<TDisplay> out;
  const float unit = FImpl->ScreenUnit();
  const int n = SDL_GetNumVideoDisplays();
  for (int i = 0; i < n; ++i) {
    SDL_Rect all, usable;
    if (SDL_GetDisplayBounds(i, &all) != 0) continue;
    if (SDL_GetDisplayUsableBounds(i, &usable) != 0 || usable.w <= 0 || usable.h <= 0) usable = all;
    if (FImpl->Wayland && static_cast<size_t>(i) < FImpl->MaximisedSize.size() &&
        FImpl->MaximisedSize[i].x > 0) {
      usable.w = std::min(usable.w, FImpl->MaximisedSize[i].x);
      usable.h = std::min(usable.h, FImpl->MaximisedSize[i].y);
    }
    out.push_back({i, i == 0, Impl::ToFormInside(all, unit), Impl::ToFormInside(usable, unit)});
  }
  if (out.empty()) return TPlatform::Displays();
  return out;
}

TDisplay TSdlPlatform::DisplayOf(const TCommonCustomForm* AForm) const {
  if (AForm == nullptr) return TPlatform::DisplayOf(AForm);
  int index = -1;
  if (Impl::Window* w = FImpl->Find(AForm)) {
    index = SDL_GetWindowDisplayIndex(w->Win);
  } else {
    const SDL_Rect r = Impl::ToWindow(Impl::BoundsOf(AForm), FImpl->ScreenUnit());
    index = SDL_GetRectDisplayIndex(&r);
  }
  const std::vector<TDisplay> all = Displays();
  for (const TDisplay& d : all)
    if (d.Index == index) return d;
  return TPlatform::DisplayOf(AForm);
}

bool TSdlPlatform::HasWindowManager() const { return FImpl->ProbeWindowManager(); }
bool TSdlPlatform::WindowSystemPlacesWindows() const { return FImpl->Wayland; }
std::string TSdlPlatform::VideoDriver() const {
  const char* d = SDL_GetCurrentVideoDriver();
  return d != nullptr ? d : "";
}
uint64_t TSdlPlatform::FramesPresented() const { return FImpl->Frames; }
uint64_t TSdlPlatform::PartialFramesPresented() const { return FImpl->PartialFrames; }

// --- windows -----------------------------------------------------------------------

SDL_Window* TSdlPlatform::Impl::CreateNativeWindow(TCommonCustomForm* F, float Unit, bool Wayland) {
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  // Drawn through a renderer there; made for it now rather than re-created by it.
  if (Wayland) flags |= SDL_WINDOW_OPENGL;
  if (F->Transparency()) flags |= SDL_WINDOW_BORDERLESS;
  const SDL_Rect r = ToWindow(BoundsOf(F), Unit);
  return SDL_CreateWindow(F->Caption().c_str(), r.x, r.y, r.w, r.h, flags);
}

float TSdlPlatform::Impl::ScaleFromEnvironment() {
  if (const char* env = std::getenv("ZZ_SCALE")) {
    const float v = std::strtof(env, nullptr);
    if (v >= 0.5f && v <= 4.0f) return v;
  }
  return 0;
}

float TSdlPlatform::Impl::ScreenUnit() const {
  if (!Windows.empty()) return Windows.front()->Unit;
  const float env = ScaleFromEnvironment();
  return env > 0 ? env : 1;
}

void TSdlPlatform::Impl::MeasureScale(Window* W) {
  // Where the window system gives high-density drawables (SDL_WINDOW_ALLOW_HIGHDPI) a
  // window unit is already several pixels and the scale is theirs. X11 has none: there
  // ZZ_SCALE makes the window itself that many times larger, so that the picture is
  // drawn at the scale rather than drawn small and blown up.
  int w = 0, h = 0, pw = 0, ph = 0;
  SDL_GetWindowSize(W->Win, &w, &h);
  SDL_GetWindowSizeInPixels(W->Win, &pw, &ph);
  const float density = w > 0 && pw > 0 ? static_cast<float>(pw) / static_cast<float>(w) : 1.0f;
  const float env = ScaleFromEnvironment();
  const float unit = env > 0 ? env / density : 1.0f;
  W->Scale = env > 0 ? env : density;
  if (unit == W->Unit) return;
  W->Unit = unit;
  Place(W, ToWindow(BoundsOf(W->Form), unit));
}

void TSdlPlatform::Impl::Place(Window* W, const SDL_Rect& R) {
  int x, y, w, h;
  SDL_GetWindowPosition(W->Win, &x, &y);
  SDL_GetWindowSize(W->Win, &w, &h);
  if ((x != R.x || y != R.y) && !Wayland) SDL_SetWindowPosition(W->Win, R.x, R.y);
  if (w != R.w || h != R.h) {
    SDL_SetWindowSize(W->Win, R.w, R.h);
    W->SurfaceStale = true;
  }
  W->Placed = R;
  W->Dirty = true;
}

void TSdlPlatform::FormVisibleChanged(TCommonCustomForm* AForm) {
  Impl::Window* w = FImpl->Find(AForm);
  if (AForm->Visible()) {
    if (w == nullptr) {
      const float unit = FImpl->ScreenUnit();
      SDL_Window* win = Impl::CreateNativeWindow(AForm, unit, FImpl->Wayland);
      if (win == nullptr) {
        std::fprintf(stderr, "zuzided: cannot create a window: %s\n", SDL_GetError());
        return;
      }
      auto nw = std::make_unique<Impl::Window>();
      nw->Form = AForm;
      nw->Win = win;
      nw->Id = SDL_GetWindowID(win);
      nw->Unit = unit;
      nw->Placed = Impl::ToWindow(Impl::BoundsOf(AForm), unit);
      w = nw.get();
      FImpl->Windows.push_back(std::move(nw));
      FImpl->MeasureScale(w);
      SDL_SetWindowHitTest(win, &Impl::HitTest, FImpl.get());
    }
    w->HiddenAsMinimised = false;
    FImpl->WmResizes = HasWindowManager();
    SDL_ShowWindow(w->Win);
    w->Dirty = w->SurfaceStale = true;
    // A shown window takes the focus; without a window manager nobody else gives it.
    if (!HasWindowManager()) {
      SDL_RaiseWindow(w->Win);
      SDL_SetWindowInputFocus(w->Win);
    }
    if (AForm->WindowState() != TWindowState::wsNormal) FormWindowStateChanged(AForm);
  } else if (w != nullptr) {
    FImpl->Router.Gesture().Forget(AForm);
    SDL_HideWindow(w->Win);
    AForm->SetActive(false);
  }
}

void TSdlPlatform::FormDestroying(TCommonCustomForm* AForm) {
  FImpl->Router.Gesture().Forget(AForm);
  auto& ws = FImpl->Windows;
  for (auto it = ws.begin(); it != ws.end(); ++it) {
    if ((*it)->Form != AForm) continue;
    std::unique_ptr<Impl::Window> gone = std::move(*it);
    ws.erase(it);
    if (FImpl->InHitTest || TDispatchScope::Open()) {
      // SDL is inside its pump (hiding waits too), or the code that freed the form (an
      // event's, a timer's, a paint's) may still hold its window, as it may hold the form.
      if (!FImpl->InHitTest) SDL_HideWindow(gone->Win);
      FImpl->Retired.push_back(std::move(gone));
    } else {
      Impl::DestroyNative(gone->Win, gone->Renderer);
    }
    return;
  }
}

void TSdlPlatform::FormTransparencyChanged(TCommonCustomForm* AForm) {
  Impl::Window* w = FImpl->Find(AForm);
  if (w == nullptr) return;
  SDL_SetWindowBordered(w->Win, AForm->Transparency() ? SDL_FALSE : SDL_TRUE);
  // A borderless window takes its shape from the next full frame; a framed one is a
  // rectangle again.
  if (!AForm->Transparency()) FImpl->ClearShape(w);
  w->Dirty = w->SurfaceStale = true;
}

void TSdlPlatform::FormCaptionChanged(TCommonCustomForm* AForm) {
  if (Impl::Window* w = FImpl->Find(AForm)) SDL_SetWindowTitle(w->Win, AForm->Caption().c_str());
}

void TSdlPlatform::FormWindowStateChanged(TCommonCustomForm* AForm) {
  if (FImpl->FromWindow > 0) return;
  Impl::Window* w = FImpl->Find(AForm);
  if (w == nullptr || !AForm->Visible()) return;  // applied when the window is shown
  const Uint32 flags = SDL_GetWindowFlags(w->Win);
  switch (AForm->WindowState()) {
    case TWindowState::wsMinimized:
      FImpl->Router.Gesture().Forget(AForm);
      if (HasWindowManager()) {
        SDL_MinimizeWindow(w->Win);
      } else if (!w->HiddenAsMinimised) {
        w->StateBeforeMinimised = w->EmulatedMax ? TWindowState::wsMaximized : TWindowState::wsNormal;
        // Nobody would iconify the window: hiding it is what the user would see.
        SDL_HideWindow(w->Win);
        w->HiddenAsMinimised = true;
        AForm->SetActive(false);
      }
      break;
    case TWindowState::wsNormal:
      if (w->HiddenAsMinimised) {
        w->HiddenAsMinimised = false;
        SDL_ShowWindow(w->Win);
        SDL_RaiseWindow(w->Win);
        SDL_SetWindowInputFocus(w->Win);
        w->Dirty = w->SurfaceStale = true;
      } else if (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)) {
        SDL_RestoreWindow(w->Win);
      }
      if (w->EmulatedMax) {
        w->EmulatedMax = false;
        const TRect r = w->RestoreRect;
        AForm->SetBounds(r.Left, r.Top, r.Width(), r.Height());
      }
      break;
    case TWindowState::wsMaximized:
      if (w->HiddenAsMinimised) {
        w->HiddenAsMinimised = false;
        SDL_ShowWindow(w->Win);
        w->Dirty = w->SurfaceStale = true;
      }
      if (HasWindowManager()) {
        SDL_MaximizeWindow(w->Win);
      } else if (!w->EmulatedMax) {
        // Without a window manager SDL only sets a flag; do what one would do.
        w->EmulatedMax = true;
        w->RestoreRect = TRect::Bounds(AForm->Left(), AForm->Top(), AForm->Width(), AForm->Height());
        const TRect a = DisplayOf(AForm).WorkArea;
        AForm->SetBounds(a.Left, a.Top, a.Width(), a.Height());
      }
      break;
  }
}

void TSdlPlatform::ApplyWindowRect(TCommonCustomForm* AForm, const TRect& ARect) {
  if (FImpl->FromWindow > 0) return;
  Impl::Window* w = FImpl->Find(AForm);
  if (w == nullptr) return;  // a window is created at the form's bounds when shown
  w->PendingRect = ARect;
  w->PlacePending = true;
  // While an event is handled the form may move in steps (the title bar sets left, top,
  // width and height one by one): the window is asked once, for where the form ends,
  // after the event. Each step asked for by itself would reach the window manager after
  // a maximise or restore asked for first, and come back as bounds of its own.
  if (FImpl->Dispatching == 0) FImpl->FlushPlacements();
}

void TSdlPlatform::Impl::FlushPlacements() {
  for (auto& window : Windows) {
    Window* w = window.get();
    if (!w->PlacePending) continue;
    w->PlacePending = false;
    TCommonCustomForm* AForm = w->Form;
    const TRect ARect = w->PendingRect;
  // New bounds for a window the window manager keeps maximised end that, unless the
  // form itself is maximised (the title bar sizes it to the work area as it maximises).
    const bool zoomed = (SDL_GetWindowFlags(w->Win) & SDL_WINDOW_MAXIMIZED) != 0;
    if (zoomed && AForm->WindowState() != TWindowState::wsMaximized) SDL_RestoreWindow(w->Win);
    // The compositor sizes a maximised window; the form follows what it gives.
    if (Wayland && zoomed && AForm->WindowState() == TWindowState::wsMaximized) continue;
    const float u = w->Unit;
    SDL_Rect r = ToWindow(ARect, u);
    // A position the form kept stays to the window unit: the window manager may have put
    // the window between two form pixels, and rounding it now would nudge it.
    if (ARect.Left == ToForm(w->Placed.x, u)) r.x = w->Placed.x;
    if (ARect.Top == ToForm(w->Placed.y, u)) r.y = w->Placed.y;
    const SDL_Rect& held = w->HeldWindow;
    if (held.w > 0) {
      const TWindowEdge e = w->HeldEdge;
      if ((e == TWindowEdge::Left || e == TWindowEdge::TopLeft) && ARect.Right == w->HeldBounds.Right)
        r.x = held.x + held.w - r.w;
      if ((e == TWindowEdge::Top || e == TWindowEdge::TopLeft) && ARect.Bottom == w->HeldBounds.Bottom)
        r.y = held.y + held.h - r.h;
    }
    Place(w, r);
  }
}

void TSdlPlatform::Invalidate(TCommonCustomForm* AForm, const TRectF&) {
  if (Impl::Window* w = FImpl->Find(AForm)) w->Dirty = true;
}

void TSdlPlatform::StartWindowDrag(TCommonCustomForm* AForm) {
  Impl::Window* w = FImpl->Find(AForm);
  if (w == nullptr || !FImpl->Router.Buttons().Contains(TShiftStateItem::ssLeft)) return;
  if (FImpl->Wayland) {
    // Only the compositor moves windows: the press under way is handed to it (the hit
    // test answers draggable), unless it is a double-click's second, which stays the
    // form's so that its release makes the double-click.
    if (FImpl->InHitTest && !FImpl->Router.LastPressWasDouble()) FImpl->MoveWanted = true;
    return;
  }
  TPoint p;
  if (!FImpl->PressOnScreen(w, p) && !FImpl->PointerOnScreen(w, -1, -1, p)) {
    // No server to ask: the press point is where the pointer is, relative to the window.
    int mx, my;
    SDL_GetMouseState(&mx, &my);
    if (!FImpl->PointerOnScreen(w, mx, my, p)) return;
  }
  FImpl->Router.Gesture().BeginDrag(AForm, Impl::ScreenUnits(w, p));
}

void TSdlPlatform::ShowMessage(const std::string& AText) {
  SDL_Window* parent = nullptr;
  std::string title = "Message";
  for (auto& w : FImpl->Windows)
    if (w->Form->Active()) parent = w->Win;
  if (TCommonCustomForm* m = Application->MainForm(); m != nullptr && !m->Caption().empty())
    title = m->Caption();
  // The box blocks this loop while it is open, as the framework's modal box does.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), AText.c_str(), parent) !=
      0)
    std::fprintf(stderr, "%s\n", AText.c_str());
  // The box took the pointer: a press that was under way never gets its release.
  FImpl->Router.Reset();
  for (auto& w : FImpl->Windows) FImpl->Router.CancelTracking(w->Form);
}

void TSdlPlatform::Impl::SyncBoundsFromWindow(Window* W) {
  if (W->HiddenAsMinimised || (SDL_GetWindowFlags(W->Win) & SDL_WINDOW_MINIMIZED)) return;
  if (Wayland) {
    SyncSizeFromCompositor(W);
    return;
  }
  // SDL's idea of the window is its latest: stale MOVED/SIZE_CHANGED events of our own
  // earlier requests then compare equal to the form and change nothing.
  SDL_Rect now;
  SDL_GetWindowPosition(W->Win, &now.x, &now.y);
  SDL_GetWindowSize(W->Win, &now.w, &now.h);
  const float u = W->Unit;
  const int x = ToForm(now.x, u), y = ToForm(now.y, u);
  const int w = std::max(1, ToForm(now.w, u)), h = std::max(1, ToForm(now.h, u));
  // A window manager may leave the window between two form pixels in size (a scaled
  // window): it then goes to the form's size in whole form pixels. Its position may lie
  // anywhere; putting that back would fight every move the window manager makes.
  const bool between = ToWindow(w, u) != now.w || ToWindow(h, u) != now.h;
  TCommonCustomForm* f = W->Form;
  const bool zoomed = (SDL_GetWindowFlags(W->Win) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) != 0;
  // Which edges the window manager's resize moved: the left (top) one when it moved
  // while the right (bottom) one stayed where the window last was.
  const SDL_Rect was = W->Placed;
  const bool leftMoved = now.x != was.x && now.x + now.w == was.x + was.w;
  const bool topMoved = now.y != was.y && now.y + now.h == was.y + was.h;
  W->Placed = now;
  auto putBack = [&] {
    // The window keeps its own position where the form took it, and the edge opposite
    // the one grabbed stays where it is.
    SDL_Rect r = ToWindow(BoundsOf(f), u);
    if (f->Left() == x) r.x = leftMoved ? now.x + now.w - r.w : now.x;
    if (f->Top() == y) r.y = topMoved ? now.y + now.h - r.h : now.y;
    Place(W, r);
    W->SurfaceStale = true;
  };
  if (x == f->Left() && y == f->Top() && w == f->Width() && h == f->Height()) {
    if (between && !zoomed) putBack();
    return;
  }
  const TWindowEdge moved = leftMoved && topMoved ? TWindowEdge::TopLeft
                           : leftMoved             ? TWindowEdge::Left
                           : topMoved              ? TWindowEdge::Top
                                                   : TWindowEdge::NoEdge;
  if (moved != TWindowEdge::NoEdge) {
    W->HeldEdge = moved;
    W->HeldWindow = now;
    W->HeldBounds = TRect::Bounds(x, y, w, h);
  }
  ++FromWindow;
  f->SetBounds(x, y, w, h);
  --FromWindow;
  // A form that holds its size to limits overrules the window manager's resize; the
  // window takes the form's size back, and keeps the edge the user did not grab. A
  // form that its resize handler freed has left the window list.
  if (Find(f) != W) return;
  if (zoomed) return;
  if (f->Width() != w || f->Height() != h || f->Left() != x || f->Top() != y || between) {
    TInputRouter::KeepOppositeEdges(f, moved, TRect::Bounds(x, y, w, h));
    if (Find(f) != W) return;
    putBack();
  }
}

void TSdlPlatform::Impl::SetShape(TCursorShape S) {
  if (S == Shape) return;
  Shape = S;
  static constexpr SDL_SystemCursor kSystem[] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_SIZEWE,
                                                SDL_SYSTEM_CURSOR_SIZENS, SDL_SYSTEM_CURSOR_SIZENWSE,
                                                SDL_SYSTEM_CURSOR_SIZENESW};
  const auto i = static_cast<size_t>(S);
  if (Cursors[i] == nullptr) Cursors[i] = SDL_CreateSystemCursor(kSystem[i]);
  if (Cursors[i] != nullptr) SDL_SetCursor(Cursors[i]);
}

SDL_HitTestResult TSdlPlatform::Impl::HitTest(SDL_Window* Win, const SDL_Point* P, void* Data) {
  auto* im = static_cast<Impl*>(Data);
  // Without a window manager the request to resize would go unanswered and the press
  // be lost: the host resizes the window itself then (SDL_MOUSEBUTTONDOWN).
  if (!im->WmResizes) return SDL_HITTEST_NORMAL;
  for (auto& w : im->Windows) {
    if (w->Win != Win) continue;
    const TWindowEdge edge = TInputRouter::EdgeAt(w->Form, FormPoint(w.get(), P->x, P->y));
    if (edge == TWindowEdge::NoEdge && im->Wayland) return im->PressForCompositor(w.get(), *P);
    switch (edge) {
      case TWindowEdge::Left: return SDL_HITTEST_RESIZE_LEFT;
      case TWindowEdge::Right: return SDL_HITTEST_RESIZE_RIGHT;
      case TWindowEdge::Top: return SDL_HITTEST_RESIZE_TOP;
      case TWindowEdge::Bottom: return SDL_HITTEST_RESIZE_BOTTOM;
      case TWindowEdge::TopLeft: return SDL_HITTEST_RESIZE_TOPLEFT;
      case TWindowEdge::TopRight: return SDL_HITTEST_RESIZE_TOPRIGHT;
      case TWindowEdge::BottomLeft: return SDL_HITTEST_RESIZE_BOTTOMLEFT;
      case TWindowEdge::BottomRight: return SDL_HITTEST_RESIZE_BOTTOMRIGHT;
      default: return SDL_HITTEST_NORMAL;
    }
  }
  return SDL_HITTEST_NORMAL;
}

void TSdlPlatform::Impl::FollowResize(Window* W, int EventX, int EventY) {
  TWindowGesture& g = Router.Gesture();
  TCommonCustomForm* f = g.Resized();
  if (W == nullptr) W = Find(f);
  if (f == nullptr || W == nullptr) {
    g.End();
    return;
  }
  TPoint p;
  if (!PointerOnScreen(W, EventX, EventY, p)) return;
  const TPointF at = ScreenUnits(W, p);
  if (g.Moving() || g.PastThreshold(at)) {
    // Held from the first step on, for the size the form's painting changes next.
    W->HeldEdge = g.Edge();
    W->HeldWindow = {0, 0, 0, 0};
  }
  g.Follow(at);
}

void TSdlPlatform::Impl::FollowDrag(Window* W, int EventX, int EventY) {
  TWindowGesture& g = Router.Gesture();
  TCommonCustomForm* f = g.Dragged();
  if (W == nullptr) W = Find(f);
  if (f == nullptr || W == nullptr) {
    g.End();
    return;
  }
  TPoint p;
  if (!PointerOnScreen(W, EventX, EventY, p)) return;
  // From the first step past the threshold on, the pointer belongs to the window move,
  // not to the controls: they let go of it before the window moves.
  const TPointF at = ScreenUnits(W, p);
  if (!g.Moving() && g.PastThreshold(at)) Router.CancelTracking(f);
  g.Follow(at);
}

void TSdlPlatform::Impl::WindowEvent(const SDL_WindowEvent& E) {
  Window* w = FindId(E.windowID);
  if (w == nullptr) return;
  TCommonCustomForm* f = w->Form;
  switch (E.event) {
    case SDL_WINDOWEVENT_SHOWN:
      if (w->HiddenAsMinimised) {
        // Mapped again by someone else (a task bar, xdotool) after the host hid it as
        // minimised: the window is back, painted, and so is the form.
        w->HiddenAsMinimised = false;
        ++FromWindow;
        f->SetWindowState(w->StateBeforeMinimised);
        --FromWindow;
        if (Find(f) != w) return;
      }
      w->Dirty = w->SurfaceStale = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      w->Dirty = w->SurfaceStale = true;
      break;
    case SDL_WINDOWEVENT_MOVED:
      SyncBoundsFromWindow(w);
      break;
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      w->Dirty = w->SurfaceStale = true;
      SyncBoundsFromWindow(w);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      Router.Gesture().Forget(f);
      ++FromWindow;
      f->SetWindowState(TWindowState::wsMinimized);
      --FromWindow;
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      ++FromWindow;
      f->SetWindowState(TWindowState::wsMaximized);
      --FromWindow;
      SyncBoundsFromWindow(w);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      w->Dirty = w->SurfaceStale = true;
      if (!w->HiddenAsMinimised) {
        ++FromWindow;
        f->SetWindowState(TWindowState::wsNormal);
        --FromWindow;
        if (Find(f) == w) SyncBoundsFromWindow(w);
      }
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (Wayland && f->WindowState() == TWindowState::wsMinimized) {
        // Wayland does not tell a window it is minimised or back; the focus tells the latter.
        ++FromWindow;
        f->SetWindowState((SDL_GetWindowFlags(w->Win) & SDL_WINDOW_MAXIMIZED) ? TWindowState::wsMaximized
                                                                              : TWindowState::wsNormal);
        --FromWindow;
        if (Find(f) != w) return;
      }
      f->SetActive(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      f->SetActive(false);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (Router.Gesture().Dragged() != f) Router.PointerLeft(f);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      f->Close();
      break;
    default:
      break;
  }
}

void TSdlPlatform::Impl::Dispatch(const SDL_Event& E) {
  switch (E.type) {
    case SDL_QUIT:
      // A signal or the session ending: the main form still hears about it, but the
      // application ends whatever the form answers.
      if (TCommonCustomForm* m = Application->MainForm(); m != nullptr && m->Visible()) m->Close();
      Application->Terminate();
      break;
    case SDL_WINDOWEVENT:
      WindowEvent(E.window);
      break;
    case SDL_MOUSEMOTION: {
      Window* w = FindId(E.motion.windowID);
      // A window that shows nothing takes no input.
      if (w == nullptr || !Shows(w)) break;
      if (Router.Gesture().Resized() != nullptr) {
        FollowResize(w, E.motion.x, E.motion.y);
        break;
      }
      if (Router.Gesture().Dragged() == w->Form) {
        FollowDrag(w, E.motion.x, E.motion.y);
        if (Router.Gesture().Moving()) break;
      }
      const TPointF at = FormPoint(w, E.motion.x, E.motion.y);
      if (Router.Buttons().Empty()) SetShape(TInputRouter::CursorFor(TInputRouter::EdgeAt(w->Form, at)));
      Router.PointerMove(w->Form, at, KeyShift());
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      if (EarlyPressWindow != 0 && E.button.button == SDL_BUTTON_LEFT) {
        // Dispatched already, from the hit test.
        EarlyPressWindow = 0;
        break;
      }
      Window* w = FindId(E.button.windowID);
      TMouseButton b;
      if (w == nullptr || !Shows(w) || !ToButton(E.button.button, b)) break;
      Router.Gesture().End();
      const TPointF at = FormPoint(w, E.button.x, E.button.y);
      PressWindow = w->Id;
      PressAt = {E.button.x, E.button.y};
      if (b == TMouseButton::mbLeft && Router.Buttons().Empty() && !WmResizes) {
        const TWindowEdge edge = TInputRouter::EdgeAt(w->Form, at);
        TPoint p;
        if (edge != TWindowEdge::NoEdge && PressOnScreen(w, p)) {
          // The press belongs to the resize, as it would to a window manager's.
          TCommonCustomForm* f = w->Form;
          Router.Gesture().BeginResize(f, edge, ScreenUnits(w, p));
          break;
        }
      }
      // The router decides double-clicks by its own time and distance rules, the same
      // as on the headless platform.
      Router.PointerDown(w->Form, b, at, KeyShift(), Owner->NowMs());
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      Window* w = FindId(E.button.windowID);
      TMouseButton b;
      if (!ToButton(E.button.button, b)) break;
      if (Router.Gesture().Resized() != nullptr && b == TMouseButton::mbLeft) {
        Router.Gesture().End();
        break;
      }
      if (w == nullptr || !Shows(w)) {
        Router.ButtonReleasedElsewhere(b);
        break;
      }
      if (Router.Gesture().Dragged() == w->Form && b == TMouseButton::mbLeft) {
        // The window ends where the pointer was released, even when the last motion
        // events were not seen before the release (a busy loop, coalesced motion).
        FollowDrag(w, E.button.x, E.button.y);
        const bool moved = Router.Gesture().Moving();
        Router.Gesture().End();
        // A drag keeps its release; a press that never moved stays a click.
        if (moved) {
          Router.ButtonReleasedElsewhere(b);
          Router.CancelTracking(w->Form);
          break;
        }
      }
      Router.PointerUp(w->Form, b, FormPoint(w, E.button.x, E.button.y), KeyShift());
      break;
    }
    case SDL_MOUSEWHEEL: {
      Window* w = FindId(E.wheel.windowID);
      if (w != nullptr) Router.PointerWheel(w->Form, KeyShift(), E.wheel.y * 120);
      break;
    }
    case SDL_KEYDOWN: {
      Window* w = FindId(E.key.windowID);
      uint16_t key = VirtualKey(E.key.keysym.sym);
      if (w == nullptr || key == 0) break;
      TWeak<TCommonCustomForm> form(w->Form);
      if (Owner->FOnKeyDown) {
        auto h = Owner->FOnKeyDown;
        h(w->Form, key, KeyShift(E.key.keysym.mod));
      }
      // Printable keys carry their character; text input proper is not this host's.
      Char ch = 0;
      const SDL_Keycode sym = E.key.keysym.sym;
      if (sym >= 0x20 && sym < 0x7F) ch = static_cast<Char>(sym);
      // The modifiers as they were when the key went down: by the time the event is
      // handled the queue may already hold their release (Alt+F typed quickly).
      if (TCommonCustomForm* f = form.Get()) Router.KeyDown(f, key, ch, KeyShift(E.key.keysym.mod));
      break;
    }
    case SDL_KEYUP: {
      Window* w = FindId(E.key.windowID);
      uint16_t key = VirtualKey(E.key.keysym.sym);
      if (w == nullptr || key == 0) break;
      Router.KeyUp(w->Form, key, 0, KeyShift(E.key.keysym.mod));
      break;
    }
    default:
      break;
  }
}

void TSdlPlatform::ProcessEvents(int MaxWaitMs) {
  Impl& im = *FImpl;
  im.DestroyRetired();
  // Forms shown before this platform was installed get their windows now.
  for (TCommonCustomForm* f : Application->Forms())
    if (f->Visible() && im.Find(f) == nullptr) FormVisibleChanged(f);

  int timeout = MaxWaitMs;
  auto cap = [&timeout](int Ms) { timeout = timeout < 0 ? Ms : std::min(timeout, Ms); };
  const uint64_t next = Application->Timers().NextDue(), now = NowMs();
  if (next != UINT64_MAX) cap(next > now ? static_cast<int>(std::min<uint64_t>(next - now, 60000)) : 0);
  for (auto& w : im.Windows)
    if (w->Dirty && w->Form->Visible()) cap(0);
  if (im.Router.Gesture().Dragged() != nullptr || im.Router.Gesture().Resized() != nullptr)
    cap(kDragPollMs);

  SDL_Event e;
  bool have = SDL_PollEvent(&e) == 1;
  if (!have && timeout != 0) {
    const int fd = im.EventConnection();
    if (fd >= 0) {
      // Wait on SDL's own X connection rather than in SDL_WaitEvent: SDL wakes that
      // wait with a message to one of our windows, and once the window is destroyed
      // the late message becomes a protocol error that SDL_Quit turns into exit(1).
      pollfd p{fd, POLLIN, 0};
      if (!im.WaitWithAccessibility(fd, timeout)) poll(&p, 1, timeout);
      have = SDL_PollEvent(&e) == 1;
    } else {
      have = timeout < 0 ? SDL_WaitEvent(&e) == 1 : SDL_WaitEventTimeout(&e, timeout) == 1;
    }
  }
  while (have && !Application->Terminated()) {
    {
      // What the event's handlers free goes once the event (and the placements it
      // asked for) is done with.
      TDispatchScope scope;
      ++im.Dispatching;
      im.Dispatch(e);
      --im.Dispatching;
      im.FlushPlacements();
    }
    have = SDL_PollEvent(&e) == 1;
  }
  im.DestroyRetired();
  TDispatchScope scope;
  if (im.Router.Gesture().Dragged() != nullptr) im.FollowDrag(nullptr, -1, -1);
  if (im.Router.Gesture().Resized() != nullptr) im.FollowResize(nullptr, -1, -1);
  if (!Application->Terminated()) Application->Timers().FireDue(NowMs());
  im.PaintDirty();
  // After painting, which lays out what depends on the window's size (the title bar
  // does); what the pointer's new control changes is painted on the next round, at once.
  if (!Application->Terminated())
    im.Router.FollowGeometry([&im](TCommonCustomForm* Form, TPointF& P) {
      Impl::Window* w = im.Find(Form);
      TPoint screen;
      if (w == nullptr || !Impl::Shows(w) || !im.PointerOnScreen(w, -1, -1, screen)) return false;
      // Against the form's bounds, which the window is on its way to.
      P = {screen.X / w->Unit - static_cast<float>(Form->Left()),
           screen.Y / w->Unit - static_cast<float>(Form->Top())};
      return true;
    });
  im.DispatchAccessibility();
}

void TSdlPlatform::Run() {
  while (!Application->Terminated()) ProcessEvents(-1);
}

}  // namespace fmx
