#include "host/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <typeinfo>

namespace fmx {

namespace {
thread_local TComponentState gPendingState;

bool IsValidIdent(const std::string& s) {
  if (s.empty()) return false;
  auto alpha = [](unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; };
  if (!alpha(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(), [&](char ch) {
    auto c = static_cast<unsigned char>(ch);
    return alpha(c) || std::isdigit(c);
  });
}
}  // namespace

void TObject::operator delete(TObject* p, std::destroying_delete_t) {
  // The most-derived address is where the allocation starts.
  void* block = dynamic_cast<void*>(p);
  p->BeforeDestruction();
  p->~TObject();
  ::operator delete(block);
}

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = (status == 0 && demangled) ? demangled : mangled;
  std::free(demangled);
  auto pos = name.rfind("::");
  return pos == std::string::npos ? name : name.substr(pos + 2);
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " +
                      (Dest ? Dest->ClassName() : std::string("nil")));
}

// --- TComponent ----------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
  FComponentState = gPendingState;
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell whoever asked that this component goes away, before the owned ones do.
  auto notifies = std::move(FFreeNotifies);
  FFreeNotifies.clear();
  for (TComponent* c : notifies) {
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
  if (FLifeToken != nullptr) {
    FLifeToken->Alive = false;
    detail::ReleaseLifeToken(FLifeToken);
  }
}

void TComponent::BeforeDestruction() {
  if (!IsDestroying()) Destroying();
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FComponentState.Include(TComponentStateItem::csDestroying);
  if (FLifeToken != nullptr) FLifeToken->Alive = false;
  for (TComponent* c : FComponents) c->Destroying();
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EComponentError("Component index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  std::string wanted = LowerCase(AName);
  for (TComponent* c : FComponents)
    if (LowerCase(c->FName) == wanted) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent == nullptr || NewName.empty()) return;
  if (LowerCase(CurName) == LowerCase(NewName)) return;
  if (TComponent* other = FindComponent(NewName); other != nullptr && other != AComponent)
    throw EComponentError("A component named " + NewName + " already exists");
}

void TComponent::SetName(const std::string& Value) {
  if (Value == FName) return;
  if (!Value.empty() && !IsValidIdent(Value))
    throw EComponentError("\"" + Value + "\" is not a valid component name");
  if (FOwner != nullptr) FOwner->ValidateRename(this, FName, Value);
  FName = Value;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  // Checked first, so a refused name leaves the component with its old owner.
  ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (IsDesigning()) AComponent->SetDesigning(true);
  Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  NotifyOwnedOfRemoval(AComponent);
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent),
                    FComponents.end());
  AComponent->FOwner = nullptr;
}

void TComponent::NotifyOwnedOfRemoval(TComponent* AComponent) {
  Notification(AComponent, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
  // Last created, first freed; each one takes itself off the list as it goes.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    Notification(c, TOperation::opRemove);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  // Both directions, so that whichever goes first unhooks from the other.
  auto& theirs = AComponent->FFreeNotifies;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                      FFreeNotifies.end());
  auto& theirs = AComponent->FFreeNotifies;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(TComponentStateItem::csDesigning);
  else
    FComponentState.Exclude(TComponentStateItem::csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetLoadingFlags(bool Loading, bool Reading) {
  if (Loading)
    FComponentState.Include(TComponentStateItem::csLoading);
  else
    FComponentState.Exclude(TComponentStateItem::csLoading);
  if (Reading)
    FComponentState.Include(TComponentStateItem::csReading);
  else
    FComponentState.Exclude(TComponentStateItem::csReading);
}

void TComponent::Loaded() { FComponentState.Exclude(TComponentStateItem::csLoading); }

TLifeToken* detail::AcquireLifeToken(TComponent* AComponent) {
  if (AComponent->FLifeToken == nullptr) {
    AComponent->FLifeToken = new TLifeToken;
    // A component already on its way out hands out links that read nullptr.
    AComponent->FLifeToken->Alive = !AComponent->IsDestroying();
  }
  ++AComponent->FLifeToken->Refs;
  return AComponent->FLifeToken;
}

TComponentStateScope::TComponentStateScope(TComponentState State) : FPrevious(gPendingState) {
  gPendingState = State;
}

TComponentStateScope::~TComponentStateScope() { gPendingState = FPrevious; }

// --- strings ----------------------------------------------------------------

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string TrimLower(const std::string& s) { return LowerCase(Trim(s)); }

}  // namespace fmx
