// Effects: objects placed inside a control that change how the control is drawn. An
// effect takes no part in layout or input; its parent control draws it.
#pragma once

#include "host/Objects.h"

namespace fmx {

class TCanvas;
class TControl;

/// A look added to its parent control's painting (a shadow, a glow).
class TEffect : public TFmxObject {
 public:
  explicit TEffect(TComponent* AOwner);
  ~TEffect() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);

  // The area the effect may paint, given the control's local rectangle: what must be
  // drawn again when the control changes.
  virtual TRectF EffectRect(const TRectF& Bounds) const { return Bounds; }
  // Draws what the effect puts behind the control, in the control's local coordinates,
  // before the control paints itself.
  virtual void PaintBehind(TCanvas* ACanvas, const TRectF& Bounds, float Opacity) {}

  // Draws the enabled effects among AControl's children behind it. Costs nothing while
  // no effect exists.
  static void PaintEffectsBehind(TControl* AControl, TCanvas* ACanvas);

 protected:
  // A property changed: the parent control must be drawn again.
  void Changed();
  void ParentChanged() override;

 private:
  bool FEnabled = true;
};

// A soft shadow of the control's rectangle, offset along Direction.
class TShadowEffect : public TEffect {
 public:
  explicit TShadowEffect(TComponent* AOwner);

  // Offset of the shadow in pixels.
  float Distance() const { return FDistance; }
  void SetDistance(float Value);
  // Degrees, clockwise from the positive x axis (45 is down and to the right).
  float Direction() const { return FDirection; }
  void SetDirection(float Value);
  // 0 gives a hard edge; each unit softens it over 20 more pixels.
  float Softness() const { return FSoftness; }
  void SetSoftness(float Value);
  float Opacity() const { return FOpacity; }
  void SetOpacity(float Value);
  TAlphaColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TAlphaColor Value);

  TRectF EffectRect(const TRectF& Bounds) const override;
  void PaintBehind(TCanvas* ACanvas, const TRectF& Bounds, float Opacity) override;

 private:
  TRectF ShadowRect(const TRectF& Bounds) const;
  float FDistance = 3;
  float FDirection = 45;
  float FSoftness = 0.3f;
  float FOpacity = 0.6f;
  TAlphaColor FShadowColor = 0xFF000000;
};

// A soft halo of colour around the control's rectangle.
class TGlowEffect : public TEffect {
 public:
  explicit TGlowEffect(TComponent* AOwner);

  float Softness() const { return FSoftness; }
  void SetSoftness(float Value);
  float Opacity() const { return FOpacity; }
  void SetOpacity(float Value);
  TAlphaColor GlowColor() const { return FGlowColor; }
  void SetGlowColor(TAlphaColor Value);

  TRectF EffectRect(const TRectF& Bounds) const override;
  void PaintBehind(TCanvas* ACanvas, const TRectF& Bounds, float Opacity) override;

 private:
  float FSoftness = 0.4f;
  float FOpacity = 0.9f;
  TAlphaColor FGlowColor = 0xFFFFD700;
};

}  // namespace fmx
