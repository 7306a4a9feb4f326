// The title bar's system menu, driven by injected input on the headless platform.
#include <gtest/gtest.h>

#include <vector>

#include "TitleBarSupport.h"

using namespace fmx;

namespace {

struct TPress {
  TObject* Sender = nullptr;
  TMouseButton Button = TMouseButton::mbLeft;
  float X = 0, Y = 0;
};

class SystemMenu : public fmx::testing::TitleBarTest {
 protected:
  void SetUp() override {
    TitleBarTest::SetUp();
    Bar = AddTitleBar();
    In = std::make_unique<TQVTitleBarInspector>(Bar);
    // A control of the application under the title bar, with handlers of its own.
    Panel = new TRectangle(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(300, 400, 200, 100);
    Panel->SetOnMouseDown([this](TObject* s, TMouseButton b, TShiftState, float x, float y) {
      Presses.push_back({s, b, x, y});
    });
    Panel->SetOnMouseLeave([this](TObject*) { ++PanelLeaves; });
    Platform->PaintAll();
  }
  static TPointF Centre(const TControl* C) {
    TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  TRect Bounds() const {
    return {Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height()};
  }
  bool MenuOpen() const { return In->SystemMenu()->Visible() && In->PopupMenuShowed(); }
  void RightPressOnBar(float X = 500, float Y = 10) {
    Platform->MouseDown(Form.get(), TMouseButton::mbRight, X, Y);
    Platform->MouseUp(Form.get(), TMouseButton::mbRight, X, Y);
  }
  // Hovers the entry for a tick, so the menu borrows it, and clicks it.
  void Choose(TQVMenuButton* Entry) {
    const TPointF p = Centre(Entry);
    Platform->MouseMove(Form.get(), p.X, p.Y);
    Platform->Advance(100);
    Platform->Click(Form.get(), p.X, p.Y);
  }
  // Invokes whatever OnMouseLeave the panel carries now.
  void CallPanelsLeaveHandler() {
    if (Panel->OnMouseLeave()) Panel->OnMouseLeave()(Panel);
  }

  TQVTitleBar* Bar = nullptr;
  std::unique_ptr<TQVTitleBarInspector> In;
  TRectangle* Panel = nullptr;
  std::vector<TPress> Presses;
  int PanelLeaves = 0;
};

}  // namespace

TEST_F(SystemMenu, IsBuiltHiddenWithSixEntriesAndASeparatorInOrder) {
  TQVMenuBar* menu = In->SystemMenu();
  EXPECT_FALSE(menu->Visible());
  EXPECT_EQ(menu->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(Bar->ChildrenList().back(), menu);
  EXPECT_FALSE(menu->Stored());
  EXPECT_EQ(menu->Tag(), 999);
  struct TExpected {
    TQVMenuButton* Entry;
    const char* Name;
    char16_t Glyph;
    const char* Text;
  };
  const std::vector<TExpected> rows{
      {In->RestoreEntry(), "PopupBtnRestore", u'2', "还原"},
      {In->MoveEntry(), "PopupBtnMove", u' ', "移动"},
      {In->SizeEntry(), "PopupBtnSize", u' ', "大小"},
      {In->MinEntry(), "PopupBtnMin", u'0', "最小化"},
      {In->MaxEntry(), "PopupBtnMax", u'1', "最大化"},
      {In->CloseEntry(), "PopupBtnClose", u'r', "关闭"}};
  std::vector<TQVMenuButton*> inOrder;
  for (TFmxObject* c : menu->ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(c)) inOrder.push_back(b);
  EXPECT_EQ(inOrder, (std::vector<TQVMenuButton*>{In->RestoreEntry(), In->MoveEntry(),
                                                  In->SizeEntry(), In->MinEntry(), In->MaxEntry(),
                                                  In->SeparatorEntry(), In->CloseEntry()}));
  float lastY = -1;
  for (TQVMenuButton* b : inOrder) {  // stacked top to bottom in creation order
    EXPECT_GT(b->Position()->Y(), lastY);
    lastY = b->Position()->Y();
    EXPECT_FALSE(b->Stored());
  }
  for (const TExpected& r : rows) {
    SCOPED_TRACE(r.Name);
    EXPECT_EQ(r.Entry->Name(), r.Name);
    EXPECT_EQ(r.Entry->Mark(), TQVMark::mChar);
    EXPECT_EQ(r.Entry->Char(), r.Glyph);
    EXPECT_EQ(r.Entry->ButtonText(), r.Text);
    EXPECT_EQ(r.Entry->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);
  }
  EXPECT_EQ(In->CloseEntry()->ShortCut(), "Alt + C");
  EXPECT_EQ(In->SeparatorEntry()->MenuButtonStyle(), TQVMenuButtonStyle::mbSeparatorBar);
  EXPECT_EQ(In->SeparatorEntry()->Name(), "");
  EXPECT_FALSE(In->SeparatorEntry()->HitTest());
}

TEST_F(SystemMenu, PaintingHandsTheFrameColoursToTheMenu) {
  Bar->SetBorderActiveColor(0xFF112233);
  Bar->SetFormColor(0xFF445566);
  Bar->SetFontColor(0xFF778899);
  In->Paint();
  EXPECT_EQ(In->SystemMenu()->BorderColor(), 0xFF112233u);
  EXPECT_EQ(In->SystemMenu()->BackgroundColor(), 0xFF445566u);
  EXPECT_EQ(In->SystemMenu()->FontColor(), 0xFF778899u);
  EXPECT_EQ(In->SystemMenu()->SelectBarColor(), 0xFF778899u);
  EXPECT_EQ(In->MaxEntry()->MenuButtonFontColor(), 0xFF778899u);
  EXPECT_FLOAT_EQ(In->SystemMenu()->SelectBarOpacity(), 0.6f);
}

TEST_F(SystemMenu, ARightPressOpensItAtTheMouseWithTheNormalWindowsEntryStates) {
  const TPointF local = Bar->AbsoluteToLocal({100, 10});
  // The height as opening sets it (the bar's own layout redoes it on the next paint).
  Platform->SetAutoPaint(false);
  RightPressOnBar(100, 10);
  ASSERT_TRUE(MenuOpen());
  EXPECT_TRUE(In->MenuTimer()->Enabled());
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->X(), local.X + 3);
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->Y(), local.Y + 3);
  EXPECT_EQ(Form->ChildrenList().back(), Bar);  // over the form's other controls
  // Height: the six entries with their margins, 3 for the separator, 4 more.
  float h = 4 + 3;
  for (TQVMenuButton* b : {In->RestoreEntry(), In->MoveEntry(), In->SizeEntry(), In->MinEntry(),
                           In->MaxEntry(), In->CloseEntry()})
    h += b->Height() + b->Margins()->Top() + b->Margins()->Bottom();
  EXPECT_FLOAT_EQ(In->SystemMenu()->Height(), h);
  EXPECT_FALSE(In->RestoreEntry()->Enabled());
  EXPECT_FALSE(In->MoveEntry()->Enabled());
  EXPECT_FALSE(In->SizeEntry()->Enabled());
  EXPECT_TRUE(In->MinEntry()->Enabled());
  EXPECT_TRUE(In->MaxEntry()->Enabled());
  EXPECT_TRUE(In->CloseEntry()->Enabled());
  EXPECT_EQ(In->DownWindowRect(), (TRect{100, 50, 1100, 750}));
  // A second right press moves it and keeps it open.
  Platform->SetAutoPaint(true);
  Platform->Advance(1000);
  const TPointF again = Bar->AbsoluteToLocal({300, 12});
  RightPressOnBar(300, 12);
  EXPECT_TRUE(MenuOpen());
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->X(), again.X + 3);
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->Y(), again.Y + 3);
}

