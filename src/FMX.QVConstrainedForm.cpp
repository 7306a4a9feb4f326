#include "FMX.QVConstrainedForm.h"

#include <cstdint>
#include <string>
#include <vector>

#include "host/Platform.h"
#include "host/Registry.h"

namespace fmx {

namespace {

int Limited(int Value, int Min, int Max) {
  if (Min > 0 && Value < Min) Value = Min;
  if (Max > 0 && Value > Max) Value = Max;
  return Value;
}

// Right and bottom edges are summed in 64 bits: a far-out form must not wrap around.
TRectF WindowRect(int ALeft, int ATop, int AWidth, int AHeight) {
  const int64_t right = int64_t{ALeft} + AWidth, bottom = int64_t{ATop} + AHeight;
  return {static_cast<float>(ALeft), static_cast<float>(ATop), static_cast<float>(right),
          static_cast<float>(bottom)};
}

const TDeclareClass<TQVConstrainedForm, TForm> ConstrainedFormClass(
    "TQVConstrainedForm", [](auto& c) {
      using C = TQVConstraints;
      c.Sub("Constraints", &TQVConstrainedForm::Constraints, [](auto& s) {
        s.Prop("MaxLeft", &C::MaxLeft, &C::SetMaxLeft, Default(0));
        s.Prop("MaxTop", &C::MaxTop, &C::SetMaxTop, Default(0));
        s.Prop("MaxWidth", &C::MaxWidth, &C::SetMaxWidth, Default(0));
        s.Prop("MaxHeight", &C::MaxHeight, &C::SetMaxHeight, Default(0));
        s.Prop("MinLeft", &C::MinLeft, &C::SetMinLeft, Default(0));
        s.Prop("MinTop", &C::MinTop, &C::SetMinTop, Default(0));
        s.Prop("MinWidth", &C::MinWidth, &C::SetMinWidth, Default(0));
        s.Prop("MinHeight", &C::MinHeight, &C::SetMinHeight, Default(0));
      });
      // Constraints first, then what the form re-publishes.
      c.Inherit(FormPublishedNames());
      std::vector<std::string> order{"Constraints"};
      order.insert(order.end(), FormPublishedNames().begin(), FormPublishedNames().end());
      c.Order(order);
    });

}  // namespace

void TQVConstraints::Assign(TPersistent* Source) {
  static const TQVConstraints kNoLimits;
  const TQVConstraints* other = Source == nullptr ? &kNoLimits : dynamic_cast<TQVConstraints*>(Source);
  if (other == nullptr) return TPersistent::Assign(Source);
  FMaxLeft = other->FMaxLeft;
  FMaxTop = other->FMaxTop;
  FMaxWidth = other->FMaxWidth;
  FMaxHeight = other->FMaxHeight;
  FMinLeft = other->FMinLeft;
  FMinTop = other->FMinTop;
  FMinHeight = other->FMinHeight;
  FMinWidth = other->FMinWidth;
}

TQVConstrainedForm::TQVConstrainedForm(TComponent* AOwner) : TForm(AOwner) {}

void TQVConstrainedForm::SetConstraints(TQVConstraints* Value) { FConstraints->Assign(Value); }

void TQVConstrainedForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const TQVConstraints& c = *FConstraints;
  AWidth = Limited(AWidth, c.MinWidth(), c.MaxWidth());
  AHeight = Limited(AHeight, c.MinHeight(), c.MaxHeight());
  ALeft = Limited(ALeft, c.MinLeft(), c.MaxLeft());
  ATop = Limited(ATop, c.MinTop(), c.MaxTop());
  // On every call, also when nothing changes: the window is put where the form says.
  TPlatformServices* services = TPlatformServices::Current();
  if (services->SupportsPlatformService<IFMXWindowService>())
    services->GetPlatformService<IFMXWindowService>()->SetWindowRect(
        this, WindowRect(ALeft, ATop, AWidth, AHeight));
  TForm::SetBounds(ALeft, ATop, AWidth, AHeight);
}

namespace qvconstrainedform {

void Register() { RegisterClass(ClassOf<TQVConstrainedForm>()); }

}  // namespace qvconstrainedform

}  // namespace fmx
