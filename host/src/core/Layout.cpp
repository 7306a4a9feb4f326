#include "core/Layout.h"

#include <algorithm>
#include <array>
#include <memory>

namespace fmx {

namespace {

struct Placed {
  TControl* Control;
  int Order;  // child order, for ties
};

// Where siblings of one alignment start from: the edge they stack against, so the
// nearest-to-the-edge goes first.
bool Before(TAlignLayout A, const Placed& a, const Placed& b) {
  float pa = 0, pb = 0;
  bool ascending = true;
  switch (A) {
    case TAlignLayout::Top:
    case TAlignLayout::MostTop:
      pa = a.Control->Position()->Y();
      pb = b.Control->Position()->Y();
      break;
    case TAlignLayout::Bottom:
    case TAlignLayout::MostBottom:
      pa = a.Control->Position()->Y();
      pb = b.Control->Position()->Y();
      ascending = false;
      break;
    case TAlignLayout::Left:
    case TAlignLayout::MostLeft:
      pa = a.Control->Position()->X();
      pb = b.Control->Position()->X();
      break;
    case TAlignLayout::Right:
    case TAlignLayout::MostRight:
      pa = a.Control->Position()->X();
      pb = b.Control->Position()->X();
      ascending = false;
      break;
    default:
      return a.Order < b.Order;
  }
  if (pa != pb) return ascending ? pa < pb : pa > pb;
  return a.Order < b.Order;
}

void AlignOne(TControl* c, TRectF& area, const TRectF& full, TPlaceAligned place) {
  auto Place = [place](TControl* c, float x, float y, float w, float h) {
    place(c, x, y, std::max(0.0f, w), std::max(0.0f, h));
  };
  // Copied before placing: placing runs handlers that may free the control.
  const struct {
    TRectF R;
    float Left() const { return R.Left; }
    float Top() const { return R.Top; }
    float Right() const { return R.Right; }
    float Bottom() const { return R.Bottom; }
  } m{c->MarginsRect()};
  const float w = c->Width(), h = c->Height();
  const float aw = area.Width(), ah = area.Height();
  switch (c->Align()) {
    case TAlignLayout::Top:
    case TAlignLayout::MostTop:
      Place(c, area.Left + m.Left(), area.Top + m.Top(), aw - m.Left() - m.Right(), h);
      area.Top += h + m.Top() + m.Bottom();
      break;
    case TAlignLayout::Bottom:
    case TAlignLayout::MostBottom:
      Place(c, area.Left + m.Left(), area.Bottom - m.Bottom() - h, aw - m.Left() - m.Right(), h);
      area.Bottom -= h + m.Top() + m.Bottom();
      break;
    case TAlignLayout::Left:
    case TAlignLayout::MostLeft:
      Place(c, area.Left + m.Left(), area.Top + m.Top(), w, ah - m.Top() - m.Bottom());
      area.Left += w + m.Left() + m.Right();
      break;
    case TAlignLayout::Right:
    case TAlignLayout::MostRight:
      Place(c, area.Right - m.Right() - w, area.Top + m.Top(), w, ah - m.Top() - m.Bottom());
      area.Right -= w + m.Left() + m.Right();
      break;
    case TAlignLayout::Client:
      Place(c, area.Left + m.Left(), area.Top + m.Top(), aw - m.Left() - m.Right(),
            ah - m.Top() - m.Bottom());
      break;
    case TAlignLayout::Contents:
      Place(c, full.Left + m.Left(), full.Top + m.Top(), full.Width() - m.Left() - m.Right(),
            full.Height() - m.Top() - m.Bottom());
      break;
    case TAlignLayout::Center:
      Place(c, area.Left + m.Left() + (aw - m.Left() - m.Right() - w) / 2,
            area.Top + m.Top() + (ah - m.Top() - m.Bottom() - h) / 2, w, h);
      break;
    case TAlignLayout::VertCenter:
      Place(c, area.Left + m.Left(), area.Top + m.Top() + (ah - m.Top() - m.Bottom() - h) / 2,
            aw - m.Left() - m.Right(), h);
      break;
    case TAlignLayout::HorzCenter:
      Place(c, area.Left + m.Left() + (aw - m.Left() - m.Right() - w) / 2, area.Top + m.Top(), w,
            ah - m.Top() - m.Bottom());
      break;
    case TAlignLayout::None:
      break;
  }
  // An exhausted area stays empty rather than inverting.
  if (area.Right < area.Left) area.Right = area.Left;
  if (area.Bottom < area.Top) area.Bottom = area.Top;
}

// Lists by alignment for one AlignChildren call, borrowed from a per-thread stack of
// them and given back (emptied, capacity kept) when the call ends.
class TAlignScratch {
 public:
  using TLists = std::array<std::vector<Placed>, 14>;
  TAlignScratch() {
    if (gDepth == gStack.size()) gStack.push_back(std::make_unique<TLists>());
    FLists = gStack[gDepth++].get();
  }
  ~TAlignScratch() {
    for (auto& l : *FLists) l.clear();
    --gDepth;
  }
  TAlignScratch(const TAlignScratch&) = delete;
  TAlignScratch& operator=(const TAlignScratch&) = delete;
  TLists& Lists() { return *FLists; }

