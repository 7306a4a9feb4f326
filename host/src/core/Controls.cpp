#include "host/Controls.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <exception>

#include "core/Layout.h"
#include "host/Canvas.h"
#include "host/Effects.h"
#include "host/Forms.h"

namespace fmx {

namespace {
// How much a disabled control's opacity is dimmed.
constexpr float kDisabledOpacity = 0.6f;
const std::string kNoHint;

// Lists a control and its canvas for the length of its painting, however that ends: a
// control needs its canvas only while it paints, so none keeps one. The list lives on
// the stack, innermost first, and the thread holds only a plain pointer to it, which
// stays valid however late a control is freed.
class TPaintingScope {
 public:
  TPaintingScope(const TControl* C, TCanvas* ACanvas)
      : Control(C), Canvas(ACanvas), Outer(Innermost) {
    Innermost = this;
  }
  ~TPaintingScope() { Innermost = Outer; }
  TPaintingScope(const TPaintingScope&) = delete;
  TPaintingScope& operator=(const TPaintingScope&) = delete;

  static thread_local TPaintingScope* Innermost;
  // A control freed while it paints keeps its memory to the end of the dispatch that
  // painting runs in, so no control made later can take its place on the list.
  const TControl* const Control;
  TCanvas* const Canvas;
  TPaintingScope* const Outer;
};
thread_local TPaintingScope* TPaintingScope::Innermost = nullptr;

}  // namespace

const TNotifyEvent TControl::kNoNotify;
const TMouseEvent TControl::kNoMouse;
const TMouseMoveEvent TControl::kNoMove;
const TMouseWheelEvent TControl::kNoWheel;
const TKeyEvent TControl::kNoKey;

TControl::TControl(TComponent* AOwner) : TFmxObject(AOwner) {
  FWidth = 100;
  FHeight = 100;
  FAnchors = static_cast<uint8_t>(TAnchors{TAnchorKind::akLeft, TAnchorKind::akTop}.Bits());
}

TControl::~TControl() {
  Destroying();
  TAccessibility::Notify(this, TAccessibleEvent::Destroyed);
}

TControlSpacing& TControl::Spacing() const {
  if (!FSpacing) FSpacing = std::make_unique<TControlSpacing>(const_cast<TControl*>(this));
  return *FSpacing;
}

TControlSpacing::TControlSpacing(TControl* AControl) : Margins(AControl) {}

TControlPadding::TControlPadding(TControl* AControl) : Padding(AControl) {}

TControlRare::TControlRare() : Scale(1, 1) {}

TControlRare::~TControlRare() = default;

TControlRare& TControl::Rare() const {
  if (!FRare) FRare = std::make_unique<TControlRare>();
  return *FRare;
}

TControlPadding& TControl::PaddingBlock() const {
  TControlRare& rare = Rare();
  if (!rare.Padding) rare.Padding = std::make_unique<TControlPadding>(const_cast<TControl*>(this));
  return *rare.Padding;
}

const std::string& TControl::Hint() const { return FRare ? FRare->Hint : kNoHint; }

// --- geometry ------------------------------------------------------------------

void TControl::SetSize(float AWidth, float AHeight) {
  SetBounds(FPosition.X(), FPosition.Y(), AWidth, AHeight);
}

void TControl::SetBounds(float X, float Y, float AWidth, float AHeight) {
  AWidth = SanitizeSize(AWidth);
  AHeight = SanitizeSize(AHeight);
  X = SanitizeCoord(X);
  Y = SanitizeCoord(Y);
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  const bool moved = X != FPosition.X() || Y != FPosition.Y();
  if (!sized && !moved) return;
  InvalidatePainted();
  FPosition.SetPointQuietly({X, Y});
  if (sized) {
    FWidth = AWidth;
    FHeight = AHeight;
  }
  SubtreeChanged();
  InvalidatePainted();
  if (auto* pc = ParentControl()) pc->ChildGeometryChanged(this);
  // The layout's and the resize handler's handlers may free this control: it then
  // hears no more and is off the tree, so what follows does nothing.
  TDispatchScope scope;
  if (sized) {
    Realign();
    Resize();
  }
  NotifyTreeChanged();
  if (Align() != TAlignLayout::None) ParentRealign();
}

void TControl::PositionChanged() {
  // Position->SetX and friends: the point is already stored, so the old ink is
  // found from the cached rectangle, which still holds the old place.
  PaintExtentChanged();
  NotifyTreeChanged();
  // An aligned control's position only orders it among its siblings; the layout
  // decides where it ends up.
  if (auto* pc = ParentControl()) pc->ChildGeometryChanged(this);
  if (Align() != TAlignLayout::None) ParentRealign();
}

void TControl::PaintExtentChanged() {
  IRoot* root = FVisible && Parent() != nullptr ? Root() : nullptr;
  if (root == nullptr || !root->IsShowing()) {
    SubtreeChanged();
    return;
  }
  // The last measured rectangle, even when a change below has made it stale, still
  // covers this control's own old ink: every change of its own goes through here or
  // through SetBounds, and changes below repaint their own old ink themselves. Empty
  // means it was never measured, so never painted either.
  if (!FSubtreeRect.IsEmpty()) {
    if (auto* pc = ParentControl())
      pc->InvalidateRect(FSubtreeRect);
    else
      root->InvalidateRect(FSubtreeRect);
  }
  SubtreeChanged();
  InvalidatePainted();
}

void TControl::MarginsChanged() {
  if (auto* pc = ParentControl()) pc->ChildGeometryChanged(this);
  if (Align() != TAlignLayout::None) ParentRealign();
}

void TControl::PaddingChanged() { Realign(); }

void TControl::Resize() {
  Fire(&TControlEvents::OnResize);
}

TRectF TControl::BoundsRect() const {
  return {FPosition.X(), FPosition.Y(), FPosition.X() + FWidth, FPosition.Y() + FHeight};
}

TPointF TControl::LocalToAbsolute(TPointF P) const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    P.X += c->FPosition.X();
    P.Y += c->FPosition.Y();
  }
  return P;
}

