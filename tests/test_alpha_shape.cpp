// What shows of a picture with transparent parts (a borderless window's rounded
// corners), kept row by row: the rectangles cover exactly the pixels at least half
// opaque, repainted rows that change nothing report no change, and edge pixels are
// shown at full strength.
#include <gtest/gtest.h>

#include "host/AlphaShape.h"
#include "host/Canvas.h"
#include "host/Graphics.h"

using namespace fmx;

namespace {

uint32_t Pixel(const TCanvas& C, int X, int Y) {
  const auto* row = reinterpret_cast<const uint8_t*>(C.Bits()) + static_cast<size_t>(Y) * C.Stride();
  return reinterpret_cast<const uint32_t*>(row)[X];
}

// Every pixel lies in a rectangle exactly when it is at least half opaque; the
// rectangles come in bands, top to bottom, left to right, without overlap.
void ExpectShapeMatches(const TCanvas& C, const TAlphaShape& S) {
  const std::vector<TRect> rects = S.Rectangles();
  std::vector<uint8_t> covered(static_cast<size_t>(C.Width() * C.Height()), 0);
  for (size_t i = 0; i < rects.size(); ++i) {
    const TRect& r = rects[i];
    ASSERT_LT(r.Left, r.Right);
    ASSERT_LT(r.Top, r.Bottom);
    if (i > 0) {
      const TRect& p = rects[i - 1];
      const bool sameBand = p.Top == r.Top && p.Bottom == r.Bottom && p.Right < r.Left;
      ASSERT_TRUE(sameBand || p.Bottom <= r.Top) << "rectangle " << i << " out of band order";
    }
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) ++covered[static_cast<size_t>(y * C.Width() + x)];
  }
  for (int y = 0; y < C.Height(); ++y)
    for (int x = 0; x < C.Width(); ++x) {
      const bool shows = (Pixel(C, x, y) >> 24) >= TAlphaShape::Threshold;
      ASSERT_EQ(covered[static_cast<size_t>(y * C.Width() + x)], shows ? 1 : 0)
          << "pixel " << x << "," << y << " alpha " << (Pixel(C, x, y) >> 24);
    }
}

void FillRounded(TCanvas& C, const TRectF& R, float Radius, TAlphaColor Colour) {
  C.FillRect(R, Radius, Radius, AllCorners, 1, TBrush(TBrushKind::Solid, Colour));
}

// Every other pixel opaque black, like a checkerboard.
void Checker(TCanvas& C) {
  std::vector<TRectF> pixels;
  for (int y = 0; y < C.Height(); ++y)
    for (int x = y % 2; x < C.Width(); x += 2)
      pixels.push_back(TRectF(static_cast<float>(x), static_cast<float>(y), x + 1.0f, y + 1.0f));
  C.SaveState();
  C.ClipToRects(pixels);
  C.ClearClipped(0xFF000000);
  C.RestoreState();
}

}  // namespace

TEST(AlphaShape, RoundedCornersAreCutAndTheBodyIsOneBand) {
  TCanvas c(120, 80);
  c.Clear(0);
  FillRounded(c, {0, 0, 120, 80}, 8, 0xFFE0E0E0);
  TAlphaShape s;
  s.Reset(120, 80);
  EXPECT_TRUE(s.Update(c, 0, 80));
  EXPECT_FALSE(s.Full());
  ExpectShapeMatches(c, s);
  // The corner pixel is cut; between the curved rows lies one full-width band.
  const std::vector<TRect> rects = s.Rectangles();
  EXPECT_GT(rects.front().Left, 0);
  EXPECT_EQ(rects.front().Top, 0);
  EXPECT_EQ(rects.back().Bottom, 80);
  int fullBands = 0;
  for (const TRect& r : rects)
    if (r.Left == 0 && r.Right == 120) {
      ++fullBands;
      EXPECT_LE(r.Top, 8);
      EXPECT_GE(r.Bottom, 72);
    }
  EXPECT_EQ(fullBands, 1);
  // The curve's rows have anti-aliased pixels; the straight middle has none.
  EXPECT_TRUE(s.HasEdgePixels(0));
  EXPECT_FALSE(s.HasEdgePixels(40));
}

