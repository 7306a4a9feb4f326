// Stored forms: writing, reading, stored defaults, the loading sequence, style books.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "HostTestSupport.h"
#include "StreamingProbe.h"
#include "host/Shapes.h"
#include "host/Streaming.h"
#include "host/Styles.h"

namespace fmx::testing {

namespace {
const TDeclareClass<TProbe, TLayout> ProbeClass("TProbe", [](auto& c) {
  // Declared out of alphabetical order on purpose: writing must follow this order.
  c.Prop("Note", &TProbe::Note, &TProbe::SetNote, Default(""));
  c.Prop("Level", &TProbe::Level, &TProbe::SetLevel, Default(5));
  c.Color("Tint", &TProbe::Tint, &TProbe::SetTint, AlwaysWritten);
  c.Prop("Buddy", &TProbe::Buddy, &TProbe::SetBuddy, WrittenWhenNotEmpty);
  c.Prop("Letter", &TProbe::Letter, &TProbe::SetLetter, Default(u'a'));
  c.Prop("Sides", &TProbe::Sides, &TProbe::SetSides, Default(TCorners{}));
  c.Prop("Ratio", &TProbe::Ratio, &TProbe::SetRatio, Default(0.0f));
  c.Prop("OnPoke", &TProbe::OnPoke, &TProbe::SetOnPoke, AlwaysWritten);
});

std::string SourceFile(const std::string& Relative) {
  const char* dir = std::getenv("ZZ_SOURCE_DIR");
  if (dir && *dir) return std::string(dir) + "/" + Relative;
  // Built from the source tree: the repository is the parent of this file's folder.
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / Relative).string();
}
}  // namespace

void RegisterProbe() { RegisterClass(ClassOf<TProbe>()); }

class Streaming : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterProbe();
    ProbeLog().clear();
  }
  template <class T = TComponent>
  std::unique_ptr<T> Read(const std::string& Text) {
    return std::unique_ptr<T>(ReadComponentFromText<T>(Text, nullptr));
  }
};

TEST_F(Streaming, ExampleFilesRoundTripByteForByte) {
  for (const char* file : {"examples/primitives.fmx", "examples/light.style", "examples/dark.style"}) {
    SCOPED_TRACE(file);
    std::string text = ReadTextFile(SourceFile(file));
    auto root = Read(text);
    EXPECT_EQ(WriteComponentToText(root.get()), text);
  }
}

