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

// A title bar at Normal on Form, for window control: maximise, restore, minimise.
class TitleBarWindowTest : public TitleBarTest {
 protected:
  void PlaceTitleBar(const TRect& Normal) {
    Form->SetBounds(Normal.Left, Normal.Top, Normal.Width(), Normal.Height());
    Bar = AddTitleBar();
    In = std::make_unique<TQVTitleBarInspector>(Bar);
  }
  TRect Bounds() const { return TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height()); }
  static TPointF Centre(const TControl* C) {
    const TRectF r = C->AbsoluteRect();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  // The indicators and the system menu's entries all say Maximised (or all Normal).
  void ExpectShownAs(bool Maximised) {
    EXPECT_EQ(In->GlyphMax()->Text(), Maximised ? "2" : "1");
    EXPECT_EQ(In->WindowStateIsMax(), Maximised);
    Platform->MouseDown(Form.get(), TMouseButton::mbRight, 400, 10);
    Platform->MouseUp(Form.get(), TMouseButton::mbRight, 400, 10);
    EXPECT_EQ(In->RestoreEntry()->Enabled(), Maximised);
    EXPECT_EQ(In->MaxEntry()->Enabled(), !Maximised);
    // Closed again as the window loses the focus for a moment.
    Platform->SetActive(Form.get(), false);
    Platform->Advance(100);
    Platform->SetActive(Form.get(), true);
    Platform->Advance(1000);
  }
  TQVTitleBar* Bar = nullptr;
  std::unique_ptr<TQVTitleBarInspector> In;
};

}  // namespace testing
}  // namespace fmx
