#include "host/StdCtrls.h"

#include <algorithm>
#include <cmath>

#include "TextShaping.h"
#include "host/Forms.h"

namespace fmx {

// --- text ---------------------------------------------------------------------

TTextControl::TTextControl(TComponent* AOwner)
    : TPresentedControl(AOwner) {
  SetSize(120, 17);
  FTextSettings.SetOnChange([this](TObject*) { PaintExtentChanged(); });
}

TTextControl::~TTextControl() = default;

void TTextControl::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  PaintExtentChanged();
}

void TTextControl::SetStyledSettings(TStyledSettings Value) {
  if (Value == FStyledSettings) return;
  FStyledSettings = Value;
  PaintExtentChanged();
}

TRectF TTextControl::PaintRectLocal() const {
  TRectF r = TPresentedControl::PaintRectLocal();
  if (FText.empty()) return r;
  const TFont font = ResolvedFont();
  if (!(font.Size() > 0) || !std::isfinite(font.Size())) return r;
  const bool wrap = FTextSettings.WordWrap();
  const TSizeF size = text::Measure(font, FText, wrap ? Width() : -1.0f, wrap);
  // Wherever the alignment puts the block, it stays within this much of the box;
  // glyph ink may overhang the logical extent by a fraction of the size.
  const float overX = std::max(0.0f, size.Width - Width()), overY = std::max(0.0f, size.Height - Height());
  const float ink = std::max(2.0f, font.Size() * 0.5f);
  return {r.Left - overX - ink, r.Top - overY - ink, r.Right + overX + ink, r.Bottom + overY + ink};
}

TText::TText(TComponent* AOwner) : TTextControl(AOwner) {
  SetSize(100, 50);
  TextSettings()->SetHorzAlign(TTextAlign::Center);
}

TLabel::TLabel(TComponent* AOwner) : TTextControl(AOwner) {
  SetStyledSettings(TStyledSettings{TStyledSetting::Family, TStyledSetting::Size,
                                    TStyledSetting::Style, TStyledSetting::FontColor});
  SetHitTest(false);
}

// --- images -------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TControl(AOwner) {
  FBitmap.SetOnChange([this](TObject*) { InvalidatePainted(); });
}

TImage::~TImage() = default;

void TImage::SetBitmap(TBitmap* Value) { FBitmap.Assign(Value); }

void TImage::SetWrapMode(TImageWrapMode Value) {
  if (Value == FWrapMode) return;
  FWrapMode = Value;
  InvalidatePainted();
}

TLayout::TLayout(TComponent* AOwner) : TControl(AOwner) { SetHitTest(false); }

TGlyph::TGlyph(TComponent* AOwner) : TControl(AOwner) {
  FLink.SetOnChange([this](TObject*) { ImagesChanged(); });
}

TGlyph::~TGlyph() = default;

void TGlyph::SetImages(TBaseImageList* Value) {
  if (Value == FLink.Images()) return;
  FLink.SetImages(Value);
  ImagesChanged();
}

void TGlyph::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  FLink.SetImageIndex(Value);
  ImagesChanged();
}

void TGlyph::SetAutoHide(bool Value) {
  if (Value == FAutoHide) return;
  FAutoHide = Value;
  ImagesChanged();
}

void TGlyph::ImagesChanged() {
  if (FAutoHide) {
    TBaseImageList* images = FLink.Images();
    const bool has = images != nullptr && FImageIndex >= 0 && FImageIndex < images->Count();
    SetVisible(has);
  }
  InvalidatePainted();
}

// --- size grip ----------------------------------------------------------------

TSizeGrip::TSizeGrip(TComponent* AOwner) : TControl(AOwner) { SetSize(16, 16); }

void TSizeGrip::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft) {
    if (TCommonCustomForm* form = ParentForm()) {
      FDragging = true;
      FDownAbsolute = LocalToAbsolute({X, Y});
      FDownWidth = form->Width();
      FDownHeight = form->Height();
      Capture();
    }
  }
  TControl::MouseDown(Button, Shift, X, Y);
}

void TSizeGrip::MouseMove(TShiftState Shift, float X, float Y) {
  if (FDragging) {
    if (TCommonCustomForm* form = ParentForm()) {
      // The window's top-left corner stays put while it grows, so form coordinates
      // of the pointer measure the drag directly.
      TPointF p = LocalToAbsolute({X, Y});
      int w = FDownWidth + static_cast<int>(std::lround(p.X - FDownAbsolute.X));
      int h = FDownHeight + static_cast<int>(std::lround(p.Y - FDownAbsolute.Y));
      // The form's handlers may free this grip (with the title bar that made it).
      TWeak<TComponent> self(this);
      form->SetBounds(form->Left(), form->Top(), std::max(w, 1), std::max(h, 1));
      if (!self.Alive()) return;
    }
  }
  TControl::MouseMove(Shift, X, Y);
}

void TSizeGrip::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft && FDragging) {
    FDragging = false;
    ReleaseCapture();
  }
  TControl::MouseUp(Button, Shift, X, Y);
}

TMemo::TMemo(TComponent* AOwner) : TPresentedControl(AOwner) { SetVisible(false); }

TMemo::~TMemo() = default;

}  // namespace fmx
