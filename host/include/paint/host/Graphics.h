// Brushes, fonts, text settings, bitmaps and path data: the values that primitives
// carry and the canvas draws.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/HeldValue.h"

namespace fmx {

// The family and size a text takes from the default style.
inline const char* const DefaultFontFamily = "DejaVu Sans";
constexpr float DefaultFontSize = 12.0f;
constexpr TAlphaColor DefaultFontColor = 0xFF000000;

// Base of the small value objects whose changes their owner wants to hear about.
class TChangeNotifier : public TPersistent {
 public:
  ~TChangeNotifier() override;
  // The application's handler. A value held as a member of a control tells the control
  // apart (HolderChanged), so setting a handler never cuts the control off.
  const TNotifyEvent& OnChange() const;
  void SetOnChange(TNotifyEvent Value);
  // Freed, or held by a holder that is being freed.
  bool IsDestroying() const { return FFreeQueued || HolderGoing(); }

 protected:
  // Tells the holder, then the handler.
  void Changed();
  // A value held as a member is a subclass that tells its holder here: a control holds
  // several of these, and a stored handler would cost each of them 32 bytes.
  virtual void HolderChanged() {}
  // Whether the holder is being freed (and this value with it): a value that told its
  // holder tells no one else then.
  virtual bool HolderGoing() const { return false; }
  bool QueueFree() override;
  // Stores Value and tells the listeners, unless nothing changes.
  template <class T>
  void Update(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  // While one lives, the value tells nobody: a copy of several fields reports once.
  class TMute {
   public:
    explicit TMute(TChangeNotifier& N) : FNotifier(N), FWasMuted(N.FMuted) { N.FMuted = true; }
    ~TMute() { FNotifier.FMuted = FWasMuted; }
    TMute(const TMute&) = delete;
    TMute& operator=(const TMute&) = delete;

   private:
    TChangeNotifier& FNotifier;
    bool FWasMuted;
  };

 private:
  // The application's handler, kept beside the values that have one (few do) from the
  // first one set until the value goes, so a reference OnChange returned stays valid
  // when the handler is cleared. A held value spends the room on its holder instead.
  TNotifyEvent& Handler() const;
  bool FMuted = false;
  bool FFreeQueued = false;
  bool FHasHandler = false;
};

/// How a shape is filled: a kind (none, solid) and a colour.
class TBrush : public TChangeNotifier {
 public:
  TBrush(TBrushKind AKind, TAlphaColor AColor) : FKind(AKind), FColor(AColor) {}
  TBrushKind Kind() const { return FKind; }
  void SetKind(TBrushKind Value);
  TAlphaColor Color() const { return FColor; }
  void SetColor(TAlphaColor Value);
  void Assign(TPersistent* Source) override;

 private:
  TBrushKind FKind;
  TAlphaColor FColor;
};

/// How a shape's outline is drawn: a brush with a thickness.
class TStrokeBrush : public TBrush {
 public:
  TStrokeBrush(TBrushKind AKind, TAlphaColor AColor) : TBrush(AKind, AColor) {}
  float Thickness() const { return FThickness; }
  void SetThickness(float Value);
  void Assign(TPersistent* Source) override;

