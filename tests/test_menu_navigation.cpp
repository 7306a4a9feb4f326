// Menus driven with the mouse on the headless platform: hanging sub-menus and their
// refusals, opening and switching, the highlight, choosing entries, ticks and radio
// groups, and every way a menu closes, each giving back the handlers it borrowed.
#include <gtest/gtest.h>

#include "MenuSupport.h"
#include "host/Shapes.h"

using namespace fmx;

namespace {

class MenuNavigation : public fmx::testing::MenuTest {
 protected:
  struct TTree {
    TQVMenuBar *Main, *File, *Cascade, *Deep, *Edit;
    TQVMenuButton *FileEntry, *EditEntry, *Open, *Recent, *Wrap, *Small, *Large, *Old, *More,
        *Deepest, *Cut, *EditSmall;
  };
  // File: Open, Recent > (old.txt, More > (deepest)), Wrap (tick), Small, Large (group 1).
  // Edit: Cut, EditSmall (group 1).
  TTree Build() {
    TTree t{};
    t.Main = AddMainBar();
    t.FileEntry = AddEntry(t.Main, "File", "FileEntry");
    t.EditEntry = AddEntry(t.Main, "Edit", "EditEntry");
    t.File = AddBar(t.Main, "FileBar");
    t.File->SetTargetButton(t.FileEntry);
    t.Open = AddEntry(t.File, "Open", "Open");
    t.Recent = AddEntry(t.File, "Recent", "Recent");
    t.Wrap = AddEntry(t.File, "Wrap", "Wrap");
    t.Wrap->SetMark(TQVMark::mTick);
    t.Small = AddEntry(t.File, "Small", "Small");
    t.Small->SetGroupIndex(1);
    t.Large = AddEntry(t.File, "Large", "Large");
    t.Large->SetGroupIndex(1);
    t.Cascade = AddBar(t.File, "CascadeBar");
    t.Cascade->SetTargetButton(t.Recent);
    t.Old = AddEntry(t.Cascade, "old.txt", "Old");
    t.More = AddEntry(t.Cascade, "More", "More");
    t.Deep = AddBar(t.Cascade, "DeepBar");
    t.Deep->SetTargetButton(t.More);
    t.Deepest = AddEntry(t.Deep, "deepest", "Deepest");
    t.Edit = AddBar(t.Main, "EditBar");
    t.Edit->SetTargetButton(t.EditEntry);
    t.Cut = AddEntry(t.Edit, "Cut", "Cut");
    t.EditSmall = AddEntry(t.Edit, "Small too", "EditSmall");
    t.EditSmall->SetGroupIndex(1);
    t.EditSmall->SetIsCheck(true);
    Platform->PaintAll();
    return t;
  }
  static TPointF Centre(const TControl* C) {
    TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Hover(const TControl* C) {
    TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
  }
  void ClickOn(const TControl* C, TMouseButton B = TMouseButton::mbLeft) {
    TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
    Platform->Click(Form.get(), p.X, p.Y, B);
  }
  bool Open(const TTree& t) { return t.Main->MenuButtonPressed(); }
  bool Ticking(const TTree& t) { return In::HideTimer(t.Main)->Enabled(); }
  bool Highlighted(TQVMenuBar* Bar, const TControl* Entry) {
    TRectangle* h = In::Selection(Bar);
    return h->Visible() && h->Position()->Y() >= Entry->Position()->Y() &&
           h->Position()->Y() <= Entry->Position()->Y() + 1 &&
           h->Position()->X() >= Entry->Position()->X() &&
           h->Position()->X() <= Entry->Position()->X() + 1;
  }
  void ExpectClosed(const TTree& t) {
    EXPECT_FALSE(Open(t));
    EXPECT_FALSE(Ticking(t));
    for (TQVMenuBar* b : {t.File, t.Cascade, t.Deep, t.Edit}) EXPECT_FALSE(b->Visible());
  }
  // A press and release where nothing of the menu is.
  static constexpr float kBodyX = 600, kBodyY = 400;
};

// A control the application set its own handlers on, counting their calls.
struct TWatched {
  int Downs = 0, Leaves = 0;
  TMouseButton LastButton = TMouseButton::mbMiddle;
  float LastX = -1, LastY = -1;
  TObject* LastSender = nullptr;
  TMouseEvent Down() {
    return [this](TObject* S, TMouseButton B, TShiftState, float X, float Y) {
      ++Downs;
      LastSender = S;
      LastButton = B;
      LastX = X;
      LastY = Y;
    };
  }
  TNotifyEvent Leave() {
    return [this](TObject*) { ++Leaves; };
  }
};

}  // namespace

TEST_F(MenuNavigation, HangingASubMenuPlacesItAndRefusesEachBadTarget) {
  TQVMenuBar* main = AddMainBar();
  main->SetHeight(27);
  TQVMenuButton* file = AddEntry(main, "File", "FileEntry");
  file->Position()->SetX(40);
  TQVMenuBar* sub = AddBar(nullptr, "Sub");
  // The main bar lays its entries out: placement follows where the entry stands.
  sub->SetTargetButton(file);
  EXPECT_EQ(sub->Parent(), main);
  EXPECT_EQ(sub->TargetButton(), file);
  EXPECT_FLOAT_EQ(sub->Position()->X(), file->Position()->X());
  EXPECT_FLOAT_EQ(sub->Position()->Y(), 26 + file->Position()->Y());

  TQVMenuButton* row = AddEntry(sub, "Row", "Row");
  row->SetAlign(TAlignLayout::None);
  row->SetBounds(1, 55, 150, 27);
  TQVMenuBar* cascade = AddBar(nullptr, "Cascade");
  cascade->SetTargetButton(row);
  EXPECT_EQ(cascade->Parent(), sub);
  EXPECT_FLOAT_EQ(cascade->Position()->X(), 150);
  EXPECT_FLOAT_EQ(cascade->Position()->Y(), 55);
  EXPECT_TRUE(row->MoreArrow());
  EXPECT_TRUE(In::Arrow(row)->Visible());

  // Moving the cascade to another entry takes the arrow from the first.
  TQVMenuButton* row2 = AddEntry(sub, "Row2", "Row2");
  cascade->SetTargetButton(row2);
  EXPECT_FALSE(row->MoreArrow());
  EXPECT_FALSE(In::Arrow(row)->Visible());
  EXPECT_TRUE(row2->MoreArrow());

  Platform->ClearMessages();
  TQVMenuButton* sep = AddEntry(sub, "", "Sep");
  sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  auto* loose = new TQVMenuButton(Form.get());
  loose->SetParent(Form.get());
  TQVMenuBar* other = AddBar(nullptr, "Other");
  TQVMenuButton* own = AddEntry(other, "Own", "Own");
  // A bar two levels below sub, hanging on an entry that is not sub's.
  TQVMenuBar* deep = AddBar(nullptr, "Deep");
  deep->SetTargetButton(AddEntry(cascade, "Further", "Further"));
  ASSERT_EQ(deep->Parent(), cascade);
  TQVMenuButton* deepest = AddEntry(deep, "Deepest", "Deepest");
  struct TCase {
    TQVMenuBar* Bar;
    TQVMenuButton* Target;
    const char* Message;
  } cases[] = {
      {other, sep, " 菜单分隔条不能做为 TargetButton 设置 "},
      {other, loose, " TargetButton 的父类必须是菜单条 "},
      {other, own, " 要设置的 TargetButton 不能是其父类菜单条中的按钮 "},
      // The cascade hangs on an entry of sub: sub may not hang on an entry of the cascade.
      {sub, AddEntry(cascade, "In cascade", "InCascade"), " 不能循环设置菜单 TargetButton "},
      // Nor on an entry further down its own cascade, which would make it its own child.
      {sub, deepest, " 不能循环设置菜单 TargetButton "},
      {main, row, " 主菜单条样式不能设置 TargetButton "},
  };
  for (const TCase& c : cases) {
    TFmxObject* parentBefore = c.Bar->Parent();
    TQVMenuButton* targetBefore = c.Bar->TargetButton();
    const bool arrowBefore = targetBefore != nullptr && targetBefore->MoreArrow();
    c.Bar->SetTargetButton(c.Target);
    EXPECT_EQ(c.Bar->TargetButton(), nullptr) << c.Message;
    EXPECT_EQ(c.Bar->Parent(), parentBefore) << c.Message;
    ASSERT_FALSE(Platform->Messages().empty());
    EXPECT_EQ(Platform->Messages().back(), c.Message);
    if (targetBefore != nullptr) {
      EXPECT_EQ(targetBefore->MoreArrow(), arrowBefore);
    }
  }
  EXPECT_EQ(Platform->Messages().size(), 6u);

  // Letting go puts the bar on its form.
  cascade->SetTargetButton(nullptr);
  EXPECT_EQ(cascade->Parent(), Form.get());
  EXPECT_EQ(cascade->TargetButton(), nullptr);
}

TEST_F(MenuNavigation, ClickOpensAndClosesHoverSwitchesAndTheHighlightFollows) {
  TTree t = Build();
  // Closed: hovering only moves the highlight.
  Hover(t.FileEntry);
  EXPECT_TRUE(Highlighted(t.Main, t.FileEntry));
  Hover(t.EditEntry);
  EXPECT_TRUE(Highlighted(t.Main, t.EditEntry));
  EXPECT_FALSE(t.Edit->Visible());
  // A right click changes nothing.
  ClickOn(t.FileEntry, TMouseButton::mbRight);
  EXPECT_FALSE(Open(t));

  ClickOn(t.FileEntry);
  EXPECT_TRUE(Open(t));
  EXPECT_TRUE(Ticking(t));
  EXPECT_FALSE(t.Main->ClipChildren());
  ASSERT_TRUE(t.File->Visible());
  EXPECT_FLOAT_EQ(t.File->Position()->X(), t.FileEntry->Position()->X());
  EXPECT_FLOAT_EQ(t.File->Position()->Y(),
                  t.FileEntry->Position()->Y() + t.FileEntry->Height() - 1);

  // Open: moving along the main bar switches the sub-menu.
  Hover(t.EditEntry);
  EXPECT_TRUE(t.Edit->Visible());
  EXPECT_FALSE(t.File->Visible());
  Hover(t.FileEntry);
  EXPECT_TRUE(t.File->Visible());

  // Down the entries: highlight in the sub-menu; the opening entry stays highlighted.
  Hover(t.Open);
  EXPECT_TRUE(Highlighted(t.File, t.Open));
  EXPECT_FLOAT_EQ(In::Selection(t.File)->Width(), t.Open->Width() - 2);
  EXPECT_TRUE(In::Selection(t.Main)->Visible());
  EXPECT_FALSE(t.Cascade->Visible());

  // A cascade three levels deep opens on hover, to the right, and closes again.
  Hover(t.Recent);
  ASSERT_TRUE(t.Cascade->Visible());
  EXPECT_FLOAT_EQ(t.Cascade->Position()->X(), t.Recent->Position()->X() + t.Recent->Width() - 1);
  EXPECT_FLOAT_EQ(t.Cascade->Position()->Y(), t.Recent->Position()->Y());
  Hover(t.More);
  ASSERT_TRUE(t.Deep->Visible());
  EXPECT_TRUE(Highlighted(t.File, t.Recent));
  Hover(t.Deepest);
  EXPECT_TRUE(Highlighted(t.Deep, t.Deepest));
  EXPECT_TRUE(Highlighted(t.Cascade, t.More));
  Hover(t.Old);
  EXPECT_FALSE(t.Deep->Visible());
  EXPECT_TRUE(t.Cascade->Visible());
  Hover(t.Wrap);
  EXPECT_FALSE(t.Cascade->Visible());

  // Clicking an entry with an arrow keeps the menu open; a second click on the main
  // entry closes it.
  ClickOn(t.Recent);
  EXPECT_TRUE(Open(t));
  ClickOn(t.FileEntry);
  ExpectClosed(t);
  EXPECT_TRUE(Highlighted(t.Main, t.FileEntry));
}

TEST_F(MenuNavigation, ChoosingRunsOnClickClosesAndTogglesTicksAndRadiosAcrossSubMenus) {
  TTree t = Build();
  int clicks = 0;
  t.Open->SetOnClick([&](TObject* S) {
    EXPECT_EQ(S, t.Open);
    ++clicks;
  });
  ClickOn(t.FileEntry);
  ClickOn(t.Open);
  EXPECT_EQ(clicks, 1);
  ExpectClosed(t);
  EXPECT_FALSE(In::Selection(t.Main)->Visible());

  // Any button closes; a plain tick toggles each time.
  ClickOn(t.FileEntry);
  TPointF p = Centre(t.Wrap);
  Platform->MouseMove(Form.get(), p.X, p.Y);
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, p.X, p.Y);
  Platform->MouseUp(Form.get(), TMouseButton::mbRight, p.X, p.Y);
  ExpectClosed(t);
  EXPECT_TRUE(t.Wrap->IsCheck());
  ClickOn(t.FileEntry);
  ClickOn(t.Wrap);
  EXPECT_FALSE(t.Wrap->IsCheck());

