// Resizing a borderless window by its edges and corners on the headless platform:
// which pixels grab which edge, the pointer shapes, the drag threshold, a maximised or
// framed form, a form that holds its size to limits, and the title bar's minimum.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <stdexcept>

#include "FMX.QVConstrainedForm.h"
#include "TitleBarSupport.h"
#include "host/Shapes.h"

using namespace fmx;

namespace {

TRect BoundsOf(const TCommonCustomForm& F) { return TRect::Bounds(F.Left(), F.Top(), F.Width(), F.Height()); }

class WindowEdges : public fmx::testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 100, 400, 300);
    Form->SetTransparency(true);
    Form->Show();
  }
  // Press at From, move to each point in turn, release at the last one.
  void Drag(TCommonCustomForm* F, TPointF From, std::initializer_list<TPointF> Path) {
    Platform->MouseMove(F, From.X, From.Y);
    Platform->MouseDown(F, TMouseButton::mbLeft, From.X, From.Y);
    TPointF last = From;
    for (TPointF p : Path) {
      Platform->MouseMove(F, p.X, p.Y);
      last = p;
    }
    Platform->MouseUp(F, TMouseButton::mbLeft, last.X, last.Y);
  }
  std::unique_ptr<TForm> Form;
};

}  // namespace

TEST_F(WindowEdges, BandsAndCornersMapToEdgesAndPointerShapes) {
  struct Case {
    TPointF P;
    TWindowEdge Edge;
    TCursorShape Cursor;
  } cases[] = {
      {{200, 150}, TWindowEdge::NoEdge, TCursorShape::Arrow},
      {{0, 150}, TWindowEdge::Left, TCursorShape::SizeWE},
      {{3, 150}, TWindowEdge::Left, TCursorShape::SizeWE},
      {{4, 150}, TWindowEdge::NoEdge, TCursorShape::Arrow},
      {{399, 150}, TWindowEdge::Right, TCursorShape::SizeWE},
      {{395, 150}, TWindowEdge::NoEdge, TCursorShape::Arrow},
      {{200, 0}, TWindowEdge::Top, TCursorShape::SizeNS},
      {{200, 299}, TWindowEdge::Bottom, TCursorShape::SizeNS},
      // The corner squares reach further in than the bands.
      {{11, 11}, TWindowEdge::TopLeft, TCursorShape::SizeNWSE},
      {{12, 3}, TWindowEdge::Top, TCursorShape::SizeNS},
      {{12, 11}, TWindowEdge::NoEdge, TCursorShape::Arrow},
      {{388, 2}, TWindowEdge::TopRight, TCursorShape::SizeNESW},
      {{2, 290}, TWindowEdge::BottomLeft, TCursorShape::SizeNESW},
      {{390, 290}, TWindowEdge::BottomRight, TCursorShape::SizeNWSE},
      {{400, 150}, TWindowEdge::NoEdge, TCursorShape::Arrow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.P.X << "," << c.P.Y);
    EXPECT_EQ(TInputRouter::EdgeAt(Form.get(), c.P), c.Edge);
    Platform->MouseMove(Form.get(), c.P.X, c.P.Y);
    EXPECT_EQ(Platform->Cursor(), c.Cursor);
  }
  // A framed window has the system's frame for that.
  Form->SetTransparency(false);
  EXPECT_EQ(TInputRouter::EdgeAt(Form.get(), {0, 150}), TWindowEdge::NoEdge);
  Platform->MouseMove(Form.get(), 0, 150);
  EXPECT_EQ(Platform->Cursor(), TCursorShape::Arrow);
}

