// Bad stored forms: each is refused with its position and what was expected, and
// nothing of the failed load survives.
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "StreamingProbe.h"
#include "host/Streaming.h"
#include "host/Styles.h"

namespace fmx::testing {

namespace {

struct TBadCase {
  const char* Label;
  std::string Text;
  int Line, Column;
  const char* Expected;  // part of the message
};

std::string Nested(int Depth) {
  std::string s;
  for (int i = 0; i < Depth; ++i) s += "object TLayout\n";
  for (int i = 0; i < Depth; ++i) s += "end\n";
  return s;
}

}  // namespace

class StreamingErrors : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterProbe();
  }
};

TEST_F(StreamingErrors, EachBadInputNamesItsPositionAndWhatWasExpected) {
  const std::string head = "object F: TForm\n";
  const TBadCase cases[] = {
      {"unknown class", head + "  object X: TNoSuchThing\n  end\nend\n", 2, 13, "unknown class 'TNoSuchThing'"},
      {"unknown property", head + "  Colour = 3\nend\n", 2, 3, "unknown property 'Colour'"},
      {"unknown sub-property", head + "  Fill.Shade = 3\nend\n", 2, 3, "unknown property 'Fill.Shade'"},
      {"integer for a string", head + "  Caption = 12\nend\n", 2, 13, "a string"},
      {"number for an integer", head + "  Width = 1.5\nend\n", 2, 11, "an integer"},
      {"integer out of range", head + "  Width = 99999999999\nend\n", 2, 11, "an integer from"},
      {"unknown enumeration value", head + "  WindowState = Huge\nend\n", 2, 17, "wsNormal"},
      {"unknown set element", "object R: TRectangle\n  Corners = [TopLeft, Middle]\nend\n", 2, 23, "'Middle'"},
      {"not a colour", head + "  Fill.Color = xFF00\nend\n", 2, 16, "a colour"},
      {"not a Boolean", head + "  Visible = Yes\nend\n", 2, 13, "True or False"},
      {"unterminated string", head + "  Caption = 'open\nend\n", 2, 13, "closing quote"},
      {"unterminated object", head + "  object R: TRectangle\n", 2, 3, "'end' closing"},
      {"unterminated root", head + "  Caption = 'x'\n", 1, 1, "'end' closing"},
      {"bad hex", "object I: TImage\n  Bitmap.PNG = {89504G}\nend\n", 2, 22, "hex digit"},
      {"odd hex", "object I: TImage\n  Bitmap.PNG = {895}\nend\n", 2, 19, "even number"},
      {"not a PNG", "object I: TImage\n  Bitmap.PNG = {0011}\nend\n", 2, 16, "PNG data"},
      {"bad path data", "object P: TPath\n  Data.Data = 'M 0,0 Q'\nend\n", 2, 15, "Data.Data"},
      {"unknown handler", head + "  OnClose = NobodyHome\nend\n", 2, 13, "registered event handler"},
      {"unknown reference", head + "  StyleBook = Nowhere\nend\n", 2, 15, "unknown name 'Nowhere'"},
      {"reference of the wrong class", head + "  StyleBook = R\n  object R: TRectangle\n  end\nend\n", 2, 15, "suitable class"},
      {"duplicate name", head + "  object A: TLayout\n  end\n  object a: TLayout\n  end\nend\n", 4, 3, "unique name"},
      {"missing '='", head + "  Caption 'x'\nend\n", 2, 11, "'='"},
      {"text after the end", head + "end\nobject G: TForm\nend\n", 3, 1, "end of the text"},
      {"too deep", Nested(65), 65, 1, "no deeper than 64"},
      {"NUL byte", head + std::string("  Caption = 'a\0b'\nend\n", 21), 2, 15, "NUL byte"},
      {"invalid UTF-8", head + "  Caption = '\xC3\x28'\nend\n", 2, 14, "UTF-8"},
      {"lone surrogate", head + "  Caption = #55357\nend\n", 2, 13, "surrogate"},
      {"empty text", "", 1, 1, "'object'"},
      {"visual object inside a timer", head + "  object T: TTimer\n    object R: TRectangle\n    end\n  end\nend\n", 3, 5, "inside the root or inside a visual object"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    auto owner = std::make_unique<TLayout>(nullptr);
    size_t forms = Application->Forms().size();
    try {
      delete ReadComponentFromText(c.Text, owner.get());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Line(), c.Line) << e.what();
      EXPECT_EQ(e.Column(), c.Column) << e.what();
      EXPECT_NE(e.What().find(c.Expected), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.Line)), std::string::npos);
    }
    EXPECT_EQ(owner->ComponentCount(), 0) << "a half-built tree survived";
    EXPECT_EQ(Application->Forms().size(), forms);
  }
}

