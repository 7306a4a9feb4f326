// The title bar: a control that stands in for the operating system's window frame on
// a borderless form. It draws the window background and border, a tint, a logo, a
// caption and three caption buttons, and moves, maximises, restores, minimises and
// closes its form, also through a system menu of its own.
#pragma once

#include <memory>

#include <string>

#include "FMX.QVTakeOver.h"
#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"
#include "host/Timers.h"

namespace fmx {

class TQVMenuBar;
class TQVMenuButton;
class TQVTitleBar;

// How the stored form sets what the title bar cannot take through its public setters.
struct TQVTitleBarStoring {
  /// Shows or hides the bar as the stored form says, past the setter's refusals.
  static void SetVisible(TQVTitleBar& Bar, bool Value);
};

/// Where the title bar shows its caption: not at all, at the left, or in the middle.
enum class TCaptionAlignment { caNone, caLeft, caCenter };
/// The title bar's height: small, middle or large.
enum class TTitleBarHeight { thSmallHeight, thMiddleHeight, thLargeHeight };
/// Whether the window buttons show Webdings symbols or pictures.
enum class TToolButtonStyle { tsText, tsBitmap };

/// The title bar that turns a borderless form into a window: logo, caption, minimise, maximise-
/// restore and close buttons, a border tinted by whether the window is active, rounded corners, a
/// size grip and a system menu.
class TQVTitleBar : public TPresentedControl {
 public:
  /// Creates the bar; unless it is being loaded, it finds its form, reads the style's colours and
  /// builds its tree and system menu.
  explicit TQVTitleBar(TComponent* AOwner);
  ~TQVTitleBar() override;

  void Click() override;
  /// A double-click maximises or restores the window.
  void DblClick() override;
  /// A left press starts moving (or restores) the window; a right press opens the system menu.
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // Shows what the stored form said once it is all read (see host/Streaming.h).
  void Loaded() override;

  // Read as a title bar named by its caption, which also names its form; its parts are
  // the minimise, maximise or restore and close push buttons and the system menu
  // (FMX.QVTitleBar.Accessible.cpp).
  void DescribeAccessible(TAccessibleDescription& D) const override;
  void AccessibleChildren(std::vector<TControl*>& Out) const override;
  bool DescribeAccessiblePart(const TControl* Part, TAccessibleDescription& D) const override;
  /// Presses a caption button or chooses a system-menu entry for a screen reader.
  bool DoAccessiblePartAction(TControl* Part, int Index) override;
  void DescribeAccessibleForm(TAccessibleDescription& D) const override;

  // Published properties.
  bool TitleBarEnabled() const { return FTitleBarEnabled; }
  /// Whether the bar is the window's frame: on, the form is borderless and the bar shows the window
  /// background.
  void SetTitleBarEnabled(bool Value);
  /// The window's background colour (the rectangle behind the form's controls).
  TAlphaColor FormColor() const { return FFormColor; }
  /// Sets the window's background colour.
  void SetFormColor(TAlphaColor Value);
  /// The window background's opacity, 0 to 1.
  float FormOpacity() const { return FFormOpacity; }
  /// Sets the window background's opacity.
  void SetFormOpacity(float Value);
  /// The caption's and the text buttons' colour.
  TAlphaColor FontColor() const { return FFontColor; }
  /// Sets the caption's colour.
  void SetFontColor(TAlphaColor Value);
  /// Where the caption sits: nowhere, at the left or in the middle.
  TCaptionAlignment CaptionAlignment() const { return FCaptionAlignment; }
  /// Sets CaptionAlignment.
  void SetCaptionAlignment(TCaptionAlignment Value);
  /// The window title shown on the bar.
  const std::string& Caption() const { return FCaption; }
  /// Sets the window title.
  void SetCaption(const std::string& Value);
  /// The border's colour while the window is active.
  TAlphaColor BorderActiveColor() const { return FBorderActiveColor; }
  /// Sets the active border colour.
  void SetBorderActiveColor(TAlphaColor Value);
  /// The border's colour while the window is not active.
  TAlphaColor BorderDeactiveColor() const { return FBorderDeactiveColor; }
  /// Sets the inactive border colour.
  void SetBorderDeactiveColor(TAlphaColor Value);
  /// Whether the window background takes its colour from the style book rather than FormColor.
  bool DefaultFormColor() const { return FDefaultFormColor; }
  /// Sets DefaultFormColor.
  void SetDefaultFormColor(bool Value);
  /// The radius of the window's rounded corners, 0 for square ones.
  float Radian() const { return FRadian; }
  /// Sets the corner radius.
  void SetRadian(float Value);
  /// The bar's height: small, middle or large.
  TTitleBarHeight TitleBarHeight() const { return FTitleBarHeight; }
  /// Sets the bar's height.
  void SetTitleBarHeight(TTitleBarHeight Value);
  /// The logo at the left of the bar (a copy the bar owns), or nullptr.
  TBitmap* LogoBitmap() const { return FLogoBitmap.get(); }
  /// Copies Value as the logo (nullptr removes it).
  void SetLogoBitmap(TBitmap* Value);
  /// The minimise button's picture when ToolButtonStyle is tsBitmap.
  TBitmap* ToolMinBitmap() const { return FToolMinBitmap.get(); }
  /// Copies Value as the minimise button's picture.
  void SetToolMinBitmap(TBitmap* Value);
  /// The maximise button's picture when ToolButtonStyle is tsBitmap.
  TBitmap* ToolMaxBitmap() const { return FToolMaxBitmap.get(); }
  /// Copies Value as the maximise button's picture.
  void SetToolMaxBitmap(TBitmap* Value);
  /// The restore button's picture when ToolButtonStyle is tsBitmap.
  TBitmap* ToolRestoreBitmap() const { return FToolRestoreBitmap.get(); }
  /// Copies Value as the restore button's picture.
  void SetToolRestoreBitmap(TBitmap* Value);
  /// The close button's picture when ToolButtonStyle is tsBitmap.
  TBitmap* ToolCloseBitmap() const { return FToolCloseBitmap.get(); }
  /// Copies Value as the close button's picture.
  void SetToolCloseBitmap(TBitmap* Value);
  /// Whether the window buttons show Webdings symbols (tsText) or pictures (tsBitmap).
  TToolButtonStyle ToolButtonStyle() const { return FToolButtonStyle; }
  /// Sets ToolButtonStyle.
  void SetToolButtonStyle(TToolButtonStyle Value);
  /// Whether the size grip shows in the window's bottom-right corner.
  bool SizeGripVisible() const { return FSizeGripVisible; }
  /// Shows or hides the size grip; refused with a message while TitleBarEnabled is false.
  void SetSizeGripVisible(bool Value);

