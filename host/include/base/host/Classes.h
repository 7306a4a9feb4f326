// Objects, persistent objects and components: ownership, names, state flags and
// free notifications.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Types.h"

namespace fmx {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

namespace detail {
// The memory of the host's objects, kept apart from the process's allocator in blocks
// that touch few pages (see ObjectMemory.cpp).
void* AllocateObject(size_t Size);
void FreeObject(void* Block);
// Fresh anonymous memory on a 2 MiB boundary, advised for huge pages (one fault and one
// page per 2 MiB where the kernel can), for big blocks written soon after: Bytes is
// rounded up to whole 2 MiB. nullptr when it cannot be mapped; give it back with munmap
// of the rounded size.
void* MapHugePages(size_t& Bytes);
struct TObjectMemoryUse {
  size_t InUse = 0;   // bytes held by live objects, size classes rounded up
  size_t Mapped = 0;  // bytes of blocks mapped
};
TObjectMemoryUse ObjectMemoryUse();
// A base that gives a class's heap instances the same memory: the blocks a host
// object keeps beside itself (its margins, its rarely set fields).
struct TObjectMemoryPlaced {
  static void* operator new(size_t Size) { return AllocateObject(Size); }
  static void operator delete(void* Block) { FreeObject(Block); }
};
// The same memory for the small lists a host object keeps (its children, the components
// it owns): a big tree has one or more per object, and from the process's allocator
// each cost a header, a lock and fresh pages of a heap that is not the objects'.
template <class T>
struct TObjectAllocator {
  static_assert(alignof(T) <= 16, "places in the objects' memory are 16-byte aligned");
  using value_type = T;
  TObjectAllocator() = default;
  template <class U>
  TObjectAllocator(const TObjectAllocator<U>&) noexcept {}  // NOLINT: rebinding converts
  T* allocate(size_t N) { return static_cast<T*>(AllocateObject(N * sizeof(T))); }
  void deallocate(T* P, size_t) noexcept { FreeObject(P); }
  template <class U>
  bool operator==(const TObjectAllocator<U>&) const noexcept {
    return true;
  }
};
template <class T>
using TObjectVector = std::vector<T, TObjectAllocator<T>>;
// A list made on first use, in that memory, pointer and all.
template <class T>
struct TPlacedVector : TObjectVector<T>, TObjectMemoryPlaced {};
}  // namespace detail

// Root of the class tree. Deleting an object first runs its virtual
// BeforeDestruction with the whole object intact (so a component knows it is being
// destroyed before any destructor body runs), then its destructors.
//
// While the host dispatches an event (see TDispatchScope), deleting a component or a
// value does at once everything anyone can observe and leaves its destructors and its
// memory to the end of the outermost dispatch: whatever the host or a caller still
// holds stays readable until then, and asking IsDestroying() tells it the object went.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  void operator delete(TObject* p, std::destroying_delete_t);
  // Objects come from the host's object memory (see detail::AllocateObject); the plain
  // form below only gives back the memory of an object whose constructor threw.
  static void* operator new(size_t Size);
  static void operator delete(void* Block);

  // The unqualified class name, e.g. "TRectangle".
  std::string ClassName() const;

 protected:
  virtual void BeforeDestruction() {}
  // Called by delete: true when the object took its freeing in hand (queued it to the
  // end of the dispatch, or was queued already); false frees it at once.
  virtual bool QueueFree() { return false; }
  // Puts an object whose observable freeing is done on the queue of the dispatch.
  static void EnqueueFree(TObject* Object);
};

// Opened by the host around every call into application code it drives (input, timer
// ticks, painting, the end of a layout batch, the stored-form reader, handlers of held
// values). Objects deleted while one is open are freed when the outermost one closes,
// so nothing the host or the library holds across a call can dangle: after a call that
// may have run a handler, IsDestroying() is the one question to ask. Costs a counter.
class TDispatchScope {
 public:
  TDispatchScope() { ++Depth; }
  ~TDispatchScope() {
    if (--Depth == 0 && Pending != nullptr && !Pending->empty()) FreePending();
  }
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;
  static bool Open() { return Depth > 0; }

 private:
  friend class TObject;
  static void FreePending();
  static inline thread_local unsigned Depth = 0;
  // Made on first use and kept: in blocks, so a big tree's freeing never moves it; the
  // blocks come from the objects' memory, where the pages are few and mostly at hand.
  using TFreeQueue = std::deque<TObject*, detail::TObjectAllocator<TObject*>>;
  static inline thread_local TFreeQueue* Pending = nullptr;
};

