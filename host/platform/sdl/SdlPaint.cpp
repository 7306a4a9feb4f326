// Painting a form into its window: the canvas is painted where it is damaged, copied
// into SDL's window surface and presented; a borderless window takes the shape of what
// its picture shows.
#include <SDL.h>

#include <cstring>

#include "SdlImpl.h"

#ifdef ZZ_HAVE_X11
#include <SDL_syswm.h>
#include <X11/extensions/shape.h>
#endif

namespace fmx {

namespace {

// Copies the changed part of a premultiplied ARGB32 canvas into an XRGB surface and
// returns the rectangle that changed (empty when nothing did). The surface has no
// alpha: a transparent pixel is premultiplied to zero and shows black, and a
// half-covered edge pixel its colour over black, unless the window is shaped.
SDL_Rect CopyChanged(const TCanvas& C, SDL_Surface* S, bool Stale) {
  const int cw = std::min(C.Width(), S->w), ch = std::min(C.Height(), S->h);
  const auto* src = reinterpret_cast<const uint8_t*>(C.Bits());
  auto* dst = static_cast<uint8_t*>(S->pixels);
  int top = -1, bottom = -1, left = cw, right = -1;
  for (int y = 0; y < ch; ++y) {
    const auto* sr = reinterpret_cast<const uint32_t*>(src + static_cast<size_t>(y) * C.Stride());
    auto* dr = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * S->pitch);
    int l = 0, r = cw - 1;
    if (!Stale) {
      if (std::memcmp(sr, dr, static_cast<size_t>(cw) * 4) == 0) continue;
      while (l < cw && sr[l] == dr[l]) ++l;
      while (r > l && sr[r] == dr[r]) --r;
    }
    std::memcpy(dr + l, sr + l, static_cast<size_t>(r - l + 1) * 4);
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, l);
    right = std::max(right, r);
  }
  if (Stale) {
    // Whatever the form does not cover (while a resize settles) is black.
    for (int y = 0; y < S->h; ++y) {
      auto* dr = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * S->pitch);
      const int from = y < ch ? cw : 0;
      std::fill(dr + from, dr + S->w, 0u);
    }
    return {0, 0, S->w, S->h};
  }
  if (top < 0) return {0, 0, 0, 0};
  return {left, top, right - left + 1, bottom - top + 1};
}

// Copies the painted rectangles of the canvas into the surface; returns them as SDL
// rectangles, clipped to both.
std::vector<SDL_Rect> CopyRegion(const TCanvas& C, SDL_Surface* S, const TPaintRegion& Region) {
  std::vector<SDL_Rect> out;
  const int cw = std::min(C.Width(), S->w), ch = std::min(C.Height(), S->h);
  const float scale = C.DeviceScale();
  const auto* src = reinterpret_cast<const uint8_t*>(C.Bits());
  auto* dst = static_cast<uint8_t*>(S->pixels);
  for (const TRectF& r : Region.Rects()) {
    const int l = std::clamp(static_cast<int>(std::floor(r.Left * scale)), 0, cw);
    const int t = std::clamp(static_cast<int>(std::floor(r.Top * scale)), 0, ch);
    const int rr = std::clamp(static_cast<int>(std::ceil(r.Right * scale)), 0, cw);
    const int b = std::clamp(static_cast<int>(std::ceil(r.Bottom * scale)), 0, ch);
    if (rr <= l || b <= t) continue;
    for (int y = t; y < b; ++y)
      std::memcpy(dst + static_cast<size_t>(y) * S->pitch + static_cast<size_t>(l) * 4,
                  src + static_cast<size_t>(y) * C.Stride() + static_cast<size_t>(l) * 4,
                  static_cast<size_t>(rr - l) * 4);
    out.push_back({l, t, rr - l, b - t});
  }
  return out;
}

}  // namespace

