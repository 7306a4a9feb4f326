#include <gtest/gtest.h>

#include "host/Canvas.h"
#include "host/TextLayout.h"

using namespace fmx;

namespace {

TRectF Measure(const std::string& Text, float Size = 12, const std::string& Family = DefaultFontFamily) {
  TTextLayout L(TCanvasManager::MeasureCanvas());
  L.BeginUpdate();
  L.Font()->SetFamily(Family);
  L.Font()->SetSize(Size);
  L.SetText(Text);
  L.EndUpdate();
  return L.TextRect();
}

}  // namespace

TEST(TextLayout, EmptyTextIsOneLineHighAndNoWidth) {
  const TRectF Empty = Measure("");
  const TRectF One = Measure("Hg");
  EXPECT_EQ(Empty.Left, 0);
  EXPECT_EQ(Empty.Top, 0);
  EXPECT_EQ(Empty.Width(), 0);
  EXPECT_GT(Empty.Height(), 10);
  EXPECT_FLOAT_EQ(Empty.Height(), One.Height());
}

TEST(TextLayout, LineBreaksMakeLinesAndLongLinesNeverWrap) {
  const float Line = Measure("Hg").Height();
  EXPECT_NEAR(Measure("Hg\nHg").Height(), 2 * Line, 1);
  EXPECT_NEAR(Measure("a\nb\nc").Height(), 3 * Line, 1.5);
  // The widest line sets the width.
  EXPECT_FLOAT_EQ(Measure("short\na much longer line").Width(), Measure("a much longer line").Width());

  std::string Long;
  for (int I = 0; I < 200; ++I) Long += "word ";
  const TRectF R = Measure(Long);
  EXPECT_GT(R.Width(), 5000);
  EXPECT_FLOAT_EQ(R.Height(), Line);

  // Wrapping needs both WordWrap and a width limit.
  TTextLayout L;
  L.SetText(Long);
  L.SetWordWrap(true);
  EXPECT_FLOAT_EQ(L.TextRect().Height(), Line);
  L.SetMaxSize({300, 1e7f});
  EXPECT_LE(L.TextRect().Width(), 300);
  EXPECT_GT(L.TextRect().Height(), 10 * Line);
}

TEST(TextLayout, SizeStyleAndScriptChangeTheExtent) {
  EXPECT_GT(Measure("Menu", 24).Width(), 1.8f * Measure("Menu", 12).Width());
  TTextLayout L;
  L.SetText("Menu");
  const float Plain = L.TextRect().Width();
  L.Font()->SetStyle({TFontStyle::fsBold});  // a font change invalidates the extent
  EXPECT_GT(L.TextRect().Width(), Plain);
  // CJK text is measured with the fallback font, about one em a character.
  EXPECT_NEAR(Measure("文件编辑", 16).Width(), 64, 8);
}

TEST(TextLayout, RepeatedMeasurementsAgree) {
  const TRectF First = Measure("Repeated 测量 text", 13);
  for (int I = 0; I < 3; ++I) EXPECT_EQ(Measure("Repeated 测量 text", 13), First);
  // Through the framework's factory for the measuring canvas, the same answer.
  TCanvas* Canvas = TCanvasManager::MeasureCanvas();
  ASSERT_NE(Canvas, nullptr);
  EXPECT_EQ(Canvas, TCanvasManager::MeasureCanvas());
  auto Layout = TTextLayoutManager::TextLayoutByCanvas(Canvas)(Canvas);
  Layout->Font()->SetSize(13);
  Layout->SetText("Repeated 测量 text");
  EXPECT_EQ(Layout->TextRect(), First);
}

TEST(TextLayout, WebdingsSymbolsMeasureAsOneEmEach) {
  EXPECT_FLOAT_EQ(Measure("r", 16, "Webdings").Width(), 16);
  EXPECT_FLOAT_EQ(Measure("012", 10, "Webdings").Width(), 30);
  EXPECT_FLOAT_EQ(Measure("r", 16, "Webdings").Height(), Measure("", 16).Height());
}
