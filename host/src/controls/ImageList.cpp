// Image lists and their links. The list knows its links and each link its list, so
// whichever goes first takes itself out of the other: no dangling pointer either way.
#include "host/ImageList.h"

#include <algorithm>

namespace fmx {

TBaseImageList::TBaseImageList(TComponent* AOwner) : TComponent(AOwner) {}

TBaseImageList::~TBaseImageList() {
  // Normally done in BeforeDestruction; this covers lists that never went through it.
  DetachLinks();
}

void TBaseImageList::BeforeDestruction() {
  DetachLinks();
  TComponent::BeforeDestruction();
}

void TBaseImageList::DetachLinks() {
  // A handler may free other links (or its own): take them one at a time from the
  // live list rather than iterating over it.
  while (!FLinks.empty()) {
    TImageLink* Link = FLinks.back();
    FLinks.pop_back();
    if (Link == nullptr) {
      --FLinkHoles;
      continue;
    }
    Link->FImages = nullptr;
    Link->Change();
  }
}

void TBaseImageList::AddLink(TImageLink* Link) {
  Link->FSlot = FLinks.size();
  FLinks.push_back(Link);
}

void TBaseImageList::RemoveLink(TImageLink* Link) {
  if (Link->FSlot >= FLinks.size() || FLinks[Link->FSlot] != Link) return;
  FLinks[Link->FSlot] = nullptr;
  ++FLinkHoles;
  if (FWalking == 0) CompactLinks();
}

void TBaseImageList::CompactLinks() {
  while (!FLinks.empty() && FLinks.back() == nullptr) {
    FLinks.pop_back();
    --FLinkHoles;
  }
  if (FLinkHoles * 2 <= FLinks.size()) return;
  size_t Out = 0;
  for (TImageLink* Link : FLinks) {
    if (Link == nullptr) continue;
    Link->FSlot = Out;
    FLinks[Out++] = Link;
  }
  FLinks.resize(Out);
  FLinkHoles = 0;
}

void TBaseImageList::Change() {
  // Handlers may add or remove links while we go; only links still registered when
  // their turn comes are told, and none added since. The slots stay put meanwhile.
  struct TWalk {
    TBaseImageList* List;
    ~TWalk() {
      if (--List->FWalking == 0) List->CompactLinks();
    }
  };
  ++FWalking;
  TWalk Walk{this};
  const size_t Count = FLinks.size();
  for (size_t I = 0; I < Count && I < FLinks.size(); ++I)
    if (TImageLink* Link = FLinks[I]) Link->Change();
}

TImageList::TImageList(TComponent* AOwner) : TBaseImageList(AOwner) {}

TImageList::~TImageList() {
  for (TBitmap* B : FBitmaps) delete B;
}

const TBitmap* TImageList::Bitmap(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FBitmaps[static_cast<size_t>(Index)];
}

int TImageList::Add(const TBitmap& ABitmap) {
  auto* Copy = new TBitmap;
  try {
    Copy->Assign(const_cast<TBitmap*>(&ABitmap));
    FBitmaps.push_back(Copy);
  } catch (...) {
    delete Copy;
    throw;
  }
  Change();
  return Count() - 1;
}

void TImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count())
    throw Exception("image list index " + std::to_string(Index) + " out of range 0.." +
                    std::to_string(Count() - 1));
  delete FBitmaps[static_cast<size_t>(Index)];
  FBitmaps.erase(FBitmaps.begin() + Index);
  Change();
}

void TImageList::Clear() {
  if (FBitmaps.empty()) return;
  for (TBitmap* B : FBitmaps) delete B;
  FBitmaps.clear();
  Change();
}

TImageLink::~TImageLink() { SetImages(nullptr); }

void TImageLink::SetImages(TBaseImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveLink(this);
  FImages = Value;
  if (FImages) FImages->AddLink(this);
}

void TImageLink::Change() {
  if (FOnChange) FOnChange(FImages);
}

}  // namespace fmx
