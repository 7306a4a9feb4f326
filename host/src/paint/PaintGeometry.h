// Private to the host: rectangle arithmetic the primitives' painting shares.
#pragma once

#include <algorithm>
#include <cmath>

#include "host/Canvas.h"
#include "host/Graphics.h"

namespace fmx::paintgeometry {

inline float StrokeInset(const TStrokeBrush* Stroke) {
  return Stroke->Kind() == TBrushKind::None ? 0.0f : Stroke->Thickness() / 2;
}

inline TRectF Inset(const TRectF& R, float D) {
  return {R.Left + D, R.Top + D, std::max(R.Left + D, R.Right - D),
          std::max(R.Top + D, R.Bottom - D)};
}

// The largest rectangle of the aspect of W x H that fits in Box, centred.
inline TRectF FitRect(float W, float H, const TRectF& Box) {
  if (W <= 0 || H <= 0 || Box.IsEmpty()) return {};
  const float Scale = std::min(Box.Width() / W, Box.Height() / H);
  const float FW = W * Scale, FH = H * Scale;
  const float L = Box.Left + (Box.Width() - FW) / 2, T = Box.Top + (Box.Height() - FH) / 2;
  return {L, T, L + FW, T + FH};
}

inline TRectF CentredRect(float W, float H, const TRectF& Box) {
  const float L = std::round(Box.Left + (Box.Width() - W) / 2);
  const float T = std::round(Box.Top + (Box.Height() - H) / 2);
  return {L, T, L + W, T + H};
}

// Pictures are drawn fitted into the box (scaled up or down), keeping their aspect.
inline void DrawFitted(TCanvas* C, const TBitmap& B, const TRectF& Box, float Opacity) {
  const auto W = static_cast<float>(B.Width()), H = static_cast<float>(B.Height());
  C->DrawBitmap(B, {0, 0, W, H}, FitRect(W, H, Box), Opacity);
}

}  // namespace fmx::paintgeometry
