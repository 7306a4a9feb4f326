// The host's own classes as stored forms see them: their published properties with
// stored defaults, and their registration by name.
#include "FormText.h"
#include "host/Buttons.h"
#include "host/Controls.h"
#include "host/Effects.h"
#include "host/Forms.h"
#include "host/ImageList.h"
#include "host/Registry.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/Styles.h"
#include "host/Timers.h"

namespace fmx {

namespace {

void DeclareEnums() {
  DeclareEnum<TAlignLayout>({"None", "Top", "Left", "Right", "Bottom", "MostTop", "MostBottom",
                             "MostLeft", "MostRight", "Client", "Contents", "Center", "VertCenter",
                             "HorzCenter"});
  DeclareEnum<TAnchorKind>({"akLeft", "akTop", "akRight", "akBottom"});
  DeclareEnum<TCorner>({"TopLeft", "TopRight", "BottomLeft", "BottomRight"});
  DeclareEnum<TBrushKind>({"None", "Solid", "Gradient", "Bitmap", "Resource"});
  DeclareEnum<TTextAlign>({"Center", "Leading", "Trailing"});
  DeclareEnum<TStyledSetting>({"Family", "Size", "Style", "FontColor", "Other"});
  DeclareEnum<TFontStyle>({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  DeclareEnum<TLineType>({"Diagonal", "Top", "Left", "Bottom", "Right"});
  DeclareEnum<TWindowState>({"wsNormal", "wsMinimized", "wsMaximized"});
  DeclareEnum<TDragMode>({"dmManual", "dmAutomatic"});
  DeclareEnum<TTextTrimming>({"None", "Character", "Word"});
  DeclareEnum<TPathWrapMode>({"Original", "Fit", "Stretch", "Tile"});
  DeclareEnum<TImageWrapMode>({"Original", "Fit", "Stretch", "Tile", "Center", "Place"});
  DeclareEnum<TBiDiMode>(
      {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});
  DeclareEnum<TBorderIcon>({"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  DeclareEnum<TFmxFormBorderStyle>({"None", "Single", "Sizeable", "ToolWindow", "SizeToolWin"});
  DeclareEnum<TFormPosition>({"Designed", "Default", "DefaultPosOnly", "DefaultSizeOnly",
                              "ScreenCenter", "DesktopCenter", "MainFormCenter", "OwnerFormCenter"});
  DeclareEnum<TCanvasQuality>({"SystemDefault", "HighPerformance", "HighQuality"});
  DeclareEnum<TFormStyle>({"Normal", "Popup", "StayOnTop"});
  DeclareEnum<TFormOrientation>({"Portrait", "Landscape", "InvertedPortrait", "InvertedLandscape"});
  DeclareEnum<TStatusBarVisibility>({"VisibleAndOverlap", "VisibleAndNotOverlap", "Invisible"});
  DeclareEnum<TInteractiveGesture>(
      {"Zoom", "Pan", "Rotate", "TwoFingerTap", "PressAndTap", "LongTap", "DoubleTap"});
}

template <class B>
void BoundsProps(B& s) {
  s.Prop("Left", &TBounds::Left, &TBounds::SetLeft, Default(0.0f));
  s.Prop("Top", &TBounds::Top, &TBounds::SetTop, Default(0.0f));
  s.Prop("Right", &TBounds::Right, &TBounds::SetRight, Default(0.0f));
  s.Prop("Bottom", &TBounds::Bottom, &TBounds::SetBottom, Default(0.0f));
}

template <class B>
void BrushProps(B& s, TBrushKind Kind, TAlphaColor Color) {
  s.Prop("Kind", &TBrush::Kind, &TBrush::SetKind, Default(Kind));
  s.Color("Color", &TBrush::Color, &TBrush::SetColor, Default(Color));
}

// The control properties every visual class may publish, in the order classes
// usually publish them.
const std::vector<std::string> kControlCommon = {
    "Align", "Anchors", "ClipChildren", "ClipParent", "Cursor", "DragMode", "EnableDragHighlight",
    "Enabled", "Locked", "Height", "Hint", "HitTest", "Padding", "Opacity", "Margins", "Position",
    "Scale", "Size", "TabOrder", "TabStop", "TouchTargetExpansion", "Visible", "Width",
    "ParentShowHint", "ShowHint"};
const std::vector<std::string> kControlEvents = {
    "OnPainting", "OnPaint", "OnResize", "OnResized", "OnDragEnter", "OnDragLeave", "OnDragOver",
    "OnDragDrop", "OnDragEnd", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp",
    "OnMouseWheel", "OnMouseEnter", "OnMouseLeave"};

template <class B>
void ControlPool(B& c) {
  c.Unpublished();
  c.Prop("Align", &TControl::Align, &TControl::SetAlign, Default(TAlignLayout::None));
  c.Prop("Anchors", &TControl::Anchors, &TControl::SetAnchors,
         Default(TAnchors{TAnchorKind::akLeft, TAnchorKind::akTop}));
  c.Prop("ClipChildren", &TControl::ClipChildren, &TControl::SetClipChildren, Default(false));
  c.Prop("ClipParent", &TControl::ClipParent, &TControl::SetClipParent, Default(false));
  c.Prop("Cursor", &TControl::Cursor, &TControl::SetCursor, Default(0));
  c.Prop("DragMode", &TControl::DragMode, &TControl::SetDragMode, Default(TDragMode::dmManual));
  c.Prop("EnableDragHighlight", &TControl::EnableDragHighlight, &TControl::SetEnableDragHighlight,
         Default(true));
  c.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled, Default(true));
  c.Prop("Locked", &TControl::Locked, &TControl::SetLocked, Default(false));
  c.Prop("Height", &TControl::Height, &TControl::SetHeight, AlwaysWritten);
  c.Prop("Hint", &TControl::Hint, &TControl::SetHint, Default(""));
  c.Prop("HitTest", &TControl::HitTest, &TControl::SetHitTest, Default(true));
  c.Sub("Padding", &TControl::Padding, [](auto& s) { BoundsProps(s); });
  c.Prop("Opacity", &TControl::Opacity, &TControl::SetOpacity, Default(1.0f));
  c.Sub("Margins", &TControl::Margins, [](auto& s) { BoundsProps(s); });
  c.Sub("Position", &TControl::Position, [](auto& s) {
    s.Prop("X", &TPosition::X, &TPosition::SetX, Default(0.0f));
    s.Prop("Y", &TPosition::Y, &TPosition::SetY, Default(0.0f));
  });
  c.Sub("Scale", &TControl::Scale, [](auto& s) {
    s.Prop("X", &TPosition::X, &TPosition::SetX, Default(1.0f));
    s.Prop("Y", &TPosition::Y, &TPosition::SetY, Default(1.0f));
  });
  // Size.Width/Height are read (hand-written files use them) but Width and Height are
  // what is written.
  c.Prop("Size.Width", &TControl::Width, &TControl::SetWidth, NeverWritten);
  c.Prop("Size.Height", &TControl::Height, &TControl::SetHeight, NeverWritten);
  c.Prop("TabOrder", &TControl::TabOrder, &TControl::SetTabOrder, NeverWritten);
  c.Prop("TabStop", &TControl::TabStop, &TControl::SetTabStop, Default(true));
  c.Sub("TouchTargetExpansion", &TControl::TouchTargetExpansion, [](auto& s) { BoundsProps(s); });
  c.Prop("Visible", &TControl::Visible, &TControl::SetVisible, Default(true));
  c.Prop("Width", &TControl::Width, &TControl::SetWidth, AlwaysWritten);
  c.Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, Default(true));
  c.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, Default(false));
  c.Prop("OnPainting", &TControl::OnPainting, &TControl::SetOnPainting, AlwaysWritten);
  c.Prop("OnPaint", &TControl::OnPaint, &TControl::SetOnPaint, AlwaysWritten);
  c.Prop("OnResize", &TControl::OnResize, &TControl::SetOnResize, AlwaysWritten);
  c.Prop("OnResized", &TControl::OnResized, &TControl::SetOnResized, AlwaysWritten);
  c.Prop("OnDragEnter", &TControl::OnDragEnter, &TControl::SetOnDragEnter, AlwaysWritten);
  c.Prop("OnDragLeave", &TControl::OnDragLeave, &TControl::SetOnDragLeave, AlwaysWritten);
  c.Prop("OnDragOver", &TControl::OnDragOver, &TControl::SetOnDragOver, AlwaysWritten);
  c.Prop("OnDragDrop", &TControl::OnDragDrop, &TControl::SetOnDragDrop, AlwaysWritten);
  c.Prop("OnDragEnd", &TControl::OnDragEnd, &TControl::SetOnDragEnd, AlwaysWritten);
  c.Prop("OnClick", &TControl::OnClick, &TControl::SetOnClick, AlwaysWritten);
  c.Prop("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick, AlwaysWritten);
  c.Prop("OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown, AlwaysWritten);
  c.Prop("OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove, AlwaysWritten);
  c.Prop("OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp, AlwaysWritten);
  c.Prop("OnMouseWheel", &TControl::OnMouseWheel, &TControl::SetOnMouseWheel, AlwaysWritten);
  c.Prop("OnMouseEnter", &TControl::OnMouseEnter, &TControl::SetOnMouseEnter, AlwaysWritten);
  c.Prop("OnMouseLeave", &TControl::OnMouseLeave, &TControl::SetOnMouseLeave, AlwaysWritten);
}

template <class B>
void PublishControl(B& c, const std::vector<std::string>& Extra = {}) {
  c.Inherit(kControlCommon);
  if (!Extra.empty()) c.Inherit(Extra);
  c.Inherit(kControlEvents);
}

template <class B>
void TextSettingsProps(B& c, TTextAlign HorzAlign) {
  c.Sub("TextSettings", &TTextControl::TextSettings, [HorzAlign](auto& s) {
    s.Sub("Font", &TTextSettings::Font, [](auto& f) {
      f.Prop("Family", &TFont::Family, &TFont::SetFamily, Default(std::string(DefaultFontFamily)));
      f.Prop("Size", &TFont::Size, &TFont::SetSize, Default(DefaultFontSize));
      f.Prop("Style", &TFont::Style, &TFont::SetStyle, Default(TFontStyles{}));
    });
    s.Color("FontColor", &TTextSettings::FontColor, &TTextSettings::SetFontColor,
            Default(DefaultFontColor));
    s.Prop("HorzAlign", &TTextSettings::HorzAlign, &TTextSettings::SetHorzAlign, Default(HorzAlign));
    s.Prop("VertAlign", &TTextSettings::VertAlign, &TTextSettings::SetVertAlign,
           Default(TTextAlign::Center));
    s.Prop("WordWrap", &TTextSettings::WordWrap, &TTextSettings::SetWordWrap, Default(false));
    s.Prop("Trimming", &TTextSettings::Trimming, &TTextSettings::SetTrimming,
           Default(TTextTrimming::None));
  });
}

// What a form publishes, in the order forms publish it.
const std::vector<std::string> kFormPublished = {
    "Action", "ActiveControl", "BiDiMode", "Border", "BorderIcons", "BorderStyle", "Caption",
    "ClientHeight", "ClientWidth", "Cursor", "Fill", "Height", "Left", "Padding", "Position",
    "Quality", "SystemStatusBar", "StyleBook", "StyleLookup", "Transparency", "Top", "FormStyle",
    "Visible", "WindowState", "Width", "FormFactor", "FormFamily", "FullScreen",
    "ShowFullScreenIcon", "ShowHint", "OnActivate", "OnCreate", "OnClose", "OnCloseQuery",
    "OnDeactivate", "OnDestroy", "OnKeyDown", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp",
    "OnMouseWheel", "OnResize", "OnPaint", "OnShow", "OnHide", "OnFocusChanged",
    "OnVirtualKeyboardShown", "OnVirtualKeyboardHidden", "Touch", "OnGesture", "OnSaveState",
    "OnTap", "OnTouch"};

// The form's settings beyond its window (see Forms.h for which of them the host acts on).
template <class B>
void FormSettingsPool(B& c) {
  using F = TCommonCustomForm;
  // The client area is the whole form, so Width and Height carry it; these are read only.
  c.Prop("ClientHeight", &F::ClientHeight, &F::SetClientHeight, NeverWritten);
  c.Prop("ClientWidth", &F::ClientWidth, &F::SetClientWidth, NeverWritten);
  c.Prop("StyleLookup", &F::StyleLookup, &F::SetStyleLookup, Default(""));
  c.Prop("Action", &F::Action, &F::SetAction, WrittenWhenNotEmpty);
  c.Prop("ActiveControl", &F::ActiveControl, &F::SetActiveControl, WrittenWhenNotEmpty);
  c.Prop("BiDiMode", &F::BiDiMode, &F::SetBiDiMode, Default(TBiDiMode::bdLeftToRight));
  c.Sub("Border", &F::Border, [](auto& s) {
    s.Prop("Styling", &TFormBorder::Styling, &TFormBorder::SetStyling, Default(true));
  });
  c.Prop("BorderIcons", &F::BorderIcons, &F::SetBorderIcons, Default(DefaultBorderIcons));
  c.Prop("BorderStyle", &F::BorderStyle, &F::SetBorderStyle, Default(TFmxFormBorderStyle::Sizeable));
  c.Prop("Cursor", &F::Cursor, &F::SetCursor, Default(0));
  c.Prop("Position", &F::Position, &F::SetPosition, Default(TFormPosition::DefaultPosOnly));
  c.Prop("Quality", &F::Quality, &F::SetQuality, Default(TCanvasQuality::SystemDefault));
  c.Sub("SystemStatusBar", &F::SystemStatusBar, [](auto& s) {
    s.Color("BackgroundColor", &TFormSystemStatusBar::BackgroundColor,
            &TFormSystemStatusBar::SetBackgroundColor, Default(TAlphaColors::Null));
    s.Prop("Visibility", &TFormSystemStatusBar::Visibility, &TFormSystemStatusBar::SetVisibility,
           Default(TStatusBarVisibility::VisibleAndOverlap));
  });
  c.Prop("FormStyle", &F::FormStyle, &F::SetFormStyle, Default(TFormStyle::Normal));
  c.Sub("FormFactor", &F::FormFactor, [](auto& s) {
    s.Prop("Width", &TFormFactor::Width, &TFormFactor::SetWidth, Default(320));
    s.Prop("Height", &TFormFactor::Height, &TFormFactor::SetHeight, Default(480));
    s.Prop("Orientations", &TFormFactor::Orientations, &TFormFactor::SetOrientations,
           Default(TFormOrientations{}));
  });
  c.Prop("FormFamily", &F::FormFamily, &F::SetFormFamily, Default(""));
  c.Prop("FullScreen", &F::FullScreen, &F::SetFullScreen, Default(false));
  c.Prop("ShowFullScreenIcon", &F::ShowFullScreenIcon, &F::SetShowFullScreenIcon, Default(false));
  c.Prop("ShowHint", &F::ShowHint, &F::SetShowHint, Default(true));
  c.Prop("OnCreate", &F::OnCreate, &F::SetOnCreate, AlwaysWritten);
  c.Prop("OnDestroy", &F::OnDestroy, &F::SetOnDestroy, AlwaysWritten);
  c.Prop("OnKeyDown", &F::OnKeyDown, &F::SetOnKeyDown, AlwaysWritten);
  c.Prop("OnKeyUp", &F::OnKeyUp, &F::SetOnKeyUp, AlwaysWritten);
  c.Prop("OnMouseWheel", &F::OnMouseWheel, &F::SetOnMouseWheel, AlwaysWritten);
  c.Prop("OnPaint", &F::OnPaint, &F::SetOnPaint, AlwaysWritten);
  c.Prop("OnShow", &F::OnShow, &F::SetOnShow, AlwaysWritten);
  c.Prop("OnHide", &F::OnHide, &F::SetOnHide, AlwaysWritten);
  c.Prop("OnFocusChanged", &F::OnFocusChanged, &F::SetOnFocusChanged, AlwaysWritten);
  c.Prop("OnVirtualKeyboardShown", &F::OnVirtualKeyboardShown, &F::SetOnVirtualKeyboardShown,
         AlwaysWritten);
  c.Prop("OnVirtualKeyboardHidden", &F::OnVirtualKeyboardHidden, &F::SetOnVirtualKeyboardHidden,
         AlwaysWritten);
  c.Sub("Touch", &F::Touch, [](auto& s) {
    s.Prop("InteractiveGestures", &TTouchManager::InteractiveGestures,
           &TTouchManager::SetInteractiveGestures, Default(TInteractiveGestures{}));
  });
  c.Prop("OnGesture", &F::OnGesture, &F::SetOnGesture, AlwaysWritten);
  c.Prop("OnSaveState", &F::OnSaveState, &F::SetOnSaveState, AlwaysWritten);
  c.Prop("OnTap", &F::OnTap, &F::SetOnTap, AlwaysWritten);
  c.Prop("OnTouch", &F::OnTouch, &F::SetOnTouch, AlwaysWritten);
}

std::vector<uint8_t> StyleText(TStyleBook& B) {
  TStyleCollectionItem* item = B.CurrentItem();
  if (!item || !item->Style()) return {};
  std::string text = WriteComponentToText(item->Style());
  return {text.begin(), text.end()};
}

void DeclareHostClasses() {
  TDeclareClass<TComponent, TComponent>("TComponent", [](auto& c) {
    c.Prop("Tag", &TComponent::Tag, &TComponent::SetTag, Default(intptr_t{0}));
  });
  TDeclareClass<TFmxObject, TComponent>("TFmxObject", [](auto& c) {
    c.Prop("StyleName", &TFmxObject::StyleName, &TFmxObject::SetStyleName, Default(""));
  });
  TDeclareClass<TControl, TFmxObject>("TControl", [](auto& c) { ControlPool(c); });
  TDeclareClass<TPresentedControl, TControl>("TPresentedControl", [](auto&) {});
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
  TDeclareClass<TButton, TTextControl>("TButton", [](auto& c) {
    PublishControl(c, {"StyledSettings", "Text", "TextSettings"});
    TextSettingsProps(c, TTextAlign::Center);
  });
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
  TDeclareClass<TSizeGrip, TControl>("TSizeGrip", [](auto& c) { PublishControl(c); });
  TDeclareClass<TMemo, TPresentedControl>("TMemo", [](auto& c) {
    PublishControl(c);
    c.Prop("Visible", &TControl::Visible, &TControl::SetVisible, Default(false));
    c.Prop("Text", &TMemo::Text, &TMemo::SetText, Default(""));
  });
  TDeclareClass<TFrame, TControl>("TFrame", [](auto& c) { PublishControl(c); });

  TDeclareClass<TCommonCustomForm, TFmxObject>("TCommonCustomForm", [](auto& c) {
    c.Unpublished();
    c.Prop("Caption", &TCommonCustomForm::Caption, &TCommonCustomForm::SetCaption, Default(""));
    c.Sub("Fill", &TCommonCustomForm::Fill,
          [](auto& s) { BrushProps(s, TBrushKind::None, TAlphaColors::White); });
    c.Prop("Height", &TCommonCustomForm::Height, &TCommonCustomForm::SetHeight, AlwaysWritten);
    c.Prop("Left", &TCommonCustomForm::Left, &TCommonCustomForm::SetLeft, AlwaysWritten);
    c.Sub("Padding", &TCommonCustomForm::Padding, [](auto& s) { BoundsProps(s); });
    c.Prop("StyleBook", &TCommonCustomForm::StyleBook, &TCommonCustomForm::SetStyleBook,
           WrittenWhenNotEmpty);
    c.Prop("Transparency", &TCommonCustomForm::Transparency, &TCommonCustomForm::SetTransparency,
           Default(false));
    c.Prop("Top", &TCommonCustomForm::Top, &TCommonCustomForm::SetTop, AlwaysWritten);
    c.Prop("Visible", &TCommonCustomForm::Visible, &TCommonCustomForm::SetVisible, Default(false));
    c.Prop("WindowState", &TCommonCustomForm::WindowState, &TCommonCustomForm::SetWindowState,
           Default(TWindowState::wsNormal));
    c.Prop("Width", &TCommonCustomForm::Width, &TCommonCustomForm::SetWidth, AlwaysWritten);
    c.Prop("OnActivate", &TCommonCustomForm::OnActivate, &TCommonCustomForm::SetOnActivate, AlwaysWritten);
    c.Prop("OnClose", &TCommonCustomForm::OnClose, &TCommonCustomForm::SetOnClose, AlwaysWritten);
    c.Prop("OnCloseQuery", &TCommonCustomForm::OnCloseQuery, &TCommonCustomForm::SetOnCloseQuery,
           AlwaysWritten);
    c.Prop("OnDeactivate", &TCommonCustomForm::OnDeactivate, &TCommonCustomForm::SetOnDeactivate,
           AlwaysWritten);
    c.Prop("OnMouseDown", &TCommonCustomForm::OnMouseDown, &TCommonCustomForm::SetOnMouseDown,
           AlwaysWritten);
    c.Prop("OnMouseMove", &TCommonCustomForm::OnMouseMove, &TCommonCustomForm::SetOnMouseMove,
           AlwaysWritten);
    c.Prop("OnMouseUp", &TCommonCustomForm::OnMouseUp, &TCommonCustomForm::SetOnMouseUp, AlwaysWritten);
    c.Prop("OnResize", &TCommonCustomForm::OnResize, &TCommonCustomForm::SetOnResize, AlwaysWritten);
    FormSettingsPool(c);
  });
  TDeclareClass<TCustomForm, TCommonCustomForm>("TCustomForm", [](auto&) {});
  TDeclareClass<TForm, TCustomForm>("TForm", [](auto& c) { c.Inherit(kFormPublished); });

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
  TDeclareClass<TTimer, TComponent>("TTimer", [](auto& c) {
    c.Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, Default(true));
    c.Prop("Interval", &TTimer::Interval, &TTimer::SetInterval, Default(1000u));
    c.Prop("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer, AlwaysWritten);
  });
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

}  // namespace

void EnsureHostClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  DeclareEnums();
  DeclareHostClasses();
  RegisterClasses({ClassOf<TForm>(), ClassOf<TFrame>(), ClassOf<TLayout>(), ClassOf<TRectangle>(),
                   ClassOf<TLabel>(), ClassOf<TText>(), ClassOf<TImage>(), ClassOf<TPath>(),
                   ClassOf<TLine>(), ClassOf<TGlyph>(), ClassOf<TSizeGrip>(), ClassOf<TMemo>(),
                   ClassOf<TStyleBook>(), ClassOf<TTimer>(), ClassOf<TImageList>(),
                   ClassOf<TButton>(), ClassOf<TShadowEffect>(), ClassOf<TGlowEffect>()});
  RegisterComponents("Standard", {ClassOf<TButton>(), ClassOf<TLabel>(), ClassOf<TMemo>()});
  RegisterComponents("Shapes", {ClassOf<TRectangle>(), ClassOf<TLine>(), ClassOf<TPath>(),
                                ClassOf<TText>()});
  RegisterComponents("Layouts", {ClassOf<TLayout>(), ClassOf<TFrame>()});
  RegisterComponents("Additional", {ClassOf<TImage>(), ClassOf<TGlyph>(), ClassOf<TSizeGrip>()});
  RegisterComponents("System", {ClassOf<TTimer>(), ClassOf<TImageList>(), ClassOf<TStyleBook>()});
  RegisterComponents("Effects", {ClassOf<TShadowEffect>(), ClassOf<TGlowEffect>()});
}

}  // namespace fmx
