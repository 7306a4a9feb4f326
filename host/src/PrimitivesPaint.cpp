// How the primitive controls draw themselves. Each Paint draws in local coordinates
// on Canvas() and does nothing when there is no canvas (a paint pass run only for
// its side effects on layout).
#include <algorithm>
#include <cmath>

#include "host/Canvas.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"

namespace fmx {

namespace {

float StrokeInset(const TStrokeBrush* Stroke) {
  return Stroke->Kind() == TBrushKind::None ? 0.0f : Stroke->Thickness() / 2;
}

TRectF Inset(const TRectF& R, float D) {
  return {R.Left + D, R.Top + D, std::max(R.Left + D, R.Right - D),
          std::max(R.Top + D, R.Bottom - D)};
}

// The largest rectangle of the aspect of W x H that fits in Box, centred.
TRectF FitRect(float W, float H, const TRectF& Box) {
  if (W <= 0 || H <= 0 || Box.IsEmpty()) return {};
  const float Scale = std::min(Box.Width() / W, Box.Height() / H);
  const float FW = W * Scale, FH = H * Scale;
  const float L = Box.Left + (Box.Width() - FW) / 2, T = Box.Top + (Box.Height() - FH) / 2;
  return {L, T, L + FW, T + FH};
}

TRectF CentredRect(float W, float H, const TRectF& Box) {
  const float L = std::round(Box.Left + (Box.Width() - W) / 2);
  const float T = std::round(Box.Top + (Box.Height() - H) / 2);
  return {L, T, L + W, T + H};
}

// Pictures are drawn fitted into the box (scaled up or down), keeping their aspect.
void DrawFitted(TCanvas* C, const TBitmap& B, const TRectF& Box, float Opacity) {
  const auto W = static_cast<float>(B.Width()), H = static_cast<float>(B.Height());
  C->DrawBitmap(B, {0, 0, W, H}, FitRect(W, H, Box), Opacity);
}

}  // namespace

// ---------------------------------------------------------------------------
// Shapes

void TRectangle::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  const TRectF R = LocalRect();
  const float Opacity = AbsoluteOpacity();
  // The fill covers the whole rectangle; the stroke lies inside it, over the fill.
  C->FillRect(R, FXRadius, FYRadius, FCorners, Opacity, *Fill());
  C->DrawRect(R, FXRadius, FYRadius, FCorners, Opacity, *Stroke());
}

void TPath::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || FData.IsEmpty()) return;
  const float Opacity = AbsoluteOpacity();
  // Keep the whole stroke inside the control, as for the other shapes.
  const TRectF Box = Inset(LocalRect(), StrokeInset(Stroke()));
  TRectF Dest = Box;
  bool Stretch = true;
  switch (FWrapMode) {
    case TPathWrapMode::Stretch:
      break;
    case TPathWrapMode::Fit: {
      const TRectF B = FData.GetBounds();
      if (B.Width() > 0 && B.Height() > 0) Dest = FitRect(B.Width(), B.Height(), Box);
      break;
    }
    case TPathWrapMode::Original:
    case TPathWrapMode::Tile:
      Dest = LocalRect();
      Stretch = false;
      break;
  }
  C->FillPath(FData, Dest, Stretch, Opacity, *Fill());
  C->DrawPath(FData, Dest, Stretch, Opacity, *Stroke());
}

void TLine::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  const float W = Width(), H = Height();
  // Lines along an edge sit half a pen inside it, so a one-pixel line on a
  // one-pixel-high control covers exactly its pixel row.
  const float D = Stroke()->Thickness() / 2;
  TPointF A, B;
  switch (FLineType) {
    case TLineType::Diagonal:
      A = {D, D};
      B = {W - D, H - D};
      break;
    case TLineType::Top:
      A = {0, D};
      B = {W, D};
      break;
    case TLineType::Bottom:
      A = {0, H - D};
      B = {W, H - D};
      break;
    case TLineType::Left:
      A = {D, 0};
      B = {D, H};
      break;
    case TLineType::Right:
      A = {W - D, 0};
      B = {W - D, H};
      break;
  }
  C->DrawLine(A, B, AbsoluteOpacity(), *Stroke());
}

// ---------------------------------------------------------------------------
// Text

