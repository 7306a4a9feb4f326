#include <gtest/gtest.h>

#include <vector>

#include "TitleBarSupport.h"

using namespace fmx;
using fmx::testing::MakeStyleBook;

namespace {
class TitleBarConstruction : public fmx::testing::TitleBarTest {};
}  // namespace

TEST_F(TitleBarConstruction, BuildsItsTreeInOrderWithTheConstructorsFieldValues) {
  Form->SetTransparency(false);
  auto* tb = new TQVTitleBar(Form.get());
  TQVTitleBarInspector in(tb);
  EXPECT_EQ(in.OwnerForm(), Form.get());
  // Back to front: caption under the tint, then logo, the cells from close to min and
  // the system menu over everything.
  EXPECT_EQ(tb->ChildrenList(),
            (TFmxObjectList{in.CaptionContainer(), in.Tint(), in.Logo(), in.CellClose(),
                                      in.CellMax(), in.CellMin(), in.SystemMenu()}));
  EXPECT_EQ(in.CellMax()->ChildrenList(),
            (TFmxObjectList{in.SurfaceMax(), in.GlyphMax(), in.ToolMax(), in.ToolRestore()}));
  EXPECT_EQ(in.SurfaceClose()->Name(), "btnclose");
  EXPECT_EQ(in.SurfaceMax()->Name(), "btnmax");
  EXPECT_EQ(in.SurfaceMin()->Name(), "btnmin");
  EXPECT_EQ(in.GlyphMin()->Text(), "0");
  EXPECT_EQ(in.GlyphMax()->Text(), "1");
  EXPECT_EQ(in.GlyphClose()->Text(), "r");
  EXPECT_EQ(in.GlyphClose()->TextSettings()->Font()->Family(), "Webdings");
  // Private parts are never stored and carry the private tag (the background excepted).
  EXPECT_FALSE(in.Tint()->Stored());
  EXPECT_TRUE(in.Tint()->Locked());
  EXPECT_EQ(in.Tint()->Tag(), 999);
  EXPECT_EQ(in.FormBackground()->Tag(), 0);
  EXPECT_EQ(in.FormBackground()->Parent(), Form.get());
  EXPECT_EQ(in.StatusBar()->Parent(), Form.get());
  EXPECT_EQ(in.SizeGrip()->Parent(), in.StatusBar());
  // Built while the opacity and border colour were still zero.
  EXPECT_EQ(in.FormBackground()->Opacity(), 0.0f);
  EXPECT_EQ(in.FormBackground()->Stroke()->Color(), 0x00000000u);
  EXPECT_FALSE(in.FormBackground()->Visible());
  EXPECT_FALSE(in.StatusBar()->Visible());

  EXPECT_FALSE(tb->TitleBarEnabled());
  EXPECT_EQ(tb->FormOpacity(), 1.0f);
  EXPECT_EQ(tb->BorderActiveColor(), 0xFF008000u);
  EXPECT_EQ(tb->BorderDeactiveColor(), 0xFF808080u);
  EXPECT_EQ(tb->CaptionAlignment(), TCaptionAlignment::caNone);
  EXPECT_EQ(tb->TitleBarHeight(), TTitleBarHeight::thSmallHeight);
  EXPECT_EQ(tb->ToolButtonStyle(), TToolButtonStyle::tsText);
  EXPECT_TRUE(tb->LogoBitmap()->IsEmpty());
  EXPECT_EQ(in.TBHeight(), 32);
  EXPECT_EQ(tb->Align(), TAlignLayout::MostTop);
  EXPECT_EQ(tb->Height(), 32);
  EXPECT_EQ(tb->Margins()->Top(), 0.5f);
  EXPECT_EQ(in.CaptionLabel()->TextSettings()->Font()->Size(), DefaultFontSize + 4);
  EXPECT_TRUE(in.ActiveTimer()->Enabled());
  EXPECT_FALSE(in.MenuTimer()->Enabled());
  EXPECT_EQ(in.ActiveTimer()->Owner(), nullptr);
  // Visible only while the form is transparent.
  EXPECT_FALSE(tb->Visible());
  EXPECT_EQ(in.PaintCount(), 0);
}

