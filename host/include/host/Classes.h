// Objects, persistent objects and components: ownership, names, state flags and
// free notifications.
#pragma once

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

// Root of the class tree. Deleting an object first runs its virtual
// BeforeDestruction with the whole object intact (so a component knows it is being
// destroyed before any destructor body runs), then its destructors.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  void operator delete(TObject* p, std::destroying_delete_t);

  // The unqualified class name, e.g. "TRectangle".
  std::string ClassName() const;

 protected:
  virtual void BeforeDestruction() {}
};

// Exactly this class (not a descendant).
template <class T>
bool IsExactly(const TObject* o) {
  return o != nullptr && typeid(*o) == typeid(T);
}

class TPersistent : public TObject {
 public:
  // Copies the state of Source; a class that cannot copy from Source throws EConvertError.
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
};

enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

enum class TOperation { opInsert, opRemove };

// Shared between a component and the watches on it (see TFreeWatch).
struct TLifeToken {
  bool Alive = true;
  int Refs = 1;  // the component's own reference
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Names are identifiers (or empty) and unique among the components of one owner,
  // compared without regard to case; anything else throws EComponentError.
  virtual void SetName(const std::string& Value);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(TComponentStateItem::csLoading); }
  bool IsReading() const { return FComponentState.Contains(TComponentStateItem::csReading); }
  bool IsDesigning() const { return FComponentState.Contains(TComponentStateItem::csDesigning); }
  bool IsDestroying() const { return FComponentState.Contains(TComponentStateItem::csDestroying); }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  TComponent* FindComponent(const std::string& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  // AComponent hears Notification(this, opRemove) when this component is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Puts this component and the ones it owns into (or out of) the designer state.
  void SetDesigning(bool Value, bool SetChildren = true);

  // For the form loader: the loading flags of one component.
  void SetLoadingFlags(bool Loading, bool Reading);
  // Called once the whole stored tree has been read; clears csLoading.
  virtual void Loaded();

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void BeforeDestruction() override;
  void Destroying();
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);

 private:
  friend class TComponentStateScope;
  friend class TFreeWatch;
  void NotifyOwnedOfRemoval(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TLifeToken* FLifeToken = nullptr;
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

// Watches a component from the outside: Alive() turns false once it is freed. For
// code that calls handlers which may free the very object it is working on. Cheap
// enough for paint and input paths: the first watch of a component allocates a small
// shared flag, later ones only count references to it.
class TFreeWatch {
 public:
  explicit TFreeWatch(TComponent* Target);
  ~TFreeWatch();
  TFreeWatch(const TFreeWatch&) = delete;
  TFreeWatch& operator=(const TFreeWatch&) = delete;
  bool Alive() const { return FToken != nullptr && FToken->Alive; }


 private:
  TLifeToken* FToken = nullptr;
};

// Lower-cases ASCII letters and trims blanks: the framework's name matching.
std::string TrimLower(const std::string& s);
std::string Trim(const std::string& s);
std::string LowerCase(const std::string& s);

}  // namespace fmx
