#include <gtest/gtest.h>

#include "host/Canvas.h"

using namespace fmx;

namespace {

// Unpremultiplied colour of one canvas pixel.
TAlphaColor At(const TCanvas& C, int X, int Y) {
  const uint32_t P = C.Bits()[static_cast<size_t>(Y) * (C.Stride() / 4) + X];
  const uint32_t A = P >> 24;
  if (A == 0 || A == 255) return P;
  auto Div = [A](uint32_t V) { return std::min<uint32_t>(255, (V * 255 + A / 2) / A); };
  return (A << 24) | (Div((P >> 16) & 0xFF) << 16) | (Div((P >> 8) & 0xFF) << 8) | Div(P & 0xFF);
}

// Pixels in the box whose colour is close to the wanted one.
int CountNear(const TCanvas& C, const TRectF& Box, TAlphaColor Want, int Tol = 60) {
  int N = 0;
  for (int Y = static_cast<int>(Box.Top); Y < static_cast<int>(Box.Bottom); ++Y)
    for (int X = static_cast<int>(Box.Left); X < static_cast<int>(Box.Right); ++X) {
      const TAlphaColor P = At(C, X, Y);
      if ((P >> 24) < 128) continue;
      bool Close = true;
      for (int S = 0; S < 24; S += 8)
        Close &= std::abs(static_cast<int>((P >> S) & 0xFF) - static_cast<int>((Want >> S) & 0xFF)) <= Tol;
      N += Close;
    }
  return N;
}

const TBrush RedFill(TBrushKind::Solid, TAlphaColors::Red);

}  // namespace

TEST(Canvas, FilledRectangleCoversExactlyItsPixels) {
  TCanvas C(40, 30);
  C.Clear(TAlphaColors::White);
  C.FillRect({10, 5, 20, 15}, 0, 0, AllCorners, 1, RedFill);
  EXPECT_EQ(At(C, 10, 5), TAlphaColors::Red);
  EXPECT_EQ(At(C, 19, 14), TAlphaColors::Red);
  EXPECT_EQ(At(C, 9, 5), TAlphaColors::White);
  EXPECT_EQ(At(C, 20, 14), TAlphaColors::White);
  EXPECT_EQ(At(C, 19, 15), TAlphaColors::White);
}

TEST(Canvas, OnePixelBorderLiesInsideTheBounds) {
  TCanvas C(40, 30);
  C.Clear(TAlphaColors::White);
  TStrokeBrush Stroke(TBrushKind::Solid, TAlphaColors::Black);
  C.DrawRect({10, 10, 30, 20}, 0, 0, AllCorners, 1, Stroke);
  EXPECT_EQ(At(C, 10, 15), TAlphaColors::Black);  // left column
  EXPECT_EQ(At(C, 29, 15), TAlphaColors::Black);  // right column
  EXPECT_EQ(At(C, 20, 10), TAlphaColors::Black);  // top row
  EXPECT_EQ(At(C, 20, 19), TAlphaColors::Black);  // bottom row
  EXPECT_EQ(At(C, 9, 15), TAlphaColors::White);
  EXPECT_EQ(At(C, 30, 15), TAlphaColors::White);
  EXPECT_EQ(At(C, 11, 15), TAlphaColors::White);
  EXPECT_EQ(At(C, 20, 20), TAlphaColors::White);
}

TEST(Canvas, RoundedCornersOnlyWhereAsked) {
  TCanvas C(40, 40);
  C.Clear(TAlphaColors::White);
  C.FillRect({0, 0, 40, 40}, 10, 10, TCorners{TCorner::TopLeft}, 1, RedFill);
  EXPECT_EQ(At(C, 0, 0), TAlphaColors::White);    // rounded away
  EXPECT_EQ(At(C, 39, 0), TAlphaColors::Red);     // square corners stay
  EXPECT_EQ(At(C, 0, 39), TAlphaColors::Red);
  EXPECT_EQ(At(C, 39, 39), TAlphaColors::Red);
  EXPECT_EQ(At(C, 10, 10), TAlphaColors::Red);
  // Radii larger than the rectangle are clamped rather than drawing outside it.
  C.Clear(TAlphaColors::White);
  C.FillRect({5, 5, 15, 15}, 100, 100, AllCorners, 1, RedFill);
  EXPECT_EQ(At(C, 10, 10), TAlphaColors::Red);
  EXPECT_EQ(At(C, 16, 10), TAlphaColors::White);
}

