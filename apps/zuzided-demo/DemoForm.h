// The demo's window: a borderless form whose frame is the library's title bar, a main
// menu bar under it, a little content below, and a light and a dark look. Built the same way on real
// windows and on the headless platform, so the tour, the screenshots and the
// real-window tests all show the one form.
#pragma once

#include <functional>
#include <string>

#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"

namespace demo {

// The frame's geometry as the window tests see it: a strip along the top and, from
// the right edge leftwards, the close, maximise and minimise cells.
struct TFrameGeometry {
  static constexpr int StripHeight = 32;
  static constexpr int CloseWidth = 54;
  static constexpr int MaxWidth = 48;
  static constexpr int MinWidth = 48;
  // The main menu bar right under the strip.
  static constexpr int MenuHeight = 27;
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
  // The title bar shows the window maximised: it fills the screen.
  bool Maximised() const;
  fmx::TQVTitleBar* TitleBar() const { return FTitleBar; }
  fmx::TQVMenuBar* MainMenu() const { return FMainMenu; }
  // What the last menu choice was, as the status line on the form says it.
  const std::string& Status() const { return FStatusText; }
  // Called with each new status text (the real-window run prints it).
  void SetOnStatus(std::function<void(const std::string&)> Value) { FOnStatus = std::move(Value); }
  // Where the style books were found ("" when the built-in colours are used).
  const std::string& StyleSource() const { return FStyleSource; }

 private:
  void BuildStyles();
  void BuildFrame();
  void BuildMenu();
  void BuildContent();
  fmx::TFmxObject* ReadStyle(bool DarkStyle);
  void Chosen(fmx::TQVMenuButton* Entry);
  // What the 窗口 menu's entries and 退出 do to the window, after the status says so.
  void ActOnWindow(fmx::TQVMenuButton* Entry);
  void SetStatus(const std::string& Text);

  bool FDark = false;
  std::string FStyleSource;
  fmx::TStyleBook* FStyles = nullptr;
  fmx::TQVTitleBar* FTitleBar = nullptr;
  fmx::TQVMenuBar* FMainMenu = nullptr;
  fmx::TImageList* FMenuImages = nullptr;
  fmx::TLabel* FHeading = nullptr;
  fmx::TText* FBody = nullptr;
  fmx::TRectangle* FCard = nullptr;
  fmx::TLabel* FStatus = nullptr;
  fmx::TQVMenuButton* FQuit = nullptr;
  fmx::TQVMenuButton* FMinimise = nullptr;
  fmx::TQVMenuButton* FMaximise = nullptr;
  fmx::TQVMenuButton* FRestore = nullptr;
  fmx::TQVMenuButton* FCloseWindow = nullptr;
  std::string FStatusText;
  std::function<void(const std::string&)> FOnStatus;
};

}  // namespace demo
