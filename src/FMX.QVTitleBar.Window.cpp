// The title bar's control of its window: dragging, maximising and restoring,
// minimising and closing, the caption buttons' colours and the activity colours.
#include "FMX.QVTitleBar.h"
#include "FMX.QVTitleBarNames.h"

namespace fmx {

using namespace qvtitlebar;

// --- window control ------------------------------------------------------------

// "The screen" of window control is the work area of the monitor the window is on:
// a maximised window leaves the panels and docks that reserve the screen's edges free,
// and on a second monitor it fills that one.
void TQVTitleBar::__QV_ReadScreenSize() {
  FWorkArea = Screen->DisplayFromForm(FOwnerF.Get()).WorkArea;
  FScreenXY = {FWorkArea.Width(), FWorkArea.Height()};
}

bool TQVTitleBar::__QV_FormFillsScreen() const {
  return FOwnerF->Width() == FScreenXY.X && FOwnerF->Height() == FScreenXY.Y;
}

void TQVTitleBar::__QV_SavePostionAndSizeOfNormalWindow() {
  __QV_ReadScreenSize();
  if (__QV_FormFillsScreen()) return;
  FDownWindowRectF.Left = FOwnerF->Left();
  FDownWindowRectF.Top = FOwnerF->Top();
  FDownWindowRectF.SetHeight(FOwnerF->Height());
  FDownWindowRectF.SetWidth(FOwnerF->Width());
}

namespace {
// Where the window system places windows (a Wayland compositor) the title bar asks for a
// state and the form takes the bounds the window system gives it.
bool WindowSystemPlacesWindows() {
  IFMXWindowService* s = TPlatformServices::Current()->GetPlatformService<IFMXWindowService>();
  return s != nullptr && s->WindowSystemPlacesWindows();
}
}  // namespace

bool TQVTitleBar::__QV_MoveForm(int ALeft, int ATop, int AWidth, int AHeight) {
  // One move, as a window manager makes it. The form's handlers may free the form or
  // this title bar; either way the title bar has no form any more.
  TDispatchScope scope;
  FOwnerF->SetBounds(ALeft, ATop, AWidth, AHeight);
  return FOwnerF != nullptr;
}

void TQVTitleBar::__QV_ShowWindowState(bool Maximised) {
  FWindowStateIsMax = Maximised;
  F_TextMax->SetText(Maximised ? "2" : "1");
  if (FToolButtonStyle == TToolButtonStyle::tsBitmap) {
    F_ToolMax->SetVisible(!Maximised);
    F_ToolRestore->SetVisible(Maximised);
  }
}

bool TQVTitleBar::__QV_WindowMaximized() {
  // The window system hears it first, while the form still has its normal bounds: a
  // window manager keeps those to restore to, and tells panels and tiling that the
  // window is maximised. The form still sizes itself, as it must where none runs.
  TDispatchScope scope;
  FOwnerF->SetWindowState(TWindowState::wsMaximized);
  if (FOwnerF == nullptr) return false;
  FFollowedWindowState = FOwnerF->WindowState();
  if (!WindowSystemPlacesWindows() &&
      !__QV_MoveForm(FWorkArea.Left, FWorkArea.Top, FScreenXY.X, FScreenXY.Y))
    return false;
  __QV_ShowWindowState(true);
  return true;
}

bool TQVTitleBar::__QV_WindowNormal() {
  TDispatchScope scope;
  const bool wasMaximised = FOwnerF->WindowState() == TWindowState::wsMaximized;
  if (wasMaximised) {
    FOwnerF->SetWindowState(TWindowState::wsNormal);
    if (FOwnerF == nullptr) return false;
  }
  FFollowedWindowState = FOwnerF->WindowState();
  // A rectangle saved on a larger monitor (or at a smaller scale) would not fit.
  const TRect r = FitToArea(FDownWindowRectF, FWorkArea);
  if (!WindowSystemPlacesWindows()) {
    if (!__QV_MoveForm(r.Left, r.Top, r.Width(), r.Height())) return false;
  } else if (!wasMaximised) {
    // The window system gives a maximised window its size back; any other keeps its
    // place there and takes only the saved size.
    FOwnerF->SetBounds(FOwnerF->Left(), FOwnerF->Top(), r.Width(), r.Height());
    if (FOwnerF == nullptr) return false;
  }
  __QV_ShowWindowState(false);
  return true;
}

void TQVTitleBar::__QV_FollowWindowState() {
  if (FOwnerF == nullptr || F_TextMax == nullptr) return;
  const TWindowState now = FOwnerF->WindowState(), was = FFollowedWindowState;
  FFollowedWindowState = now;
  const std::string glyph = Trim(F_TextMax->Text());
  if (now == TWindowState::wsNormal && glyph == "1" && !__QV_FormFillsScreen())
    FNormalWindowRect = TRect::Bounds(FOwnerF->Left(), FOwnerF->Top(), FOwnerF->Width(), FOwnerF->Height());
  if (now == was) return;
  // The window manager maximised or restored the window (its menu, a key binding): the
  // indicators and the saved rectangle follow as if the title bar had done it. By the
  // time this runs the form may have the maximised bounds already; the normal ones are
  // those it last had while normal.
  if (now == TWindowState::wsMaximized && glyph == "1") {
    if (FNormalWindowRect.Width() > 0) FDownWindowRectF = FNormalWindowRect;
    __QV_ShowWindowState(true);
  } else if (now == TWindowState::wsNormal && was == TWindowState::wsMaximized && glyph == "2") {
    __QV_ShowWindowState(false);
  }
}

void TQVTitleBar::Click() { TPresentedControl::Click(); }

void TQVTitleBar::DblClick() {
  TPresentedControl::DblClick();
  // The application's handler may have freed the title bar (which then has no form).
  if (FOwnerF == nullptr || F_TextMax == nullptr) return;
  __QV_ReadScreenSize();
  const std::string glyph = Trim(F_TextMax->Text());
  if (glyph == "1") {
    __QV_SavePostionAndSizeOfNormalWindow();
    if (!__QV_FormFillsScreen()) __QV_WindowMaximized();
  } else if (glyph == "2") {
    if (__QV_WindowNormal()) FDblClicked = true;
  }
}

void TQVTitleBar::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  // Freed by the handler: it has no form to move and no menu to show.
  TPresentedControl::MouseDown(Button, Shift, X, Y);
  switch (Button) {
    case TMouseButton::mbLeft:
      if (FOwnerF != nullptr && FTitleBarEnabled) {
        if (!__QV_HideSystemMenu() || FOwnerF == nullptr) return;
        if (FWindowStateIsMax || FDblClicked) {
          FDblClicked = false;
        } else {
          FOwnerF->StartWindowDrag();
        }
      }
      break;
    case TMouseButton::mbRight:
      __QV_ShowTitleBarToolsMenu(Button, Shift, X, Y);
      break;
    case TMouseButton::mbMiddle:
      break;
  }
}

