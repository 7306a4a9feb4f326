// Handlers that free what the host or the title bar is still working on: the control
// itself, its parent, a timer, the title bar or the form. Each scenario ends cleanly
// only if the code after the handler knows the object is gone; under the sanitizer
// build any read of the freed object fails the test.
#include <gtest/gtest.h>

#include <cmath>

#include "DamageSupport.h"
#include "TitleBarSupport.h"
#include "host/Canvas.h"
#include "host/Timers.h"

using namespace fmx;
using fmx::testing::ExpectKeptPictureMatchesFullPaint;

namespace {

TControl* AddControl(TFmxObject* parent, TRectF r, TAlignLayout align = TAlignLayout::None) {
  auto* c = new TControl(parent);
  c->SetParent(parent);
  c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  c->SetAlign(align);
  return c;
}

// Frees the sender's target once, then forgets it.
template <class T>
TNotifyEvent Frees(TWeak<T> target) {
  return [target](TObject*) mutable {
    if (T* t = target.Get()) delete t;
    target = nullptr;
  };
}

class FreedByHandler : public fmx::testing::TitleBarTest {
 protected:
  // A heap form the scenario may free, with an enabled title bar.
  TForm* MakeBarForm(TQVTitleBar** Bar) {
    auto* f = new TForm(nullptr);
    f->SetBounds(100, 50, 1000, 700);
    f->Show();
    f->SetTransparency(true);
    *Bar = new TQVTitleBar(f);
    (*Bar)->SetParent(f);
    Platform->PaintAll();
    return f;
  }
};

}  // namespace

// --- the title bar ------------------------------------------------------------------

TEST_F(FreedByHandler, TitleBarPaintStopsWhenItsHeightResetFreesIt) {
  // The bar's own resize handler, then a sibling's during the form's realign.
  for (bool own : {true, false}) {
    auto* tb = AddTitleBar();
    TControl* sibling = AddControl(Form.get(), {0, 0, 50, 50}, TAlignLayout::Client);
    tb->SetHeight(50);  // Paint puts the class height back, resizing the bar
    if (own)
      tb->SetOnResize(Frees(TWeak<TQVTitleBar>(tb)));
    else
      sibling->SetOnResize(Frees(TWeak<TQVTitleBar>(tb)));
    TWeak<TQVTitleBar> link(tb);
    Form->InvalidateAll();
    Platform->PaintAll();
    EXPECT_FALSE(link.Alive()) << (own ? "own handler" : "sibling's handler");
    delete sibling;
  }
}

TEST_F(FreedByHandler, MaximisingStopsWhenTheFormsResizeFreesIt) {
  TQVTitleBar* tb = nullptr;
  TForm* f = MakeBarForm(&tb);
  TWeak<TForm> link(f);
  f->SetOnResize([f](TObject*) { delete f; });
  Platform->DoubleClick(f, 300, 10);  // on the caption: maximise moves and resizes
  EXPECT_FALSE(link.Alive());

  // And the application's own SetBounds.
  auto* g = new TForm(nullptr);
  TWeak<TForm> other(g);
  g->SetOnResize([g](TObject*) { delete g; });
  g->SetBounds(0, 0, 641, 479);
  EXPECT_FALSE(other.Alive());
}

TEST_F(FreedByHandler, SizeGripDragStopsWhenTheResizeFreesTheTitleBar) {
  auto* tb = AddTitleBar();
  tb->SetSizeGripVisible(true);
  Platform->PaintAll();
  TQVTitleBarInspector in(tb);
  TWeak<TSizeGrip> grip(in.SizeGrip());
  ASSERT_TRUE(grip.Alive());
  const TPointF at = grip->LocalToAbsolute({8, 8});
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, at.X, at.Y);
  ASSERT_EQ(Form->Captured(), grip.Get());
  Form->SetOnResize(Frees(TWeak<TQVTitleBar>(tb)));
  Platform->MouseMove(Form.get(), at.X + 20, at.Y + 20, {TShiftStateItem::ssLeft});
  EXPECT_FALSE(grip.Alive());
  EXPECT_EQ(Form->Captured(), nullptr);
  EXPECT_EQ(Form->Width(), 1020);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, at.X + 20, at.Y + 20);
}

