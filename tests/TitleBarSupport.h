// The forms and style books the title bar's tests are built on.
#pragma once

#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "HostTestSupport.h"
#include "TitleBarInspector.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"

namespace fmx {

namespace testing {

// A style book whose current style has a background rectangle and a button text.
inline TStyleBook* MakeStyleBook(TComponent* Owner, TAlphaColor Background, TAlphaColor Text) {
  auto* book = new TStyleBook(Owner);
  auto* root = new TLayout(nullptr);
  auto* bg = new TRectangle(nullptr);
  bg->SetStyleName("backgroundstyle");
  bg->SetParent(root);
  bg->Fill()->SetColor(Background);
  auto* button = new TLayout(nullptr);
  button->SetStyleName("buttonstyle");
  button->SetParent(root);
  auto* text = new TText(nullptr);
  text->SetStyleName("text");
  text->SetParent(button);
  text->TextSettings()->SetFontColor(Text);
  book->Styles()->Add(root);
  return book;
}

class TitleBarTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 50, 1000, 700);
    Form->Show();
  }
  // A title bar on Form, enabled (the form transparent) unless told otherwise.
  TQVTitleBar* AddTitleBar(bool Enabled = true) {
    if (Enabled) Form->SetTransparency(true);
    auto* tb = new TQVTitleBar(Form.get());
    tb->SetParent(Form.get());
    Platform->PaintAll();
    return tb;
  }
  std::unique_ptr<TForm> Form;
};

}  // namespace testing
}  // namespace fmx
