// Private to the host: the property groups that several host classes publish the same
// way, for the stored-form descriptions of ClassDescriptions.cpp and FormProperties.cpp.
#pragma once

#include <string>
#include <vector>

#include "stored/FormText.h"
#include "host/Controls.h"
#include "host/Forms.h"
#include "host/Graphics.h"
#include "host/Registry.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/Styles.h"

namespace fmx::hostprops {

inline void DeclareEnums() {
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
inline const std::vector<std::string> kControlCommon = {
    "Align", "Anchors", "ClipChildren", "ClipParent", "Cursor", "DragMode", "EnableDragHighlight",
    "Enabled", "Locked", "Height", "Hint", "HitTest", "Padding", "Opacity", "Margins", "Position",
    "Scale", "Size", "TabOrder", "TabStop", "TouchTargetExpansion", "Visible", "Width",
    "ParentShowHint", "ShowHint"};
inline const std::vector<std::string> kControlEvents = {
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
inline const std::vector<std::string> kFormPublished = {
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

}  // namespace fmx::hostprops

namespace fmx {
// Each declares its source file's classes for stored forms; EnsureHostClasses calls
// them in this order (a class after its parent).
void DeclareObjectClasses();
void DeclareControlClasses();
void DeclareStdCtrlClasses();
void DeclareShapeClasses();
void DeclareButtonClasses();
void DeclareEffectClasses();
void DeclareFormClasses();
void DeclareStyleClasses();
void DeclareTimerClasses();
void DeclareImageListClasses();
}  // namespace fmx
