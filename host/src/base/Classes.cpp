#include "host/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <new>
#include <string_view>
#include <typeinfo>
#include <unordered_map>

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
  if (p->QueueFree()) return;
  // The most-derived address is where the allocation starts.
  void* block = dynamic_cast<void*>(p);
  p->BeforeDestruction();
  p->~TObject();
  detail::FreeObject(block);
}

void* TObject::operator new(size_t Size) { return detail::AllocateObject(Size); }

void TObject::operator delete(void* Block) { detail::FreeObject(Block); }

void TObject::EnqueueFree(TObject* Object) {
  if (TDispatchScope::Pending == nullptr) TDispatchScope::Pending = new TDispatchScope::TFreeQueue();
  TDispatchScope::Pending->push_back(Object);
}

void TDispatchScope::FreePending() {
  // Destructors may delete more; those are queued behind and freed in turn.
  ++Depth;
  // Owners and parents were queued before what they own, so their destructors run
  // (and may still read their parts) before those go, as without a queue; what is
  // freed is off every list, so no destructor reaches an object freed before it.
  // Each object was last touched when it was queued, a whole tree ago: the next ones
  // are asked for while this one goes (a control spans about five cache lines), so
  // that their cache misses overlap.
  constexpr size_t kAhead = 6;
  while (!Pending->empty()) {
    if (Pending->size() > kAhead) {
      const char* next = reinterpret_cast<const char*>((*Pending)[kAhead]);
      __builtin_prefetch(next);
      __builtin_prefetch(next + 64);
      __builtin_prefetch(next + 128);
      __builtin_prefetch(next + 192);
      __builtin_prefetch(next + 256);
    }
    TObject* o = Pending->front();
    Pending->pop_front();
    // The most-derived address is where the allocation starts.
    void* block = dynamic_cast<void*>(o);
    o->~TObject();
    detail::FreeObject(block);
  }
  --Depth;
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
  // All of this was done when delete queued the component; a component that was not
  // deleted (one on the stack, a member) does it here.
  Destroying();
  SendFreeNotifications();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
  if (FLifeToken != nullptr) {
    FLifeToken->Alive = false;
    detail::ReleaseLifeToken(FLifeToken);
  }
}

bool TComponent::QueueFree() {
  // A second delete of a component already going (its owner freeing what it owns, say,
  // after a handler freed it first) finds it done.
  if (FFreeQueued) return true;
  FFreeQueued = true;
  // Outside any dispatch the freeing ends before delete returns.
  TDispatchScope scope;
  // Queued before what it frees below, so its destructors run before theirs.
  EnqueueFree(this);
  // BeforeDestruction sees the object whole and not yet marked, as without a queue;
  // the base class marks it (and a class that does not call it is marked here).
  BeforeDestruction();
  Destroying();
  FreeChildren();
  // Tell whoever asked that this component goes away, before the owned ones do.
  SendFreeNotifications();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
  return true;
}

void TComponent::SendFreeNotifications() {
  if (!FRare || FRare->FreeNotifies.empty()) return;
  auto notifies = std::move(FRare->FreeNotifies);
  FRare->FreeNotifies.clear();
  for (TComponent* c : notifies) {
    if (c->FRare) {
      auto& theirs = c->FRare->FreeNotifies;
      theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    }
    c->Notification(this, TOperation::opRemove);
  }
}

void TComponent::BeforeDestruction() {
  if (!IsDestroying()) Destroying();
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FComponentState.Include(TComponentStateItem::csDestroying);
  if (FLifeToken != nullptr) FLifeToken->Alive = false;
  // A big tree does not fit the cache: asking for the components a few places ahead
  // overlaps their misses instead of waiting for each in turn.
  if (!FComponents) return;
  constexpr size_t kAhead = 4;
  const auto& owned = *FComponents;
  const size_t n = owned.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(owned[i + kAhead]);
    if (TComponent* c = owned[i]) c->Destroying();
  }
}

void TComponent::Compact() const {
  if (FHoles == 0) return;
  auto& owned = *FComponents;
  size_t out = 0;
  for (TComponent* c : owned) {
    if (c == nullptr) continue;
    c->FOwnerIndex = static_cast<uint32_t>(out);
    owned[out++] = c;
  }
  owned.resize(out);
  FHoles = 0;
}