// Exactly this class (not a descendant).
template <class T>
bool IsExactly(const TObject* o) {
  return o != nullptr && typeid(*o) == typeid(T);
}

/// An object whose properties can be assigned from another (Assign) and stored with a form.
class TPersistent : public TObject {
 public:
  // Copies the state of Source; a class that cannot copy from Source throws EConvertError.
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
};

enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem, uint8_t>;
static_assert(static_cast<unsigned>(TComponentStateItem::csDesigning) < 8,
              "a component's state is kept in a byte");

enum class TOperation { opInsert, opRemove };

// A component's part in a load: its own properties being read (csLoading and
// csReading), waiting for the rest of the tree and Loaded (csLoading), or done.
enum class TLoadingStage { Reading, Loading, Loaded };

// Shared between a component and the weak links to it (see TWeak). Alive turns false
// as soon as the component starts being destroyed, so no link hands out an object
// whose destructors are running.
struct TLifeToken {
  bool Alive = true;
  uint32_t Refs = 1;  // the component's own reference while it lives
};

class TComponent;
namespace detail {
// The component's life token, made on first use; each call adds a reference. Tokens
// come from a pool, so a link costs no allocation of its own.
TLifeToken* AcquireLifeToken(TComponent* AComponent);
void FreeLifeToken(TLifeToken* Token);
// An owner's names, found without regard to case in constant time (Classes.cpp).
struct TNameIndex;
struct TNameIndexDeleter {
  void operator()(TNameIndex* Index) const;
};
inline void ReleaseLifeToken(TLifeToken* Token) {
  if (Token != nullptr && --Token->Refs == 0) FreeLifeToken(Token);
}
}  // namespace detail

/// An object with an owner, a name and a list of components it owns and frees; the base of
/// everything stored with a form.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const;
  // Names are identifiers (or empty) and unique among the components of one owner,
  // compared without regard to case; anything else throws EComponentError.
  virtual void SetName(const std::string& Value);
  intptr_t Tag() const { return FRare ? FRare->Tag : 0; }
  void SetTag(intptr_t Value) {
    if (FRare || Value != 0) Rare().Tag = Value;
  }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(TComponentStateItem::csLoading); }
  bool IsReading() const { return FComponentState.Contains(TComponentStateItem::csReading); }
  bool IsDesigning() const { return FComponentState.Contains(TComponentStateItem::csDesigning); }
  bool IsDestroying() const { return FComponentState.Contains(TComponentStateItem::csDestroying); }

  int ComponentCount() const {
    Compact();
    return FComponents ? static_cast<int>(FComponents->size()) : 0;
  }
  TComponent* Components(int Index) const;
  // Where this component stands in its owner's Components, or -1 without an owner (or
  // once its owner has taken it off the list to free it).
  int ComponentIndex() const;
  TComponent* FindComponent(const std::string& AName) const;

  // Appends in constant time; removal is constant time too (amortised), so building and
  // freeing a big tree stays linear.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  // AComponent hears Notification(this, opRemove) when this component is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Puts this component and the ones it owns into (or out of) the designer state.
  void SetDesigning(bool Value, bool SetChildren = true);

  // For the form loader: where one component is in its load (its csLoading and
  // csReading flags).
  void SetLoadingStage(TLoadingStage Stage);
  // Called once the whole stored tree has been read; clears csLoading.
  virtual void Loaded();

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void BeforeDestruction() override;
  bool QueueFree() override;
  // Frees the children a descendant keeps apart from the owned list (the object
  // tree's children), as the first step of freeing after BeforeDestruction.
  virtual void FreeChildren() {}
  void Destroying();
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  // A descendant's own rarely set text (TFmxObject's style name) lives with the name.
  const std::string* RareStyleName() const { return FRare ? &FRare->StyleName : nullptr; }
  std::string& RareStyleNameForWrite() { return Rare().StyleName; }
  // Room for Count owned components at once, for a component that makes its parts
  // itself and knows how many.
  void ReserveComponents(size_t Count) { OwnedList().reserve(Count); }

 private:
  friend class TComponentStateScope;
  friend TLifeToken* detail::AcquireLifeToken(TComponent*);
  void NotifyOwnedOfRemoval(TComponent* AComponent);
  void SendFreeNotifications();
  // The owner's name index follows each owned component's name: in on insert and after
  // a rename, out on removal and before a rename.
  void IndexName(TComponent* AComponent);
  void UnindexName(TComponent* AComponent);

  // Removed components leave a hole, closed by the next read of the list (or when the
  // holes outnumber the components), so removal never shifts the whole list.
  void Compact() const;
  std::vector<TComponent*>& FreeNotifies();

  // What few components of a big tree have (the private parts of controls have none of
  // it): made on first use, so each of those parts pays one pointer for all of it.
  struct TRareData : detail::TObjectMemoryPlaced {
    std::string Name;
    std::string StyleName;
    intptr_t Tag = 0;
    std::vector<TComponent*> FreeNotifies;
    // The owned components that have names, by name; made with the first of them, so a
    // form read from a stored text finds each name without a scan of all.
    std::unique_ptr<detail::TNameIndex, detail::TNameIndexDeleter> Names;
  };
  TRareData& Rare() {
    if (!FRare) FRare = std::make_unique<TRareData>();
    return *FRare;
  }
  detail::TObjectVector<TComponent*>& OwnedList() const {
    if (!FComponents) FComponents = std::make_unique<detail::TPlacedVector<TComponent*>>();
    return *FComponents;
  }

  TComponent* FOwner = nullptr;
  std::unique_ptr<TRareData> FRare;
  // The components this one owns; made with the first, as most components own none.
  mutable std::unique_ptr<detail::TPlacedVector<TComponent*>> FComponents;
  TLifeToken* FLifeToken = nullptr;
  mutable uint32_t FHoles = 0;
  uint32_t FOwnerIndex = 0;  // where this component sits in its owner's list
  // Last, so a descendant's small fields fill the space behind it.
  TComponentState FComponentState;
  bool FFreeQueued = false;  // delete has done its part; the memory goes with the dispatch
};