 private:
  static thread_local std::vector<std::unique_ptr<TLists>> gStack;
  static thread_local size_t gDepth;
  TLists* FLists;
};
thread_local std::vector<std::unique_ptr<TAlignScratch::TLists>> TAlignScratch::gStack;
thread_local size_t TAlignScratch::gDepth = 0;

}  // namespace

void AlignChildren(TFmxObject* Parent, TRectF Area, TRectF Full, TPlaceAligned Place) {
  // Edge alignments stack in phases: the "most" ones take the outer edges first.
  static constexpr std::array<std::array<TAlignLayout, 2>, 4> kEdgePhases{{
      {TAlignLayout::MostTop, TAlignLayout::MostBottom},
      {TAlignLayout::MostLeft, TAlignLayout::MostRight},
      {TAlignLayout::Top, TAlignLayout::Bottom},
      {TAlignLayout::Left, TAlignLayout::Right},
  }};
  // One pass sorts the children into their alignments; each phase then reads its own.
  // The lists are kept from call to call (one set per level of nesting: placing a child
  // lays out its own children), so laying out a big tree does not allocate per control.
  TAlignScratch scratch;
  std::array<std::vector<Placed>, 14>& byAlign = scratch.Lists();
  bool any = false;
  const auto& children = Parent->ChildrenList();
  for (size_t i = 0; i < children.size(); ++i) {
    if (i + 4 < children.size()) __builtin_prefetch(children[i + 4]);
    auto* c = fmx::AsControl(children[i]);
    if (c != nullptr && c->Visible() && c->Align() != TAlignLayout::None &&
        static_cast<size_t>(c->Align()) < byAlign.size()) {
      byAlign[static_cast<size_t>(c->Align())].push_back({c, static_cast<int>(i)});
      any = true;
    }
  }
  if (!any) return;

  // Placing a control runs its resize handler, which may free or move anything. Freed
  // controls stay readable to the end of the dispatch, so each is asked on its turn
  // whether it is still here. A control (or parent) that is going can still be a child
  // for a moment: its owner's freeing marks what it owns before taking it off its
  // parent. Placing it then would run handlers on a tree being taken apart.
  TDispatchScope scope;
  auto present = [&](const Placed& p) {
    return !Parent->IsDestroying() && !p.Control->IsDestroying() && p.Control->Parent() == Parent;
  };

  for (const auto& phase : kEdgePhases) {
    for (TAlignLayout a : phase) {
      std::vector<Placed>& group = byAlign[static_cast<size_t>(a)];
      if (group.empty()) continue;
      // Laying out an earlier group may have freed or re-aligned some of these.
      std::erase_if(group, [&](const Placed& p) { return !present(p) || p.Control->Align() != a; });
      std::stable_sort(group.begin(), group.end(),
                       [a](const Placed& x, const Placed& y) { return Before(a, x, y); });
      for (const Placed& p : group)
        if (present(p)) AlignOne(p.Control, Area, Full, Place);
    }
  }
  for (TAlignLayout a : {TAlignLayout::Client, TAlignLayout::Contents, TAlignLayout::Center,
                         TAlignLayout::VertCenter, TAlignLayout::HorzCenter}) {
    for (const Placed& p : byAlign[static_cast<size_t>(a)])
      if (present(p) && p.Control->Align() == a) AlignOne(p.Control, Area, Full, Place);
  }
}

}  // namespace fmx
