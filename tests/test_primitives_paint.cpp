#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "host/ImageList.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"

using namespace fmx;
using fmx::testing::MakeForm;

namespace {

class PrimitivesPaint : public fmx::testing::HeadlessTest {};

template <class T>
T* Place(TForm* Form, float X, float Y, float W, float H) {
  auto* C = new T(Form);
  C->SetParent(Form);
  C->SetBounds(X, Y, W, H);
  return C;
}

int CountColour(const TBitmap& B, const TRectF& Box, TAlphaColor Want, int Tol = 40) {
  int N = 0;
  for (int Y = static_cast<int>(Box.Top); Y < static_cast<int>(Box.Bottom); ++Y)
    for (int X = static_cast<int>(Box.Left); X < static_cast<int>(Box.Right); ++X) {
      const TAlphaColor P = B.Pixel(X, Y);
      bool Close = true;
      for (int S = 0; S < 24; S += 8)
        Close &= std::abs(int((P >> S) & 0xFF) - int((Want >> S) & 0xFF)) <= Tol;
      N += Close;
    }
  return N;
}

}  // namespace

TEST_F(PrimitivesPaint, RectangleFillsThenStrokesInsideItsBounds) {
  auto Form = MakeForm(100, 100);
  Form->Fill()->SetKind(TBrushKind::Solid);
  auto* R = Place<TRectangle>(Form.get(), 10, 10, 40, 30);
  R->Fill()->SetColor(TAlphaColors::Red);
  R->Stroke()->SetColor(TAlphaColors::Black);
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Shot->Pixel(10, 20), TAlphaColors::Black);
  EXPECT_EQ(Shot->Pixel(49, 20), TAlphaColors::Black);
  EXPECT_EQ(Shot->Pixel(30, 25), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(50, 20), TAlphaColors::White);
  // Opacity and disabling fade the whole control.
  R->Stroke()->SetKind(TBrushKind::None);
  R->SetOpacity(0.5f);
  Shot = Platform->Snapshot(Form.get());
  EXPECT_NEAR(int((Shot->Pixel(30, 25) >> 8) & 0xFF), 128, 2);
}

TEST_F(PrimitivesPaint, LinesSitOnTheirEdge) {
  auto Form = MakeForm(100, 100);
  Form->Fill()->SetKind(TBrushKind::Solid);
  auto* Bottom = Place<TLine>(Form.get(), 0, 10, 100, 5);
  Bottom->SetLineType(TLineType::Bottom);
  auto* Left = Place<TLine>(Form.get(), 50, 40, 10, 20);
  Left->SetLineType(TLineType::Left);
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Shot->Pixel(50, 14), TAlphaColors::Black);
  EXPECT_EQ(Shot->Pixel(50, 13), TAlphaColors::White);
  EXPECT_EQ(Shot->Pixel(50, 50), TAlphaColors::Black);
  EXPECT_EQ(Shot->Pixel(51, 50), TAlphaColors::White);
}

TEST_F(PrimitivesPaint, PathIsStretchedOntoTheControl) {
  auto Form = MakeForm(100, 100);
  Form->Fill()->SetKind(TBrushKind::Solid);
  auto* P = Place<TPath>(Form.get(), 20, 20, 40, 40);
  P->Data()->SetData("M0,0 L10,0 L10,10 L0,10 Z");
  P->Fill()->SetColor(TAlphaColors::Red);
  P->Stroke()->SetKind(TBrushKind::None);
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Shot->Pixel(21, 21), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(58, 58), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(61, 40), TAlphaColors::White);
}

TEST_F(PrimitivesPaint, TextColourComesFromTheStyleWhereStyledSettingsSaySo) {
  auto Form = MakeForm(200, 60);
  Form->Fill()->SetKind(TBrushKind::Solid);
  auto* Text = Place<TText>(Form.get(), 0, 0, 100, 30);
  Text->SetText("HHHH");
  Text->TextSettings()->SetFontColor(TAlphaColors::Red);
  auto* Label = Place<TLabel>(Form.get(), 100, 0, 100, 30);
  Label->SetText("HHHH");
  Label->TextSettings()->SetFontColor(TAlphaColors::Red);
  Label->TextSettings()->Font()->SetSize(30);
  EXPECT_EQ(Label->ResolvedFont().Size(), DefaultFontSize);
  EXPECT_EQ(Label->ResolvedFontColor(), DefaultFontColor);
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_GT(CountColour(*Shot, {0, 0, 100, 30}, TAlphaColors::Red), 15);
  EXPECT_EQ(CountColour(*Shot, {100, 0, 200, 30}, TAlphaColors::Red), 0);
  EXPECT_GT(CountColour(*Shot, {100, 0, 200, 30}, TAlphaColors::Black), 15);
  Label->SetStyledSettings({});
  EXPECT_EQ(Label->ResolvedFont().Size(), 30);
  Shot = Platform->Snapshot(Form.get());
  EXPECT_GT(CountColour(*Shot, {100, 0, 200, 30}, TAlphaColors::Red), 15);
}

