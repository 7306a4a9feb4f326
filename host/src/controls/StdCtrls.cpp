#include "host/StdCtrls.h"

#include <algorithm>
#include <cmath>

#include "paint/PaintGeometry.h"
#include "paint/TextShaping.h"
#include "host/Forms.h"

namespace fmx {

// --- text ---------------------------------------------------------------------

TTextControl::TTextControl(TComponent* AOwner)
    : TPresentedControl(AOwner) {
  SetSize(120, 17);
}

TTextControl::~TTextControl() = default;

void TTextControl::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  PaintExtentChanged();
  TAccessibility::Notify(this, TAccessibleEvent::NameChanged);
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

TImage::TImage(TComponent* AOwner) : TControl(AOwner) {}

TImage::~TImage() = default;

TBitmap* TImage::Bitmap() const {
  if (!FBitmap) FBitmap.reset(new TImageBitmap(const_cast<TImage*>(this)));
  return FBitmap.get();
}

void TImage::SetBitmap(TBitmap* Value) {
  // Emptying a picture never made leaves it unmade (it reads empty all the same).
  if (!FBitmap && (Value == nullptr || Value->IsEmpty())) return;
  Bitmap()->Assign(Value);
}

void TImage::SetWrapMode(TImageWrapMode Value) {
  if (Value == FWrapMode) return;
  FWrapMode = Value;
  InvalidatePainted();
}

TLayout::TLayout(TComponent* AOwner) : TControl(AOwner) { SetHitTest(false); }

struct TGlyph::TLink : TImageLink, detail::TObjectMemoryPlaced {};

TGlyph::TGlyph(TComponent* AOwner) : TControl(AOwner) {}

TGlyph::~TGlyph() = default;

TBaseImageList* TGlyph::Images() const { return FLink ? FLink->Images() : nullptr; }

void TGlyph::SetImages(TBaseImageList* Value) {
  if (Value == Images()) return;
  if (!FLink) {
    FLink = std::make_unique<TLink>();
    FLink->SetImageIndex(FImageIndex);
    FLink->SetOnChange([this](TObject*) { ImagesChanged(); });
  }
  FLink->SetImages(Value);
  ImagesChanged();
}

void TGlyph::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (FLink) FLink->SetImageIndex(Value);
  ImagesChanged();
}

void TGlyph::SetAutoHide(bool Value) {
  if (Value == FAutoHide) return;
  FAutoHide = Value;
  ImagesChanged();
}

