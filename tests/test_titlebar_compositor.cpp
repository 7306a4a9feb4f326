// Window control where the window system places windows (a Wayland compositor): a drag
// or an edge resize is handed to it at the press, maximise, restore and minimise are
// requests, and the form, its indicators and its system menu follow what it answers.
#include <gtest/gtest.h>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {

const TRect kScreen = TRect::Bounds(0, 0, 1600, 1000);
const TRect kWork = TRect::Bounds(0, 32, 1600, 968);  // a panel along the top
const TRect kNormal = TRect::Bounds(100, 50, 920, 649);

class TitleBarCompositor : public fmx::testing::TitleBarWindowTest {
 protected:
  void SetUp() override {
    TitleBarWindowTest::SetUp();
    Platform->SetWindowSystemPlacesWindows(true);
    Platform->SetDisplays({{0, true, kScreen, kWork}});
    PlaceTitleBar(kNormal);
    Form->SetOnMouseUp([this](TObject*, TMouseButton, TShiftState, float, float) { ++FormReleases; });
  }
  std::vector<TWindowState> Requests() const { return Platform->StateRequests(); }
  int FormReleases = 0;
};

}  // namespace

TEST_F(TitleBarCompositor, DragAndEdgeResizeAreHandedOverAndADoubleClickStillMaximises) {
  // The press on the bar is a move request; the window system keeps the pointer, moves
  // the window and eats the release.
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 400, 10);
  EXPECT_EQ(Platform->MoveRequests(), 1);
  Platform->MouseMove(Form.get(), 450, 40);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 450, 40);
  EXPECT_EQ(Bounds(), TRect::Bounds(150, 80, kNormal.Width(), kNormal.Height()));
  // An edge press is a resize request, its press and release the window system's too.
  Platform->Advance(1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kNormal.Width() - 1, 300);
  EXPECT_EQ(Platform->ResizeRequests(), 1);
  Platform->MouseMove(Form.get(), kNormal.Width() + 79, 300);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kNormal.Width() + 79, 300);
  EXPECT_EQ(Bounds(), TRect::Bounds(150, 80, kNormal.Width() + 80, kNormal.Height()));
  EXPECT_EQ(FormReleases, 0);
  // A double-click: the first press goes to the window system, the second stays the
  // form's, and its release maximises.
  Platform->Advance(1000);
  Platform->DoubleClick(Form.get(), 400, 10);
  EXPECT_EQ(Platform->MoveRequests(), 2);
  EXPECT_EQ(Requests(), std::vector<TWindowState>{TWindowState::wsMaximized});
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kWork);
}

TEST_F(TitleBarCompositor, MaximiseRestoreAndMinimiseAreRequestsTheFormFollowsTheAnswer) {
  const TPointF max = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Requests(), std::vector<TWindowState>{TWindowState::wsMaximized});
  // Asked, not yet given: the form keeps its bounds, its indicators say maximised.
  EXPECT_EQ(Bounds(), kNormal);
  EXPECT_EQ(In->GlyphMax()->Text(), "2");
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kWork);
  EXPECT_EQ(In->DownWindowRect(), kNormal);
  ExpectShownAs(true);
  // No drag while maximised; the maximise button now restores, to the bounds the
  // window system kept.
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 400, 10);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 400, 10);
  EXPECT_EQ(Platform->MoveRequests(), 0);
  Platform->Advance(1000);
  const TPointF restore = Centre(In->SurfaceMax());
  Platform->Click(Form.get(), restore.X, restore.Y);
  EXPECT_EQ(Requests().back(), TWindowState::wsNormal);
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kNormal);
  ExpectShownAs(false);
  // The system menu's Maximise asks the same way.
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 400, 10);
  Platform->MouseUp(Form.get(), TMouseButton::mbRight, 400, 10);
  const TPointF entry = Centre(In->MaxEntry());
  Platform->MouseMove(Form.get(), entry.X, entry.Y);
  Platform->Advance(200);
  Platform->Click(Form.get(), entry.X, entry.Y);
  EXPECT_EQ(Requests().back(), TWindowState::wsMaximized);
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kWork);
  // The window system restores it by itself (its own key binding): the form follows.
  Platform->ReportWindowState(Form.get(), TWindowState::wsNormal);
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kNormal);
  ExpectShownAs(false);
  // Minimise is a request; the bounds stay, and the window comes back as it was.
  const size_t asked = Requests().size();
  const TPointF min = Centre(In->SurfaceMin());
  Platform->Click(Form.get(), min.X, min.Y);
  ASSERT_EQ(Requests().size(), asked + 1);
  EXPECT_EQ(Requests().back(), TWindowState::wsMinimized);
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kNormal);
  Platform->ReportWindowState(Form.get(), TWindowState::wsNormal);
  Platform->Advance(100);
  EXPECT_EQ(Bounds(), kNormal);
  ExpectShownAs(false);
}