TEST_F(SystemMenu, TheLogoTogglesItBelowTheLogo) {
  const TPointF logo = Centre(In->Logo());
  Platform->Click(Form.get(), logo.X, logo.Y);
  ASSERT_TRUE(MenuOpen());
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->X(), 0);
  EXPECT_FLOAT_EQ(In->SystemMenu()->Position()->Y(), Bar->Height() + Bar->Position()->Y() - 6);
  Platform->Advance(1000);
  Platform->Click(Form.get(), logo.X, logo.Y);
  EXPECT_FALSE(In->SystemMenu()->Visible());
  // Closed for good, not only from view: nothing is watched or borrowed any more.
  EXPECT_FALSE(In->PopupMenuShowed());
  EXPECT_FALSE(In->MenuTimer()->Enabled());
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(300);
  EXPECT_EQ(In->TakenOver(), nullptr);
}

TEST_F(SystemMenu, MaximiseRestoreMinimiseAndCloseActOnTheWindow) {
  RightPressOnBar();
  Choose(In->MaxEntry());
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(In->GlyphMax()->Text(), "2");
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(In->TakenOver(), nullptr);

  Platform->Advance(1000);
  RightPressOnBar();
  EXPECT_TRUE(In->RestoreEntry()->Enabled());
  EXPECT_FALSE(In->MaxEntry()->Enabled());
  EXPECT_FALSE(In->MoveEntry()->Enabled());
  EXPECT_FALSE(In->SizeEntry()->Enabled());
  EXPECT_EQ(In->DownWindowRect(), (TRect{100, 50, 1100, 750}));  // not overwritten
  Choose(In->RestoreEntry());
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));
  EXPECT_EQ(In->GlyphMax()->Text(), "1");

  Platform->Advance(1000);
  RightPressOnBar();
  Choose(In->MinEntry());
  EXPECT_EQ(Form->WindowState(), TWindowState::wsMinimized);
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));

  int closes = 0;
  Form->SetOnClose([&](TObject*, TCloseAction&) { ++closes; });
  Platform->Advance(1000);
  RightPressOnBar();
  Choose(In->CloseEntry());
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(SystemMenu, AScreenSizedWindowIsSavedOnOpeningButNotMaximisedAgain) {
  Form->SetBounds(0, 0, 1920, 1080);
  RightPressOnBar();
  EXPECT_EQ(In->DownWindowRect(), (TRect{0, 0, 1920, 1080}));
  Choose(In->MaxEntry());
  EXPECT_EQ(In->GlyphMax()->Text(), "1");
  EXPECT_FALSE(In->WindowStateIsMax());
  EXPECT_FALSE(MenuOpen());
}

