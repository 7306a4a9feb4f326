// Forms, the screen and the application object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Controls.h"
#include "host/FormPainter.h"
#include "host/FormOptions.h"
#include "host/Graphics.h"
#include "host/Platform.h"
#include "host/Timers.h"

namespace fmx {

class TStyleBook;
class TCanvas;

/// What every form is: a window's bounds, state and activity, the root of a control tree, its
/// painting, input and closing.
class TCommonCustomForm : public TFmxObject, public IRoot {
 public:
  explicit TCommonCustomForm(TComponent* AOwner);
  ~TCommonCustomForm() override;
  IRoot* AsRoot() override { return this; }

  // Bounds in screen pixels; all four setters go through SetBounds. A side is 0 to
  // MaxSide: a form is never larger than a picture the host can paint.
  static constexpr int MaxSide = TBitmap::MaxSide;
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  int ClientWidth() const { return FWidth; }
  int ClientHeight() const { return FHeight; }
  TBounds* Padding() const { return &FPadding; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  bool Active() const { return FActive; }
  // Told by the platform when the window gains or loses the focus.
  void SetActive(bool Value);
  // True removes the system frame: a borderless window whose fill is not drawn.
  bool Transparency() const { return FTransparency; }
  void SetTransparency(bool Value);

  // Asks OnCloseQuery, then OnClose; hides (or frees) the form as the action says.
  // Closing the main form ends the application.
  void Close();
  bool CloseQuery();
  // Hands the window to the platform to be moved with the mouse until release.
  void StartWindowDrag();

  TStyleBook* StyleBook() const { return FStyleBook; }
  void SetStyleBook(TStyleBook* Value);
  TBrush* Fill() const { return FFill; }

  const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent Value) { FOnMouseDown = std::move(Value); }
  const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent Value) { FOnMouseUp = std::move(Value); }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent Value) { FOnMouseMove = std::move(Value); }
  const TCloseQueryEvent& OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent Value) { FOnCloseQuery = std::move(Value); }
  const TCloseEvent& OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent Value) { FOnClose = std::move(Value); }
  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent Value) { FOnResize = std::move(Value); }
  const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent Value) { FOnActivate = std::move(Value); }
  const TNotifyEvent& OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent Value) { FOnDeactivate = std::move(Value); }

  // ---- What stored forms carry beyond the window (bodies in FormProperties.cpp) ----
  // Honoured: ClientWidth/ClientHeight (the client area is the whole form; a frame, when
  // there is one, belongs to the platform), StyleLookup (the style object behind the
  // background), OnCreate (once a stored form has been read onto the form), OnDestroy
  // (when the form is freed by delete or by its owner), OnShow and OnHide.
  // Every other member here is stored and read back but nothing acts on it yet, as its
  // comment says.
  void SetClientWidth(int Value) { SetWidth(Value); }
  void SetClientHeight(int Value) { SetHeight(Value); }
  const std::string& StyleLookup() const { return FStyleLookup; }
  void SetStyleLookup(const std::string& Value);
  // Stored only: the host has no action lists.
  TComponent* Action() const { return FAction.Get(); }
  void SetAction(TComponent* Value) { FAction = Value; }
  // Stored only: the host has no keyboard focus yet.
  TControl* ActiveControl() const { return FActiveControl.Get(); }
  void SetActiveControl(TControl* Value) { FActiveControl = Value; }
  // Stored only: text is laid out left to right.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
  // Stored only: whether a window has a frame follows Transparency alone.
  TFormBorder* Border() const { return FBorder.get(); }
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
  TFmxFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFmxFormBorderStyle Value) { FBorderStyle = Value; }
  // Stored only: the platforms keep the system pointer.
  int Cursor() const { return FCursor; }
  void SetCursor(int Value) { FCursor = Value; }
  // Stored only: windows open at the form's bounds.
  TFormPosition Position() const { return FPosition; }
  void SetPosition(TFormPosition Value) { FPosition = Value; }
  // Stored only: Cairo always draws antialiased.
  TCanvasQuality Quality() const { return FQuality; }
  void SetQuality(TCanvasQuality Value) { FQuality = Value; }
  // Stored only: mobile status bars and device families do not exist on the desktop.
  TFormSystemStatusBar* SystemStatusBar() const { return FSystemStatusBar.get(); }
  TFormFactor* FormFactor() const { return FFormFactor.get(); }
  const std::string& FormFamily() const { return FFormFamily; }
  void SetFormFamily(const std::string& Value) { FFormFamily = Value; }
  // Stored only: no platform here keeps windows on top or full screen, and the
  // full-screen caption button exists on macOS only.
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value) { FFormStyle = Value; }
  bool FullScreen() const { return FFullScreen; }
  void SetFullScreen(bool Value) { FFullScreen = Value; }
  bool ShowFullScreenIcon() const { return FShowFullScreenIcon; }
  void SetShowFullScreenIcon(bool Value) { FShowFullScreenIcon = Value; }
  // Stored only: the host shows no hint windows yet.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  const TNotifyEvent& OnCreate() const { return FOnCreate; }
  void SetOnCreate(TNotifyEvent Value) { FOnCreate = std::move(Value); }
  const TNotifyEvent& OnDestroy() const { return FOnDestroy; }
  void SetOnDestroy(TNotifyEvent Value) { FOnDestroy = std::move(Value); }
  const TNotifyEvent& OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
  const TNotifyEvent& OnHide() const { return FOnHide; }
  void SetOnHide(TNotifyEvent Value) { FOnHide = std::move(Value); }
  // Stored only: wheel and paint events do not reach the form's own handlers yet.
  const TMouseWheelEvent& OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent Value) { FOnMouseWheel = std::move(Value); }
  const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent Value) { FOnPaint = std::move(Value); }
  // Stored only: without keyboard focus there is no focus change to report.
  const TNotifyEvent& OnFocusChanged() const { return FOnFocusChanged; }
  void SetOnFocusChanged(TNotifyEvent Value) { FOnFocusChanged = std::move(Value); }
  // Stored only: desktop platforms have no virtual keyboard, no touch screen input and
  // no mobile save-state moment.
  const TVirtualKeyboardEvent& OnVirtualKeyboardShown() const { return FOnVirtualKeyboardShown; }
  void SetOnVirtualKeyboardShown(TVirtualKeyboardEvent Value) { FOnVirtualKeyboardShown = std::move(Value); }
  const TVirtualKeyboardEvent& OnVirtualKeyboardHidden() const { return FOnVirtualKeyboardHidden; }
  void SetOnVirtualKeyboardHidden(TVirtualKeyboardEvent Value) { FOnVirtualKeyboardHidden = std::move(Value); }
  TTouchManager* Touch() const { return FTouch.get(); }
  const TGestureEvent& OnGesture() const { return FOnGesture; }
  void SetOnGesture(TGestureEvent Value) { FOnGesture = std::move(Value); }
  const TNotifyEvent& OnSaveState() const { return FOnSaveState; }
  void SetOnSaveState(TNotifyEvent Value) { FOnSaveState = std::move(Value); }
  const TTapEvent& OnTap() const { return FOnTap; }
  void SetOnTap(TTapEvent Value) { FOnTap = std::move(Value); }
  const TTouchEvent& OnTouch() const { return FOnTouch; }
  void SetOnTouch(TTouchEvent Value) { FOnTouch = std::move(Value); }
  // Raises OnCreate once a stored form has been read onto the form.
  void Loaded() override;
  // ---- end of what stored forms carry beyond the window ----

  // IRoot.
  TControl* Hovered() const override { return FHovered.Get(); }
  TControl* Captured() const override { return FCaptured.Get(); }
  void ControlRemovedFromTree(TFmxObject* AObject) override;
  void ControlHidden(TControl* AControl) override;
  void TreeChanged() override { FPainter.TreeChanged(); }
  void InvalidateAll() override;
  void InvalidateRect(const TRectF& R) override;
  bool IsShowing() const override { return FVisible && !IsDestroying(); }
  void RealignRoot() override { Realign(); }
  void DropDeferredRealign() override { FRealignPending = false; }
  TCommonCustomForm* Form() override { return this; }
  uint64_t TreeGeneration() const { return FPainter.TreeGeneration(); }
  // What needs painting; the platform paints it with PaintDirty.
  const TPaintRegion& DirtyRegion() const { return FPainter.Dirty(); }

  // Keyboard focus: the control that hears keys first (nullptr: the form itself).
  TControl* Focused() const { return FFocused.Get(); }
  void SetFocused(TControl* AControl);
  // Keys from the platform: the focused control first, then OnKeyDown/OnKeyUp of the
  // form unless the control consumed the key (set it to 0).
  void KeyDown(uint16_t& Key, Char& KeyChar, TShiftState Shift);
  void KeyUp(uint16_t& Key, Char& KeyChar, TShiftState Shift);
  const TKeyEvent& OnKeyDown() const { return FOnKeyDown; }
  void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
  const TKeyEvent& OnKeyUp() const { return FOnKeyUp; }
  void SetOnKeyUp(TKeyEvent Value) { FOnKeyUp = std::move(Value); }
  // Library controls that must see the form's keys whatever has the focus (a menu bar
  // takes F10, Alt and its shortcuts) hear them before the focused control and the
  // form's handlers, in the order they were added; a key one of them consumes (sets to
  // 0) goes no further. Held weakly: a freed owner simply drops out. Adding again for
  // the same owner replaces its handlers.
  void AddKeyPreview(TComponent* AOwner, TKeyEvent OnKeyDown, TKeyEvent OnKeyUp);
  void RemoveKeyPreview(TComponent* AOwner);
  // Likewise for mouse presses: an open menu hears every press first, so that a press
  // outside it closes it before the press reaches what is under the mouse. The hovered
  // (or captured) control is already the one under the press; the press then goes on.
  void AddMousePreview(TComponent* AOwner, TMouseEvent OnMouseDown);
  void RemoveMousePreview(TComponent* AOwner);

  // Device pixels per logical pixel of the form's window (2 on a HiDPI screen). The
  // form's coordinates never change with it; only the canvas the platform paints on
  // does.
  float DeviceScale() const { return FDeviceScale; }
  void SetDeviceScale(float Value);

  // The pointer over the form's controls; the input layer's pointer dispatch (see
  // host/PointerDispatch.h) keeps them and routes the mouse to them.
  // The front-most visible, enabled, hit-testable control at a form point.
  TControl* ObjectAtPoint(TPointF P) const;
  void SetHovered(TControl* AControl) { FHovered = AControl; }
  void SetCaptured(TControl* AControl);
  // The form's own mouse events, raised when no control is under the pointer (form
  // coordinates; the form is the sender).
  virtual void FormMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  void FormMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  void FormMouseMove(TShiftState Shift, float X, float Y);
  // The mouse previews hear a press first (see AddMousePreview): false when one freed
  // the form, and the press goes no further.
  bool HasMousePreviews() const { return !FMousePreviews.empty(); }
  bool PreviewMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);

  // Paints the whole form on ACanvas (sized to the form). Paint handlers may change
  // the tree; the form is painted again until nothing changes (a few passes at most).
  // Returns the number of passes.
  int PaintTo(TCanvas* ACanvas);
  // Paints only what was invalidated since the last paint (everything the first time
  // or with Full), on a canvas that keeps the form's pixels from the previous paint;
  // the result equals a full paint. Adds what it painted to Painted (form
  // coordinates), for the platform to present. Returns the number of passes.
  int PaintDirty(TCanvas* ACanvas, TPaintRegion* Painted = nullptr, bool Full = false);
  // Lays the aligned children out again (later, inside a TRealignBatch).
  void Realign();
  // The colour painted behind the children when the form is not transparent.
  TAlphaColor BackgroundColor() const;

 protected:
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  void DoRemoveObject(TFmxObject* AObject) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ChildrenChanged() override;
  virtual void Resize();
  // Raises OnDestroy (FormProperties.cpp).
  void BeforeDestruction() override;
  // Raises OnShow or OnHide after Visible changed.
  void DoShowOrHide();

 private:
  friend class TRealignBatch;
  // Runs one of the form's handlers, unless it has none or the form is being freed: a
  // form on its way out hears no more, so no caller has to ask. The handler runs as a
  // copy, as it may replace or free itself.
  template <class F, class... A>
  void Fire(const F& Handler, A&&... Args) {
    if (!Handler || IsDestroying()) return;
    const F h = Handler;
    h(this, std::forward<A>(Args)...);
  }
  // False when a preview consumed the key or freed the form.
  bool PreviewKey(bool Down, uint16_t& Key, Char& KeyChar, TShiftState Shift);
  struct TKeyPreview {
    TWeak<TComponent> Owner;
    TKeyEvent OnKeyDown, OnKeyUp;
  };
  std::vector<TKeyPreview> FKeyPreviews;
  struct TMousePreview {
    TWeak<TComponent> Owner;
    TMouseEvent OnMouseDown;
  };
  std::vector<TMousePreview> FMousePreviews;
  void RealignDeferred() override;
  int FLeft = 0, FTop = 0, FWidth = 640, FHeight = 480;
  // A change of padding lays the form out again.
  mutable THeld<TBounds, TCommonCustomForm, &TCommonCustomForm::Realign> FPadding{this};
  std::string FCaption;
  bool FVisible = false;
  TWindowState FWindowState = TWindowState::wsNormal;
  bool FActive = false;
  bool FTransparency = false;
  TStyleBook* FStyleBook = nullptr;
  // A change of the fill repaints the whole form, whatever handler the application sets.
  using TFormFill = THeldNotifier<TBrush, TCommonCustomForm, &TCommonCustomForm::InvalidateAll>;
  TFormFill* FFill;
  TWeak<TControl> FHovered;
  TWeak<TControl> FCaptured;
  TWeak<TControl> FFocused;
  bool FRealigning = false;
  bool FRealignPending = false;
  float FDeviceScale = 1.0f;
  TFormPainter FPainter{this};
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TCloseQueryEvent FOnCloseQuery;
  TCloseEvent FOnClose;
  TNotifyEvent FOnResize, FOnActivate, FOnDeactivate;
  // What stored forms carry beyond the window.
  std::string FStyleLookup, FFormFamily;
  TWeak<TComponent> FAction;
  TWeak<TControl> FActiveControl;
  TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
  const std::unique_ptr<TFormBorder> FBorder = std::make_unique<TFormBorder>();
  TBorderIcons FBorderIcons = DefaultBorderIcons;
  TFmxFormBorderStyle FBorderStyle = TFmxFormBorderStyle::Sizeable;
  int FCursor = 0;
  TFormPosition FPosition = TFormPosition::DefaultPosOnly;
  TCanvasQuality FQuality = TCanvasQuality::SystemDefault;
  const std::unique_ptr<TFormSystemStatusBar> FSystemStatusBar = std::make_unique<TFormSystemStatusBar>();
  const std::unique_ptr<TFormFactor> FFormFactor = std::make_unique<TFormFactor>();
  const std::unique_ptr<TTouchManager> FTouch = std::make_unique<TTouchManager>();
  TFormStyle FFormStyle = TFormStyle::Normal;
  bool FFullScreen = false, FShowFullScreenIcon = false, FShowHint = true;
  TNotifyEvent FOnCreate, FOnDestroy, FOnShow, FOnHide, FOnPaint, FOnFocusChanged, FOnSaveState;
  TKeyEvent FOnKeyDown, FOnKeyUp;
  TMouseWheelEvent FOnMouseWheel;
  TVirtualKeyboardEvent FOnVirtualKeyboardShown, FOnVirtualKeyboardHidden;
  TGestureEvent FOnGesture;
  TTapEvent FOnTap;
  TTouchEvent FOnTouch;
};

