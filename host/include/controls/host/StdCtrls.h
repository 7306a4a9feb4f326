// Text, images, layouts and the other primitive controls.
#pragma once

#include <memory>
#include <string>

#include "host/Controls.h"
#include "host/Graphics.h"
#include "host/ImageList.h"

namespace fmx {

// What TText and TLabel share: a text drawn with text settings, some of which may
// come from the style instead (StyledSettings).
class TTextControl : public TPresentedControl {
 public:
  explicit TTextControl(TComponent* AOwner);
  ~TTextControl() override;

  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  TTextSettings* TextSettings() const { return &FTextSettings; }
  TStyledSettings StyledSettings() const { return FStyledSettings; }
  void SetStyledSettings(TStyledSettings Value);
  TTextAlign TextAlign() const { return FTextSettings.HorzAlign(); }
  void SetTextAlign(TTextAlign Value) { FTextSettings.SetHorzAlign(Value); }
  TTextAlign VertTextAlign() const { return FTextSettings.VertAlign(); }
  void SetVertTextAlign(TTextAlign Value) { FTextSettings.SetVertAlign(Value); }
  bool WordWrap() const { return FTextSettings.WordWrap(); }
  void SetWordWrap(bool Value) { FTextSettings.SetWordWrap(Value); }

  // The settings the text is drawn with: the style's values where StyledSettings
  // says so, the control's own elsewhere.
  TFont ResolvedFont() const;
  TAlphaColor ResolvedFontColor() const;
  // A text longer than its box draws past it.
  TRectF PaintRectLocal() const override;
  // Read as a label: its text.
  void DescribeAccessible(TAccessibleDescription& D) const override;

 protected:
  void Paint() override;

 private:
  std::string FText;
  // A change of the settings may change where the text draws.
  using TControlTextSettings =
      THeldNotifier<TTextSettings, TControl, &TTextControl::PaintExtentChanged>;
  mutable TControlTextSettings FTextSettings{this};
  TStyledSettings FStyledSettings;
};

// A plain text primitive: everything comes from its own text settings.
class TText : public TTextControl {
 public:
  bool InvalidatesItself() const override { return IsExactly<TText>(this); }
  explicit TText(TComponent* AOwner);
};

// A styled label: by default family, size, style and colour come from the style.
class TLabel : public TTextControl {
 public:
  bool InvalidatesItself() const override { return IsExactly<TLabel>(this); }
  explicit TLabel(TComponent* AOwner);
};

enum class TImageWrapMode { Original, Fit, Stretch, Tile, Center, Place };

/// A control that shows a picture.
class TImage : public TControl {
 public:
  bool InvalidatesItself() const override { return IsExactly<TImage>(this); }
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  // Made when first asked for: a picture box of a big tree (an entry's icon column,
  // say) mostly never shows one.
  TBitmap* Bitmap() const;
  // Copies Value (nullptr empties the picture).
  void SetBitmap(TBitmap* Value);
  TImageWrapMode WrapMode() const { return FWrapMode; }
  void SetWrapMode(TImageWrapMode Value);

 protected:
  void Paint() override;

 private:
  // A change of the picture repaints the image.
  using TImageBitmap = THeldNotifier<TBitmap, TControl, &TImage::InvalidatePainted>;
  mutable THeldPtr<TImageBitmap> FBitmap;
  TImageWrapMode FWrapMode = TImageWrapMode::Fit;
};

/// A control that draws nothing: a container for aligning others.
class TLayout : public TControl {
 public:
  bool InvalidatesItself() const override { return IsExactly<TLayout>(this); }
  explicit TLayout(TComponent* AOwner);
};

// One picture of an image list, by index.
class TGlyph : public TControl {
 public:
  bool InvalidatesItself() const override { return IsExactly<TGlyph>(this); }
  explicit TGlyph(TComponent* AOwner);
  ~TGlyph() override;
  TBaseImageList* Images() const;
  void SetImages(TBaseImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // Hide the glyph while it has nothing to show.
  bool AutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value);

 protected:
  void Paint() override;

 private:
  void ImagesChanged();
  // Made with the first image list: most glyphs of a big tree never get one.
  struct TLink;
  std::unique_ptr<TLink> FLink;
  int FImageIndex = -1;
  bool FAutoHide = true;
};

// The grip in a window's corner; dragging it resizes the form.
class TSizeGrip : public TControl {
 public:
  explicit TSizeGrip(TComponent* AOwner);
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;

 protected:
  void Paint() override;

 private:
  bool FDragging = false;
  TPointF FDownAbsolute;
  int FDownWidth = 0, FDownHeight = 0;
};

// A multi-line text editor. This host keeps its text and text settings only; it is
// created hidden.
class TMemo : public TPresentedControl {
 public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) { FText = Value; }
  TTextSettings* TextSettings() const { return &FTextSettings; }
  TStyledSettings StyledSettings() const { return FStyledSettings; }
  void SetStyledSettings(TStyledSettings Value) { FStyledSettings = Value; }

 private:
  std::string FText;
  mutable TTextSettings FTextSettings;
  TStyledSettings FStyledSettings = AllStyledSettings;
};

}  // namespace fmx