TEST_F(SystemMenu, APressRightAfterEnteringAnEntryChoosesIt) {
  RightPressOnBar();
  const TPointF max = Centre(In->MaxEntry());
  Platform->MouseMove(Form.get(), max.X, max.Y);
  // Before the hover timer's tick: the press itself borrows the entry.
  Platform->Click(Form.get(), max.X, max.Y);
  EXPECT_EQ(Bounds(), (TRect{0, 0, 1920, 1080}));
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(In->TakenOver(), nullptr);
}

TEST_F(SystemMenu, AClickOnADisabledMoveOrSizeEntryOnlyClosesTheMenu) {
  for (TQVMenuButton* entry : {In->MoveEntry(), In->SizeEntry(), In->RestoreEntry()}) {
    SCOPED_TRACE(entry->Name());
    Platform->Advance(1000);
    RightPressOnBar();
    const TPointF p = Centre(entry);
    Platform->MouseMove(Form.get(), p.X, p.Y);
    Platform->Advance(100);
    // A disabled entry takes no mouse input: the bar beneath it is hovered, and the
    // title bar's own parts are never borrowed.
    EXPECT_EQ(Form->Hovered(), In->SystemMenu());
    EXPECT_EQ(In->TakenOver(), nullptr);
    Platform->Click(Form.get(), p.X, p.Y);
    EXPECT_FALSE(In->SystemMenu()->Visible());
    EXPECT_FALSE(In->PopupMenuShowed());
    EXPECT_FALSE(In->MenuTimer()->Enabled());
    EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));
  }
}

TEST_F(SystemMenu, AClickOnAnotherControlClosesTheMenuAndStillRunsItsOwnHandler) {
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  EXPECT_FALSE(In->MenuTimer()->Enabled());  // nothing more to watch until it is left
  // Leaving it while the menu is open: its own leave handler is not run for this
  // leave, its handlers are back, and the timer watches again.
  Platform->MouseMove(Form.get(), 400, 300);
  EXPECT_EQ(PanelLeaves, 0);
  EXPECT_EQ(In->TakenOver(), nullptr);
  EXPECT_TRUE(In->MenuTimer()->Enabled());
  CallPanelsLeaveHandler();
  EXPECT_EQ(PanelLeaves, 1);
  EXPECT_TRUE(MenuOpen());

  Platform->MouseMove(Form.get(), 410, 460);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 410, 460);
  EXPECT_FALSE(MenuOpen());
  ASSERT_EQ(Presses.size(), 1u);
  EXPECT_EQ(Presses[0].Sender, Panel);
  EXPECT_EQ(Presses[0].Button, TMouseButton::mbRight);
  EXPECT_FLOAT_EQ(Presses[0].X, 110);
  EXPECT_FLOAT_EQ(Presses[0].Y, 60);
  Platform->MouseUp(Form.get(), TMouseButton::mbRight, 410, 460);
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));  // no window action
  // Its own handlers stay from now on.
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 410, 460);
  EXPECT_EQ(Presses.size(), 2u);
}

