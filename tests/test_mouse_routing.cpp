#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostTestSupport.h"

using namespace fmx;
using fmx::testing::MakeForm;

namespace {

class MouseRouting : public fmx::testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = MakeForm(400, 300);
  }

  // A control at (x, y, w, h) that logs what reaches it as "<name>:<event>".
  TControl* Add(TFmxObject* parent, const std::string& name, float x, float y, float w, float h) {
    auto* c = new TControl(Form.get());
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    c->SetOnMouseEnter([this, name](TObject*) { Log.push_back(name + ":enter"); });
    c->SetOnMouseLeave([this, name](TObject*) { Log.push_back(name + ":leave"); });
    c->SetOnMouseDown([this, name](TObject*, TMouseButton, TShiftState s, float, float) {
      Log.push_back(name + (s.Contains(TShiftStateItem::ssDouble) ? ":down2" : ":down"));
    });
    c->SetOnMouseUp([this, name](TObject*, TMouseButton, TShiftState, float, float) {
      Log.push_back(name + ":up");
    });
    c->SetOnClick([this, name](TObject*) { Log.push_back(name + ":click"); });
    c->SetOnDblClick([this, name](TObject*) { Log.push_back(name + ":dblclick"); });
    return c;
  }

  std::unique_ptr<TForm> Form;
  std::vector<std::string> Log;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(MouseRouting, MovingSendsLeaveToTheOldAndEnterToTheNewHoveredOnly) {
  auto* panel = Add(Form.get(), "panel", 0, 0, 200, 200);
  auto* inner = Add(panel, "inner", 10, 10, 50, 50);
  Platform->MouseMove(Form.get(), 100, 100);
  Platform->MouseMove(Form.get(), 20, 20);
  EXPECT_EQ(Form->Hovered(), inner);
  Platform->MouseMove(Form.get(), 300, 250);
  EXPECT_EQ(Form->Hovered(), nullptr);
  EXPECT_EQ(Log, (Strings{"panel:enter", "panel:leave", "inner:enter", "inner:leave"}));
}

TEST_F(MouseRouting, APressReleasedOverAnotherControlReachesTheOtherWithoutAClick) {
  Add(Form.get(), "a", 0, 0, 100, 100);
  Add(Form.get(), "b", 100, 0, 100, 100);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 50, 50);
  Platform->MouseMove(Form.get(), 150, 50);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 150, 50);
  EXPECT_EQ(Log, (Strings{"a:enter", "a:down", "a:leave", "b:enter", "b:up"}));
}

TEST_F(MouseRouting, CaptureOnlyWhereTheControlAsksForIt) {
  auto* a = Add(Form.get(), "a", 0, 0, 100, 100);
  Add(Form.get(), "b", 100, 0, 100, 100);
  a->SetAutoCapture(true);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 50, 50);
  EXPECT_EQ(Form->Captured(), a);
  Platform->MouseMove(Form.get(), 150, 50);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 150, 50);
  // Everything went to the captured control; a release outside it is no click.
  EXPECT_EQ(Log, (Strings{"a:enter", "a:down", "a:up", "a:leave", "b:enter"}));
  EXPECT_EQ(Form->Captured(), nullptr);
}

TEST_F(MouseRouting, ClickVersusDoubleClick) {
  Add(Form.get(), "a", 0, 0, 100, 100);
  Platform->Click(Form.get(), 10, 10);
  Platform->Advance(THeadlessPlatform::DoubleClickTimeMs + 1);
  Platform->Click(Form.get(), 10, 10);
  EXPECT_EQ(Log, (Strings{"a:enter", "a:down", "a:up", "a:click", "a:down", "a:up", "a:click"}));
  Log.clear();
  Platform->DoubleClick(Form.get(), 10, 10);
  EXPECT_EQ(Log, (Strings{"a:down", "a:up", "a:click", "a:down2", "a:up", "a:dblclick"}));
  // Too far apart for a double-click.
  Log.clear();
  Platform->Advance(1000);
  Platform->Click(Form.get(), 10, 10);
  Platform->Click(Form.get(), 60, 60);
  EXPECT_EQ(Log, (Strings{"a:down", "a:up", "a:click", "a:down", "a:up", "a:click"}));
}

