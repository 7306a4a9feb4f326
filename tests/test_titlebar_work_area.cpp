// Window control on a desktop with panels, several monitors and a window manager of
// its own: maximising fills the work area of the window's monitor, the window
// manager's maximise, restore and minimise reach the title bar as its own would, the
// window fits its monitor at any scale, and the control under a still pointer follows
// the window's geometry.
#include <gtest/gtest.h>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {

// A 1600 x 1000 monitor whose bottom 40 pixels a panel reserves, and a second one of
// 1280 x 1024 to its right.
const TRect kPrimary = TRect::Bounds(0, 0, 1600, 1000);
const TRect kPrimaryWork = TRect::Bounds(0, 0, 1600, 960);
const TRect kSecond = TRect::Bounds(1600, 0, 1280, 1024);
const TRect kNormal = TRect::Bounds(100, 50, 920, 649);

class TitleBarWorkArea : public fmx::testing::TitleBarWindowTest {
 protected:
  void SetUp() override {
    TitleBarWindowTest::SetUp();
    Platform->SetDisplays({{0, true, kPrimary, kPrimaryWork}, {1, false, kSecond, kSecond}});
    PlaceTitleBar(kNormal);
  }
};

}  // namespace

TEST_F(TitleBarWorkArea, MaximisingFillsTheWorkAreaOfTheWindowsMonitorAndTellsTheWindowSystem) {
  const TPointF max = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Bounds(), kPrimaryWork);  // the panel stays visible
  EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(In->DownWindowRect(), kNormal);
  ExpectShownAs(true);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Bounds(), kNormal);
  EXPECT_EQ(Form->WindowState(), TWindowState::wsNormal);
  ExpectShownAs(false);
  // On the second monitor the window maximises there, to all of it.
  Form->SetBounds(1700, 100, 900, 700);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Bounds(), kSecond);
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Bounds(), TRect::Bounds(1700, 100, 900, 700));
}

TEST_F(TitleBarWorkArea, TheWindowManagersMaximiseRestoreAndMinimiseReachTheTitleBar) {
  // Maximised by the window manager (its menu, a key binding).
  Platform->ReportWindowState(Form.get(), TWindowState::wsMaximized);
  EXPECT_EQ(Bounds(), kPrimaryWork);
  Platform->Advance(100);
  EXPECT_EQ(In->DownWindowRect(), kNormal);
  ExpectShownAs(true);
  // The title bar restores it to the window's own normal rectangle, then a
  // double-click maximises it to the work area again, not over the panel.
  const TPointF max = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Bounds(), kNormal);
  EXPECT_EQ(Form->WindowState(), TWindowState::wsNormal);
  ExpectShownAs(false);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Bounds(), kPrimaryWork);
  // Restored by the window manager: the bounds it kept, and the indicators follow.
  Platform->ReportWindowState(Form.get(), TWindowState::wsNormal);
  EXPECT_EQ(Bounds(), kNormal);
  Platform->Advance(100);
  ExpectShownAs(false);
  // Minimised and brought back by the window manager: nothing else changes.
  Platform->ReportWindowState(Form.get(), TWindowState::wsMinimized);
  Platform->Advance(200);
  Platform->ReportWindowState(Form.get(), TWindowState::wsNormal);
  Platform->Advance(200);
  EXPECT_EQ(Bounds(), kNormal);
  ExpectShownAs(false);
}

TEST_F(TitleBarWorkArea, AtScaleTwoTheWindowFitsItsMonitorAndAnOversizedRestoreIsFitted) {
  // 1600 x 1000 device pixels at scale 2, a 40-pixel panel: 800 x 480 form pixels to fill.
  const TRect small = TRect::Bounds(0, 0, 800, 500), smallWork = TRect::Bounds(0, 0, 800, 480);
  Platform->SetDisplays({{0, true, small, smallWork}});
  TForm big(nullptr);
  big.SetBounds(0, 0, 800, 600);
  big.SetTransparency(true);
  auto* bar = new TQVTitleBar(&big);
  bar->SetParent(&big);
  big.Show();
  Platform->PaintAll();
  // Opened within the work area; the title bar's 800 x 600 minimum gives way to it.
  EXPECT_EQ(TRect::Bounds(big.Left(), big.Top(), big.Width(), big.Height()), smallWork);
  // The first form's normal rectangle was saved on the larger monitor: restored on the
  // smaller one, it is fitted to it.
  Platform->DoubleClick(Form.get(), 400, 10);
  ASSERT_EQ(Form->WindowState(), TWindowState::wsMaximized);
  Platform->SetDisplays({{0, true, small, smallWork}});
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Bounds(), smallWork);
}

TEST_F(TitleBarWorkArea, TheControlUnderAStillPointerFollowsTheWindowsGeometry) {
  const TPointF close = Centre(In->SurfaceClose());
  Platform->MouseMove(Form.get(), close.X, close.Y);
  ASSERT_EQ(In->SurfaceClose()->Fill()->Color(), 0xFFFF0000u);
  // The window grows under the pointer: the close button moves away from it and hears
  // the pointer leave, as after a move.
  Platform->ReportWindowState(Form.get(), TWindowState::wsMaximized);
  EXPECT_EQ(In->SurfaceClose()->Fill()->Color(), 0x00000000u);
  EXPECT_NE(Form->Hovered(), In->SurfaceClose());
  // Back where it was, the button is under the pointer again.
  Platform->ReportWindowState(Form.get(), TWindowState::wsNormal);
  EXPECT_EQ(Form->Hovered(), In->SurfaceClose());
  EXPECT_EQ(In->SurfaceClose()->Fill()->Color(), 0xFFFF0000u);
}
