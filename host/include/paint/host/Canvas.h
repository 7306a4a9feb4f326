// The drawing surface behind every control: an ARGB32 image drawn with Cairo, text
// laid out with Pango. No code outside the host's canvas and text classes sees
// Cairo or Pango.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Graphics.h"

namespace fmx {

/// Where controls paint: a Cairo image behind a drawing API of rectangles, paths, text and
/// pictures, at the form's device scale.
class TCanvas {
 public:
  TCanvas(int AWidth, int AHeight);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  int Width() const;
  int Height() const;
  // Device pixels per logical unit: drawing is scaled by it, so a canvas of twice the
  // form's pixel size at scale 2 draws the same picture, sharper. Width, Height, Bits
  // and CopyTo are in device pixels.
  void SetDeviceScale(float Value);
  float DeviceScale() const;
  // Resizes the image (its contents become transparent).
  void SetSize(int AWidth, int AHeight);
  // Premultiplied ARGB32, Stride() bytes a row.
  const uint32_t* Bits() const;
  int Stride() const;
  // Copies the image into a bitmap of the same size.
  void CopyTo(TBitmap& Dest) const;

  // Whole image, ignoring clip and offset.
  void Clear(TAlphaColor Color);

  // State: offset and clip. Every Save needs its Restore.
  void SaveState();
  void RestoreState();
  void Translate(float DX, float DY);
  void IntersectClipRect(const TRectF& R);
  // Restricts drawing to the union of Rects (in current coordinates).
  void ClipToRects(const std::vector<TRectF>& Rects);
  // The bounding box of what may still be drawn, in current coordinates.
  TRectF ClipBounds() const;
  // Fills what the clip leaves with Color, replacing the pixels (no blending).
  void ClearClipped(TAlphaColor Color);

  // Shapes. Opacity multiplies the brush's alpha.
  void FillRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners, float Opacity,
                const TBrush& Brush);
  // The stroke lies inside R.
  void DrawRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners, float Opacity,
                const TStrokeBrush& Stroke);
  void FillEllipse(const TRectF& R, float Opacity, const TBrush& Brush);
  void DrawLine(TPointF A, TPointF B, float Opacity, const TStrokeBrush& Stroke);
  // The path is scaled from its own bounds into Dest when Stretch is set, else drawn as is.
  void FillPath(const TPathData& Path, const TRectF& Dest, bool Stretch, float Opacity,
                const TBrush& Brush);
  void DrawPath(const TPathData& Path, const TRectF& Dest, bool Stretch, float Opacity,
                const TStrokeBrush& Stroke);
  void DrawBitmap(const TBitmap& Bitmap, const TRectF& Src, const TRectF& Dest, float Opacity);
  // R filled in Color with edges softened over Blur pixels, half inside and half
  // outside R (a blurred rectangle: what shadows and glows are made of).
  void FillSoftRect(const TRectF& R, float Blur, float Opacity, TAlphaColor Color);

  // Text inside R with the given font, colour and alignment; wraps at word boundaries
  // when WordWrap is set. The family "Webdings" draws window symbols as shapes.
  void FillText(const TRectF& R, const std::string& Text, bool WordWrap, float Opacity,
                const TFont& Font, TAlphaColor Color, TTextAlign HorzAlign, TTextAlign VertAlign);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace fmx
