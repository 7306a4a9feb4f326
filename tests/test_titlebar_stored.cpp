#include <gtest/gtest.h>

#include <functional>

#include "TitleBarSupport.h"
#include "host/Registry.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

constexpr const char* kRefused = "当 TitleBarEnabled = True 时才可设置";

constexpr const char* kStyle =
    "object TLayout\n"
    "  object TRectangle\n"
    "    StyleName = 'backgroundstyle'\n"
    "    Fill.Color = xFF2B2B2B\n"
    "  end\n"
    "  object TLayout\n"
    "    StyleName = 'buttonstyle'\n"
    "    object TText\n"
    "      StyleName = 'text'\n"
    "      TextSettings.FontColor = xFFEEEEEE\n"
    "    end\n"
    "  end\n"
    "end\n";

class TitleBarStored : public fmx::testing::TitleBarTest {
 protected:
  void SetUp() override {
    TitleBarTest::SetUp();
    RegisterClass(ClassOf<TQVTitleBar>());
  }
};

TQVTitleBar* FindTitleBar(TComponent* Root) {
  for (int i = 0; i < Root->ComponentCount(); ++i)
    if (auto* tb = dynamic_cast<TQVTitleBar*>(Root->Components(i))) return tb;
  return nullptr;
}

std::unique_ptr<TBitmap> Picture(int Side, TAlphaColor Color) {
  auto b = std::make_unique<TBitmap>(Side, Side);
  b->Clear(Color);
  return b;
}

}  // namespace

TEST_F(TitleBarStored, AFormWithATitleBarRoundTripsAndKeepsItsPrivateTreeOut) {
  Form->SetName("MainForm");
  auto* tb = AddTitleBar();
  tb->SetName("TitleBar1");
  tb->SetCaption("标题");
  tb->SetCaptionAlignment(TCaptionAlignment::caLeft);
  tb->SetRadian(6);
  tb->SetTitleBarHeight(TTitleBarHeight::thMiddleHeight);
  tb->SetBorderDeactiveColor(0xFF112233);
  TBitmap logo(4, 4);
  logo.Clear(0xFF0000FF);
  tb->SetLogoBitmap(&logo);
  const std::string text = WriteComponentToText(Form.get());
  // Declaration order, and none of the private controls.
  EXPECT_LT(text.find("TitleBarEnabled = True"), text.find("FormColor"));
  EXPECT_LT(text.find("Radian"), text.find("TitleBarHeight = thMiddleHeight"));
  EXPECT_EQ(text.find("btnclose"), std::string::npos);
  EXPECT_EQ(text.find("BorderActiveColor"), std::string::npos);  // equal to its default
  EXPECT_EQ(text.find("FormOpacity"), std::string::npos);        // the constructor's 1.0
  EXPECT_NE(text.find("LogoBitmap.PNG"), std::string::npos);
  EXPECT_EQ(text.find("ToolMinBitmap"), std::string::npos);  // empty pictures are left out

  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  TQVTitleBar* loaded = FindTitleBar(copy.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Caption(), "标题");
  EXPECT_EQ(loaded->Radian(), 6);
  EXPECT_EQ(TQVTitleBarInspector(loaded).Logo()->Bitmap()->Width(), 4);
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
}

