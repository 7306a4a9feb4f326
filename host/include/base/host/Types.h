// Basic value types shared by every part of the host framework.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>

namespace fmx {

using Single = float;
using TAlphaColor = uint32_t;  // 0xAARRGGBB
using Char = char16_t;         // one UTF-16 code unit

namespace TAlphaColors {
constexpr TAlphaColor Null = 0x00000000;
constexpr TAlphaColor Black = 0xFF000000;
constexpr TAlphaColor White = 0xFFFFFFFF;
constexpr TAlphaColor Red = 0xFFFF0000;
constexpr TAlphaColor Green = 0xFF008000;
constexpr TAlphaColor Gray = 0xFF808080;
constexpr TAlphaColor Darkred = 0xFF8B0000;
constexpr TAlphaColor Darkgray = 0xFFA9A9A9;
constexpr TAlphaColor Cornflowerblue = 0xFF6495ED;
constexpr TAlphaColor Lightgray = 0xFFD3D3D3;
}  // namespace TAlphaColors

// A small set of enumeration values, the way the framework's property sets behave:
// value semantics, membership tests, union and difference.
// Storage is a parameter: a set kept in every component of a big tree takes a byte.
template <class E, class Storage = uint64_t>
class TSet {
  static_assert(std::is_enum_v<E>);

 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = static_cast<Storage>(bits);
    return s;
  }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint64_t Bits() const { return bits_; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet operator+(E e) const { return FromBits(bits_ | Bit(e)); }
  constexpr TSet operator-(E e) const { return FromBits(bits_ & ~Bit(e)); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Storage Bit(E e) {
    return static_cast<Storage>(Storage{1} << static_cast<unsigned>(e));
  }
  Storage bits_ = 0;
};

/// A point in logical (form) coordinates.
struct TPointF {
  float X = 0, Y = 0;
  constexpr bool operator==(const TPointF&) const = default;
};

/// A size in logical (form) coordinates.
struct TSizeF {
  float Width = 0, Height = 0;
  constexpr bool operator==(const TSizeF&) const = default;
};

/// A rectangle in logical (form) coordinates: left, top, right, bottom.
struct TRectF {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRectF() = default;
  constexpr TRectF(float l, float t, float r, float b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr float Width() const { return Right - Left; }
  constexpr float Height() const { return Bottom - Top; }
  constexpr bool Contains(TPointF p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr bool IsEmpty() const { return !(Right > Left && Bottom > Top); }
  constexpr TRectF Offset(float dx, float dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  // Share some area (touching edges do not count).
  constexpr bool IntersectsWith(const TRectF& R) const {
    return Left < R.Right && R.Left < Right && Top < R.Bottom && R.Top < Bottom;
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  constexpr TRectF Union(const TRectF& R) const {
    if (IsEmpty()) return R;
    if (R.IsEmpty()) return *this;
    return {Left < R.Left ? Left : R.Left, Top < R.Top ? Top : R.Top,
            Right > R.Right ? Right : R.Right, Bottom > R.Bottom ? Bottom : R.Bottom};
  }
  // The common area, or the empty rectangle.
  constexpr TRectF Intersect(const TRectF& R) const {
    const TRectF I{Left > R.Left ? Left : R.Left, Top > R.Top ? Top : R.Top,
                   Right < R.Right ? Right : R.Right, Bottom < R.Bottom ? Bottom : R.Bottom};
    return I.IsEmpty() ? TRectF{} : I;
  }
  constexpr bool operator==(const TRectF&) const = default;
};

/// A point in whole pixels.
struct TPoint {
  int X = 0, Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

/// A rectangle in whole pixels (window bounds).
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  // The rectangle at Left, Top of the given size; an edge beyond the integer range
  // stops at its end instead of wrapping.
  static constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
    return {Left, Top, SaturatedSum(Left, Width), SaturatedSum(Top, Height)};
  }
  static constexpr int SaturatedSum(int A, int B) {
    const int64_t sum = int64_t{A} + B;
    return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : static_cast<int>(sum);
  }
  static constexpr int SaturatedDifference(int A, int B) {
    const int64_t difference = int64_t{A} - B;
    return difference > INT32_MAX   ? INT32_MAX
           : difference < INT32_MIN ? INT32_MIN
                                    : static_cast<int>(difference);
  }
  // Saturating as Bounds does: a window at the end of the range keeps its edges there.
  constexpr int Width() const { return SaturatedDifference(Right, Left); }
  constexpr int Height() const { return SaturatedDifference(Bottom, Top); }
  constexpr void SetWidth(int w) { Right = SaturatedSum(Left, w); }
  constexpr void SetHeight(int h) { Bottom = SaturatedSum(Top, h); }
  constexpr bool operator==(const TRect&) const = default;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum class TAlignLayout {
  None,
  Top,
  Left,
  Right,
  Bottom,
  MostTop,
  MostBottom,
  MostLeft,
  MostRight,
  Client,
  Contents,
  Center,
  VertCenter,
  HorzCenter,
};

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum class TCorner { TopLeft, TopRight, BottomLeft, BottomRight };
using TCorners = TSet<TCorner>;
inline constexpr TCorners AllCorners{TCorner::TopLeft, TCorner::TopRight, TCorner::BottomLeft,
                                     TCorner::BottomRight};

enum class TBrushKind { None, Solid, Gradient, Bitmap, Resource };

enum class TTextAlign : uint8_t { Center, Leading, Trailing };

enum class TStyledSetting { Family, Size, Style, FontColor, Other };
using TStyledSettings = TSet<TStyledSetting>;
inline constexpr TStyledSettings AllStyledSettings{TStyledSetting::Family, TStyledSetting::Size,
                                                   TStyledSetting::Style, TStyledSetting::FontColor,
                                                   TStyledSetting::Other};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum class TLineType { Diagonal, Top, Left, Bottom, Right };

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

enum class TDragMode { dmManual, dmAutomatic };

class TObject;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, float X, float Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, bool& Handled)>;
// Key is a virtual key code (see host/Keys.h), KeyChar the character typed (0 for none).
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, Char& KeyChar, TShiftState Shift)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

// The largest size, and the largest distance from the origin, a control's geometry
// (bounds, position, margins, padding) may take: a million pixels. Far beyond any
// screen, small enough that float sums stay exact to the pixel and that painting
// can turn any length into an integer without overflow.
inline constexpr float kMaxExtent = 1.0e6f;

// Sizes and positions that reach the layout: NaN and negative sizes become 0, NaN
// positions 0, and everything else (infinities too) is bounded by kMaxExtent.
inline float SanitizeSize(float v) { return (std::isnan(v) || v < 0) ? 0.0f : std::min(v, kMaxExtent); }
inline float SanitizeCoord(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, -kMaxExtent, kMaxExtent);
}

}  // namespace fmx
