// A form's paint loop: what needs painting again, and the passes that paint it until
// the paint handlers stop changing what they paint.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Types.h"

namespace fmx {

class TCanvas;
class TCommonCustomForm;

/// The part of a window that needs painting again, as a few rectangles.
// In whole pixels, merged into their bounding box when there are too many to be worth
// keeping apart.
class TPaintRegion {
 public:
  static constexpr size_t MaxRects = 16;
  void Add(const TRectF& R);
  void Clear() { FRects.clear(); }
  bool IsEmpty() const { return FRects.empty(); }
  const std::vector<TRectF>& Rects() const { return FRects; }
  TRectF Bounds() const;
  float Area() const;

 private:
  std::vector<TRectF> FRects;
};

/// Paints one form's control tree, only what changed and until it stops changing.
// The form tells it what changed (invalidated rectangles, changes of the tree); the
// platform asks it to paint.
class TFormPainter {
 public:
  explicit TFormPainter(TCommonCustomForm* AForm) : FForm(AForm) {}
  TFormPainter(const TFormPainter&) = delete;
  TFormPainter& operator=(const TFormPainter&) = delete;

  // Adds R (form coordinates, cut to the form) to what needs painting; the platform
  // hears of the first damage after a paint.
  void Invalidate(const TRectF& R);
  const TPaintRegion& Dirty() const { return FDirty; }
  void TreeChanged() { ++FTreeGeneration; }
  uint64_t TreeGeneration() const { return FTreeGeneration; }
  // See TCommonCustomForm::PaintTo and PaintDirty.
  int PaintAll(TCanvas* ACanvas);
  int PaintDirty(TCanvas* ACanvas, TPaintRegion* Painted, bool Full);

 private:
  // One pass over the region R (form coordinates) of ACanvas; all of it without R.
  void Pass(TCanvas* ACanvas, const TPaintRegion* R);

  TCommonCustomForm* const FForm;
  TPaintRegion FDirty;
  uint64_t FInvalidations = 0;
  uint64_t FTreeGeneration = 0;
};

}  // namespace fmx