TPointF TControl::AbsoluteToLocal(TPointF P) const {
  TPointF origin = LocalToAbsolute({0, 0});
  return {P.X - origin.X, P.Y - origin.Y};
}

TRectF TControl::AbsoluteRect() const {
  TPointF o = LocalToAbsolute({0, 0});
  return {o.X, o.Y, o.X + FWidth, o.Y + FHeight};
}

void TControl::SetAlign(TAlignLayout Value) {
  // A value outside the enumeration (a cast from a bad integer) means no alignment.
  if (static_cast<unsigned>(Value) > static_cast<unsigned>(TAlignLayout::HorzCenter))
    Value = TAlignLayout::None;
  if (Value == Align()) return;
  FAlign = static_cast<uint8_t>(Value);
  TDispatchScope scope;
  ParentRealign();
  NotifyTreeChanged();  // nothing once the layout's handlers freed it: it is off the tree
}

void TControl::ParentRealign() {
  if (auto* pc = fmx::AsControl(Parent())) {
    if (pc->FRealignLock == 0) pc->Realign();
  } else if (IRoot* root = Parent() != nullptr ? Parent()->AsRoot() : nullptr) {
    root->RealignRoot();
  }
}

void TControl::Realign() {
  // A control being freed lays nothing out, so no caller has to ask after a handler.
  if (FRealignLock > 0 || IsDestroying()) return;
  if (FUpdateCount > 0) {
    FRealignPending = true;
    return;
  }
  // A control without children has nothing to lay out by the rules, so nothing to put
  // off: deferring every resized leaf of a big tree would only make the batch's end
  // visit each of them again, long after they left the cache.
  if (ChildrenList().empty()) {
    DoRealignNow();
    return;
  }
  // Inside a batch whether it shows is asked once, when the batch ends.
  if (TRealignBatch::Active()) {
    if (!FRealignPending) {
      FRealignPending = true;
      TRealignBatch::Defer(this);
    }
    return;
  }
  if (HoldWhileHidden()) return;
  DoRealignNow();
}

namespace {
// Whether From and its ancestors up to KnownShown (one the caller knows to show), or to
// the top, are all visible.
bool ShowsUpTo(const TControl* From, const TControl* KnownShown) {
  for (const TControl* c = From; c != nullptr && c != KnownShown; c = c->ParentControl())
    if (!c->Visible()) return false;
  return true;
}
}  // namespace

// A hidden subtree is laid out when it shows, not while it is hidden: nobody sees it,
// and it is laid out again anyway once it shows at its real size (a closed menu of a
// thousand entries is built at one width and opened at another). Its layout waits,
// marked on it and on every ancestor, and showing it (or moving it where it shows)
// lays out what waited, parents first.
bool TControl::HoldWhileHidden(const TControl* KnownShown) {
  const bool shows = ShowsUpTo(this, KnownShown);
  FRealignHeld = !shows;
  if (shows) return false;
  MarkWaiting(this);
  return true;
}

