// TCanvas on a Cairo ARGB32 image surface. The surface and its cairo_t live as long
// as the canvas (or until a resize): creating them per frame costs more than
// drawing a simple frame.
#include "host/Canvas.h"

#include <cairo.h>
#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "paint/TextShaping.h"
#include "paint/WebdingsSymbols.h"

namespace fmx {

namespace {

void CheckCanvasSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0 || AWidth > TBitmap::MaxSide || AHeight > TBitmap::MaxSide)
    throw EBitmapError("canvas size " + std::to_string(AWidth) + " x " + std::to_string(AHeight) +
                       " is outside 0.." + std::to_string(TBitmap::MaxSide));
}

// Cairo takes colour components as doubles, not premultiplied.
void SetSource(cairo_t* Cr, TAlphaColor C, float Opacity) {
  const double A = ((C >> 24) & 0xFF) / 255.0 * std::clamp(Opacity, 0.0f, 1.0f);
  cairo_set_source_rgba(Cr, ((C >> 16) & 0xFF) / 255.0, ((C >> 8) & 0xFF) / 255.0,
                        (C & 0xFF) / 255.0, A);
}

bool Paints(const TBrush& B, float Opacity) {
  // Gradient, bitmap and resource brushes are drawn with their colour: this host
  // has no gradients, and a flat colour beats drawing nothing.
  return B.Kind() != TBrushKind::None && (B.Color() >> 24) != 0 && Opacity > 0;
}

bool Finite(const TRectF& R) {
  return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) &&
         std::isfinite(R.Bottom);
}

// A rectangle whose chosen corners are rounded with elliptical quarter arcs.
void RoundRectPath(cairo_t* Cr, double L, double T, double R, double B, double Rx, double Ry,
                   TCorners Corners) {
  Rx = std::clamp(Rx, 0.0, (R - L) / 2);
  Ry = std::clamp(Ry, 0.0, (B - T) / 2);
  cairo_new_sub_path(Cr);
  if (Rx <= 0 || Ry <= 0 || Corners.Empty()) {
    cairo_rectangle(Cr, L, T, R - L, B - T);
    return;
  }
  // Control-point distance of a cubic quarter ellipse.
  constexpr double K = 0.5522847498;
  const double Kx = Rx * K, Ky = Ry * K;
  const bool TL = Corners.Contains(TCorner::TopLeft), TR = Corners.Contains(TCorner::TopRight),
             BR = Corners.Contains(TCorner::BottomRight),
             BL = Corners.Contains(TCorner::BottomLeft);
  cairo_move_to(Cr, TL ? L + Rx : L, T);
  if (TR) {
    cairo_line_to(Cr, R - Rx, T);
    cairo_curve_to(Cr, R - Rx + Kx, T, R, T + Ry - Ky, R, T + Ry);
  } else {
    cairo_line_to(Cr, R, T);
  }
  if (BR) {
    cairo_line_to(Cr, R, B - Ry);
    cairo_curve_to(Cr, R, B - Ry + Ky, R - Rx + Kx, B, R - Rx, B);
  } else {
    cairo_line_to(Cr, R, B);
  }
  if (BL) {
    cairo_line_to(Cr, L + Rx, B);
    cairo_curve_to(Cr, L + Rx - Kx, B, L, B - Ry + Ky, L, B - Ry);
  } else {
    cairo_line_to(Cr, L, B);
  }
  if (TL) {
    cairo_line_to(Cr, L, T + Ry);
    cairo_curve_to(Cr, L, T + Ry - Ky, L + Rx - Kx, T, L + Rx, T);
  }
  cairo_close_path(Cr);
}

}  // namespace

