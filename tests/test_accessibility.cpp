// What a screen reader is told about a window with the library's title bar and menus,
// and the reports it gets as the keyboard walks the menus.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TitleBarSupport.h"
#include "host/Accessibility.h"
#include "host/Keys.h"

namespace fmx::testing {
namespace {

using R = TAccessibleRole;

class AccessibilityTest : public TitleBarTest {
 protected:
  void SetUp() override {
    TitleBarTest::SetUp();
    Form->SetCaption("window");
    Bar = AddTitleBar();
    Bar->SetCaption("记事本");
    Main = new TQVMenuBar(Form.get());
    Main->SetParent(Form.get());
    Main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    Main->SetShortCutsEnabled(true);
    File = Entry(Main, "文件(F)");
    Menu = new TQVMenuBar(Form.get());
    Menu->SetParent(Main);
    Menu->SetTargetButton(File);
    New = Entry(Menu, "新建", "Ctrl+N");
    Wrap = Entry(Menu, "自动换行");
    Wrap->SetMark(TQVMark::mTick);
    Small = Entry(Menu, "小图标");
    Small->SetGroupIndex(1);
    Large = Entry(Menu, "大图标");
    Large->SetGroupIndex(1);
    Large->SetIsCheck(true);
    auto* sep = new TQVMenuButton(Form.get());
    sep->SetParent(Menu);
    sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
    Paste = Entry(Menu, "粘贴", " Ctrl+V ");
    Paste->SetEnabled(false);
    Status = new TLabel(Form.get());
    Status->SetParent(Form.get());
    Status->SetText("就绪");
    Platform->PaintAll();
  }
  TQVMenuButton* Entry(TQVMenuBar* Parent, const std::string& Text, const std::string& ShortCut = "") {
    auto* b = new TQVMenuButton(Form.get());
    b->SetParent(Parent);
    b->SetButtonText(Text);
    b->SetShortCut(ShortCut);
    b->SetOnClick([this, Text](TObject*) { Status->SetText("chose " + Text); });
    return b;
  }
  static std::vector<std::pair<R, std::string>> Read(const std::vector<TControl*>& Controls) {
    std::vector<std::pair<R, std::string>> out;
    for (TControl* c : Controls) {
      const TAccessibleDescription d = DescribeAccessible(c);
      out.emplace_back(d.Role, d.Name);
    }
    return out;
  }
  TQVTitleBar* Bar = nullptr;
  TQVMenuBar *Main = nullptr, *Menu = nullptr;
  TQVMenuButton *File = nullptr, *New = nullptr, *Wrap = nullptr, *Small = nullptr, *Large = nullptr,
                *Paste = nullptr;
  TLabel* Status = nullptr;
};

TEST_F(AccessibilityTest, TheWindowReadsAsAFrameWithTitleBarButtonsMenusAndEntries) {
  const TAccessibleDescription frame = DescribeAccessible(Form.get());
  EXPECT_EQ(frame.Role, R::Frame);
  EXPECT_EQ(frame.Name, "记事本");  // the title bar's caption, not the form's
  using L = std::vector<std::pair<R, std::string>>;
  // The title bar's private tree (background, logo, glyphs, status strip) stays out.
  EXPECT_EQ(Read(AccessibleChildren(Form.get())),
            (L{{R::TitleBar, "记事本"}, {R::MenuBar, ""}, {R::Label, "就绪"}}));
  const std::vector<TControl*> bar = AccessibleChildren(Bar);
  ASSERT_EQ(bar.size(), 4u);
  EXPECT_EQ(Read(bar), (L{{R::PushButton, "最小化"}, {R::PushButton, "最大化"},
                          {R::PushButton, "关闭"}, {R::Menu, "系统菜单"}}));
  EXPECT_EQ(DescribeAccessible(bar[1]).Actions.size(), 1u);
  EXPECT_EQ(Read(AccessibleChildren(bar[3])),
            (L{{R::MenuItem, "还原"}, {R::MenuItem, "移动"}, {R::MenuItem, "大小"},
               {R::MenuItem, "最小化"}, {R::MenuItem, "最大化"}, {R::Separator, ""},
               {R::MenuItem, "关闭"}}));

  // The entry without its access letter, its menu under it, hidden until opened.
  const TAccessibleDescription file = DescribeAccessible(File);
  EXPECT_EQ(file.Name, "文件");
  EXPECT_EQ(file.AccessKey, 'F');
  EXPECT_TRUE(file.States.Expandable);
  EXPECT_EQ(AccessibleChildren(File), std::vector<TControl*>{Menu});
  EXPECT_FALSE(DescribeAccessible(Menu).States.Visible);
  EXPECT_EQ(Read(AccessibleChildren(Menu)),
            (L{{R::MenuItem, "新建"}, {R::CheckMenuItem, "自动换行"}, {R::RadioMenuItem, "小图标"},
               {R::RadioMenuItem, "大图标"}, {R::Separator, ""}, {R::MenuItem, "粘贴"}}));
  EXPECT_EQ(DescribeAccessible(New).ShortCut, "Ctrl+N");
  EXPECT_EQ(DescribeAccessible(Paste).ShortCut, "Ctrl+V");
  EXPECT_FALSE(DescribeAccessible(Paste).States.Enabled);
  EXPECT_TRUE(DescribeAccessible(Large).States.Checked);
  EXPECT_FALSE(DescribeAccessible(Wrap).States.Checked);

  // Actions do what clicks do: a check toggles, a radio takes its group's tick, the
  // handler runs; a disabled entry refuses.
  EXPECT_TRUE(DoAccessibleAction(Wrap, 0));
  EXPECT_TRUE(DescribeAccessible(Wrap).States.Checked);
  EXPECT_TRUE(DoAccessibleAction(Small, 0));
  EXPECT_TRUE(DescribeAccessible(Small).States.Checked);
  EXPECT_FALSE(DescribeAccessible(Large).States.Checked);
  EXPECT_EQ(Status->Text(), "chose 小图标");
  EXPECT_FALSE(DoAccessibleAction(Paste, 0));
  EXPECT_EQ(Status->Text(), "chose 小图标");

  // The maximise button maximises, then reads as restore and restores.
  EXPECT_TRUE(DoAccessibleAction(bar[1], 0));
  EXPECT_EQ(Form->Width(), Platform->ScreenSize().X);
  EXPECT_EQ(DescribeAccessible(bar[1]).Name, "还原");
  EXPECT_TRUE(DoAccessibleAction(bar[1], 0));
  EXPECT_EQ(Form->Width(), 1000);
  EXPECT_EQ(DescribeAccessible(bar[1]).Name, "最大化");
  // The system menu's entries act as the menu does.
  EXPECT_TRUE(DoAccessibleAction(AccessibleChildren(bar[3])[4], 0));
  EXPECT_EQ(Form->Width(), Platform->ScreenSize().X);
}

// Installed for its lifetime, so a failed expectation leaves no sink behind.
struct TRecordingSink final : IAccessibleSink {
  TRecordingSink() { TAccessibility::SetSink(this); }
  ~TRecordingSink() override { TAccessibility::SetSink(nullptr); }
  void ControlChanged(TControl* C, TAccessibleEvent E) override { Events.emplace_back(C, E); }
  void FormChanged(TCommonCustomForm* F, TAccessibleEvent E) override { Forms.emplace_back(F, E); }
  std::vector<std::pair<TControl*, TAccessibleEvent>> Events;
  std::vector<std::pair<TCommonCustomForm*, TAccessibleEvent>> Forms;
};

TEST_F(AccessibilityTest, TheKeyboardWalkReportsEachHighlightedEntryAndTheMenuOpening) {
  TRecordingSink sink;
  Platform->KeyDown(Form.get(), vk::Menu, 0, {TShiftStateItem::ssAlt});
  Platform->KeyPress(Form.get(), 'F', u'f', {TShiftStateItem::ssAlt});
  Platform->KeyUp(Form.get(), vk::Menu);
  Platform->KeyPress(Form.get(), vk::Down);
  Platform->KeyPress(Form.get(), vk::Down);
  std::vector<TControl*> focused;
  bool menuShown = false;
  for (auto [c, e] : sink.Events) {
    if (e == TAccessibleEvent::Focused) focused.push_back(c);
    if (c == Menu && e == TAccessibleEvent::Shown) menuShown = true;
  }
  EXPECT_EQ(focused, (std::vector<TControl*>{File, New, Wrap, Small}));
  EXPECT_TRUE(menuShown);
  EXPECT_TRUE(DescribeAccessible(Small).States.Focused);
  EXPECT_TRUE(DescribeAccessible(File).States.Selected);
  EXPECT_FALSE(DescribeAccessible(File).States.Focused);
  EXPECT_TRUE(DescribeAccessible(File).States.Expanded);

  sink.Events.clear();
  Platform->KeyPress(Form.get(), vk::Return);
  EXPECT_EQ(Status->Text(), "chose 小图标");
  bool stateTold = false, hiddenTold = false;
  for (auto [c, e] : sink.Events) {
    stateTold = stateTold || (c == Small && e == TAccessibleEvent::StateChanged);
    hiddenTold = hiddenTold || (c == Menu && e == TAccessibleEvent::Hidden);
  }
  EXPECT_TRUE(stateTold);
  EXPECT_TRUE(hiddenTold);
  Platform->SetActive(Form.get(), false);
  EXPECT_EQ(sink.Forms.back(), std::make_pair(static_cast<TCommonCustomForm*>(Form.get()),
                                              TAccessibleEvent::Deactivated));
  TAccessibility::SetSink(nullptr);
  sink.Events.clear();
  Platform->KeyPress(Form.get(), vk::F10);
  EXPECT_TRUE(sink.Events.empty());
}

}  // namespace
}  // namespace fmx::testing
