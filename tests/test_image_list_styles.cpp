#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/ImageList.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"

using namespace fmx;

TEST(ImageList, LinksHearEveryChangeAndTheListsEnd) {
  auto* List = new TImageList(nullptr);
  TImageLink Link;
  int Changes = 0;
  Link.SetOnChange([&](TObject*) { ++Changes; });
  Link.SetImages(List);
  TBitmap B(2, 2);
  EXPECT_EQ(List->Add(B), 0);
  EXPECT_EQ(List->Add(B), 1);
  List->Delete(0);
  List->Change();
  List->Clear();
  List->Clear();  // already empty: nothing to tell
  EXPECT_EQ(Changes, 5);
  EXPECT_THROW(List->Delete(0), Exception);
  EXPECT_EQ(List->Bitmap(0), nullptr);
  delete List;
  EXPECT_EQ(Changes, 6);
  EXPECT_EQ(Link.Images(), nullptr);
}

TEST(ImageList, ListKeepsCopiesAndSurvivesLinksThatGoFirst) {
  TImageList List(nullptr);
  TBitmap B(1, 1);
  B.SetPixel(0, 0, TAlphaColors::Red);
  List.Add(B);
  B.SetPixel(0, 0, TAlphaColors::Green);
  EXPECT_EQ(List.Bitmap(0)->Pixel(0, 0), TAlphaColors::Red);
  {
    TImageLink Gone;
    Gone.SetImages(&List);
  }
  // A handler that frees another link while the list notifies.
  auto* Victim = new TImageLink;
  Victim->SetImages(&List);
  int VictimCalls = 0;
  Victim->SetOnChange([&](TObject*) { ++VictimCalls; });
  TImageLink Killer;
  Killer.SetOnChange([&](TObject*) {
    delete Victim;
    Victim = nullptr;
  });
  Killer.SetImages(&List);
  List.Change();
  EXPECT_EQ(Victim, nullptr);
  EXPECT_LE(VictimCalls, 1);
  List.Change();  // no dangling link left behind

  // Links that come and go (holes left and closed) are each told once per change, and
  // one added while the list notifies waits for the next change.
  std::vector<std::unique_ptr<TImageLink>> Many(9);
  std::vector<int> Heard(Many.size() + 1);
  for (size_t I = 0; I < Many.size(); ++I) {
    Many[I] = std::make_unique<TImageLink>();
    Many[I]->SetOnChange([&Heard, I](TObject*) { ++Heard[I]; });
    Many[I]->SetImages(&List);
  }
  for (size_t I = 0; I < Many.size(); I += 2) Many[I].reset();
  TImageLink Late;
  Late.SetOnChange([&](TObject*) { ++Heard.back(); });
  Killer.SetOnChange([&](TObject*) { Late.SetImages(&List); });
  List.Change();
  EXPECT_EQ(Heard.back(), 0);
  List.Change();
  EXPECT_EQ(Heard.back(), 1);
  for (size_t I = 0; I < Many.size(); ++I) EXPECT_EQ(Heard[I], I % 2 ? 2 : 0);
}

TEST(StyleBook, CurrentItemAndLookupIncludingTheRoot) {
  TStyleBook Book(nullptr);
  EXPECT_EQ(Book.CurrentItem(), nullptr);
  EXPECT_EQ(Book.FindStyleResource("anything"), nullptr);
  auto* Root = new TLayout(nullptr);
  Root->SetStyleName("RootStyle");
  auto* Child = new TLayout(nullptr);
  Child->SetStyleName("panelstyle");
  Child->SetParent(Root);
  auto* Deep = new TText(nullptr);
  Deep->SetStyleName("text");
  Deep->SetParent(Child);
  Book.Styles()->Add(Root);
  ASSERT_NE(Book.CurrentItem(), nullptr);
  EXPECT_EQ(Book.CurrentItem()->Style(), Root);
  EXPECT_EQ(Book.FindStyleResource("rootstyle"), Root);
  EXPECT_EQ(Book.FindStyleResource("PanelStyle"), Child);
  EXPECT_EQ(Book.FindStyleResource("text"), Deep);
  EXPECT_EQ(Book.FindStyleResource("missing"), nullptr);
  Book.SetCurrentItemIndex(-1);
  EXPECT_EQ(Book.CurrentItem(), nullptr);
  EXPECT_EQ(Book.FindStyleResource("text"), nullptr);
  // The book frees its style trees (the leak checker watches).
}
