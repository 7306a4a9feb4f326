#include "host/Effects.h"

#include <algorithm>
#include <cmath>

#include "host/Canvas.h"
#include "host/Controls.h"

namespace fmx {

namespace {

// Effects are rare: painting skips looking for them while none exists.
int gLiveEffects = 0;

constexpr float kPixelsPerSoftness = 20;
// Beyond this the blur is wider than any control is worth softening.
constexpr float kMaxSoftness = 9;
constexpr float kMaxDistance = 1000;

float ClampUnit(float V) { return std::isnan(V) ? 0.0f : std::clamp(V, 0.0f, 1.0f); }
float ClampSoftness(float V) { return std::isnan(V) ? 0.0f : std::clamp(V, 0.0f, kMaxSoftness); }

TRectF Inflate(const TRectF& R, float D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

TRectF Union(const TRectF& A, const TRectF& B) {
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

}  // namespace

TEffect::TEffect(TComponent* AOwner) : TFmxObject(AOwner) { ++gLiveEffects; }

TEffect::~TEffect() { --gLiveEffects; }

void TEffect::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed();
}

void TEffect::Changed() {
  if (auto* c = fmx::AsControl(Parent())) c->PaintExtentChanged();
}

void TEffect::ParentChanged() {
  TFmxObject::ParentChanged();
  Changed();
}

void TEffect::PaintEffectsBehind(TControl* AControl, TCanvas* ACanvas) {
  if (gLiveEffects == 0 || AControl == nullptr || ACanvas == nullptr) return;
  const TRectF bounds = AControl->LocalRect();
  const float opacity = AControl->AbsoluteOpacity();
  for (TFmxObject* child : AControl->ChildrenList())
    if (auto* e = dynamic_cast<TEffect*>(child); e != nullptr && e->FEnabled)
      e->PaintBehind(ACanvas, bounds, opacity);
}

// --- shadow ---------------------------------------------------------------------

TShadowEffect::TShadowEffect(TComponent* AOwner) : TEffect(AOwner) {}

void TShadowEffect::SetDistance(float Value) {
  Value = std::isnan(Value) ? 0.0f : std::clamp(Value, -kMaxDistance, kMaxDistance);
  if (Value == FDistance) return;
  FDistance = Value;
  Changed();
}

void TShadowEffect::SetDirection(float Value) {
  if (!std::isfinite(Value)) Value = 0;
  Value = std::fmod(Value, 360.0f);
  if (Value == FDirection) return;
  FDirection = Value;
  Changed();
}

void TShadowEffect::SetSoftness(float Value) {
  Value = ClampSoftness(Value);
  if (Value == FSoftness) return;
  FSoftness = Value;
  Changed();
}

void TShadowEffect::SetOpacity(float Value) {
  Value = ClampUnit(Value);
  if (Value == FOpacity) return;
  FOpacity = Value;
  Changed();
}

void TShadowEffect::SetShadowColor(TAlphaColor Value) {
  if (Value == FShadowColor) return;
  FShadowColor = Value;
  Changed();
}

TRectF TShadowEffect::ShadowRect(const TRectF& Bounds) const {
  const double a = FDirection * M_PI / 180.0;
  return Bounds.Offset(static_cast<float>(FDistance * std::cos(a)),
                       static_cast<float>(FDistance * std::sin(a)));
}

TRectF TShadowEffect::EffectRect(const TRectF& Bounds) const {
  return Union(Bounds, Inflate(ShadowRect(Bounds), FSoftness * kPixelsPerSoftness / 2 + 1));
}

void TShadowEffect::PaintBehind(TCanvas* ACanvas, const TRectF& Bounds, float Opacity) {
  ACanvas->FillSoftRect(ShadowRect(Bounds), FSoftness * kPixelsPerSoftness, FOpacity * Opacity,
                        FShadowColor);
}

// --- glow -----------------------------------------------------------------------

TGlowEffect::TGlowEffect(TComponent* AOwner) : TEffect(AOwner) {}

void TGlowEffect::SetSoftness(float Value) {
  Value = ClampSoftness(Value);
  if (Value == FSoftness) return;
  FSoftness = Value;
  Changed();
}

void TGlowEffect::SetOpacity(float Value) {
  Value = ClampUnit(Value);
  if (Value == FOpacity) return;
  FOpacity = Value;
  Changed();
}

void TGlowEffect::SetGlowColor(TAlphaColor Value) {
  if (Value == FGlowColor) return;
  FGlowColor = Value;
  Changed();
}

TRectF TGlowEffect::EffectRect(const TRectF& Bounds) const {
  return Inflate(Bounds, FSoftness * kPixelsPerSoftness + 1);
}

void TGlowEffect::PaintBehind(TCanvas* ACanvas, const TRectF& Bounds, float Opacity) {
  // The halo's soft edge lies wholly outside the control.
  const float blur = FSoftness * kPixelsPerSoftness;
  ACanvas->FillSoftRect(Inflate(Bounds, blur / 2), blur, FOpacity * Opacity, FGlowColor);
}

}  // namespace fmx