TEST_F(SystemMenu, LosingTheFocusHidesItAndGivesTheBorrowedHandlersBack) {
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  Platform->SetActive(Form.get(), false);
  Platform->Advance(100);
  EXPECT_FALSE(In->SystemMenu()->Visible());
  EXPECT_FALSE(In->PopupMenuShowed());
  EXPECT_EQ(In->TakenOver(), nullptr);
  CallPanelsLeaveHandler();
  EXPECT_EQ(PanelLeaves, 1);
  Platform->SetActive(Form.get(), true);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 400, 450);
  EXPECT_EQ(Presses.size(), 1u);
}

TEST_F(SystemMenu, ALeftPressOnTheBarOrACaptionButtonClosesItForGood) {
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 500, 10);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Bar);  // the title bar itself is a control of the form
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 500, 10);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 500, 10);
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(In->TakenOver(), nullptr);
  EXPECT_FALSE(Bar->OnMouseDown());  // the application set none, and none is left

  Platform->Advance(1000);
  RightPressOnBar();
  const TPointF min = Centre(In->SurfaceMin());
  Platform->MouseMove(Form.get(), min.X, min.Y);
  Platform->Advance(100);
  // A caption button's surface sits in a cell, so it is borrowed like any control; the
  // press runs its own handler, which minimises.
  ASSERT_EQ(In->TakenOver(), In->SurfaceMin());
  Platform->Click(Form.get(), min.X, min.Y);
  EXPECT_FALSE(MenuOpen());
  EXPECT_FALSE(In->MenuTimer()->Enabled());
  EXPECT_EQ(Form->WindowState(), TWindowState::wsMinimized);
}

// --- lifetimes -------------------------------------------------------------------------

TEST_F(SystemMenu, ABorrowedControlFreedWhileBorrowedIsForgottenAndWatchingGoesOn) {
  auto* other = new TRectangle(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(600, 400, 100, 100);
  int otherPresses = 0;
  other->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { ++otherPresses; });
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  delete Panel;
  Panel = nullptr;
  EXPECT_EQ(In->TakenOver(), nullptr);
  EXPECT_TRUE(In->MenuTimer()->Enabled());
  Platform->MouseMove(Form.get(), 650, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), other);
  Platform->Click(Form.get(), 650, 450);
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(otherPresses, 1);
}

TEST_F(SystemMenu, ATitleBarFreedWhileItsMenuIsOpenGivesTheHandlersBack) {
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  delete Bar;
  Bar = nullptr;
  Platform->Advance(300);
  Platform->MouseMove(Form.get(), 400, 300);
  EXPECT_EQ(PanelLeaves, 1);
  Platform->Click(Form.get(), 400, 450);
  EXPECT_EQ(Presses.size(), 1u);
}

TEST_F(SystemMenu, AHandlerOfTheBorrowedControlThatFreesTheFormEndsThePressSafely) {
  Panel->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, float, float) { Form.reset(); });
  RightPressOnBar();
  Platform->MouseMove(Form.get(), 400, 450);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), Panel);
  TForm* form = Form.get();
  Platform->MouseDown(form, TMouseButton::mbLeft, 400, 450);
  EXPECT_EQ(Form, nullptr);
  Platform->Advance(300);
}

TEST_F(SystemMenu, AFormFreedByTheCloseEntrysActionEndsTheChoiceSafely) {
  Form->SetOnClose([this](TObject*, TCloseAction&) { Form.reset(); });
  RightPressOnBar();
  const TPointF close = Centre(In->CloseEntry());
  Platform->MouseMove(Form.get(), close.X, close.Y);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), In->CloseEntry());
  TForm* form = Form.get();
  Platform->MouseDown(form, TMouseButton::mbLeft, close.X, close.Y);
  EXPECT_EQ(Form, nullptr);
  Platform->Advance(300);
}

TEST_F(SystemMenu, AnEntryOfTheApplicationsMenusWithAMatchingNameIsNoWindowCommand) {
  auto* menu = new TQVMenuBar(Form.get());
  menu->SetParent(Form.get());
  menu->SetBounds(300, 600, 200, 40);
  menu->SetVisible(true);
  auto* impostor = new TQVMenuButton(Form.get());
  impostor->SetName("PopupBtnMax");
  impostor->SetParent(menu);
  Platform->PaintAll();
  RightPressOnBar();
  const TPointF p = Centre(impostor);
  Platform->MouseMove(Form.get(), p.X, p.Y);
  Platform->Advance(100);
  ASSERT_EQ(In->TakenOver(), impostor);
  Platform->Click(Form.get(), p.X, p.Y);
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(Bounds(), (TRect{100, 50, 1100, 750}));
}