TEST_F(FreedByHandler, ATimerFreedWhilePaintingBeforeItsTickDoesNotTick) {
  // The title bar's activity timer is due; painting before the tick frees the bar,
  // and the bar frees its timer.
  auto* tb = AddTitleBar();
  TControl* painter = AddControl(Form.get(), {200, 200, 50, 50});
  painter->SetOnPaint(Frees(TWeak<TQVTitleBar>(tb)));
  TWeak<TQVTitleBar> link(tb);
  Form->InvalidateAll();
  Platform->Advance(150);
  EXPECT_FALSE(link.Alive());

  // A timer's handler freeing another due timer, and itself.
  auto* a = new TTimer(nullptr);
  auto* b = new TTimer(nullptr);
  a->SetInterval(10);
  b->SetInterval(10);
  int ticks = 0;
  a->SetOnTimer([&](TObject*) {
    ++ticks;
    delete b;
    delete a;
  });
  b->SetOnTimer([&](TObject*) { ++ticks; });
  Platform->Advance(50);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(Application->Timers().NextDue(), UINT64_MAX);
}

TEST_F(FreedByHandler, ChangingTheHeightClassStopsWhenTheBarsLayoutFreesIt) {
  // A control the application put on the bar: the wider caption buttons squeeze it.
  auto* tb = AddTitleBar();
  TControl* onBar = AddControl(tb, {0, 0, 10, 10}, TAlignLayout::Client);
  onBar->SetOnResize(Frees(TWeak<TQVTitleBar>(tb)));
  TWeak<TQVTitleBar> link(tb);
  tb->SetTitleBarHeight(TTitleBarHeight::thLargeHeight);
  EXPECT_FALSE(link.Alive());
}

// --- layout and painting ------------------------------------------------------------

TEST_F(FreedByHandler, LayoutGoesOnPastAChildItsPlacingFreed) {
  TControl* doomed = AddControl(Form.get(), {0, 0, 50, 40}, TAlignLayout::Top);
  doomed->Margins()->Set(3, 4, 5, 6);
  TControl* below = AddControl(Form.get(), {0, 100, 50, 40}, TAlignLayout::Top);
  doomed->SetOnResize(Frees(TWeak<TControl>(doomed)));
  Form->SetWidth(700);
  EXPECT_EQ(Form->ChildrenCount(), 1);
  EXPECT_EQ(below->Width(), 700);
}

TEST_F(FreedByHandler, PaintingStopsWhenAChildsPaintHandlerFreesTheParent) {
  TControl* parent = AddControl(Form.get(), {10, 10, 100, 100});
  parent->SetClipChildren(true);
  TControl* child = AddControl(parent, {0, 0, 20, 20});
  child->SetOnPaint(Frees(TWeak<TControl>(parent)));
  auto picture = Platform->Snapshot(Form.get());
  EXPECT_EQ(Form->ChildrenCount(), 0);
  EXPECT_FALSE(picture->IsEmpty());
}

// --- values held by a control -----------------------------------------------------------

