// The object tree: parents, children in z-order, style names, and the small
// persistent values (bounds, positions) that controls publish.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/HeldValue.h"

namespace fmx {

class TControl;
class TCommonCustomForm;
class TFmxObject;
// A parent's children, in the memory of the objects themselves.
using TFmxObjectList = detail::TObjectVector<TFmxObject*>;

// Four edges, used for margins and padding.
class TBounds : public TPersistent {
 public:
  TBounds() = default;
  TBounds(float ALeft, float ATop, float ARight, float ABottom)
      : FLeft(ALeft), FTop(ATop), FRight(ARight), FBottom(ABottom) {}
  float Left() const { return FLeft; }
  float Top() const { return FTop; }
  float Right() const { return FRight; }
  float Bottom() const { return FBottom; }
  void SetLeft(float Value) { Set(Value, FTop, FRight, FBottom); }
  void SetTop(float Value) { Set(FLeft, Value, FRight, FBottom); }
  void SetRight(float Value) { Set(FLeft, FTop, Value, FBottom); }
  void SetBottom(float Value) { Set(FLeft, FTop, FRight, Value); }
  void Set(float ALeft, float ATop, float ARight, float ABottom);
  TRectF Rect() const { return {FLeft, FTop, FRight, FBottom}; }
  void SetRect(const TRectF& R) { Set(R.Left, R.Top, R.Right, R.Bottom); }
  bool IsZero() const { return FLeft == 0 && FTop == 0 && FRight == 0 && FBottom == 0; }
  void Assign(TPersistent* Source) override;

 protected:
  // Runs after every change. A holder listens here through THeld (HeldValue.h): every
  // control has a few of these, and a stored handler would cost each 32 bytes.
  virtual void HolderChanged() {}

 private:
  float FLeft = 0, FTop = 0, FRight = 0, FBottom = 0;
};

/// A position (X, Y) that tells its holder when it changes.
class TPosition : public TPersistent {
 public:
  TPosition() = default;
  TPosition(float AX, float AY) : FX(AX), FY(AY) {}
  float X() const { return FX; }
  float Y() const { return FY; }
  void SetX(float Value) { SetPoint({Value, FY}); }
  void SetY(float Value) { SetPoint({FX, Value}); }
  TPointF Point() const { return {FX, FY}; }
  void SetPoint(TPointF P);
  void Assign(TPersistent* Source) override;
  // Stores without telling the owner (the owner is the one setting it).
  void SetPointQuietly(TPointF P) {
    FX = P.X;
    FY = P.Y;
  }

 protected:
  // Runs after every change; the holder listens here (see TBounds).
  virtual void HolderChanged() {}

 private:
  float FX = 0, FY = 0;
};

// What sits at the top of an object tree and routes the mouse: a form.
class IRoot {
 public:
  virtual ~IRoot() = default;
  // The control under the mouse, or nullptr.
  virtual TControl* Hovered() const = 0;
  virtual TControl* Captured() const = 0;
  // A control (and everything inside it) left this tree: forget it wherever it is held.
  virtual void ControlRemovedFromTree(TFmxObject* AObject) = 0;
  // A control (and everything inside it) was hidden or disabled: forget it and tell a
  // hovered one that the pointer has left it.
  virtual void ControlHidden(TControl* AControl) = 0;
  // Geometry, visibility or order changed somewhere below: the painter must look again.
  virtual void TreeChanged() = 0;
  // The whole surface needs painting again.
  virtual void InvalidateAll() = 0;
  // Part of it does (form coordinates).
  virtual void InvalidateRect(const TRectF& R) = 0;
  // Whether a window shows the tree now (damage matters only then).
  virtual bool IsShowing() const = 0;
  // Lays the aligned children out again (later, inside a realign batch).
  virtual void RealignRoot() = 0;
  // The realign batch that put this root's layout off ends: the layout is done, or
  // dropped when an exception gives the tree up.
  virtual void RealignDeferred() = 0;
  virtual void DropDeferredRealign() = 0;
  // The form that is this root.
  virtual TCommonCustomForm* Form() = 0;
};

/// An object of the control tree: parent, children in z-order, style name and stored flag.
class TFmxObject : public TComponent {
 public:
  explicit TFmxObject(TComponent* AOwner);
  ~TFmxObject() override;

  TFmxObject* Parent() const { return FParent; }
  void SetParent(TFmxObject* Value);
  // Children in z-order: index 0 is drawn first, at the back.
  int ChildrenCount() const { return static_cast<int>(FChildren.size()); }
  TFmxObject* Children(int Index) const { return FChildren.at(static_cast<size_t>(Index)); }
  const TFmxObjectList& ChildrenList() const { return FChildren; }
  // Constant time.
  int Index() const { return FParent == nullptr ? -1 : static_cast<int>(FIndexInParent); }
  bool IsChildOf(const TFmxObject* Ancestor) const;

  void AddObject(TFmxObject* AObject);
  void InsertObject(int Index, TFmxObject* AObject);
  void RemoveObject(TFmxObject* AObject);
  void DeleteChildren();

  void BringToFront();
  void SendToBack();

  bool Stored() const { return FStored; }
  void SetStored(bool Value) { FStored = Value; }
  const std::string& StyleName() const;
  void SetStyleName(const std::string& Value);
  // Depth-first search of the children for an object with this style name (case-insensitive).
  TFmxObject* FindStyleResource(const std::string& AStyleLookup) const;

  // The form at the top of this object's parent chain, or nullptr.
  IRoot* Root() const;
  // Cheap stand-ins for dynamic_cast on the hot paths (layout, painting, input):
  // this object as a control, or as the root of a tree, else nullptr.
  virtual TControl* AsControl() { return nullptr; }
  const TControl* AsControl() const { return const_cast<TFmxObject*>(this)->AsControl(); }
  virtual IRoot* AsRoot() { return nullptr; }

 protected:
  // Adds AObject as the last child. Overrides call the inherited version to add.
  virtual void DoAddObject(TFmxObject* AObject);
  virtual void DoInsertObject(int Index, TFmxObject* AObject);
  virtual void DoRemoveObject(TFmxObject* AObject);
  // Runs after this object got a new parent (or lost its parent).
  virtual void ParentChanged() {}
  // The order of this object's children changed.
  virtual void ChildrenChanged() {}
  // This object moved in its parent's z-order, from OldIndex to Index(): it now lies
  // the other way round with the siblings in between.
  virtual void ZOrderChanged(size_t OldIndex) {}
  void NotifyTreeChanged() const;
  // Leaves the parent while the whole object still exists, so the parent's hooks see
  // what is removed.
  void BeforeDestruction() override;
  // Children go with their parent, whoever owns them.
  void FreeChildren() override { DeleteChildren(); }

 private:
  // Children after Index moved: their stored positions follow.
  void RenumberChildren(size_t From);

  // The small fields first: they fit in the space behind the component's own.
  bool FStored = true;
  uint32_t FIndexInParent = 0;
  TFmxObject* FParent = nullptr;
  TFmxObjectList FChildren;
};

// The object as a control, nullptr for nullptr or another kind of object.
inline TControl* AsControl(TFmxObject* O) { return O != nullptr ? O->AsControl() : nullptr; }

}  // namespace fmx
