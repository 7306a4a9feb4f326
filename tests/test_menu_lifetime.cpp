// Freeing parts of a menu tree in every order, and application handlers that free parts
// of it while the menu works on it: no list or link may ever lead to a freed object
// (these run under AddressSanitizer too).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

#include "MenuSupport.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

class MenuLifetime : public fmx::testing::MenuTest {
 protected:
  // A main bar with two sub-menus and a cascade, entries with glyphs from an image list,
  // and every sub bar hanging on its entry.
  struct TTree {
    TImageList* Images;
    TQVMenuBar *Main, *File, *Cascade, *Edit;
    TQVMenuButton *FileEntry, *EditEntry, *Open, *Recent, *Old, *Cut;
  };
  TTree Build() {
    TTree t{};
    t.Images = new TImageList(Form.get());
    TBitmap picture(6, 6);
    picture.Clear(0xFF336699);
    t.Images->Add(picture);
    t.Main = AddMainBar();
    t.FileEntry = AddEntry(t.Main, "File");
    t.EditEntry = AddEntry(t.Main, "Edit");
    t.File = AddBar(t.Main);
    t.File->SetTargetButton(t.FileEntry);
    t.Open = AddEntry(t.File, "Open");
    t.Recent = AddEntry(t.File, "Recent");
    t.Recent->SetMoreArrow(true);
    t.Cascade = AddBar(t.File);
    t.Cascade->SetTargetButton(t.Recent);
    t.Old = AddEntry(t.Cascade, "old.txt");
    t.Edit = AddBar(t.Main);
    t.Edit->SetTargetButton(t.EditEntry);
    t.Cut = AddEntry(t.Edit, "Cut");
    t.Main->SetImages(t.Images);
    t.Open->SetImageIndex(0);
    t.Old->SetImageIndex(0);
    // Shown, so that painting draws every part.
    for (TQVMenuBar* b : {t.File, t.Cascade, t.Edit}) b->SetVisible(true);
    return t;
  }

  // Every live bar's lists hold live objects only, and every live link leads to one.
  void ExpectSoundLinks(const std::vector<TWeak<TComponent>>& All) {
    for (const TWeak<TComponent>& w : All) {
      if (auto* bar = dynamic_cast<TQVMenuBar*>(w.Get())) {
        for (TQVMenuBar* b : In::Bars(bar)) EXPECT_NE(b, nullptr);
        for (TQVMenuButton* b : In::Buttons(bar)) EXPECT_NE(b, nullptr);
        if (TQVMenuButton* target = bar->TargetButton()) {
          EXPECT_FALSE(target->IsDestroying());
        }
      }
      if (auto* button = dynamic_cast<TQVMenuButton*>(w.Get())) {
        if (TQVMenuBar* root = In::RootOf(button)) {
          EXPECT_FALSE(root->IsDestroying());
        }
        if (TBaseImageList* images = In::ImagesOf(button)) {
          EXPECT_FALSE(images->IsDestroying());
        }
      }
    }
  }
};

}  // namespace

