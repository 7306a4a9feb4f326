// Style books: trees of style objects found by their StyleName.
#pragma once

#include <memory>
#include <vector>

#include "host/Objects.h"

namespace fmx {

/// One style of a style book: a name and its tree of style objects.
class TStyleCollectionItem {
 public:
  explicit TStyleCollectionItem(TFmxObject* AStyle) : FStyle(AStyle) {}
  ~TStyleCollectionItem();
  TStyleCollectionItem(const TStyleCollectionItem&) = delete;
  TStyleCollectionItem& operator=(const TStyleCollectionItem&) = delete;
  // The root object of the style tree (owned by the item).
  TFmxObject* Style() const { return FStyle; }

 private:
  TFmxObject* FStyle;
};

/// The styles of a style book.
class TStyleCollection {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TStyleCollectionItem* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
  // Takes ownership of AStyle (an object with no owner and no parent).
  TStyleCollectionItem* Add(TFmxObject* AStyle);
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TStyleCollectionItem>> FItems;
};

/// A book of styles, loaded from the stored-form text format, that forms and controls read their
/// colours and fonts from.
class TStyleBook : public TFmxObject {
 public:
  explicit TStyleBook(TComponent* AOwner);
  ~TStyleBook() override;
  TStyleCollection* Styles() { return &FStyles; }
  const TStyleCollection* Styles() const { return &FStyles; }
  int CurrentItemIndex() const { return FCurrentItemIndex; }
  void SetCurrentItemIndex(int Value) { FCurrentItemIndex = Value; }
  // The style in use, or nullptr when the book is empty.
  TStyleCollectionItem* CurrentItem() const;
  // Looks a style object up by name in the current style tree.
  TFmxObject* FindStyleResource(const std::string& AStyleLookup) const;
  // The first style book (by creation order among the owner's components) that
  // AOwner owns, or nullptr. Looks only at the books that exist, so a form with
  // thousands of components and no book answers at once.
  static TStyleBook* FirstOwnedBy(const TComponent* AOwner);

 private:
  TStyleCollection FStyles;
  int FCurrentItemIndex = 0;
};

}  // namespace fmx