// A control hears of changes to its brushes and text settings whatever handler the
// application puts on them; a settings handler that frees the label while its font
// changes ends the change there (under the sanitizer build, any later read fails).
TEST_F(FreedByHandler, HeldValuesTellTheirControlBesideTheApplicationsHandler) {
  // The kept picture is repainted only where something asked for it: a control cut
  // off from its brush would leave the old colour there.
  Platform->SetRetainedPainting(true);
  auto* rect = new TRectangle(Form.get());
  rect->SetParent(Form.get());
  rect->SetBounds(10, 10, 40, 40);
  ExpectKeptPictureMatchesFullPaint(Platform, Form.get(), "shown");
  int fills = 0;
  rect->Fill()->SetOnChange([&](TObject*) { ++fills; });
  rect->Fill()->SetColor(TAlphaColors::Red);
  EXPECT_EQ(fills, 1);
  ExpectKeptPictureMatchesFullPaint(Platform, Form.get(), "fill with a handler");
  rect->Fill()->SetOnChange(nullptr);
  rect->Fill()->SetColor(TAlphaColor{0xFF0000FF});
  EXPECT_EQ(fills, 1);
  ExpectKeptPictureMatchesFullPaint(Platform, Form.get(), "fill with the handler cleared");

  // So does the form with its fill.
  int formFills = 0;
  Form->Fill()->SetOnChange([&](TObject*) { ++formFills; });
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(TAlphaColors::Green);
  EXPECT_EQ(formFills, 2);
  ExpectKeptPictureMatchesFullPaint(Platform, Form.get(), "form fill with a handler");

  auto* label = new TLabel(Form.get());
  label->SetParent(Form.get());
  label->SetText("gone");
  int fontHandler = 0;
  label->TextSettings()->Font()->SetOnChange([&](TObject*) { ++fontHandler; });
  // Freeing something else leaves the font's own handler to run.
  auto* other = new TRectangle(Form.get());
  label->TextSettings()->SetOnChange(Frees(TWeak<TRectangle>(other)));
  label->TextSettings()->Font()->SetSize(18);
  EXPECT_EQ(fontHandler, 1);
  // Freeing the label frees the font: its handler must not run on it.
  label->TextSettings()->SetOnChange(Frees(TWeak<TLabel>(label)));
  TWeak<TLabel> link(label);
  label->TextSettings()->Font()->SetSize(20);
  EXPECT_FALSE(link.Alive());
  EXPECT_EQ(fontHandler, 1);
}

// --- setters that lay the parent out --------------------------------------------------

TEST_F(FreedByHandler, SettersStopWhenTheLayoutTheyStartFreesTheControl) {
  // SetBounds: laying out its own children frees it.
  {
    TControl* c = AddControl(Form.get(), {0, 0, 100, 100});
    TControl* child = AddControl(c, {0, 0, 10, 10}, TAlignLayout::Client);
    child->SetOnResize(Frees(TWeak<TControl>(c)));
    TWeak<TControl> link(c);
    c->SetBounds(5, 5, 200, 200);
    EXPECT_FALSE(link.Alive()) << "SetBounds";
  }
  // SetAlign: the parent's layout resizes it and its handler frees it.
  {
    TControl* c = AddControl(Form.get(), {0, 0, 100, 100});
    c->SetOnResize(Frees(TWeak<TControl>(c)));
    TWeak<TControl> link(c);
    c->SetAlign(TAlignLayout::Client);
    EXPECT_FALSE(link.Alive()) << "SetAlign";
  }
  // Realign: a child's handler frees the control being laid out.
  {
    TControl* c = AddControl(Form.get(), {0, 0, 100, 100});
    TControl* child = AddControl(c, {0, 0, 10, 10}, TAlignLayout::Client);
    child->SetOnResize(Frees(TWeak<TControl>(c)));
    c->Padding()->SetLeft(7);  // frees c through the realign it starts
    EXPECT_EQ(Form->ChildrenCount(), 0) << "Realign";
    TControl* d = AddControl(Form.get(), {0, 0, 100, 100});
    TControl* grand = AddControl(d, {0, 0, 10, 10}, TAlignLayout::Client);
    d->BeginUpdate();
    d->SetSize(300, 300);
    grand->SetOnResize(Frees(TWeak<TControl>(d)));
    d->EndUpdate();
    EXPECT_EQ(Form->ChildrenCount(), 0) << "EndUpdate";
  }
  // SetVisible: showing an aligned control lays the form out; a sibling's handler
  // frees it. Also through the title bar's size grip strip.
  {
    TControl* c = AddControl(Form.get(), {0, 0, 100, 100}, TAlignLayout::Top);
    c->SetVisible(false);
    TControl* sibling = AddControl(Form.get(), {0, 0, 10, 10}, TAlignLayout::Client);
    sibling->SetOnResize(Frees(TWeak<TControl>(c)));
    TWeak<TControl> link(c);
    c->SetVisible(true);
    EXPECT_FALSE(link.Alive()) << "SetVisible";
    auto* tb = AddTitleBar();
    sibling->SetOnResize(Frees(TWeak<TQVTitleBar>(tb)));
    TWeak<TQVTitleBar> bar(tb);
    tb->SetSizeGripVisible(true);
    EXPECT_FALSE(bar.Alive()) << "SetSizeGripVisible";
    delete sibling;
  }
}