namespace {
// A window's kept picture is megabytes that are all written on its first frame: from the
// process's allocator each 4 KiB page of it is a fault of its own (a thousand for a
// 1280 x 800 window, several microseconds each on a virtual machine). Pictures that big
// get pages of their own that the kernel may back with 2 MiB pages instead, as the
// host's object memory does; small ones stay with cairo.
constexpr size_t kOwnPagesFrom = size_t{1} << 20;

struct TMappedPixels {
  void* Base;
  size_t Bytes;
};
const cairo_user_data_key_t kMappedPixelsKey{};

void UnmapPixels(void* Data) {
  auto* m = static_cast<TMappedPixels*>(Data);
  munmap(m->Base, m->Bytes);
  delete m;
}

cairo_surface_t* NewSurface(int AWidth, int AHeight) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, AWidth);
  const size_t bytes = stride > 0 ? static_cast<size_t>(stride) * static_cast<size_t>(AHeight) : 0;
  if (bytes < kOwnPagesFrom) return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, AWidth, AHeight);
  // Fresh pages read zero, a transparent picture, as cairo's own are.
  size_t kept = bytes;
  void* data = detail::MapHugePages(kept);
  if (data == nullptr) return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, AWidth, AHeight);
  cairo_surface_t* s = cairo_image_surface_create_for_data(static_cast<unsigned char*>(data),
                                                           CAIRO_FORMAT_ARGB32, AWidth, AHeight, stride);
  auto* owner = new TMappedPixels{data, kept};
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_set_user_data(s, &kMappedPixelsKey, owner, UnmapPixels) != CAIRO_STATUS_SUCCESS) {
    UnmapPixels(owner);
    cairo_surface_destroy(s);
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, AWidth, AHeight);
  }
  return s;
}
}  // namespace

struct TCanvas::Impl {
  cairo_surface_t* Surface = nullptr;
  cairo_t* Cr = nullptr;
  int Width = 0;
  int Height = 0;
  int SaveDepth = 0;
  double Scale = 1.0;

  void Create(int AWidth, int AHeight) {
    cairo_surface_t* S = NewSurface(AWidth, AHeight);
    if (cairo_surface_status(S) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(S);
      throw EBitmapError("cannot create a canvas of " + std::to_string(AWidth) + " x " +
                         std::to_string(AHeight));
    }
    cairo_t* C = cairo_create(S);
    Destroy();
    Surface = S;
    Cr = C;
    Width = AWidth;
    Height = AHeight;
    SaveDepth = 0;
    cairo_scale(Cr, Scale, Scale);
  }
  void Destroy() {
    if (Cr) cairo_destroy(Cr);
    if (Surface) cairo_surface_destroy(Surface);
    Cr = nullptr;
    Surface = nullptr;
  }
  ~Impl() { Destroy(); }

  void DrawShapedText(const TRectF& R, std::string_view Text, bool WordWrap, const TFont& Font,
                      TTextAlign HorzAlign, TTextAlign VertAlign);
  void DrawWebdingsText(const TRectF& R, std::string_view Text, const TFont& Font,
                        TTextAlign HorzAlign, TTextAlign VertAlign);
};

namespace {
float AlignOffset(TTextAlign A, float Space) {
  switch (A) {
    case TTextAlign::Center:
      return Space / 2;
    case TTextAlign::Trailing:
      return Space;
    default:
      return 0;
  }
}
}  // namespace

TCanvas::TCanvas(int AWidth, int AHeight) : FImpl(std::make_unique<Impl>()) {
  CheckCanvasSize(AWidth, AHeight);
  FImpl->Create(AWidth, AHeight);
}

TCanvas::~TCanvas() = default;

int TCanvas::Width() const { return FImpl->Width; }
int TCanvas::Height() const { return FImpl->Height; }

void TCanvas::SetSize(int AWidth, int AHeight) {
  CheckCanvasSize(AWidth, AHeight);
  FImpl->Create(AWidth, AHeight);
}

const uint32_t* TCanvas::Bits() const {
  cairo_surface_flush(FImpl->Surface);
  return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(FImpl->Surface));
}

int TCanvas::Stride() const { return cairo_image_surface_get_stride(FImpl->Surface); }

void TCanvas::CopyTo(TBitmap& Dest) const {
  const uint32_t* Src = Bits();
  TBitmap Copy(FImpl->Width, FImpl->Height);
  const int StrideBytes = Stride();
  for (int Y = 0; Y < FImpl->Height; ++Y)
    std::memcpy(Copy.Bits() + static_cast<size_t>(Y) * FImpl->Width,
                reinterpret_cast<const uint8_t*>(Src) + static_cast<size_t>(Y) * StrideBytes,
                static_cast<size_t>(FImpl->Width) * 4);
  Dest.Assign(&Copy);
}