TEST_F(TitleBarConstruction, VisibleFollowsTheFormsTransparencyOrTheDesigner) {
  Form->SetTransparency(true);
  auto* shown = new TQVTitleBar(Form.get());
  EXPECT_TRUE(shown->Visible());
  TForm designed(nullptr);
  designed.SetDesigning(true);
  auto* inDesigner = new TQVTitleBar(&designed);
  EXPECT_TRUE(inDesigner->Visible());
  EXPECT_FALSE(TQVTitleBarInspector(inDesigner).ActiveTimer()->Enabled());
}

TEST_F(TitleBarConstruction, TheBareStateBuildsNoTreeAndItsSettersAreHarmless) {
  TQVTitleBar* tb = nullptr;
  {
    TComponentStateScope loading({TComponentStateItem::csLoading, TComponentStateItem::csReading});
    tb = new TQVTitleBar(Form.get());
  }
  TQVTitleBarInspector in(tb);
  EXPECT_EQ(in.OwnerForm(), nullptr);
  EXPECT_EQ(in.Tint(), nullptr);
  EXPECT_EQ(in.ActiveTimer(), nullptr);
  EXPECT_EQ(tb->ChildrenCount(), 0);
  EXPECT_NE(tb->LogoBitmap(), nullptr);
  EXPECT_EQ(tb->BorderActiveColor(), 0xFF008000u);
  EXPECT_EQ(tb->FormOpacity(), 1.0f);
  // Setters store their values and leave the missing tree alone.
  tb->SetTitleBarEnabled(true);
  tb->SetFormOpacity(0.5f);
  tb->SetCaptionAlignment(TCaptionAlignment::caLeft);
  tb->SetCaption("x");
  tb->SetRadian(5);
  tb->SetTitleBarHeight(TTitleBarHeight::thLargeHeight);
  tb->SetToolButtonStyle(TToolButtonStyle::tsBitmap);
  tb->SetSizeGripVisible(true);
  TBitmap picture(4, 4);
  tb->SetLogoBitmap(&picture);
  tb->SetToolMaxBitmap(&picture);
  tb->SetDefaultFormColor(true);
  in.Paint();
  EXPECT_TRUE(tb->TitleBarEnabled());
  EXPECT_EQ(tb->FormOpacity(), 0.5f);
  EXPECT_EQ(tb->Caption(), "x");
  EXPECT_EQ(tb->Radian(), 5);
  EXPECT_TRUE(tb->SizeGripVisible());
  EXPECT_FALSE(Form->Transparency());  // no form to act on
}

TEST_F(TitleBarConstruction, ColoursComeFromTheStyleBook) {
  auto* book = MakeStyleBook(Form.get(), 0xFF2B2B2B, 0xFFEEEEEE);
  Form->SetStyleBook(book);
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  EXPECT_EQ(in.StyleBook(), book);
  EXPECT_EQ(tb->FormColor(), 0xFF2B2B2Bu);
  EXPECT_EQ(tb->FontColor(), 0xFFEEEEEEu);
  EXPECT_EQ(in.FormBackground()->Fill()->Color(), 0xFF2B2B2Bu);
  EXPECT_EQ(in.CaptionLabel()->TextSettings()->FontColor(), 0xFFEEEEEEu);
  EXPECT_EQ(in.GlyphClose()->TextSettings()->FontColor(), 0xFFEEEEEEu);
  // Neither pure white nor pure black: the tint keeps its opacity of 0.4.
  EXPECT_EQ(in.Tint()->Fill()->Color(), 0xFFEEEEEEu);
  EXPECT_FLOAT_EQ(in.Tint()->Opacity(), 0.4f);
}

TEST_F(TitleBarConstruction, APureWhiteStyleBackgroundFallsThroughToTheFormsFill) {
  Form->SetStyleBook(MakeStyleBook(Form.get(), 0xFFFFFFFF, 0xFF112233));
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(0xFF336699);
  auto* tb = AddTitleBar();
  EXPECT_EQ(tb->FormColor(), 0xFF336699u);
  EXPECT_EQ(tb->FontColor(), 0xFF000000u);
  EXPECT_FLOAT_EQ(TQVTitleBarInspector(tb).Tint()->Opacity(), 0.4f);
}

