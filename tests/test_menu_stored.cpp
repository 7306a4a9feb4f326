// Menus in stored forms: the example form round trip, what a loaded tree looks like at
// run time and in the designer, stored defaults and order, registration, and the bare
// state while a stored form is being read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "MenuSupport.h"
#include "host/Registry.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

class MenuStored : public fmx::testing::MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    qvmenus::Register();
  }
  static std::string ExampleText() {
    const char* src = std::getenv("ZZ_SOURCE_DIR");
    std::filesystem::path dir = src != nullptr ? src : ".";
    return ReadTextFile((dir / "examples" / "menus.fmx").string());
  }
  template <class T>
  static T* Find(TComponent* Root, const std::string& Name) {
    return dynamic_cast<T*>(Root->FindComponent(Name));
  }
};

// Text with every line that contains What removed.
std::string Without(const std::string& Text, const std::string& What) {
  std::string out;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size() - 1;
    std::string line = Text.substr(start, end - start + 1);
    if (line.find(What) == std::string::npos) out += line;
    start = end + 1;
  }
  return out;
}

}  // namespace

TEST_F(MenuStored, TheExampleFormRoundTripsByteForByteAsTheDesignerWritesIt) {
  const std::string text = ExampleText();
  TReadOptions designer;
  designer.Designing = true;
  std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr, designer));
  EXPECT_EQ(WriteComponentToText(form.get()), text);
  // The designer shows every sub-menu.
  for (const char* name : {"FileBar", "RecentBar", "EditBar", "ViewBar"})
    EXPECT_TRUE(Find<TQVMenuBar>(form.get(), name)->Visible()) << name;
}

TEST_F(MenuStored, AtRunTimeTheLoadedTreeIsWholeWithSubMenusHidden) {
  const std::string text = ExampleText();
  std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
  auto* main = Find<TQVMenuBar>(form.get(), "MainMenu");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->MenuBarStyle(), TQVMenuBarStyle::msMainMenuBar);
  std::vector<TQVMenuBar*> subs;
  for (const char* name : {"FileBar", "RecentBar", "EditBar", "ViewBar"}) {
    auto* bar = Find<TQVMenuBar>(form.get(), name);
    EXPECT_FALSE(bar->Visible()) << name;
    EXPECT_EQ(In::RootOf(bar), main) << name;
    EXPECT_TRUE(fmx::testing::Lists(In::Bars(main), bar)) << name;
    EXPECT_EQ(bar->Images(), Find<TImageList>(form.get(), "ImageList1")) << name;
  }
  EXPECT_EQ(Find<TQVMenuBar>(form.get(), "RecentBar")->TargetButton(),
            Find<TQVMenuButton>(form.get(), "RecentItem"));
  // Every entry is listed once at the root; the radio group and ticks are as stored.
  EXPECT_EQ(In::ButtonEntries(main), 19u);
  EXPECT_TRUE(Find<TQVMenuButton>(form.get(), "MediumItem")->IsCheck());
  EXPECT_FALSE(Find<TQVMenuButton>(form.get(), "SmallItem")->IsCheck());
  EXPECT_TRUE(In::Tick(Find<TQVMenuButton>(form.get(), "WrapItem"))->Visible());
  auto* open = Find<TQVMenuButton>(form.get(), "OpenItem");
  EXPECT_TRUE(In::Glyph(open)->Visible());
  EXPECT_EQ(In::Glyph(open)->ImageIndex(), 1);
  EXPECT_TRUE(In::Icon(Find<TQVMenuButton>(form.get(), "ExitItem"))->Visible());
  EXPECT_EQ(In::CharLabel(Find<TQVMenuButton>(form.get(), "UndoItem"))->Text(), "3");
  auto* sep = Find<TQVMenuButton>(form.get(), "FileSeparator");
  EXPECT_EQ(sep->MenuButtonStyle(), TQVMenuButtonStyle::mbSeparatorBar);
  EXPECT_FALSE(sep->HitTest());

  // A sub-menu's showing and hiding is not stored: written at run time, open or closed,
  // the tree is the text it came from.
  EXPECT_EQ(WriteComponentToText(form.get()), text);
  Find<TQVMenuBar>(form.get(), "FileBar")->SetVisible(true);
  EXPECT_EQ(WriteComponentToText(form.get()), text);
  // A bar standing alone on the form keeps its own Visible.
  auto* alone = Find<TQVMenuBar>(form.get(), "ViewBar");
  alone->SetParent(dynamic_cast<TFmxObject*>(form.get()));
  alone->SetVisible(false);
  EXPECT_NE(Without(WriteComponentToText(form.get()), "ViewBar").find("Visible = False"),
            std::string::npos);
}