 protected:
  void Paint() override;
  /// Forgets its form, style book and taken-over control when they are freed.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // What freeing the title bar does to others (the form's frame and its controls).
  void BeforeDestruction() override;

 private:
  // Test access to the private tree and state, as the library's own unit tests need it.
  friend class TQVTitleBarInspector;
  friend class TQVTakeOver;
  friend struct TQVTitleBarStoring;

  void __QV_CreateTitleBarAppearance();
  void __QV_CreateTitleBarPopUpMenuBar();
  void __QV_DoDynamicUpdateTitleBarColor();
  void __QV_SetToolButtonMinMaxCloseMargins();
  void __QV_ApplyRadian();
  void __QV_OnLogoBitmapChanged(TObject* Sender);
  void __QV_OnToolMinBitmapChanged(TObject* Sender);
  void __QV_OnToolMaxBitmapChanged(TObject* Sender);
  void __QV_OnToolRestoreBitmapChanged(TObject* Sender);
  void __QV_OnToolCloseBitmapChanged(TObject* Sender);
  void __QV_ApplyToolBitmap(TImage* Image, TBitmap* Bitmap);

  // Window control.
  void __QV_ReadScreenSize();
  bool __QV_FormFillsScreen() const;
  void __QV_SavePostionAndSizeOfNormalWindow();
  // False when the form's own handlers freed the form or this title bar meanwhile.
  bool __QV_MoveForm(int ALeft, int ATop, int AWidth, int AHeight);
  bool __QV_WindowMaximized();
  bool __QV_WindowNormal();
  // The glyph, the maximised flag and the pictures for the state.
  void __QV_ShowWindowState(bool Maximised);
  // Takes over a change of the form's window state the title bar did not make.
  void __QV_FollowWindowState();
  void __QV_MinMaxCloseButton_MouseEnter(TObject* Sender);
  void __QV_MinMaxCloseButton_MouseLeave(TObject* Sender);
  void __QV_MinMaxCloseButton_MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                        float X, float Y);
  void __QV_MinMaxCloseButton_MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                      float X, float Y);
  void __QV_TimerActive(TObject* Sender);

  // The system menu.
  void __QV_ShowTitleBarToolsMenu(TMouseButton Button, TShiftState Shift, float X, float Y);
  void __QV_LOGO_MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, float X,
                           float Y);
  void __QV_TimerOnTimer(TObject* Sender);
  // The handlers put on the control under the mouse while the menu is open.
  void __QV_Control_OnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                float X, float Y);
  void __QV_Control_OnMouseLeave(TObject* Sender);
  void __QV_PopUpButton_OnClick(TObject* Sender);
  // A press that reaches the menu bar itself: on a disabled entry (which takes no mouse
  // input) or between entries.
  void __QV_PopupMenuBar_MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                   float X, float Y);
  // Closes the menu: hidden, the timer stopped, the taken-over control given back.
  // False when a handler run by hiding freed this title bar.
  bool __QV_HideSystemMenu();
  // Puts the taken-over control's own handlers back, where ours are still on it.
  void __QV_GiveBackControl();
  void __QV_ColourSystemMenu(bool AllColours);
  // Every press on the form reaches the system menu first: one outside it closes it at
  // once, and an entry pressed before the hover timer reached it is taken over then.
  void __QV_SystemMenuPress(TMouseButton Button);
  // Alt+Space opens the menu; while it is open, Up, Down, Enter, Escape and the
  // entries' letters work it.
  void __QV_SystemMenuKey(uint16_t& Key, Char& KeyChar, TShiftState Shift);
  // Shows the menu with its top left corner at P (title bar coordinates), moved so that
  // it shows whole inside the form.
  void __QV_PlaceSystemMenu(TPointF P);
  // Listens to the form's presses and keys.
  void __QV_ListenToForm();

  bool BothLoadingFlags() const { return IsLoading() && IsReading(); }

  // The form and its style book: either may go first.
  TWeak<TForm> FOwnerF;
  TWeak<TStyleBook> FStyleB;
  TRectangle* F_TitleBarBackgroundColor = nullptr;
  // Owned, but parented on the form (or wherever the application moves them): the
  // form or a parent may free them first.
  TWeak<TRectangle> F_FormBackground;
  TImage* F_Logo = nullptr;
  TImage* F_ToolMin = nullptr;
  TImage* F_ToolMax = nullptr;
  TImage* F_ToolRestore = nullptr;
  TImage* F_ToolClose = nullptr;
  TLayout* F_CaptionContainer = nullptr;
  TLabel* F_Caption = nullptr;
  TLayout* F_ContainerMin = nullptr;
  TLayout* F_ContainerMax = nullptr;
  TLayout* F_ContainerClose = nullptr;
  TRectangle* F_BackgroundMin = nullptr;
  TRectangle* F_BackgroundMax = nullptr;
  TRectangle* F_BackgroundClose = nullptr;
  TLabel* F_TextMin = nullptr;
  TLabel* F_TextMax = nullptr;
  TLabel* F_TextClose = nullptr;
  std::unique_ptr<TTimer> F_ActiveTimer;
  std::unique_ptr<TTimer> F_TimerHidePopupMenuBar;
  TWeak<TLayout> F_StatusBar;
  TWeak<TSizeGrip> F_SizeGrip;
  TQVMenuBar* F_PopupMMC_MenuBar = nullptr;
  TQVMenuButton* F_PopupMMC_RestoreBtn = nullptr;
  TQVMenuButton* F_PopupMMC_MoveBtn = nullptr;
  TQVMenuButton* F_PopupMMC_SizeBtn = nullptr;
  TQVMenuButton* F_PopupMMC_MinBtn = nullptr;
  TQVMenuButton* F_PopupMMC_MaxBtn = nullptr;
  TQVMenuButton* F_PopupMMC_SpeBtn = nullptr;
  TQVMenuButton* F_PopupMMC_CloseBtn = nullptr;
  bool FTitleBarEnabled = false;
  float FFormOpacity = 0;
  std::unique_ptr<TBitmap> FLogoBitmap;
  std::unique_ptr<TBitmap> FToolMinBitmap;
  std::unique_ptr<TBitmap> FToolCloseBitmap;
  std::unique_ptr<TBitmap> FToolMaxBitmap;
  std::unique_ptr<TBitmap> FToolRestoreBitmap;
  TCaptionAlignment FCaptionAlignment = TCaptionAlignment::caNone;
  std::string FCaption;
  TAlphaColor FFormColor = 0;
  bool FDefaultFormColor = false;
  TAlphaColor FBorderActiveColor = 0;
  TAlphaColor FBorderDeactiveColor = 0;
  TAlphaColor FFontColor = 0;
  TPoint FScreenXY;
  // The work area FScreenXY is the size of (its origin is where maximising puts the
  // window).
  TRect FWorkArea;
  TRect FDownWindowRectF;
  // The control under the mouse, borrowed while the menu is open.
  TQVTakeOver FTakeOver;
  // The form's window state as last seen, and its bounds when it was last seen normal.
  TWindowState FFollowedWindowState = TWindowState::wsNormal;
  TRect FNormalWindowRect;
  float FRadian = 0;
  bool FDblClicked = false;
  bool FPopupMenuShowed = false;
  bool FWindowStateIsMax = false;
  bool FMMCButtonDowned = false;
  TTitleBarHeight FTitleBarHeight = TTitleBarHeight::thSmallHeight;
  float FTBHeight = 0;
  TToolButtonStyle FToolButtonStyle = TToolButtonStyle::tsText;
  int FPaintBackgroundColorCount = 0;
  bool FSizeGripVisible = false;
  // Made by the form loader, whose text has not said yet whether the bar is shown.
  bool FVisibleUnread = false;
};

namespace qvtitlebar {
// Puts TQVTitleBar on the designer palette page "QVCtrl" and makes it known by name.
void Register();
}  // namespace qvtitlebar

}  // namespace fmx
