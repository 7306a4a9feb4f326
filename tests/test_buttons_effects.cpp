// The push button and the drawing effects of the host.
#include <gtest/gtest.h>

#include <cmath>

#include "HostTestSupport.h"
#include "host/Buttons.h"
#include "host/Effects.h"
#include "host/Registry.h"
#include "host/Shapes.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

class ButtonsEffects : public fmx::testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    EnsureHostClasses();
    Form = fmx::testing::MakeForm(200, 120);
    Form->Fill()->SetKind(TBrushKind::Solid);
    Form->Fill()->SetColor(TAlphaColors::White);
  }
  std::unique_ptr<TForm> Form;
};

int Dark(TAlphaColor c) { return 255 - static_cast<int>((c >> 8) & 0xFF); }

}  // namespace

TEST_F(ButtonsEffects, AButtonDrawsItsFaceLightsUpUnderThePointerAndClicksOnRelease) {
  auto* b = new TButton(Form.get());
  b->SetParent(Form.get());
  b->SetBounds(20, 20, 100, 30);
  b->SetText("OK");
  int clicks = 0;
  b->SetOnClick([&](TObject*) { ++clicks; });
  EXPECT_EQ(Platform->Snapshot(Form.get())->Pixel(30, 35), TButton::NormalFace);
  Platform->MouseMove(Form.get(), 30, 35);
  EXPECT_EQ(Platform->Snapshot(Form.get())->Pixel(30, 35), TButton::HotFace);
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 30, 35);
  EXPECT_EQ(Platform->Snapshot(Form.get())->Pixel(30, 35), TButton::PressedFace);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 30, 35);
  EXPECT_EQ(clicks, 1);
  // The caption is inked in the middle of the face.
  auto shot = Platform->Snapshot(Form.get());
  int ink = 0;
  for (int x = 55; x < 85; ++x)
    for (int y = 25; y < 45; ++y) ink += Dark(shot->Pixel(x, y)) > 120;
  EXPECT_GT(ink, 10);
  // A press that leaves the button before the release is no click.
  Platform->MouseDown(Form.get(), TMouseButton::mbLeft, 30, 35);
  Platform->MouseMove(Form.get(), 180, 100);
  Platform->MouseUp(Form.get(), TMouseButton::mbLeft, 180, 100);
  EXPECT_EQ(clicks, 1);
  b->SetEnabled(false);
  Platform->Click(Form.get(), 30, 35);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonsEffects, AShadowFallsDownAndRightSoftlyAndOnlyWhileEnabled) {
  auto* card = new TRectangle(Form.get());
  card->SetParent(Form.get());
  card->SetBounds(40, 30, 80, 50);
  card->Fill()->SetColor(TAlphaColors::White);
  card->Stroke()->SetKind(TBrushKind::None);
  auto* shadow = new TShadowEffect(Form.get());
  shadow->SetParent(card);
  auto shot = Platform->Snapshot(Form.get());
  // Below and right of the card the shadow darkens the form; above and left it does not.
  EXPECT_GT(Dark(shot->Pixel(80, 82)), 20);
  EXPECT_GT(Dark(shot->Pixel(121, 60)), 20);
  EXPECT_EQ(Dark(shot->Pixel(80, 25)), 0);
  EXPECT_EQ(Dark(shot->Pixel(35, 60)), 0);
  // The card itself stays white, and the shadow fades with distance.
  EXPECT_EQ(shot->Pixel(80, 55), TAlphaColors::White);
  EXPECT_GT(Dark(shot->Pixel(80, 81)), Dark(shot->Pixel(80, 88)));
  EXPECT_EQ(Dark(shot->Pixel(80, 100)), 0);
  TRectF reach = shadow->EffectRect(card->LocalRect());
  EXPECT_GT(reach.Bottom, 50 + 2);
  EXPECT_GT(reach.Right, 80 + 2);
  EXPECT_GT(reach.Top, -3);  // offset down: the soft edge barely reaches above

  shadow->SetEnabled(false);
  EXPECT_EQ(Dark(Platform->Snapshot(Form.get())->Pixel(80, 82)), 0);
  // Bad values are clamped rather than handed to Cairo.
  shadow->SetEnabled(true);
  shadow->SetSoftness(NAN);
  shadow->SetOpacity(7);
  shadow->SetDistance(INFINITY);
  shadow->SetDirection(NAN);
  EXPECT_EQ(shadow->Softness(), 0);
  EXPECT_EQ(shadow->Opacity(), 1);
  EXPECT_TRUE(std::isfinite(shadow->Distance()));
  EXPECT_EQ(shadow->Direction(), 0);
  Platform->Snapshot(Form.get());
}

TEST_F(ButtonsEffects, AGlowSurroundsItsControlAndEffectsGoWithTheirControl) {
  auto* box = new TRectangle(Form.get());
  box->SetParent(Form.get());
  box->SetBounds(60, 40, 40, 30);
  auto* glow = new TGlowEffect(box);  // owned by the control: freed with it
  glow->SetParent(box);
  glow->SetGlowColor(0xFFFF0000);
  auto shot = Platform->Snapshot(Form.get());
  for (TPoint p : {TPoint{58, 55}, TPoint{101, 55}, TPoint{80, 38}, TPoint{80, 71}}) {
    TAlphaColor c = shot->Pixel(p.X, p.Y);
    EXPECT_GT((c >> 16) & 0xFF, (c >> 8) & 0xFF) << p.X << "," << p.Y;  // reddish
  }
  delete box;
  Platform->Snapshot(Form.get());
}

TEST_F(ButtonsEffects, ButtonsAndEffectsAreStoredWithTheirForm) {
  Form->SetName("EffectsForm");
  auto* b = new TButton(Form.get());
  b->SetName("Button1");
  b->SetParent(Form.get());
  b->SetText("Go");
  auto* s = new TShadowEffect(Form.get());
  s->SetName("Shadow1");
  s->SetParent(b);
  s->SetDistance(5);
  const std::string text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("object Shadow1: TShadowEffect"), std::string::npos);
  EXPECT_NE(text.find("Distance = 5.0"), std::string::npos);
  EXPECT_EQ(text.find("Softness"), std::string::npos);  // at its default
  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
  auto* loaded = dynamic_cast<TButton*>(copy->FindComponent("Button1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Text(), "Go");
  EXPECT_EQ(loaded->TextSettings()->HorzAlign(), TTextAlign::Center);
}
