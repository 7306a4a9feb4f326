#include <gtest/gtest.h>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {

class TitleBarWindow : public fmx::testing::TitleBarTest {
 protected:
  void SetUp() override {
    TitleBarTest::SetUp();
    Bar = AddTitleBar();
    In = std::make_unique<TQVTitleBarInspector>(Bar);
  }
  // Centres of the caption buttons and a spot on the bar itself, in form coordinates.
  TPointF Centre(TRectangle* surface) const {
    TRectF r = surface->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  TRect Bounds() const {
    return {Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height()};
  }
  static constexpr TPointF kOnBar{500, 10};
  TQVTitleBar* Bar = nullptr;
  std::unique_ptr<TQVTitleBarInspector> In;
};

}  // namespace

TEST_F(TitleBarWindow, ALeftPressOnTheBarDragsTheWindow) {
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  EXPECT_TRUE(Platform->IsDragging(Form.get()));
  Platform->MouseMove(Form.get(), kOnBar.X + 150, kOnBar.Y + 40);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kOnBar.X + 150, kOnBar.Y + 40);
  EXPECT_EQ(Bounds(), (TRect{250, 90, 1250, 790}));
}

TEST_F(TitleBarWindow, DoubleClickMaximisesAndRestoresToTheSavedRectangle) {
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(In->GlyphMax()->Text(), "2");
  EXPECT_TRUE(In->WindowStateIsMax());
  EXPECT_EQ(In->DownWindowRect(), (TRect{100, 50, 1100, 750}));
  // No drag while maximised.
  Platform->Advance(1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  EXPECT_FALSE(Platform->IsDragging(Form.get()));
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));
  EXPECT_EQ(In->GlyphMax()->Text(), "1");
  EXPECT_FALSE(In->WindowStateIsMax());
  EXPECT_TRUE(In->DblClicked());
}

TEST_F(TitleBarWindow, TheFirstPressAfterARestoringDoubleClickDoesNotDrag) {
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);  // restores
  Platform->Advance(1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  EXPECT_FALSE(Platform->IsDragging(Form.get()));
  EXPECT_FALSE(In->DblClicked());
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  Platform->Advance(1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  EXPECT_TRUE(Platform->IsDragging(Form.get()));
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
}

TEST_F(TitleBarWindow, DisabledItNeitherDragsButADoubleClickStillMaximises) {
  Form->SetTransparency(false);
  In->Paint();
  ASSERT_FALSE(Bar->TitleBarEnabled());
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  EXPECT_FALSE(Platform->IsDragging(Form.get()));
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kOnBar.X, kOnBar.Y);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
}

TEST_F(TitleBarWindow, DoubleClickOnAScreenSizedWindowChangesAndSavesNothing) {
  Form->SetBounds(0, 0, 1920, 1080);
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(In->GlyphMax()->Text(), "1");
  EXPECT_EQ(In->DownWindowRect(), (TRect{}));
}

TEST_F(TitleBarWindow, TheMaximiseButtonDecidesByTheSizeTest) {
  const TPointF max = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(In->GlyphMax()->Text(), "2");
  Platform->Advance(1000);
  const TPointF maxNow = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), maxNow.X, maxNow.Y);
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));
  // A window that no longer fills the screen is maximised again, whatever the glyph.
  In->GlyphMax()->SetText("2");
  Platform->Advance(1000);
  const TPointF again = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), again.X, again.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
}

TEST_F(TitleBarWindow, AWindowCreatedAsLargeAsTheScreenRestoresToTheAllZeroRectangle) {
  Form->SetBounds(0, 0, 1920, 1080);
  const TPointF max = Centre(In->SurfaceMax());
  Platform->SetAutoPaint(false);
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 0, 0}));
  // The next paint holds the window to its minimum size.
  Platform->PaintAll();
  EXPECT_EQ(Bounds(), (TRect{0, 0, 800, 600}));
}

TEST_F(TitleBarWindow, MinimiseAndClose) {
  const TPointF min = Centre(In->SurfaceMin());
  Platform->Click(Form.get(), min.X, min.Y);
  EXPECT_EQ(Form->WindowState(), TWindowState::wsMinimized);
  EXPECT_EQ(In->GlyphMax()->Text(), "1");  // the indicators are left alone
  // A press on minimise released over close closes the window.
  Application->SetMainForm(Form.get());
  bool closed = false;
  Form->SetOnClose([&](TObject*, TCloseAction&) { closed = true; });
  Platform->Advance(1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, min.X, min.Y);
  const TPointF close = Centre(In->SurfaceClose());
  Platform->MouseMove(Form.get(), close.X, close.Y);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, close.X, close.Y);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(Form->Visible());
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(TitleBarWindow, CaptionButtonsLightUpOnHoverAndPress) {
  auto* close = In->SurfaceClose();
  auto* max = In->SurfaceMax();
  auto* min = In->SurfaceMin();
  const TPointF c = Centre(close), x = Centre(max), n = Centre(min);
  Platform->MouseMove(Form.get(), c.X, c.Y);
  EXPECT_EQ(close->Fill()->Color(), 0xFFFF0000u);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, c.X, c.Y);
  EXPECT_EQ(close->Fill()->Color(), 0xFF8B0000u);
  EXPECT_EQ(close->Opacity(), 1.0f);
  EXPECT_TRUE(In->MMCButtonDowned());
  Platform->MouseMove(Form.get(), x.X, x.Y);
  EXPECT_EQ(close->Fill()->Color(), 0x00000000u);
  EXPECT_EQ(max->Fill()->Color(), 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(max->Opacity(), 0.3f);
  Platform->MouseMove(Form.get(), n.X, n.Y);
  EXPECT_EQ(max->Fill()->Color(), 0x00000000u);
  EXPECT_FLOAT_EQ(max->Opacity(), 0.3f);  // leaving does not reset the opacity
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, n.X, n.Y);
  EXPECT_EQ(min->Fill()->Color(), 0xFFFFFFFFu);  // a right press changes no colour
  EXPECT_FLOAT_EQ(min->Opacity(), 0.3f);
}

