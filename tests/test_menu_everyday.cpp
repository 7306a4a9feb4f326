// Menus as people use them every day: press, drag and release; the safe path into a
// cascade; a press outside that is never lost; one menu tree per window; menus kept
// inside the window; the system menu by keyboard; and the shared take-over of another
// control's handlers, given back whatever the order.
#include <gtest/gtest.h>

#include "FMX.QVTakeOver.h"
#include "MenuInspector.h"
#include "TitleBarSupport.h"
#include "host/Keys.h"

using namespace fmx;

namespace {

using In = TQVMenusInspector;

class EverydayMenus : public fmx::testing::TitleBarTest {
 protected:
  void SetUp() override {
    TitleBarTest::SetUp();
    Title = AddTitleBar();
    TB = std::make_unique<TQVTitleBarInspector>(Title);
    Main = new TQVMenuBar(Form.get());
    Main->SetParent(Form.get());
    Main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    // File a little way along the bar, so that a narrow window puts its cascade past
    // the right edge while room is left of it.
    for (const char* text : {"甲乙丙丁(A)", "戊己庚辛(B)", "壬癸子丑(C)"}) Entry(Main, text);
    FileEntry = Entry(Main, "文件(F)");
    WindowEntry = Entry(Main, "窗口(W)");
    File = SubBar(Main, FileEntry);
    Save = Entry(File, "保存");
    Wrap = Entry(File, "自动换行");
    Wrap->SetMark(TQVMark::mTick);
    Recent = Entry(File, "最近的文件");
    auto* separator = Entry(File, "");
    separator->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
    separator->SetHitTest(false);
    Exit = Entry(File, "退出");
    Recents = SubBar(File, Recent);
    Notes = Entry(Recents, "notes.md");
    Entry(Recents, "报告.txt");
    WindowMenu = SubBar(Main, WindowEntry);
    Entry(WindowMenu, "最小化");
    Panel = new TRectangle(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(300, 400, 200, 100);
    Panel->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, float X, float Y) {
      PanelPresses.push_back({X, Y});
    });
    Panel->SetOnMouseLeave([this](TObject*) { ++PanelLeaves; });
    Platform->PaintAll();
  }
  TQVMenuButton* Entry(TQVMenuBar* Bar, const std::string& Text) {
    auto* b = new TQVMenuButton(Form.get());
    b->SetName("E" + std::to_string(++Names));
    b->SetParent(Bar);
    b->SetButtonText(Text);
    if (Bar != Main) b->SetOnClick([this, b](TObject*) { Clicks.push_back(b); });
    return b;
  }
  TQVMenuBar* SubBar(TQVMenuBar* Parent, TQVMenuButton* Target) {
    auto* bar = new TQVMenuBar(Form.get());
    bar->SetName("B" + std::to_string(++Names));
    bar->SetParent(Parent);
    bar->SetTargetButton(Target);
    return bar;
  }
  static TPointF Centre(const TControl* C) {
    const TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void MoveTo(TPointF P) { Platform->MouseMove(Form.get(), P.X, P.Y); }
  void Press(TPointF P, TMouseButton B = TMouseButton::mbLeft) {
    Platform->MouseDown(Form.get(), B, P.X, P.Y);
  }
  void Release(TPointF P, TMouseButton B = TMouseButton::mbLeft) {
    Platform->MouseUp(Form.get(), B, P.X, P.Y);
  }
  void OpenFile(int Line = 0) {
    MoveTo(Centre(FileEntry));
    Platform->Click(Form.get(), Centre(FileEntry).X, Centre(FileEntry).Y);
    ASSERT_TRUE(Main->MenuButtonPressed()) << Line;
  }
  bool SystemMenuOpen() const { return TB->SystemMenu()->Visible() && TB->PopupMenuShowed(); }
  TQVMenuButton* Lit(TQVMenuBar* Bar) const { return qvmenus::LitEntry(Bar); }

  TQVTitleBar* Title = nullptr;
  std::unique_ptr<TQVTitleBarInspector> TB;
  TQVMenuBar *Main = nullptr, *File = nullptr, *Recents = nullptr, *WindowMenu = nullptr;
  TQVMenuButton *FileEntry = nullptr, *WindowEntry = nullptr, *Save = nullptr, *Wrap = nullptr,
                *Recent = nullptr, *Exit = nullptr, *Notes = nullptr;
  TRectangle* Panel = nullptr;
  std::vector<TPointF> PanelPresses;
  int PanelLeaves = 0;
  std::vector<TQVMenuButton*> Clicks;
  int Names = 0;
};

TEST_F(EverydayMenus, PressDragReleaseChoosesAsAClickDoes) {
  // Onto a plain entry: chosen once, menus closed.
  MoveTo(Centre(FileEntry));
  Press(Centre(FileEntry));
  ASSERT_TRUE(File->Visible());
  MoveTo(Centre(Save));
  EXPECT_EQ(Lit(File), Save);
  Release(Centre(Save));
  EXPECT_EQ(Clicks, std::vector<TQVMenuButton*>{Save});
  EXPECT_FALSE(Main->MenuButtonPressed());
  EXPECT_FALSE(File->Visible());

  // Onto a tick entry: ticked, as a click ticks it.
  Clicks.clear();
  MoveTo(Centre(FileEntry));
  Press(Centre(FileEntry));
  MoveTo(Centre(Wrap));
  Release(Centre(Wrap));
  EXPECT_TRUE(Wrap->IsCheck());
  EXPECT_EQ(Clicks, std::vector<TQVMenuButton*>{Wrap});

  // Released on the entry that opened it: a plain click, the menu stays open, and a
  // later click on an entry raises OnClick once.
  Clicks.clear();
  MoveTo(Centre(FileEntry));
  Press(Centre(FileEntry));
  Release(Centre(FileEntry));
  EXPECT_TRUE(File->Visible());
  MoveTo(Centre(Save));
  Platform->Click(Form.get(), Centre(Save).X, Centre(Save).Y);
  EXPECT_EQ(Clicks, std::vector<TQVMenuButton*>{Save});

  // Released elsewhere: nothing closes until the next press, which reaches the panel.
  MoveTo(Centre(FileEntry));
  Press(Centre(FileEntry));
  MoveTo(Centre(Panel));
  Release(Centre(Panel));
  EXPECT_TRUE(Main->MenuButtonPressed());
  EXPECT_TRUE(File->Visible());
  Press(Centre(Panel));
  EXPECT_FALSE(Main->MenuButtonPressed());
  EXPECT_EQ(PanelPresses.size(), 1u);
}

TEST_F(EverydayMenus, APressOutsideRightAfterArrivingClosesEveryMenuAndStillReachesTheControl) {
  OpenFile(__LINE__);
  MoveTo(Centre(Recent));
  ASSERT_TRUE(Recents->Visible());
  // No timer tick between arriving and pressing.
  const TPointF p = Centre(Panel);
  MoveTo(p);
  Press(p);
  Release(p);
  EXPECT_FALSE(Main->MenuButtonPressed());
  EXPECT_FALSE(File->Visible());
  EXPECT_FALSE(Recents->Visible());
  ASSERT_EQ(PanelPresses.size(), 1u);
  EXPECT_FLOAT_EQ(PanelPresses[0].X, 100);
  EXPECT_FLOAT_EQ(PanelPresses[0].Y, 50);
  EXPECT_FALSE(TQVTakeOver::IsHook(Panel->OnMouseDown()));

  // The system menu alike, also once the timer has borrowed the panel.
  for (int ticks : {0, 1}) {
    PanelPresses.clear();
    Platform->MouseDown(Form.get(), TMouseButton::mbRight, 500, 10);
    Platform->MouseUp(Form.get(), TMouseButton::mbRight, 500, 10);
    ASSERT_TRUE(SystemMenuOpen());
    MoveTo(p);
    Platform->Advance(100 * ticks);
    Press(p);
    Release(p);
    EXPECT_FALSE(SystemMenuOpen());
    EXPECT_EQ(PanelPresses.size(), 1u);
    EXPECT_FALSE(TQVTakeOver::IsHook(Panel->OnMouseDown()));
    EXPECT_FALSE(TQVTakeOver::IsHook(Panel->OnMouseLeave()));
  }
}

TEST_F(EverydayMenus, TheDiagonalPathTowardAnOpenCascadeKeepsItUntilTheMouseRests) {
  auto openRecents = [&] {
    OpenFile(__LINE__);
    MoveTo(Centre(Recent));
    ASSERT_TRUE(Recents->Visible());
  };
  openRecents();
  const TRectF recent = Recent->AbsoluteRect();
  const float edge = Recents->AbsoluteRect().Left;
  const float exitTop = Exit->AbsoluteRect().Top;
  // From the right end of 最近的文件 down and right across the separator and 退出,
  // toward the cascade.
  MoveTo({edge - 14, recent.Top + 20});
  MoveTo({edge - 11, recent.Bottom + 0.5f});
  EXPECT_EQ(Form->Hovered(), File);
  EXPECT_TRUE(Recents->Visible());
  MoveTo({edge - 8, exitTop + 2});
  EXPECT_EQ(Form->Hovered(), Exit);
  EXPECT_TRUE(Recents->Visible());
  MoveTo({edge - 5, exitTop + 4});
  EXPECT_TRUE(Recents->Visible());
  // Into the cascade: it stayed, and its entry is reached.
  MoveTo(Centre(Notes));
  EXPECT_TRUE(Recents->Visible());
  EXPECT_EQ(Lit(Recents), Notes);

  // Crossing 退出 and resting there: its own (no) cascade replaces the open one.
  MoveTo({edge - 12, recent.Top + 20});
  ASSERT_TRUE(Recents->Visible());
  MoveTo({edge - 8, exitTop + 2});
  EXPECT_TRUE(Recents->Visible());
  Platform->Advance(300);
  EXPECT_FALSE(Recents->Visible());
  EXPECT_EQ(Lit(File), Exit);

  // Straight down from 最近的文件: the cascade switches at once.
  MoveTo(Centre(Recent));
  ASSERT_TRUE(Recents->Visible());
  MoveTo({Centre(Recent).X, exitTop + 4});
  EXPECT_FALSE(Recents->Visible());
  EXPECT_EQ(Lit(File), Exit);
}

TEST_F(EverydayMenus, OneMenuTreeIsOpenAtATime) {
  // The system menu, then Alt+W: only the 窗口 menu is open.
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 500, 10);
  Platform->MouseUp(Form.get(), TMouseButton::mbRight, 500, 10);
  ASSERT_TRUE(SystemMenuOpen());
  Platform->KeyDown(Form.get(), vk::Menu, 0, {TShiftStateItem::ssAlt});
  Platform->KeyDown(Form.get(), 'W', 0, {TShiftStateItem::ssAlt});
  Platform->KeyUp(Form.get(), 'W', 0, {TShiftStateItem::ssAlt});
  Platform->KeyUp(Form.get(), vk::Menu);
  EXPECT_TRUE(WindowMenu->Visible());
  EXPECT_FALSE(SystemMenuOpen());
  // Alt+Space: the system menu, and the main menu closed.
  Platform->KeyDown(Form.get(), vk::Menu, 0, {TShiftStateItem::ssAlt});
  Platform->KeyDown(Form.get(), vk::Space, ' ', {TShiftStateItem::ssAlt});
  Platform->KeyUp(Form.get(), vk::Space, ' ', {TShiftStateItem::ssAlt});
  Platform->KeyUp(Form.get(), vk::Menu);
  EXPECT_TRUE(SystemMenuOpen());
  EXPECT_FALSE(Main->MenuButtonPressed());
  EXPECT_FALSE(WindowMenu->Visible());
  // The lone Alt that came with it left the main bar alone.
  EXPECT_FALSE(In::Selection(Main)->Visible());
  // A click on a main entry: its menu, and the system menu closed.
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 500, 10);
  ASSERT_TRUE(SystemMenuOpen());
  MoveTo(Centre(FileEntry));
  Platform->Click(Form.get(), Centre(FileEntry).X, Centre(FileEntry).Y);
  EXPECT_TRUE(File->Visible());
  EXPECT_FALSE(SystemMenuOpen());
}

