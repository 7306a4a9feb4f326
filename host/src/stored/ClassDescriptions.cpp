// The host's classes as stored forms see them: the published properties of each, in
// declaration order, with what the writer leaves out. EnsureHostClasses (HostClasses.cpp)
// declares them, a class after its parent; the classes themselves know nothing of it.
#include "stored/HostProps.h"
#include "host/Buttons.h"
#include "host/Effects.h"
#include "host/ImageList.h"
#include "host/Objects.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"
#include "host/Timers.h"

namespace fmx {

// --- Objects.h ---------------------------------------------------------------

void DeclareObjectClasses() {
  using namespace hostprops;
  TDeclareClass<TComponent, TComponent>("TComponent", [](auto& c) {
    c.Prop("Tag", &TComponent::Tag, &TComponent::SetTag, Default(intptr_t{0}));
  });
  TDeclareClass<TFmxObject, TComponent>("TFmxObject", [](auto& c) {
    c.Prop("StyleName", &TFmxObject::StyleName, &TFmxObject::SetStyleName, Default(""));
  });
}

// --- Controls.h --------------------------------------------------------------

void DeclareControlClasses() {
  using namespace hostprops;
  TDeclareClass<TControl, TFmxObject>("TControl", [](auto& c) { ControlPool(c); });
  TDeclareClass<TPresentedControl, TControl>("TPresentedControl", [](auto&) {});
}

// --- StdCtrls.h --------------------------------------------------------------

void DeclareStdCtrlClasses() {
  using namespace hostprops;
  TDeclareClass<TTextControl, TPresentedControl>("TTextControl", [](auto& c) {
    c.Unpublished();
    c.Prop("StyledSettings", &TTextControl::StyledSettings, &TTextControl::SetStyledSettings,
           Default(TStyledSettings{}));
    c.Prop("Text", &TTextControl::Text, &TTextControl::SetText, Default(""));
    TextSettingsProps(c, TTextAlign::Leading);
  });
  TDeclareClass<TText, TTextControl>("TText", [](auto& c) {
    PublishControl(c, {"StyledSettings", "Text", "TextSettings"});
    TextSettingsProps(c, TTextAlign::Center);
  });
  TDeclareClass<TLabel, TTextControl>("TLabel", [](auto& c) {
    PublishControl(c, {"StyledSettings", "Text", "TextSettings"});
    c.Prop("HitTest", &TControl::HitTest, &TControl::SetHitTest, Default(false));
    c.Prop("StyledSettings", &TTextControl::StyledSettings, &TTextControl::SetStyledSettings,
           Default(TStyledSettings{TStyledSetting::Family, TStyledSetting::Size,
                                   TStyledSetting::Style, TStyledSetting::FontColor}));
  });
  TDeclareClass<TImage, TControl>("TImage", [](auto& c) {
    PublishControl(c);
    c.Prop("Bitmap", &TImage::Bitmap, &TImage::SetBitmap, WrittenWhenNotEmpty);
    c.Prop("WrapMode", &TImage::WrapMode, &TImage::SetWrapMode, Default(TImageWrapMode::Fit));
  });
  TDeclareClass<TLayout, TControl>("TLayout", [](auto& c) {
    PublishControl(c);
    c.Prop("HitTest", &TControl::HitTest, &TControl::SetHitTest, Default(false));
  });
  TDeclareClass<TGlyph, TControl>("TGlyph", [](auto& c) {
    PublishControl(c);
    c.Prop("Images", &TGlyph::Images, &TGlyph::SetImages, WrittenWhenNotEmpty);
    c.Prop("ImageIndex", &TGlyph::ImageIndex, &TGlyph::SetImageIndex, Default(-1));
    c.Prop("AutoHide", &TGlyph::AutoHide, &TGlyph::SetAutoHide, Default(true));
  });
  TDeclareClass<TSizeGrip, TControl>("TSizeGrip", [](auto& c) { PublishControl(c); });
  TDeclareClass<TMemo, TPresentedControl>("TMemo", [](auto& c) {
    PublishControl(c);
    c.Prop("Visible", &TControl::Visible, &TControl::SetVisible, Default(false));
    c.Prop("Text", &TMemo::Text, &TMemo::SetText, Default(""));
  });
}

// --- Shapes.h ----------------------------------------------------------------

void DeclareShapeClasses() {
  using namespace hostprops;
  TDeclareClass<TShape, TControl>("TShape", [](auto& c) {
    c.Unpublished();
    c.Sub("Fill", &TShape::Fill, [](auto& s) { BrushProps(s, TBrushKind::Solid, 0xFFE0E0E0); });
    c.Sub("Stroke", &TShape::Stroke, [](auto& s) {
      BrushProps(s, TBrushKind::Solid, TAlphaColors::Black);
      s.Prop("Thickness", &TStrokeBrush::Thickness, &TStrokeBrush::SetThickness, Default(1.0f));
    });
  });
  TDeclareClass<TRectangle, TShape>("TRectangle", [](auto& c) {
    PublishControl(c, {"Fill", "Stroke"});
    c.Prop("XRadius", &TRectangle::XRadius, &TRectangle::SetXRadius, Default(0.0f));
    c.Prop("YRadius", &TRectangle::YRadius, &TRectangle::SetYRadius, Default(0.0f));
    c.Prop("Corners", &TRectangle::Corners, &TRectangle::SetCorners, Default(AllCorners));
  });
  TDeclareClass<TPath, TShape>("TPath", [](auto& c) {
    PublishControl(c, {"Fill", "Stroke"});
    c.Sub("Data", &TPath::Data, [](auto& s) {
      s.Prop("Data", &TPathData::Data, &TPathData::SetData, Default(""))
          .SetCheck([](const std::string& d) { ParsePathData(d); });
    });
    c.Prop("WrapMode", &TPath::WrapMode, &TPath::SetWrapMode, Default(TPathWrapMode::Stretch));
  });
  TDeclareClass<TLine, TShape>("TLine", [](auto& c) {
    PublishControl(c, {"Stroke"});
    c.Prop("LineType", &TLine::LineType, &TLine::SetLineType, Default(TLineType::Diagonal));
  });
}

// --- Buttons.h ---------------------------------------------------------------

void DeclareButtonClasses() {
  using namespace hostprops;
  TDeclareClass<TButton, TTextControl>("TButton", [](auto& c) {
    PublishControl(c, {"StyledSettings", "Text", "TextSettings"});
    TextSettingsProps(c, TTextAlign::Center);
  });
}

// --- Effects.h ---------------------------------------------------------------

void DeclareEffectClasses() {
  using namespace hostprops;
  TDeclareClass<TEffect, TFmxObject>("TEffect", [](auto& c) {
    c.Prop("Enabled", &TEffect::Enabled, &TEffect::SetEnabled, Default(true));
  });
  TDeclareClass<TShadowEffect, TEffect>("TShadowEffect", [](auto& c) {
    using T = TShadowEffect;
    c.Prop("Distance", &T::Distance, &T::SetDistance, Default(3.0f));
    c.Prop("Direction", &T::Direction, &T::SetDirection, Default(45.0f));
    c.Prop("Softness", &T::Softness, &T::SetSoftness, Default(0.3f));
    c.Prop("Opacity", &T::Opacity, &T::SetOpacity, Default(0.6f));
    c.Color("ShadowColor", &T::ShadowColor, &T::SetShadowColor, Default(TAlphaColors::Black));
  });
  TDeclareClass<TGlowEffect, TEffect>("TGlowEffect", [](auto& c) {
    using T = TGlowEffect;
    c.Prop("Softness", &T::Softness, &T::SetSoftness, Default(0.4f));
    c.Prop("Opacity", &T::Opacity, &T::SetOpacity, Default(0.9f));
    c.Color("GlowColor", &T::GlowColor, &T::SetGlowColor, Default(TAlphaColor{0xFFFFD700}));
  });
}

// --- Styles.h ----------------------------------------------------------------

namespace {
std::vector<uint8_t> StyleText(TStyleBook& B) {
  TStyleCollectionItem* item = B.CurrentItem();
  if (!item || !item->Style()) return {};
  std::string text = WriteComponentToText(item->Style());
  return {text.begin(), text.end()};
}
}  // namespace

void DeclareStyleClasses() {
  using namespace hostprops;
  TDeclareClass<TStyleBook, TFmxObject>("TStyleBook", [](auto& c) {
    // The style tree travels as the text of its own stored form.
    c.Prop("Resource", StyleText,
           [](TStyleBook& b, const std::vector<uint8_t>& v) {
             LoadStyleBook(&b, std::string_view(reinterpret_cast<const char*>(v.data()), v.size()));
           },
           WrittenWhenNotEmpty)
        .SetCheck([](const std::vector<uint8_t>& v) {
          formtext::ValidateStyleText(
              std::string_view(reinterpret_cast<const char*>(v.data()), v.size()));
        });
  });
}

// --- Timers.h ----------------------------------------------------------------

void DeclareTimerClasses() {
  using namespace hostprops;
  TDeclareClass<TTimer, TComponent>("TTimer", [](auto& c) {
    c.Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, Default(true));
    c.Prop("Interval", &TTimer::Interval, &TTimer::SetInterval, Default(1000u));
    c.Prop("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer, AlwaysWritten);
  });
}

// --- ImageList.h -------------------------------------------------------------

void DeclareImageListClasses() {
  using namespace hostprops;
  TDeclareClass<TBaseImageList, TComponent>("TBaseImageList", [](auto&) {});
  TDeclareClass<TImageList, TBaseImageList>("TImageList", [](auto& c) {
    c.template Collection<TBitmap>(
        "Images",
        {[](TImageList& l) { return l.Count(); },
         [](TImageList& l, int i) { return const_cast<TBitmap*>(l.Bitmap(i)); },
         [](TImageList& l) { l.Clear(); }, [](TImageList& l, TBitmap& b) { l.Add(b); }},
        [](auto& item) {
          item.Prop("Bitmap", [](TBitmap& b) { return &b; }, nullptr, WrittenWhenNotEmpty);
        });
  });
}

}  // namespace fmx