// While alive, every component constructed on this thread starts with these state
// flags set before its constructor body runs (as the stored-form loader of a host
// that sets flags before construction would). Mainly for tests of the bare state.
class TComponentStateScope {
 public:
  explicit TComponentStateScope(TComponentState State);
  ~TComponentStateScope();
  TComponentStateScope(const TComponentStateScope&) = delete;
  TComponentStateScope& operator=(const TComponentStateScope&) = delete;

 private:
  TComponentState FPrevious;
};

// The host's one non-owning link to a component: it reads nullptr once the target
// has started being destroyed, however it goes (its owner, its parent, delete, the
// form's teardown). Copyable and movable; the first link to a component allocates a
// small shared token, later ones only count references to it. Use it for every
// pointer that does not own and outlives an event (hovered control, taken-over
// control, image list, ...).
template <class T>
class TWeak {
 public:
  TWeak() = default;
  TWeak(T* Target) { Reset(Target); }  // NOLINT: converts like the pointer it replaces
  TWeak(const TWeak& Other) : FTarget(Other.FTarget), FToken(Other.FToken) {
    if (FToken != nullptr) ++FToken->Refs;
  }
  TWeak(TWeak&& Other) noexcept : FTarget(Other.FTarget), FToken(Other.FToken) {
    Other.FTarget = nullptr;
    Other.FToken = nullptr;
  }
  TWeak& operator=(const TWeak& Other) {
    if (this != &Other) {
      if (Other.FToken != nullptr) ++Other.FToken->Refs;
      detail::ReleaseLifeToken(FToken);
      FTarget = Other.FTarget;
      FToken = Other.FToken;
    }
    return *this;
  }
  TWeak& operator=(TWeak&& Other) noexcept {
    if (this != &Other) {
      detail::ReleaseLifeToken(FToken);
      FTarget = Other.FTarget;
      FToken = Other.FToken;
      Other.FTarget = nullptr;
      Other.FToken = nullptr;
    }
    return *this;
  }
  TWeak& operator=(T* Target) {
    Reset(Target);
    return *this;
  }
  ~TWeak() { detail::ReleaseLifeToken(FToken); }

  void Reset(T* Target = nullptr) {
    if (Target == FTarget && (Target == nullptr || Alive())) return;
    TLifeToken* token = Target != nullptr ? detail::AcquireLifeToken(Target) : nullptr;
    detail::ReleaseLifeToken(FToken);
    FToken = token;
    FTarget = Target;
  }
  // The target, or nullptr once it is being destroyed.
  T* Get() const { return Alive() ? FTarget : nullptr; }
  bool Alive() const { return FToken != nullptr && FToken->Alive; }
  T* operator->() const { return Get(); }
  operator T*() const { return Get(); }  // NOLINT: reads like the pointer it replaces
  explicit operator bool() const { return Alive(); }

 private:
  T* FTarget = nullptr;
  TLifeToken* FToken = nullptr;
};

// Lower-cases ASCII letters and trims blanks: the framework's name matching.
std::string TrimLower(const std::string& s);
std::string Trim(const std::string& s);
std::string LowerCase(const std::string& s);

}  // namespace fmx
