#include "Layout.h"

#include <algorithm>
#include <array>
#include <memory>

namespace fmx {

namespace {

struct Placed {
  TControl* Control;
  int Order;  // child order, for ties
  TWeak<TControl> Watch;
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

void Place(TControl* c, float x, float y, float w, float h) {
  c->SetBounds(x, y, std::max(0.0f, w), std::max(0.0f, h));
}

void AlignOne(TControl* c, TRectF& area, const TRectF& full) {
  const TBounds* m = c->Margins();
  const float w = c->Width(), h = c->Height();
  const float aw = area.Width(), ah = area.Height();
  switch (c->Align()) {
    case TAlignLayout::Top:
    case TAlignLayout::MostTop:
      Place(c, area.Left + m->Left(), area.Top + m->Top(), aw - m->Left() - m->Right(), h);
      area.Top += h + m->Top() + m->Bottom();
      break;
    case TAlignLayout::Bottom:
    case TAlignLayout::MostBottom:
      Place(c, area.Left + m->Left(), area.Bottom - m->Bottom() - h, aw - m->Left() - m->Right(), h);
      area.Bottom -= h + m->Top() + m->Bottom();
      break;
    case TAlignLayout::Left:
    case TAlignLayout::MostLeft:
      Place(c, area.Left + m->Left(), area.Top + m->Top(), w, ah - m->Top() - m->Bottom());
      area.Left += w + m->Left() + m->Right();
      break;
    case TAlignLayout::Right:
    case TAlignLayout::MostRight:
      Place(c, area.Right - m->Right() - w, area.Top + m->Top(), w, ah - m->Top() - m->Bottom());
      area.Right -= w + m->Left() + m->Right();
      break;
    case TAlignLayout::Client:
      Place(c, area.Left + m->Left(), area.Top + m->Top(), aw - m->Left() - m->Right(),
            ah - m->Top() - m->Bottom());
      break;
    case TAlignLayout::Contents:
      Place(c, full.Left + m->Left(), full.Top + m->Top(), full.Width() - m->Left() - m->Right(),
            full.Height() - m->Top() - m->Bottom());
      break;
    case TAlignLayout::Center:
      Place(c, area.Left + m->Left() + (aw - m->Left() - m->Right() - w) / 2,
            area.Top + m->Top() + (ah - m->Top() - m->Bottom() - h) / 2, w, h);
      break;
    case TAlignLayout::VertCenter:
      Place(c, area.Left + m->Left(), area.Top + m->Top() + (ah - m->Top() - m->Bottom() - h) / 2,
            aw - m->Left() - m->Right(), h);
      break;
    case TAlignLayout::HorzCenter:
      Place(c, area.Left + m->Left() + (aw - m->Left() - m->Right() - w) / 2, area.Top + m->Top(), w,
            ah - m->Top() - m->Bottom());
      break;
    case TAlignLayout::None:
      break;
  }
  // An exhausted area stays empty rather than inverting.
  if (area.Right < area.Left) area.Right = area.Left;
  if (area.Bottom < area.Top) area.Bottom = area.Top;
}

}  // namespace

void AlignChildren(const std::vector<TControl*>& Children, TRectF Area, TRectF Full) {
  // Edge alignments stack in phases: the "most" ones take the outer edges first.
  static constexpr std::array<std::array<TAlignLayout, 2>, 4> kEdgePhases{{
      {TAlignLayout::MostTop, TAlignLayout::MostBottom},
      {TAlignLayout::MostLeft, TAlignLayout::MostRight},
      {TAlignLayout::Top, TAlignLayout::Bottom},
      {TAlignLayout::Left, TAlignLayout::Right},
  }};
  std::vector<Placed> aligned;
  // Placing a control runs its resize handler, which may free or move a sibling: each
  // one is held weakly and skipped once it is gone from this parent.
  const TFmxObject* parent = Children.empty() ? nullptr : Children.front()->Parent();
  for (size_t i = 0; i < Children.size(); ++i) {
    TControl* c = Children[i];
    if (c->Visible() && c->Align() != TAlignLayout::None) {
      aligned.push_back({c, static_cast<int>(i), TWeak<TControl>(c)});
    }
  }
  if (aligned.empty()) return;
  auto present = [parent](const Placed& p) {
    return p.Watch.Alive() && p.Control->Parent() == parent;
  };

  std::vector<Placed> group;
  for (const auto& phase : kEdgePhases) {
    for (TAlignLayout a : phase) {
      group.clear();
      for (const Placed& p : aligned)
        if (present(p) && p.Control->Align() == a) group.push_back(p);
      std::stable_sort(group.begin(), group.end(),
                       [a](const Placed& x, const Placed& y) { return Before(a, x, y); });
      for (const Placed& p : group)
        if (present(p)) AlignOne(p.Control, Area, Full);
    }
  }
  for (TAlignLayout a : {TAlignLayout::Client, TAlignLayout::Contents, TAlignLayout::Center,
                         TAlignLayout::VertCenter, TAlignLayout::HorzCenter}) {
    for (const Placed& p : aligned)
      if (present(p) && p.Control->Align() == a) AlignOne(p.Control, Area, Full);
  }
}

}  // namespace fmx
