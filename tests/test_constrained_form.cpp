// The constrained form: clamping on every SetBounds, the window service, extreme
// bounds, the form's own limits object, and the title bar's window operations.
#include <gtest/gtest.h>

#include <climits>

#include "FMX.QVConstrainedForm.h"
#include "FMX.QVTitleBar.h"
#include "HostTestSupport.h"
#include "TitleBarInspector.h"

using namespace fmx;

namespace {

class ConstrainedForm : public fmx::testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = std::make_unique<TQVConstrainedForm>(nullptr);
    Form->SetBounds(100, 100, 640, 480);
  }
  TRect Bounds() const { return TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height()); }
  std::unique_ptr<TQVConstrainedForm> Form;
};

}  // namespace

TEST_F(ConstrainedForm, LimitsClampEachQuantityMinimumFirstAndAbsentLimitsPassEverythingThrough) {
  // No limits: everything passes, negative positions included.
  Form->SetBounds(-50, -20, 10, 5);
  EXPECT_EQ(Bounds(), (TRect{-50, -20, -40, -15}));

  TQVConstraints* c = Form->Constraints();
  c->SetMinWidth(300);
  c->SetMaxWidth(800);
  Form->SetWidth(100);
  EXPECT_EQ(Form->Width(), 300);
  Form->SetWidth(1000);
  EXPECT_EQ(Form->Width(), 800);
  Form->SetWidth(500);
  EXPECT_EQ(Form->Width(), 500);

  // A minimum above the maximum: the maximum wins.
  c->SetMinWidth(900);
  Form->SetWidth(100);
  EXPECT_EQ(Form->Width(), 800);

  // Negative limits are no limits.
  c->SetMinHeight(-10);
  c->SetMaxHeight(-10);
  Form->SetHeight(7);
  EXPECT_EQ(Form->Height(), 7);

  c->SetMinLeft(50);
  c->SetMaxTop(400);
  Form->SetBounds(10, 600, 500, 7);
  EXPECT_EQ(Form->Left(), 50);
  EXPECT_EQ(Form->Top(), 400);

  // Through the base class and the single-edge setters alike.
  c->SetMaxLeft(60);
  static_cast<TCommonCustomForm*>(Form.get())->SetLeft(1000);
  EXPECT_EQ(Form->Left(), 60);
}

TEST_F(ConstrainedForm, ANewLimitActsOnlyFromTheNextSetBounds) {
  Form->Constraints()->SetMaxWidth(400);
  EXPECT_EQ(Bounds(), (TRect{100, 100, 740, 580}));
  Form->SetTop(120);
  EXPECT_EQ(Bounds(), (TRect{100, 120, 500, 600}));
}

TEST_F(ConstrainedForm, TheWindowServiceGetsTheClampedRectangleOnEveryCall) {
  Form->Constraints()->SetMinWidth(300);
  const int before = Platform->WindowServiceCalls();
  Form->SetBounds(10, 20, 100, 200);
  EXPECT_EQ(Platform->WindowServiceCalls(), before + 1);
  EXPECT_EQ(Platform->LastWindowServiceRect(), (TRectF{10, 20, 310, 220}));
  // The same bounds again: the form does not change, the window is told all the same.
  const int applied = Platform->WindowRectCalls();
  Form->SetBounds(10, 20, 100, 200);
  EXPECT_EQ(Platform->WindowServiceCalls(), before + 2);
  EXPECT_EQ(Platform->WindowRectCalls(), applied + 1);
  EXPECT_EQ(Platform->LastWindowRect(), (TRect{10, 20, 310, 220}));
}

TEST_F(ConstrainedForm, ExtremeBoundsNeitherWrapAroundNorOverflow) {
  Form->SetBounds(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_EQ(Platform->LastWindowServiceRect().Right, 4294967294.0f);
  EXPECT_EQ(Platform->LastWindowRect(), (TRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}));
  EXPECT_EQ(Form->Width(), TCommonCustomForm::MaxSide);  // the host paints no larger

  Form->SetBounds(INT_MIN, INT_MIN, INT_MIN, INT_MIN);
  EXPECT_EQ(Platform->LastWindowServiceRect().Right, -4294967296.0f);
  EXPECT_EQ(Platform->LastWindowRect(), (TRect{INT_MIN, INT_MIN, INT_MIN, INT_MIN}));
  EXPECT_EQ(Form->Width(), 0);  // the host keeps sizes non-negative

  Form->Constraints()->SetMaxLeft(INT_MAX);
  Form->Constraints()->SetMinWidth(INT_MAX);
  Form->SetBounds(INT_MAX - 1, 0, 1, 1);
  EXPECT_EQ(Bounds(), (TRect{INT_MAX - 1, 0, INT_MAX, 1}));
}

TEST_F(ConstrainedForm, TheFormKeepsItsOwnLimitsWhateverTheApplicationDoesWithItsObjects) {
  TQVConstraints* own = Form->Constraints();
  {
    TQVConstraints mine;
    mine.SetMinWidth(300);
    mine.SetMaxHeight(200);
    Form->SetConstraints(&mine);
    Form->SetConstraints(&mine);  // twice: nothing leaks, nothing is freed twice
  }  // the application's object is gone; the form's limits are not
  EXPECT_EQ(Form->Constraints(), own);
  Form->SetBounds(0, 0, 10, 1000);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 300, 200}));

  Form->SetConstraints(own);  // its own object: unchanged
  EXPECT_EQ(own->MinWidth(), 300);
  Form->SetConstraints(nullptr);  // lifts every limit
  Form->SetBounds(0, 0, 10, 1000);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 10, 1000}));
}

TEST_F(ConstrainedForm, TheTitleBarsWindowOperationsPassThroughTheLimits) {
  Form->Constraints()->SetMaxWidth(1200);
  Form->Constraints()->SetMaxHeight(900);
  Form->SetBounds(100, 50, 1000, 700);
  Form->Show();
  Form->SetTransparency(true);
  auto* bar = new TQVTitleBar(Form.get());
  bar->SetParent(Form.get());
  Platform->PaintAll();
  Platform->DoubleClick(Form.get(), 500, 10);  // maximise: the screen is 1920 x 1080
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1200, 900}));
}

TEST_F(ConstrainedForm, TheTitleBarsWindowOperationsAtTheEndOfTheIntegers) {
  // Held at the largest top, then at a left whose right edge is past the integers: the
  // system menu saves the window and the double-click maximises without wrapping.
  Form->Constraints()->SetMinTop(INT_MAX);
  Form->SetBounds(100, 0, 1000, 700);
  Form->Show();
  Form->SetTransparency(true);
  auto* bar = new TQVTitleBar(Form.get());
  bar->SetParent(Form.get());
  Platform->PaintAll();
  ASSERT_EQ(Form->Top(), INT_MAX);
  Platform->Click(Form.get(), 500, 10, TMouseButton::mbRight);
  EXPECT_TRUE(TQVTitleBarInspector(bar).PopupMenuShowed());
  Platform->Click(Form.get(), 500, 10, TMouseButton::mbLeft);

  Form->Constraints()->SetMinTop(0);
  Form->Constraints()->SetMinLeft(INT_MAX - 100);
  Form->SetBounds(0, 0, 1000, 700);
  Platform->DoubleClick(Form.get(), 500, 10);
  EXPECT_EQ(Form->Left(), INT_MAX - 100);
  Platform->DoubleClick(Form.get(), 500, 10);  // and back, to where it was
  EXPECT_EQ(Form->Left(), INT_MAX - 100);
  EXPECT_EQ(Form->Top(), 0);
}