void TCanvas::Clear(TAlphaColor Color) {
  cairo_t* Cr = FImpl->Cr;
  cairo_save(Cr);
  cairo_reset_clip(Cr);
  cairo_identity_matrix(Cr);
  cairo_set_operator(Cr, CAIRO_OPERATOR_SOURCE);
  SetSource(Cr, Color, 1.0f);
  cairo_paint(Cr);
  cairo_restore(Cr);
}

void TCanvas::SaveState() {
  cairo_save(FImpl->Cr);
  ++FImpl->SaveDepth;
}

void TCanvas::RestoreState() {
  // An unmatched restore would put Cairo into an error state for good.
  if (FImpl->SaveDepth == 0) return;
  cairo_restore(FImpl->Cr);
  --FImpl->SaveDepth;
}

void TCanvas::Translate(float DX, float DY) {
  if (!std::isfinite(DX) || !std::isfinite(DY)) return;
  cairo_translate(FImpl->Cr, DX, DY);
}

void TCanvas::SetDeviceScale(float Value) {
  if (!(Value >= 0.25f && Value <= 8.0f)) Value = 1.0f;
  FImpl->Scale = Value;
  cairo_identity_matrix(FImpl->Cr);
  cairo_scale(FImpl->Cr, Value, Value);
}

float TCanvas::DeviceScale() const { return static_cast<float>(FImpl->Scale); }

void TCanvas::ClipToRects(const std::vector<TRectF>& Rects) {
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  // Whole device pixels: a clip edge through the middle of a pixel would blend the
  // old picture with the new one there.
  cairo_matrix_t m;
  cairo_get_matrix(Cr, &m);
  for (const TRectF& R : Rects) {
    if (!Finite(R) || R.IsEmpty()) continue;
    double l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
    cairo_user_to_device(Cr, &l, &t);
    cairo_user_to_device(Cr, &r, &b);
    l = std::floor(std::min(l, r));
    t = std::floor(std::min(t, b));
    r = std::ceil(std::max(r, l));
    b = std::ceil(std::max(b, t));
    cairo_identity_matrix(Cr);
    cairo_rectangle(Cr, l, t, r - l, b - t);
    cairo_set_matrix(Cr, &m);
  }
  cairo_clip(Cr);
}

TRectF TCanvas::ClipBounds() const {
  double l, t, r, b;
  cairo_clip_extents(FImpl->Cr, &l, &t, &r, &b);
  return {static_cast<float>(l), static_cast<float>(t), static_cast<float>(r), static_cast<float>(b)};
}

void TCanvas::ClearClipped(TAlphaColor Color) {
  cairo_t* Cr = FImpl->Cr;
  cairo_save(Cr);
  cairo_set_operator(Cr, CAIRO_OPERATOR_SOURCE);
  SetSource(Cr, Color, 1.0f);
  cairo_paint(Cr);
  cairo_restore(Cr);
}

void TCanvas::IntersectClipRect(const TRectF& R) {
  if (!Finite(R)) return;
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  cairo_rectangle(Cr, R.Left, R.Top, std::max(0.0f, R.Width()), std::max(0.0f, R.Height()));
  cairo_clip(Cr);
}

void TCanvas::FillRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners,
                       float Opacity, const TBrush& Brush) {
  if (!Paints(Brush, Opacity) || R.IsEmpty() || !Finite(R)) return;
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  RoundRectPath(Cr, R.Left, R.Top, R.Right, R.Bottom, XRadius, YRadius, Corners);
  SetSource(Cr, Brush.Color(), Opacity);
  cairo_fill(Cr);
}

void TCanvas::DrawRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners,
                       float Opacity, const TStrokeBrush& Stroke) {
  const double T = Stroke.Thickness();
  if (!Paints(Stroke, Opacity) || !(T > 0) || R.IsEmpty() || !Finite(R)) return;
  cairo_t* Cr = FImpl->Cr;
  // Centre the pen half a thickness inside so the whole stroke stays within R; a
  // stroke thicker than the rectangle just fills it.
  const double H = T / 2;
  const double L = R.Left + H, Tp = R.Top + H, Rt = R.Right - H, B = R.Bottom - H;
  cairo_new_path(Cr);
  SetSource(Cr, Stroke.Color(), Opacity);
  if (Rt <= L || B <= Tp) {
    RoundRectPath(Cr, R.Left, R.Top, R.Right, R.Bottom, XRadius, YRadius, Corners);
    cairo_fill(Cr);
    return;
  }
  RoundRectPath(Cr, L, Tp, Rt, B, std::max(0.0, XRadius - H), std::max(0.0, YRadius - H), Corners);
  cairo_set_line_width(Cr, T);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(Cr);
}