TEST_F(MenuStored, PropertiesAreWrittenInDeclarationOrderWithTheirStoredDefaults) {
  Form->SetName("StoredForm");
  TQVMenuBar* bar = AddBar(nullptr, "Bar1");
  TQVMenuButton* b = AddEntry(bar, "Entry", "Entry1");
  bar->SetSelectBarOpacity(0);
  const std::string text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("SelectBarOpacity = 0.0"), std::string::npos);
  auto at = [&](const std::string& s) { return text.find(s); };
  const std::vector<std::string> barOrder{"DefaultMenubarColor", "BackgroundColor", "BorderColor",
                                          "SelectBarColor", "FontColor", "MenuBarStyle"};
  for (size_t i = 1; i < barOrder.size(); ++i) EXPECT_LT(at(barOrder[i - 1]), at(barOrder[i]));
  const std::vector<std::string> entryOrder{"Mark = mNone", "IsCheck", "GroupIndex",
                                            "MenuButtonStyle", "ButtonText", "MoreArrow",
                                            "ImageIndex", "Char = #0", "Align = Top"};
  for (size_t i = 1; i < entryOrder.size(); ++i)
    EXPECT_LT(at(entryOrder[i - 1]), at(entryOrder[i])) << entryOrder[i];
  // Empty texts, an empty icon, unset links and private parts stay out.
  for (const char* absent : {"ShortCut", "IconBitmap", "Images",
                             "TargetButton", "HighSelecedBarStyle", "TGlyph", "TMemo"})
    EXPECT_EQ(at(absent), std::string::npos) << absent;
  // An explicit 0 comes back; a text without the value (as older ones left out 0) loads
  // with a new bar's 0.6.
  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  EXPECT_FLOAT_EQ(Find<TQVMenuBar>(copy.get(), "Bar1")->SelectBarOpacity(), 0.0f);
  EXPECT_EQ(Find<TQVMenuButton>(copy.get(), "Entry1")->ButtonText(), b->ButtonText());
  std::unique_ptr<TComponent> older(
      ReadComponentFromText(Without(text, "SelectBarOpacity"), nullptr));
  EXPECT_FLOAT_EQ(Find<TQVMenuBar>(older.get(), "Bar1")->SelectBarOpacity(), 0.6f);
}

TEST_F(MenuStored, WhatTheWriterWritesTheReaderReads) {
  Form->SetName("StoredForm");
  TQVMenuBar* bar = AddBar(nullptr, "Bar1");
  TQVMenuButton* entry = AddEntry(bar, "Entry", "Entry1");
  // Half a surrogate pair is no character: the entry keeps the stand-in it shows.
  for (fmx::Char half : {fmx::Char(0xD800), fmx::Char(0xDFFF)}) {
    entry->SetChar(half);
    EXPECT_EQ(entry->Char(), fmx::Char(0xFFFD));
  }

  // A sub bar hanging on an entry this form owns that has moved onto another form's
  // bar: the entry is not in this form's text, so neither is the link to it.
  std::unique_ptr<TForm> other = fmx::testing::MakeForm();
  auto* otherBar = new TQVMenuBar(other.get());
  otherBar->SetParent(other.get());
  entry->SetParent(otherBar);
  TQVMenuBar* sub = AddBar(nullptr, "Sub1");
  sub->SetTargetButton(entry);
  sub->SetParent(Form.get());
  ASSERT_EQ(sub->TargetButton(), entry);
  const std::string text = WriteComponentToText(Form.get());
  EXPECT_EQ(text.find("TargetButton"), std::string::npos);
  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
  delete entry;
}