std::vector<TComponent*>& TComponent::FreeNotifies() {
  return Rare().FreeNotifies;
}

TComponent* TComponent::Components(int Index) const {
  Compact();
  if (Index < 0 || Index >= ComponentCount())
    throw EComponentError("Component index out of bounds (" + std::to_string(Index) + ")");
  return (*FComponents)[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  FOwner->Compact();
  if (!FOwner->FComponents) return -1;
  const auto& list = *FOwner->FComponents;
  return FOwnerIndex < list.size() && list[FOwnerIndex] == this ? static_cast<int>(FOwnerIndex)
                                                                 : -1;
}

namespace detail {
namespace {
// Names are identifiers, compared as LowerCase does: ASCII letters fold, nothing else.
inline unsigned char FoldAscii(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}
struct TFoldedHash {
  size_t operator()(std::string_view s) const noexcept {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char c : s) h = (h ^ FoldAscii(c)) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct TFoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
  }
};
}  // namespace

// The keys view each component's own name, which stays put while it is indexed: a
// rename takes the component out first and puts it back after.
struct TNameIndex {
  std::unordered_map<std::string_view, TComponent*, TFoldedHash, TFoldedEqual> Map;
};
void TNameIndexDeleter::operator()(TNameIndex* Index) const { delete Index; }
}  // namespace detail

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty() || !FRare || !FRare->Names) return nullptr;
  const auto& map = FRare->Names->Map;
  auto it = map.find(std::string_view(AName));
  return it == map.end() ? nullptr : it->second;
}

void TComponent::IndexName(TComponent* AComponent) {
  if (!AComponent->FRare || AComponent->FRare->Name.empty()) return;
  TRareData& rare = Rare();
  if (!rare.Names) rare.Names.reset(new detail::TNameIndex);
  // A name already there keeps its first holder, as the scan in list order found it.
  rare.Names->Map.emplace(std::string_view(AComponent->FRare->Name), AComponent);
}

void TComponent::UnindexName(TComponent* AComponent) {
  if (!FRare || !FRare->Names || !AComponent->FRare || AComponent->FRare->Name.empty()) return;
  auto& map = FRare->Names->Map;
  auto it = map.find(std::string_view(AComponent->FRare->Name));
  if (it != map.end() && it->second == AComponent) map.erase(it);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent == nullptr || NewName.empty()) return;
  if (LowerCase(CurName) == LowerCase(NewName)) return;
  if (TComponent* other = FindComponent(NewName); other != nullptr && other != AComponent)
    throw EComponentError("A component named " + NewName + " already exists");
}

const std::string& TComponent::Name() const {
  static const std::string kNoName;
  return FRare ? FRare->Name : kNoName;
}

