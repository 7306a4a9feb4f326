// Text measuring: a layout that shapes a text with a font and reports its extent.
#pragma once

#include <memory>
#include <string>

#include "host/Graphics.h"

namespace fmx {

class TCanvas;

/// A text laid out with Pango: its size, lines and drawing.
class TTextLayout {
 public:
  explicit TTextLayout(TCanvas* ACanvas = nullptr);
  virtual ~TTextLayout();
  TTextLayout(const TTextLayout&) = delete;
  TTextLayout& operator=(const TTextLayout&) = delete;

  void BeginUpdate();
  void EndUpdate();
  TFont* Font() { return &FFont; }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  // No limit by default: a single line is never wrapped.
  TSizeF MaxSize() const { return FMaxSize; }
  void SetMaxSize(TSizeF Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The rectangle the text occupies, from (0, 0).
  TRectF TextRect();

 private:
  void Update();
  TCanvas* FCanvas;
  // Any change of the font invalidates the measured extent.
  void FontChanged() { FDirty = true; }
  THeld<TFont, TTextLayout, &TTextLayout::FontChanged> FFont{this};
  std::string FText;
  TSizeF FMaxSize{1e7f, 1e7f};
  bool FWordWrap = false;
  int FUpdating = 0;
  bool FDirty = true;
  TRectF FTextRect;
};

/// Measures text without a canvas of one's own.
class TCanvasManager {
 public:
  // A canvas kept for measuring text.
  static TCanvas* MeasureCanvas();
};

using TTextLayoutClass = std::unique_ptr<TTextLayout> (*)(TCanvas*);

/// Makes the text layouts controls draw with.
class TTextLayoutManager {
 public:
  // The factory of the layout class that belongs to ACanvas's class.
  static TTextLayoutClass TextLayoutByCanvas(const TCanvas* ACanvas);
};

}  // namespace fmx