TEST_F(MenuStored, TheMenuClassesSitOnTheQVCtrlPageEntryFirst) {
  for (const TPalettePage& page : PalettePages()) {
    if (page.Name != "QVCtrl") continue;
    auto entry = std::find(page.Classes.begin(), page.Classes.end(), ClassOf<TQVMenuButton>());
    auto bar = std::find(page.Classes.begin(), page.Classes.end(), ClassOf<TQVMenuBar>());
    ASSERT_NE(entry, page.Classes.end());
    ASSERT_NE(bar, page.Classes.end());
    EXPECT_LT(entry, bar);
    return;
  }
  FAIL() << "no QVCtrl page";
}

TEST_F(MenuStored, WhileBeingReadABarBuildsItsTreeButLaysNothingOut) {
  TQVMenuBar* bar = nullptr;
  {
    TComponentStateScope reading({TComponentStateItem::csLoading, TComponentStateItem::csReading});
    bar = new TQVMenuBar(Form.get());
  }
  EXPECT_NE(In::Background(bar), nullptr);
  EXPECT_NE(In::Memo(bar), nullptr);
  bar->SetParent(Form.get());
  AddEntry(bar, "An entry with a long caption");
  Platform->PaintAll();
  EXPECT_EQ(bar->Width(), 200);
  EXPECT_EQ(bar->Height(), 300);
  bar->SetLoadingStage(TLoadingStage::Loaded);
  bar->Repaint();
  Platform->PaintAll();
  EXPECT_EQ(bar->Height(), 27 + 2.5f);
  EXPECT_NE(bar->Width(), 200);
}

// Found by the form-reader fuzzer: an entry with an arrow or a tick turned into a
// separator keeps them and writes them; the separator read from that text dropped
// them, because the setters refused them for a separator even during the load.
TEST_F(MenuStored, ASeparatorThatWasAnEntryWritesTheSameEachTime) {
  const std::string text =
      "object F: TForm\n  object Bar: TQVMenuBar\n"
      "    object Arrow: TQVMenuButton\n      MoreArrow = True\n"
      "      MenuButtonStyle = mbSeparatorBar\n      MoreArrow = False\n    end\n"
      "    object Tick: TQVMenuButton\n      IsCheck = True\n"
      "      MenuButtonStyle = mbSeparatorBar\n      IsCheck = False\n    end\n"
      "    object Late: TQVMenuButton\n      Mark = mNone\n"
      "      MenuButtonStyle = mbSeparatorBar\n      IsCheck = True\n    end\n"
      "    object Plain: TQVMenuButton\n      Mark = mNone\n"
      "      MenuButtonStyle = mbSeparatorBar\n      HitTest = True\n"
      "      Margins.Top = 0\n      Margins.Bottom = 0\n    end\n"
      "  end\nend\n";
  std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
  const std::string first = WriteComponentToText(form.get());
  std::unique_ptr<TComponent> again(ReadComponentFromText(first, nullptr));
  EXPECT_EQ(WriteComponentToText(again.get()), first);
  // What the text said last counts; the application is still refused on a separator.
  auto* arrow = dynamic_cast<TQVMenuButton*>(again->FindComponent("Arrow"));
  auto* tick = dynamic_cast<TQVMenuButton*>(again->FindComponent("Tick"));
  EXPECT_FALSE(arrow->MoreArrow());
  EXPECT_FALSE(tick->IsCheck());
  // A check read after the separator style is refused like the application's.
  auto* late = dynamic_cast<TQVMenuButton*>(again->FindComponent("Late"));
  EXPECT_EQ(late->Mark(), TQVMark::mNone);
  EXPECT_FALSE(late->IsCheck());
  // What a stored separator says of its hit test and margins stands, also where it is
  // the default and so is not written again.
  auto* plain = dynamic_cast<TQVMenuButton*>(again->FindComponent("Plain"));
  EXPECT_TRUE(plain->HitTest());
  EXPECT_EQ(plain->MarginsRect(), TRectF());
  arrow->SetMoreArrow(true);
  tick->SetIsCheck(true);
  EXPECT_FALSE(arrow->MoreArrow());
  EXPECT_FALSE(tick->IsCheck());
}

