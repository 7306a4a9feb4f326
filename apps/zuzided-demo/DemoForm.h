// The demo's window: a borderless form whose frame is drawn by the form itself, with
// a little content below, and a light and a dark look. Built the same way on real
// windows and on the headless platform, so the tour, the screenshots and the
// real-window tests all show the one form.
#pragma once

#include <string>

#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"

namespace demo {

// The frame's geometry as the window tests see it: a strip along the top and, from
// the right edge leftwards, the close, maximise and minimise cells.
struct TFrameGeometry {
  static constexpr int StripHeight = 32;
  static constexpr int CloseWidth = 54;
  static constexpr int MaxWidth = 48;
  static constexpr int MinWidth = 48;
  // Border colours of the active and the inactive window.
  static constexpr fmx::TAlphaColor ActiveBorder = 0xFF008000;
  static constexpr fmx::TAlphaColor InactiveBorder = 0xFF808080;
};

class TDemoForm : public fmx::TForm {
 public:
  explicit TDemoForm(fmx::TComponent* AOwner);
  ~TDemoForm() override;

  bool Dark() const { return FDark; }
  void SetDark(bool Value);
  void ToggleStyle() { SetDark(!FDark); }
  // Maximise and restore the way the frame's caption does it: by the form's bounds.
  void ToggleMaximised();
  bool Maximised() const { return FMaximised; }
  // Where the style books were found ("" when the built-in colours are used).
  const std::string& StyleSource() const { return FStyleSource; }

 private:
  void BuildFrame();
  void BuildContent();
  void ShowActivity();
  fmx::TStyleBook* MakeStyleBook(bool DarkStyle);

  bool FDark = false;
  bool FMaximised = false;
  fmx::TRect FNormalRect;
  std::string FStyleSource;
  fmx::TStyleBook* FLight = nullptr;
  fmx::TStyleBook* FDarkBook = nullptr;
  fmx::TRectangle* FBackground = nullptr;
  fmx::TRectangle* FStrip = nullptr;
  fmx::TLabel* FCaption = nullptr;
  fmx::TLabel* FMaxGlyph = nullptr;
  fmx::TLabel* FHeading = nullptr;
  fmx::TText* FBody = nullptr;
  fmx::TRectangle* FCard = nullptr;
};

}  // namespace demo