TEST(Canvas, OpacityHalvesTheColourAndClippingStopsDrawing) {
  TCanvas C(20, 20);
  C.Clear(TAlphaColors::White);
  C.FillRect({0, 0, 20, 20}, 0, 0, AllCorners, 0.5f, RedFill);
  const TAlphaColor P = At(C, 5, 5);  // red at 50 % over white
  EXPECT_EQ((P >> 16) & 0xFF, 0xFFu);
  EXPECT_NEAR(static_cast<int>((P >> 8) & 0xFF), 128, 2);
  // Opacity and the brush's own alpha multiply.
  C.Clear(TAlphaColors::Null);
  C.FillRect({0, 0, 20, 20}, 0, 0, AllCorners, 0.5f, TBrush(TBrushKind::Solid, 0x80FF0000));
  EXPECT_NEAR(static_cast<int>(At(C, 5, 5) >> 24), 64, 2);

  C.Clear(TAlphaColors::White);
  C.SaveState();
  C.Translate(5, 5);
  C.IntersectClipRect({0, 0, 5, 5});
  C.FillRect({-100, -100, 100, 100}, 0, 0, AllCorners, 1, RedFill);
  C.RestoreState();
  EXPECT_EQ(At(C, 5, 5), TAlphaColors::Red);
  EXPECT_EQ(At(C, 9, 9), TAlphaColors::Red);
  EXPECT_EQ(At(C, 10, 10), TAlphaColors::White);
  EXPECT_EQ(At(C, 4, 4), TAlphaColors::White);
  // After the restore nothing is clipped any more; an unmatched restore is harmless.
  C.RestoreState();
  C.FillRect({15, 15, 20, 20}, 0, 0, AllCorners, 1, RedFill);
  EXPECT_EQ(At(C, 17, 17), TAlphaColors::Red);
}

TEST(Canvas, LinesPathsAndBitmaps) {
  TCanvas C(40, 40);
  C.Clear(TAlphaColors::White);
  TStrokeBrush Pen(TBrushKind::Solid, TAlphaColors::Black);
  C.DrawLine({0, 0.5f}, {40, 0.5f}, 1, Pen);
  EXPECT_EQ(At(C, 20, 0), TAlphaColors::Black);
  EXPECT_EQ(At(C, 20, 1), TAlphaColors::White);

  // A triangle stretched from its own bounds onto the canvas's right half.
  TPathData Tri;
  Tri.SetData("M100,100 L200,100 L200,200 Z");
  C.Clear(TAlphaColors::White);
  C.FillPath(Tri, {20, 0, 40, 40}, true, 1, RedFill);
  EXPECT_EQ(At(C, 38, 2), TAlphaColors::Red);    // near the right angle
  EXPECT_EQ(At(C, 22, 37), TAlphaColors::White);  // the other side of the diagonal
  EXPECT_EQ(At(C, 10, 2), TAlphaColors::White);   // left half untouched

  TBitmap B(2, 2);
  B.Clear(TAlphaColors::Green);
  C.Clear(TAlphaColors::White);
  C.DrawBitmap(B, {0, 0, 2, 2}, {10, 10, 30, 30}, 1);
  EXPECT_EQ(At(C, 20, 20), TAlphaColors::Green);
  EXPECT_EQ(At(C, 9, 20), TAlphaColors::White);
  TBitmap Copy;
  C.CopyTo(Copy);
  EXPECT_EQ(Copy.Pixel(20, 20), TAlphaColors::Green);
}

TEST(Canvas, TextIsInkedInItsColourAndAligned) {
  TCanvas C(200, 40);
  const TFont Font(DefaultFontFamily, 16);
  C.Clear(TAlphaColors::White);
  C.FillText({0, 0, 200, 40}, "HHHH", false, 1, Font, TAlphaColors::Red, TTextAlign::Leading,
             TTextAlign::Center);
  EXPECT_GT(CountNear(C, {0, 0, 60, 40}, TAlphaColors::Red), 20);
  EXPECT_EQ(CountNear(C, {100, 0, 200, 40}, TAlphaColors::Red), 0);

  C.Clear(TAlphaColors::White);
  C.FillText({0, 0, 200, 40}, "HHHH", false, 1, Font, TAlphaColors::Red, TTextAlign::Trailing,
             TTextAlign::Center);
  EXPECT_EQ(CountNear(C, {0, 0, 100, 40}, TAlphaColors::Red), 0);
  EXPECT_GT(CountNear(C, {140, 0, 200, 40}, TAlphaColors::Red), 20);

  // CJK falls back to the installed CJK font rather than drawing boxes of nothing.
  C.Clear(TAlphaColors::White);
  C.FillText({0, 0, 200, 40}, "文件编辑", false, 1, Font, TAlphaColors::Black,
             TTextAlign::Center, TTextAlign::Center);
  EXPECT_GT(CountNear(C, {0, 0, 200, 40}, TAlphaColors::Black), 40);
}

