#include "host/platform/headless/Headless.h"

#include <algorithm>
#include <cmath>

#include "host/Canvas.h"

namespace fmx {

THeadlessPlatform::THeadlessPlatform(int ScreenWidth, int ScreenHeight)
    : FScreen{ScreenWidth, ScreenHeight} {}

THeadlessPlatform& THeadlessPlatform::Install(int ScreenWidth, int ScreenHeight) {
  auto platform = std::make_unique<THeadlessPlatform>(ScreenWidth, ScreenHeight);
  if (Application->HasPlatform()) platform->FNow = Application->Platform()->NowMs();
  THeadlessPlatform& ref = *platform;
  Application->SetPlatform(std::move(platform));
  Application->ResetTerminated();
  return ref;
}

THeadlessPlatform* THeadlessPlatform::Current() {
  if (!Application->HasPlatform()) return nullptr;
  return dynamic_cast<THeadlessPlatform*>(Application->Platform());
}

// --- input --------------------------------------------------------------------

void THeadlessPlatform::NotePointer(TCommonCustomForm* Form, TPointF P) {
  const TWindowGesture& g = FRouter.Gesture();
  const bool gesture = Form != nullptr && (g.Dragged() == Form || g.Resized() == Form);
  const TPoint origin =
      gesture ? TPoint{g.Start().Left, g.Start().Top} : TPoint{Form->Left(), Form->Top()};
  FPointer = {static_cast<float>(origin.X) + P.X, static_cast<float>(origin.Y) + P.Y};
  FPointerKnown = true;
}

void THeadlessPlatform::MouseMove(TCommonCustomForm* Form, float X, float Y, TShiftState Shift) {
  // Whatever a handler frees stays readable until this input is done with.
  TDispatchScope scope;
  NotePointer(Form, {X, Y});
  TWindowGesture& g = FRouter.Gesture();
  if (g.Resized() == Form) {
    // The edge is held from the first step of the resize on, not from the press: a
    // press that never moves is a click, and leaves the form's size changes as they are.
    const TWindowEdge edge = g.Edge();
    if (g.Follow(FPointer) == TWindowGesture::TStep::First) {
      FHeldForm = Form;
      FHeldEdge = edge;
    }
    AfterInput();
    return;
  }
  if (FRouter.Buttons().Empty()) FCursor = TInputRouter::CursorFor(TInputRouter::EdgeAt(Form, {X, Y}));
  if (g.Dragged() == Form)
    g.Follow(FPointer);
  else
    FRouter.PointerMove(Form, {X, Y}, Shift);
  AfterInput();
}

void THeadlessPlatform::MouseDown(TCommonCustomForm* Form, TMouseButton Button, float X, float Y,
                                  TShiftState Shift) {
  TDispatchScope scope;
  NotePointer(Form, {X, Y});
  if (Button == TMouseButton::mbLeft && FRouter.Buttons().Empty()) {
    const TWindowEdge edge = TInputRouter::EdgeAt(Form, {X, Y});
    if (edge != TWindowEdge::NoEdge) {
      FRouter.Gesture().BeginResize(Form, edge, FPointer);
      if (FPlacesWindows) ++FResizeRequests;
      FCursor = TInputRouter::CursorFor(edge);
      AfterInput();
      return;
    }
  }
  FPressPointer = FPointer;
  FMoveHanded = false;
  FRouter.PointerDown(Form, Button, {X, Y}, Shift, FNow);
  if (FMoveHanded) {
    // The window system took the pointer for the move: the form hears no release.
    FRouter.ButtonReleasedElsewhere(Button);
    FRouter.CancelTracking(Form);
  }
  AfterInput();
}

void THeadlessPlatform::MouseUp(TCommonCustomForm* Form, TMouseButton Button, float X, float Y,
                                TShiftState Shift) {
  TDispatchScope scope;
  NotePointer(Form, {X, Y});
  TWindowGesture& g = FRouter.Gesture();
  if (g.Resized() != nullptr && Button == TMouseButton::mbLeft) {
    g.End();
    AfterInput();
    return;
  }
  if (g.Dragged() == Form) {
    const TRect start = g.Start();
    g.End();
    if (FMoveHanded) {
      FMoveHanded = false;
      AfterInput();
      return;
    }
    if (Form->Left() != start.Left || Form->Top() != start.Top) {
      // A window that was really dragged: the move eats the release.
      FRouter.ButtonReleasedElsewhere(Button);
      FRouter.CancelTracking(Form);
      AfterInput();
      return;
    }
    // A press that never moved the window still ends in a release (and so can be the
    // first half of a double-click).
  }
  FRouter.PointerUp(Form, Button, {X, Y}, Shift);
  AfterInput();
}

// A form that a handler frees on the way hears nothing more: it has no controls left,
// its own handlers are silent, and the links kept here to it read null.
void THeadlessPlatform::Click(TCommonCustomForm* Form, float X, float Y, TMouseButton Button,
                              TShiftState Shift) {
  TDispatchScope scope;
  MouseMove(Form, X, Y, Shift);
  MouseDown(Form, Button, X, Y, Shift);
  MouseUp(Form, Button, X, Y, Shift);
}

void THeadlessPlatform::DoubleClick(TCommonCustomForm* Form, float X, float Y, TShiftState Shift) {
  TDispatchScope scope;
  FRouter.ForgetPress();
  Click(Form, X, Y, TMouseButton::mbLeft, Shift);
  Click(Form, X, Y, TMouseButton::mbLeft, Shift);
}

void THeadlessPlatform::KeyDown(TCommonCustomForm* Form, uint16_t Key, Char KeyChar,
                                TShiftState Shift) {
  TDispatchScope scope;
  FRouter.KeyDown(Form, Key, KeyChar, Shift);
  AfterInput();
}

void THeadlessPlatform::KeyUp(TCommonCustomForm* Form, uint16_t Key, Char KeyChar,
                              TShiftState Shift) {
  TDispatchScope scope;
  FRouter.KeyUp(Form, Key, KeyChar, Shift);
  AfterInput();
}

void THeadlessPlatform::KeyPress(TCommonCustomForm* Form, uint16_t Key, Char KeyChar,
                                 TShiftState Shift) {
  TDispatchScope scope;
  KeyDown(Form, Key, KeyChar, Shift);
  KeyUp(Form, Key, KeyChar, Shift);
}

void THeadlessPlatform::MouseLeaveWindow(TCommonCustomForm* Form) {
  TDispatchScope scope;
  FPointerKnown = false;
  FRouter.PointerLeft(Form);
  AfterInput();
}

void THeadlessPlatform::DeactivateOthers(TCommonCustomForm* Form) {
  // Deactivation handlers may create or free forms: walk a copy (a freed one hears
  // nothing).
  TDispatchScope scope;
  const std::vector<TCommonCustomForm*> forms = Application->Forms();
  for (TCommonCustomForm* f : forms)
    if (f != Form) f->SetActive(false);
}

void THeadlessPlatform::SetActive(TCommonCustomForm* Form, bool Active) {
  TDispatchScope scope;
  if (Active) DeactivateOthers(Form);
  Form->SetActive(Active);
  AfterInput();
}

void THeadlessPlatform::Advance(uint64_t Ms) {
  TDispatchScope scope;
  const uint64_t target = FNow + Ms;
  // Paint between ticks, as a run loop would between two timer messages.
  Application->Timers().FireDue(target, [this](uint64_t t) {
    if (FAutoPaint) PaintAll();
    FNow = t;
  });
  FNow = target;
  AnswerStateRequests();
  AfterInput();
}

void THeadlessPlatform::AnswerStateRequests() {
  auto pending = std::move(FPendingStates);
  FPendingStates.clear();
  for (auto& [link, state] : pending) {
    TCommonCustomForm* f = link.Get();
    if (f == nullptr || f->WindowState() != state) continue;  // asked for something else since
    TRect r;
    if (state == TWindowState::wsMaximized) {
      r = DisplayOf(f).WorkArea;
    } else {
      auto it = FRestoreBounds.find(f);
      if (it == FRestoreBounds.end()) continue;
      r = it->second;
      FRestoreBounds.erase(it);
    }
    FReportingState = true;
    f->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    FReportingState = false;
  }
}

void THeadlessPlatform::AfterInput() {
  if (FAutoPaint) PaintAll();
  // After painting, which lays out what depends on the new size (the title bar does);
  // what the pointer's new control changes is painted at once.
  bool moved = false;
  FRouter.FollowGeometry([&](TCommonCustomForm* Form, TPointF& P) {
    if (!FPointerKnown) return false;
    moved = true;
    P = {FPointer.X - static_cast<float>(Form->Left()), FPointer.Y - static_cast<float>(Form->Top())};
    return true;
  });
  if (moved && FAutoPaint) PaintAll();
}

// --- windows ------------------------------------------------------------------

void THeadlessPlatform::SetDisplays(std::vector<TDisplay> Displays) {
  FDisplays = std::move(Displays);
  for (size_t i = 0; i < FDisplays.size(); ++i) {
    FDisplays[i].Index = static_cast<int>(i);
    FDisplays[i].Primary = i == 0;
  }
  if (!FDisplays.empty()) FScreen = {FDisplays[0].Bounds.Width(), FDisplays[0].Bounds.Height()};
}

std::vector<TDisplay> THeadlessPlatform::Displays() const {
  if (FDisplays.empty()) return TPlatform::Displays();
  return FDisplays;
}

void THeadlessPlatform::FormWindowStateChanged(TCommonCustomForm* AForm) {
  if (FReportingState) return;
  const TWindowState state = AForm->WindowState();
  // The form asked to be maximised: a window manager keeps the bounds it had.
  if (state == TWindowState::wsMaximized)
    FRestoreBounds[AForm] = TRect::Bounds(AForm->Left(), AForm->Top(), AForm->Width(), AForm->Height());
  if (!FPlacesWindows) return;
  FStateRequests.push_back(state);
  if (state != TWindowState::wsMinimized) FPendingStates.emplace_back(AForm, state);
}

void THeadlessPlatform::ReportWindowState(TCommonCustomForm* Form, TWindowState State) {
  const TWindowState was = Form->WindowState();
  if (State == was) return;
  TWeak<TCommonCustomForm> alive(Form);
  FReportingState = true;
  Form->SetWindowState(State);
  FReportingState = false;
  if (!alive.Alive()) return;
  if (State == TWindowState::wsMaximized) {
    FRestoreBounds[Form] = TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
    const TRect wa = DisplayOf(Form).WorkArea;
    Form->SetBounds(wa.Left, wa.Top, wa.Width(), wa.Height());
  } else if (State == TWindowState::wsNormal && was == TWindowState::wsMaximized) {
    auto it = FRestoreBounds.find(Form);
    if (it != FRestoreBounds.end()) {
      const TRect r = it->second;
      FRestoreBounds.erase(it);
      Form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
  }
  AfterInput();
}

void THeadlessPlatform::StartWindowDrag(TCommonCustomForm* AForm) {
  if (!FRouter.Buttons().Contains(TShiftStateItem::ssLeft)) return;  // nothing to drag with
  if (FPlacesWindows) {
    // The press is handed over as it happens; a double-click's second one stays the form's.
    if (FRouter.LastPressWasDouble()) return;
    FMoveHanded = true;
    ++FMoveRequests;
  }
  // From where the button went down, as the window system's move starts.
  FRouter.Gesture().BeginDrag(AForm, FPressPointer);
}

void THeadlessPlatform::SetWindowRect(TCommonCustomForm* AForm, const TRectF& ARect) {
  ++FWindowServiceCalls;
  FLastWindowServiceRect = ARect;
  TPlatform::SetWindowRect(AForm, ARect);
}

void THeadlessPlatform::ApplyWindowRect(TCommonCustomForm*, const TRect& ARect) {
  ++FWindowRectCalls;
  FLastWindowRect = ARect;
}

void THeadlessPlatform::FormDestroying(TCommonCustomForm* AForm) {
  FPictures.erase(AForm);
  FRestoreBounds.erase(AForm);
  FRouter.Gesture().Forget(AForm);
}

void THeadlessPlatform::FormVisibleChanged(TCommonCustomForm* AForm) {
  if (AForm->Visible()) Invalidate(AForm, {});
  // A shown window takes the focus, as a window manager gives it.
  if (AForm->Visible()) {
    DeactivateOthers(AForm);
    AForm->SetActive(true);
  } else {
    AForm->SetActive(false);
  }
}

void THeadlessPlatform::Invalidate(TCommonCustomForm* AForm, const TRectF&) {
  for (const auto& f : FDirty)
    if (f.Get() == AForm) return;
  FDirty.emplace_back(AForm);
}

void THeadlessPlatform::SetRetainedPainting(bool Value) {
  FRetained = Value;
  if (!Value) FPictures.clear();
}

const TCanvas* THeadlessPlatform::RetainedCanvas(const TCommonCustomForm* Form) const {
  auto it = FPictures.find(Form);
  return it == FPictures.end() ? nullptr : it->second.Canvas.get();
}

const TPaintRegion& THeadlessPlatform::LastPainted(const TCommonCustomForm* Form) const {
  static const TPaintRegion kNothing;
  auto it = FPictures.find(Form);
  return it == FPictures.end() ? kNothing : it->second.LastPainted;
}

void THeadlessPlatform::ShowMessage(const std::string& AText) { FMessages.push_back(AText); }

void THeadlessPlatform::SetDeviceScale(float Value) {
  FDeviceScale = Value >= 0.25f && Value <= 8.0f ? Value : 1.0f;
}

namespace {
// The device pixels of a picture side of Side form pixels.
int DeviceSide(int Side, float Scale) {
  const double pixels = std::ceil(static_cast<double>(Side) * Scale);
  return static_cast<int>(std::clamp(pixels, 1.0, static_cast<double>(TBitmap::MaxSide)));
}
}  // namespace

void THeadlessPlatform::PaintAll() {
  TDispatchScope scope;
  if (FPainting) return;
  FPainting = true;
  // Painting may invalidate again; what it invalidates waits for the next round.
  std::vector<TWeak<TCommonCustomForm>> dirty;
  dirty.swap(FDirty);
  // However the round ends (a paint handler may throw), forms whose paint handlers kept
  // invalidating, or that were not reached, are painted again next time, and the next
  // round can start.
  struct TRoundEnd {
    THeadlessPlatform* Self;
    const std::vector<TWeak<TCommonCustomForm>>& Dirty;
    ~TRoundEnd() {
      for (const auto& link : Dirty)
        if (TCommonCustomForm* f = link.Get(); f != nullptr && !f->DirtyRegion().IsEmpty())
          Self->Invalidate(f, {});
      Self->FPainting = false;
    }
  } roundEnd{this, dirty};
  for (const auto& link : dirty) {
    TCommonCustomForm* f = link.Get();  // null when freed meanwhile
    if (f == nullptr || !f->Visible()) continue;
    if (!FRetained) {
      PaintHeld(f, nullptr, nullptr, false);
      continue;
    }
    TFormPicture& pic = FPictures[f];
    const int w = DeviceSide(f->Width(), FDeviceScale), h = DeviceSide(f->Height(), FDeviceScale);
    bool full = false;
    if (!pic.Canvas || pic.Canvas->Width() != w || pic.Canvas->Height() != h) {
      pic.Canvas = std::make_shared<TCanvas>(w, h);
      pic.Canvas->SetDeviceScale(FDeviceScale);
      full = true;
    }
    pic.LastPainted.Clear();
    const std::shared_ptr<TCanvas> canvas = pic.Canvas;
    TPaintRegion painted;
    PaintHeld(f, canvas.get(), &painted, full);
    if (!FRetained) continue;
    // Kept only if it is still the form's picture: a handler may have replaced it, or
    // freed the form (which takes its picture away).
    if (auto it = FPictures.find(f); it != FPictures.end() && it->second.Canvas == canvas)
      it->second.LastPainted = std::move(painted);
  }
}

void THeadlessPlatform::PaintHeld(TCommonCustomForm* Form, TCanvas* Canvas, TPaintRegion* Painted,
                                  bool Full) {
  const TRect before = TRect::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
  Form->PaintDirty(Canvas, Painted, Full);
  // A form its paint handler freed is no longer held.
  if (FHeldForm != Form) return;
  TInputRouter::KeepOppositeEdges(Form, FHeldEdge, before);
  // The resize is over once its form has painted after the release.
  if (FRouter.Gesture().Resized() == nullptr) FHeldForm = nullptr;
}

std::unique_ptr<TBitmap> THeadlessPlatform::Snapshot(TCommonCustomForm* Form) {
  TCanvas canvas(DeviceSide(Form->Width(), FDeviceScale), DeviceSide(Form->Height(), FDeviceScale));
  canvas.SetDeviceScale(FDeviceScale);
  Form->PaintTo(&canvas);
  auto result = std::make_unique<TBitmap>();
  canvas.CopyTo(*result);
  return result;
}

void THeadlessPlatform::SaveSnapshotPng(TCommonCustomForm* Form, const std::string& FileName) {
  Snapshot(Form)->SaveToFile(FileName);
}

void THeadlessPlatform::Run() {
  // Nothing but timers can happen without injected input: run them until the
  // application ends or no timer is left.
  while (!Application->Terminated()) {
    const uint64_t next = Application->Timers().NextDue();
    if (next == UINT64_MAX) break;
    Advance(next > FNow ? next - FNow : 0);
  }
}

}  // namespace fmx
