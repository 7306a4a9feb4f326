#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "HostTestSupport.h"
#include "host/Controls.h"

using namespace fmx;

namespace {

TControl* Child(TControl* parent, TAlignLayout align, float w = 10, float h = 10) {
  auto* c = new TControl(parent);
  c->SetSize(w, h);
  c->SetParent(parent);
  c->SetAlign(align);
  return c;
}

TRectF R(const TControl* c) { return c->BoundsRect(); }

}  // namespace

TEST(Alignment, EdgesStackInPhasesMostFirstThenOrdinaryThenClient) {
  TControl parent(nullptr);
  parent.SetSize(200, 100);
  auto* client = Child(&parent, TAlignLayout::Client);
  auto* left = Child(&parent, TAlignLayout::Left, 20);
  auto* top = Child(&parent, TAlignLayout::Top, 10, 15);
  auto* mostLeft = Child(&parent, TAlignLayout::MostLeft, 30);
  auto* mostTop = Child(&parent, TAlignLayout::MostTop, 10, 12);
  auto* mostBottom = Child(&parent, TAlignLayout::MostBottom, 10, 8);
  auto* right = Child(&parent, TAlignLayout::Right, 25);

  EXPECT_EQ(R(mostTop), (TRectF{0, 0, 200, 12}));
  EXPECT_EQ(R(mostBottom), (TRectF{0, 92, 200, 100}));
  EXPECT_EQ(R(mostLeft), (TRectF{0, 12, 30, 92}));
  EXPECT_EQ(R(top), (TRectF{30, 12, 200, 27}));
  EXPECT_EQ(R(left), (TRectF{30, 27, 50, 92}));
  EXPECT_EQ(R(right), (TRectF{175, 27, 200, 92}));
  EXPECT_EQ(R(client), (TRectF{50, 27, 175, 92}));
}

TEST(Alignment, SeveralMostRightSiblingsKeepTheirOrderByX) {
  // Cells given decreasing X before being aligned stay in that order from the right.
  TControl bar(nullptr);
  bar.SetSize(300, 32);
  auto make = [&](float w, float x) {
    auto* c = new TControl(&bar);
    c->SetParent(&bar);
    c->SetWidth(w);
    c->Position()->SetX(x);
    c->SetAlign(TAlignLayout::MostRight);
    return c;
  };
  auto* close = make(54, -3);
  auto* max = make(48, close->Position()->X() - 48 - 3);
  auto* min = make(48, max->Position()->X() - 48 - 3);
  EXPECT_EQ(R(close), (TRectF{246, 0, 300, 32}));
  EXPECT_EQ(R(max), (TRectF{198, 0, 246, 32}));
  EXPECT_EQ(R(min), (TRectF{150, 0, 198, 32}));
  // A resize of the bar keeps the order and the cells' widths.
  bar.SetWidth(400);
  EXPECT_EQ(close->Position()->X(), 346);
  EXPECT_EQ(min->Position()->X(), 250);
}

TEST(Alignment, ContentsIgnoresPaddingAndOtherChildrenButKeepsMargins) {
  TControl parent(nullptr);
  parent.SetSize(200, 100);
  parent.Padding()->Set(5, 5, 5, 5);
  Child(&parent, TAlignLayout::Top, 10, 20);
  auto* contents = Child(&parent, TAlignLayout::Contents);
  EXPECT_EQ(R(contents), (TRectF{0, 0, 200, 100}));
  contents->Margins()->SetLeft(33);
  EXPECT_EQ(R(contents), (TRectF{33, 0, 200, 100}));
}