TEST_F(MouseRouting, APressOnNoControlReachesTheFormsOwnHandler) {
  Add(Form.get(), "a", 0, 0, 100, 100);
  TObject* sender = nullptr;
  float gotX = -1;
  Form->SetOnMouseDown([&](TObject* s, TMouseButton, TShiftState, float x, float) {
    sender = s;
    gotX = x;
  });
  Platform->Click(Form.get(), 300, 200);
  EXPECT_EQ(sender, Form.get());
  EXPECT_EQ(gotX, 300);
}

TEST_F(MouseRouting, DisabledAndHitTestFalseControlsArePassedOver) {
  auto* back = Add(Form.get(), "back", 0, 0, 200, 200);
  auto* disabledParent = Add(Form.get(), "dp", 0, 0, 100, 100);
  auto* insideDisabled = Add(disabledParent, "inside", 0, 0, 50, 50);
  disabledParent->SetEnabled(false);
  auto* noHit = Add(Form.get(), "nohit", 100, 0, 100, 100);
  noHit->SetHitTest(false);
  EXPECT_EQ(Form->ObjectAtPoint({10, 10}), back);
  EXPECT_EQ(Form->ObjectAtPoint({150, 50}), back);
  EXPECT_NE(Form->ObjectAtPoint({10, 10}), insideDisabled);
  // A HitTest-False control's children still take the mouse.
  auto* childOfNoHit = Add(noHit, "c", 0, 0, 20, 20);
  EXPECT_EQ(Form->ObjectAtPoint({105, 5}), childOfNoHit);
  // Disabled controls paint dimmed.
  EXPECT_FLOAT_EQ(insideDisabled->AbsoluteOpacity(), 0.6f);
}

TEST_F(MouseRouting, AChildOutsideItsParentIsHitUnlessTheParentClips) {
  auto* bar = Add(Form.get(), "bar", 0, 0, 100, 30);
  auto* hanging = Add(bar, "menu", 10, 30, 80, 100);
  EXPECT_EQ(Form->ObjectAtPoint({20, 60}), hanging);
  bar->SetClipChildren(true);
  EXPECT_EQ(Form->ObjectAtPoint({20, 60}), nullptr);
}

TEST_F(MouseRouting, AHandlerThatFreesItsControlDoesNotBreakTheDispatch) {
  auto* a = Add(Form.get(), "a", 0, 0, 100, 100);
  a->SetOnMouseDown([](TObject* sender, TMouseButton, TShiftState, float, float) {
    delete static_cast<TControl*>(sender);
  });
  Platform->Click(Form.get(), 10, 10);
  EXPECT_EQ(Form->Hovered(), nullptr);
  EXPECT_EQ(Form->ComponentCount(), 0);

  auto* b = Add(Form.get(), "b", 0, 0, 100, 100);
  auto* other = Add(Form.get(), "other", 200, 0, 100, 100);
  b->SetOnMouseUp([other](TObject* sender, TMouseButton, TShiftState, float, float) {
    static_cast<TControl*>(sender)->SetParent(other);  // moves away under the pointer
  });
  Platform->Click(Form.get(), 10, 10);
  EXPECT_EQ(b->Parent(), other);
}

TEST_F(MouseRouting, FreeingTheHoveredOrCapturedControlLeavesNoDanglingLink) {
  auto* a = Add(Form.get(), "a", 0, 0, 100, 100);
  a->SetAutoCapture(true);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 10, 10);
  ASSERT_EQ(Form->Captured(), a);
  delete a;
  EXPECT_EQ(Form->Hovered(), nullptr);
  EXPECT_EQ(Form->Captured(), nullptr);
  Platform->MouseMove(Form.get(), 20, 20);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 20, 20);
}
