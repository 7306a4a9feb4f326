// Bad stored forms: each is refused with its position and what was expected, and
// nothing of the failed load survives.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <unistd.h>

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

// Collections inside collection items, one level a line.
std::string NestedItems(int Depth) {
  std::string s = "object L: TLayout\n";
  for (int i = 0; i < Depth; ++i) s += "P = < item\n";
  for (int i = 0; i < Depth; ++i) s += "end >\n";
  return s + "end\n";
}

std::string Repeat(const std::string& Piece, size_t Times) {
  std::string s;
  s.reserve(Piece.size() * Times);
  for (size_t i = 0; i < Times; ++i) s += Piece;
  return s;
}

struct TLimitCase {
  const char* Label;
  std::string Text;
  TReadLimits Limits;
  int Line, Column;
  const char* Expected;
};

TReadLimits Small(void (*Change)(TReadLimits&)) {
  TReadLimits l;
  Change(l);
  return l;
}

std::filesystem::path ScratchDir() {
  auto dir = std::filesystem::temp_directory_path() /
             ("zz-read-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return dir;
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
      {"unterminated object", head + "  object R: TRectangle\n", 3, 1, "'end' closing the object R (which starts at line 2)"},
      {"unterminated root", head + "  Caption = 'x'\n", 3, 1, "'end' closing the object F (which starts at line 1), found the end"},
      {"two decimal points", head + "  Height = 400.5.5\nend\n", 2, 12, "a number, found 400.5.5 (a number has one decimal point"},
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

TEST_F(StreamingErrors, AMissingFileIsAReadErrorNamingIt) {
  try {
    ReadComponentFromFile("/nonexistent/form.fmx", nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.FileName(), "/nonexistent/form.fmx");
    EXPECT_EQ(e.Line(), 0);
  }
}

// Hostile texts: each stops at the place where it went over a bound, before any
// object exists, however much more the text asks for behind that place.
TEST_F(StreamingErrors, AHostileTextStopsAtTheBoundItBreaks) {
  const std::string head = "object F: TForm\n";
  const TLimitCase cases[] = {
      {"objects 100,000 deep", Nested(100000), {}, 65, 1, "no deeper than 64"},
      {"collection items 100,000 deep", NestedItems(100000), {}, 65, 7, "no deeper than 64"},
      {"a string one byte too long", head + "  Caption = '" + std::string((1 << 20) + 1, 'a') + "'\nend\n",
       {}, 2, 13, "a string of at most 1048576 bytes"},
      {"a string too long by its '+' pieces",
       head + "  Caption =\n    '" + std::string(700000, 'a') + "' +\n    '" + std::string(700000, 'b') + "'\nend\n",
       {}, 3, 5, "a string of at most 1048576"},
      {"a string too long by #n characters", head + "  Caption = " + Repeat("#20320", 40) + "\nend\n",
       Small([](TReadLimits& l) { l.MaxStringBytes = 32; }), 2, 13, "a string of at most 32"},
      {"binary data too long", "object I: TImage\n  Bitmap.PNG = {" + Repeat("00", 17) + "}\nend\n",
       Small([](TReadLimits& l) { l.MaxBinaryBytes = 16; }), 2, 16, "binary data of at most 16 bytes"},
      {"too many objects", head + Repeat("  object TLayout\n  end\n", 3) + "end\n",
       Small([](TReadLimits& l) { l.MaxObjects = 3; }), 6, 3, "at most 3 objects"},
      {"too many collection items", "object L: TLayout\n  P = <\n" + Repeat("    item\n    end\n", 3) + "  >\nend\n",
       Small([](TReadLimits& l) { l.MaxObjects = 3; }), 7, 5, "at most 3 objects"},
      {"too many properties", head + Repeat("  Width = 1\n", 5) + "end\n",
       Small([](TReadLimits& l) { l.MaxProperties = 4; }), 6, 3, "at most 4 property"},
      {"a set of 65 elements", "object R: TRectangle\n  Corners = [" + Repeat("TopLeft, ", 64) + "TopLeft]\nend\n",
       {}, 2, 3 + 11 + 64 * 9, "at most 64 elements"},
      {"a text over its bound", head + "end\n",
       Small([](TReadLimits& l) { l.MaxTextBytes = 10; }), 1, 1, "a text of at most 10 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    auto owner = std::make_unique<TLayout>(nullptr);
    size_t forms = Application->Forms().size();
    TReadOptions options;
    options.Limits = c.Limits;
    try {
      delete ReadComponentFromText(c.Text, owner.get(), options);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Line(), c.Line) << e.What();
      EXPECT_EQ(e.Column(), c.Column) << e.What();
      EXPECT_NE(e.What().find(c.Expected), std::string::npos) << e.What();
    }
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(Application->Forms().size(), forms);
  }
}

TEST_F(StreamingErrors, TextsAtTheBoundsAreRead) {
  TReadOptions options;
  options.Limits.MaxObjects = 4;
  options.Limits.MaxStringBytes = 6;  // two three-byte characters
  options.Limits.MaxTextBytes = 200;
  std::string text = "object F: TForm\n  Caption = #20320 + #22909\n" +
                     Repeat("  object TLayout\n  end\n", 3) + "end\n";
  ASSERT_LE(text.size(), 200u);
  std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr, options));
  EXPECT_EQ(root->ComponentCount(), 3);
  EXPECT_EQ(static_cast<TForm*>(root.get())->Caption(), "\u4F60\u597D");
}

// A file that claims 2 GB (sparse, so it costs no disk) is refused by its size: it
// is never read into memory.
TEST_F(StreamingErrors, AFileClaimingTwoGigabytesIsRefusedUnread) {
  auto dir = ScratchDir();
  auto file = (dir / "huge.fmx").string();
  { std::ofstream(file) << "object F: TForm\n"; }
  std::filesystem::resize_file(file, uint64_t{2} << 30);
  auto start = std::chrono::steady_clock::now();
  try {
    delete ReadComponentFromFile(file, nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.FileName(), file);
    EXPECT_EQ(e.Line(), 0);
    EXPECT_NE(e.What().find("a file of at most"), std::string::npos) << e.what();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  std::filesystem::remove_all(dir);
}

TEST_F(StreamingErrors, ErrorsInAFileNameTheFileLineAndColumn) {
  auto dir = ScratchDir();
  auto form = (dir / "bad.fmx").string();
  { std::ofstream(form) << "object F: TForm\n  Caption = 12\nend\n"; }
  try {
    delete ReadComponentFromFile(form, nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.FileName(), form);
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.Column(), 13);
    EXPECT_EQ(std::string(e.what()).rfind(form + ": line 2, column 13: ", 0), 0u) << e.what();
  }
  auto style = (dir / "bad.style").string();
  { std::ofstream(style) << "object TLayout\n  Nope = 1\nend\n"; }
  auto book = std::make_unique<TStyleBook>(nullptr);
  try {
    LoadStyleBookFromFile(book.get(), style);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.FileName(), style);
    EXPECT_EQ(e.Line(), 2);
  }
  EXPECT_EQ(book->Styles()->Count(), 0);
  std::filesystem::remove_all(dir);
}

}  // namespace fmx::testing
