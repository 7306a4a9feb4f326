// A rendered sub-menu, probed pixel by pixel: background, border, caption ink, tick,
// arrow, separator line and the shortcut against the right edge.
#include <gtest/gtest.h>

#include "FMX.QVUtils.h"
#include "MenuSupport.h"

using namespace fmx;

namespace {

constexpr TAlphaColor kForm = 0xFFFFFFFF;
constexpr TAlphaColor kMenu = 0xFFE8F0F8;
constexpr TAlphaColor kBorder = 0xFF0000C0;

int Darkness(TAlphaColor c) { return 255 - static_cast<int>((c >> 8) & 0xFF); }

class MenuPixels : public fmx::testing::MenuTest {
 protected:
  // Pixels in R much darker than the menu's background: ink of text and strokes.
  int Ink(const TBitmap& B, TRectF R) {
    int n = 0;
    for (int y = static_cast<int>(R.Top); y < static_cast<int>(R.Bottom); ++y)
      for (int x = static_cast<int>(R.Left); x < static_cast<int>(R.Right); ++x)
        n += Darkness(B.Pixel(x, y)) > 100;
    return n;
  }
  // An entry's rectangle on the form, less Inset on every side.
  static TRectF Area(const TControl* C, float Inset = 0) {
    TRectF r = C->AbsoluteRect();
    return {r.Left + Inset, r.Top + Inset, r.Right - Inset, r.Bottom - Inset};
  }
};

}  // namespace

TEST_F(MenuPixels, ASubMenuShowsBackgroundBorderCaptionTickArrowSeparatorAndShortcut) {
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(kForm);
  TQVMenuBar* main = AddMainBar();
  main->SetBackgroundColor(kMenu);
  main->SetBorderColor(kBorder);
  TQVMenuBar* sub = AddBar(main);
  sub->Position()->SetPoint({20, 26});
  sub->SetVisible(true);
  TQVMenuButton* open = AddEntry(sub, "Open");
  open->SetShortCut("Ctrl+O");
  TQVMenuButton* ticked = AddEntry(sub, "Ticked");
  ticked->SetIsCheck(true);
  TQVMenuButton* sep = AddEntry(sub, "");
  sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  TQVMenuButton* more = AddEntry(sub, "More");
  more->SetMoreArrow(true);
  auto shot = Platform->Snapshot(Form.get());
  const TBitmap& b = *shot;
  const TRectF menu = sub->AbsoluteRect();
  const int left = static_cast<int>(menu.Left), top = static_cast<int>(menu.Top);
  const int right = static_cast<int>(menu.Right) - 1, bottom = static_cast<int>(menu.Bottom) - 1;

  // Border on all four edges (the bottom one lies across two pixel rows: the bar is
  // entries plus 2.5 high), background inside, the form outside.
  for (TPoint p : {TPoint{left, top + 40}, TPoint{right, top + 40}, TPoint{left + 40, top}})
    EXPECT_EQ(b.Pixel(p.X, p.Y), kBorder) << p.X << "," << p.Y;
  const TAlphaColor lower = b.Pixel(left + 40, bottom);
  EXPECT_GT(static_cast<int>(lower & 0xFF), static_cast<int>((lower >> 16) & 0xFF) + 60);
  EXPECT_EQ(b.Pixel(left + 3, top + 3), kMenu);
  EXPECT_EQ(b.Pixel(right - 3, bottom - 3), kMenu);
  EXPECT_EQ(b.Pixel(left - 2, top + 40), kForm);
  EXPECT_EQ(b.Pixel(right + 2, top + 40), kForm);

  // Captions are inked in the text area, not in the mark column of a plain entry.
  // (The first entry's top row is the menu's border.)
  const TRectF openText = Area(fmx::TQVMenusInspector::TextArea(open), 2);
  const TRectF openMark = Area(fmx::TQVMenusInspector::MarkColumn(open));
  EXPECT_GT(Ink(b, {openText.Left, openText.Top, openText.Left + 35, openText.Bottom}), 20);
  EXPECT_EQ(Ink(b, openMark), 0);
  // The shortcut hugs the right of the text area, 30 pixels after the caption.
  TLabel* caption = fmx::TQVMenusInspector::Caption(open);
  TLabel* shortcut = fmx::TQVMenusInspector::ShortCutLabel(open);
  const float captionEnd = openText.Left - 2 + __QV_文本_获取文本宽度(caption->TextSettings(), "Open");
  const float shortcutStart =
      openText.Right + 2 - __QV_文本_获取文本宽度(shortcut->TextSettings(), "Ctrl+O");
  EXPECT_FLOAT_EQ(shortcutStart - captionEnd, 30);
  EXPECT_GT(Ink(b, {shortcutStart, openText.Top, openText.Right, openText.Bottom}), 20);
  EXPECT_EQ(Ink(b, {captionEnd + 2, openText.Top, shortcutStart - 2, openText.Bottom}), 0);

  // The tick sits in its entry's mark column; the plain entry has no arrow, More has one.
  EXPECT_GT(Ink(b, Area(fmx::TQVMenusInspector::MarkColumn(ticked))), 5);
  EXPECT_EQ(Ink(b, Area(fmx::TQVMenusInspector::ArrowColumn(ticked))), 0);
  EXPECT_GT(Ink(b, Area(fmx::TQVMenusInspector::ArrowColumn(more))), 5);

  // The separator: a line starting where captions start and stopping short of the right.
  const int lineY = static_cast<int>(sep->AbsoluteRect().Top);
  const int textLeft = static_cast<int>(openText.Left);
  EXPECT_GT(Darkness(b.Pixel(textLeft + 10, lineY)), 60);
  EXPECT_GT(Darkness(b.Pixel(right - 8, lineY)), 60);
  EXPECT_EQ(b.Pixel(textLeft - 6, lineY), kMenu);
  EXPECT_EQ(b.Pixel(right - 3, lineY), kMenu);
  EXPECT_EQ(b.Pixel(textLeft + 10, lineY - 2), kMenu);
}

TEST_F(MenuPixels, AtRunTimeAHiddenSubMenuLeavesTheFormAsItWas) {
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(kForm);
  TQVMenuBar* main = AddMainBar();
  TQVMenuBar* sub = AddBar(main);
  sub->Position()->SetPoint({20, 26});
  AddEntry(sub, "Hidden");
  auto shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Ink(*shot, {0, 30, 300, 200}), 0);
  EXPECT_EQ(shot->Pixel(100, 100), kForm);
}