void TSdlPlatform::Impl::Paint(Window* W) {
  W->Dirty = false;
  TCommonCustomForm* f = W->Form;
  if (!f->Visible() || W->HiddenAsMinimised || f->Width() <= 0 || f->Height() <= 0) return;
  if (SDL_GetWindowFlags(W->Win) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) return;
  bool full = false;
  if (ScaleFromEnvironment() == 0) {
    // The drawable's density can change with the display the window is on.
    int w = 0, h = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(W->Win, &w, &h);
    SDL_GetWindowSizeInPixels(W->Win, &pw, &ph);
    if (w > 0 && pw > 0) W->Scale = static_cast<float>(pw) / static_cast<float>(w) * W->Unit;
  }
  f->SetDeviceScale(W->Scale);
  const int cw = std::max(1, static_cast<int>(std::ceil(f->Width() * f->DeviceScale())));
  const int ch = std::max(1, static_cast<int>(std::ceil(f->Height() * f->DeviceScale())));
  if (!W->Canvas || W->Canvas->Width() != cw || W->Canvas->Height() != ch ||
      W->Canvas->DeviceScale() != f->DeviceScale()) {
    if (W->Canvas)
      W->Canvas->SetSize(cw, ch);
    else
      W->Canvas = std::make_unique<TCanvas>(cw, ch);
    W->Canvas->SetDeviceScale(f->DeviceScale());
    full = true;
  }
  // Only the damage is painted; the canvas keeps the rest from the last frame.
  TPaintRegion painted;
  const TRect before = TRect::Bounds(f->Left(), f->Top(), f->Width(), f->Height());
  f->PaintDirty(W->Canvas.get(), &painted, full);
  if (!Exists(f) || Find(f) != W) return;  // a paint handler freed the form
  if (W->HeldEdge != TWindowEdge::NoEdge) {
    // The title bar holds the form to a minimum size when it paints, at the right and
    // bottom; after a resize by the left or top edge the other edge must stay.
    TInputRouter::KeepOppositeEdges(f, W->HeldEdge, before);
    if (!Exists(f) || Find(f) != W) return;
    if (ResizeState.Form != f) W->HeldEdge = TWindowEdge::NoEdge;
  }
  // Damage that kept coming while painting waits for the next frame.
  if (!f->DirtyRegion().IsEmpty()) W->Dirty = true;
  // Fetched after painting: a paint handler may have resized the window (the title bar
  // holds it to a minimum size), which replaces the surface and marks it stale.
  SDL_Surface* s = SDL_GetWindowSurface(W->Win);
  if (s == nullptr) return;
  const bool stale = W->SurfaceStale;
  W->SurfaceStale = false;
  const Uint32 fmt = s->format->format;
  SDL_Rect changed;
  if (s->w != W->Canvas->Width() || s->h != W->Canvas->Height()) {
    // A drawable of another size than the picture (the window is between two sizes,
    // or the window system scales by a factor of its own): SDL scales the whole frame.
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(W->Canvas->Bits()), W->Canvas->Width(), W->Canvas->Height(), 32,
        W->Canvas->Stride(), SDL_PIXELFORMAT_ARGB8888);
    if (src == nullptr) return;
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    SDL_BlitScaled(src, nullptr, s, nullptr);
    SDL_FreeSurface(src);
    changed = {0, 0, s->w, s->h};
  } else if (fmt == SDL_PIXELFORMAT_RGB888 || fmt == SDL_PIXELFORMAT_ARGB8888) {
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
    const bool shaped = f->Transparency();
    if (!stale) {
      // Present just the painted rectangles.
      const std::vector<SDL_Rect> rects = CopyRegion(*W->Canvas, s, painted);
      if (shaped)
        for (const SDL_Rect& r : rects) UpdateShape(W, s, r.y, r.y + r.h);
      if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
      if (rects.empty()) return;
      SDL_UpdateWindowSurfaceRects(W->Win, rects.data(), static_cast<int>(rects.size()));
      ++Frames;
      if (rects.size() > 1 || rects[0].w < s->w || rects[0].h < s->h) ++PartialFrames;
      return;
    }
    changed = CopyChanged(*W->Canvas, s, stale);
    if (shaped) UpdateShape(W, s, 0, W->Canvas->Height());
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  } else {
    // Any other layout: let SDL convert the whole frame.
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(W->Canvas->Bits()), W->Canvas->Width(), W->Canvas->Height(), 32,
        W->Canvas->Stride(), SDL_PIXELFORMAT_ARGB8888);
    if (src == nullptr) return;
    SDL_BlitSurface(src, nullptr, s, nullptr);
    SDL_FreeSurface(src);
    changed = {0, 0, s->w, s->h};
  }
  if (changed.w <= 0 || changed.h <= 0) return;
  SDL_UpdateWindowSurfaceRects(W->Win, &changed, 1);
  ++Frames;
  if (changed.w < s->w || changed.h < s->h) ++PartialFrames;
}

