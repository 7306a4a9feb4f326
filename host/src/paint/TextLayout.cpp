// Measuring layouts. The result depends only on font, text, width limit and wrapping,
// so it comes from the shared measurement cache; a layout object itself is cheap.
#include "host/TextLayout.h"

#include <cmath>

#include "paint/TextShaping.h"
#include "host/Canvas.h"

namespace fmx {

TTextLayout::TTextLayout(TCanvas* ACanvas) : FCanvas(ACanvas) {}

TTextLayout::~TTextLayout() = default;

void TTextLayout::BeginUpdate() { ++FUpdating; }

void TTextLayout::EndUpdate() {
  if (FUpdating == 0) return;
  if (--FUpdating == 0) Update();
}

void TTextLayout::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  FDirty = true;
}

void TTextLayout::SetMaxSize(TSizeF Value) {
  if (std::isnan(Value.Width) || Value.Width < 0) Value.Width = 0;
  if (std::isnan(Value.Height) || Value.Height < 0) Value.Height = 0;
  if (FMaxSize == Value) return;
  FMaxSize = Value;
  FDirty = true;
}

void TTextLayout::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  FDirty = true;
}

void TTextLayout::Update() {
  // Measuring waits for the first TextRect after the batch, so a batch of changes
  // (or a change made outside one) shapes at most once; nothing to do eagerly.
  (void)FCanvas;
}

TRectF TTextLayout::TextRect() {
  if (FDirty) {
    // An unlimited width (the default) never wraps, whatever WordWrap says.
    const bool Limited = FWordWrap && FMaxSize.Width < 1e6f;
    const TSizeF S = text::Measure(FFont, FText, Limited ? FMaxSize.Width : -1.0f, Limited);
    FTextRect = {0, 0, S.Width, S.Height};
    FDirty = false;
  }
  return FTextRect;
}

TCanvas* TCanvasManager::MeasureCanvas() {
  static TCanvas Canvas(1, 1);
  return &Canvas;
}

namespace {
std::unique_ptr<TTextLayout> MakeTextLayout(TCanvas* ACanvas) {
  return std::make_unique<TTextLayout>(ACanvas);
}
}  // namespace

TTextLayoutClass TTextLayoutManager::TextLayoutByCanvas(const TCanvas* /*ACanvas*/) {
  // Every canvas of this host draws with Cairo and Pango: one layout class fits all.
  return &MakeTextLayout;
}

}  // namespace fmx