  // A radio entry takes the tick from its group in this and every other sub-menu;
  // clicking it again leaves it ticked.
  ClickOn(t.FileEntry);
  ClickOn(t.Small);
  EXPECT_TRUE(t.Small->IsCheck());
  EXPECT_FALSE(t.EditSmall->IsCheck());
  ClickOn(t.FileEntry);
  ClickOn(t.Large);
  EXPECT_TRUE(t.Large->IsCheck());
  EXPECT_FALSE(t.Small->IsCheck());
  ClickOn(t.FileEntry);
  ClickOn(t.Large);
  EXPECT_TRUE(t.Large->IsCheck());
  ClickOn(t.EditEntry);
  ClickOn(t.EditSmall);
  EXPECT_TRUE(t.EditSmall->IsCheck());
  EXPECT_FALSE(t.Large->IsCheck());
  EXPECT_TRUE(In::Tick(t.EditSmall)->Visible());
  EXPECT_FALSE(In::Tick(t.Large)->Visible());

  // A press on the empty part of the main bar closes.
  ClickOn(t.FileEntry);
  TRectF bar = t.Main->AbsoluteRect();
  Platform->MouseMove(Form.get(), bar.Right - 5, bar.Top + 5);
  Platform->Click(Form.get(), bar.Right - 5, bar.Top + 5);
  ExpectClosed(t);
}

