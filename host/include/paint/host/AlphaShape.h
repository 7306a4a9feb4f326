// What of a window's picture shows when the window system cannot blend it over the
// desktop: the pixels at least half opaque. A borderless form leaves its rounded
// corners transparent; a window shaped by this area shows the desktop there instead of
// black. Kept row by row, so a frame that repainted a few rows costs only those rows.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "host/Types.h"

namespace fmx {

class TCanvas;

/// Which pixels of a partly transparent window picture show, as rectangles a window system can cut
/// the window to.
class TAlphaShape {
 public:
  // A pixel shows from this alpha on (premultiplied ARGB32: the top byte).
  static constexpr uint32_t Threshold = 128;

  // Forgets the picture: every row of a Width x Height one reads as not showing until
  // Update reads it.
  void Reset(int Width, int Height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Reads rows Top to Bottom - 1 of Canvas (of this shape's size) again; returns whether
  // what shows of them changed.
  bool Update(const TCanvas& Canvas, int Top, int Bottom);
  // Every pixel shows: the window needs no shape.
  bool Full() const { return FFullRows == FHeight && FWidth > 0; }
  // The showing area as rectangles in bands of equal rows, top to bottom and left to
  // right within a band, no two overlapping (the order X's Shape extension calls
  // YXBanded).
  std::vector<TRect> Rectangles() const;
  // A shape for the window: the rectangles, or none when the window is better shown
  // whole. That is when every pixel shows, when none does (a form faded below half
  // opacity would otherwise leave a window nobody can see or click), and when the
  // picture falls into more than MaxRectangles pieces (dithered or graded alpha, text
  // on a transparent ground): a request that size risks the server refusing it, and a
  // cut-out of that many specks is no better to look at than the whole window.
  static constexpr size_t MaxRectangles = 2048;
  std::vector<TRect> WindowShape() const;

  // Row Y has pixels neither opaque nor transparent (anti-aliased edges).
  bool HasEdgePixels(int Y) const { return Y >= 0 && Y < FHeight && FEdge[Y] != 0; }
  // Turns Count premultiplied pixels of one row (Src) into what a window without alpha
  // should show (Dst; may be Src): an edge pixel that shows (alpha From or more) takes
  // its own colour at full strength instead of that colour over black; one that does
  // not show becomes 0. A window shown whole shows every pixel not fully transparent.
  static void OpaqueEdges(const uint32_t* Src, uint32_t* Dst, int Count, uint32_t From = Threshold);

 private:
  using TSpans = std::vector<std::pair<int, int>>;  // [from, to) columns
  int FWidth = 0, FHeight = 0;
  std::vector<TSpans> FRows;
  std::vector<uint8_t> FEdge;
  int FFullRows = 0;
};

}  // namespace fmx
