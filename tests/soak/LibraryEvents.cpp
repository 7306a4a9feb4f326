// The events of the library soak and what its handlers do.
#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>
#include <limits>

#include "LibrarySoak.h"
#include "host/Keys.h"
#include "host/Styles.h"

namespace fmx::soak {

void TLibrarySoak::Run(long Events) {
  for (Where.Event = 0; Where.Event < Events && !FChoices.Exhausted(); ++Where.Event) {
    Where.Phase = "event";
    if (!FForm) BuildScene();
    // The soak's handlers throw nothing: whatever leaves an event is the library's.
    try {
      if (FForm) Step();
    } catch (const std::exception& e) {
      Fail(std::string("an exception left the event: ") + e.what());
    }
    Check();
    if (Where.Event == FRetainedUntil) FPlatform->SetRetainedPainting(false);
  }
}

// --- what a handler does ------------------------------------------------------------

void TLibrarySoak::Act(TControl* Sender, const char* Kind) {
  // Handlers run inside handlers; a few levels are enough to mix every order.
  if (FDepth >= 3 || FChoices.Exhausted()) return;
  ++FDepth;
  const char* outer = Where.Handler;
  Where.Handler = Kind;
  const unsigned roll = Pick(100);
  if (roll < 3) {
    delete Sender;  // may be null: a form handler with no control at hand
  } else if (roll < 5) {
    if (Sender != nullptr) {
      if (auto* p = dynamic_cast<TControl*>(Sender->Parent()))
        delete p;
      else if (Sender->Parent() == FForm.Get())
        delete FForm.Get();
    }
  } else if (roll < 7) {
    delete PickOf(MenuBars());
  } else if (roll < 9) {
    delete PickOf(Entries());
  } else if (roll < 10) {
    delete TitleBar();
  } else if (roll < 11) {
    delete FForm.Get();
  } else if (roll < 14) {
    if (Sender != nullptr && FForm) Sender->SetVisible(!Sender->Visible());
  } else if (roll < 16) {
    if (TQVMenuButton* e = PickOf(Entries())) e->SetButtonText(Chance(50) ? "" : "handler");
  } else if (roll < 18) {
    if (TQVMenuBar* b = PickOf(MenuBars())) b->SetTargetButton(PickOf(Entries()));
  } else if (roll < 20) {
    // Braces fix the order the choices are made in, whatever the compiler.
    const TRect r{static_cast<int>(Pick(300)), static_cast<int>(Pick(200)),
                  300 + static_cast<int>(Pick(1200)), 200 + static_cast<int>(Pick(800))};
    if (FForm) FForm->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
  }
  Where.Handler = outer;
  --FDepth;
}

// --- the events --------------------------------------------------------------------

// A point on a visible control most of the time (menus are small targets), else anywhere
// on the window and a little outside it.
TPointF TLibrarySoak::Aim() {
  TForm* form = FForm.Get();
  if (Chance(70)) {
    if (TControl* c = PickOf(Visible())) {
      const TRectF r = c->AbsoluteRect();
      if (std::isfinite(r.Left) && std::isfinite(r.Top) && std::isfinite(r.Right) &&
          std::isfinite(r.Bottom) && r.Right - r.Left < 1e5f && r.Bottom - r.Top < 1e5f) {
        const float w = std::max(0.0f, r.Right - r.Left), h = std::max(0.0f, r.Bottom - r.Top);
        return {r.Left + w * static_cast<float>(Pick(101)) / 100,
                r.Top + h * static_cast<float>(Pick(101)) / 100};
      }
    }
  }
  const auto width = static_cast<unsigned>(std::max(0, form->Width()));
  const auto height = static_cast<unsigned>(std::max(0, form->Height()));
  return {static_cast<float>(Pick(width + 40)) - 20, static_cast<float>(Pick(height + 40)) - 20};
}

// A real pointer never leaves the screen: the point, in form coordinates, is moved onto it.
TPointF TLibrarySoak::OnScreen(TPointF P) {
  TForm* form = FForm.Get();
  const bool dragging = FPlatform->IsDragging(form) || FPlatform->IsResizing(form);
  const TPoint origin = FDragging && dragging ? FDragOrigin : TPoint{form->Left(), form->Top()};
  const TPoint screen = FPlatform->ScreenSize();
  const float left = static_cast<float>(-origin.X), top = static_cast<float>(-origin.Y);
  return {std::clamp(P.X, left, left + static_cast<float>(screen.X - 1)),
          std::clamp(P.Y, top, top + static_cast<float>(screen.Y - 1))};
}

void TLibrarySoak::Step() {
  TForm* form = FForm.Get();
  FPlatform->ClearMessages();
  const auto button = static_cast<TMouseButton>(Pick(3));
  const unsigned kind = Pick(34);
  if (kind <= 12) {
    TPointF p = OnScreen(Aim());
    // A window gets presses only where it is (a move may go anywhere while a button is
    // held): a press point off the window is moved onto it.
    if (kind >= 5 && kind != 7 && kind != 8 && !FDragging) {
      p.X = std::clamp(p.X, 0.0f, std::max(0.0f, static_cast<float>(form->Width() - 1)));
      p.Y = std::clamp(p.Y, 0.0f, std::max(0.0f, static_cast<float>(form->Height() - 1)));
      p = OnScreen(p);
    }
    switch (kind) {
      case 0: case 1: case 2: case 3: case 4:
        Where.EventName = "pointer move";
        FPlatform->MouseMove(form, p.X, p.Y);
        break;
      case 5: case 6:
        Where.EventName = "button down";
        FPlatform->MouseDown(form, button, p.X, p.Y);
        break;
      case 7: case 8:
        Where.EventName = "button up";
        FPlatform->MouseUp(form, button, p.X, p.Y);
        break;
      case 9: case 10:
        Where.EventName = "click";
        FPlatform->Click(form, p.X, p.Y, button);
        break;
      case 11:
        Where.EventName = "double-click";
        FPlatform->DoubleClick(form, p.X, p.Y);
        break;
      default:
        Where.EventName = "pointer leaves";
        FPlatform->MouseLeaveWindow(form);
        break;
    }
    // A window drag or edge resize takes the pointer relative to where the window was
    // when it began.
    const bool dragging = FForm && (FPlatform->IsDragging(FForm.Get()) ||
                                    FPlatform->IsResizing(FForm.Get()));
    if (dragging && !FDragging) FDragOrigin = {FForm->Left(), FForm->Top()};
    FDragging = dragging;
    return;
  }
  switch (kind) {
    case 13:
    case 14:
      Where.EventName = "clock";
      // The menus' hide timers tick every 100 ms; the title bar's alike.
      FPlatform->Advance(Chance(50) ? 100 + Pick(20) : Pick(400));
      break;
    case 15:
      Where.EventName = "activation";
      switch (Pick(5)) {
        case 0: case 1: FPlatform->SetActive(form, true); break;
        case 2: FPlatform->SetActive(form, false); break;
        case 3: form->Close(); break;
        default: form->Show(); break;
      }
      break;
    case 16: case 17: case 18:
      Where.EventName = "key";
      Key(form);
      break;
    case 19: case 20:
      Where.EventName = "title bar property";
      TitleBarProperty();
      break;
    case 21: case 22: case 23:
      Where.EventName = "entry property";
      EntryProperty();
      break;
    case 24: case 25:
      Where.EventName = "bar property";
      BarProperty();
      break;
    case 26:
      Where.EventName = "image list";
      ImageListChange();
      break;
    case 27:
      Where.EventName = "add";
      Add();
      break;
    case 28:
      Where.EventName = "free";
      Free();
      break;
    case 29:
      Where.EventName = "reparent";
      Reparent();
      break;
    case 30:
      Where.EventName = "style";
      StyleChange();
      break;
    case 31:
      Where.EventName = "window";
      WindowChange(form);
      break;
    default:
      Where.EventName = "extreme value";
      ExtremeValue();
      break;
  }
}

void TLibrarySoak::Key(TForm* F) {
  const TShiftState none{}, alt{TShiftStateItem::ssAlt}, ctrl{TShiftStateItem::ssCtrl};
  switch (Pick(12)) {
    case 0: FPlatform->KeyPress(F, vk::F10); break;
    case 1:  // a lone Alt
      FPlatform->KeyDown(F, vk::Menu, 0, alt);
      if (FForm) FPlatform->KeyUp(F, vk::Menu, 0, none);
      break;
    case 2: {
      static const char kLetters[] = "FEVWHX";
      FPlatform->KeyPress(F, static_cast<uint16_t>(kLetters[Pick(6)]), 0, alt);
      break;
    }
    case 3: case 4: case 5: {
      static const uint16_t kArrows[] = {vk::Left, vk::Right, vk::Up, vk::Down};
      FPlatform->KeyPress(F, kArrows[Pick(4)]);
      break;
    }
    case 6: FPlatform->KeyPress(F, vk::Return); break;
    case 7: FPlatform->KeyPress(F, vk::Escape); break;
    case 8: {
      static const char kLetters[] = "NOSZA";
      FPlatform->KeyPress(F, static_cast<uint16_t>(kLetters[Pick(5)]), 0, ctrl);
      break;
    }
    case 9: FPlatform->KeyPress(F, static_cast<uint16_t>(vk::F1 + Pick(12))); break;
    case 10: FPlatform->KeyPress(F, vk::F4, 0, alt); break;
    default: {
      const char c = static_cast<char>('a' + Pick(26));
      FPlatform->KeyPress(F, static_cast<uint16_t>(c - 'a' + 'A'), static_cast<Char>(c));
      break;
    }
  }
}

namespace {

TAlphaColor Colour(unsigned Roll) {
  static const TAlphaColor kColours[] = {0xFF000000, 0xFFFFFFFF, 0xFF6495ED, 0x80FF0000,
                                         0x00000000, 0xFF2D7D46};
  return kColours[Roll % 6];
}

}  // namespace

void TLibrarySoak::TitleBarProperty() {
  TQVTitleBar* b = TitleBar();
  if (b == nullptr) {
    BuildTitleBar();
    return;
  }
  switch (Pick(16)) {
    case 0: b->SetTitleBarHeight(static_cast<TTitleBarHeight>(Pick(3))); break;
    case 1: b->SetSizeGripVisible(!b->SizeGripVisible()); break;
    case 2: b->SetTitleBarEnabled(!b->TitleBarEnabled()); break;
    case 3: b->SetCaption(Chance(50) ? "soak 窗口" : (Chance(50) ? "" : std::string(200, 'w'))); break;
    case 4: b->SetRadian(static_cast<float>(Pick(30)) - 5); break;
    case 5: b->SetToolButtonStyle(static_cast<TToolButtonStyle>(Pick(2))); break;
    case 6: b->SetCaptionAlignment(static_cast<TCaptionAlignment>(Pick(3))); break;
    case 7: b->SetDefaultFormColor(!b->DefaultFormColor()); break;
    case 8: b->SetFormColor(Colour(Pick(6))); break;
    case 9: b->SetFontColor(Colour(Pick(6))); break;
    case 10: b->SetBorderActiveColor(Colour(Pick(6))); break;
    case 11: b->SetBorderDeactiveColor(Colour(Pick(6))); break;
    case 12: b->SetFormOpacity(static_cast<float>(Pick(11)) / 10); break;
    case 13: {
      TBitmap picture;
      if (Chance(80)) Picture(picture, Pick(4));
      switch (Pick(5)) {
        case 0: b->SetLogoBitmap(&picture); break;
        case 1: b->SetToolMinBitmap(&picture); break;
        case 2: b->SetToolMaxBitmap(&picture); break;
        case 3: b->SetToolRestoreBitmap(&picture); break;
        default: b->SetToolCloseBitmap(&picture); break;
      }
      break;
    }
    case 14: b->SetVisible(!b->Visible()); break;
    default: b->SetEnabled(!b->Enabled()); break;
  }
}

void TLibrarySoak::EntryProperty() {
  TQVMenuButton* e = PickOf(Entries());
  if (e == nullptr) return;
  static const char* const kShortCuts[] = {"Ctrl+S", "Ctrl+Shift+N", "Alt+F4", "F5", "Ctrl+Enter",
                                           "", "打开 Ctrl+O", "Shift+", "Ctrl+Ctrl", "F13"};
  switch (Pick(16)) {
    case 0: e->SetMark(static_cast<TQVMark>(Pick(5))); break;
    case 1: e->SetIsCheck(!e->IsCheck()); break;
    case 2: e->SetGroupIndex(static_cast<int>(Pick(4))); break;
    case 3: e->SetShortCut(kShortCuts[Pick(10)]); break;
    case 4: e->SetButtonText(Chance(50) ? "文件(F)" : (Chance(50) ? "" : std::string(120, 'm'))); break;
    case 5: e->SetImageIndex(static_cast<int>(Pick(7)) - 2); break;
    case 6: e->SetChar(static_cast<fmx::Char>(Chance(50) ? u'0' + Pick(5) : Pick(0x10000))); break;
    case 7: e->SetMoreArrow(!e->MoreArrow()); break;
    case 8: e->SetMenuButtonStyle(static_cast<TQVMenuButtonStyle>(Pick(3))); break;
    case 9: {
      TBitmap icon;
      if (Chance(80)) Picture(icon, Pick(4));
      e->SetIconBitmap(Chance(20) ? nullptr : &icon);
      break;
    }
    case 10: e->SetEnabled(!e->Enabled()); break;
    case 11: e->SetVisible(!e->Visible()); break;
    case 12: e->SetMenuButtonFontSize(static_cast<float>(Pick(30))); break;
    case 13: e->SetMenuButtonFontColor(Colour(Pick(6))); break;
    case 14: e->SetWidth(static_cast<float>(Pick(400))); break;
    default: e->SetAlign(static_cast<TAlignLayout>(Pick(16))); break;
  }
}

void TLibrarySoak::BarProperty() {
  TQVMenuBar* b = PickOf(MenuBars());
  if (b == nullptr) return;
  switch (Pick(14)) {
    case 0: b->SetMenuBarStyle(static_cast<TQVMenuBarStyle>(Pick(2))); break;
    case 1: case 2: b->SetTargetButton(Chance(15) ? nullptr : PickOf(Entries())); break;
    case 3: {
      std::vector<TImageList*> lists;
      for (const TWeak<TImageList>& l : FImageLists)
        if (l) lists.push_back(l.Get());
      b->SetImages(Chance(20) ? nullptr : PickOf(lists));
      break;
    }
    case 4: b->SetDefaultMenubarColor(!b->DefaultMenubarColor()); break;
    case 5: b->SetBackgroundColor(Colour(Pick(6))); break;
    case 6: b->SetBorderColor(Colour(Pick(6))); break;
    case 7: b->SetSelectBarColor(Colour(Pick(6))); break;
    case 8: b->SetSelectBarOpacity(static_cast<float>(Pick(11)) / 10); break;
    case 9: b->SetFontColor(Colour(Pick(6))); break;
    case 10: b->SetShortCutsEnabled(!b->ShortCutsEnabled()); break;
    case 11:
      // Opening by hand is for a root; a sub-menu bar has no timer of its own to close it.
      if (TQVMenuBar* main = MainBar()) main->SetMenuButtonPressed(!main->MenuButtonPressed());
      break;
    case 12: b->SetVisible(!b->Visible()); break;
    default: b->SetEnabled(!b->Enabled()); break;
  }
}

void TLibrarySoak::ImageListChange() {
  TForm* form = FForm.Get();
  std::vector<TImageList*> lists;
  for (const TWeak<TImageList>& l : FImageLists)
    if (l) lists.push_back(l.Get());
  TImageList* list = PickOf(lists);
  switch (Pick(5)) {
    case 0: {
      if (list == nullptr) break;
      TBitmap picture;
      Picture(picture, Pick(4));
      list->Add(picture);
      break;
    }
    case 1:
      if (list != nullptr) list->Clear();
      break;
    case 2: delete list; break;
    default: {
      auto* fresh = new TImageList(form);
      FImageLists.emplace_back(fresh);
      for (unsigned i = 0, n = Pick(5); i < n; ++i) {
        TBitmap picture;
        Picture(picture, i);
        fresh->Add(picture);
      }
      if (TQVMenuBar* b = Chance(70) ? MainBar() : PickOf(MenuBars())) b->SetImages(fresh);
      break;
    }
  }
}

void TLibrarySoak::Add() {
  switch (Pick(5)) {
    case 0: case 1: AddControl(); break;
    case 2: {
      if (TQVMenuBar* b = PickOf(MenuBars())) NewEntry(b, "added");
      break;
    }
    case 3: {
      std::vector<TQVMenuButton*> entries = Entries();
      TQVMenuButton* target = PickOf(entries);
      if (target == nullptr) break;
      if (auto* bar = dynamic_cast<TQVMenuBar*>(target->Parent())) NewSubMenu(bar, target, 1);
      break;
    }
    default:
      // A second main bar, which the form refuses, or a bar standing alone.
      if (FForm) {
        TWeak<TQVMenuBar> bar(new TQVMenuBar(FForm.Get()));
        Wire(bar.Get());
        bar->SetParent(FForm.Get());
        if (bar && Chance(50)) bar->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
        if (bar) NewEntry(bar.Get(), "alone");
      }
      break;
  }
}

void TLibrarySoak::Free() {
  switch (Pick(12)) {
    case 0: delete FForm.Get(); break;
    case 1: delete TitleBar(); break;
    case 2: delete MainBar(); break;
    case 3: case 4: case 5: delete PickOf(MenuBars()); break;
    case 6: case 7: case 8: delete PickOf(Entries()); break;
    default: delete PickOf(Controls()); break;
  }
}

void TLibrarySoak::Reparent() {
  switch (Pick(4)) {
    case 0: {
      TQVMenuButton* e = PickOf(Entries());
      TQVMenuBar* b = PickOf(MenuBars());
      if (e != nullptr && b != nullptr) e->SetParent(b);
      break;
    }
    case 1: {
      TQVMenuBar* moving = PickOf(MenuBars());
      if (moving == nullptr) break;
      std::vector<TFmxObject*> places{FForm.Get()};
      for (TQVMenuBar* b : MenuBars())
        if (b != moving && !b->IsChildOf(moving)) places.push_back(b);
      for (TControl* c : Controls())
        if (!c->IsChildOf(moving)) places.push_back(c);
      moving->SetParent(PickOf(places));
      break;
    }
    default: {
      TControl* c = PickOf(Controls());
      if (c == nullptr) break;
      std::vector<TFmxObject*> places{FForm.Get()};
      for (TControl* p : Controls())
        if (p != c && !p->IsChildOf(c)) places.push_back(p);
      // A foreign control on a bar is sent back to the form with a message.
      if (TQVMenuBar* b = PickOf(MenuBars()); b != nullptr && !b->IsChildOf(c) && Chance(20))
        places.push_back(b);
      c->SetParent(PickOf(places));
      break;
    }
  }
}

void TLibrarySoak::StyleChange() {
  TForm* form = FForm.Get();
  TStyleBook* book = form->StyleBook();
  switch (Pick(4)) {
    case 0: case 1:
      if (book != nullptr) book->SetCurrentItemIndex(static_cast<int>(Pick(3)));
      form->InvalidateAll();
      break;
    case 2: delete book; break;
    default: BuildStyles(form); break;
  }
}

void TLibrarySoak::WindowChange(TForm* F) {
  auto* form = static_cast<TQVConstrainedForm*>(F);
  switch (Pick(5)) {
    case 0: case 1: {
      // Anywhere a user could put it: at least a corner stays on the screen.
      const TRect r{static_cast<int>(Pick(1300)) - 200, static_cast<int>(Pick(850)) - 100,
                    210 + static_cast<int>(Pick(1600)), 110 + static_cast<int>(Pick(1000))};
      form->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
      break;
    }
    case 2: {
      TQVConstraints* c = form->Constraints();
      switch (Pick(4)) {
        case 0: c->SetMinWidth(static_cast<int>(Pick(900))); break;
        case 1: c->SetMaxWidth(Chance(30) ? 0 : 500 + static_cast<int>(Pick(1000))); break;
        case 2: c->SetMinHeight(static_cast<int>(Pick(700))); break;
        default: c->SetMaxHeight(Chance(30) ? 0 : 400 + static_cast<int>(Pick(600))); break;
      }
      // Limits act from the next SetBounds on.
      form->SetBounds(form->Left(), form->Top(), form->Width(), form->Height());
      break;
    }
    case 3: form->SetWindowState(static_cast<TWindowState>(Pick(3))); break;
    default: form->SetFocused(PickOf(Controls())); break;
  }
}

void TLibrarySoak::ExtremeValue() {
  static const float kOdd[] = {std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               1e30f, -1e30f, 3e9f, -1.0f, 0.0f, 2.0f};
  const float odd = kOdd[Pick(9)];
  static const int kOddSides[] = {INT_MAX, INT_MAX - 1, 2147483646, 77601, -2, INT_MIN, 0};
  switch (Pick(9)) {
    case 0:
      if (TQVMenuBar* b = PickOf(MenuBars())) b->SetSelectBarOpacity(odd);
      break;
    case 1:
      if (TQVMenuButton* e = PickOf(Entries())) e->SetMenuButtonFontSize(odd);
      break;
    case 2:
      if (TQVMenuButton* e = PickOf(Entries())) Chance(50) ? e->SetWidth(odd) : e->SetHeight(odd);
      break;
    case 3:
      if (TControl* c = PickOf(Controls())) {
        if (Chance(50)) {
          // Braces fix the order the choices are made in.
          const float v[]{kOdd[Pick(9)], kOdd[Pick(9)], kOdd[Pick(9)]};
          c->SetBounds(odd, v[0], v[1], v[2]);
        } else {
          c->Margins()->SetTop(odd);
        }
      }
      break;
    case 4:
      if (TQVTitleBar* t = TitleBar()) Chance(50) ? t->SetRadian(odd) : t->SetFormOpacity(odd);
      break;
    case 5: {
      // A huge window that still has a corner on the screen, for as long as its
      // handlers run: a picture of it would take gigabytes.
      const TRect before = TRect::Bounds(FForm->Left(), FForm->Top(), FForm->Width(),
                                         FForm->Height());
      const int huge[]{static_cast<int>(Pick(600)), static_cast<int>(Pick(400)),
                       kOddSides[Pick(7)], kOddSides[Pick(7)]};
      FForm->SetBounds(huge[0], huge[1], huge[2], huge[3]);
      if (FForm) FForm->SetBounds(before.Left, before.Top, before.Width(), before.Height());
      break;
    }
    case 6: FPlatform->SetDeviceScale(odd); break;
    case 7:
      if (TQVMenuButton* e = PickOf(Entries()))
        e->SetChar(static_cast<fmx::Char>(0xD800 + Pick(0x800)));  // half a surrogate pair
      break;
    default:
      // Pictures for a while: painting then draws, and handlers that free the form or
      // turn retained painting off meet a picture that is being painted.
      FPlatform->SetRetainedPainting(true);
      FRetainedUntil = Where.Event + 10 + static_cast<long>(Pick(60));
      break;
  }
}

}  // namespace fmx::soak