TEST_F(EverydayMenus, MenusStayInsideTheWindowAndKeepTheirPlacesWhereTheyFit) {
  // A cascade never shown before, opened by the keyboard: laid out at its final width
  // first, so the highlight of its first entry lies within it.
  Platform->KeyDown(Form.get(), 'F', 0, {TShiftStateItem::ssAlt});
  for (int i = 0; i < 2; ++i) Platform->KeyDown(Form.get(), vk::Down);
  ASSERT_EQ(Lit(File), Recent);
  Platform->KeyDown(Form.get(), vk::Right);
  ASSERT_EQ(Lit(Recents), Notes);
  EXPECT_LE(In::Selection(Recents)->AbsoluteRect().Right, Recents->AbsoluteRect().Right);
  Platform->KeyDown(Form.get(), vk::Escape);
  Platform->KeyDown(Form.get(), vk::Escape);
  Platform->KeyDown(Form.get(), vk::Escape);
  ASSERT_FALSE(Main->MenuButtonPressed());

  // Where it fits: under the entry, the cascade to the right of its entry.
  OpenFile(__LINE__);
  MoveTo(Centre(Recent));
  EXPECT_FLOAT_EQ(File->Position()->X(), FileEntry->Position()->X());
  EXPECT_FLOAT_EQ(File->Position()->Y(), FileEntry->Position()->Y() + FileEntry->Height() - 1);
  EXPECT_FLOAT_EQ(Recents->Position()->X(), Recent->Position()->X() + Recent->Width() - 1);
  EXPECT_FLOAT_EQ(Recents->Position()->Y(), Recent->Position()->Y());
  Press(Centre(Panel));

  // The system menu near the right edge: moved left to show whole; where it fits, at
  // the press plus 3.
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 780, 10);
  EXPECT_FLOAT_EQ(TB->SystemMenu()->AbsoluteRect().Right, 1000);
  Platform->MouseDown(Form.get(), TMouseButton::mbRight, 500, 10);
  EXPECT_FLOAT_EQ(TB->SystemMenu()->Position()->X(), 503);
  EXPECT_FLOAT_EQ(TB->SystemMenu()->Position()->Y(), 10 - Title->Position()->Y() + 3);
  Press(Centre(Panel));

  // Without the title bar's minimum size: a narrow window opens the cascade to the
  // left of its entry.
  delete Title;
  const float fileRight = File->AbsoluteRect().Right;
  ASSERT_GT(File->AbsoluteRect().Left, Recents->Width());
  Form->SetBounds(100, 50, static_cast<int>(fileRight) + 60, 700);
  Platform->PaintAll();
  OpenFile(__LINE__);
  MoveTo(Centre(Recent));
  const float right = static_cast<float>(Form->Width());
  EXPECT_FLOAT_EQ(File->Position()->X(), FileEntry->Position()->X());
  EXPECT_FLOAT_EQ(Recents->Position()->X(), Recent->Position()->X() - Recents->Width() + 1);
  EXPECT_LE(Recents->AbsoluteRect().Right, right);
  Platform->Click(Form.get(), 5, 600);
  // Narrower still: the drop-down moves left to the edge.
  Form->SetBounds(100, 50, static_cast<int>(fileRight) - 40, 700);
  Platform->PaintAll();
  OpenFile(__LINE__);
  EXPECT_FLOAT_EQ(File->AbsoluteRect().Right, static_cast<float>(Form->Width()));
  Platform->Click(Form.get(), 5, 600);

  // A low window: the drop-down moves up to the bottom edge.
  Form->SetBounds(100, 50, 1000, static_cast<int>(File->AbsoluteRect().Bottom) - 5);
  Platform->PaintAll();
  OpenFile(__LINE__);
  EXPECT_NEAR(File->AbsoluteRect().Bottom, static_cast<float>(Form->Height()), 0.5f);
}