TEST_F(MenuNavigation, AClickOnTheFormClosesThenRunsTheFormsHandlerWhichIsGivenBack) {
  TTree t = Build();
  TWatched form;
  TMouseEvent mine = form.Down();
  Form->SetOnMouseDown(mine);
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), kBodyX, kBodyY);
  Platform->Advance(100);
  EXPECT_TRUE(Open(t));
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, kBodyX, kBodyY);
  ExpectClosed(t);
  EXPECT_EQ(form.Downs, 1);
  EXPECT_EQ(form.LastSender, Form.get());
  EXPECT_FLOAT_EQ(form.LastX, kBodyX);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, kBodyX, kBodyY);
  // The application's handler is in place again, and only once more is it called.
  Platform->Click(Form.get(), kBodyX, kBodyY);
  EXPECT_EQ(form.Downs, 2);

  // A form without a handler of its own: the menu closes and the form has none again,
  // however many ticks passed.
  Form->SetOnMouseDown(nullptr);
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), kBodyX, kBodyY);
  Platform->Advance(500);
  EXPECT_TRUE(static_cast<bool>(Form->OnMouseDown()));
  Platform->Click(Form.get(), kBodyX, kBodyY);
  ExpectClosed(t);
  EXPECT_FALSE(static_cast<bool>(Form->OnMouseDown()));

  // Closing by choosing an entry, by the main entry and by the main bar gives it back too.
  Form->SetOnMouseDown(mine);
  for (int path = 0; path < 3; ++path) {
    ClickOn(t.FileEntry);
    Platform->MouseMove(Form.get(), kBodyX, kBodyY);
    Platform->Advance(100);
    if (path == 0) ClickOn(t.Open);
    if (path == 1) ClickOn(t.FileEntry);
    if (path == 2) {
      TRectF bar = t.Main->AbsoluteRect();
      Platform->Click(Form.get(), bar.Right - 5, bar.Top + 5);
    }
    ExpectClosed(t);
    Platform->Click(Form.get(), kBodyX, kBodyY);
    EXPECT_EQ(form.Downs, 3 + path) << path;
  }
}