void TSdlPlatform::Impl::PaintDirty() {
  // Painting may free forms or show new ones: walk a snapshot and re-find each.
  std::vector<TCommonCustomForm*> dirty;
  for (auto& w : Windows)
    if (w->Dirty) dirty.push_back(w->Form);
  for (TCommonCustomForm* f : dirty)
    if (Window* w = Find(f)) Paint(w);
}

// --- the shape of a borderless window ---------------------------------------------
// The window surface has no alpha, and without a compositor nothing could blend it
// over the desktop anyway: X's Shape extension cuts what the picture leaves
// transparent out of the window instead (1-bit, which every X server and window
// manager honours; a compositor would show the same shape). The shape is sent only when
// the rows just painted change it, so hovering and typing cost a scan of those rows.

void TSdlPlatform::Impl::UpdateShape(Window* W, SDL_Surface* S, int Top, int Bottom) {
#ifdef ZZ_HAVE_X11
  if (!CanShape) return;
  const TCanvas& c = *W->Canvas;
  if (W->Shape.Width() != c.Width() || W->Shape.Height() != c.Height()) {
    W->Shape.Reset(c.Width(), c.Height());
    W->Shaped = false;
    Top = 0;
    Bottom = c.Height();
  }
  const bool changed = W->Shape.Update(c, Top, Bottom);
  // Edge pixels inside the shape in their own colour, not darkened over black.
  const int w = std::min(c.Width(), S->w);
  const auto* src = reinterpret_cast<const uint8_t*>(c.Bits());
  auto* dst = static_cast<uint8_t*>(S->pixels);
  for (int y = std::max(Top, 0); y < std::min({Bottom, c.Height(), S->h}); ++y)
    if (W->Shape.HasEdgePixels(y))
      TAlphaShape::OpaqueEdges(
          reinterpret_cast<const uint32_t*>(src + static_cast<size_t>(y) * c.Stride()),
          reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * S->pitch), w);
  if (W->Shaped && !changed) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(W->Win, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  Display* d = info.info.x11.display;
  const ::Window xw = info.info.x11.window;
  if (W->Shape.Full()) {
    XShapeCombineMask(d, xw, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> rects;
    for (const TRect& r : W->Shape.Rectangles())
      rects.push_back({static_cast<short>(r.Left), static_cast<short>(r.Top),
                       static_cast<unsigned short>(r.Width()), static_cast<unsigned short>(r.Height())});
    XShapeCombineRectangles(d, xw, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, YXBanded);
  }
  XFlush(d);
  W->Shaped = true;
#else
  (void)W, (void)S, (void)Top, (void)Bottom;
#endif
}

void TSdlPlatform::Impl::ClearShape(Window* W) {
#ifdef ZZ_HAVE_X11
  W->Shape.Reset(0, 0);
  if (!W->Shaped) return;
  W->Shaped = false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(W->Win, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  XShapeCombineMask(info.info.x11.display, info.info.x11.window, ShapeBounding, 0, 0, None, ShapeSet);
  XFlush(info.info.x11.display);
#else
  (void)W;
#endif
}

}  // namespace fmx