void TCanvas::FillEllipse(const TRectF& R, float Opacity, const TBrush& Brush) {
  if (!Paints(Brush, Opacity) || R.IsEmpty() || !Finite(R)) return;
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  cairo_save(Cr);
  cairo_translate(Cr, (R.Left + R.Right) / 2.0, (R.Top + R.Bottom) / 2.0);
  cairo_scale(Cr, R.Width() / 2.0, R.Height() / 2.0);
  cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(Cr);
  SetSource(Cr, Brush.Color(), Opacity);
  cairo_fill(Cr);
}

void TCanvas::DrawLine(TPointF A, TPointF B, float Opacity, const TStrokeBrush& Stroke) {
  if (!Paints(Stroke, Opacity) || !(Stroke.Thickness() > 0)) return;
  if (!std::isfinite(A.X) || !std::isfinite(A.Y) || !std::isfinite(B.X) || !std::isfinite(B.Y))
    return;
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  cairo_move_to(Cr, A.X, A.Y);
  cairo_line_to(Cr, B.X, B.Y);
  cairo_set_line_width(Cr, Stroke.Thickness());
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_BUTT);
  SetSource(Cr, Stroke.Color(), Opacity);
  cairo_stroke(Cr);
}

namespace {

// Builds the path in device space points (not a Cairo scale) so that the stroke keeps
// its thickness however far the path is stretched.
void BuildPath(cairo_t* Cr, const TPathData& Path, const TRectF& Dest, bool Stretch) {
  double Sx = 1, Sy = 1, Ox = Dest.Left, Oy = Dest.Top;
  if (Stretch) {
    const TRectF B = Path.GetBounds();
    // A flat dimension cannot be stretched; centre it in Dest instead.
    if (B.Width() > 0) {
      Sx = Dest.Width() / B.Width();
      Ox = Dest.Left - B.Left * Sx;
    } else {
      Ox = (Dest.Left + Dest.Right) / 2.0 - B.Left;
    }
    if (B.Height() > 0) {
      Sy = Dest.Height() / B.Height();
      Oy = Dest.Top - B.Top * Sy;
    } else {
      Oy = (Dest.Top + Dest.Bottom) / 2.0 - B.Top;
    }
  }
  auto X = [&](float V) { return V * Sx + Ox; };
  auto Y = [&](float V) { return V * Sy + Oy; };
  cairo_new_path(Cr);
  for (const TPathPoint& P : Path.Points()) {
    switch (P.Kind) {
      case TPathPointKind::MoveTo:
        cairo_move_to(Cr, X(P.Point.X), Y(P.Point.Y));
        break;
      case TPathPointKind::LineTo:
        cairo_line_to(Cr, X(P.Point.X), Y(P.Point.Y));
        break;
      case TPathPointKind::CurveTo:
        cairo_curve_to(Cr, X(P.Control1.X), Y(P.Control1.Y), X(P.Control2.X), Y(P.Control2.Y),
                       X(P.Point.X), Y(P.Point.Y));
        break;
      case TPathPointKind::Close:
        cairo_close_path(Cr);
        break;
    }
  }
}

}  // namespace

void TCanvas::FillPath(const TPathData& Path, const TRectF& Dest, bool Stretch, float Opacity,
                       const TBrush& Brush) {
  if (!Paints(Brush, Opacity) || Path.IsEmpty() || !Finite(Dest)) return;
  cairo_t* Cr = FImpl->Cr;
  BuildPath(Cr, Path, Dest, Stretch);
  SetSource(Cr, Brush.Color(), Opacity);
  cairo_fill(Cr);
}

