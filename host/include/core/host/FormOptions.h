// The value types of a form's settings beyond its window: reading direction, frame
// options, placement, drawing quality, device information, touch, and the handler types
// of key, gesture, tap, touch and virtual-keyboard events.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/Classes.h"
#include "host/Types.h"

namespace fmx {

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
inline constexpr TBorderIcons DefaultBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize,
                                                 TBorderIcon::biMaximize};
enum class TFmxFormBorderStyle { None, Single, Sizeable, ToolWindow, SizeToolWin };
enum class TFormPosition {
  Designed,
  Default,
  DefaultPosOnly,
  DefaultSizeOnly,
  ScreenCenter,
  DesktopCenter,
  MainFormCenter,
  OwnerFormCenter
};
enum class TCanvasQuality { SystemDefault, HighPerformance, HighQuality };
enum class TFormStyle { Normal, Popup, StayOnTop };
enum class TFormOrientation { Portrait, Landscape, InvertedPortrait, InvertedLandscape };
using TFormOrientations = TSet<TFormOrientation>;
enum class TStatusBarVisibility { VisibleAndOverlap, VisibleAndNotOverlap, Invisible };
enum class TInteractiveGesture { Zoom, Pan, Rotate, TwoFingerTap, PressAndTap, LongTap, DoubleTap };
using TInteractiveGestures = TSet<TInteractiveGesture>;

// Whether the frame follows the style (true) or is the platform's own.
class TFormBorder : public TPersistent {
 public:
  bool Styling() const { return FStyling; }
  void SetStyling(bool Value) { FStyling = Value; }

 private:
  bool FStyling = true;
};

// The device the form was designed for.
class TFormFactor : public TPersistent {
 public:
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }
  TFormOrientations Orientations() const { return FOrientations; }
  void SetOrientations(TFormOrientations Value) { FOrientations = Value; }

 private:
  int FWidth = 320, FHeight = 480;
  TFormOrientations FOrientations;
};

// The status bar a mobile system shows above the form.
class TFormSystemStatusBar : public TPersistent {
 public:
  TAlphaColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TAlphaColor Value) { FBackgroundColor = Value; }
  TStatusBarVisibility Visibility() const { return FVisibility; }
  void SetVisibility(TStatusBarVisibility Value) { FVisibility = Value; }

 private:
  TAlphaColor FBackgroundColor = TAlphaColors::Null;
  TStatusBarVisibility FVisibility = TStatusBarVisibility::VisibleAndOverlap;
};

// The gestures a touch screen delivers to the form.
class TTouchManager : public TPersistent {
 public:
  TInteractiveGestures InteractiveGestures() const { return FInteractiveGestures; }
  void SetInteractiveGestures(TInteractiveGestures Value) { FInteractiveGestures = Value; }

 private:
  TInteractiveGestures FInteractiveGestures;
};

/// What a gesture event tells a form (kept for the designer's event types).
struct TGestureEventInfo {
  int GestureID = 0;
  TPointF Location;
  float Angle = 0;
  int Distance = 0;
};
enum class TTouchAction { None, Up, Down, Move, Cancel };
/// A touch point of a touch event (kept for the designer's event types).
struct TTouch {
  TPointF Location;
};

using TGestureEvent =
    std::function<void(TObject* Sender, const TGestureEventInfo& EventInfo, bool& Handled)>;
using TTapEvent = std::function<void(TObject* Sender, const TPointF& Point)>;
using TTouchEvent =
    std::function<void(TObject* Sender, const std::vector<TTouch>& Touches, TTouchAction Action)>;
using TVirtualKeyboardEvent =
    std::function<void(TObject* Sender, bool KeyboardVisible, const TRect& Bounds)>;

}  // namespace fmx
