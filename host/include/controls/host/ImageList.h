// Image lists and the links through which controls follow them.
#pragma once

#include <vector>

#include "host/Classes.h"
#include "host/Graphics.h"

namespace fmx {

class TImageLink;

/// A numbered list of pictures that menus and buttons draw glyphs from.
class TBaseImageList : public TComponent {
 public:
  explicit TBaseImageList(TComponent* AOwner);
  ~TBaseImageList() override;
  virtual int Count() const = 0;
  // The picture at Index, or nullptr when there is none.
  virtual const TBitmap* Bitmap(int Index) const = 0;

  // Tells every link that the pictures changed.
  void Change();

 protected:
  // Links hear of the destruction while the whole list is still intact.
  void BeforeDestruction() override;

 private:
  friend class TImageLink;
  void DetachLinks();
  void AddLink(TImageLink* Link);
  void RemoveLink(TImageLink* Link);
  void CompactLinks();
  // A removed link leaves a hole (each link knows its slot), closed when the holes
  // outnumber the links and no Change is walking the list: adding, removing and
  // telling every link stay linear in the links.
  std::vector<TImageLink*> FLinks;
  size_t FLinkHoles = 0;
  int FWalking = 0;
};

// A list of pictures held in memory.
class TImageList : public TBaseImageList {
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;
  int Count() const override { return static_cast<int>(FBitmaps.size()); }
  const TBitmap* Bitmap(int Index) const override;
  // Adds a copy of ABitmap; returns its index.
  int Add(const TBitmap& ABitmap);
  void Delete(int Index);
  void Clear();

 private:
  std::vector<TBitmap*> FBitmaps;
};

// A user's link to an image list: it hears of changes and of the list's destruction
// (after which Images() is nullptr).
class TImageLink {
 public:
  TImageLink() = default;
  ~TImageLink();
  TImageLink(const TImageLink&) = delete;
  TImageLink& operator=(const TImageLink&) = delete;

  TBaseImageList* Images() const { return FImages; }
  void SetImages(TBaseImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  // Runs when the list changes or goes away.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

 private:
  friend class TBaseImageList;
  void Change();
  TBaseImageList* FImages = nullptr;
  size_t FSlot = 0;  // where this link sits in its list's FLinks
  int FImageIndex = -1;
  TNotifyEvent FOnChange;
};

}  // namespace fmx