TEST_F(EverydayMenus, TheSystemMenuWorksFromTheKeyboard) {
  auto altSpace = [&] {
    Platform->KeyDown(Form.get(), vk::Space, ' ', {TShiftStateItem::ssAlt});
  };
  altSpace();
  ASSERT_TRUE(SystemMenuOpen());
  EXPECT_FLOAT_EQ(TB->SystemMenu()->Position()->X(), 0);
  // A normal window: Restore, Move and Size disabled; Minimise is the first enabled.
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->MinEntry());
  Platform->KeyDown(Form.get(), vk::Down);
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->MaxEntry());
  Platform->KeyDown(Form.get(), vk::Down);
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->CloseEntry());
  Platform->KeyDown(Form.get(), vk::Down);
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->MinEntry());
  Platform->KeyDown(Form.get(), vk::Up);
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->CloseEntry());
  Platform->KeyDown(Form.get(), vk::Escape);
  EXPECT_FALSE(SystemMenuOpen());
  // Enter chooses the lit entry; a letter chooses its entry.
  altSpace();
  Platform->KeyDown(Form.get(), vk::Down);
  Platform->KeyDown(Form.get(), vk::Return);
  EXPECT_FALSE(SystemMenuOpen());
  EXPECT_EQ(Form->Width(), 1920);
  altSpace();
  EXPECT_EQ(Lit(TB->SystemMenu()), TB->RestoreEntry());
  Platform->KeyDown(Form.get(), 'R', 'r');
  EXPECT_EQ(Form->Width(), 1000);
  EXPECT_FALSE(SystemMenuOpen());
}

