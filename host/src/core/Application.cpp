#include <algorithm>
#include <cmath>
#include <cstdint>

#include "host/Dialogs.h"
#include "host/Forms.h"

namespace fmx {

namespace {
TApplication& TheApplication() {
  // Never destroyed: forms and timers that outlive main() may still reach it while
  // static destructors run.
  static TApplication* app = new TApplication;
  return *app;
}
}  // namespace

TApplication* const Application = &TheApplication();

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() = default;

TPlatform* TApplication::Platform() {
  // The host names no platform: whoever starts the application chooses one (a window
  // system, or the headless one for tests and for a machine without a display).
  if (!FPlatform)
    throw Exception(
        "no platform installed: install one before the first form or timer "
        "(Application->SetPlatform, or THeadlessPlatform::Install)");
  return FPlatform.get();
}

void TApplication::SetPlatform(std::unique_ptr<TPlatform> APlatform) {
  FPlatform = std::move(APlatform);
}

void TApplication::FormCreated(TCommonCustomForm* AForm) {
  FForms.push_back(AForm);
  if (FMainForm == nullptr) FMainForm = AForm;
  Platform()->FormCreated(AForm);
}

void TApplication::FormDestroyed(TCommonCustomForm* AForm) {
  // Told when the form's freeing begins and again by its destructor: once is enough.
  auto it = std::find(FForms.begin(), FForms.end(), AForm);
  if (it == FForms.end()) return;
  FForms.erase(it);
  if (FPlatform) FPlatform->FormDestroying(AForm);
  if (FMainForm == AForm) FMainForm = nullptr;
}

void TApplication::Run() {
  FTerminated = false;
  Platform()->Run();
}

void ShowMessage(const std::string& AText) { Application->Platform()->ShowMessage(AText); }

// --- platform services ------------------------------------------------------------

namespace {
// Window coordinates are integers; a float beyond their range stops at its end.
int ToWindowCoordinate(float V) {
  if (std::isnan(V)) return 0;
  if (V >= 2147483648.0f) return INT32_MAX;
  if (V <= -2147483648.0f) return INT32_MIN;
  return static_cast<int>(V);
}
}  // namespace

std::vector<TDisplay> TPlatform::Displays() const {
  const TPoint s = ScreenSize();
  const TRect all = TRect::Bounds(0, 0, s.X, s.Y);
  return {TDisplay{0, true, all, all}};
}

TDisplay TPlatform::DisplayOf(const TCommonCustomForm* AForm) const {
  const std::vector<TDisplay> all = Displays();
  if (all.empty()) return {};
  if (AForm == nullptr) return all.front();
  const TRect f = TRect::Bounds(AForm->Left(), AForm->Top(), AForm->Width(), AForm->Height());
  const TDisplay* best = &all.front();
  long long bestArea = 0;
  for (const TDisplay& d : all) {
    const long long w = std::min(f.Right, d.Bounds.Right) - std::max(f.Left, d.Bounds.Left);
    const long long h = std::min(f.Bottom, d.Bounds.Bottom) - std::max(f.Top, d.Bounds.Top);
    if (w > 0 && h > 0 && w * h > bestArea) {
      bestArea = w * h;
      best = &d;
    }
  }
  return *best;
}

void TPlatform::SetWindowRect(TCommonCustomForm* AForm, const TRectF& ARect) {
  ApplyWindowRect(AForm, TRect{ToWindowCoordinate(ARect.Left), ToWindowCoordinate(ARect.Top),
                               ToWindowCoordinate(ARect.Right), ToWindowCoordinate(ARect.Bottom)});
}

TRectF TPlatform::GetWindowRect(TCommonCustomForm* AForm) {
  const float left = static_cast<float>(AForm->Left()), top = static_cast<float>(AForm->Top());
  return {left, top, left + static_cast<float>(AForm->Width()),
          top + static_cast<float>(AForm->Height())};
}

TPlatformServices* TPlatformServices::Current() {
  static TPlatformServices services;
  return &services;
}

template <>
IFMXWindowService* TPlatformServices::GetPlatformService<IFMXWindowService>() const {
  return Application->Platform();
}

}  // namespace fmx
