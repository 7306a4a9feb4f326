// What must hold after every event of the library soak.
#include <algorithm>
#include <exception>
#include <fstream>
#include <set>

#include "FMX.QVTakeOver.h"
#include "LibrarySoak.h"
#include "MenuInspector.h"
#include "TitleBarInspector.h"
#include "host/Streaming.h"

namespace fmx::soak {

namespace {

using In = TQVMenusInspector;

bool InTree(const TControl* C, const TCommonCustomForm* F) {
  return C == nullptr || (C->IsChildOf(F) && !C->IsDestroying());
}

// Every bar in F's tree, private ones (the system menu) included.
std::vector<TQVMenuBar*> AllBars(TFmxObject* From) {
  std::vector<TQVMenuBar*> out;
  for (TFmxObject* c : From->ChildrenList()) {
    if (dynamic_cast<TControl*>(c) == nullptr) continue;
    if (auto* b = dynamic_cast<TQVMenuBar*>(c)) out.push_back(b);
    std::vector<TQVMenuBar*> below = AllBars(c);
    out.insert(out.end(), below.begin(), below.end());
  }
  return out;
}

std::vector<TQVTitleBar*> AllTitleBars(TFmxObject* From) {
  std::vector<TQVTitleBar*> out;
  for (TFmxObject* c : From->ChildrenList()) {
    if (dynamic_cast<TControl*>(c) == nullptr) continue;
    if (auto* b = dynamic_cast<TQVTitleBar*>(c)) out.push_back(b);
    std::vector<TQVTitleBar*> below = AllTitleBars(c);
    out.insert(out.end(), below.begin(), below.end());
  }
  return out;
}

bool IsRoot(const TQVMenuBar* B) {
  for (const TFmxObject* p = B->Parent(); p != nullptr; p = p->Parent())
    if (dynamic_cast<const TQVMenuBar*>(p) != nullptr) return false;
  return true;
}

// The bars and entries a root's tree holds: bars at any depth through controls, entries
// standing on a bar.
void Collect(TFmxObject* From, std::set<const TObject*>& Bars, std::set<const TObject*>& Buttons) {
  const bool onBar = dynamic_cast<TQVMenuBar*>(From) != nullptr;
  for (TFmxObject* child : From->ChildrenList()) {
    if (auto* button = dynamic_cast<TQVMenuButton*>(child)) {
      if (onBar) Buttons.insert(button);
      continue;
    }
    if (dynamic_cast<TControl*>(child) == nullptr) continue;
    if (auto* bar = dynamic_cast<TQVMenuBar*>(child)) Bars.insert(bar);
    Collect(child, Bars, Buttons);
  }
}

std::string Named(const TComponent* C) {
  std::string name = C->Name().empty() ? std::string("an unnamed ") : C->Name() + ", a ";
  return name + (dynamic_cast<const TQVMenuBar*>(C) != nullptr ? "bar" : "entry");
}

template <class T>
void CompareList(const TQVMenuBar* Root, const std::vector<T*>& Listed,
                 const std::set<const TObject*>& Expected, const char* What) {
  std::set<const TObject*> seen;
  for (T* item : Listed) {
    if (item == nullptr || static_cast<const TObject*>(item) == Root) continue;
    if (!seen.insert(item).second)
      Fail(std::string("the root's ") + What + " list names " + Named(item) + " twice");
    if (Expected.count(item) == 0)
      Fail(std::string("the root's ") + What + " list names " + Named(item) +
           ", which is not in its tree");
  }
  for (const TObject* item : Expected)
    if (seen.count(item) == 0)
      Fail(std::string("the root's ") + What + " list misses " +
           Named(static_cast<const TComponent*>(item)) + " of its tree");
}

// The first line where two texts part, with its number.
std::string FirstDifference(const std::string& A, const std::string& B) {
  size_t start = 0;
  int line = 1;
  while (true) {
    const size_t endA = A.find('\n', start), endB = B.find('\n', start);
    const std::string a = A.substr(start, endA == std::string::npos ? endA : endA - start);
    const std::string b = B.substr(start, endB == std::string::npos ? endB : endB - start);
    if (a != b || endA != endB)
      return "line " + std::to_string(line) + ": \"" + a + "\" became \"" + b + "\"";
    if (endA == std::string::npos) return "the same text";
    start = endA + 1;
    ++line;
  }
}

std::string WithoutGeometry(const std::string& Text) {
  std::string out;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    const std::string line = Text.substr(start, end - start);
    const size_t first = line.find_first_not_of(' ');
    const std::string name = first == std::string::npos ? "" : line.substr(first, line.find(" =", first) - first);
    // Left and Top are a form's place on the screen, which a shown form takes inside
    // its monitor's work area.
    if (name != "Height" && name != "Width" && name != "Left" && name != "Top" &&
        name.rfind("Position.", 0) != 0 && name.rfind("Size.", 0) != 0)
      out += line + '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

void TLibrarySoak::Check() {
  Where.Phase = "check";
  for (TCommonCustomForm* f : Application->Forms()) CheckLinks(f);
  if (TForm* form = FForm.Get()) {
    CheckMenuLists(form);
    CheckHandlersBack(form);
    CheckWindow(form);
  }
  Where.Phase = "paint";
  try {
    FPlatform->PaintAll();
    if (FForm && FForm->Visible()) {
      FForm->InvalidateAll();
      FPlatform->PaintAll();
    }
    // Pixels now and then: the painting above runs the controls' code without drawing.
    if (FForm && Where.Event % 64 == 0) FPlatform->Snapshot(FForm.Get());
  } catch (const std::exception& e) {
    Fail(std::string("painting failed: ") + e.what());
  }
  // Painting runs handlers too.
  Where.Phase = "check after painting";
  for (TCommonCustomForm* f : Application->Forms()) CheckLinks(f);
  // Written as painted (what follows the style is settled by the paint); a round trip
  // builds a whole form, so now and then.
  if (TForm* form = FForm.Get(); form != nullptr && Where.Event % 8 == 0) CheckStoredForm(form);
}

void TLibrarySoak::CheckLinks(TCommonCustomForm* F) {
  if (!InTree(F->Hovered(), F)) Fail("the hovered control is not in the form's tree");
  if (!InTree(F->Captured(), F)) Fail("the captured control is not in the form's tree");
  auto* form = dynamic_cast<TForm*>(F);
  if (form == nullptr) return;
  if (!InTree(form->Focused(), F)) Fail("the focused control is not in the form's tree");
  for (TQVMenuBar* b : AllBars(F)) {
    if (!InTree(In::TakenOver(b), F)) Fail("a menu bar has taken over a control not in the tree");
    if (TForm* hooked = In::HookedForm(b); hooked != nullptr && hooked != form)
      Fail("a menu bar has taken over another form's mouse handler");
  }
  for (TQVTitleBar* t : AllTitleBars(F))
    if (!InTree(TQVTitleBarInspector(t).TakenOver(), F))
      Fail("the title bar has taken over a control not in the tree");
}

void TLibrarySoak::CheckMenuLists(TForm* F) {
  for (TQVMenuBar* root : AllBars(F)) {
    if (!IsRoot(root)) continue;
    std::set<const TObject*> bars, buttons;
    Collect(root, bars, buttons);
    CompareList(root, In::Bars(root), bars, "bar");
    CompareList(root, In::Buttons(root), buttons, "entry");
  }
}

void TLibrarySoak::CheckHandlersBack(TForm* F) {
  const std::vector<TQVMenuBar*> bars = AllBars(F);
  for (TQVMenuBar* b : bars)
    if (b->MenuButtonPressed()) return;
  for (TQVTitleBar* t : AllTitleBars(F))
    if (TQVTitleBarInspector(t).PopupMenuShowed()) return;
  // Every menu is closed: nothing may stay borrowed.
  for (TQVMenuBar* b : bars) {
    if (In::TakenOver(b) != nullptr) Fail("a closed menu still holds a control's handlers");
    if (In::HookedForm(b) != nullptr) Fail("a closed menu still holds the form's handler");
  }
  for (TQVTitleBar* t : AllTitleBars(F))
    if (TQVTitleBarInspector(t).TakenOver() != nullptr)
      Fail("the closed system menu still holds a control's handlers");
  if (F->OnMouseDown().target<TMouseDownHandler>() == nullptr)
    Fail("the form's OnMouseDown is not its own once the menus are closed");
  // No control of the form, whoever set its handlers, carries a menu's borrowed ones.
  auto walk = [&](auto& self, TFmxObject* From) -> void {
    for (TFmxObject* child : From->ChildrenList()) {
      auto* c = dynamic_cast<TControl*>(child);
      if (c == nullptr) continue;
      if (TQVTakeOver::IsHook(c->OnMouseDown()) || TQVTakeOver::IsHook(c->OnMouseLeave()))
        Fail("a control carries a menu's handler once the menus are closed");
      self(self, c);
    }
  };
  walk(walk, F);
  for (const TWeak<TControl>& link : FWired) {
    TControl* c = link.Get();
    if (c == nullptr || !c->IsChildOf(F)) continue;
    if (c->OnMouseDown().target<TMouseDownHandler>() == nullptr)
      Fail("a control's OnMouseDown is not its own once the menus are closed");
    if (c->OnMouseLeave().target<TMouseLeaveHandler>() == nullptr)
      Fail("a control's OnMouseLeave is not its own once the menus are closed");
  }
}

void TLibrarySoak::CheckWindow(TForm* F) {
  const int left = F->Left(), top = F->Top(), width = F->Width(), height = F->Height();
  auto where = [&] {
    return " (" + std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(width) +
           " x " + std::to_string(height) + ")";
  };
  if (F->WindowState() != TWindowState::wsMinimized) {
    const TPoint screen = FPlatform->ScreenSize();
    if (width <= 0 || height <= 0 || left >= screen.X || top >= screen.Y || left + width <= 0 ||
        top + height <= 0)
      Fail("the window is off the screen" + where());
  }
  auto* constrained = dynamic_cast<TQVConstrainedForm*>(F);
  if (constrained == nullptr) return;
  const TQVConstraints* c = constrained->Constraints();
  auto inside = [](int Value, int Min, int Max) {
    if (Max > 0 && Value > Max) return false;
    // A maximum below the minimum wins.
    if (Min > 0 && Value < Min && !(Max > 0 && Max < Min)) return false;
    return true;
  };
  if (!inside(left, c->MinLeft(), c->MaxLeft()) || !inside(top, c->MinTop(), c->MaxTop()) ||
      !inside(width, c->MinWidth(), c->MaxWidth()) || !inside(height, c->MinHeight(), c->MaxHeight()))
    Fail("the window is outside its form's limits" + where());
}

void TLibrarySoak::CheckStoredForm(TForm* F) {
  Where.Phase = "stored form";
  std::string written, again;
  try {
    written = WriteComponentToText(F);
  } catch (const std::exception& e) {
    Fail(std::string("the form could not be written: ") + e.what());
  }
  try {
    std::unique_ptr<TComponent> copy(ReadComponentFromText(written, nullptr));
    again = WriteComponentToText(copy.get());
  } catch (const std::exception& e) {
    Fail(std::string("the reader refuses what the writer wrote: ") + e.what());
  }
  // Where aligned controls sit and how large they are is the layout's, redone on
  // reading in an order that parts not stored (the title bar's status strip) take part
  // in: geometry is left out of the comparison.
  if (WithoutGeometry(again) != WithoutGeometry(written)) {
    // Both texts, for the replay.
    std::ofstream("soak-written.fmx") << written;
    std::ofstream("soak-read-and-written.fmx") << again;
    Fail("written, read and written again, the form changed at " +
         FirstDifference(WithoutGeometry(written), WithoutGeometry(again)) +
         " (the texts are in soak-written.fmx and soak-read-and-written.fmx)");
  }
}

}  // namespace fmx::soak
