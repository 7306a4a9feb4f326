// Access to the title bar's private tree and state, for the unit tests and the soak.
#pragma once

#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"

namespace fmx {

class TQVTitleBarInspector {
 public:
  explicit TQVTitleBarInspector(TQVTitleBar* T) : t(T) {}
  TQVTitleBar* t;
  TForm* OwnerForm() const { return t->FOwnerF; }
  TStyleBook* StyleBook() const { return t->FStyleB; }
  TRectangle* Tint() const { return t->F_TitleBarBackgroundColor; }
  TRectangle* FormBackground() const { return t->F_FormBackground; }
  TImage* Logo() const { return t->F_Logo; }
  TLayout* CaptionContainer() const { return t->F_CaptionContainer; }
  TLabel* CaptionLabel() const { return t->F_Caption; }
  TLayout* CellMin() const { return t->F_ContainerMin; }
  TLayout* CellMax() const { return t->F_ContainerMax; }
  TLayout* CellClose() const { return t->F_ContainerClose; }
  TRectangle* SurfaceMin() const { return t->F_BackgroundMin; }
  TRectangle* SurfaceMax() const { return t->F_BackgroundMax; }
  TRectangle* SurfaceClose() const { return t->F_BackgroundClose; }
  TLabel* GlyphMin() const { return t->F_TextMin; }
  TLabel* GlyphMax() const { return t->F_TextMax; }
  TLabel* GlyphClose() const { return t->F_TextClose; }
  TImage* ToolMin() const { return t->F_ToolMin; }
  TImage* ToolMax() const { return t->F_ToolMax; }
  TImage* ToolRestore() const { return t->F_ToolRestore; }
  TImage* ToolClose() const { return t->F_ToolClose; }
  TTimer* ActiveTimer() const { return t->F_ActiveTimer.get(); }
  TTimer* MenuTimer() const { return t->F_TimerHidePopupMenuBar.get(); }
  TLayout* StatusBar() const { return t->F_StatusBar; }
  TSizeGrip* SizeGrip() const { return t->F_SizeGrip; }
  float TBHeight() const { return t->FTBHeight; }
  bool WindowStateIsMax() const { return t->FWindowStateIsMax; }
  bool DblClicked() const { return t->FDblClicked; }
  bool MMCButtonDowned() const { return t->FMMCButtonDowned; }
  bool PopupMenuShowed() const { return t->FPopupMenuShowed; }
  void SetPopupMenuShowed(bool v) { t->FPopupMenuShowed = v; }
  TRect DownWindowRect() const { return t->FDownWindowRectF; }
  TPoint ScreenXY() const { return t->FScreenXY; }
  int PaintCount() const { return t->FPaintBackgroundColorCount; }
  TQVMenuBar* SystemMenu() const { return t->F_PopupMMC_MenuBar; }
  TQVMenuButton* RestoreEntry() const { return t->F_PopupMMC_RestoreBtn; }
  TQVMenuButton* MoveEntry() const { return t->F_PopupMMC_MoveBtn; }
  TQVMenuButton* SizeEntry() const { return t->F_PopupMMC_SizeBtn; }
  TQVMenuButton* MinEntry() const { return t->F_PopupMMC_MinBtn; }
  TQVMenuButton* MaxEntry() const { return t->F_PopupMMC_MaxBtn; }
  TQVMenuButton* SeparatorEntry() const { return t->F_PopupMMC_SpeBtn; }
  TQVMenuButton* CloseEntry() const { return t->F_PopupMMC_CloseBtn; }
  // The control whose mouse handlers the open menu has borrowed.
  TControl* TakenOver() const { return t->FTakeOver.Control(); }
  void Paint() { t->Paint(); }
  void TimerActive() { t->__QV_TimerActive(t->F_ActiveTimer.get()); }
};

}  // namespace fmx