void TCanvas::DrawPath(const TPathData& Path, const TRectF& Dest, bool Stretch, float Opacity,
                       const TStrokeBrush& Stroke) {
  if (!Paints(Stroke, Opacity) || !(Stroke.Thickness() > 0) || Path.IsEmpty() || !Finite(Dest))
    return;
  cairo_t* Cr = FImpl->Cr;
  BuildPath(Cr, Path, Dest, Stretch);
  cairo_set_line_width(Cr, Stroke.Thickness());
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  SetSource(Cr, Stroke.Color(), Opacity);
  cairo_stroke(Cr);
}

void TCanvas::DrawBitmap(const TBitmap& Bitmap, const TRectF& Src, const TRectF& Dest,
                         float Opacity) {
  if (Bitmap.IsEmpty() || Src.IsEmpty() || Dest.IsEmpty() || !(Opacity > 0) || !Finite(Src) ||
      !Finite(Dest))
    return;
  // Cairo only reads from a source surface; the cast does not lead to writes.
  cairo_surface_t* Img = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(Bitmap.Bits())), CAIRO_FORMAT_ARGB32,
      Bitmap.Width(), Bitmap.Height(), Bitmap.Width() * 4);
  if (cairo_surface_status(Img) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(Img);
    return;
  }
  cairo_t* Cr = FImpl->Cr;
  cairo_save(Cr);
  cairo_new_path(Cr);
  cairo_rectangle(Cr, Dest.Left, Dest.Top, Dest.Width(), Dest.Height());
  cairo_clip(Cr);
  const double Sx = Dest.Width() / Src.Width(), Sy = Dest.Height() / Src.Height();
  cairo_translate(Cr, Dest.Left, Dest.Top);
  cairo_scale(Cr, Sx, Sy);
  cairo_set_source_surface(Cr, Img, -Src.Left, -Src.Top);
  // Unscaled pictures stay pixel-exact; scaled ones are smoothed.
  cairo_pattern_set_filter(cairo_get_source(Cr),
                           (Sx == 1 && Sy == 1) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(Cr), CAIRO_EXTEND_PAD);
  cairo_paint_with_alpha(Cr, std::min(1.0f, Opacity));
  cairo_restore(Cr);
  cairo_surface_destroy(Img);
}

namespace {

// The fall-off of a blurred edge, from full colour to none: a smooth step, close to
// the integral of a Gaussian.
void AddFalloffStops(cairo_pattern_t* P, TAlphaColor C, float Opacity) {
  static constexpr double kStops[][2] = {
      {0.0, 1.0}, {0.2, 0.9}, {0.4, 0.65}, {0.6, 0.35}, {0.8, 0.1}, {1.0, 0.0}};
  const double A = ((C >> 24) & 0xFF) / 255.0 * std::clamp(Opacity, 0.0f, 1.0f);
  for (const auto& S : kStops)
    cairo_pattern_add_color_stop_rgba(P, S[0], ((C >> 16) & 0xFF) / 255.0, ((C >> 8) & 0xFF) / 255.0,
                                      (C & 0xFF) / 255.0, A * S[1]);
}

void FillWith(cairo_t* Cr, cairo_pattern_t* P, double L, double T, double W, double H) {
  cairo_new_path(Cr);
  cairo_rectangle(Cr, L, T, W, H);
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  cairo_pattern_destroy(P);
}

}  // namespace