TEST_F(StreamingErrors, NestingUpToTheBoundIsFine) {
  std::unique_ptr<TComponent> root(ReadComponentFromText(Nested(64), nullptr));
  EXPECT_NE(root, nullptr);
}

TEST_F(StreamingErrors, AHandlerOfTheWrongTypeIsRefused) {
  RegisterEventHandler<TNotifyEvent>("JustNotify", [](TObject*) {});
  try {
    delete ReadComponentFromText("object L: TLayout\n  OnMouseDown = JustNotify\nend\n", nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(e.What().find("this event's type"), std::string::npos) << e.what();
  }
  UnregisterEventHandler("JustNotify");
}

TEST_F(StreamingErrors, ASetterThatThrowsWhileBuildingLeavesNothingBehind) {
  auto owner = std::make_unique<TLayout>(nullptr);
  ProbeLog().clear();
  try {
    delete ReadComponentFromText(
        "object R: TProbe\n  object A: TProbe\n  end\n  object B: TProbe\n    Level = 666\n  end\nend\n",
        owner.get());
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Line(), 5);
    EXPECT_EQ(e.Column(), 13);
    EXPECT_NE(e.What().find("666 is refused"), std::string::npos) << e.what();
  }
  EXPECT_EQ(owner->ComponentCount(), 0);
}

TEST_F(StreamingErrors, LoadingOntoAFormChangesNothingWhenAnythingIsWrong) {
  auto form = MakeForm();
  form->SetCaption("Before");
  auto* keep = new TLayout(form.get());
  keep->SetName("Keep");
  keep->SetParent(form.get());
  const char* bad[] = {
      "object F: TForm\n  Caption = 'After'\n  object R: TRectangle\n    Bogus = 1\n  end\nend\n",
      "object F: TForm\n  Caption = 'After'\n  object Keep: TLayout\n  end\nend\n",
      "object F: TRectangle\n  Caption = 'After'\nend\n",
      "object F: TForm\n  Caption = 'After'\n  Width = 'wide'\nend\n",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ReadRootProperties(form.get(), text), EReadError);
    EXPECT_EQ(form->Caption(), "Before");
    EXPECT_EQ(form->Name(), "");
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->ChildrenCount(), 1);
    EXPECT_TRUE(form->ComponentState().Empty());
  }
}

TEST_F(StreamingErrors, AStyleFileMustHaveAVisualRoot) {
  auto book = std::make_unique<TStyleBook>(nullptr);
  EXPECT_THROW(LoadStyleBook(book.get(), "object T: TTimer\nend\n"), EReadError);
  EXPECT_THROW(LoadStyleBook(book.get(), "object TLayout\n  Nope = 1\nend\n"), EReadError);
  EXPECT_EQ(book->Styles()->Count(), 0);
}

TEST_F(StreamingErrors, AMissingFileIsAReadError) {
  EXPECT_THROW(ReadComponentFromFile("/nonexistent/form.fmx", nullptr), EReadError);
}

}  // namespace fmx::testing