/// A form with a style book: the class application forms derive from, through TForm.
class TCustomForm : public TCommonCustomForm {
 public:
  explicit TCustomForm(TComponent* AOwner) : TCommonCustomForm(AOwner) {}
};

/// A top-level window: the form applications create, show and store.
class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// A reusable group of controls; a control, not a window.
class TFrame : public TControl {
 public:
  explicit TFrame(TComponent* AOwner);
};

// R made to fit Area: a rectangle larger than Area either way is cut to it and put
// inside it; one that fits is left as it is.
TRect FitToArea(const TRect& R, const TRect& Area);

// What a form publishes to stored forms, in order: the list a form class that
// re-publishes the form's properties names.
const std::vector<std::string>& FormPublishedNames();

/// The screen the forms are on (Screen): its size in form pixels.
class TScreen {
 public:
  int Width() const;
  int Height() const;
  // The monitors and their work areas (see TDisplay); window control uses the work
  // area of the monitor the form is on, not the whole screen.
  int DisplayCount() const;
  TDisplay Displays(int Index) const;
  TDisplay DisplayFromForm(const TCommonCustomForm* AForm) const;
  int FormCount() const;
  TCommonCustomForm* Forms(int Index) const;
};
extern TScreen* const Screen;

/// The application (Application): its platform, forms, main form, timers and event loop.
class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // The platform in use, installed by whoever starts the application (SetPlatform);
  // throws Exception when none is.
  TPlatform* Platform();
  void SetPlatform(std::unique_ptr<TPlatform> APlatform);
  bool HasPlatform() const { return FPlatform != nullptr; }

  TCommonCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCommonCustomForm* AForm) { FMainForm = AForm; }
  const std::vector<TCommonCustomForm*>& Forms() const { return FForms; }

  TTimerQueue& Timers() { return FTimers; }
  uint64_t NowMs() { return Platform()->NowMs(); }

  void Run();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  void ResetTerminated() { FTerminated = false; }

 private:
  friend class TCommonCustomForm;
  void FormCreated(TCommonCustomForm* AForm);
  void FormDestroyed(TCommonCustomForm* AForm);
  std::unique_ptr<TPlatform> FPlatform;
  std::vector<TCommonCustomForm*> FForms;
  TCommonCustomForm* FMainForm = nullptr;
  TTimerQueue FTimers;
  bool FTerminated = false;
};
extern TApplication* const Application;

}  // namespace fmx
