// The form's settings beyond its window: the few the host acts on.
#include "stored/HostProps.h"
#include "host/Forms.h"

namespace fmx {

void TCommonCustomForm::SetStyleLookup(const std::string& Value) {
  if (Value == FStyleLookup) return;
  FStyleLookup = Value;
  InvalidateAll();
}

void TCommonCustomForm::Loaded() {
  TFmxObject::Loaded();
  Fire(FOnCreate);
}

void TCommonCustomForm::BeforeDestruction() {
  // The handler sees the whole form, before any destructor body has run.
  if (FOnDestroy) {
    auto h = std::move(FOnDestroy);
    h(this);
  }
  // Off the application's and the platform's lists now, not when the memory goes: no
  // longer shown, and no longer looking at others' input.
  Application->FormDestroyed(this);
  FVisible = false;
  FMousePreviews.clear();
  FKeyPreviews.clear();
  TFmxObject::BeforeDestruction();
}

void TCommonCustomForm::DoShowOrHide() {
  Fire(FVisible ? FOnShow : FOnHide);
}

const std::vector<std::string>& FormPublishedNames() { return hostprops::kFormPublished; }

// --- stored-form description ------------------------------------------------

void DeclareFormClasses() {
  using namespace hostprops;
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
}

}  // namespace fmx
