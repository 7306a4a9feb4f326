// The form's settings beyond its window: the few the host acts on.
#include "host/Forms.h"

namespace fmx {

void TCommonCustomForm::SetStyleLookup(const std::string& Value) {
  if (Value == FStyleLookup) return;
  FStyleLookup = Value;
  InvalidateAll();
}

void TCommonCustomForm::Loaded() {
  TFmxObject::Loaded();
  if (FOnCreate) {
    auto h = FOnCreate;
    h(this);
  }
}

void TCommonCustomForm::BeforeDestruction() {
  // The handler sees the whole form, before any destructor body has run.
  if (FOnDestroy) {
    auto h = std::move(FOnDestroy);
    h(this);
  }
  TFmxObject::BeforeDestruction();
}

void TCommonCustomForm::DoShowOrHide() {
  const TNotifyEvent& handler = FVisible ? FOnShow : FOnHide;
  if (handler) {
    auto h = handler;
    h(this);
  }
}

}  // namespace fmx
