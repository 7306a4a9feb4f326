// Style books: each item owns one style tree; lookups go to the current item's tree.
#include "host/Styles.h"

#include <algorithm>

#include "host/Classes.h"

namespace fmx {

TStyleCollectionItem::~TStyleCollectionItem() { delete FStyle; }

TStyleCollectionItem* TStyleCollection::Add(TFmxObject* AStyle) {
  std::unique_ptr<TStyleCollectionItem> Item;
  try {
    Item = std::make_unique<TStyleCollectionItem>(AStyle);
  } catch (...) {
    delete AStyle;  // the collection took ownership, even when it fails
    throw;
  }
  FItems.push_back(std::move(Item));
  return FItems.back().get();
}

namespace {
// Every style book whose constructor has finished and whose destructor has not begun:
// what a dynamic_cast to TStyleBook would recognise. Few exist at a time.
std::vector<TStyleBook*>& LiveBooks() {
  static auto* books = new std::vector<TStyleBook*>;
  return *books;
}
}  // namespace

TStyleBook::TStyleBook(TComponent* AOwner) : TFmxObject(AOwner) { LiveBooks().push_back(this); }

TStyleBook::~TStyleBook() {
  auto& books = LiveBooks();
  books.erase(std::find(books.begin(), books.end(), this));
  FStyles.Clear();
}

TStyleBook* TStyleBook::FirstOwnedBy(const TComponent* AOwner) {
  if (AOwner == nullptr) return nullptr;
  TStyleBook* first = nullptr;
  int firstIndex = 0;
  for (TStyleBook* book : LiveBooks()) {
    if (book->Owner() != AOwner) continue;
    // Not (or no longer) in the owner's list: its owner is freeing it.
    const int index = book->ComponentIndex();
    if (index < 0) continue;
    if (first == nullptr || index < firstIndex) {
      first = book;
      firstIndex = index;
    }
  }
  return first;
}

TStyleCollectionItem* TStyleBook::CurrentItem() const {
  if (FCurrentItemIndex < 0 || FCurrentItemIndex >= FStyles.Count()) return nullptr;
  return FStyles.Items(FCurrentItemIndex);
}

TFmxObject* TStyleBook::FindStyleResource(const std::string& AStyleLookup) const {
  TStyleCollectionItem* Item = CurrentItem();
  if (Item == nullptr || Item->Style() == nullptr) return nullptr;
  TFmxObject* Root = Item->Style();
  if (!AStyleLookup.empty() && LowerCase(Root->StyleName()) == LowerCase(AStyleLookup)) return Root;
  return Root->FindStyleResource(AStyleLookup);
}

}  // namespace fmx