// Found by the form-reader fuzzer: entries whose stacking order differs from the order
// of their positions (an entry nested in an entry moves to the bar; a stored position
// ahead of earlier siblings) stacked differently on the second reading, because each
// joining entry was placed past its siblings and laid out before its own position
// was read.
TEST_F(MenuStored, EntriesOutOfStackingOrderStackTheSameOnEveryReading) {
  const std::string texts[] = {
      "object TForm object TQVMenuBar object TQVMenuButton object TQVMenuButton end "
      "object TQVMenuButton Position.Y=7 end end end end",
      "object F: TForm object Bar: TQVMenuBar object A: TQVMenuButton end "
      "object B: TQVMenuButton Position.Y=-5 end end end",
      "object F: TForm object Bar: TQVMenuBar MenuBarStyle = msMainMenuBar "
      "object A: TQVMenuButton end object B: TQVMenuButton Position.X=3 end "
      "object C: TQVMenuButton Position.X=1 end end end",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
    const std::string first = WriteComponentToText(form.get());
    std::unique_ptr<TComponent> again(ReadComponentFromText(first, nullptr));
    EXPECT_EQ(WriteComponentToText(again.get()), first);
  }
  // The second text: B's position put it first, and it stays first.
  std::unique_ptr<TComponent> form(ReadComponentFromText(texts[1], nullptr));
  auto* a = dynamic_cast<TQVMenuButton*>(form->FindComponent("A"));
  auto* b = dynamic_cast<TQVMenuButton*>(form->FindComponent("B"));
  EXPECT_LT(b->Position()->Y(), a->Position()->Y());
}

// Found by the form-reader fuzzer: an icon entry that joins a radio group turns into a
// tick entry but keeps its icon (joining a group changes no mark), and both are
// written. Reading the icon back made it an icon entry again and dropped its tick.
TEST_F(MenuStored, ARadioEntryThatKeptItsIconComesBackWithItsMarkAndTick) {
  auto* entry = AddEntry(AddBar(), "Icon");
  TBitmap icon(8, 8);
  icon.Clear(0xFF336699);
  entry->SetIconBitmap(&icon);
  ASSERT_EQ(entry->Mark(), TQVMark::mIcon);
  entry->SetGroupIndex(3);
  entry->SetIsCheck(true);
  ASSERT_EQ(entry->Mark(), TQVMark::mTick);
  const std::string first = WriteComponentToText(Form.get());
  std::unique_ptr<TComponent> again(ReadComponentFromText(first, nullptr));
  EXPECT_EQ(WriteComponentToText(again.get()), first);
  TQVMenuButton* back = nullptr;
  for (int i = 0; i < again->ComponentCount() && back == nullptr; ++i)
    back = dynamic_cast<TQVMenuButton*>(again->Components(i));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Mark(), TQVMark::mTick);
  EXPECT_TRUE(back->IsCheck());
  EXPECT_EQ(back->GroupIndex(), 3);
  // Assigned by the application, an icon still makes an icon entry.
  back->SetIconBitmap(&icon);
  EXPECT_EQ(back->Mark(), TQVMark::mIcon);
  EXPECT_FALSE(back->IsCheck());
}

TEST_F(MenuStored, AMainBarMovedIntoAMenuReadsBackShownAndWritesTheSame) {
  // Written after the application moved a main bar into a sub-menu: its style follows
  // it in the text, so only once read is it known that it hangs in no menu.
  const std::string text =
      "object F: TForm\n"
      "  object Outer: TQVMenuBar\n"
      "    MenuBarStyle = msSubMenuBar\n"
      "    object Moved: TQVMenuBar\n"
      "      MenuBarStyle = msMainMenuBar\n"
      "    end\n"
      "    object Sub: TQVMenuBar\n"
      "      MenuBarStyle = msSubMenuBar\n"
      "    end\n"
      "  end\n"
      "end\n";
  std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
  EXPECT_TRUE(Find<TQVMenuBar>(form.get(), "Moved")->Visible());
  EXPECT_FALSE(Find<TQVMenuBar>(form.get(), "Sub")->Visible());
  const std::string written = WriteComponentToText(form.get());
  std::unique_ptr<TComponent> again(ReadComponentFromText(written, nullptr));
  EXPECT_EQ(WriteComponentToText(again.get()), written);
}
