// A control that records what the form loader does to it, for the stored-form tests.
#pragma once

#include <string>
#include <vector>

#include "host/Registry.h"
#include "host/StdCtrls.h"

namespace fmx::testing {

struct TProbeEvent {
  std::string What;
  std::string Name;
  TComponentState State;
  int OwnerComponents;  // how much of the tree existed at that moment
};

inline std::vector<TProbeEvent>& ProbeLog() {
  static std::vector<TProbeEvent> log;
  return log;
}

class TProbe : public TLayout {
 public:
  explicit TProbe(TComponent* AOwner) : TLayout(AOwner), FLevel(7) { Record("create"); }

  // Stored default 5, constructor value 7.
  int Level() const { return FLevel; }
  void SetLevel(int Value) {
    if (Value == 666) throw EComponentError("666 is refused");
    FLevel = Value;
    Record("Level");
  }
  const std::string& Note() const { return FNote; }
  void SetNote(const std::string& Value) {
    FNote = Value;
    Record("Note");
  }
  TAlphaColor Tint() const { return FTint; }
  void SetTint(TAlphaColor Value) { FTint = Value; }
  TProbe* Buddy() const { return FBuddy; }
  void SetBuddy(TProbe* Value) { FBuddy = Value; }
  Char Letter() const { return FLetter; }
  void SetLetter(Char Value) { FLetter = Value; }
  TCorners Sides() const { return FSides; }
  void SetSides(TCorners Value) { FSides = Value; }
  const TNotifyEvent& OnPoke() const { return FOnPoke; }
  void SetOnPoke(TNotifyEvent Value) { FOnPoke = std::move(Value); }
  float Ratio() const { return FRatio; }
  void SetRatio(float Value) { FRatio = Value; }

  void Loaded() override {
    Record("Loaded");
    LoadedSawBuddy = FBuddy != nullptr;
    TLayout::Loaded();
  }
  bool LoadedSawBuddy = false;

 private:
  void Record(const std::string& What) {
    ProbeLog().push_back({What, Name(), ComponentState(), Owner() ? Owner()->ComponentCount() : 0});
  }
  int FLevel;
  std::string FNote;
  TAlphaColor FTint = 0xFF112233;
  TProbe* FBuddy = nullptr;
  Char FLetter = u'a';
  TCorners FSides;
  TNotifyEvent FOnPoke;
  float FRatio = 0;
};

// Registers TProbe by name (declared in test_streaming.cpp).
void RegisterProbe();

}  // namespace fmx::testing