void TQVTitleBar::__QV_MinMaxCloseButton_MouseEnter(TObject* Sender) {
  if (FPopupMenuShowed) return;
  auto* r = dynamic_cast<TRectangle*>(Sender);
  if (r == nullptr) return;
  if (r->Name() == CloseName()) {
    r->Fill()->SetColor(0xFFFF0000);
  } else if (r->Name() == MaxName() || r->Name() == MinName()) {
    r->Fill()->SetColor(kWhite);
    r->SetOpacity(0.3f);
  }
}

void TQVTitleBar::__QV_MinMaxCloseButton_MouseLeave(TObject* Sender) {
  auto* r = dynamic_cast<TRectangle*>(Sender);
  if (r == nullptr) return;
  if (r->Name() == CloseName() || r->Name() == MaxName() || r->Name() == MinName())
    r->Fill()->SetColor(kTransparent);
}

void TQVTitleBar::__QV_MinMaxCloseButton_MouseDown(TObject* Sender, TMouseButton Button,
                                                   TShiftState, float, float) {
  if (!__QV_HideSystemMenu()) return;
  auto* r = dynamic_cast<TRectangle*>(Sender);
  if (r == nullptr || Button != TMouseButton::mbLeft) return;
  FMMCButtonDowned = true;
  if (r->Name() == CloseName()) {
    r->Fill()->SetColor(0xFF8B0000);
  } else if (r->Name() == MaxName()) {
    if (FOwnerF != nullptr) __QV_SavePostionAndSizeOfNormalWindow();
    r->Fill()->SetColor(kWhite);
    r->SetOpacity(0.6f);
  } else if (r->Name() == MinName()) {
    r->Fill()->SetColor(kWhite);
    r->SetOpacity(0.6f);
  }
}

void TQVTitleBar::__QV_MinMaxCloseButton_MouseUp(TObject* Sender, TMouseButton Button,
                                                 TShiftState, float, float) {
  auto* r = dynamic_cast<TRectangle*>(Sender);
  if (FOwnerF == nullptr || r == nullptr || Button != TMouseButton::mbLeft || !FMMCButtonDowned)
    return;
  FMMCButtonDowned = false;
  __QV_ReadScreenSize();
  if (r->Name() == CloseName()) {
    FOwnerF->Close();
  } else if (r->Name() == MaxName()) {
    if (__QV_FormFillsScreen())
      __QV_WindowNormal();
    else
      __QV_WindowMaximized();
  } else if (r->Name() == MinName()) {
    FOwnerF->SetWindowState(TWindowState::wsMinimized);
  }
}

void TQVTitleBar::__QV_TimerActive(TObject*) {
  if (!BothLoadingFlags() && !IsDesigning()) {
    // A minimise or restore by the window manager paints nothing of the title bar.
    if (FOwnerF != nullptr) {
      __QV_ReadScreenSize();
      __QV_FollowWindowState();
    }
    // The form may already have freed the background it holds; the tint is ours.
    if (FOwnerF != nullptr && !FOwnerF->Active()) {
      if (F_FormBackground != nullptr) F_FormBackground->Stroke()->SetColor(FBorderDeactiveColor);
      F_TitleBarBackgroundColor->Fill()->SetColor(FBorderDeactiveColor);
      if (!__QV_HideSystemMenu()) return;
    } else {
      if (F_FormBackground != nullptr) F_FormBackground->Stroke()->SetColor(FBorderActiveColor);
      F_TitleBarBackgroundColor->Fill()->SetColor(kBlack);
    }
  }
  if (IsDestroying()) F_ActiveTimer->SetEnabled(false);
}

}  // namespace fmx