TEST(Alignment, ChangesRealignAtOnceSoSizesReadBackRightAfter) {
  TControl parent(nullptr);
  parent.SetSize(200, 100);
  auto* c = Child(&parent, TAlignLayout::None, 10, 10);
  c->SetAlign(TAlignLayout::Client);
  EXPECT_EQ(c->Width(), 200);
  c->Margins()->Set(1, 2, 3, 4);
  EXPECT_EQ(R(c), (TRectF{1, 2, 197, 96}));
  parent.Padding()->SetLeft(10);
  EXPECT_EQ(c->Position()->X(), 11);
  parent.SetHeight(50);
  EXPECT_EQ(c->Height(), 44);
  auto* top = Child(&parent, TAlignLayout::Top, 10, 10);
  EXPECT_EQ(c->Position()->Y(), 12);
  top->SetVisible(false);
  EXPECT_EQ(c->Position()->Y(), 2);
}

TEST(Alignment, CenterVariantsAndMarginsAroundEachControl) {
  TControl parent(nullptr);
  parent.SetSize(100, 60);
  auto* center = Child(&parent, TAlignLayout::Center, 20, 10);
  EXPECT_EQ(R(center), (TRectF{40, 25, 60, 35}));
  auto* vert = Child(&parent, TAlignLayout::VertCenter, 20, 2);
  vert->Margins()->Set(6, 0, 4, 0);
  EXPECT_EQ(R(vert), (TRectF{6, 29, 96, 31}));
  auto* horz = Child(&parent, TAlignLayout::HorzCenter, 10, 5);
  EXPECT_EQ(R(horz), (TRectF{45, 0, 55, 60}));
}

TEST(Alignment, NegativeOrNanSizesNeverReachTheLayout) {
  TControl parent(nullptr);
  parent.SetSize(std::numeric_limits<float>::quiet_NaN(), -5);
  EXPECT_EQ(parent.Width(), 0);
  EXPECT_EQ(parent.Height(), 0);
  parent.SetSize(20, 20);
  auto* left = Child(&parent, TAlignLayout::Left, 50);
  auto* client = Child(&parent, TAlignLayout::Client);
  EXPECT_EQ(left->Width(), 50);
  // The area is used up: the client gets nothing rather than a negative width.
  EXPECT_EQ(client->Width(), 0);
  client->Margins()->Set(NAN, 0, 0, 0);
  EXPECT_FALSE(std::isnan(client->Position()->X()));
}

class FormAlignment : public fmx::testing::HeadlessTest {};

TEST_F(FormAlignment, FormLaysOutItsChildrenWithinItsPaddingAndOnResize) {
  auto form = fmx::testing::MakeForm(400, 300);
  form->Padding()->Set(0, 0, 0, 0);
  auto* bottom = new TControl(form.get());
  bottom->SetParent(form.get());
  bottom->SetHeight(32);
  bottom->SetAlign(TAlignLayout::MostBottom);
  EXPECT_EQ(R(bottom), (TRectF{0, 268, 400, 300}));
  form->SetHeight(600);
  EXPECT_EQ(R(bottom), (TRectF{0, 568, 400, 600}));
}

// A layout put off by a batch runs a handler that may throw. Flushed, the exception
// reaches the caller; a batch left by an exception drops what it put off instead of
// laying out a tree being given up, and the controls lay out again afterwards.
TEST(Alignment, ABatchFlushesWhereHandlersMayThrowAndDropsItsLayoutsWhenLeftByOne) {
  struct TBoom : std::runtime_error {
    TBoom() : std::runtime_error("boom") {}
  };
  TControl parent(nullptr);
  parent.SetSize(200, 100);
  auto* client = Child(&parent, TAlignLayout::Client);
  int resized = 0;
  bool fail = true;
  client->SetOnResize([&](TObject*) {
    ++resized;
    if (fail) throw TBoom();
  });
  {
    TRealignBatch batch;
    parent.SetSize(300, 100);
    EXPECT_EQ(resized, 0);
    EXPECT_THROW(batch.Flush(), TBoom);
    EXPECT_EQ(resized, 1);
  }
  EXPECT_THROW(
      {
        TRealignBatch batch;
        parent.SetSize(400, 100);
        throw TBoom();
      },
      TBoom);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(client->Width(), 300);
  fail = false;
  {
    TRealignBatch batch;
    parent.SetSize(500, 100);
  }
  EXPECT_EQ(resized, 2);
  EXPECT_EQ(client->Width(), 500);
}

