#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "host/Controls.h"
#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/platform/headless/Headless.h"

using namespace fmx;

// A weak link must read nullptr however its target goes, and never before.
TEST(WeakLinks, ReadNullOnceTheTargetGoesInEveryWay) {
  THeadlessPlatform::Install();
  // Freed directly.
  auto* lone = new TRectangle(nullptr);
  TWeak<TControl> direct(lone);
  EXPECT_EQ(direct.Get(), lone);
  delete lone;
  EXPECT_EQ(direct.Get(), nullptr);

  // Freed by its owner, and by its parent while owned by someone else.
  auto* owner = new TComponent(nullptr);
  auto* parent = new TLayout(nullptr);
  auto* byOwner = new TRectangle(owner);
  auto* byParent = new TRectangle(owner);
  byParent->SetParent(parent);
  TWeak<TRectangle> ownedLink(byOwner), parentedLink(byParent);
  delete parent;
  EXPECT_EQ(parentedLink.Get(), nullptr);
  EXPECT_EQ(ownedLink.Get(), byOwner);
  delete owner;
  EXPECT_EQ(ownedLink.Get(), nullptr);

  // Freed by the teardown of a form: the link already reads null while the child's
  // own destructor runs, so no destructor hands out a half-destroyed control.
  struct Probe : TRectangle {
    using TRectangle::TRectangle;
    TWeak<TControl>* Link = nullptr;
    TControl** Seen = nullptr;
    ~Probe() override { *Seen = Link->Get(); }
  };
  auto* form = new TForm(nullptr);
  auto* child = new Probe(form);
  child->SetParent(form);
  TWeak<TControl> inForm(child);
  TControl* seenInDestructor = child;
  child->Link = &inForm;
  child->Seen = &seenInDestructor;
  delete form;
  EXPECT_EQ(seenInDestructor, nullptr);
  EXPECT_EQ(inForm.Get(), nullptr);
}

TEST(WeakLinks, CopiesAndMovesShareTheTargetAndOutliveIt) {
  auto* target = new TLayout(nullptr);
  TWeak<TLayout> a(target);
  TWeak<TLayout> b = a;
  TWeak<TLayout> c = std::move(b);
  EXPECT_EQ(b.Get(), nullptr);  // NOLINT: a moved-from link is empty
  EXPECT_EQ(c.Get(), target);
  TWeak<TControl> widened;
  widened = target;
  delete target;
  EXPECT_FALSE(a);
  EXPECT_EQ(c.Get(), nullptr);
  EXPECT_EQ(widened.Get(), nullptr);
  // Re-pointing a link that outlived its target works and takes no stale token along.
  auto* next = new TLayout(nullptr);
  a = next;
  EXPECT_EQ(a.Get(), next);
  delete next;
  EXPECT_EQ(a.Get(), nullptr);
}
