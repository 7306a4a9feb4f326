#include <gtest/gtest.h>

#include "TitleBarSupport.h"
#include "host/Registry.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

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
  EXPECT_NE(text.find("LogoBitmap.PNG"), std::string::npos);
  EXPECT_EQ(text.find("ToolMinBitmap"), std::string::npos);  // empty pictures are left out

  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  TQVTitleBar* loaded = FindTitleBar(copy.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Caption(), "标题");
  EXPECT_EQ(loaded->CaptionAlignment(), TCaptionAlignment::caLeft);
  EXPECT_EQ(loaded->Radian(), 6);  // enabled was read first, so the radius was taken
  EXPECT_EQ(loaded->TitleBarHeight(), TTitleBarHeight::thMiddleHeight);
  EXPECT_EQ(loaded->BorderDeactiveColor(), 0xFF112233u);
  EXPECT_EQ(loaded->LogoBitmap()->Pixel(1, 1), 0xFF0000FFu);
  EXPECT_EQ(TQVTitleBarInspector(loaded).Logo()->Bitmap()->Width(), 4);
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
}

TEST_F(TitleBarStored, AZeroFormOpacityIsNotWrittenAndComesBackAsOne) {
  Form->SetName("MainForm");
  auto* tb = AddTitleBar();
  tb->SetName("TitleBar1");
  tb->SetFormOpacity(0);
  const std::string text = WriteComponentToText(Form.get());
  EXPECT_EQ(text.find("FormOpacity"), std::string::npos);
  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  EXPECT_EQ(FindTitleBar(copy.get())->FormOpacity(), 1.0f);
}