TEST_F(MenuNavigation, ClosingThroughThePropertyGivesBackTheFormAndTheControl) {
  TTree t = Build();
  TWatched form, w;
  Form->SetOnMouseDown(form.Down());
  auto* panel = new TRectangle(Form.get());
  panel->SetParent(Form.get());
  panel->SetBounds(400, 300, 200, 150);
  panel->SetOnMouseDown(w.Down());
  panel->SetOnMouseLeave(w.Leave());
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), 500, 380);
  Platform->Advance(100);
  ASSERT_TRUE(Open(t));
  ASSERT_EQ(In::TakenOver(t.Main), panel);
  ASSERT_EQ(In::HookedForm(t.Main), Form.get());

  t.Main->SetMenuButtonPressed(false);
  EXPECT_EQ(In::TakenOver(t.Main), nullptr);
  EXPECT_EQ(In::HookedForm(t.Main), nullptr);
  // Each handler is its owner's again: one press, one call, no menu in between.
  Platform->Click(Form.get(), 500, 380);
  EXPECT_EQ(w.Downs, 1);
  Platform->Click(Form.get(), 300, 440);
  EXPECT_EQ(form.Downs, 1);
  EXPECT_EQ(w.Leaves, 1);
}

TEST_F(MenuNavigation, AForeignControlIsTakenOverAndGivenBackOnLeaveClickAndDeactivation) {
  TTree t = Build();
  auto* panel = new TRectangle(Form.get());
  panel->SetParent(Form.get());
  panel->SetBounds(400, 300, 200, 150);
  panel->SetHitTest(true);
  TWatched w;
  panel->SetOnMouseDown(w.Down());
  panel->SetOnMouseLeave(w.Leave());
  const float px = 500, py = 380;

  // The mouse leaves the control before clicking: its handlers are back, the timer runs.
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), px, py);
  Platform->Advance(100);
  EXPECT_TRUE(Open(t));
  EXPECT_FALSE(Ticking(t));
  Platform->MouseMove(Form.get(), 300, 440);
  EXPECT_TRUE(Ticking(t));
  EXPECT_EQ(w.Leaves, 0);  // that leave was the menu's
  Platform->MouseMove(Form.get(), px, py);
  EXPECT_EQ(w.Leaves, 0);
  Platform->MouseMove(Form.get(), 300, 440);
  EXPECT_EQ(w.Leaves, 1);  // its own handler again

  // Taken over again, then clicked: the menu closes, then its handler runs once.
  Platform->MouseMove(Form.get(), px, py);
  Platform->Advance(100);
  EXPECT_FALSE(Ticking(t));
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, px, py);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, px, py);
  ExpectClosed(t);
  EXPECT_EQ(w.Downs, 1);
  EXPECT_EQ(w.LastSender, panel);
  EXPECT_FLOAT_EQ(w.LastX, px - 400);
  Platform->Click(Form.get(), px, py);
  EXPECT_EQ(w.Downs, 2);
  Platform->MouseMove(Form.get(), 300, 440);
  EXPECT_EQ(w.Leaves, 2);

  // Losing activity while watching closes at the next tick; nothing stays taken over.
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), 300, 440);
  Platform->Advance(100);
  Platform->SetActive(Form.get(), false);
  Platform->Advance(100);
  ExpectClosed(t);
  Platform->SetActive(Form.get(), true);
  EXPECT_FALSE(static_cast<bool>(Form->OnMouseDown()));
  Platform->Click(Form.get(), px, py);
  EXPECT_EQ(w.Downs, 3);

  // Taken over, then the mouse leaves the window and the form loses activity.
  ClickOn(t.FileEntry);
  Platform->MouseMove(Form.get(), px, py);
  Platform->Advance(100);
  Platform->MouseLeaveWindow(Form.get());
  Platform->SetActive(Form.get(), false);
  Platform->Advance(100);
  ExpectClosed(t);
  Platform->SetActive(Form.get(), true);
  Platform->Click(Form.get(), px, py);
  EXPECT_EQ(w.Downs, 4);
}