// Each case sets up one title bar; the form is written, read, and written again. The two
// texts must be equal, every published property must read as it did on the original,
// and the loaded tree must show what the properties say, all without a message.
TEST_F(TitleBarStored, EveryPublishedPropertyComesBackAsItWasSet) {
  using TSetUp = std::function<void(TForm&, TQVTitleBar&)>;
  struct TCase {
    const char* Name;
    bool Enabled;
    TSetUp Set;
  };
  const auto logo = Picture(24, 0xFF0000FF), min = Picture(8, 0xFF00FF00),
             max = Picture(9, 0xFFFF0000), restore = Picture(10, 0x80FFFF00),
             close = Picture(11, 0xFF00FFFF);
  const std::vector<TCase> cases = {
      {"opacity 0", true, [](TForm&, TQVTitleBar& t) { t.SetFormOpacity(0); }},
      {"opacity 0.25", true, [](TForm&, TQVTitleBar& t) { t.SetFormOpacity(0.25f); }},
      {"opacity 1", true, [](TForm&, TQVTitleBar& t) { t.SetFormOpacity(1); }},
      {"opacity 0, disabled", false, [](TForm&, TQVTitleBar& t) { t.SetFormOpacity(0); }},
      {"caption left", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetCaption("It's 标题");
         t.SetCaptionAlignment(TCaptionAlignment::caLeft);
       }},
      {"caption centred", true,
       [](TForm&, TQVTitleBar& t) { t.SetCaptionAlignment(TCaptionAlignment::caCenter); }},
      {"caption hidden", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetCaptionAlignment(TCaptionAlignment::caCenter);
         t.SetCaptionAlignment(TCaptionAlignment::caNone);
       }},
      {"middle height", true,
       [](TForm&, TQVTitleBar& t) { t.SetTitleBarHeight(TTitleBarHeight::thMiddleHeight); }},
      {"large height, bitmaps", true,
       [&](TForm&, TQVTitleBar& t) {
         t.SetTitleBarHeight(TTitleBarHeight::thLargeHeight);
         t.SetToolButtonStyle(TToolButtonStyle::tsBitmap);
         t.SetLogoBitmap(logo.get());
         t.SetToolMinBitmap(min.get());
         t.SetToolMaxBitmap(max.get());
         t.SetToolRestoreBitmap(restore.get());
         t.SetToolCloseBitmap(close.get());
       }},
      {"colours", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetFormColor(0xFF123456);
         t.SetFontColor(0xFFFEDCBA);
         t.SetBorderActiveColor(0xFF0000FF);
         t.SetBorderDeactiveColor(0x00000000);
       }},
      {"colours from the style book", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetFormColor(0xFF123456);
         t.SetDefaultFormColor(true);
       }},
      {"radius", true, [](TForm&, TQVTitleBar& t) { t.SetRadian(9.5f); }},
      {"radius kept after disabling", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetRadian(12);
         t.SetTitleBarEnabled(false);
       }},
      {"size grip", true, [](TForm&, TQVTitleBar& t) { t.SetSizeGripVisible(true); }},
      {"size grip kept after disabling", true,
       [](TForm&, TQVTitleBar& t) {
         t.SetSizeGripVisible(true);
         t.SetTitleBarEnabled(false);
       }},
      {"disabled bar", false, [](TForm&, TQVTitleBar&) {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("MainForm");
    form->SetBounds(100, 50, 1000, 700);
    form->SetTransparency(c.Enabled);
    // The bar takes its colours from the book when it is made.
    auto* book = new TStyleBook(form.get());
    book->SetName("StyleBook1");
    LoadStyleBook(book, kStyle);
    form->SetStyleBook(book);
    form->Show();
    auto* tb = new TQVTitleBar(form.get());
    tb->SetName("TitleBar1");
    tb->SetParent(form.get());
    Platform->PaintAll();
    c.Set(*form, *tb);
    Platform->PaintAll();
    Platform->ClearMessages();

    const std::string text = WriteComponentToText(form.get());
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    TQVTitleBar* loaded = FindTitleBar(copy.get());
    ASSERT_NE(loaded, nullptr);
    Platform->PaintAll();
    EXPECT_TRUE(Platform->Messages().empty());
    EXPECT_EQ(WriteComponentToText(copy.get()), text);
    for (const auto& p : ClassOf<TQVTitleBar>()->Properties())
      EXPECT_TRUE(p->Get(tb) == p->Get(loaded)) << p->Name();

    TQVTitleBarInspector was(tb), now(loaded);
    EXPECT_EQ(now.StatusBar()->Visible(), loaded->SizeGripVisible());
    EXPECT_EQ(now.FormBackground()->Visible(), was.FormBackground()->Visible());
    if (loaded->TitleBarEnabled()) {
      EXPECT_EQ(now.FormBackground()->Opacity(), loaded->FormOpacity());
    }
    EXPECT_EQ(now.FormBackground()->Fill()->Color(), loaded->FormColor());
    EXPECT_EQ(now.Tint()->XRadius(), loaded->Radian());
    EXPECT_EQ(now.SurfaceClose()->Corners(), was.SurfaceClose()->Corners());
    // caNone is also what a bar that never had its caption placed (and shows it) stores.
    if (loaded->CaptionAlignment() != TCaptionAlignment::caNone) {
      EXPECT_EQ(now.CaptionLabel()->Visible(), was.CaptionLabel()->Visible());
    }
    EXPECT_EQ(now.CaptionLabel()->Text(), loaded->Caption());
    EXPECT_EQ(now.ToolClose()->Visible(), was.ToolClose()->Visible());
    EXPECT_EQ(now.ToolClose()->Bitmap()->Width(), was.ToolClose()->Bitmap()->Width());
    EXPECT_EQ(now.CellClose()->Width(), was.CellClose()->Width());
    EXPECT_EQ(loaded->Height(), tb->Height());
  }
}

