// Push buttons.
#pragma once

#include "host/StdCtrls.h"

namespace fmx {

// A push button: a framed face with a centred caption that lights up under the
// pointer, darkens while pressed and raises OnClick when released over itself.
class TButton : public TTextControl {
 public:
  explicit TButton(TComponent* AOwner);

  // Held down with the pointer still over it.
  bool IsPressed() const { return Pressed() && IsMouseOver(); }

  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  // A push button named by its text; pressing it clicks it.
  void DescribeAccessible(TAccessibleDescription& D) const override;
  bool DoAccessibleAction(int Index) override;

  // The face colours of the three looks, for those who draw next to a button.
  static constexpr TAlphaColor NormalFace = 0xFFFDFDFD;
  static constexpr TAlphaColor HotFace = 0xFFE5F1FB;
  static constexpr TAlphaColor PressedFace = 0xFFCCE4F7;

 protected:
  void Paint() override;
};

}  // namespace fmx