// A hidden subtree is laid out when it shows, not while hidden: a closed menu of a
// thousand entries would otherwise be laid out at one width and again at the next.
TEST(Alignment, AHiddenSubtreeIsLaidOutWhenItShowsOrMovesWhereItShows) {
  TControl top(nullptr);
  top.SetSize(300, 200);
  auto* box = Child(&top, TAlignLayout::None, 100, 50);
  box->SetVisible(false);
  auto* fill = Child(box, TAlignLayout::Client);
  auto* side = Child(fill, TAlignLayout::Left, 20);  // hidden inside the hidden box
  side->SetVisible(false);
  auto* inner = Child(side, TAlignLayout::Client);
  box->SetSize(120, 60);
  EXPECT_EQ(R(fill), (TRectF{0, 0, 10, 10}));  // not laid out while hidden
  box->SetVisible(true);
  EXPECT_EQ(R(fill), (TRectF{0, 0, 120, 60}));  // shows: laid out at its last size
  EXPECT_EQ(R(inner), (TRectF{0, 0, 10, 10}));  // still behind its hidden parent
  side->SetVisible(true);
  EXPECT_EQ(R(inner), (TRectF{0, 0, 20, 60}));

  // A subtree that waited while hidden, moved under a shown parent, is laid out there;
  // moved under a hidden one, it waits for that one.
  auto* hidden = Child(&top, TAlignLayout::None, 80, 40);
  hidden->SetVisible(false);
  auto* moved = Child(hidden, TAlignLayout::None, 50, 30);
  auto* leaf = Child(moved, TAlignLayout::Client);
  moved->SetSize(60, 30);
  EXPECT_EQ(R(leaf), (TRectF{0, 0, 10, 10}));
  auto* otherHidden = Child(&top, TAlignLayout::None, 80, 40);
  otherHidden->SetVisible(false);
  moved->SetParent(otherHidden);
  EXPECT_EQ(R(leaf), (TRectF{0, 0, 10, 10}));
  moved->SetParent(&top);
  EXPECT_EQ(R(leaf), (TRectF{0, 0, 60, 30}));

  // What waits behind a control still hidden stays marked above it when the ancestor
  // shows, hides again and shows once more.
  auto* shell = Child(&top, TAlignLayout::None, 90, 90);
  shell->SetVisible(false);
  auto* mid = Child(shell, TAlignLayout::None, 50, 50);
  auto* deep = Child(mid, TAlignLayout::None, 20, 20);
  deep->SetVisible(false);
  auto* deepest = Child(deep, TAlignLayout::Client);
  deep->SetSize(30, 40);
  mid->SetSize(60, 60);
  shell->SetVisible(true);
  shell->SetVisible(false);
  deep->SetVisible(true);
  EXPECT_EQ(R(deepest), (TRectF{0, 0, 10, 10}));
  shell->SetVisible(true);
  EXPECT_EQ(R(deepest), (TRectF{0, 0, 30, 40}));

  // A resize handler that throws while what waited is laid out leaves the rest waiting.
  auto* pane = Child(&top, TAlignLayout::None, 40, 40);
  pane->SetVisible(false);
  auto* first = Child(pane, TAlignLayout::None);
  auto* firstFill = Child(first, TAlignLayout::Client);
  auto* second = Child(pane, TAlignLayout::None);
  auto* secondFill = Child(second, TAlignLayout::Client);
  first->SetSize(20, 20);
  second->SetSize(30, 30);
  firstFill->SetOnResize([](TObject*) { throw std::runtime_error("resize"); });
  EXPECT_THROW(pane->SetVisible(true), std::runtime_error);
  firstFill->SetOnResize({});
  EXPECT_EQ(R(secondFill), (TRectF{0, 0, 10, 10}));
  pane->SetVisible(false);
  pane->SetVisible(true);
  EXPECT_EQ(R(secondFill), (TRectF{0, 0, 30, 30}));
}