TEST_F(TitleBarWindow, WhileTheSystemMenuIsOpenHoverDoesNotColourAndAPressClosesIt) {
  In->SetPopupMenuShowed(true);
  const TPointF c = Centre(In->SurfaceClose());
  Platform->MouseMove(Form.get(), c.X, c.Y);
  EXPECT_EQ(In->SurfaceClose()->Fill()->Color(), 0x00000000u);
  // A right press and release does nothing but close the menu.
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, c.X, c.Y);
  Platform->MouseUp(Form.get(), TMouseButton::mbRight, c.X, c.Y);
  EXPECT_FALSE(In->PopupMenuShowed());
  EXPECT_FALSE(In->MMCButtonDowned());
  EXPECT_TRUE(Form->Visible());
}

TEST_F(TitleBarWindow, BorderAndTintFollowTheFormsActivityWithinATick) {
  Bar->SetBorderDeactiveColor(0xFF445566);
  Platform->Advance(100);
  EXPECT_EQ(In->FormBackground()->Stroke()->Color(), 0xFF008000u);
  EXPECT_EQ(In->Tint()->Fill()->Color(), 0xFF000000u);
  Platform->SetActive(Form.get(), false);
  Platform->Advance(100);
  EXPECT_EQ(In->FormBackground()->Stroke()->Color(), 0xFF445566u);
  EXPECT_EQ(In->Tint()->Fill()->Color(), 0xFF445566u);
  Platform->SetActive(Form.get(), true);
  Platform->Advance(100);
  EXPECT_EQ(In->FormBackground()->Stroke()->Color(), 0xFF008000u);
  EXPECT_EQ(In->Tint()->Fill()->Color(), 0xFF000000u);
}

TEST_F(TitleBarWindow, WithoutAFormTheTimerPaintsTheActiveColoursAndButtonsActOnNothing) {
  TLayout holder(nullptr);
  auto* tb = new TQVTitleBar(&holder);
  TQVTitleBarInspector in(tb);
  tb->SetBorderActiveColor(0xFF010203);
  Platform->Advance(200);
  EXPECT_EQ(in.FormBackground()->Stroke()->Color(), 0xFF010203u);
  EXPECT_EQ(in.Tint()->Fill()->Color(), 0xFF000000u);
  tb->SetParent(&holder);
  holder.SetSize(1000, 40);
  // Press and release on maximise: colours change, nothing is saved or moved.
  in.SurfaceMax()->MouseDown(TMouseButton::mbLeft, {}, 5, 5);
  EXPECT_EQ(in.SurfaceMax()->Fill()->Color(), 0xFFFFFFFFu);
  in.SurfaceMax()->MouseUp(TMouseButton::mbLeft, {}, 5, 5);
  EXPECT_EQ(in.DownWindowRect(), (TRect{}));
  EXPECT_EQ(in.GlyphMax()->Text(), "1");
}

TEST_F(TitleBarWindow, TheDesignerKeepsTheActivityTimerOff) {
  TForm designed(nullptr);
  designed.SetDesigning(true);
  auto* tb = new TQVTitleBar(&designed);
  TQVTitleBarInspector in(tb);
  Platform->Advance(500);
  EXPECT_FALSE(in.ActiveTimer()->Enabled());
  EXPECT_EQ(in.FormBackground()->Stroke()->Color(), 0x00000000u);
}

TEST_F(TitleBarWindow, AnApplicationHandlerThatFreesTheTitleBarEndsTheDispatchSafely) {
  Bar->SetOnDblClick([](TObject* sender) { delete static_cast<TQVTitleBar*>(sender); });
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(Form->ComponentCount(), 0);
  EXPECT_FALSE(Form->Transparency());  // the title bar handed the frame back
  EXPECT_EQ(Form->Width(), 1000);      // and did not go on to maximise

  auto* second = AddTitleBar();
  second->SetOnMouseDown([](TObject* sender, TMouseButton, TShiftState, float, float) {
    delete static_cast<TQVTitleBar*>(sender);
  });
  Platform->Advance(1000);
  Platform->Click(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_FALSE(Platform->IsDragging(Form.get()));
}

TEST_F(TitleBarWindow, AFormResizeHandlerThatFreesTheTitleBarStopsTheMaximise) {
  Form->SetOnResize([this](TObject*) {
    delete Bar;
    Bar = nullptr;
  });
  Platform->DoubleClick(Form.get(), kOnBar.X, kOnBar.Y);
  EXPECT_EQ(Bar, nullptr);
  EXPECT_EQ(Form->Left(), 0);  // moved before the resize freed the title bar
  EXPECT_FALSE(Form->Transparency());
}

TEST_F(TitleBarWindow, HidingTheBarResetsAHoveredCaptionButton) {
  const TPointF c = Centre(In->SurfaceClose());
  Platform->MouseMove(Form.get(), c.X, c.Y);
  ASSERT_EQ(In->SurfaceClose()->Fill()->Color(), 0xFFFF0000u);
  Bar->SetVisible(false);
  EXPECT_EQ(In->SurfaceClose()->Fill()->Color(), 0x00000000u);
}