TEST_F(PrimitivesPaint, ImagesAndGlyphsAreFittedAndCentred) {
  auto Form = MakeForm(100, 100);
  Form->Fill()->SetKind(TBrushKind::Solid);
  TBitmap Wide(20, 10);
  Wide.Clear(TAlphaColors::Red);
  auto* Img = Place<TImage>(Form.get(), 0, 0, 40, 40);
  Img->SetBitmap(&Wide);
  auto* List = new TImageList(Form.get());
  List->Add(Wide);
  auto* Glyph = Place<TGlyph>(Form.get(), 50, 50, 40, 40);
  Glyph->SetAutoHide(false);
  Glyph->SetImages(List);
  Glyph->SetImageIndex(0);
  auto Shot = Platform->Snapshot(Form.get());
  // 20 x 10 scaled to 40 x 20, centred vertically: rows 10..29.
  EXPECT_EQ(Shot->Pixel(20, 5), TAlphaColors::White);
  EXPECT_EQ(Shot->Pixel(20, 20), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(1, 11), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(20, 35), TAlphaColors::White);
  EXPECT_EQ(Shot->Pixel(70, 70), TAlphaColors::Red);
  EXPECT_EQ(Shot->Pixel(70, 55), TAlphaColors::White);
  Img->SetWrapMode(TImageWrapMode::Stretch);
  Shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Shot->Pixel(20, 2), TAlphaColors::Red);
  // A glyph whose list goes away draws nothing and holds no dangling pointer.
  delete List;
  EXPECT_EQ(Glyph->Images(), nullptr);
  Shot = Platform->Snapshot(Form.get());
  EXPECT_EQ(Shot->Pixel(70, 70), TAlphaColors::White);
}

TEST_F(PrimitivesPaint, SizeGripDrawsGreyDotsInItsCorner) {
  auto Form = MakeForm(100, 100);
  Form->Fill()->SetKind(TBrushKind::Solid);
  Place<TSizeGrip>(Form.get(), 84, 84, 16, 16);
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_GT(CountColour(*Shot, {90, 90, 100, 100}, TAlphaColors::Gray, 10), 8);
  EXPECT_EQ(CountColour(*Shot, {84, 84, 90, 90}, TAlphaColors::Gray, 10), 0);
}

// A control's canvas is the painter's while the control or its children paint, and
// nothing otherwise; one freed by its own paint handler hands nothing to the rest.
TEST_F(PrimitivesPaint, CanvasIsThereOnlyWhileTheControlPaints) {
  auto Form = MakeForm(100, 100);
  auto* Outer = Place<TLayout>(Form.get(), 0, 0, 100, 100);
  auto* Inner = Place<TRectangle>(Form.get(), 10, 10, 20, 20);
  Inner->SetParent(Outer);
  TCanvas* SeenByOuter = nullptr;
  TCanvas* OuterSeenFromChild = nullptr;
  TCanvas* SiblingSeenFromChild = reinterpret_cast<TCanvas*>(1);
  auto* Sibling = Place<TRectangle>(Form.get(), 50, 50, 20, 20);
  Sibling->Fill()->SetColor(TAlphaColors::Red);
  Outer->SetOnPaint([&](TObject*) { SeenByOuter = Outer->Canvas(); });
  Inner->SetOnPaint([&](TObject*) {
    OuterSeenFromChild = Outer->Canvas();
    SiblingSeenFromChild = Sibling->Canvas();
  });
  auto Shot = Platform->Snapshot(Form.get());
  EXPECT_NE(SeenByOuter, nullptr);
  EXPECT_EQ(OuterSeenFromChild, SeenByOuter);
  EXPECT_EQ(SiblingSeenFromChild, nullptr);
  EXPECT_EQ(Outer->Canvas(), nullptr);
  EXPECT_EQ(Inner->Canvas(), nullptr);

  // Freed in its own handler: the painting goes on with its siblings.
  TWeak<TControl> Link(Inner);
  Inner->SetOnPaint([&](TObject*) { delete Inner; });
  Shot = Platform->Snapshot(Form.get());
  EXPECT_FALSE(Link.Alive());
  EXPECT_EQ(Shot->Pixel(60, 60), TAlphaColors::Red);
  EXPECT_EQ(Outer->Canvas(), nullptr);
}