TEST_F(TitleBarConstruction, SolidBlackOtherSolidAndNonSolidFills) {
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(0xFF000000);
  auto* black = AddTitleBar();
  EXPECT_EQ(black->FormColor(), 0xFF000000u);
  EXPECT_EQ(black->FontColor(), 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(TQVTitleBarInspector(black).Tint()->Opacity(), 0.2f);
  delete black;

  Form->Fill()->SetKind(TBrushKind::Gradient);
  auto* gradient = AddTitleBar();
  EXPECT_EQ(gradient->FormColor(), 0xFFFFFFFFu);
  EXPECT_EQ(gradient->FontColor(), 0xFF000000u);
}

TEST_F(TitleBarConstruction, AnOwnerThatIsNoFormGetsATreeButNeverTouchesAForm) {
  TLayout holder(nullptr);
  auto* tb = new TQVTitleBar(&holder);
  TQVTitleBarInspector in(tb);
  EXPECT_EQ(in.OwnerForm(), nullptr);
  ASSERT_NE(in.Tint(), nullptr);
  EXPECT_EQ(in.FormBackground()->Parent(), nullptr);
  tb->SetTitleBarEnabled(true);
  in.Paint();
  // Without a form Paint stops before it enforces the bar's height.
  tb->SetHeight(50);
  in.Paint();
  EXPECT_EQ(tb->Height(), 50);
  EXPECT_FALSE(Form->Transparency());
}

TEST_F(TitleBarConstruction, PaintKeepsEnabledHeightMinimumSizeAndGlyphInStep) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  EXPECT_TRUE(tb->TitleBarEnabled());
  EXPECT_TRUE(in.FormBackground()->Visible());
  EXPECT_EQ(in.FormBackground()->Opacity(), 1.0f);
  // The first paint sends the background behind everything the form has by then.
  EXPECT_EQ(Form->Children(0), in.FormBackground());
  tb->SetHeight(80);
  Platform->PaintAll();
  EXPECT_EQ(tb->Height(), 32);
  // Too small: grown back to 800 x 600 on the next paint.
  Form->SetBounds(10, 10, 640, 480);
  Platform->PaintAll();
  EXPECT_EQ(Form->Width(), 800);
  EXPECT_EQ(Form->Height(), 600);
  // Switching the form's transparency off disables the title bar on the next paint
  // (the bar is then hidden, so the paint comes from an explicit call).
  Form->SetTransparency(false);
  in.Paint();
  EXPECT_FALSE(tb->TitleBarEnabled());
  EXPECT_FALSE(in.FormBackground()->Visible());
}

TEST_F(TitleBarConstruction, AScreenSizedFormCountsAsMaximisedAndTheDesignerKeepsSmallSizes) {
  auto* tb = AddTitleBar();
  TQVTitleBarInspector in(tb);
  in.GlyphMax()->SetText("2");
  Form->SetBounds(0, 0, 1920, 1080);
  Platform->PaintAll();
  EXPECT_EQ(in.GlyphMax()->Text(), "2");
  Form->SetWidth(1000);
  Platform->PaintAll();
  EXPECT_EQ(in.GlyphMax()->Text(), "1");

  TForm designed(nullptr);
  designed.SetDesigning(true);
  designed.SetBounds(0, 0, 640, 480);
  designed.SetTransparency(true);
  auto* dtb = new TQVTitleBar(&designed);
  dtb->SetParent(&designed);
  designed.PaintTo(nullptr);
  EXPECT_TRUE(dtb->TitleBarEnabled());
  EXPECT_EQ(designed.Width(), 640);
  EXPECT_EQ(designed.Height(), 480);
}

TEST_F(TitleBarConstruction, DestructionTakesItsControlsOffTheFormAndRestoresTheFrame) {
  auto* tb = AddTitleBar();
  const int before = Form->ChildrenCount();
  ASSERT_TRUE(Form->Transparency());
  delete tb;
  EXPECT_FALSE(Form->Transparency());
  EXPECT_EQ(Form->ChildrenCount(), before - 3);  // the bar, its background and its strip
  EXPECT_EQ(Form->ComponentCount(), 0);
}

TEST_F(TitleBarConstruction, AFormFreedBeforeItsTitleBarLeavesNoDanglingLinks) {
  TComponent keeper(nullptr);
  auto* form = new TForm(nullptr);
  form->SetTransparency(true);
  auto* tb = new TQVTitleBar(form);
  keeper.InsertComponent(tb);  // the title bar now outlives its form
  tb->SetParent(nullptr);
  delete form;
  TQVTitleBarInspector in(tb);
  EXPECT_EQ(in.OwnerForm(), nullptr);
  EXPECT_EQ(in.FormBackground(), nullptr);
  Platform->Advance(300);  // the activity timer keeps ticking safely
  in.Paint();
}