TEST_F(MenuLifetime, FreeingTargetsRootsImageListsAndSubTreesInEveryOrderLeavesNothingDangling) {
  // Five parts, freed in each of their 120 orders; parts already gone with an earlier
  // one are skipped. Every step paints the form and walks every list and link.
  Form->SetBounds(0, 0, 260, 200);  // small pictures: 600 paints
  std::vector<int> order(5);
  std::iota(order.begin(), order.end(), 0);
  int runs = 0;
  do {
    TTree t = Build();
    const std::vector<TComponent*> parts{t.Images, t.Main, t.File, t.Recent, t.Open};
    std::vector<TWeak<TComponent>> all;
    for (TComponent* c : {static_cast<TComponent*>(t.Images), static_cast<TComponent*>(t.Main),
                          static_cast<TComponent*>(t.File), static_cast<TComponent*>(t.Cascade),
                          static_cast<TComponent*>(t.Edit), static_cast<TComponent*>(t.FileEntry),
                          static_cast<TComponent*>(t.EditEntry), static_cast<TComponent*>(t.Open),
                          static_cast<TComponent*>(t.Recent), static_cast<TComponent*>(t.Old),
                          static_cast<TComponent*>(t.Cut)})
      all.emplace_back(c);
    std::vector<TWeak<TComponent>> weakParts(parts.begin(), parts.end());
    for (int i : order) {
      if (TComponent* part = weakParts[static_cast<size_t>(i)]) delete part;
      Platform->Snapshot(Form.get());
      ExpectSoundLinks(all);
      // What is left still works: colours spread, styles switch, images change.
      for (const TWeak<TComponent>& w : all)
        if (auto* bar = dynamic_cast<TQVMenuBar*>(w.Get())) {
          bar->SetFontColor(0xFF000000u | static_cast<TAlphaColor>(runs * 7919));
          bar->SetImages(nullptr);
        }
    }
    Form->DestroyComponents();
    ++runs;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(runs, 120);
}

TEST_F(MenuLifetime, FreeingTheImageListLeavesGlyphEntriesDrawingNothing) {
  TTree t = Build();
  delete t.Images;
  EXPECT_EQ(t.Main->Images(), nullptr);
  EXPECT_EQ(t.File->Images(), nullptr);
  EXPECT_EQ(In::ImagesOf(t.Open), nullptr);
  EXPECT_EQ(In::Glyph(t.Open)->Images(), nullptr);
  Platform->Snapshot(Form.get());
  // A new list reaches the same entries again.
  auto* images = new TImageList(Form.get());
  t.Main->SetImages(images);
  EXPECT_EQ(In::ImagesOf(t.Open), images);
}

TEST_F(MenuLifetime, FreeingTheRootWhileASubBarLivesElsewhereMakesThatBarItsOwnRoot) {
  TTree t = Build();
  t.Edit->SetParent(Form.get());  // hangs nowhere in the tree any more
  TWeak<TQVMenuBar> file(t.File);
  delete t.Main;
  EXPECT_FALSE(file.Alive());  // went with its parent
  EXPECT_EQ(In::RootOf(t.Cut), t.Edit);
  t.Edit->SetBackgroundColor(0xFF112233);
  EXPECT_EQ(In::Background(t.Edit)->Fill()->Color(), 0xFF112233u);
  EXPECT_EQ(t.Edit->TargetButton(), nullptr);
  Platform->Snapshot(Form.get());
}

TEST_F(MenuLifetime, ResizeHandlersThatFreeEntriesAndBarsDuringAStyleSwitchEndItSafely) {
  TTree t = Build();
  TWeak<TComponent> cut(t.Cut), cascade(t.Cascade), old(t.Old);
  // Switching the main bar to a sub bar lays its entries out anew; the first entry's
  // resize handler frees an entry later in the root's list and a whole sub tree.
  t.FileEntry->SetOnResize([&](TObject*) {
    if (TComponent* c = cut) delete c;
    if (TComponent* c = cascade) delete c;
  });
  t.Main->SetMenuBarStyle(TQVMenuBarStyle::msSubMenuBar);
  EXPECT_FALSE(cut.Alive());
  EXPECT_FALSE(old.Alive());
  EXPECT_EQ(t.FileEntry->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);
  for (TQVMenuButton* b : In::Buttons(t.Main)) EXPECT_NE(b, nullptr);
  const std::vector<TQVMenuBar*> bars = In::Bars(t.Main);
  EXPECT_EQ(std::count(bars.begin(), bars.end(), nullptr), 0);
  EXPECT_EQ(std::count(bars.begin(), bars.end(), t.Edit), 1);
  Platform->Snapshot(Form.get());
}

TEST_F(MenuLifetime, FreeingTheFormWithEverythingAndFreeingEntriesOneByOne) {
  TTree t = Build();
  // One by one, the lists shrink with them.
  const size_t before = In::ButtonEntries(t.Main);
  delete t.Old;
  delete t.Cut;
  EXPECT_EQ(In::ButtonEntries(t.Main), before - 2);
  delete t.File;  // its entries and cascade leave the root's lists with it
  for (TQVMenuButton* b : In::Buttons(t.Main)) EXPECT_TRUE(b == t.FileEntry || b == t.EditEntry);
  Form.reset();
}

TEST_F(MenuLifetime, AnEntryWhoseLayoutOnJoiningFreesTheBarOrItselfEndsTheJoinSafely) {
  // Joining a bar lays the newcomer out, and its resize handler frees the bar it joins;
  // then, on a second bar, the newcomer itself.
  for (bool freeTheBar : {true, false}) {
    TQVMenuBar* bar = AddBar(nullptr, "");
    AddEntry(bar, "First");
    auto* entry = new TQVMenuButton(Form.get());
    entry->SetSize(37, 11);  // the bar's layout changes it
    TWeak<TComponent> barLink(bar), entryLink(entry);
    entry->SetOnResize([&, freeTheBar](TObject*) {
      TWeak<TComponent>& victim = freeTheBar ? barLink : entryLink;
      if (TComponent* c = victim.Get()) delete c;
    });
    entry->SetParent(bar);
    EXPECT_EQ(barLink.Alive(), !freeTheBar);
    EXPECT_FALSE(entryLink.Alive() && entry->Parent() == bar && !barLink.Alive());
    if (TComponent* c = entryLink.Get()) delete c;
    if (TComponent* c = barLink.Get()) delete c;
    Platform->PaintAll();
  }
}

TEST_F(MenuLifetime, AnEntryLeavingWhoseLayoutFreesTheBarEndsTheRemovalSafely) {
  TQVMenuBar* bar = AddBar(nullptr, "");
  TQVMenuButton* first = AddEntry(bar, "First");
  // A part of the bar's own that fills what the entries leave; growing, it frees the bar.
  auto* filler = new TLayout(bar);
  filler->SetParent(bar);
  filler->SetAlign(TAlignLayout::Client);
  TWeak<TComponent> barLink(bar);
  filler->SetOnResize([&](TObject*) {
    if (TComponent* c = barLink.Get()) delete c;
  });
  delete first;
  EXPECT_FALSE(barLink.Alive());
  Platform->PaintAll();
}

TEST_F(MenuLifetime, AnEntryFreedByTheLayoutItsNewStyleStartsIsLeftAlone) {
  // A separator's margins lay the bar out again; the entry fills the bar, so it resizes,
  // and its handler frees it (then, on a second bar, the bar).
  for (bool freeTheBar : {false, true}) {
    TQVMenuBar* bar = AddBar(nullptr, "");
    TQVMenuButton* entry = AddEntry(bar, "Entry");
    entry->SetAlign(TAlignLayout::Client);
    TWeak<TComponent> barLink(bar), entryLink(entry);
    entry->SetOnResize([&, freeTheBar](TObject*) {
      TWeak<TComponent>& victim = freeTheBar ? barLink : entryLink;
      if (TComponent* c = victim.Get()) delete c;
    });
    entry->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
    EXPECT_FALSE(freeTheBar ? barLink.Alive() : entryLink.Alive());
    if (TComponent* c = entryLink.Get()) delete c;
    if (TComponent* c = barLink.Get()) delete c;
  }
}

TEST_F(MenuLifetime, AFreedTargetEntryLeavesItsBarOnTheFormOutOfTheTree) {
  // A cascade's entry, then a main entry: each bar that hung on one moves onto the form,
  // leaves its root's list and is written beside the tree, not inside it.
  qvmenus::Register();
  Form->SetName("MenuForm");
  TTree t = Build();
  t.Main->SetName("Main");
  t.File->SetName("FileBar");
  t.Cascade->SetName("RecentBar");
  for (auto [entry, bar] : {std::pair{t.Recent, t.Cascade}, std::pair{t.FileEntry, t.File}}) {
    delete entry;
    EXPECT_EQ(bar->TargetButton(), nullptr);
    EXPECT_EQ(bar->Parent(), Form.get()) << bar->Name();
    EXPECT_FALSE(fmx::testing::Lists(In::Bars(t.Main), bar)) << bar->Name();
    EXPECT_NE(WriteComponentToText(Form.get()).find("\n  object " + bar->Name() + ": TQVMenuBar\n"),
              std::string::npos)
        << bar->Name();
  }
  // A bar that goes as a whole still takes its entries' cascades with it.
  TTree u = Build();
  TWeak<TQVMenuBar> cascade(u.Cascade);
  delete u.File;
  EXPECT_FALSE(cascade.Alive());
}

namespace {
// Runs Then when a component it watches is freed.
class TFreeWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::function<void()> Then;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && Then) Then();
  }
};
}  // namespace

TEST_F(MenuLifetime, AnEntryAHandlerTakesOutOfABarBeingFreedIsListedOnceWhereItGoes) {
  TTree t = Build();
  // A sub bar in the tree through a control that is no bar (which tells the tree nothing
  // when the bar leaves it), with an entry, and a last child whose freeing a handler hears.
  auto* holder = new TLayout(t.Main);
  holder->SetParent(t.Main);
  TQVMenuBar* doomed = AddBar(nullptr, "");
  doomed->SetParent(holder);
  TQVMenuButton* moved = AddEntry(doomed, "Moved");
  auto* last = new TLayout(doomed);
  last->SetParent(doomed);
  TFreeWatcher watcher(nullptr);
  last->FreeNotification(&watcher);
  watcher.Then = [&] { moved->SetParent(t.Edit); };
  TWeak<TQVMenuButton> link(moved);
  delete doomed;
  watcher.Then = nullptr;
  ASSERT_TRUE(link.Alive());
  ASSERT_EQ(moved->Parent(), t.Edit);
  const std::vector<TQVMenuButton*> listed = In::Buttons(t.Main);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), moved), 1);
}