void TControl::MarkWaiting(TControl* From) {
  for (TControl* c = From; c != nullptr && !c->FLayoutHeld; c = c->ParentControl())
    c->FLayoutHeld = true;
}

// Gathers, parents first, the controls below (and with) this shown one whose layout
// waited; a hidden child keeps what waits below it, and so this control's mark.
void TControl::CollectHeldLayouts(std::vector<TControl*>& Out) {
  FLayoutHeld = false;
  if (FRealignHeld) Out.push_back(this);
  for (TFmxObject* o : ChildrenList()) {
    auto* c = fmx::AsControl(o);
    if (c == nullptr || !c->FLayoutHeld) continue;
    if (c->FVisible) c->CollectHeldLayouts(Out);
    if (c->FLayoutHeld) FLayoutHeld = true;
  }
}

void TControl::LayOutWhatWaited() {
  if (!FLayoutHeld || !ParentedVisible()) return;
  std::vector<TControl*> waiting;
  CollectHeldLayouts(waiting);
  // The layouts run resize handlers, which may free or move any of them: inside the
  // scope a freed control stays readable and lays nothing out, and one hidden again
  // meanwhile waits again.
  TDispatchScope scope;
  size_t next = 0;
  try {
    for (; next < waiting.size(); ++next) {
      TControl* c = waiting[next];
      if (!c->FRealignHeld) continue;
      c->FRealignHeld = false;
      c->Realign();
    }
  } catch (...) {
    // A handler threw: what has not been laid out yet keeps waiting, marked again.
    for (size_t i = next + 1; i < waiting.size(); ++i)
      if (waiting[i]->FRealignHeld) MarkWaiting(waiting[i]);
    throw;
  }
}

// A control that joins a parent brings what waits below it: laid out now if it shows
// there, else marked on its new ancestors.
void TControl::HeldLayoutMoved() {
  if (!FLayoutHeld) return;
  LayOutWhatWaited();
  if (FLayoutHeld) MarkWaiting(ParentControl());
}

void TControl::DoRealignNow() {
  FRealignPending = false;
  ++FRealignLock;
  // Released however the layout ends (a handler may throw, or free this control),
  // or the control would never lay out again.
  TDispatchScope scope;
  struct TUnlock {
    TControl* Self;
    ~TUnlock() { --Self->FRealignLock; }
  } unlock{this};
  DoRealign();
}

void TControl::BeginUpdate() { ++FUpdateCount; }

void TControl::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FRealignPending) {
    FRealignPending = false;
    Realign();
  }
}

void TControl::DoRealign() {
  TRectF full = LocalRect();
  const TRectF pad = PaddingRect();
  TRectF area{pad.Left, pad.Top, FWidth - pad.Right, FHeight - pad.Bottom};
  AlignChildren(this, area, full, [](TControl* C, float X, float Y, float W, float H) {
    C->SetBounds(X, Y, W, H);
  });
}

// --- visibility and state -----------------------------------------------------

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  if (!Value) InvalidatePainted();
  FVisible = Value;
  SubtreeChanged();
  if (Value) InvalidatePainted();
  // The layout's handlers may free this control; it is then off the tree, and what
  // follows does nothing.
  TDispatchScope scope;
  // The parent's layout first: it sizes this control, whose own layout then runs once.
  if (Align() != TAlignLayout::None) ParentRealign();
  if (FVisible) LayOutWhatWaited();
  TAccessibility::Notify(this, FVisible ? TAccessibleEvent::Shown : TAccessibleEvent::Hidden);
  NotifyTreeChanged();
  // A control that disappears cannot stay hovered or captured. Last, since the leave
  // runs handlers.
  if (!FVisible)
    if (IRoot* root = Root()) root->ControlHidden(this);
}

bool TControl::ParentedVisible() const { return ShowsUpTo(this, nullptr); }

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  InvalidatePainted();
  TAccessibility::Notify(this, TAccessibleEvent::StateChanged);
  if (!FEnabled)
    if (IRoot* root = Root()) root->ControlHidden(this);
}

bool TControl::AbsoluteEnabled() const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl())
    if (!c->FEnabled) return false;
  return true;
}

