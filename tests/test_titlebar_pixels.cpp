#include <gtest/gtest.h>

#include <cstdlib>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {

class TitleBarPixels : public fmx::testing::TitleBarTest {};

int Channel(TAlphaColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

bool Near(TAlphaColor a, TAlphaColor b, int tolerance = 3) {
  for (int shift : {0, 8, 16, 24})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

// Pixels inside R brighter than the given level in all three colour channels.
int BrightPixels(const TBitmap& b, TRect r, int level) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      TAlphaColor c = b.Pixel(x, y);
      if (Channel(c, 16) > level && Channel(c, 8) > level && Channel(c, 0) > level) ++n;
    }
  return n;
}

TRect ToRect(TRectF r) {
  return {static_cast<int>(r.Left), static_cast<int>(r.Top), static_cast<int>(r.Right),
          static_cast<int>(r.Bottom)};
}

}  // namespace

TEST_F(TitleBarPixels, BackgroundBorderTintCaptionAndGlyphsAreDrawn) {
  Form->SetStyleBook(fmx::testing::MakeStyleBook(Form.get(), 0xFF336699, 0xFFFFFFFF));
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  tb->SetCaption("Window title");
  tb->SetCaptionAlignment(TCaptionAlignment::caCenter);
  Platform->Advance(100);  // the activity timer applies the border colour
  auto shot = Platform->Snapshot(Form.get());
  const TBitmap& b = *shot;

  // One-pixel border in the active colour, window background inside it.
  EXPECT_TRUE(Near(b.Pixel(0, 400), 0xFF008000));
  EXPECT_TRUE(Near(b.Pixel(999, 400), 0xFF008000));
  EXPECT_TRUE(Near(b.Pixel(500, 699), 0xFF008000));
  EXPECT_TRUE(Near(b.Pixel(1, 400), 0xFF336699));
  EXPECT_TRUE(Near(b.Pixel(500, 400), 0xFF336699));

  // The bar carries a black tint at 0.2 (white font colour) over the background.
  const TAlphaColor tinted = 0xFF000000 | (0x33 * 8 / 10) << 16 | (0x66 * 8 / 10) << 8 | (0x99 * 8 / 10);
  EXPECT_TRUE(Near(b.Pixel(300, 16), tinted, 4));

  // Caption ink in the middle of the bar, each glyph inked inside its own cell.
  EXPECT_GT(BrightPixels(b, {400, 4, 600, 30}, 200), 20);
  for (TRectangle* surface : {in.SurfaceMin(), in.SurfaceMax(), in.SurfaceClose()})
    EXPECT_GT(BrightPixels(b, ToRect(surface->AbsoluteRect()), 200), 8) << surface->Name();
  // Nothing bright between the minimise cell and the caption.
  EXPECT_EQ(BrightPixels(b, {700, 4, 830, 30}, 200), 0);
}

TEST_F(TitleBarPixels, HoveredCloseButtonTurnsRedAndTheInactiveBorderGrey) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  TRectF close = in.SurfaceClose()->AbsoluteRect();
  Platform->MouseMove(Form.get(), close.Left + 3, close.Top + 3);
  Platform->SetActive(Form.get(), false);
  Platform->Advance(100);
  auto shot = Platform->Snapshot(Form.get());
  EXPECT_TRUE(Near(shot->Pixel(static_cast<int>(close.Left) + 2, static_cast<int>(close.Top) + 2),
                   0xFFFF0000, 6));
  EXPECT_TRUE(Near(shot->Pixel(0, 400), 0xFF808080));
}

TEST_F(TitleBarPixels, RoundedCornersLeaveTheWindowCornerUnpainted) {
  auto* tb = AddTitleBar();
  tb->SetRadian(12);
  auto shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(shot->Pixel(0, 0) >> 24, 0u);        // transparent outside the curve
  EXPECT_EQ(shot->Pixel(999, 699) >> 24, 0u);
  EXPECT_EQ(shot->Pixel(500, 400) >> 24, 0xFFu);  // opaque inside
}
