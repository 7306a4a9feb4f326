#include <gtest/gtest.h>

#include <cmath>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {
class TitleBarProperties : public fmx::testing::TitleBarTest {};
}  // namespace

TEST_F(TitleBarProperties, FormOpacityIsClampedAndReachesTheBackground) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  tb->SetFormOpacity(1.5f);
  EXPECT_EQ(tb->FormOpacity(), 1.0f);
  tb->SetFormOpacity(-0.2f);
  EXPECT_EQ(tb->FormOpacity(), 0.0f);
  EXPECT_EQ(in.FormBackground()->Opacity(), 0.0f);
  tb->SetFormOpacity(NAN);
  EXPECT_EQ(tb->FormOpacity(), 0.0f);
  tb->SetFormOpacity(0.5f);
  EXPECT_EQ(in.FormBackground()->Opacity(), 0.5f);
}

TEST_F(TitleBarProperties, RadianIsClampedAndOnlyTakenWhileEnabled) {
  auto* disabled = AddTitleBar(false);
  disabled->SetRadian(10);
  EXPECT_EQ(disabled->Radian(), 0);
  delete disabled;

  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  tb->SetRadian(20);
  EXPECT_EQ(tb->Radian(), 15);
  EXPECT_EQ(in.FormBackground()->XRadius(), 15);
  EXPECT_EQ(in.FormBackground()->Corners(), AllCorners);
  EXPECT_EQ(in.SurfaceClose()->Corners(), (TCorners{TCorner::TopRight}));
  EXPECT_EQ(in.Tint()->Corners(), (TCorners{TCorner::TopLeft, TCorner::TopRight}));
  EXPECT_EQ(in.Tint()->YRadius(), 15);
  tb->SetRadian(-3);
  EXPECT_EQ(tb->Radian(), 0);
  // Disabling afterwards keeps the radius.
  tb->SetRadian(7);
  tb->SetTitleBarEnabled(false);
  tb->SetRadian(2);
  EXPECT_EQ(tb->Radian(), 7);
}

TEST_F(TitleBarProperties, HeightClassesSetTheBarHeightAndCellWidths) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  auto widths = [&] {
    return std::vector<float>{in.CellMin()->Width(), in.CellMax()->Width(), in.CellClose()->Width()};
  };
  EXPECT_EQ(widths(), (std::vector<float>{48, 48, 54}));
  tb->SetTitleBarHeight(TTitleBarHeight::thMiddleHeight);
  EXPECT_EQ(widths(), (std::vector<float>{48, 48, 48}));
  EXPECT_EQ(in.TBHeight(), 48);
  tb->SetTitleBarHeight(TTitleBarHeight::thLargeHeight);
  EXPECT_EQ(widths(), (std::vector<float>{64, 64, 64}));
  Platform->PaintAll();
  EXPECT_EQ(tb->Height(), 64);
  // The glyphs keep their size at every height.
  EXPECT_EQ(in.GlyphMax()->TextSettings()->Font()->Size(), 16);
  tb->SetTitleBarHeight(TTitleBarHeight::thSmallHeight);
  EXPECT_EQ(widths(), (std::vector<float>{48, 48, 54}));
  // The cells stay ordered close, maximise, minimise from the right edge.
  EXPECT_GT(in.CellClose()->Position()->X(), in.CellMax()->Position()->X());
  EXPECT_GT(in.CellMax()->Position()->X(), in.CellMin()->Position()->X());
  EXPECT_EQ(in.CellClose()->BoundsRect().Right, tb->Width());
}

TEST_F(TitleBarProperties, BitmapStyleShowsPicturesAndFollowsTheWindowState) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  tb->SetTitleBarHeight(TTitleBarHeight::thMiddleHeight);
  in.GlyphMax()->SetText("2");  // shown maximised
  tb->SetToolButtonStyle(TToolButtonStyle::tsBitmap);
  EXPECT_TRUE(in.ToolRestore()->Visible());
  EXPECT_FALSE(in.ToolMax()->Visible());
  EXPECT_TRUE(in.ToolMin()->Visible());
  EXPECT_TRUE(in.ToolClose()->Visible());
  EXPECT_FALSE(in.GlyphMin()->Visible());
  EXPECT_FALSE(in.GlyphMax()->Visible());
  EXPECT_EQ(in.ToolMin()->Width(), 24);
  EXPECT_EQ(in.CellMax()->ChildrenList().back(), in.ToolRestore());
  // Empty pictures are allowed: the images just show nothing.
  EXPECT_TRUE(in.ToolMin()->Bitmap()->IsEmpty());

  TBitmap picture(8, 8);
  picture.Clear(0xFFFF0000);
  tb->SetToolCloseBitmap(&picture);
  EXPECT_EQ(in.ToolClose()->Bitmap()->Width(), 8);
  picture.Clear(0xFF00FF00);  // the caller's copy stays the caller's
  EXPECT_EQ(in.ToolClose()->Bitmap()->Pixel(0, 0), 0xFFFF0000u);

  tb->SetToolButtonStyle(TToolButtonStyle::tsText);
  EXPECT_FALSE(in.ToolRestore()->Visible());
  EXPECT_TRUE(in.GlyphMax()->Visible());
  EXPECT_EQ(in.GlyphMax()->Text(), "2");
}

