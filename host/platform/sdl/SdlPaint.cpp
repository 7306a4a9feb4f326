// Painting a form into its window: the canvas is painted where it is damaged, copied
// into SDL's window surface and presented; a borderless window takes the shape of what
// its picture shows.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "SdlImpl.h"

#ifdef ZZ_HAVE_XSHAPE
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

// The canvas's pixels as an SDL surface (no copy), for SDL to convert or scale.
SDL_Surface* CanvasSurface(const TCanvas& C) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(C.Bits()), C.Width(),
                                                      C.Height(), 32, C.Stride(), SDL_PIXELFORMAT_ARGB8888);
  // Copied, not blended over what the window showed before.
  if (s != nullptr) SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
  return s;
}

}  // namespace

void TSdlPlatform::Impl::Paint(Window* W) {
  W->Dirty = false;
  TCommonCustomForm* f = W->Form;
  if (!f->Visible() || W->HiddenAsMinimised || f->Width() <= 0 || f->Height() <= 0) return;
  const Uint32 flags = SDL_GetWindowFlags(W->Win);
  if (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) return;
  bool full = false;
  if (ScaleFromEnvironment() == 0) {
    // The drawable's density can change with the display the window is on.
    int w = 0, h = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(W->Win, &w, &h);
    SDL_GetWindowSizeInPixels(W->Win, &pw, &ph);
    if (w > 0 && pw > 0) W->Scale = static_cast<float>(pw) / static_cast<float>(w) * W->Unit;
  }
  f->SetDeviceScale(W->Scale);
  // The canvas is the window's drawable pixel for pixel, or SDL would have to resample
  // every frame (blurred, presented whole, unshaped). A window of the form's size is
  // that size in whole window units; a maximised or full-screen one is the window
  // manager's size, which need not be whole form pixels.
  SDL_Rect units = ToWindow(BoundsOf(f), W->Unit);
  if (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) SDL_GetWindowSize(W->Win, &units.w, &units.h);
  const int cw = ToPixels(units.w, W), ch = ToPixels(units.h, W);
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
  const TRect before = BoundsOf(f);
  // A form that a paint handler freed has left the window list (and W with it).
  f->PaintDirty(W->Canvas.get(), &painted, full);
  if (Find(f) != W) return;
  if (W->HeldEdge != TWindowEdge::NoEdge) {
    // The title bar holds the form to a minimum size when it paints, at the right and
    // bottom; after a resize by the left or top edge the other edge must stay.
    TInputRouter::KeepOppositeEdges(f, W->HeldEdge, before);
    if (Find(f) != W) return;
    if (Router.Gesture().Resized() != f) {
      W->HeldEdge = TWindowEdge::NoEdge;
      W->HeldWindow = {0, 0, 0, 0};
    }
  }
  // Damage that kept coming while painting waits for the next frame.
  if (!f->DirtyRegion().IsEmpty()) W->Dirty = true;
  if (Wayland) {
    PresentWithAlpha(W, painted, full || W->SurfaceStale);
    return;
  }
  // Fetched after painting: a paint handler may have resized the window (the title bar
  // holds it to a minimum size), which replaces the surface and marks it stale.
  SDL_Surface* s = SDL_GetWindowSurface(W->Win);
  if (s == nullptr) return;
  const bool stale = W->SurfaceStale;
  W->SurfaceStale = false;
  const Uint32 fmt = s->format->format;
  const bool sameSize = s->w == W->Canvas->Width() && s->h == W->Canvas->Height();
  SDL_Rect changed;
  if (sameSize && (fmt == SDL_PIXELFORMAT_RGB888 || fmt == SDL_PIXELFORMAT_ARGB8888)) {
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
    // A surface in another layout, or of another size than the picture (the window is
    // between two sizes a moment, or the window system scales by a factor of its
    // own): SDL converts or scales the whole frame.
    SDL_Surface* src = CanvasSurface(*W->Canvas);
    if (src == nullptr) return;
    if (sameSize)
      SDL_BlitSurface(src, nullptr, s, nullptr);
    else
      SDL_BlitScaled(src, nullptr, s, nullptr);
    SDL_FreeSurface(src);
    changed = {0, 0, s->w, s->h};
  }
  if (changed.w <= 0 || changed.h <= 0) return;
  SDL_UpdateWindowSurfaceRects(W->Win, &changed, 1);
  ++Frames;
  if (changed.w < s->w || changed.h < s->h) ++PartialFrames;
}

