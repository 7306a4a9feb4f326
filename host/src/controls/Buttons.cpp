#include "host/Buttons.h"

#include "host/Canvas.h"

namespace fmx {

namespace {
constexpr TAlphaColor kNormalFrame = 0xFFADADAD;
constexpr TAlphaColor kHotFrame = 0xFF0078D7;
constexpr TAlphaColor kPressedFrame = 0xFF005499;
constexpr float kRadius = 3;
}  // namespace

TButton::TButton(TComponent* AOwner) : TTextControl(AOwner) {
  SetSize(80, 22);
  SetHitTest(true);
  TextSettings()->SetHorzAlign(TTextAlign::Center);
}

// Each change of look is one repaint; the handlers run after it, so one that frees
// the button leaves nothing to do.
void TButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  Repaint();
  TTextControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  Repaint();
  TTextControl::MouseUp(Button, Shift, X, Y);
}

void TButton::DoMouseEnter() {
  Repaint();
  TTextControl::DoMouseEnter();
}

void TButton::DoMouseLeave() {
  Repaint();
  TTextControl::DoMouseLeave();
}

void TButton::Paint() {
  if (TCanvas* C = Canvas()) {
    TAlphaColor face = NormalFace, frame = kNormalFrame;
    if (IsPressed()) {
      face = PressedFace;
      frame = kPressedFrame;
    } else if (IsMouseOver() && AbsoluteEnabled()) {
      face = HotFace;
      frame = kHotFrame;
    }
    const float opacity = AbsoluteOpacity();
    C->FillRect(LocalRect(), kRadius, kRadius, AllCorners, opacity, TBrush(TBrushKind::Solid, face));
    C->DrawRect(LocalRect(), kRadius, kRadius, AllCorners, opacity,
                TStrokeBrush(TBrushKind::Solid, frame));
  }
  // The caption over the face.
  TTextControl::Paint();
}

// What a screen reader is told (host/Accessibility.h).
void TButton::DescribeAccessible(TAccessibleDescription& D) const {
  TTextControl::DescribeAccessible(D);
  D.Role = TAccessibleRole::PushButton;
  D.Actions.push_back({"press", ""});
}

bool TButton::DoAccessibleAction(int Index) {
  if (Index != 0 || !AbsoluteEnabled()) return false;
  Click();
  return true;
}

}  // namespace fmx