TEST_F(EverydayMenus, ARightPressOnAMainEntryLeavesItAsHoveringDoes) {
  MoveTo(Centre(FileEntry));
  Press(Centre(FileEntry), TMouseButton::mbRight);
  Release(Centre(FileEntry), TMouseButton::mbRight);
  EXPECT_FALSE(Main->MenuButtonPressed());
  MoveTo(Centre(Panel));
  EXPECT_FALSE(In::Selection(Main)->Visible());
}

// Two menus borrow one control; each closing order, and the first menu's holder freed
// meanwhile, leave the control with the application's handlers.
TEST(TakeOver, GivesTheApplicationsHandlersBackWhateverTheOrderOfClosingAndFreeing) {
  THeadlessPlatform::Install();
  TRectangle control(nullptr);
  int own = 0, leaves = 0;
  control.SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { ++own; });
  control.SetOnMouseLeave([&](TObject*) { ++leaves; });
  auto isOwn = [&] {
    return control.OnMouseDown() && !TQVTakeOver::IsHook(control.OnMouseDown()) &&
           control.OnMouseLeave() && !TQVTakeOver::IsHook(control.OnMouseLeave());
  };
  for (int order = 0; order < 3; ++order) {
    SCOPED_TRACE(order);
    auto first = std::make_unique<TComponent>(nullptr);
    TComponent second(nullptr);
    int firstDowns = 0, secondDowns = 0;
    auto a = std::make_unique<TQVTakeOver>(
        first.get(), [&](TObject*, TMouseButton, TShiftState, float, float) { ++firstDowns; },
        [](TObject*) {});
    TQVTakeOver b(&second, [&](TObject*, TMouseButton, TShiftState, float, float) { ++secondDowns; },
                  [](TObject*) {});
    a->Take(&control);
    b.Take(&control);
    EXPECT_FALSE(isOwn());
    if (order == 0) {
      a->GiveBack();
      b.GiveBack();
    } else if (order == 1) {
      b.GiveBack();
      a->GiveBack();
    } else {
      // The first menu's holder goes while the second still holds the control.
      a.reset();
      first.reset();
      b.GiveBack();
    }
    EXPECT_TRUE(isOwn());
    control.OnMouseDown()(&control, TMouseButton::mbLeft, {}, 0, 0);
    EXPECT_EQ(firstDowns + secondDowns, 0);
  }
  EXPECT_EQ(own, 3);
  EXPECT_EQ(leaves, 0);
}

}  // namespace