TEST_F(TitleBarStored, ADisabledBarWithAShownSizeGripLoadsSilentlyAndStillRefusesTheApplication) {
  Form->SetName("MainForm");
  auto* tb = AddTitleBar();
  tb->SetName("TitleBar1");
  tb->SetSizeGripVisible(true);
  tb->SetTitleBarEnabled(false);
  const std::string text = WriteComponentToText(Form.get());
  EXPECT_LT(text.find("TitleBarEnabled = False"), text.find("SizeGripVisible = True"));

  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  TQVTitleBar* loaded = FindTitleBar(copy.get());
  TQVTitleBarInspector in(loaded);
  EXPECT_TRUE(Platform->Messages().empty());
  EXPECT_FALSE(loaded->TitleBarEnabled());
  EXPECT_TRUE(loaded->SizeGripVisible());
  EXPECT_TRUE(in.StatusBar()->Visible());

  // Once loaded, the application's own assignment meets the refusal again.
  loaded->SetSizeGripVisible(false);
  EXPECT_EQ(Platform->Messages(), (std::vector<std::string>{kRefused}));
  EXPECT_TRUE(loaded->SizeGripVisible());
  EXPECT_TRUE(in.StatusBar()->Visible());
  loaded->SetRadian(4);
  EXPECT_EQ(loaded->Radian(), 0);
}

TEST_F(TitleBarStored, TextsWrittenBeforeTheOpacityWasStoredAtZeroLoadAsTheyDid) {
  // Written when a left-out opacity meant 0 to the writer: the reader always gave such
  // a text the constructor's 1.0, and an explicit value came back as written.
  auto textWith = [](const std::string& Opacity) {
    return "object MainForm: TForm\n"
           "  Height = 700\n  Left = 100\n  Top = 50\n  Transparency = True\n  Width = 1000\n"
           "  object TitleBar1: TQVTitleBar\n"
           "    TitleBarEnabled = True\n    FormColor = claWhite\n" +
           Opacity +
           "    FontColor = claBlack\n    CaptionAlignment = caNone\n    DefaultFormColor = False\n"
           "    TitleBarHeight = thSmallHeight\n    ToolButtonStyle = tsText\n"
           "    SizeGripVisible = False\n"
           "  end\n"
           "end\n";
  };
  const struct {
    std::string Line;
    float Opacity;
  } texts[] = {{"", 1.0f},
               {"    FormOpacity = 1.000000000000000000\n", 1.0f},
               {"    FormOpacity = 0.500000000000000000\n", 0.5f}};
  for (const auto& t : texts) {
    SCOPED_TRACE(t.Line);
    std::unique_ptr<TComponent> copy(ReadComponentFromText(textWith(t.Line), nullptr));
    TQVTitleBar* loaded = FindTitleBar(copy.get());
    EXPECT_EQ(loaded->FormOpacity(), t.Opacity);
    EXPECT_EQ(TQVTitleBarInspector(loaded).FormBackground()->Opacity(), t.Opacity);
    const std::string again = WriteComponentToText(copy.get());
    if (t.Opacity == 1.0f)
      EXPECT_EQ(again.find("FormOpacity"), std::string::npos);
    else
      EXPECT_NE(again.find("FormOpacity = 0.5"), std::string::npos);
  }
}
