// Image lists and their links. The list knows its links and each link its list, so
// whichever goes first takes itself out of the other: no dangling pointer either way.
#include "HostProps.h"
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
    Link->FImages = nullptr;
    Link->Change();
  }
}

void TBaseImageList::Change() {
  // Handlers may add or remove links while we go; only links still registered when
  // their turn comes are told.
  const std::vector<TImageLink*> Snapshot = FLinks;
  for (TImageLink* Link : Snapshot)
    if (std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end()) Link->Change();
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
  if (FImages) {
    auto& Links = FImages->FLinks;
    Links.erase(std::remove(Links.begin(), Links.end(), this), Links.end());
  }
  FImages = Value;
  if (FImages) FImages->FLinks.push_back(this);
}

void TImageLink::Change() {
  if (FOnChange) FOnChange(FImages);
}

// --- stored-form description ------------------------------------------------

void DeclareImageListClasses() {
  using namespace hostprops;
  TDeclareClass<TBaseImageList, TComponent>("TBaseImageList", [](auto&) {});
  TDeclareClass<TImageList, TBaseImageList>("TImageList", [](auto& c) {
    c.template Collection<TBitmap>(
        "Images",
        {[](TImageList& l) { return l.Count(); },
         [](TImageList& l, int i) { return const_cast<TBitmap*>(l.Bitmap(i)); },
         [](TImageList& l) { l.Clear(); }, [](TImageList& l, TBitmap& b) { l.Add(b); }},
        [](auto& item) {
          item.Prop("Bitmap", [](TBitmap& b) { return &b; }, nullptr, WrittenWhenNotEmpty);
        });
  });
}

}  // namespace fmx
