#include <gtest/gtest.h>

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