TEST_F(FreedByHandler, ReparentingStopsWhenLeavingTheOldParentFreesTheChild) {
  for (bool byIndex : {false, true}) {
    TControl* oldParent = AddControl(Form.get(), {0, 0, 200, 200});
    TControl* newParent = AddControl(Form.get(), {0, 0, 200, 200});
    TControl* moving = AddControl(oldParent, {0, 0, 10, 30}, TAlignLayout::Top);
    TControl* rest = AddControl(oldParent, {0, 0, 10, 10}, TAlignLayout::Client);
    rest->SetOnResize(Frees(TWeak<TControl>(moving)));
    TWeak<TControl> link(moving);
    if (byIndex)
      newParent->InsertObject(0, moving);
    else
      newParent->AddObject(moving);
    EXPECT_FALSE(link.Alive());
    EXPECT_EQ(newParent->ChildrenCount(), 0);
    // The handler may free the new parent instead.
    TControl* again = AddControl(oldParent, {0, 0, 10, 30}, TAlignLayout::Top);
    rest->SetOnResize(Frees(TWeak<TControl>(newParent)));
    TWeak<TControl> target(newParent);
    newParent->AddObject(again);
    EXPECT_FALSE(target.Alive());
    EXPECT_EQ(again->Parent(), nullptr);
    delete again;
    delete oldParent;
  }
}

TEST_F(FreedByHandler, ShowingAFormStopsWhenItsActivationFreesIt) {
  auto* f = new TForm(nullptr);
  TWeak<TForm> link(f);
  f->SetOnActivate([f](TObject*) { delete f; });
  f->Show();
  EXPECT_FALSE(link.Alive());
}

// Disabling or hiding a hovered entry tells it the mouse left; that handler may free the
// whole form, from application code where no dispatch is under way.
TEST_F(FreedByHandler, DisablingOrHidingTheHoveredEntryWhoseLeaveFreesTheFormIsSafe) {
  for (bool hide : {false, true}) {
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 400, 300);
    f->Show();
    auto* bar = new TQVMenuBar(f);
    bar->SetParent(f);
    auto* entry = new TQVMenuButton(f);
    entry->SetParent(bar);
    entry->SetButtonText("File");
    Platform->PaintAll();
    const TPointF at = entry->LocalToAbsolute({5, 5});
    Platform->MouseMove(f, at.X, at.Y);
    ASSERT_EQ(f->Hovered(), entry);
    TWeak<TForm> link(f);
    entry->SetOnMouseLeave([f](TObject*) { delete f; });
    if (hide)
      entry->SetVisible(false);
    else
      entry->SetEnabled(false);
    EXPECT_FALSE(link.Alive());
  }
}

// --- finite sizes ---------------------------------------------------------------------

TEST_F(FreedByHandler, SizesAndPositionsStayFiniteAndBounded) {
  TControl* c = AddControl(Form.get(), {0, 0, 10, 10});
  c->SetBounds(INFINITY, -INFINITY, INFINITY, 1e30f);
  EXPECT_EQ(c->Width(), kMaxExtent);
  EXPECT_EQ(c->Height(), kMaxExtent);
  EXPECT_EQ(c->Position()->X(), kMaxExtent);
  EXPECT_EQ(c->Position()->Y(), -kMaxExtent);
  c->SetBounds(NAN, 2, -INFINITY, NAN);
  EXPECT_EQ(c->Width(), 0);
  EXPECT_EQ(c->Height(), 0);
  EXPECT_EQ(c->Position()->X(), 0);
  c->Margins()->Set(INFINITY, 0, -1e30f, 0);
  EXPECT_EQ(c->Margins()->Left(), kMaxExtent);
  EXPECT_EQ(c->Margins()->Right(), -kMaxExtent);
  c->Position()->SetPoint({-INFINITY, 1e38f});
  EXPECT_EQ(c->Position()->X(), -kMaxExtent);
  EXPECT_EQ(c->Position()->Y(), kMaxExtent);
}