TEST_F(WindowEdges, RightEdgeAndBottomLeftCornerFollowTheDragAndKeepThePressFromTheForm) {
  int downs = 0, ups = 0;
  Form->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { ++downs; });
  Form->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, float, float) { ++ups; });

  Drag(Form.get(), {398, 150}, {{400, 150}, {450, 170}, {478, 160}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(100, 100, 480, 300));
  EXPECT_FALSE(Platform->IsResizing(Form.get()));

  // The pointer is given where the form was when the press came, as for a window move.
  Drag(Form.get(), {1, 298}, {{-30, 320}, {-60, 338}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(39, 100, 541, 340));
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(ups, 0);

  // Inside the drag threshold nothing moves; the press still is the window's.
  Drag(Form.get(), {539, 200}, {{541, 202}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(39, 100, 541, 340));
  EXPECT_EQ(downs, 0);

  // Away from the edges presses reach the form as before.
  Platform->Click(Form.get(), 200, 200);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);

  // A left edge dragged past the right one leaves a window of one pixel, not a negative one.
  Drag(Form.get(), {1, 200}, {{900, 200}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(579, 100, 1, 340));
}

TEST_F(WindowEdges, AMaximisedFormIsNotResizedAndItsEdgesReachTheControls) {
  Form->SetWindowState(TWindowState::wsMaximized);
  const TRect before = BoundsOf(*Form);
  int downs = 0;
  Form->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { ++downs; });
  Drag(Form.get(), {398, 150}, {{450, 150}});
  EXPECT_EQ(BoundsOf(*Form), before);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(Platform->Cursor(), TCursorShape::Arrow);
}

TEST_F(WindowEdges, AConstrainedFormsLimitsHoldAndTheGrabbedEdgeStopsAtThem) {
  TQVConstrainedForm form(nullptr);
  form.SetBounds(100, 100, 400, 300);
  form.SetTransparency(true);
  form.Show();
  form.Constraints()->SetMinWidth(300);
  form.Constraints()->SetMaxWidth(500);
  form.Constraints()->SetMinHeight(200);

  Drag(&form, {398, 150}, {{700, 150}});
  EXPECT_EQ(BoundsOf(form), TRect::Bounds(100, 100, 500, 300));

  // Shrinking from the top-left: the right and bottom edges stay where they were.
  Drag(&form, {2, 2}, {{300, 250}});
  EXPECT_EQ(BoundsOf(form), TRect::Bounds(300, 200, 300, 200));
}

TEST_F(WindowEdges, TheTitleBarsMinimumHoldsAfterAResize) {
  Form->SetBounds(100, 50, 1000, 700);
  auto* tb = new TQVTitleBar(Form.get());
  tb->SetParent(Form.get());
  Platform->PaintAll();
  Drag(Form.get(), {998, 400}, {{500, 400}});
  Drag(Form.get(), {500, 698}, {{500, 300}});
  EXPECT_EQ(Form->Width(), 800);
  EXPECT_EQ(Form->Height(), 600);
  EXPECT_EQ(Form->Left(), 100);
}

TEST_F(WindowEdges, ShrinkingFromTheLeftOrTopPastTheTitleBarsMinimumKeepsTheRightAndBottomEdges) {
  Form->SetBounds(100, 50, 1000, 700);  // right edge 1100, bottom edge 750
  auto* tb = new TQVTitleBar(Form.get());
  tb->SetParent(Form.get());
  Platform->PaintAll();

  // The left edge stops where the minimum is reached, through every step of the drag
  // and after it; going back out follows the pointer again.
  Drag(Form.get(), {1, 400}, {{300, 400}, {500, 400}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(300, 50, 800, 700));
  Drag(Form.get(), {1, 400}, {{400, 400}, {-49, 400}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(250, 50, 850, 700));

  // The top edge likewise, the bottom one staying.
  Drag(Form.get(), {400, 1}, {{400, 400}});
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(250, 150, 850, 600));

  // Both at once from the top-left corner, with the paint coming only after the release
  // (a run loop that paints once the queued input is handled).
  Form->SetBounds(100, 50, 1000, 700);
  Platform->PaintAll();
  Platform->SetAutoPaint(false);
  Drag(Form.get(), {2, 2}, {{600, 500}});
  Platform->PaintAll();
  Platform->PaintAll();
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(300, 150, 800, 600));

  // Once that paint is done the resize is over: a size the application sets later grows
  // at the right as any other.
  Form->SetBounds(300, 150, 500, 600);
  Platform->PaintAll();
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(300, 150, 800, 600));
}