void TControl::SetOpacity(float Value) {
  Value = std::isnan(Value) ? 0.0f : std::clamp(Value, 0.0f, 1.0f);
  if (Value == FOpacity) return;
  FOpacity = Value;
  InvalidatePainted();
}

float TControl::AbsoluteOpacity() const {
  float o = 1.0f;
  bool enabled = true;
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    o *= c->FOpacity;
    enabled = enabled && c->FEnabled;
  }
  return enabled ? o : o * kDisabledOpacity;
}

void TControl::SetClipChildren(bool Value) {
  if (Value == FClipChildren) return;
  InvalidatePainted();
  FClipChildren = Value;
  SubtreeChanged();
  InvalidatePainted();
}

std::vector<TControl*> TControl::Controls() const {
  std::vector<TControl*> result;
  result.reserve(ChildrenList().size());
  for (TFmxObject* o : ChildrenList())
    if (auto* c = fmx::AsControl(o)) result.push_back(c);
  return result;
}

int TControl::ControlsCount() const {
  int n = 0;
  for (TFmxObject* o : ChildrenList())
    if (fmx::AsControl(o) != nullptr) ++n;
  return n;
}

TControl* TControl::ParentControl() const { return fmx::AsControl(Parent()); }

TCommonCustomForm* TControl::ParentForm() const {
  for (TFmxObject* p = Parent(); p != nullptr; p = p->Parent())
    if (IRoot* root = p->AsRoot()) return root->Form();
  return nullptr;
}

// --- damage -----------------------------------------------------------------------

TRectF TControl::PaintRectLocal() const {
  // A pixel of slack: anti-aliased edges and filtered pictures at fractional places
  // touch the pixel next to their geometry.
  return {-1, -1, FWidth + 1, FHeight + 1};
}

TRectF TControl::SubtreePaintRect() const {
  if (!FSubtreeRectValid) {
    TRectF r = PaintRectLocal();
    TRectF kids;
    for (TFmxObject* o : ChildrenList()) {
      if (auto* c = fmx::AsControl(o)) {
        if (c->FVisible) kids = kids.Union(c->SubtreePaintRect());
      } else if (auto* e = dynamic_cast<TEffect*>(o); e != nullptr && e->Enabled()) {
        // Effects paint behind their control, outside it, and are not clipped by it.
        r = r.Union(e->EffectRect(LocalRect()));
      }
    }
    if (FClipChildren) kids = kids.Intersect(LocalRect());
    r = r.Union(kids);
    FSubtreeRect = r.Offset(FPosition.X(), FPosition.Y());
    FSubtreeRectValid = true;
  }
  return FSubtreeRect;
}

void TControl::SubtreeChanged() {
  for (TControl* c = this; c != nullptr && c->FSubtreeRectValid; c = c->ParentControl())
    c->FSubtreeRectValid = false;
}

void TControl::InvalidatePainted() {
  if (IsDestroying()) return;
  InvalidateLeaving();
}

void TControl::InvalidateLeaving() {
  if (!FVisible) return;
  TFmxObject* parent = Parent();
  if (parent == nullptr) return;
  // Nothing to repaint on a tree no window shows (a form being built, hidden, or none
  // at all); showing it repaints it whole.
  IRoot* root = Root();
  if (root == nullptr || !root->IsShowing()) return;
  const TRectF r = SubtreePaintRect();
  if (auto* pc = fmx::AsControl(parent))
    pc->InvalidateRect(r);
  else
    root->InvalidateRect(r);
}

namespace {
// Paint handlers draw from the application's state, which may have changed unseen.
bool SubtreeInvalidatesItself(const TFmxObject* O) {
  const TControl* c = O->AsControl();
  if (c == nullptr || !c->InvalidatesItself() || c->OnPainting() || c->OnPaint()) return false;
  for (const TFmxObject* child : O->ChildrenList())
    if (!SubtreeInvalidatesItself(child)) return false;
  return true;
}
}  // namespace

void TControl::Repaint() {
  // Such a subtree has nothing stale on screen: each change already repainted where
  // it was and where it is. Asking again would repaint its whole area for nothing (a
  // window-sized background, on every hover of a menu entry).
  if (SubtreeInvalidatesItself(this)) return;
  InvalidatePainted();
}