 private:
  float FThickness = 1.0f;
};

/// A text font: family, size and style.
class TFont : public TChangeNotifier {
 public:
  TFont() = default;
  TFont(const std::string& AFamily, float ASize, TFontStyles AStyle = {});
  const std::string& Family() const { return *FFamily; }
  void SetFamily(const std::string& Value);
  float Size() const { return FSize; }
  void SetSize(float Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  void Assign(TPersistent* Source) override;
  bool Equals(const TFont& Other) const {
    // One name per family (see FFamily): the same family is the same pointer.
    return FFamily == Other.FFamily && FSize == Other.FSize && FStyle == Other.FStyle;
  }

 private:
  // Every text of a big tree has a font, and the fonts name a handful of families:
  // each keeps a pointer to the one copy of its family's name the process holds.
  static const std::string* FamilyName(const std::string& Name);
  static const std::string* DefaultFamilyName();
  const std::string* FFamily = DefaultFamilyName();
  float FSize = DefaultFontSize;
  TFontStyles FStyle;
};

enum class TTextTrimming : uint8_t { None, Character, Word };

/// How a text is drawn: font, colour, alignment, wrapping and trimming.
class TTextSettings : public TChangeNotifier {
 public:
  TTextSettings() = default;
  ~TTextSettings() override;
  TFont* Font() const { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }
  TAlphaColor FontColor() const { return FFontColor; }
  void SetFontColor(TAlphaColor Value);
  TTextAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(TTextAlign Value);
  TTextAlign VertAlign() const { return FVertAlign; }
  void SetVertAlign(TTextAlign Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TTextTrimming Trimming() const { return FTrimming; }
  void SetTrimming(TTextTrimming Value);
  void Assign(TPersistent* Source) override;

 private:
  // The font's changes are the settings' changes.
  using TSettingsFont = THeldNotifier<TFont, TChangeNotifier, &TTextSettings::Changed>;
  mutable TSettingsFont FFont{this};
  TAlphaColor FFontColor = DefaultFontColor;
  TTextAlign FHorzAlign = TTextAlign::Leading;
  TTextAlign FVertAlign = TTextAlign::Center;
  bool FWordWrap = false;
  TTextTrimming FTrimming = TTextTrimming::None;
};

class EBitmapError : public Exception {
 public:
  using Exception::Exception;
};

// A picture in memory: premultiplied ARGB, one uint32_t a pixel, rows without padding.
class TBitmap : public TChangeNotifier {
 public:
  // Pictures larger than this in either direction are refused.
  static constexpr int MaxSide = 16384;

  TBitmap() = default;
  TBitmap(int AWidth, int AHeight);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }
  // Resizes and clears to transparent; throws EBitmapError for negative or oversized sides.
  void SetSize(int AWidth, int AHeight);
  void Clear(TAlphaColor Color);
  // Pixel access in unpremultiplied 0xAARRGGBB.
  TAlphaColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TAlphaColor Color);
  const std::vector<uint32_t>& Data() const { return FData; }
  uint32_t* Bits() { return FData.data(); }
  const uint32_t* Bits() const { return FData.data(); }
  // Tells the listeners that the pixels were edited in place.
  void NotifyChanged() { Changed(); }
  // Copies another bitmap (nullptr empties this one); always notifies.
  void Assign(TPersistent* Source) override;

  // PNG files and bytes. A failed load throws EBitmapError and leaves the bitmap as it was.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  void LoadFromPngBytes(const std::vector<uint8_t>& Bytes);
  std::vector<uint8_t> SaveToPngBytes() const;

 private:
  void AdoptPixels(int AWidth, int AHeight, std::vector<uint32_t>&& Pixels);
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint32_t> FData;
};

class EPathDataError : public Exception {
 public:
  using Exception::Exception;
};

enum class TPathPointKind { MoveTo, LineTo, CurveTo, Close };

/// One point of a path with the kind of step that reaches it.
struct TPathPoint {
  TPathPointKind Kind;
  TPointF Point;  // for CurveTo: the end point
  TPointF Control1, Control2;
};

// Vector path from SVG path data (M L H V C S Q T A Z, absolute and relative).
class TPathData : public TChangeNotifier {
 public:
  const std::string& Data() const;
  // Parses the whole string first: a malformed one throws EPathDataError naming the
  // offending position, and the path keeps its previous contents.
  void SetData(const std::string& Value);
  const std::vector<TPathPoint>& Points() const;
  bool IsEmpty() const { return Points().empty(); }
  // Bounding box of the end and control points.
  TRectF GetBounds() const;
  void Clear();
  void Assign(TPersistent* Source) override;

 private:
  struct TParsed {
    std::string Data;
    std::vector<TPathPoint> Points;
  };
  // Never changed once made: paths with the same data (a tick on every menu entry)
  // share one parse instead of each keeping its own copy. Null when empty.
  std::shared_ptr<const TParsed> FParsed;
};

// Parses SVG path data into points; throws EPathDataError on malformed input.
std::vector<TPathPoint> ParsePathData(const std::string& Data);

}  // namespace fmx
