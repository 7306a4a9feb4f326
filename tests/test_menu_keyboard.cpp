// Menus by keyboard on the headless platform: shortcut texts read into keys, shortcuts
// choosing their entries, and the keys that walk a menu, mixed with the mouse.
#include <gtest/gtest.h>

#include "MenuSupport.h"
#include "host/Keys.h"
#include "host/Shapes.h"

using namespace fmx;

namespace {

constexpr TShiftStateItem kCtrl = TShiftStateItem::ssCtrl;
constexpr TShiftStateItem kShift = TShiftStateItem::ssShift;
constexpr TShiftStateItem kAlt = TShiftStateItem::ssAlt;

TQVShortCut Sc(uint16_t Key, TShiftState Shift = {}) { return {Key, Shift}; }

TEST(MenuShortCutText, TheUsualFormsAreKeysAndEverythingElseIsShownOnly) {
  EXPECT_EQ(QVParseShortCut("Ctrl+S"), Sc('S', {kCtrl}));
  EXPECT_EQ(QVParseShortCut("Ctrl+Shift+N"), Sc('N', {kCtrl, kShift}));
  EXPECT_EQ(QVParseShortCut("Shift+Ctrl+N"), Sc('N', {kCtrl, kShift}));
  EXPECT_EQ(QVParseShortCut("Alt+F4"), Sc(vk::F4, {kAlt}));
  EXPECT_EQ(QVParseShortCut("F5"), Sc(vk::F5));
  EXPECT_EQ(QVParseShortCut("Shift+F12"), Sc(vk::F12, {kShift}));
  EXPECT_EQ(QVParseShortCut("Ctrl+Enter"), Sc(vk::Return, {kCtrl}));
  EXPECT_EQ(QVParseShortCut("ctrl + alt + del"), Sc(vk::Delete, {kCtrl, kAlt}));
  EXPECT_EQ(QVParseShortCut("Del"), Sc(vk::Delete));
  EXPECT_EQ(QVParseShortCut("Ctrl+1"), Sc('1', {kCtrl}));
  // The label around it, CJK or in brackets, is passed over.
  EXPECT_EQ(QVParseShortCut("保存 Ctrl+S"), Sc('S', {kCtrl}));
  EXPECT_EQ(QVParseShortCut("（Ctrl+O）"), Sc('O', {kCtrl}));
  EXPECT_EQ(QVParseShortCut("按F5刷新"), Sc(vk::F5));
  EXPECT_EQ(QVParseShortCut("(Alt+F4)"), Sc(vk::F4, {kAlt}));
  // Not keys: typing and menu keys on their own, unknown names, broken combinations.
  for (const char* text : {"", "   ", "Save", "S", "Esc", "Enter", "Shift+A", "Ctrl+", "+S",
                           "Ctrl+Ctrl+S", "Ctrl+Foo", "F13", "F0", "Ctrl+S+T", "快捷键",
                           "Hyper+S"})
    EXPECT_FALSE(QVParseShortCut(text).Valid()) << text;

  EXPECT_EQ(QVMenuMnemonic("文件(F)"), 'F');
  EXPECT_EQ(QVMenuMnemonic("编辑（e）"), 'E');
  EXPECT_EQ(QVMenuMnemonic("Tools (2)"), '2');
  for (const char* caption : {"文件", "(F", "F)", "()", "(FF)", "(文)"})
    EXPECT_EQ(QVMenuMnemonic(caption), 0) << caption;
}

class MenuKeys : public fmx::testing::MenuTest {
 protected:
  struct TTree {
    TQVMenuBar *Main, *File, *Recent, *Edit;
    TQVMenuButton *FileEntry, *EditEntry, *ViewEntry, *HelpEntry, *New, *Open, *Sep1, *RecentEntry,
        *Sep2, *Wrap, *Small, *Large, *Exit, *A, *B, *Undo, *Cut;
  };
  // 文件(F): New Ctrl+N, Open Ctrl+O (disabled), ---, Recent > (a.txt, b.txt), ---,
  //          Wrap (tick) Ctrl+W, Small, Large (radio group 1), Exit Alt+F4
  // 编辑(E): Undo Ctrl+Z, Cut Ctrl+X
  // 视图(V): disabled;  帮助(H): no menu of its own
  TTree Build() {
    TTree t{};
    t.Main = AddMainBar();
    t.FileEntry = AddEntry(t.Main, "文件(F)", "FileEntry");
    t.EditEntry = AddEntry(t.Main, "编辑(E)", "EditEntry");
    t.ViewEntry = AddEntry(t.Main, "视图(V)", "ViewEntry");
    t.ViewEntry->SetEnabled(false);
    t.HelpEntry = AddEntry(t.Main, "帮助(H)", "HelpEntry");
    t.File = AddBar(t.Main, "FileBar");
    t.File->SetTargetButton(t.FileEntry);
    t.New = Entry(t.File, "New", "Ctrl+N");
    t.Open = Entry(t.File, "Open", "Ctrl+O");
    t.Open->SetEnabled(false);
    t.Sep1 = Separator(t.File, "Sep1");
    t.RecentEntry = AddEntry(t.File, "Recent", "RecentEntry");
    t.Sep2 = Separator(t.File, "Sep2");
    t.Wrap = Entry(t.File, "Wrap", "Ctrl+W");
    t.Wrap->SetMark(TQVMark::mTick);
    t.Small = Entry(t.File, "Small");
    t.Small->SetGroupIndex(1);
    t.Large = Entry(t.File, "Large");
    t.Large->SetGroupIndex(1);
    t.Small->SetIsCheck(true);
    t.Exit = Entry(t.File, "Exit", "Alt+F4");
    t.Recent = AddBar(t.File, "RecentBar");
    t.Recent->SetTargetButton(t.RecentEntry);
    t.A = Entry(t.Recent, "a.txt");
    t.B = Entry(t.Recent, "b.txt");
    t.Edit = AddBar(t.Main, "EditBar");
    t.Edit->SetTargetButton(t.EditEntry);
    t.Undo = Entry(t.Edit, "Undo", "Ctrl+Z");
    t.Cut = Entry(t.Edit, "Cut", "Ctrl+X");
    for (TQVMenuButton* e : {t.FileEntry, t.EditEntry, t.ViewEntry, t.HelpEntry, t.New, t.Open,
                             t.RecentEntry, t.Wrap, t.Small, t.Large, t.Exit, t.A, t.B, t.Undo,
                             t.Cut})
      e->SetOnClick([this, e](TObject*) { Chosen.push_back(e->ButtonText()); });
    Platform->PaintAll();
    return t;
  }
  TQVMenuButton* Entry(TQVMenuBar* Bar, const std::string& Text, const std::string& Keys = "") {
    std::string name;
    for (char c : Text)
      if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    TQVMenuButton* b = AddEntry(Bar, Text, name);
    if (!Keys.empty()) b->SetShortCut(Keys);
    return b;
  }
  TQVMenuButton* Separator(TQVMenuBar* Bar, const std::string& Name) {
    TQVMenuButton* b = AddEntry(Bar, "", Name);
    b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
    return b;
  }
  // A key as the window would send it; true when it went on to the form's own handler.
  bool Press(uint16_t Key, TShiftState Shift = {}) {
    FormHeard = false;
    Platform->KeyPress(Form.get(), Key, 0, Shift);
    return FormHeard;
  }
  void Alt(char Letter) {
    Platform->KeyDown(Form.get(), vk::Menu, 0, {kAlt});
    Platform->KeyPress(Form.get(), static_cast<uint16_t>(Letter), 0, {kAlt});
    Platform->KeyUp(Form.get(), vk::Menu, 0, {});
  }
  void LoneAlt() {
    Platform->KeyDown(Form.get(), vk::Menu, 0, {kAlt});
    Platform->KeyUp(Form.get(), vk::Menu, 0, {});
  }
  void SetUp() override {
    MenuTest::SetUp();
    Form->SetOnKeyDown([this](TObject*, uint16_t&, Char&, TShiftState) { FormHeard = true; });
  }
  static TPointF Centre(const TControl* C) {
    TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void ClickOn(const TControl* C) {
    TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
    Platform->Click(Form.get(), p.X, p.Y);
  }
  void Hover(const TControl* C) {
    TPointF p = Centre(C);
    Platform->MouseMove(Form.get(), p.X, p.Y);
  }
  // The entry under a bar's highlight, if it shows.
  static TQVMenuButton* Lit(TQVMenuBar* Bar) {
    TRectangle* h = In::Selection(Bar);
    if (!h->Visible()) return nullptr;
    const float x = h->Position()->X() + h->Width() / 2, y = h->Position()->Y() + h->Height() / 2;
    for (TFmxObject* child : Bar->ChildrenList()) {
      auto* b = dynamic_cast<TQVMenuButton*>(child);
      if (b != nullptr && b->Visible() && x >= b->Position()->X() &&
          x <= b->Position()->X() + b->Width() && y >= b->Position()->Y() &&
          y <= b->Position()->Y() + b->Height())
        return b;
    }
    return nullptr;
  }
  void ExpectClosed(const TTree& t) {
    EXPECT_FALSE(t.Main->MenuButtonPressed());
    EXPECT_FALSE(In::HideTimer(t.Main)->Enabled());
    for (TQVMenuBar* b : {t.File, t.Recent, t.Edit}) EXPECT_FALSE(b->Visible());
  }
  std::vector<std::string> Chosen;
  bool FormHeard = false;
};

TEST_F(MenuKeys, AnEntryReadsItsShortCutOnceAndReportsTextThatIsNoKey) {
  TTree t = Build();
  EXPECT_EQ(t.New->ShortCutKey(), Sc('N', {kCtrl}));
  EXPECT_FALSE(t.New->ShortCutIsDisplayOnly());
  t.New->SetShortCut("新建 (Ctrl+Shift+N)");
  EXPECT_EQ(t.New->ShortCutKey(), Sc('N', {kCtrl, kShift}));
  t.New->SetShortCut("随便");
  EXPECT_FALSE(t.New->ShortCutKey().Valid());
  EXPECT_TRUE(t.New->ShortCutIsDisplayOnly());
  t.New->SetShortCut("  ");
  EXPECT_FALSE(t.New->ShortCutIsDisplayOnly());
  // An arrow takes the shortcut text away, and with it the key.
  t.Undo->SetMoreArrow(true);
  EXPECT_TRUE(t.Undo->ShortCut().empty());
  EXPECT_FALSE(t.Undo->ShortCutKey().Valid());
}

TEST_F(MenuKeys, ShortCutsChooseTheirEntriesOnlyWhenSwitchedOnAndReachable) {
  TTree t = Build();
  // Off by default: the key goes on to the form.
  EXPECT_TRUE(Press('N', {kCtrl}));
  EXPECT_TRUE(Chosen.empty());

  t.Main->SetShortCutsEnabled(true);
  EXPECT_FALSE(Press('N', {kCtrl}));
  EXPECT_FALSE(Press(vk::F4, {kAlt}));
  EXPECT_FALSE(Press('X', {kCtrl, TShiftStateItem::ssLeft}));  // a held button is no modifier
  EXPECT_EQ(Chosen, (std::vector<std::string>{"New", "Exit", "Cut"}));
  ExpectClosed(t);
  // Other modifiers are another key.
  EXPECT_TRUE(Press('N', {kCtrl, kShift}));
  EXPECT_TRUE(Press('N'));
  // A disabled entry, or one under a disabled main entry, leaves the key to the form.
  EXPECT_TRUE(Press('O', {kCtrl}));
  t.EditEntry->SetEnabled(false);
  EXPECT_TRUE(Press('Z', {kCtrl}));
  t.EditEntry->SetEnabled(true);
  t.Edit->SetEnabled(false);
  EXPECT_TRUE(Press('Z', {kCtrl}));
  t.Edit->SetEnabled(true);
  EXPECT_EQ(Chosen.size(), 3u);

  // A tick toggles as on a click; the focused control never hears a taken key.
  auto* field = new TRectangle(Form.get());
  field->SetParent(Form.get());
  field->SetBounds(400, 300, 50, 50);
  field->SetFocus();
  int fieldKeys = 0;
  field->SetOnKeyDown([&](TObject*, uint16_t&, Char&, TShiftState) { ++fieldKeys; });
  EXPECT_FALSE(t.Wrap->IsCheck());
  Press('W', {kCtrl});
  EXPECT_TRUE(t.Wrap->IsCheck());
  Press('W', {kCtrl});
  EXPECT_FALSE(t.Wrap->IsCheck());
  EXPECT_EQ(fieldKeys, 0);
  Press('Q', {kCtrl});
  EXPECT_EQ(fieldKeys, 1);

  // With the menu open (by mouse) the shortcut still chooses, and the menu closes.
  ClickOn(t.FileEntry);
  ASSERT_TRUE(t.File->Visible());
  Chosen.clear();
  EXPECT_FALSE(Press('X', {kCtrl}));
  EXPECT_EQ(Chosen, (std::vector<std::string>{"Cut"}));
  ExpectClosed(t);

  // Off again: nothing is chosen.
  t.Main->SetShortCutsEnabled(false);
  EXPECT_TRUE(Press('N', {kCtrl}));
  EXPECT_EQ(Chosen.size(), 1u);
}

TEST_F(MenuKeys, OnlyTheRootOfATreeListensSoAnEntryFiresOnce) {
  TTree t = Build();
  // Each bar of the tree switched on: the key still chooses once.
  for (TQVMenuBar* b : {t.Main, t.File, t.Recent, t.Edit}) b->SetShortCutsEnabled(true);
  Press('N', {kCtrl});
  EXPECT_EQ(Chosen, (std::vector<std::string>{"New"}));
  // A bar taken out of the tree onto the form becomes a root: it listens only if asked.
  t.Edit->SetTargetButton(nullptr);
  ASSERT_EQ(t.Edit->Parent(), Form.get());
  Chosen.clear();
  Press('Z', {kCtrl});
  EXPECT_EQ(Chosen, (std::vector<std::string>{"Undo"}));  // its own switch was on
  t.Edit->SetShortCutsEnabled(false);
  EXPECT_TRUE(Press('Z', {kCtrl}));
}

TEST_F(MenuKeys, AShortCutWhoseHandlerFreesTheMenuOrTheFormEndsCleanly) {
  TTree t = Build();
  t.Main->SetShortCutsEnabled(true);
  t.New->SetOnClick([&](TObject*) { delete t.Main; });
  ClickOn(t.FileEntry);  // open, so closing has the handlers to give back
  Platform->Advance(150);
  EXPECT_FALSE(Press('N', {kCtrl}));
  EXPECT_TRUE(Press('X', {kCtrl}));  // the tree is gone, so is its shortcut
  Platform->Advance(300);

  // A fresh tree whose entry frees the whole form.
  auto* form = new TForm(nullptr);
  form->Show();
  auto* main = new TQVMenuBar(form);
  main->SetParent(form);
  main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  auto* top = new TQVMenuButton(form);
  top->SetName("Top");
  top->SetParent(main);
  auto* sub = new TQVMenuBar(form);
  sub->SetParent(main);
  sub->SetTargetButton(top);
  auto* quit = new TQVMenuButton(form);
  quit->SetParent(sub);
  quit->SetShortCut("Ctrl+Q");
  quit->SetOnClick([form](TObject*) { delete form; });
  main->SetShortCutsEnabled(true);
  Platform->KeyPress(form, 'Q', 0, {kCtrl});
  for (TCommonCustomForm* f : Application->Forms()) EXPECT_NE(f, form);
}

TEST_F(MenuKeys, F10AndALoneAltLightTheMainBarAndArrowsWalkItSkippingDisabledEntries) {
  TTree t = Build();
  EXPECT_TRUE(Press(vk::Right));  // nothing under the keyboard: the form hears it
  EXPECT_FALSE(Press(vk::F10));
  EXPECT_EQ(Lit(t.Main), t.FileEntry);
  ExpectClosed(t);
  EXPECT_FALSE(Press(vk::Right));
  EXPECT_EQ(Lit(t.Main), t.EditEntry);
  Press(vk::Right);  // past the disabled 视图(V)
  EXPECT_EQ(Lit(t.Main), t.HelpEntry);
  Press(vk::Right);  // round the end
  EXPECT_EQ(Lit(t.Main), t.FileEntry);
  Press(vk::Left);
  EXPECT_EQ(Lit(t.Main), t.HelpEntry);
  ExpectClosed(t);
  EXPECT_FALSE(Press(vk::Escape));
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_TRUE(Press(vk::Left));
  EXPECT_TRUE(Press(vk::Escape));

  // A lone Alt lights and unlights; Alt used with a letter is no lone Alt.
  LoneAlt();
  EXPECT_EQ(Lit(t.Main), t.FileEntry);
  LoneAlt();
  EXPECT_EQ(Lit(t.Main), nullptr);
  Alt('Q');  // no entry offers Q
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_TRUE(Press('V', {kAlt}));  // 视图(V) is disabled
  ExpectClosed(t);
  // F10 with a menu open closes everything.
  Alt('F');
  ASSERT_TRUE(t.File->Visible());
  Press(vk::F10);
  ExpectClosed(t);
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_TRUE(Press(vk::Down));
  // A hidden main bar leaves every key to the form.
  t.Main->SetVisible(false);
  EXPECT_TRUE(Press(vk::F10));
  LoneAlt();
  EXPECT_TRUE(Press('F', {kAlt}));
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_FALSE(t.Main->MenuButtonPressed());
}

TEST_F(MenuKeys, ArrowsWalkAMenuItsCascadeAndChooseWithEnterOrSpace) {
  TTree t = Build();
  Alt('F');
  EXPECT_TRUE(t.Main->MenuButtonPressed());
  EXPECT_TRUE(t.File->Visible());
  EXPECT_EQ(Lit(t.Main), t.FileEntry);
  EXPECT_EQ(Lit(t.File), t.New);
  Press(vk::Down);  // past the disabled Open and the separator
  EXPECT_EQ(Lit(t.File), t.RecentEntry);
  EXPECT_FALSE(t.Recent->Visible());  // the keyboard opens cascades with Right
  Press(vk::Down);
  EXPECT_EQ(Lit(t.File), t.Wrap);
  Press(vk::Up);
  Press(vk::Right);
  ASSERT_TRUE(t.Recent->Visible());
  EXPECT_EQ(Lit(t.Recent), t.A);
  EXPECT_EQ(Lit(t.File), t.RecentEntry);  // the way in stays lit
  Press(vk::Down);
  EXPECT_EQ(Lit(t.Recent), t.B);
  Press(vk::Down);
  EXPECT_EQ(Lit(t.Recent), t.A);  // round the end
  Press(vk::Left);
  EXPECT_FALSE(t.Recent->Visible());
  EXPECT_EQ(Lit(t.File), t.RecentEntry);
  EXPECT_TRUE(t.File->Visible());
  Press(vk::Return);  // Enter on a cascade entry opens it
  ASSERT_TRUE(t.Recent->Visible());
  Press(vk::Escape);  // one level
  EXPECT_FALSE(t.Recent->Visible());
  EXPECT_TRUE(t.File->Visible());
  Press(vk::Down);
  EXPECT_EQ(Lit(t.File), t.Wrap);
  EXPECT_FALSE(Press(vk::Space));
  EXPECT_TRUE(t.Wrap->IsCheck());
  EXPECT_EQ(Chosen, (std::vector<std::string>{"Wrap"}));
  ExpectClosed(t);
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_TRUE(Press(vk::Down));  // closed: the keys are the form's again

  // Up from the first entry goes round to the last; a radio entry takes its group's tick.
  Alt('F');
  Press(vk::Up);
  EXPECT_EQ(Lit(t.File), t.Exit);
  Press(vk::Up);
  EXPECT_EQ(Lit(t.File), t.Large);
  Press(vk::Return);
  EXPECT_TRUE(t.Large->IsCheck());
  EXPECT_FALSE(t.Small->IsCheck());
  // In the cascade Enter chooses too.
  Alt('F');
  Press(vk::Down);
  Press(vk::Right);
  Press(vk::Down);
  Press(vk::Return);
  EXPECT_EQ(Chosen, (std::vector<std::string>{"Wrap", "Large", "b.txt"}));
  ExpectClosed(t);
}

TEST_F(MenuKeys, LeftAndRightMoveBetweenOpenMenusAndEscapeClosesOneLevelAtATime) {
  TTree t = Build();
  Alt('F');
  Press(vk::Right);  // New opens nothing: on to the next menu
  EXPECT_FALSE(t.File->Visible());
  ASSERT_TRUE(t.Edit->Visible());
  EXPECT_EQ(Lit(t.Main), t.EditEntry);
  EXPECT_EQ(Lit(t.Edit), t.Undo);
  Press(vk::Right);  // past the disabled 视图(V) to 帮助(H), which has no menu
  EXPECT_EQ(Lit(t.Main), t.HelpEntry);
  EXPECT_FALSE(t.Edit->Visible());
  EXPECT_TRUE(t.Main->MenuButtonPressed());
  Press(vk::Down);  // nothing to drop down
  EXPECT_EQ(Lit(t.Main), t.HelpEntry);
  Press(vk::Right);
  EXPECT_TRUE(t.File->Visible());
  EXPECT_EQ(Lit(t.File), t.New);
  Press(vk::Left);
  EXPECT_EQ(Lit(t.Main), t.HelpEntry);
  Press(vk::Left);
  EXPECT_TRUE(t.Edit->Visible());
  // Escape: the menu closes, its main entry stays lit; again: nothing lit.
  Press(vk::Escape);
  ExpectClosed(t);
  EXPECT_EQ(Lit(t.Main), t.EditEntry);
  Press(vk::Down);  // and opens it again
  EXPECT_TRUE(t.Edit->Visible());
  Press(vk::Escape);
  EXPECT_FALSE(Press(vk::Escape));
  EXPECT_EQ(Lit(t.Main), nullptr);
  EXPECT_TRUE(Press(vk::Escape));
  EXPECT_TRUE(Chosen.empty());
  // Alt+letter on a main entry without a menu chooses it.
  Alt('H');
  EXPECT_EQ(Chosen, (std::vector<std::string>{"帮助(H)"}));
  ExpectClosed(t);
}

TEST_F(MenuKeys, MouseAndKeyboardTakeTurnsOnTheSameHighlight) {
  TTree t = Build();
  ClickOn(t.FileEntry);
  ASSERT_TRUE(t.File->Visible());
  Chosen.clear();  // the click on the main entry raised its OnClick
  Press(vk::Down);  // the dropped-down menu is entered at its first entry
  EXPECT_EQ(Lit(t.File), t.New);
  Hover(t.Wrap);
  EXPECT_EQ(Lit(t.File), t.Wrap);
  Press(vk::Down);  // on from where the mouse left it
  EXPECT_EQ(Lit(t.File), t.Small);
  Hover(t.RecentEntry);  // the mouse opens the cascade; the keyboard goes into it
  ASSERT_TRUE(t.Recent->Visible());
  Press(vk::Right);
  EXPECT_EQ(Lit(t.Recent), t.A);
  Hover(t.B);
  Press(vk::Up);
  EXPECT_EQ(Lit(t.Recent), t.A);
  Press(vk::Return);
  EXPECT_EQ(Chosen, (std::vector<std::string>{"a.txt"}));
  ExpectClosed(t);

  // Opened by keyboard, chosen by mouse.
  Alt('E');
  ClickOn(t.Cut);
  EXPECT_EQ(Chosen.back(), "Cut");
  ExpectClosed(t);
  EXPECT_TRUE(Press(vk::Down));
  // Opened by keyboard, closed by a click on the form: the keys are the form's again.
  Alt('E');
  Platform->Advance(150);
  Platform->MouseMove(Form.get(), 600, 400);
  Platform->Advance(150);
  Platform->Click(Form.get(), 600, 400);
  ExpectClosed(t);
  EXPECT_TRUE(Press(vk::Down));
  EXPECT_TRUE(Press(vk::Escape));
  // Lit by F10, then a mouse click opens the menu: arrows work on it.
  Press(vk::F10);
  ClickOn(t.EditEntry);
  ASSERT_TRUE(t.Edit->Visible());
  Press(vk::Up);
  EXPECT_EQ(Lit(t.Edit), t.Cut);
}

TEST_F(MenuKeys, ChoosingByKeyWhenTheHandlerFreesTheMenuEndsCleanly) {
  TTree t = Build();
  t.New->SetOnClick([&](TObject*) { delete t.Main; });
  Alt('F');
  Platform->Advance(150);
  EXPECT_FALSE(Press(vk::Return));
  EXPECT_TRUE(Press(vk::Down));
  EXPECT_TRUE(Press(vk::F10));
  Platform->Advance(300);
}

}  // namespace