TEST(AlphaShape, RowsReadAgainReportOnlyRealChanges) {
  TCanvas c(64, 48);
  c.Clear(0xFF204060);
  TAlphaShape s;
  s.Reset(64, 48);
  EXPECT_TRUE(s.Update(c, 0, 48));
  EXPECT_TRUE(s.Full());
  EXPECT_EQ(s.Rectangles(), std::vector<TRect>{TRect::Bounds(0, 0, 64, 48)});
  // Repainting in another colour changes nothing that shows.
  c.Clear(0xFF806040);
  EXPECT_FALSE(s.Update(c, 10, 20));
  EXPECT_FALSE(s.Update(c, 0, 48));

  // A hole in rows 20 to 29: only reading those rows finds it; it splits the picture
  // into three bands, the middle one two rectangles wide.
  c.SaveState();
  c.IntersectClipRect({10, 20, 30, 30});
  c.ClearClipped(0);
  c.RestoreState();
  EXPECT_FALSE(s.Update(c, 0, 20));
  EXPECT_TRUE(s.Update(c, 20, 30));
  EXPECT_FALSE(s.Full());
  ExpectShapeMatches(c, s);
  EXPECT_EQ(s.Rectangles().size(), 4u);

  // Rows outside the picture are ignored; a new size starts from nothing.
  EXPECT_FALSE(s.Update(c, -5, 0));
  EXPECT_FALSE(s.Update(c, 48, 60));
  s.Reset(64, 48);
  EXPECT_TRUE(s.Rectangles().empty());
  EXPECT_TRUE(s.Update(c, 0, 48));
  ExpectShapeMatches(c, s);
}

TEST(AlphaShape, EdgePixelsThatShowTakeTheirOwnColourAtFullStrength) {
  const uint32_t src[] = {0xFF102030, 0x80402010, 0x7F3F3F3F, 0x00000000, 0xC0C0C0C0};
  uint32_t dst[5] = {};
  TAlphaShape::OpaqueEdges(src, dst, 5);
  EXPECT_EQ(dst[0], 0xFF102030u);  // opaque: as it is
  EXPECT_EQ(dst[1], 0xFF804020u);  // half: its colour, not half of it over black
  EXPECT_EQ(dst[2], 0u);           // below half: cut from the shape anyway
  EXPECT_EQ(dst[3], 0u);
  EXPECT_EQ(dst[4], 0xFFFFFFFFu);
  // In place.
  uint32_t same[] = {0x80402010};
  TAlphaShape::OpaqueEdges(same, same, 1);
  EXPECT_EQ(same[0], 0xFF804020u);
  // A window shown whole shows every pixel that is not fully transparent.
  TAlphaShape::OpaqueEdges(src, dst, 5, 1);
  EXPECT_EQ(dst[1], 0xFF804020u);
  EXPECT_EQ(dst[2], 0xFF7E7E7Eu);
  EXPECT_EQ(dst[3], 0u);
  TAlphaShape::OpaqueEdges(src, dst, 5, 0);  // fully transparent never shows
  EXPECT_EQ(dst[3], 0u);
}

// The window is shaped only where a shape helps: not when the picture shows whole,
// not when nothing of it would show (a window that could not be seen or clicked), not
// when it falls into more pieces than a request to the server should carry.
TEST(AlphaShape, TheWindowShowsWholeWhenNothingOrTooManySpecksWouldShow) {
  TCanvas c(200, 120);
  TAlphaShape s;
  s.Reset(200, 120);
  c.Clear(0xFF204060);
  s.Update(c, 0, 120);
  EXPECT_TRUE(s.WindowShape().empty());

  // A form faded below half: no pixel reaches the threshold.
  c.Clear(0x70101010);
  EXPECT_TRUE(s.Update(c, 0, 120));
  EXPECT_TRUE(s.Rectangles().empty());
  EXPECT_FALSE(s.Full());
  EXPECT_TRUE(s.WindowShape().empty());

  // Rounded corners: the shape is the rectangles.
  c.Clear(0);
  FillRounded(c, {0, 0, 200, 120}, 8, 0xFFE0E0E0);
  EXPECT_TRUE(s.Update(c, 0, 120));
  EXPECT_FALSE(s.WindowShape().empty());
  EXPECT_EQ(s.WindowShape(), s.Rectangles());

  // Dithered alpha: every other pixel shows, a rectangle each (12,000 of them).
  c.Clear(0);
  Checker(c);
  EXPECT_TRUE(s.Update(c, 0, 120));
  ASSERT_GT(s.Rectangles().size(), TAlphaShape::MaxRectangles);
  EXPECT_TRUE(s.WindowShape().empty());
  // Just within the limit it is still a shape.
  TCanvas few(2 * static_cast<int>(TAlphaShape::MaxRectangles), 1);
  few.Clear(0);
  Checker(few);
  TAlphaShape f;
  f.Reset(few.Width(), 1);
  f.Update(few, 0, 1);
  EXPECT_EQ(f.WindowShape().size(), TAlphaShape::MaxRectangles);
}