TEST_F(Streaming, WriteReadWriteGivesTheSameText) {
  auto form = MakeForm(300, 200);
  form->SetName("Form1");
  form->SetCaption("Grüße 你好 — it's \"quoted\" and long enough to be split into several pieces of text");
  auto* rect = new TRectangle(form.get());
  rect->SetName("Rect");
  rect->SetParent(form.get());
  rect->SetAlign(TAlignLayout::Client);
  rect->Margins()->SetTop(6);
  rect->SetOpacity(0.1f);
  rect->SetCorners({TCorner::TopLeft, TCorner::BottomRight});
  rect->Fill()->SetColor(0x80ABCDEF);
  auto* probe = new TProbe(form.get());
  probe->SetName("Probe");
  probe->SetParent(rect);
  probe->SetLetter(u'€');
  probe->SetBuddy(probe);
  probe->SetRatio(1e-7f);
  std::string first = WriteComponentToText(form.get());
  auto again = Read(first);
  EXPECT_EQ(WriteComponentToText(again.get()), first);
  auto* back = dynamic_cast<TRectangle*>(again->FindComponent("Rect"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Opacity(), 0.1f);
  EXPECT_EQ(back->Fill()->Color(), 0x80ABCDEFu);
  EXPECT_EQ(back->Corners(), (TCorners{TCorner::TopLeft, TCorner::BottomRight}));
  auto* p = dynamic_cast<TProbe*>(again->FindComponent("Probe"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Parent(), back);
  EXPECT_EQ(p->Owner(), again.get());
  EXPECT_EQ(p->Letter(), u'€');
  EXPECT_EQ(p->Buddy(), p);
  EXPECT_EQ(p->Ratio(), 1e-7f);
  EXPECT_EQ(static_cast<TForm*>(again.get())->Caption(), form->Caption());
}

TEST_F(Streaming, ValuesEqualToTheStoredDefaultAreLeftOutAndReadingKeepsTheConstructorValue) {
  auto owner = std::make_unique<TProbe>(nullptr);
  owner->SetLevel(5);  // the stored default, not the constructor's 7
  std::string text = WriteComponentToText(owner.get());
  EXPECT_EQ(text.find("Level"), std::string::npos);
  EXPECT_NE(text.find("Tint = x"), std::string::npos) << "always written";
  EXPECT_EQ(text.find("Buddy"), std::string::npos) << "written only when set";
  auto back = Read<TProbe>(text);
  EXPECT_EQ(back->Level(), 7);

  owner->SetLevel(9);
  EXPECT_NE(WriteComponentToText(owner.get()).find("Level = 9"), std::string::npos);
}

TEST_F(Streaming, PropertiesAreWrittenInDeclarationOrder) {
  auto p = Read<TProbe>("object P: TProbe\n  Ratio = 2\n  Level = 3\n  Note = 'n'\nend\n");
  std::string text = WriteComponentToText(p.get());
  auto at = [&](const char* s) { return text.find(s); };
  EXPECT_LT(at("Note ="), at("Level ="));
  EXPECT_LT(at("Level ="), at("Tint ="));
  EXPECT_LT(at("Tint ="), at("Ratio ="));
}

TEST_F(Streaming, FlagsAreSetWhileSettersRunAndNotWhileTheConstructorRuns) {
  auto root = Read("object Root: TProbe\n  Level = 1\n  object Kid: TProbe\n    Note = 'x'\n  end\nend\n");
  using I = TComponentStateItem;
  int creates = 0, setters = 0;
  for (const auto& e : ProbeLog()) {
    if (e.What == "create") {
      ++creates;
      EXPECT_FALSE(e.State.Contains(I::csLoading));
      EXPECT_FALSE(e.State.Contains(I::csReading));
    } else if (e.What == "Level" || e.What == "Note") {
      ++setters;
      EXPECT_TRUE(e.State.Contains(I::csLoading)) << e.What;
      EXPECT_TRUE(e.State.Contains(I::csReading)) << e.What;
    }
  }
  EXPECT_EQ(creates, 2);
  EXPECT_EQ(setters, 2);
  EXPECT_TRUE(root->ComponentState().Empty());
  EXPECT_TRUE(root->Components(0)->ComponentState().Empty());
}

TEST_F(Streaming, LoadedRunsOnceForEveryObjectAfterTheWholeTreeIsIn) {
  auto root = Read(
      "object Root: TLayout\n"
      "  object A: TProbe\n    Buddy = C\n  end\n"
      "  object B: TProbe\n  end\n"
      "  object C: TProbe\n  end\nend\n");
  std::vector<std::string> loaded;
  bool creating = true;
  for (const auto& e : ProbeLog()) {
    if (e.What == "Loaded") {
      creating = false;
      loaded.push_back(e.Name);
      EXPECT_EQ(e.OwnerComponents, 3) << "tree complete when " << e.Name << " is told";
      EXPECT_TRUE(e.State.Contains(TComponentStateItem::csLoading));
      EXPECT_FALSE(e.State.Contains(TComponentStateItem::csReading));
    } else if (e.What == "create") {
      EXPECT_TRUE(creating) << "Loaded ran before " << e.Name << " was created";
    }
  }
  EXPECT_EQ(loaded, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_TRUE(static_cast<TProbe*>(root->FindComponent("A"))->LoadedSawBuddy);
}

TEST_F(Streaming, StringsCharactersAndContinuations) {
  auto p = Read<TProbe>(
      "object P: TProbe\n"
      "  Note =\n    'It''s ' + #20320#22909 + ' '#55357#56832 +\n    '!'\n"
      "  Letter = #8364\nend\n");
  EXPECT_EQ(p->Note(), "It's 你好 😀!");
  EXPECT_EQ(p->Letter(), u'€');
  std::string text = WriteComponentToText(p.get());
  EXPECT_NE(text.find("Note = 'It''s '#20320#22909' '#55357#56832'!'"), std::string::npos) << text;
}

TEST_F(Streaming, EventHandlersAreFoundByNameAndWrittenBack) {
  int pokes = 0;
  RegisterEventHandler<TNotifyEvent>("ProbePoke", [&](TObject*) { ++pokes; });
  auto p = Read<TProbe>("object P: TProbe\n  OnPoke = ProbePoke\nend\n");
  ASSERT_TRUE(p->OnPoke());
  p->OnPoke()(p.get());
  EXPECT_EQ(pokes, 1);
  EXPECT_NE(WriteComponentToText(p.get()).find("OnPoke = ProbePoke"), std::string::npos);
  p->SetOnPoke([](TObject*) {});  // a handler set in code has no name and is not written
  EXPECT_EQ(WriteComponentToText(p.get()).find("OnPoke"), std::string::npos);
  UnregisterEventHandler("ProbePoke");
}

TEST_F(Streaming, DesignerStateReachesEveryLoadedObject) {
  TReadOptions options;
  options.Designing = true;
  std::unique_ptr<TComponent> root(ReadComponentFromText(
      "object R: TLayout\n  object K: TProbe\n  end\nend\n", nullptr, options));
  EXPECT_TRUE(root->IsDesigning());
  EXPECT_TRUE(root->FindComponent("K")->IsDesigning());
}

TEST_F(Streaming, ReadRootPropertiesLoadsOntoAnExistingFormOfADerivedClass) {
  struct TMyForm : TForm {
    using TForm::TForm;
  };
  auto form = std::make_unique<TMyForm>(nullptr);
  ReadRootProperties(form.get(),
                     "object MyForm: TForm\n  Caption = 'Loaded'\n  Width = 321\n"
                     "  object Kid: TProbe\n  end\nend\n");
  EXPECT_EQ(form->Name(), "MyForm");
  EXPECT_EQ(form->Caption(), "Loaded");
  EXPECT_EQ(form->Width(), 321);
  ASSERT_EQ(form->ChildrenCount(), 1);
  EXPECT_EQ(form->Children(0)->Owner(), form.get());
  EXPECT_TRUE(form->ComponentState().Empty());
}

TEST_F(Streaming, StyleBooksLoadStyleTreesAndTravelWithTheForm) {
  auto form = MakeForm();
  form->SetName("F");
  auto* book = new TStyleBook(form.get());
  book->SetName("Book");
  LoadStyleBookFromFile(book, SourceFile("examples/dark.style"));
  form->SetStyleBook(book);
  auto* bg = dynamic_cast<TRectangle*>(book->FindStyleResource("backgroundstyle"));
  ASSERT_NE(bg, nullptr);
  EXPECT_EQ(bg->Fill()->Color(), 0xFF2B2B2Bu);
  auto* button = book->FindStyleResource("buttonstyle");
  ASSERT_NE(button, nullptr);
  auto* text = dynamic_cast<TText*>(button->FindStyleResource("text"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->TextSettings()->FontColor(), 0xFFF0F0F0u);

  std::string stored = WriteComponentToText(form.get());
  auto back = Read<TForm>(stored);
  ASSERT_NE(back->StyleBook(), nullptr);
  EXPECT_EQ(back->StyleBook()->Name(), "Book");
  auto* bg2 = dynamic_cast<TRectangle*>(back->StyleBook()->FindStyleResource("backgroundstyle"));
  ASSERT_NE(bg2, nullptr);
  EXPECT_EQ(bg2->Fill()->Color(), 0xFF2B2B2Bu);
  EXPECT_EQ(WriteComponentToText(back.get()), stored);
}

TEST_F(Streaming, LightAndDarkStyleBooksDifferWhereTheUtilitiesLook) {
  auto light = std::make_unique<TStyleBook>(nullptr);
  LoadStyleBookFromFile(light.get(), SourceFile("examples/light.style"));
  auto* bg = dynamic_cast<TRectangle*>(light->FindStyleResource("backgroundstyle"));
  ASSERT_NE(bg, nullptr);
  auto c = bg->Fill()->Color();
  EXPECT_GT((c >> 16) & 0xFF, 0xE0u);
  EXPECT_NE(c, 0xFFFFFFFFu) << "white would read as 'no colour of its own'";
}

TEST_F(Streaming, ImageListPicturesAndBitmapsSurviveAsPng) {
  auto root = Read<TForm>(ReadTextFile(SourceFile("examples/primitives.fmx")));
  auto* list = dynamic_cast<TImageList*>(root->FindComponent("Icons"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Bitmap(1)->Width(), 16);
  auto* glyph = dynamic_cast<TGlyph*>(root->FindComponent("Icon"));
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(glyph->Images(), list);
  auto* image = dynamic_cast<TImage*>(root->FindComponent("Picture"));
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->Bitmap()->IsEmpty());
  image->Bitmap()->SetSize(0, 0);
  EXPECT_EQ(WriteComponentToText(image).find("Bitmap.PNG"), std::string::npos)
      << "an empty picture is not written";
}

}  // namespace fmx::testing