TEST_F(MenuNavigation, HandlersThatFreeTheBarTheEntryTheControlOrTheFormEndSafely) {
  // An entry's OnClick frees the whole menu.
  {
    TTree t = Build();
    TWeak<TQVMenuBar> main(t.Main);
    t.Open->SetOnClick([&](TObject*) { delete t.Main; });
    ClickOn(t.FileEntry);
    ClickOn(t.Open);
    EXPECT_FALSE(main.Alive());
    Platform->Advance(300);
  }
  // An entry's OnClick frees the entry itself.
  {
    TTree t = Build();
    TWeak<TQVMenuButton> wrap(t.Wrap);
    t.Wrap->SetOnClick([&](TObject*) { delete t.Wrap; });
    ClickOn(t.FileEntry);
    ClickOn(t.Wrap);
    EXPECT_FALSE(wrap.Alive());
    ExpectClosed(t);
    delete t.Main;
  }
  // The menu bar goes while a control and the form are taken over: both get their
  // own handlers back.
  {
    TTree t = Build();
    auto* panel = new TRectangle(Form.get());
    panel->SetParent(Form.get());
    panel->SetBounds(400, 300, 200, 150);
    TWatched w;
    panel->SetOnMouseDown(w.Down());
    Form->SetOnMouseDown(nullptr);
    ClickOn(t.FileEntry);
    Platform->MouseMove(Form.get(), 500, 380);
    Platform->Advance(100);
    delete t.Main;
    Platform->Click(Form.get(), 500, 380);
    EXPECT_EQ(w.Downs, 1);
    EXPECT_FALSE(static_cast<bool>(Form->OnMouseDown()));
    delete panel;
  }
  // The taken-over control's handler frees the menu bar; then another frees the control
  // while it is taken over, and the timer watches again.
  {
    TTree t = Build();
    auto* panel = new TRectangle(Form.get());
    panel->SetParent(Form.get());
    panel->SetBounds(400, 300, 200, 150);
    panel->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) {
      delete t.Main;
    });
    ClickOn(t.FileEntry);
    Platform->MouseMove(Form.get(), 500, 380);
    Platform->Advance(100);
    TWeak<TQVMenuBar> main(t.Main);
    Platform->Click(Form.get(), 500, 380);
    EXPECT_FALSE(main.Alive());
    delete panel;

    TTree u = Build();
    auto* doomed = new TRectangle(Form.get());
    doomed->SetParent(Form.get());
    doomed->SetBounds(400, 300, 200, 150);
    ClickOn(u.FileEntry);
    Platform->MouseMove(Form.get(), 500, 380);
    Platform->Advance(100);
    EXPECT_FALSE(Ticking(u));
    delete doomed;
    EXPECT_TRUE(Ticking(u));
    Platform->MouseMove(Form.get(), 500, 380);
    Platform->Advance(200);
    Platform->Click(Form.get(), 500, 380);
    ExpectClosed(u);
    EXPECT_FALSE(static_cast<bool>(Form->OnMouseDown()));
    delete u.Main;
  }
  // The form's own handler frees the form.
  {
    TTree t = Build();
    Form->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { Form.reset(); });
    ClickOn(t.FileEntry);
    Platform->MouseMove(Form.get(), kBodyX, kBodyY);
    Platform->Advance(100);
    Platform->Click(Form.get(), kBodyX, kBodyY);
    EXPECT_EQ(Form, nullptr);
  }
}