void TControl::ZOrderChanged(size_t OldIndex) {
  if (!FVisible || IsDestroying()) return;
  TFmxObject* parent = Parent();
  IRoot* root = parent != nullptr ? Root() : nullptr;
  if (root == nullptr || !root->IsShowing()) return;
  const auto& siblings = parent->ChildrenList();
  const size_t now = static_cast<size_t>(Index());
  const size_t from = std::min(OldIndex, now), to = std::min(std::max(OldIndex, now), siblings.size() - 1);
  const TRectF mine = SubtreePaintRect();
  auto* pc = fmx::AsControl(parent);
  for (size_t i = from; i <= to; ++i) {
    auto* c = fmx::AsControl(siblings[i]);
    if (c == nullptr || c == this || !c->FVisible) continue;
    const TRectF overlap = mine.Intersect(c->SubtreePaintRect());
    if (overlap.IsEmpty()) continue;
    if (pc != nullptr)
      pc->InvalidateRect(overlap);
    else
      root->InvalidateRect(overlap);
  }
}

void TControl::InvalidateRect(const TRectF& R) {
  // Up the chain to the form: offsets add up, a hidden ancestor shows nothing, and a
  // clipping ancestor shows only what lies inside it.
  TRectF r = R;
  const TControl* c = this;
  for (;;) {
    if (!c->FVisible || c->IsDestroying()) return;
    if (c->FClipChildren) r = r.Intersect(c->LocalRect());
    if (r.IsEmpty()) return;
    r = r.Offset(c->FPosition.X(), c->FPosition.Y());
    TFmxObject* p = c->Parent();
    if (p == nullptr) return;
    auto* pc = fmx::AsControl(p);
    if (pc == nullptr) {
      if (IRoot* root = (p)->AsRoot()) root->InvalidateRect(r);
      else if (IRoot* top = p->Root()) top->InvalidateRect(r);
      return;
    }
    c = pc;
  }
}

void TControl::Capture() {
  if (auto* form = ParentForm()) form->SetCaptured(this);
}

void TControl::ReleaseCapture() {
  if (auto* form = ParentForm(); form != nullptr && form->Captured() == this)
    form->SetCaptured(nullptr);
}

bool TControl::PointInObjectLocal(float X, float Y) const {
  return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight;
}

// --- children -----------------------------------------------------------------

void TControl::DoInsertObject(int Index, TFmxObject* AObject) {
  // The newcomer's ParentChanged may run application code that frees either of the two.
  TDispatchScope scope;
  TFmxObject::DoInsertObject(Index, AObject);
  // A freed newcomer is off this parent; a freed parent lays nothing out.
  auto* c = fmx::AsControl(AObject);
  if (c == nullptr || c->Parent() != this) return;
  SubtreeChanged();
  c->InvalidatePainted();
  // This parent's layout first: it sizes the newcomer, whose own layout then runs once.
  if (c->Align() != TAlignLayout::None) Realign();
  c->HeldLayoutMoved();
}

void TControl::DoRemoveObject(TFmxObject* AObject) {
  auto* c = fmx::AsControl(AObject);
  const bool wasAligned = c != nullptr && c->Align() != TAlignLayout::None;
  // A parent that is going away repaints nothing and lays nothing out.
  if (IsDestroying()) {
    TFmxObject::DoRemoveObject(AObject);
    return;
  }
  if (c != nullptr)
    c->InvalidateLeaving();
  else
    InvalidatePainted();  // an effect: what it painted goes with it
  // The leaving child's ParentChanged may run application code that frees this parent.
  TDispatchScope scope;
  TFmxObject::DoRemoveObject(AObject);
  SubtreeChanged();
  if (wasAligned) Realign();
}

void TControl::ChildrenChanged() {
  // Order decides ties in the layout; the child that moved repaints where it lies.
  SubtreeChanged();
  Realign();
}

// --- input --------------------------------------------------------------------

void TControl::Click() {
  Fire(&TControlEvents::OnClick);
}

void TControl::DblClick() {
  Fire(&TControlEvents::OnDblClick);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft) FPressed = true;
  Fire(&TControlEvents::OnMouseDown, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, float X, float Y) {
  Fire(&TControlEvents::OnMouseMove, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (Button == TMouseButton::mbLeft) FPressed = false;
  Fire(&TControlEvents::OnMouseUp, Button, Shift, X, Y);
}

void TControl::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  Fire(&TControlEvents::OnMouseWheel, Shift, WheelDelta, Handled);
}

void TControl::DoMouseEnter() {
  FIsMouseOver = true;
  Fire(&TControlEvents::OnMouseEnter);
}