void TComponent::SetName(const std::string& Value) {
  if (Value == Name()) return;
  if (!Value.empty() && !IsValidIdent(Value))
    throw EComponentError("\"" + Value + "\" is not a valid component name");
  if (FOwner != nullptr) {
    FOwner->ValidateRename(this, Name(), Value);
    FOwner->UnindexName(this);
  }
  if (FRare || !Value.empty()) Rare().Name = Value;
  if (FOwner != nullptr) FOwner->IndexName(this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  // Checked first, so a refused name leaves the component with its old owner.
  ValidateRename(AComponent, "", AComponent->Name());
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  auto& owned = OwnedList();
  AComponent->FOwnerIndex = static_cast<uint32_t>(owned.size());
  owned.push_back(AComponent);
  AComponent->FOwner = this;
  IndexName(AComponent);
  if (IsDesigning()) AComponent->SetDesigning(true);
  // Made by code still running on an owner that is going: it goes with it, so it
  // joins nothing (no parent, no timer queue) meanwhile.
  if (IsDestroying()) AComponent->Destroying();
  Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  const uint32_t at = AComponent->FOwnerIndex;
  NotifyOwnedOfRemoval(AComponent);
  UnindexName(AComponent);
  if (AComponent->FOwner == this) AComponent->FOwner = nullptr;
  if (!FComponents) return;
  auto& owned = *FComponents;
  if (at >= owned.size() || owned[at] != AComponent) return;
  if (at + 1 == owned.size()) {
    owned.pop_back();
    // Trailing holes go with it, so freeing last-created-first never compacts.
    while (!owned.empty() && owned.back() == nullptr) {
      owned.pop_back();
      --FHoles;
    }
    return;
  }
  owned[at] = nullptr;
  if (++FHoles > owned.size() / 2) Compact();
}

void TComponent::NotifyOwnedOfRemoval(TComponent* AComponent) {
  Notification(AComponent, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
  // Last created, first freed; each one takes itself off the list as it goes.
  while (FComponents && !FComponents->empty()) {
    TComponent* c = FComponents->back();
    FComponents->pop_back();
    if (c == nullptr) {
      --FHoles;
      continue;
    }
    UnindexName(c);
    c->FOwner = nullptr;
    Notification(c, TOperation::opRemove);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  auto& mine = FreeNotifies();
  if (std::find(mine.begin(), mine.end(), AComponent) == mine.end()) mine.push_back(AComponent);
  // Both directions, so that whichever goes first unhooks from the other.
  auto& theirs = AComponent->FreeNotifies();
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  if (FRare) {
    auto& mine = FRare->FreeNotifies;
    mine.erase(std::remove(mine.begin(), mine.end(), AComponent), mine.end());
  }
  if (AComponent->FRare) {
    auto& theirs = AComponent->FRare->FreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(TComponentStateItem::csDesigning);
  else
    FComponentState.Exclude(TComponentStateItem::csDesigning);
  if (SetChildren && FComponents)
    for (TComponent* c : *FComponents)
      if (c != nullptr) c->SetDesigning(Value, true);
}

void TComponent::SetLoadingStage(TLoadingStage Stage) {
  if (Stage == TLoadingStage::Loaded)
    FComponentState.Exclude(TComponentStateItem::csLoading);
  else
    FComponentState.Include(TComponentStateItem::csLoading);
  if (Stage == TLoadingStage::Reading)
    FComponentState.Include(TComponentStateItem::csReading);
  else
    FComponentState.Exclude(TComponentStateItem::csReading);
}

void TComponent::Loaded() { FComponentState.Exclude(TComponentStateItem::csLoading); }

namespace {
// Tokens in chunks that never move, handed out from a free list threaded through the
// free tokens themselves: a weak link to a control costs neither an allocation nor more
// than a few bytes, and freeing a big tree's tokens allocates nothing either.
union TLifeTokenSlot {
  TLifeTokenSlot() : Next(nullptr) {}
  TLifeToken Token;
  TLifeTokenSlot* Next;
};
struct TLifeTokenPool {
  static constexpr size_t ChunkSize = 1024;
  // In the objects' memory, beside the components the tokens are for; kept for the
  // life of the process, as the pool is.
  std::vector<TLifeTokenSlot*> Chunks;
  TLifeTokenSlot* Free = nullptr;
  size_t UnusedInLastChunk = 0;
  TLifeToken* Take() {
    TLifeTokenSlot* slot = Free;
    if (slot != nullptr) {
      Free = slot->Next;
    } else {
      if (UnusedInLastChunk == 0) {
        Chunks.push_back(nullptr);  // first, so that nothing leaks if it throws
        Chunks.back() = static_cast<TLifeTokenSlot*>(
            detail::AllocateObject(ChunkSize * sizeof(TLifeTokenSlot)));
        UnusedInLastChunk = ChunkSize;
      }
      slot = new (Chunks.back() + (ChunkSize - UnusedInLastChunk--)) TLifeTokenSlot;
    }
    return new (&slot->Token) TLifeToken{};
  }
  void Give(TLifeToken* Token) {
    // The token is the slot's first member: the slot starts where it does.
    auto* slot = reinterpret_cast<TLifeTokenSlot*>(Token);
    slot->Next = Free;
    Free = slot;
  }
};
TLifeTokenPool& LifeTokenPool() {
  // Never destroyed: links held by static objects may be released after main returns.
  static auto* pool = new TLifeTokenPool;
  return *pool;
}
}  // namespace

void detail::FreeLifeToken(TLifeToken* Token) { LifeTokenPool().Give(Token); }

TLifeToken* detail::AcquireLifeToken(TComponent* AComponent) {
  if (AComponent->FLifeToken == nullptr) {
    AComponent->FLifeToken = LifeTokenPool().Take();
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
