#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/Controls.h"

using namespace fmx;

namespace {

std::vector<std::string> gLog;

class Logged : public TComponent {
 public:
  Logged(TComponent* AOwner, std::string Tag) : TComponent(AOwner), FTagName(std::move(Tag)) {}
  ~Logged() override {
    gLog.push_back(FTagName + (IsDestroying() ? ":destroying" : ":not-destroying"));
  }

 private:
  std::string FTagName;
};

class Watcher : public TComponent {
 public:
  using TComponent::TComponent;
  TComponent* Watched = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == TOperation::opRemove && AComponent == Watched) Watched = nullptr;
  }
};

class StateAtConstruction : public TComponent {
 public:
  explicit StateAtConstruction(TComponent* AOwner) : TComponent(AOwner), Seen(ComponentState()) {}
  TComponentState Seen;
};

}  // namespace

TEST(Components, OwnerFreesOwnedLastCreatedFirstAndEachKnowsItIsGoing) {
  gLog.clear();
  auto* root = new Logged(nullptr, "root");
  new Logged(root, "a");
  auto* b = new Logged(root, "b");
  new Logged(b, "b1");
  EXPECT_EQ(root->ComponentCount(), 2);
  delete root;
  EXPECT_EQ(gLog, (std::vector<std::string>{"root:destroying", "b:destroying", "b1:destroying",
                                            "a:destroying"}));
}

TEST(Components, FreeingAnOwnedComponentTakesItOffItsOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_THROW(owner.Components(5), EComponentError);
}

TEST(Components, FreeNotificationClearsAWatchersLinkWhicheverGoesFirst) {
  Watcher watcher(nullptr);
  auto* target = new TComponent(nullptr);
  watcher.Watched = target;
  target->FreeNotification(&watcher);
  delete target;
  EXPECT_EQ(watcher.Watched, nullptr);

  // The watcher going first must not leave the target holding a dangling watcher.
  auto* target2 = new TComponent(nullptr);
  {
    Watcher shortLived(nullptr);
    shortLived.Watched = target2;
    target2->FreeNotification(&shortLived);
  }
  delete target2;  // would touch the freed watcher if the link were left behind
}

TEST(Components, NamesAreIdentifiersUniqueWithinTheirOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("has space"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  b->SetName("Button2");
  EXPECT_EQ(owner.FindComponent("BUTTON2"), b);
  // Two unnamed components may share an owner.
  new TComponent(&owner);
  EXPECT_EQ(owner.ComponentCount(), 3);

  // The lookup follows renames, moves to another owner and frees.
  b->SetName("Renamed");
  EXPECT_EQ(owner.FindComponent("Button2"), nullptr);
  EXPECT_EQ(owner.FindComponent("renamed"), b);
  a->SetName("");
  EXPECT_EQ(owner.FindComponent("Button1"), nullptr);
  b->SetName("Button1");  // the freed name is free again
  TComponent other(nullptr);
  other.InsertComponent(b);
  EXPECT_EQ(owner.FindComponent("Button1"), nullptr);
  EXPECT_EQ(other.FindComponent("BUTTON1"), b);
  auto* clash = new TComponent(&owner);
  clash->SetName("Button1");
  EXPECT_THROW(other.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->Owner(), &owner);
  delete b;
  EXPECT_EQ(other.FindComponent("Button1"), nullptr);
  EXPECT_EQ(owner.FindComponent("Button1"), clash);
}

TEST(Components, DesignerStateReachesOwnedComponentsAndNewOnes) {
  TComponent owner(nullptr);
  auto* before = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(before->IsDesigning());
  auto* after = new StateAtConstruction(&owner);
  EXPECT_TRUE(after->Seen.Contains(TComponentStateItem::csDesigning));
}

TEST(Components, StateScopePresetsFlagsBeforeTheConstructorRuns) {
  {
    TComponentStateScope scope({TComponentStateItem::csLoading, TComponentStateItem::csReading});
    StateAtConstruction c(nullptr);
    EXPECT_TRUE(c.Seen.Contains(TComponentStateItem::csLoading));
    EXPECT_TRUE(c.Seen.Contains(TComponentStateItem::csReading));
    c.Loaded();
    EXPECT_FALSE(c.IsLoading());
  }
  StateAtConstruction plain(nullptr);
  EXPECT_TRUE(plain.Seen.Empty());
}

TEST(ObjectTree, ChildrenKeepZOrderAndMoveToFrontOrBack) {
  TControl parent(nullptr);
  auto* a = new TControl(&parent);
  auto* b = new TControl(&parent);
  auto* c = new TControl(&parent);
  for (auto* x : {a, b, c}) x->SetParent(&parent);
  a->BringToFront();
  EXPECT_EQ(parent.ChildrenList(), (TFmxObjectList{b, c, a}));
  c->SendToBack();
  EXPECT_EQ(parent.ChildrenList(), (TFmxObjectList{c, b, a}));
  EXPECT_THROW(parent.SetParent(a), EComponentError);
}

TEST(ObjectTree, FreeingAParentFreesChildrenOwnedElsewhere) {
  TComponent owner(nullptr);
  auto* parent = new TControl(&owner);
  auto* child = new TControl(&owner);
  child->SetParent(parent);
  delete parent;
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ObjectTree, FindStyleResourceSearchesTheTreeByStyleName) {
  TControl root(nullptr);
  auto* panel = new TControl(&root);
  panel->SetParent(&root);
  auto* text = new TControl(&root);
  text->SetParent(panel);
  text->SetStyleName("text");
  panel->SetStyleName("buttonstyle");
  EXPECT_EQ(root.FindStyleResource("buttonstyle"), panel);
  EXPECT_EQ(root.FindStyleResource("TEXT"), text);
  EXPECT_EQ(panel->FindStyleResource("text"), text);
  EXPECT_EQ(root.FindStyleResource("missing"), nullptr);
}

namespace {
class RecordingParent : public TControl {
 public:
  using TControl::TControl;
  std::vector<std::string> Events;

 protected:
  void DoAddObject(TFmxObject* AObject) override {
    TControl::DoAddObject(AObject);
    Events.push_back("add");
  }
  void DoRemoveObject(TFmxObject* AObject) override {
    // The child is still whole here, even when it is being freed.
    Events.push_back(dynamic_cast<TControl*>(AObject) ? "remove-control" : "remove-other");
    TControl::DoRemoveObject(AObject);
  }
};
}  // namespace

TEST(ObjectTree, ParentHooksSeeAddsAndWholeChildrenOnRemoval) {
  RecordingParent parent(nullptr);
  auto* child = new TControl(nullptr);
  child->SetParent(&parent);
  delete child;
  EXPECT_EQ(parent.Events, (std::vector<std::string>{"add", "remove-control"}));
}