TEST_F(WindowEdges, APlainClickOnTheLeftEdgeLeavesTheTitleBarsMinimumAtTheRight) {
  Form->SetBounds(100, 50, 1000, 700);
  auto* tb = new TQVTitleBar(Form.get());
  tb->SetParent(Form.get());
  Platform->PaintAll();
  // Pressed and released without moving, then made narrower than the title bar's
  // minimum before the next paint: nothing was resized by the edge, so the form grows
  // back at its right as after any other change of size.
  Platform->SetAutoPaint(false);
  Drag(Form.get(), {1, 400}, {});
  Drag(Form.get(), {1, 400}, {{2, 401}});  // within the drag threshold: still a click
  Form->SetBounds(100, 50, 500, 700);
  Platform->PaintAll();
  EXPECT_EQ(BoundsOf(*Form), TRect::Bounds(100, 50, 800, 700));
}

TEST_F(WindowEdges, AFormIsNeverLargerThanItsPicturesAndPaintingSurvivesWhatLeavesIt) {
  // The top edge dragged 77,600 px up with retained painting: the form stops at the
  // largest side a picture has, and every paint on the way works.
  Platform->SetRetainedPainting(true);
  Drag(Form.get(), {200, 1}, {{200, -77600}});
  EXPECT_EQ(Form->Height(), TCommonCustomForm::MaxSide);
  EXPECT_EQ(Form->Top() + Form->Height(), 400);  // the bottom edge stayed
  ASSERT_NE(Platform->RetainedCanvas(Form.get()), nullptr);
  EXPECT_EQ(Platform->RetainedCanvas(Form.get())->Height(), TCommonCustomForm::MaxSide);

  // A scale nothing can paint with is refused; a size past the integers' range is cut.
  Platform->SetRetainedPainting(false);
  for (float scale : {NAN, INFINITY, 0.0f, -2.0f, 1e9f}) {
    Platform->SetDeviceScale(scale);
    EXPECT_EQ(Platform->DeviceScale(), 1.0f) << scale;
  }
  Form->SetBounds(1873, -1, 2147483646, -2);
  EXPECT_EQ(Form->Width(), TCommonCustomForm::MaxSide);
  EXPECT_EQ(Form->Height(), 0);
  Platform->SetDeviceScale(2);
  EXPECT_EQ(Platform->Snapshot(Form.get())->Width(), TBitmap::MaxSide);

  // A paint handler that throws: the exception is the application's, and the next
  // paint still paints.
  Form->SetBounds(100, 100, 400, 300);
  Platform->SetDeviceScale(1);
  int paints = 0;
  auto* c = new TRectangle(Form.get());
  c->SetParent(Form.get());
  c->SetOnPaint([&](TObject*) {
    if (++paints == 1) throw std::runtime_error("paint handler");
  });
  Form->InvalidateAll();
  EXPECT_THROW(Platform->PaintAll(), std::runtime_error);
  Platform->PaintAll();
  EXPECT_EQ(paints, 2);
}

TEST_F(WindowEdges, EdgesAtTheEndOfTheIntegersStayThere) {
  // A drag of the left edge of a form held near the largest left, and a move.
  TQVConstrainedForm form(nullptr);
  form.Constraints()->SetMinLeft(INT_MAX - 10);
  form.SetBounds(0, 100, 400, 300);
  form.SetTransparency(true);
  form.Show();
  Drag(&form, {1, 150}, {{300, 150}});
  EXPECT_EQ(BoundsOf(form), (TRect{INT_MAX - 1, 100, INT_MAX, 400}));
  TRect r{INT_MAX - 5, INT_MIN, 0, 0};
  r.SetWidth(400);
  r.SetHeight(-10);
  EXPECT_EQ(r, (TRect{INT_MAX - 5, INT_MIN, INT_MAX, INT_MIN}));
  EXPECT_EQ((TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}).Width(), INT_MAX);
}