void TSdlPlatform::Impl::PresentWithAlpha(Window* W, const TPaintRegion& Painted, bool Stale) {
  const TCanvas& c = *W->Canvas;
  if (W->Renderer == nullptr) {
    W->Renderer = SDL_CreateRenderer(W->Win, -1, 0);
    if (W->Renderer == nullptr) {
      // Without EGL (Mesa's libegl-mesa0 and libgl1-mesa-dri) SDL draws nothing on Wayland.
      static bool told = false;
      if (!told) std::fprintf(stderr, "zuzided: no renderer for the window: %s\n", SDL_GetError());
      told = true;
      return;
    }
    Stale = true;
  }
  int tw = 0, th = 0;
  if (W->Texture != nullptr) SDL_QueryTexture(W->Texture, nullptr, nullptr, &tw, &th);
  if (W->Texture == nullptr || tw != c.Width() || th != c.Height()) {
    if (W->Texture != nullptr) SDL_DestroyTexture(W->Texture);
    // Cairo's premultiplied ARGB is what the compositor takes; copied, never blended.
    W->Texture = SDL_CreateTexture(W->Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                   c.Width(), c.Height());
    if (W->Texture == nullptr) return;
    SDL_SetTextureBlendMode(W->Texture, SDL_BLENDMODE_NONE);
    Stale = true;
  }
  W->SurfaceStale = false;
  const auto* bits = reinterpret_cast<const uint8_t*>(c.Bits());
  bool partial = false;
  if (Stale) {
    SDL_UpdateTexture(W->Texture, nullptr, bits, c.Stride());
  } else {
    const float scale = c.DeviceScale();
    int updated = 0;
    for (const TRectF& r : Painted.Rects()) {
      const int l = std::clamp(static_cast<int>(std::floor(r.Left * scale)), 0, c.Width());
      const int t = std::clamp(static_cast<int>(std::floor(r.Top * scale)), 0, c.Height());
      const int rr = std::clamp(static_cast<int>(std::ceil(r.Right * scale)), 0, c.Width());
      const int b = std::clamp(static_cast<int>(std::ceil(r.Bottom * scale)), 0, c.Height());
      if (rr <= l || b <= t) continue;
      const SDL_Rect area{l, t, rr - l, b - t};
      SDL_UpdateTexture(W->Texture, &area, bits + static_cast<size_t>(t) * c.Stride() + static_cast<size_t>(l) * 4,
                        c.Stride());
      ++updated;
      partial = partial || area.w < c.Width() || area.h < c.Height();
    }
    if (updated == 0) return;
  }
  SDL_SetRenderDrawBlendMode(W->Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(W->Renderer, 0, 0, 0, 0);
  SDL_RenderClear(W->Renderer);
  const SDL_Rect all{0, 0, c.Width(), c.Height()};
  SDL_RenderCopy(W->Renderer, W->Texture, nullptr, &all);
  SDL_RenderPresent(W->Renderer);
  ++Frames;
  if (partial) ++PartialFrames;
}

void TSdlPlatform::Impl::PaintDirty() {
  // Painting may free forms or show new ones: walk a snapshot and re-find each.
  std::vector<TWeak<TCommonCustomForm>> dirty;
  for (auto& w : Windows)
    if (w->Dirty) dirty.emplace_back(w->Form);
  for (const auto& link : dirty)
    if (Window* w = Find(link.Get())) Paint(w);
}

// --- the shape of a borderless window ---------------------------------------------
// The window surface has no alpha, and without a compositor nothing could blend it
// over the desktop anyway: X's Shape extension cuts what the picture leaves
// transparent out of the window instead (1-bit, which every X server and window
// manager honours; a compositor would show the same shape). The shape is sent only when
// the rows just painted change it, so hovering and typing cost a scan of those rows.

void TSdlPlatform::Impl::UpdateShape(Window* W, SDL_Surface* S, int Top, int Bottom) {
#ifdef ZZ_HAVE_XSHAPE
  if (!CanShape) return;
  const TCanvas& c = *W->Canvas;
  if (W->Shape.Width() != c.Width() || W->Shape.Height() != c.Height()) {
    W->Shape.Reset(c.Width(), c.Height());
    W->Shaped = false;
    Top = 0;
    Bottom = c.Height();
  }
  const bool changed = W->Shape.Update(c, Top, Bottom);
  std::vector<TRect> shape;
  if (changed || !W->Shaped) {
    shape = W->Shape.WindowShape();
    const bool unshaped = shape.empty() && !W->Shape.Full();
    if (W->Shaped && unshaped != W->Unshaped) {
      // Rows painted before were made opaque for the other way of showing: the next
      // frame copies and presents them all again.
      W->SurfaceStale = W->Dirty = true;
    }
    W->Unshaped = unshaped;
  }
  // Edge pixels inside the shape in their own colour, not darkened over black.
  const int w = std::min(c.Width(), S->w);
  const auto* src = reinterpret_cast<const uint8_t*>(c.Bits());
  auto* dst = static_cast<uint8_t*>(S->pixels);
  const uint32_t shows = W->Unshaped ? 1 : TAlphaShape::Threshold;
  for (int y = std::max(Top, 0); y < std::min({Bottom, c.Height(), S->h}); ++y)
    if (W->Shape.HasEdgePixels(y))
      TAlphaShape::OpaqueEdges(
          reinterpret_cast<const uint32_t*>(src + static_cast<size_t>(y) * c.Stride()),
          reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * S->pitch), w, shows);
  if (W->Shaped && !changed) return;
  Display* d;
  ::Window xw;
  if (!XWindowOf(W->Win, d, xw)) return;
  if (shape.empty()) {
    XShapeCombineMask(d, xw, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> rects;
    rects.reserve(shape.size());
    for (const TRect& r : shape)
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
#ifdef ZZ_HAVE_XSHAPE
  W->Shape.Reset(0, 0);
  W->Unshaped = false;
  if (!W->Shaped) return;
  W->Shaped = false;
  Display* d;
  ::Window xw;
  if (!XWindowOf(W->Win, d, xw)) return;
  XShapeCombineMask(d, xw, ShapeBounding, 0, 0, None, ShapeSet);
  XFlush(d);
#else
  (void)W;
#endif
}

}  // namespace fmx
