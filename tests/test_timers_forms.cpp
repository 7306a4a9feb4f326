#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostTestSupport.h"
#include "host/Dialogs.h"
#include "host/StdCtrls.h"
#include "host/Timers.h"

using namespace fmx;
using fmx::testing::MakeForm;

namespace {
class TimersAndForms : public fmx::testing::HeadlessTest {};

TTimer* MakeTimer(TComponent* owner, unsigned interval, std::vector<std::string>& log,
                  const std::string& name) {
  auto* t = new TTimer(owner);
  t->SetEnabled(false);
  t->SetInterval(interval);
  t->SetOnTimer([&log, name](TObject*) { log.push_back(name); });
  t->SetEnabled(true);
  return t;
}

class BoundsRecordingForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<TRect> Calls;
  void SetBounds(int L, int T, int W, int H) override {
    Calls.push_back({L, T, W, H});
    TForm::SetBounds(L, T, W, H);
  }
};
}  // namespace

TEST_F(TimersAndForms, TimersTickInTimeOrderOnTheVirtualClock) {
  TComponent owner(nullptr);
  std::vector<std::string> log;
  MakeTimer(&owner, 100, log, "fast");
  MakeTimer(&owner, 250, log, "slow");
  Platform->Advance(99);
  EXPECT_TRUE(log.empty());
  Platform->Advance(400);
  EXPECT_EQ(log, (std::vector<std::string>{"fast", "fast", "slow", "fast", "fast"}));
}

TEST_F(TimersAndForms, EnablingRestartsTheIntervalAndZeroOrDisabledNeverTicks) {
  TComponent owner(nullptr);
  std::vector<std::string> log;
  TTimer* t = MakeTimer(&owner, 100, log, "t");
  Platform->Advance(60);
  t->SetEnabled(false);
  t->SetEnabled(true);
  Platform->Advance(60);
  EXPECT_TRUE(log.empty());  // restarted at 60, so not due before 160
  Platform->Advance(40);
  EXPECT_EQ(log.size(), 1u);
  t->SetInterval(0);
  Platform->Advance(1000);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(TimersAndForms, ATimerMayFreeItselfOrAnotherInItsHandler) {
  std::vector<std::string> log;
  auto* a = MakeTimer(nullptr, 100, log, "a");
  auto* b = MakeTimer(nullptr, 100, log, "b");
  a->SetOnTimer([&](TObject* s) {
    log.push_back("a");
    delete b;
    delete static_cast<TTimer*>(s);
  });
  Platform->Advance(300);
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

TEST_F(TimersAndForms, AllFourBoundsPropertiesGoThroughSetBounds) {
  BoundsRecordingForm form(nullptr);
  form.Calls.clear();
  form.SetLeft(10);
  form.SetTop(20);
  form.SetWidth(300);
  form.SetHeight(200);
  ASSERT_EQ(form.Calls.size(), 4u);
  EXPECT_EQ(form.Calls[3], (TRect{10, 20, 300, 200}));
  EXPECT_EQ(Platform->LastWindowRect(), (TRect{10, 20, 310, 220}));
}

TEST_F(TimersAndForms, CloseAsksOnCloseQueryAndAHiddenMainFormEndsTheRun) {
  auto form = MakeForm();
  Application->SetMainForm(form.get());
  bool allow = false;
  int closes = 0;
  form->SetOnCloseQuery([&](TObject*, bool& canClose) { canClose = allow; });
  form->SetOnClose([&](TObject*, TCloseAction&) { ++closes; });
  form->Close();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(Application->Terminated());
  allow = true;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(TimersAndForms, WindowStateActivityAndMessagesAreRecorded) {
  auto form = MakeForm();
  EXPECT_TRUE(form->Active());  // a shown window takes the focus
  Platform->SetActive(form.get(), false);
  EXPECT_FALSE(form->Active());
  form->SetWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
  ShowMessage("hello");
  EXPECT_EQ(Platform->Messages(), (std::vector<std::string>{"hello"}));
  EXPECT_EQ(Screen->Width(), 1920);
  EXPECT_EQ(Screen->Height(), 1080);
  EXPECT_NE(TPlatformServices::Current()->GetPlatformService<IFMXWindowService>(), nullptr);
}

TEST_F(TimersAndForms, WindowDragMovesTheFormWithThePointerUntilRelease) {
  auto form = MakeForm();
  form->SetBounds(100, 100, 400, 300);
  auto* grip = new TControl(form.get());
  grip->SetParent(form.get());
  grip->SetBounds(0, 0, 400, 30);
  grip->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) {
    form->StartWindowDrag();
  });
  int ups = 0;
  grip->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, float, float) { ++ups; });
  Platform->MouseDown(form.get(), TMouseButton::mbLeft, 50, 10);
  EXPECT_TRUE(Platform->IsDragging(form.get()));
  Platform->MouseMove(form.get(), 150, 60);
  EXPECT_EQ(form->Left(), 200);
  EXPECT_EQ(form->Top(), 150);
  Platform->MouseUp(form.get(), TMouseButton::mbLeft, 150, 60);
  EXPECT_FALSE(Platform->IsDragging(form.get()));
  EXPECT_EQ(ups, 0);  // a real drag eats the release
  // A press that never moves the window still gets its release.
  Platform->MouseDown(form.get(), TMouseButton::mbLeft, 50, 10);
  Platform->MouseUp(form.get(), TMouseButton::mbLeft, 50, 10);
  EXPECT_EQ(ups, 1);
  Platform->MouseMove(form.get(), 10, 10);
  EXPECT_EQ(form->Left(), 200);

  // Grabbed far right, then made narrow by the application mid-drag: the window stays
  // under the pointer by its nearest point instead of sliding off to the left.
  Platform->MouseDown(form.get(), TMouseButton::mbLeft, 350, 10);
  form->SetBounds(form->Left(), form->Top(), 100, 300);
  Platform->MouseMove(form.get(), 300, 10);
  EXPECT_EQ(form->Left(), 200 + 300 - 99);
  EXPECT_EQ(form->Top(), 150);
  Platform->MouseUp(form.get(), TMouseButton::mbLeft, 300, 10);
}