void TGlyph::ImagesChanged() {
  if (FAutoHide) {
    TBaseImageList* images = Images();
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
  // The form's handlers may free this grip (with the title bar that made it): it then
  // hears nothing more.
  TDispatchScope scope;
  if (FDragging) {
    if (TCommonCustomForm* form = ParentForm()) {
      // The window's top-left corner stays put while it grows, so form coordinates
      // of the pointer measure the drag directly.
      TPointF p = LocalToAbsolute({X, Y});
      int w = FDownWidth + static_cast<int>(std::lround(p.X - FDownAbsolute.X));
      int h = FDownHeight + static_cast<int>(std::lround(p.Y - FDownAbsolute.Y));
      form->SetBounds(form->Left(), form->Top(), std::max(w, 1), std::max(h, 1));
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

// --- painting ---------------------------------------------------------------
// Each Paint draws in local coordinates on Canvas() and does nothing when there is no
// canvas (a paint pass run only for its side effects on layout).

using namespace paintgeometry;

TFont TTextControl::ResolvedFont() const {
  const TFont* Own = FTextSettings.Font();
  const TStyledSettings S = FStyledSettings;
  return TFont(S.Contains(TStyledSetting::Family) ? std::string(DefaultFontFamily) : Own->Family(),
               S.Contains(TStyledSetting::Size) ? DefaultFontSize : Own->Size(),
               S.Contains(TStyledSetting::Style) ? TFontStyles{} : Own->Style());
}

TAlphaColor TTextControl::ResolvedFontColor() const {
  return FStyledSettings.Contains(TStyledSetting::FontColor) ? DefaultFontColor
                                                             : FTextSettings.FontColor();
}

void TTextControl::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || FText.empty()) return;
  const TFont Font = ResolvedFont();
  C->FillText(LocalRect(), FText, FTextSettings.WordWrap(), AbsoluteOpacity(), Font,
              ResolvedFontColor(), FTextSettings.HorzAlign(), FTextSettings.VertAlign());
}

// ---------------------------------------------------------------------------
// Pictures

void TImage::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr || !FBitmap || FBitmap->IsEmpty()) return;
  const TBitmap& B = *FBitmap;
  const auto W = static_cast<float>(B.Width()), H = static_cast<float>(B.Height());
  const TRectF Box = LocalRect();
  const TRectF Src{0, 0, W, H};
  const float Opacity = AbsoluteOpacity();
  switch (FWrapMode) {
    case TImageWrapMode::Fit:
      DrawFitted(C, B, Box, Opacity);
      break;
    case TImageWrapMode::Stretch:
      C->DrawBitmap(B, Src, Box, Opacity);
      break;
    case TImageWrapMode::Original:
      C->DrawBitmap(B, Src, {0, 0, W, H}, Opacity);
      break;
    case TImageWrapMode::Center:
      C->DrawBitmap(B, Src, CentredRect(W, H, Box), Opacity);
      break;
    case TImageWrapMode::Place:
      // Natural size, shrunk (never grown) to fit, centred.
      if (W <= Box.Width() && H <= Box.Height())
        C->DrawBitmap(B, Src, CentredRect(W, H, Box), Opacity);
      else
        DrawFitted(C, B, Box, Opacity);
      break;
    case TImageWrapMode::Tile: {
      // Bounded: a tiny picture in a huge control must not mean millions of draws.
      // Counted in floating point, so no size (however large) is converted to an
      // integer at all.
      const double Tiles = std::ceil(double(Box.Width()) / W) * std::ceil(double(Box.Height()) / H);
      if (!(Tiles <= 4096)) {
        C->DrawBitmap(B, Src, Box, Opacity);
        break;
      }
      C->SaveState();
      C->IntersectClipRect(Box);
      for (float Y = 0; Y < Box.Height(); Y += H)
        for (float X = 0; X < Box.Width(); X += W) C->DrawBitmap(B, Src, {X, Y, X + W, Y + H}, Opacity);
      C->RestoreState();
      break;
    }
  }
}

void TGlyph::Paint() {
  TCanvas* C = Canvas();
  TBaseImageList* List = Images();
  if (C == nullptr || List == nullptr) return;
  const TBitmap* B = List->Bitmap(FImageIndex);
  if (B == nullptr || B->IsEmpty()) return;
  DrawFitted(C, *B, LocalRect(), AbsoluteOpacity());
}

void TSizeGrip::Paint() {
  TCanvas* C = Canvas();
  if (C == nullptr) return;
  // Six dots in a triangle against the bottom-right corner, each with a light
  // highlight below-right of a grey dot, the usual raised look.
  constexpr float Dot = 2, Pitch = 4, Margin = 2;
  const TBrush Shade(TBrushKind::Solid, 0xFF808080);
  const TBrush Light(TBrushKind::Solid, 0xFFFFFFFF);
  const float Opacity = AbsoluteOpacity();
  const float Right = std::floor(Width()) - Margin, Bottom = std::floor(Height()) - Margin;
  for (int Row = 0; Row < 3; ++Row) {
    for (int Col = 0; Col < 3 - Row; ++Col) {
      const float X = Right - Dot - 1 - Col * Pitch;
      const float Y = Bottom - Dot - 1 - Row * Pitch;
      if (X < 0 || Y < 0) continue;
      C->FillRect({X + 1, Y + 1, X + 1 + Dot, Y + 1 + Dot}, 0, 0, AllCorners, Opacity, Light);
      C->FillRect({X, Y, X + Dot, Y + Dot}, 0, 0, AllCorners, Opacity, Shade);
    }
  }
}

// What a screen reader is told (host/Accessibility.h).
void TTextControl::DescribeAccessible(TAccessibleDescription& D) const {
  TPresentedControl::DescribeAccessible(D);
  D.Role = TAccessibleRole::Label;
  D.Name = FText;
}

}  // namespace fmx
