// Menus open, cascade, highlight and close through many small repaints; after every
// step of a scripted session the picture kept by damage-driven painting must equal a
// full repaint.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DamageSupport.h"
#include "FMX.QVTitleBar.h"
#include "MenuSupport.h"
#include "host/Keys.h"

using namespace fmx;
using namespace fmx::testing;

namespace {

class MenuDamagePainting : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Platform->SetRetainedPainting(true);
  }
  static TPointF Centre(const TControl* C) {
    const TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Hover(const TControl* C) {
    const TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
  }
  void ClickOn(const TControl* C) {
    const TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
    Platform->Click(Form.get(), p.X, p.Y);
  }
  void Check(const std::string& Step) { ExpectKeptPictureMatchesFullPaint(Platform, Form.get(), Step); }
};

TEST_F(MenuDamagePainting, EveryStepThroughOpenMenusAndCascadesMatchesAFullRepaint) {
  Form->SetBounds(0, 0, 900, 600);
  Form->SetTransparency(true);
  auto* title = new TQVTitleBar(Form.get());
  title->SetParent(Form.get());
  title->SetCaption("菜单 damage");
  TQVMenuBar* main = AddMainBar();
  main->SetBounds(0, 32, 900, 26);
  TQVMenuButton* fileEntry = AddEntry(main, "文件(F)");
  TQVMenuButton* editEntry = AddEntry(main, "编辑(E)");
  AddEntry(main, "帮助(H)");
  TQVMenuBar* file = AddBar(main);
  file->SetTargetButton(fileEntry);
  TQVMenuButton* open = AddEntry(file, "打开(O)");
  open->SetShortCut("Ctrl+O");
  TQVMenuButton* disabled = AddEntry(file, "还原(R)");
  disabled->SetEnabled(false);
  TQVMenuButton* recent = AddEntry(file, "最近(J)");
  TQVMenuButton* wrap = AddEntry(file, "自动换行(W)");
  wrap->SetMark(TQVMark::mTick);
  auto* sep = new TQVMenuButton(Form.get());
  sep->SetParent(file);
  sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  TQVMenuButton* small = AddEntry(file, "小");
  small->SetGroupIndex(1);
  TQVMenuButton* large = AddEntry(file, "大");
  large->SetGroupIndex(1);
  TQVMenuButton* quit = AddEntry(file, "关闭(C)");
  quit->SetShortCut("Alt+F4");
  TQVMenuBar* cascade = AddBar(file);
  cascade->SetTargetButton(recent);
  TQVMenuButton* old = AddEntry(cascade, "old.txt");
  TQVMenuButton* more = AddEntry(cascade, "更多");
  TQVMenuBar* deep = AddBar(cascade);
  deep->SetTargetButton(more);
  TQVMenuButton* deepest = AddEntry(deep, "最深处 a long entry of the deepest menu");
  TQVMenuBar* edit = AddBar(main);
  edit->SetTargetButton(editEntry);
  TQVMenuButton* cut = AddEntry(edit, "剪切(T)", "Cut");
  cut->SetShortCut("Ctrl+X");
  Check("first paint");

  // A spot on the form away from every menu; the menus take the form's press over once
  // the pointer has rested outside them for a tick.
  const TPointF away{600, 400};
  auto pressAway = [&] {
    Platform->MouseMove(Form.get(), away.X, away.Y);
    Platform->Advance(100);
    Platform->Click(Form.get(), away.X, away.Y);
  };
  auto expectOpen = [&](bool Value) { EXPECT_EQ(main->MenuButtonPressed(), Value); };
  std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"hover a closed main entry", [&] { Hover(fileEntry); }},
      {"hover the next main entry", [&] { Hover(editEntry); }},
      {"click opens the drop-down", [&] {
         ClickOn(fileEntry);
         EXPECT_TRUE(file->Visible());
       }},
      {"hover switches to the next menu", [&] {
         Hover(editEntry);
         EXPECT_TRUE(edit->Visible());
       }},
      {"and back", [&] { Hover(fileEntry); }},
      {"highlight an entry with a shortcut", [&] { Hover(open); }},
      {"hover the disabled entry", [&] { Hover(disabled); }},
      {"open the cascade", [&] {
         Hover(recent);
         EXPECT_TRUE(cascade->Visible());
       }},
      {"highlight in the cascade", [&] { Hover(old); }},
      {"open the third level", [&] {
         Hover(more);
         EXPECT_TRUE(deep->Visible());
       }},
      {"highlight the deepest", [&] { Hover(deepest); }},
      {"third level closes", [&] {
         Hover(old);
         EXPECT_FALSE(deep->Visible());
       }},
      {"cascade closes", [&] {
         Hover(wrap);
         EXPECT_FALSE(cascade->Visible());
       }},
      {"the hide timer runs", [&] { Platform->Advance(600); }},
      {"choose the tick entry", [&] {
         ClickOn(wrap);
         expectOpen(false);
       }},
      {"reopen", [&] { ClickOn(fileEntry); }},
      {"the tick shows", [&] { Hover(wrap); }},
      {"a radio entry", [&] { ClickOn(small); }},
      {"reopen again", [&] { ClickOn(fileEntry); }},
      {"to the separator", [&] { Hover(sep); }},
      {"the other radio entry", [&] { ClickOn(large); }},
      {"open by the keyboard", [&] {
         Platform->KeyPress(Form.get(), 'F', 0, {TShiftStateItem::ssAlt});
         EXPECT_TRUE(file->Visible());
       }},
      {"down", [&] { Platform->KeyPress(Form.get(), vk::Down); }},
      {"down again", [&] { Platform->KeyPress(Form.get(), vk::Down); }},
      {"right into the cascade", [&] { Platform->KeyPress(Form.get(), vk::Right); }},
      {"escape one level", [&] { Platform->KeyPress(Form.get(), vk::Escape); }},
      {"right to the next menu", [&] { Platform->KeyPress(Form.get(), vk::Right); }},
      {"escape closes", [&] { Platform->KeyPress(Form.get(), vk::Escape); }},
      {"open with the mouse, cascade open", [&] {
         ClickOn(fileEntry);
         Hover(recent);
         EXPECT_TRUE(cascade->Visible());
       }},
      {"a press on the form closes everything", [&] {
         pressAway();
         expectOpen(false);
         EXPECT_FALSE(file->Visible());
       }},
      {"colours change while open", [&] {
         ClickOn(fileEntry);
         expectOpen(true);
         file->SetBackgroundColor(0xFF203040);
         file->SetFontColor(0xFFE0E0E0);
       }},
      {"a caption grows while open", [&] { open->SetButtonText("打开一个很长的文件名(O)"); }},
      {"an entry is freed while open", [&] { delete disabled; }},
      {"the open cascade's bar is freed", [&] {
         Hover(recent);
         ASSERT_TRUE(cascade->Visible());
         delete cascade;
       }},
      {"closed by its main entry", [&] {
         ClickOn(fileEntry);
         expectOpen(false);
       }},
      {"the system menu opens on a right press", [&] {
         Platform->MouseDown(Form.get(), TMouseButton::mbRight, 400, 12);
         Platform->MouseUp(Form.get(), TMouseButton::mbRight, 400, 12);
       }},
      {"hover in the system menu", [&] { Platform->MouseMove(Form.get(), 450, 60); }},
      {"the system menu closes on a press on the bar", [&] {
         Platform->MouseMove(Form.get(), 700, 10);
         Platform->Advance(100);
         Platform->Click(Form.get(), 700, 10);
       }},
      {"the open drop-down's main bar is freed", [&] {
         ClickOn(fileEntry);
         ASSERT_TRUE(file->Visible());
         delete main;
       }},
  };
  for (auto& [name, step] : steps) {
    step();
    Check(name);
  }
}

}  // namespace
