// zuzided-view --watch: the form follows its file through GIO's monitor, a broken save
// keeps the last good form with the reader's error shown on it, and a fixed one
// replaces it where the window was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "FormPreview.h"
#include "HostTestSupport.h"
#include "host/Registry.h"
#include "host/StdCtrls.h"

namespace fmx::testing {

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& Path, const std::string& Text) {
  // As editors save: a new file renamed over the old one.
  fs::path temp = Path;
  temp += ".new";
  std::ofstream(temp, std::ios::binary) << Text;
  fs::rename(temp, Path);
}

std::string FormText(int Width, const std::string& Label) {
  return "object F: TForm\n  Width = " + std::to_string(Width) +
         "\n  Height = 200\n  object L: TLabel\n    Text = '" + Label + "'\n  end\nend\n";
}

// The text of the error strip on the form, empty when it has none.
std::string ShownError(TFmxObject* Root) {
  for (int i = 0; i < Root->ChildrenCount(); ++i) {
    TFmxObject* child = Root->Children(i);
    if (auto* text = dynamic_cast<TText*>(child)) return text->Text();
    if (std::string found = ShownError(child); !found.empty()) return found;
  }
  return {};
}

}  // namespace

class ViewWatch : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    EnsureHostClasses();
    Dir = fs::temp_directory_path() / ("zz-watch-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    File = (Dir / "form.fmx").string();
  }
  void TearDown() override { fs::remove_all(Dir); }

  // Lets the UI thread's timer take the monitor's news until Done, for a few seconds.
  template <class F>
  bool Until(F Done) {
    for (int i = 0; i < 100 && !Done(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      Platform->Advance(100);
    }
    return Done();
  }

  fs::path Dir;
  std::string File;
};

TEST_F(ViewWatch, BrokenSaveKeepsTheLastGoodFormAndShowsWhereTheTextIsWrong) {
  WriteFile(File, FormText(300, "one"));
  zzview::TFormPreview preview(File, "", false);
  ASSERT_TRUE(preview.Reload());
  preview.StartWatching();
  TCommonCustomForm* first = preview.Form();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Width(), 300);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(Application->MainForm(), first);
  first->SetBounds(40, 50, first->Width(), first->Height());  // moved by the user

  WriteFile(File, "object F: TForm\n  Width = 300\n  Height = 400.5.5\nend\n");
  ASSERT_TRUE(Until([&] { return !preview.Error().empty(); }));
  EXPECT_EQ(preview.Error(), File + ":3:12: expected a number, found 400.5.5 (a number has one decimal point at most)");
  EXPECT_EQ(preview.Form(), first);
  EXPECT_EQ(ShownError(first), preview.Error());

  WriteFile(File, FormText(500, "two"));
  ASSERT_TRUE(Until([&] { return preview.Generation() == 2; }));
  TCommonCustomForm* second = preview.Form();
  EXPECT_TRUE(preview.Error().empty());
  EXPECT_EQ(second->Width(), 500);
  EXPECT_EQ(second->Left(), 40);
  EXPECT_EQ(second->Top(), 50);
  EXPECT_EQ(Application->MainForm(), second);
  EXPECT_TRUE(second->Visible());
  EXPECT_EQ(ShownError(second), "");

  fs::remove(File);
  ASSERT_TRUE(Until([&] { return !preview.Error().empty(); }));
  EXPECT_EQ(preview.Error(), File + ": no such file");
  EXPECT_EQ(preview.Form(), second);

  WriteFile(File, "object F: TForm\n  Width = 300\n");
  ASSERT_TRUE(Until([&] { return preview.Error().find("found the end of the text") != std::string::npos; }));
  EXPECT_EQ(preview.Error(), File + ":3:1: expected 'end' closing the object F (which starts at line 1), "
                                    "found the end of the text");
}

TEST_F(ViewWatch, AFileThatNeverReadShowsABlankFormWithTheError) {
  zzview::TFormPreview preview((Dir / "missing.fmx").string(), "", false);
  EXPECT_FALSE(preview.Reload());
  ASSERT_NE(preview.Form(), nullptr);
  EXPECT_TRUE(preview.Form()->Visible());
  EXPECT_EQ(preview.Error(), (Dir / "missing.fmx").string() + ": no such file");
  EXPECT_EQ(ShownError(preview.Form()), preview.Error());
}

}  // namespace fmx::testing
