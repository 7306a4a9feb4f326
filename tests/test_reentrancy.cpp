// Handlers that free or move what called them, and other ways the tree changes under
// a dispatch: the dispatch must end safely (these run under AddressSanitizer in CI).
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "host/StdCtrls.h"

using namespace fmx;

namespace {
class Reentrancy : public fmx::testing::HeadlessTest {};

TControl* AddControl(TFmxObject* parent, TComponent* owner, TRectF r) {
  auto* c = new TControl(owner);
  c->SetParent(parent);
  c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  return c;
}
}  // namespace

TEST_F(Reentrancy, AClickHandlerMayFreeTheWholeForm) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 300, 200);
  form->Show();
  auto* button = AddControl(form, form, {0, 0, 100, 100});
  button->SetOnClick([form](TObject*) { delete form; });
  Platform->Click(form, 10, 10);
  EXPECT_TRUE(Application->Forms().empty());
}

TEST_F(Reentrancy, AnOnCloseHandlerMayFreeItsForm) {
  auto* form = new TForm(nullptr);
  form->Show();
  form->SetOnClose([form](TObject*, TCloseAction&) { delete form; });
  form->Close();
  EXPECT_TRUE(Application->Forms().empty());
}

TEST_F(Reentrancy, AResizeHandlerMayFreeASiblingDuringLayout) {
  auto form = fmx::testing::MakeForm(300, 200);
  auto* top = AddControl(form.get(), form.get(), {0, 0, 10, 20});
  top->SetAlign(TAlignLayout::Top);
  auto* client = AddControl(form.get(), form.get(), {0, 0, 10, 10});
  client->SetAlign(TAlignLayout::Client);
  top->SetOnResize([&client](TObject*) {
    delete client;
    client = nullptr;
  });
  form->SetWidth(400);  // the top strip widens and its handler frees the client
  EXPECT_EQ(client, nullptr);
  EXPECT_EQ(top->Width(), 400);
}

TEST_F(Reentrancy, ADeactivationHandlerMayCreateAForm) {
  auto first = fmx::testing::MakeForm();
  std::unique_ptr<TForm> created;
  first->SetOnDeactivate([&](TObject*) {
    if (!created) created = std::make_unique<TForm>(nullptr);
  });
  auto second = fmx::testing::MakeForm();  // showing it takes the focus from the first
  Platform->SetActive(first.get(), true);
  Platform->SetActive(second.get(), true);
  EXPECT_TRUE(second->Active());
  EXPECT_NE(created, nullptr);
}

TEST_F(Reentrancy, AHiddenOrDisabledHoveredControlIsToldThePointerLeft) {
  auto form = fmx::testing::MakeForm();
  auto* panel = AddControl(form.get(), form.get(), {0, 0, 200, 200});
  auto* inner = AddControl(panel, form.get(), {0, 0, 50, 50});
  int leaves = 0;
  inner->SetOnMouseLeave([&](TObject*) { ++leaves; });
  Platform->MouseMove(form.get(), 10, 10);
  ASSERT_EQ(form->Hovered(), inner);
  panel->SetVisible(false);
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(inner->IsMouseOver());
  EXPECT_EQ(form->Hovered(), nullptr);
  panel->SetVisible(true);
  Platform->MouseMove(form.get(), 11, 11);
  inner->SetEnabled(false);
  EXPECT_EQ(leaves, 2);
}

TEST_F(Reentrancy, InsertingAnAlignedControlByIndexLaysItOutAtOnce) {
  auto form = fmx::testing::MakeForm(300, 200);
  auto* c = new TControl(form.get());
  c->SetAlign(TAlignLayout::Client);
  form->InsertObject(0, c);
  EXPECT_EQ(c->BoundsRect(), (TRectF{0, 0, 300, 200}));
}

TEST_F(Reentrancy, ARefusedNameKeepsTheComponentWithItsOldOwner) {
  TComponent oldOwner(nullptr), newOwner(nullptr);
  auto* clash = new TComponent(&newOwner);
  clash->SetName("Same");
  auto* moving = new TComponent(&oldOwner);
  moving->SetName("Same");
  EXPECT_THROW(newOwner.InsertComponent(moving), EComponentError);
  EXPECT_EQ(moving->Owner(), &oldOwner);
  EXPECT_EQ(oldOwner.ComponentCount(), 1);
}

TEST_F(Reentrancy, APaintHandlerMayFreeItsControl) {
  auto form = fmx::testing::MakeForm();
  auto* doomed = AddControl(form.get(), form.get(), {0, 0, 10, 10});
  AddControl(doomed, form.get(), {0, 0, 5, 5});
  doomed->SetOnPaint([](TObject* sender) { delete static_cast<TControl*>(sender); });
  form->PaintTo(nullptr);
  EXPECT_EQ(form->ChildrenCount(), 0);
}