void TControl::DoMouseLeave() {
  FIsMouseOver = false;
  FPressed = false;
  Fire(&TControlEvents::OnMouseLeave);
}

void TControl::KeyDown(uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  Fire(&TControlEvents::OnKeyDown, Key, KeyChar, Shift);
}

void TControl::KeyUp(uint16_t& Key, Char& KeyChar, TShiftState Shift) {
  Fire(&TControlEvents::OnKeyUp, Key, KeyChar, Shift);
}

bool TControl::IsFocused() const {
  auto* form = ParentForm();
  return form != nullptr && form->Focused() == this;
}

void TControl::SetFocus() {
  if (auto* form = ParentForm()) form->SetFocused(this);
}

// --- painting -----------------------------------------------------------------

void TControl::Paint() {}

TCanvas* TControl::Canvas() const {
  for (const TPaintingScope* p = TPaintingScope::Innermost; p != nullptr; p = p->Outer)
    if (p->Control == this) return p->Canvas;
  return nullptr;
}

void TControl::PaintTo(TCanvas* ACanvas) {
  // Paint handlers may free the control; stop painting it then.
  TDispatchScope scope;
  TPaintingScope painting(this, ACanvas);
  Fire(&TControlEvents::OnPainting);
  if (IsDestroying()) return;
  TEffect::PaintEffectsBehind(this, ACanvas);
  Paint();
  Fire(&TControlEvents::OnPaint);
  if (IsDestroying()) return;
  const bool clips = ACanvas != nullptr && FClipChildren;
  if (clips) {
    ACanvas->SaveState();
    ACanvas->IntersectClipRect(LocalRect());
  }
  PaintChildren(ACanvas);
  // The canvas belongs to the painter, so its state is put back even when a child's
  // paint handler freed this control.
  if (clips) ACanvas->RestoreState();
}

void TControl::PaintChildren(TCanvas* canvas) {
  // A child's paint handler may free this control too, which takes its children off
  // it and so ends the loop.
  TDispatchScope scope;
  // What may be drawn at all (the damaged region, cut by clipping parents), in local
  // coordinates: children wholly outside it are not visited.
  const TRectF visible = canvas != nullptr ? canvas->ClipBounds() : TRectF{};
  // Index-based: a child's Paint may reorder, add or remove siblings. The form paints
  // again until the tree is stable, so a pass that sees a changing list is redone.
  for (size_t i = 0; i < ChildrenList().size(); ++i) {
    auto* child = fmx::AsControl(ChildrenList()[i]);
    if (child == nullptr || !child->FVisible) continue;
    if (canvas != nullptr) {
      if (!child->SubtreePaintRect().IntersectsWith(visible)) continue;
      canvas->SaveState();
      canvas->Translate(child->FPosition.X(), child->FPosition.Y());
    }
    child->PaintTo(canvas);
    if (canvas != nullptr) canvas->RestoreState();
  }
}

// --- realign batches --------------------------------------------------------------

namespace {
// A big tree puts off a realign per control, and a list that size comes back from
// the process's allocator as fresh pages each time (it trims its heap and maps big
// blocks anew): the lists are kept for the next batch. One set per batch being run,
// as a handler may open and end a batch inside another's end. They grow in blocks of
// the objects' memory and are only ever walked in order, never indexed: the first
// batch of a fresh process neither copies them as they grow nor faults in small pages
// for them.
template <class T>
using TBatchList = std::deque<T, detail::TObjectAllocator<T>>;
using TDeferredList = TBatchList<TWeak<TFmxObject>>;
using TDepthBucket = TBatchList<const TWeak<TFmxObject>*>;
struct TBatchScratch {
  TDeferredList Deferred;
  // What was put off, by depth in the tree, each in the order it was put off.
  std::vector<TDepthBucket> ByDepth;
};
thread_local int gBatchDepth = 0;
thread_local TBatchScratch* gDeferred = nullptr;
thread_local std::vector<std::unique_ptr<TBatchScratch>> gSpare;

std::unique_ptr<TBatchScratch> TakeScratch() {
  if (gSpare.empty()) return std::make_unique<TBatchScratch>();
  std::unique_ptr<TBatchScratch> s = std::move(gSpare.back());
  gSpare.pop_back();
  return s;
}

void GiveBackScratch(std::unique_ptr<TBatchScratch> S) {
  S->Deferred.clear();
  for (TDepthBucket& bucket : S->ByDepth) bucket.clear();
  gSpare.push_back(std::move(S));
}

size_t Depth(const TFmxObject* O) {
  size_t d = 0;
  for (const TFmxObject* p = O->Parent(); p != nullptr; p = p->Parent()) ++d;
  return d;
}
}  // namespace