TEST(Canvas, WordWrapBreaksLinesOnlyWhenAsked) {
  TCanvas C(60, 100);
  const TFont Font(DefaultFontFamily, 12);
  const std::string Text = "word word word word word";
  auto InkedRows = [&] {
    int Rows = 0;
    for (int Y = 0; Y < 100; ++Y) Rows += CountNear(C, {0, float(Y), 60, float(Y + 1)}, TAlphaColors::Black) > 0;
    return Rows;
  };
  C.Clear(TAlphaColors::White);
  C.FillText({0, 0, 60, 100}, Text, false, 1, Font, TAlphaColors::Black, TTextAlign::Leading,
             TTextAlign::Leading);
  const int OneLine = InkedRows();
  C.Clear(TAlphaColors::White);
  C.FillText({0, 0, 60, 100}, Text, true, 1, Font, TAlphaColors::Black, TTextAlign::Leading,
             TTextAlign::Leading);
  EXPECT_GT(InkedRows(), 2 * OneLine);
}

TEST(Canvas, WebdingsSymbolsAreDrawnAsShapesInTheirBox) {
  const TFont Font("Webdings", 16);
  const TRectF Box{10, 10, 40, 40};
  for (const char* Symbol : {"0", "1", "2", "r"}) {
    TCanvas C(50, 50);
    C.Clear(TAlphaColors::White);
    C.FillText(Box, Symbol, false, 1, Font, TAlphaColors::Red, TTextAlign::Center,
               TTextAlign::Center);
    EXPECT_GT(CountNear(C, Box, TAlphaColors::Red, 10), 8) << Symbol;
    EXPECT_EQ(CountNear(C, {0, 0, 50, 10}, TAlphaColors::Red), 0) << Symbol;
    EXPECT_EQ(CountNear(C, {0, 40, 50, 50}, TAlphaColors::Red), 0) << Symbol;
  }
  // The shapes differ: minimise is a low bar, maximise has an empty middle, close
  // crosses the middle.
  TCanvas C(50, 50);
  auto Draw = [&](const char* S) {
    C.Clear(TAlphaColors::White);
    C.FillText(Box, S, false, 1, Font, TAlphaColors::Red, TTextAlign::Center, TTextAlign::Center);
  };
  Draw("0");
  EXPECT_EQ(CountNear(C, {10, 10, 40, 24}, TAlphaColors::Red), 0);
  Draw("1");
  EXPECT_EQ(At(C, 25, 26), TAlphaColors::White);
  Draw("r");
  EXPECT_GT(CountNear(C, {23, 23, 28, 28}, TAlphaColors::Red), 0);
  // Other characters of a Webdings text are ordinary text in the default family.
  Draw("x");
  EXPECT_GT(CountNear(C, Box, TAlphaColors::Red), 5);
}

TEST(Canvas, WebdingsMenuSymbolsTickAndTrianglesPointTheirWay) {
  const TFont Font("Webdings", 20);
  const TRectF Box{0, 0, 40, 40};
  TCanvas C(40, 40);
  auto Draw = [&](const char* S) {
    C.Clear(TAlphaColors::White);
    C.FillText(Box, S, false, 1, Font, TAlphaColors::Red, TTextAlign::Center, TTextAlign::Center);
  };
  auto Ink = [&](TRectF R) { return CountNear(C, R, TAlphaColors::Red, 40); };
  // The glyph area is 12 px square, centred: 14..26 in both directions.
  Draw("4");  // right: tall at its left edge, a point at the right
  EXPECT_GT(Ink({10, 14, 20, 26}), 20);
  EXPECT_EQ(Ink({10, 10, 40, 15}), 0);
  EXPECT_GT(Ink({16, 15, 20, 25}), Ink({22, 15, 26, 25}));
  Draw("3");  // left: the mirror image
  EXPECT_GT(Ink({22, 15, 26, 25}), Ink({14, 15, 18, 25}));
  Draw("5");  // up: wide at the bottom
  EXPECT_GT(Ink({14, 22, 26, 26}), Ink({14, 14, 26, 18}));
  Draw("6");  // down: wide at the top
  EXPECT_GT(Ink({14, 14, 26, 18}), Ink({14, 22, 26, 26}));
  Draw("a");  // tick: ink low on the left and high on the right, none at top left
  EXPECT_GT(Ink({14, 20, 20, 27}), 3);
  EXPECT_GT(Ink({22, 12, 28, 18}), 3);
  EXPECT_EQ(Ink({10, 10, 17, 17}), 0);
  // A symbol next to text keeps the text in the default family.
  Draw("a b");
  EXPECT_GT(Ink({20, 0, 40, 40}), 5);
}
