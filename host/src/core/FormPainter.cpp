#include "host/FormPainter.h"

#include <cmath>

#include "paint/TextShaping.h"
#include "host/Canvas.h"
#include "host/Forms.h"

namespace fmx {

namespace {
// Painting passes before the form gives up waiting for its paint handlers to settle.
constexpr int kMaxPaintPasses = 4;
}  // namespace

void TFormPainter::Invalidate(const TRectF& R) {
  const TRectF r{std::max(R.Left, 0.0f), std::max(R.Top, 0.0f),
                 std::min(R.Right, static_cast<float>(FForm->Width())),
                 std::min(R.Bottom, static_cast<float>(FForm->Height()))};
  if (r.IsEmpty()) return;
  const bool wasClean = FDirty.IsEmpty();
  ++FInvalidations;
  FDirty.Add(r);
  if (wasClean) Application->Platform()->Invalidate(FForm, r);
}

void TFormPainter::Pass(TCanvas* ACanvas, const TPaintRegion* R) {
  // A paint handler that frees the form takes its children off it, ending the loop.
  TDispatchScope scope;
  TRectF bounds{0, 0, static_cast<float>(FForm->Width()), static_cast<float>(FForm->Height())};
  if (ACanvas != nullptr) {
    ACanvas->SaveState();
    if (R != nullptr) {
      ACanvas->ClipToRects(R->Rects());
      bounds = R->Bounds();
    }
    ACanvas->ClearClipped(FForm->Transparency() ? TAlphaColors::Null : FForm->BackgroundColor());
  }
  const auto& children = FForm->ChildrenList();
  for (size_t i = 0; i < children.size(); ++i) {
    auto* c = fmx::AsControl(children[i]);
    if (c == nullptr || !c->Visible()) continue;
    if (ACanvas != nullptr) {
      const TRectF sub = c->SubtreePaintRect();
      if (!sub.IntersectsWith(bounds)) continue;
      ACanvas->SaveState();
      ACanvas->Translate(c->Position()->X(), c->Position()->Y());
    }
    c->PaintTo(ACanvas);
    if (ACanvas != nullptr) ACanvas->RestoreState();
  }
  if (ACanvas != nullptr) ACanvas->RestoreState();
}

int TFormPainter::PaintAll(TCanvas* ACanvas) {
  TDispatchScope scope;
  int pass = 0;
  while (pass < kMaxPaintPasses) {
    ++pass;
    const uint64_t before = FTreeGeneration, invalidated = FInvalidations;
    // A paint handler that frees the form ends the passes: its children are gone and
    // it invalidates nothing.
    Pass(ACanvas, nullptr);
    // The damage stays recorded: a full paint on some other canvas (a snapshot) does
    // not bring the platform's own picture up to date.
    if (FTreeGeneration == before && FInvalidations == invalidated) break;
  }
  text::FrameDone();
  return pass;
}

int TFormPainter::PaintDirty(TCanvas* ACanvas, TPaintRegion* Painted, bool Full) {
  TDispatchScope scope;
  if (Full) FForm->InvalidateAll();
  int pass = 0;
  // Paint handlers may change what they paint (layout done while painting): what
  // they invalidate is painted in the next pass, until nothing is left.
  while (!FDirty.IsEmpty() && pass < kMaxPaintPasses) {
    ++pass;
    TPaintRegion region = std::move(FDirty);
    FDirty.Clear();
    // With a canvas, one rectangle at a time: under a clip of several rectangles Cairo
    // composites anti-aliased edges through a mask and rounds them differently from an
    // unclipped paint, so the kept picture would drift from a full repaint by a shade.
    // Without one nothing is clipped or skipped, and one pass runs each paint once.
    try {
      // A paint handler that frees the form leaves it without children, and the
      // rest of the region paints only its background on a picture nobody keeps.
      if (ACanvas == nullptr || region.Rects().size() == 1) {
        Pass(ACanvas, &region);
      } else {
        for (const TRectF& r : region.Rects()) {
          TPaintRegion one;
          one.Add(r);
          Pass(ACanvas, &one);
        }
      }
    } catch (...) {
      // A paint handler threw: the damage stays for the next paint.
      for (const TRectF& r : region.Rects()) FDirty.Add(r);
      throw;
    }
    if (Painted != nullptr)
      for (const TRectF& r : region.Rects()) Painted->Add(r);
  }
  // Still changing after the last pass: leave the rest for the next frame rather
  // than spin.
  if (pass > 0) text::FrameDone();
  return pass;
}

namespace {
TRectF PixelBounds(const TRectF& R) {
  return {std::floor(R.Left), std::floor(R.Top), std::ceil(R.Right), std::ceil(R.Bottom)};
}
bool Touches(const TRectF& A, const TRectF& B) {
  return A.Left <= B.Right && B.Left <= A.Right && A.Top <= B.Bottom && B.Top <= A.Bottom;
}
}  // namespace

void TPaintRegion::Add(const TRectF& R) {
  if (!(std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) &&
        std::isfinite(R.Bottom)) ||
      R.IsEmpty())
    return;
  TRectF r = PixelBounds(R);
  // Overlapping or touching rectangles merge into one; merging may make the new one
  // touch others, so go round until none does.
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < FRects.size(); ++i) {
      if (Touches(FRects[i], r)) {
        r = FRects[i].Union(r);
        FRects[i] = FRects.back();
        FRects.pop_back();
        merged = true;
        break;
      }
    }
  }
  FRects.push_back(r);
  if (FRects.size() > MaxRects) {
    TRectF all = Bounds();
    FRects.assign(1, all);
  }
}

TRectF TPaintRegion::Bounds() const {
  if (FRects.empty()) return {};
  TRectF b = FRects.front();
  for (const TRectF& r : FRects) b = b.Union(r);
  return b;
}

float TPaintRegion::Area() const {
  float a = 0;
  for (const TRectF& r : FRects) a += r.Width() * r.Height();
  return a;
}


}  // namespace fmx