TFont TTextControl::ResolvedFont() const {
  const TFont* Own = FTextSettings.Font();
  const TStyledSettings S = FStyledSettings;
  return TFont(S.Contains(TStyledSetting::Family) ? std::string(DefaultFontFamily) : Own->Family(),
               S.Contains(TStyledSetting::Size) ? DefaultFontSize : Own->Size(),
               S.Contains(TStyledSetting::Style) ? TFontStyles{} : Own->Style());
}

TAlphaColor TTextControl::ResolvedFontColor() const {
  return FStyledSettings.Contains(TStyledSetting::FontColor) ? DefaultFontColor
                                                             : FTextSettings.FontColor();
}

void TTextControl::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || FText.empty()) return;
  const TFont Font = ResolvedFont();
  C->FillText(LocalRect(), FText, FTextSettings.WordWrap(), AbsoluteOpacity(), Font,
              ResolvedFontColor(), FTextSettings.HorzAlign(), FTextSettings.VertAlign());
}

// ---------------------------------------------------------------------------
// Pictures

void TImage::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || FBitmap.IsEmpty()) return;
  const TBitmap& B = FBitmap;
  const auto W = static_cast<float>(B.Width()), H = static_cast<float>(B.Height());
  const TRectF Box = LocalRect();
  const TRectF Src{0, 0, W, H};
  const float Opacity = AbsoluteOpacity();
  switch (FWrapMode) {
    case TImageWrapMode::Fit:
      DrawFitted(C, B, Box, Opacity);
      break;
    case TImageWrapMode::Stretch:
      C->DrawBitmap(B, Src, Box, Opacity);
      break;
    case TImageWrapMode::Original:
      C->DrawBitmap(B, Src, {0, 0, W, H}, Opacity);
      break;
    case TImageWrapMode::Center:
      C->DrawBitmap(B, Src, CentredRect(W, H, Box), Opacity);
      break;
    case TImageWrapMode::Place:
      // Natural size, shrunk (never grown) to fit, centred.
      if (W <= Box.Width() && H <= Box.Height())
        C->DrawBitmap(B, Src, CentredRect(W, H, Box), Opacity);
      else
        DrawFitted(C, B, Box, Opacity);
      break;
    case TImageWrapMode::Tile: {
      // Bounded: a tiny picture in a huge control must not mean millions of draws.
      // Counted in floating point, so no size (however large) is converted to an
      // integer at all.
      const double Tiles = std::ceil(double(Box.Width()) / W) * std::ceil(double(Box.Height()) / H);
      if (!(Tiles <= 4096)) {
        C->DrawBitmap(B, Src, Box, Opacity);
        break;
      }
      C->SaveState();
      C->IntersectClipRect(Box);
      for (float Y = 0; Y < Box.Height(); Y += H)
        for (float X = 0; X < Box.Width(); X += W) C->DrawBitmap(B, Src, {X, Y, X + W, Y + H}, Opacity);
      C->RestoreState();
      break;
    }
  }
}

void TGlyph::Paint() {
  TCanvas* C = Canvas();
  TBaseImageList* List = Images();
  if (C == nullptr || List == nullptr) return;
  const TBitmap* B = List->Bitmap(FImageIndex);
  if (B == nullptr || B->IsEmpty()) return;
  DrawFitted(C, *B, LocalRect(), AbsoluteOpacity());
}

void TSizeGrip::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  // Six dots in a triangle against the bottom-right corner, each with a light
  // highlight below-right of a grey dot, the usual raised look.
  constexpr float Dot = 2, Pitch = 4, Margin = 2;
  const TBrush Shade(TBrushKind::Solid, 0xFF808080);
  const TBrush Light(TBrushKind::Solid, 0xFFFFFFFF);
  const float Opacity = AbsoluteOpacity();
  const float Right = std::floor(Width()) - Margin, Bottom = std::floor(Height()) - Margin;
  for (int Row = 0; Row < 3; ++Row) {
    for (int Col = 0; Col < 3 - Row; ++Col) {
      const float X = Right - Dot - 1 - Col * Pitch;
      const float Y = Bottom - Dot - 1 - Row * Pitch;
      if (X < 0 || Y < 0) continue;
      C->FillRect({X + 1, Y + 1, X + 1 + Dot, Y + 1 + Dot}, 0, 0, AllCorners, Opacity, Light);
      C->FillRect({X, Y, X + Dot, Y + Dot}, 0, 0, AllCorners, Opacity, Shade);
    }
  }
}

}  // namespace fmx