TEST_F(TitleBarProperties, LogoBitmapIsCopiedIntoTheLogo) {
  auto* tb = AddTitleBar();
  TBitmap logo(24, 24);
  logo.Clear(0xFF0000FF);
  tb->SetLogoBitmap(&logo);
  EXPECT_EQ(TQVTitleBarInspector(tb).Logo()->Bitmap()->Pixel(3, 3), 0xFF0000FFu);
  // Editing the title bar's own copy in place updates the logo too.
  tb->LogoBitmap()->Clear(0xFF00FF00);
  tb->LogoBitmap()->NotifyChanged();
  EXPECT_EQ(TQVTitleBarInspector(tb).Logo()->Bitmap()->Pixel(3, 3), 0xFF00FF00u);
}

TEST_F(TitleBarProperties, SizeGripRefusesWithItsMessageWhileDisabled) {
  auto* tb = AddTitleBar(false);
  TQVTitleBarInspector in(tb);
  tb->SetSizeGripVisible(true);
  EXPECT_EQ(Platform->Messages(), (std::vector<std::string>{"当 TitleBarEnabled = True 时才可设置"}));
  EXPECT_FALSE(tb->SizeGripVisible());
  EXPECT_FALSE(in.StatusBar()->Visible());
  Platform->ClearMessages();
  tb->SetTitleBarEnabled(true);
  tb->SetSizeGripVisible(true);
  EXPECT_TRUE(Platform->Messages().empty());
  EXPECT_TRUE(in.StatusBar()->Visible());
  EXPECT_EQ(in.StatusBar()->BoundsRect(), (TRectF{0, 668, 1000, 700}));
  EXPECT_EQ(in.SizeGrip()->BoundsRect().Right, 1000);
}

TEST_F(TitleBarProperties, CaptionAlignmentPlacesOrHidesTheCaption) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  tb->SetCaption("标题 Title");
  EXPECT_EQ(in.CaptionLabel()->Text(), "标题 Title");
  tb->SetCaptionAlignment(TCaptionAlignment::caNone);  // already caNone: stays visible
  EXPECT_TRUE(in.CaptionLabel()->Visible());
  tb->SetCaptionAlignment(TCaptionAlignment::caLeft);
  EXPECT_EQ(in.CaptionLabel()->Position()->X(), 33);
  EXPECT_EQ(in.CaptionLabel()->TextAlign(), TTextAlign::Leading);
  tb->SetCaptionAlignment(TCaptionAlignment::caCenter);
  EXPECT_EQ(in.CaptionLabel()->BoundsRect(), (TRectF{0, 0, tb->Width(), tb->Height()}));
  EXPECT_EQ(in.CaptionLabel()->TextAlign(), TTextAlign::Center);
  tb->SetCaptionAlignment(TCaptionAlignment::caNone);
  EXPECT_FALSE(in.CaptionLabel()->Visible());
}

TEST_F(TitleBarProperties, DefaultFormColorFollowsLaterChangesOfTheFormsFill) {
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(0xFF123456);
  auto* tb = AddTitleBar();
  tb->SetFormColor(0xFF00FF00);
  tb->SetDefaultFormColor(true);
  EXPECT_EQ(tb->FormColor(), 0xFF123456u);
  Form->Fill()->SetColor(0xFF000000);
  Platform->PaintAll();
  EXPECT_EQ(tb->FormColor(), 0xFF000000u);
  EXPECT_EQ(tb->FontColor(), 0xFFFFFFFFu);
  // Border colours are only stored: the activity timer applies them.
  tb->SetBorderActiveColor(0xFF0000FF);
  EXPECT_NE(TQVTitleBarInspector(tb).FormBackground()->Stroke()->Color(), 0xFF0000FFu);
  Platform->Advance(100);
  EXPECT_EQ(TQVTitleBarInspector(tb).FormBackground()->Stroke()->Color(), 0xFF0000FFu);
}
