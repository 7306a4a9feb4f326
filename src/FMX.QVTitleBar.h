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
  static void SetVisible(TQVTitleBar& Bar, bool Value);
};

enum class TCaptionAlignment { caNone, caLeft, caCenter };
enum class TTitleBarHeight { thSmallHeight, thMiddleHeight, thLargeHeight };
enum class TToolButtonStyle { tsText, tsBitmap };

class TQVTitleBar : public TPresentedControl {
 public:
  explicit TQVTitleBar(TComponent* AOwner);
  ~TQVTitleBar() override;

  void Click() override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // Shows what the stored form said once it is all read (see host/Streaming.h).
  void Loaded() override;

  // Published properties.
  bool TitleBarEnabled() const { return FTitleBarEnabled; }
  void SetTitleBarEnabled(bool Value);
  TAlphaColor FormColor() const { return FFormColor; }
  void SetFormColor(TAlphaColor Value);
  float FormOpacity() const { return FFormOpacity; }
  void SetFormOpacity(float Value);
  TAlphaColor FontColor() const { return FFontColor; }
  void SetFontColor(TAlphaColor Value);
  TCaptionAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TCaptionAlignment Value);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TAlphaColor BorderActiveColor() const { return FBorderActiveColor; }
  void SetBorderActiveColor(TAlphaColor Value);
  TAlphaColor BorderDeactiveColor() const { return FBorderDeactiveColor; }
  void SetBorderDeactiveColor(TAlphaColor Value);
  bool DefaultFormColor() const { return FDefaultFormColor; }
  void SetDefaultFormColor(bool Value);
  float Radian() const { return FRadian; }
  void SetRadian(float Value);
  TTitleBarHeight TitleBarHeight() const { return FTitleBarHeight; }
  void SetTitleBarHeight(TTitleBarHeight Value);
  TBitmap* LogoBitmap() const { return FLogoBitmap.get(); }
  void SetLogoBitmap(TBitmap* Value);
  TBitmap* ToolMinBitmap() const { return FToolMinBitmap.get(); }
  void SetToolMinBitmap(TBitmap* Value);
  TBitmap* ToolMaxBitmap() const { return FToolMaxBitmap.get(); }
  void SetToolMaxBitmap(TBitmap* Value);
  TBitmap* ToolRestoreBitmap() const { return FToolRestoreBitmap.get(); }
  void SetToolRestoreBitmap(TBitmap* Value);
  TBitmap* ToolCloseBitmap() const { return FToolCloseBitmap.get(); }
  void SetToolCloseBitmap(TBitmap* Value);
  TToolButtonStyle ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(TToolButtonStyle Value);
  bool SizeGripVisible() const { return FSizeGripVisible; }
  void SetSizeGripVisible(bool Value);

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Test access to the private tree and state, as the library's own unit tests need it.
  friend class TQVTitleBarInspector;
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
  friend struct TQVTakeOverMouseDown<TQVTitleBar>;
  friend struct TQVTakeOverMouseLeave<TQVTitleBar>;
  using TControlDownHook = TQVTakeOverMouseDown<TQVTitleBar>;
  using TControlLeaveHook = TQVTakeOverMouseLeave<TQVTitleBar>;

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
  // The form's window state as last seen, and its bounds when it was last seen normal.
  TWindowState FFollowedWindowState = TWindowState::wsNormal;
  TRect FNormalWindowRect;
  TWeak<TControl> FControl;
  // Who FControl was, to know its free notification once the link reads null.
  const TComponent* FControlIdentity = nullptr;
  TMouseEvent FControl_OnMouseDownEvent;
  TNotifyEvent FControl_OnMouseLeaveEvent;
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