namespace {
// Grows a sibling on its first paint, as controls that lay out while painting do.
class GrowOnPaint : public TControl {
 public:
  using TControl::TControl;
  TControl* Other = nullptr;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    if (Other != nullptr) Other->SetWidth(Other->Width() + 10);
    Other = nullptr;
  }
};
}  // namespace

TEST_F(TimersAndForms, PaintingRunsBackToFrontAndRepeatsUntilTheTreeIsStable) {
  auto form = MakeForm();
  std::vector<std::string> order;
  auto* back = new TControl(form.get());
  back->SetParent(form.get());
  back->SetOnPaint([&](TObject*) { order.push_back("back"); });
  auto* hidden = new TControl(form.get());
  hidden->SetParent(form.get());
  hidden->SetVisible(false);
  hidden->SetOnPaint([&](TObject*) { order.push_back("hidden"); });
  auto* front = new GrowOnPaint(form.get());
  front->SetParent(form.get());
  front->SetOnPaint([&](TObject*) { order.push_back("front"); });
  front->Other = back;
  EXPECT_EQ(form->PaintTo(nullptr), 2);
  EXPECT_EQ(order, (std::vector<std::string>{"back", "front", "back", "front"}));
  EXPECT_EQ(back->Width(), 110);
  order.clear();
  EXPECT_EQ(form->PaintTo(nullptr), 1);
}

TEST_F(TimersAndForms, SizeGripDragResizesItsForm) {
  auto form = MakeForm(400, 300);
  auto* grip = new TSizeGrip(form.get());
  grip->SetParent(form.get());
  grip->SetBounds(384, 284, 16, 16);
  Platform->MouseDown(form.get(), TMouseButton::mbLeft, 390, 290);
  Platform->MouseMove(form.get(), 450, 330);
  Platform->MouseUp(form.get(), TMouseButton::mbLeft, 450, 330);
  EXPECT_EQ(form->Width(), 460);
  EXPECT_EQ(form->Height(), 340);
}