void TCanvas::FillSoftRect(const TRectF& R, float Blur, float Opacity, TAlphaColor Color) {
  if (!Finite(R) || R.IsEmpty() || !(Opacity > 0) || (Color >> 24) == 0) return;
  const TBrush Solid(TBrushKind::Solid, Color);
  if (!(Blur > 0) || !std::isfinite(Blur)) {
    FillRect(R, 0, 0, AllCorners, Opacity, Solid);
    return;
  }
  // The soft band cannot be wider than the rectangle is deep, or the sides would overlap.
  const double B = std::min<double>(Blur, std::min(R.Width(), R.Height()));
  const double H = B / 2;
  // The full-colour core, the four edge bands (linear fall-off outwards) and the four
  // corners (radial fall-off from the core's corner).
  const double CL = R.Left + H, CT = R.Top + H, CR = R.Right - H, CB = R.Bottom - H;
  cairo_t* Cr = FImpl->Cr;
  cairo_save(Cr);
  if (CR > CL && CB > CT) FillRect({float(CL), float(CT), float(CR), float(CB)}, 0, 0, AllCorners, Opacity, Solid);
  auto Linear = [&](double X0, double Y0, double X1, double Y1) {
    cairo_pattern_t* P = cairo_pattern_create_linear(X0, Y0, X1, Y1);
    AddFalloffStops(P, Color, Opacity);
    return P;
  };
  auto Radial = [&](double X, double Y) {
    cairo_pattern_t* P = cairo_pattern_create_radial(X, Y, 0, X, Y, B);
    AddFalloffStops(P, Color, Opacity);
    return P;
  };
  const double W = std::max(0.0, CR - CL), Ht = std::max(0.0, CB - CT);
  FillWith(Cr, Linear(CL, CT, CL, CT - B), CL, CT - B, W, B);  // top
  FillWith(Cr, Linear(CL, CB, CL, CB + B), CL, CB, W, B);      // bottom
  FillWith(Cr, Linear(CL, CT, CL - B, CT), CL - B, CT, B, Ht);  // left
  FillWith(Cr, Linear(CR, CT, CR + B, CT), CR, CT, B, Ht);      // right
  FillWith(Cr, Radial(CL, CT), CL - B, CT - B, B, B);
  FillWith(Cr, Radial(CR, CT), CR, CT - B, B, B);
  FillWith(Cr, Radial(CL, CB), CL - B, CB, B, B);
  FillWith(Cr, Radial(CR, CB), CR, CB, B, B);
  cairo_restore(Cr);
}

void TCanvas::Impl::DrawShapedText(const TRectF& R, std::string_view Text, bool WordWrap,
                                   const TFont& Font, TTextAlign HorzAlign, TTextAlign VertAlign) {
  const text::LayoutRef L =
      text::AcquireLayout(Font, Text, WordWrap ? R.Width() : -1.0f, WordWrap, HorzAlign);
  // A wrapped layout already aligns its lines inside the width; otherwise the block
  // is placed by its own logical extent.
  const float X = WordWrap ? R.Left : R.Left + AlignOffset(HorzAlign, R.Width() - L->W) - L->X;
  const float Y = R.Top + AlignOffset(VertAlign, R.Height() - L->H) - L->Y;
  cairo_move_to(Cr, X, Y);
  pango_cairo_show_layout(Cr, L->Layout);
}

void TCanvas::Impl::DrawWebdingsText(const TRectF& R, std::string_view Text, const TFont& Font,
                                     TTextAlign HorzAlign, TTextAlign VertAlign) {
  const TFont Plain(DefaultFontFamily, Font.Size(), Font.Style());
  const TSizeF Total = text::Measure(Font, Text, -1, false);
  float X = R.Left + AlignOffset(HorzAlign, R.Width() - Total.Width);
  const float Y = R.Top + AlignOffset(VertAlign, R.Height() - Total.Height);
  for (const webdings::Run& Run : webdings::Split(Text)) {
    if (Run.Symbol) {
      webdings::Draw(Cr, Run.Text[0], X, Y, Total.Height, Font.Size());
      X += static_cast<float>(webdings::Advance(Font.Size()));
    } else {
      const text::LayoutRef L = text::AcquireLayout(Plain, Run.Text, -1, false, TTextAlign::Leading);
      cairo_move_to(Cr, X - L->X, Y + (Total.Height - L->H) / 2 - L->Y);
      pango_cairo_show_layout(Cr, L->Layout);
      X += L->W;
    }
  }
}

void TCanvas::FillText(const TRectF& R, const std::string& Text, bool WordWrap, float Opacity,
                       const TFont& Font, TAlphaColor Color, TTextAlign HorzAlign,
                       TTextAlign VertAlign) {
  if (Text.empty() || !(Font.Size() > 0) || !(Opacity > 0) || (Color >> 24) == 0 || !Finite(R))
    return;
  cairo_t* Cr = FImpl->Cr;
  cairo_new_path(Cr);
  SetSource(Cr, Color, Opacity);
  if (webdings::IsFamily(Font.Family()))
    FImpl->DrawWebdingsText(R, Text, Font, HorzAlign, VertAlign);
  else
    FImpl->DrawShapedText(R, Text, WordWrap, Font, HorzAlign, VertAlign);
  cairo_new_path(Cr);
}

}  // namespace fmx