TEST_F(FreedByHandler, ATiledPictureInAHugeControlPaints) {
  TBitmap tile(2, 2);
  for (float size : {1e30f, INFINITY, 5e5f}) {
    auto* image = new TImage(Form.get());
    image->SetParent(Form.get());
    image->SetBitmap(&tile);
    image->SetWrapMode(TImageWrapMode::Tile);
    image->SetBounds(0, 0, size, size);
    auto picture = Platform->Snapshot(Form.get());
    EXPECT_FALSE(picture->IsEmpty()) << size;
    delete image;
  }
}

// --- owners ---------------------------------------------------------------------------

TEST_F(FreedByHandler, AnOwnerSkipsAComponentWhoseFreeingIsUnderWay) {
  // A component below something it owns: freeing it frees its child, the owner,
  // which must not free it a second time.
  auto* owner = new TControl(nullptr);
  auto* owned = new TControl(owner);
  owner->SetParent(owned);
  delete owned;

  // The title bar moved below its own form background, and the form freed.
  TQVTitleBar* tb = nullptr;
  TForm* f = MakeBarForm(&tb);
  TWeak<TForm> link(f);
  tb->SetParent(TQVTitleBarInspector(tb).FormBackground());
  delete f;
  EXPECT_FALSE(link.Alive());
}

TEST_F(FreedByHandler, ReorderingStopsWhenTheLayoutItStartsFreesTheForm) {
  for (bool front : {true, false}) {
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 400, 300);
    f->Show();
    TControl* first = AddControl(f, {0, 0, 10, 10});
    TControl* last = AddControl(f, {0, 0, 10, 10});
    TControl* client = AddControl(f, {0, 0, 10, 10});
    int calls = 0;
    client->SetOnResize([&calls, f](TObject* s) {
      ++calls;
      // Shrinking itself while the form lays out leaves the layout out of date; the
      // next layout (the one a new order starts) resizes it again.
      if (calls == 1) static_cast<TControl*>(s)->SetSize(10, 10);
      if (calls == 3) delete f;
    });
    client->SetAlign(TAlignLayout::Client);
    ASSERT_EQ(client->Width(), 10);
    TWeak<TForm> link(f);
    if (front)
      first->BringToFront();
    else
      last->SendToBack();
    EXPECT_FALSE(link.Alive()) << (front ? "BringToFront" : "SendToBack");
  }
}

TEST_F(FreedByHandler, APaintHandlerThatFreesTheFormOrItsPictureEndsThePaintSafely) {
  // With retained painting the form is painted on its kept picture; the handler frees
  // the form (and so the picture), or turns retained painting off.
  for (bool freeForm : {true, false}) {
    Platform->SetRetainedPainting(true);
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 200, 100);
    f->Show();
    TControl* c = AddControl(f, {10, 10, 50, 50});
    TWeak<TForm> link(f);
    c->SetOnPaint([&, f](TObject*) {
      if (freeForm)
        delete f;
      else
        Platform->SetRetainedPainting(false);
    });
    f->InvalidateAll();
    Platform->PaintAll();
    EXPECT_EQ(link.Alive(), !freeForm);
    EXPECT_EQ(Platform->RetainedCanvas(f), nullptr);
    delete link.Get();
  }
}

TEST_F(FreedByHandler, ATitleBarWhoseFormItsBuildingFreesStopsBuilding) {
  // The form's client control is laid out anew when the bar puts its parts on the form;
  // its resize handler frees the form, and the bar (which the form owns) with it.
  auto* f = new TForm(nullptr);
  f->SetBounds(0, 0, 900, 600);
  f->Show();
  TControl* client = AddControl(f, {0, 0, 10, 10}, TAlignLayout::Client);
  TWeak<TForm> link(f);
  client->SetOnResize([f](TObject*) { delete f; });
  new TQVTitleBar(f);
  if (link.Alive()) {
    client->SetOnResize(nullptr);
    delete f;
  }
  Platform->PaintAll();
}