TRealignBatch::TRealignBatch() : FExceptionsAtStart(std::uncaught_exceptions()) {
  if (gBatchDepth++ == 0) gDeferred = TakeScratch().release();
}

TRealignBatch::~TRealignBatch() {
  if (--gBatchDepth > 0) return;
  RunDeferred(std::uncaught_exceptions() <= FExceptionsAtStart ? TBatchEnd::Close
                                                                : TBatchEnd::Abandon);
}

void TRealignBatch::Flush() {
  if (gBatchDepth != 1) return;
  RunDeferred(TBatchEnd::Flush);
}

void TRealignBatch::RunDeferred(TBatchEnd End) {
  TDispatchScope scope;
  // A batch still open (a flush) collects what the layouts done here put off in a
  // fresh list; a closed one has none, so that a batch a handler opens starts its own.
  std::unique_ptr<TBatchScratch> scratch(gDeferred);
  gDeferred = End == TBatchEnd::Flush ? TakeScratch().release() : nullptr;
  struct TGiveBack {
    std::unique_ptr<TBatchScratch>& S;
    ~TGiveBack() { GiveBackScratch(std::move(S)); }
  } giveBack{scratch};
  TDeferredList& pending = scratch->Deferred;
  // A control still marked pending would never be put off again.
  auto drop = [](const TWeak<TFmxObject>& Entry) {
    TFmxObject* o = Entry.Get();
    if (auto* c = fmx::AsControl(o)) c->FRealignPending = false;
    else if (IRoot* r = o != nullptr ? o->AsRoot() : nullptr) r->DropDeferredRealign();
  };
  if (End == TBatchEnd::Abandon) {
    for (const TWeak<TFmxObject>& entry : pending) drop(entry);
    return;
  }
  // Parents first: laying a parent out resizes its children, whose own layout then
  // runs once on the final size. Depths are small, so sorting into a bucket per depth
  // keeps the order of deferral within a depth in linear time.
  std::vector<TDepthBucket>& byDepth = scratch->ByDepth;
  try {
    for (const TWeak<TFmxObject>& entry : pending) {
      if (TFmxObject* o = entry.Get()) {
        const size_t d = Depth(o);
        if (byDepth.size() <= d) byDepth.resize(d + 1);
        byDepth[d].push_back(&entry);
      }
    }
  } catch (...) {
    // Out of memory before anything was laid out: all of it is dropped.
    for (const TWeak<TFmxObject>& entry : pending) drop(entry);
    throw;
  }
  // The parent of the last control found showing: its siblings, often next in the
  // order, need only ask about themselves.
  const TControl* shownParent = nullptr;
  size_t depth = 0;
  TDepthBucket::const_iterator next;
  try {
    for (; depth < byDepth.size(); ++depth) {
      for (next = byDepth[depth].begin(); next != byDepth[depth].end(); ++next) {
        TFmxObject* o = (*next)->Get();
        if (o == nullptr) continue;
        if (auto* c = fmx::AsControl(o)) {
          if (c->FRealignPending && c->FUpdateCount == 0) {
            const TControl* parent = c->ParentControl();
            if (c->HoldWhileHidden(parent == shownParent ? parent : nullptr)) {
              c->FRealignPending = false;
            } else {
              shownParent = parent;
              c->DoRealignNow();
            }
          }
        } else if (IRoot* r = o->AsRoot()) {
          r->RealignDeferred();
        }
      }
    }
  } catch (...) {
    // What was not laid out yet is dropped: this one's followers, then the deeper ones.
    for (++next; next != byDepth[depth].end(); ++next) drop(**next);
    for (++depth; depth < byDepth.size(); ++depth)
      for (const TWeak<TFmxObject>* entry : byDepth[depth]) drop(*entry);
    throw;
  }
}

bool TRealignBatch::Active() { return gBatchDepth > 0; }

void TRealignBatch::Defer(TFmxObject* AObject) {
  if (gDeferred != nullptr) gDeferred->Deferred.emplace_back(AObject);
}

// --- TPresentedControl ---------------------------------------------------------

TPresentedControl::TPresentedControl(TComponent* AOwner) : TControl(AOwner) {}

}  // namespace fmx
