// The whole library under one stream of events: the demo's kind of window (a constrained
// form, a title bar with its system menu, a main menu bar with cascades two levels deep,
// an image list, two styles) and ordinary controls, driven by input, the clock,
// activation, keys, property changes, adding and freeing controls and menus, and
// handlers that free things. After every event the invariants are checked. The choices
// come from a TChoices: a run number's stream for the soak, the bytes for the fuzzer.
#pragma once

#include <string>
#include <vector>

#include "FMX.QVConstrainedForm.h"
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "SoakReport.h"
#include "host/ImageList.h"
#include "host/platform/headless/Headless.h"

namespace fmx::soak {

class TLibrarySoak {
 public:
  explicit TLibrarySoak(TChoices& Choices);
  // Frees every form left.
  ~TLibrarySoak();
  TLibrarySoak(const TLibrarySoak&) = delete;
  TLibrarySoak& operator=(const TLibrarySoak&) = delete;

  // Up to Events events, each followed by the checks; stops early once the choices run
  // out. Where.Event counts them.
  void Run(long Events);

  // The handlers the soak puts on controls and on the form. Their own types tell them
  // apart from whatever the library puts there while a menu is open.
  struct TMouseDownHandler {
    TLibrarySoak* Soak;
    void operator()(TObject* Sender, TMouseButton, TShiftState, float, float) const;
  };
  struct TMouseLeaveHandler {
    TLibrarySoak* Soak;
    void operator()(TObject* Sender) const;
  };

 private:
  unsigned Pick(unsigned N) { return FChoices.Pick(N); }
  bool Chance(unsigned Percent) { return FChoices.Chance(Percent); }
  template <class T>
  T* PickOf(const std::vector<T*>& From) {
    return From.empty() ? nullptr : From[Pick(static_cast<unsigned>(From.size()))];
  }

  // --- the scene (LibraryScene.cpp) ---
  void BuildScene();
  void BuildStyles(TForm* F);
  void BuildTitleBar();
  void BuildMenu(TForm* F);
  TQVMenuButton* NewEntry(TQVMenuBar* Bar, const std::string& Text);
  // A bar hanging on Target, holding a few entries; a second level now and then.
  TQVMenuBar* NewSubMenu(TQVMenuBar* Parent, TQVMenuButton* Target, int Depth);
  void AddControl();
  void Wire(TControl* C);
  void WireForm(TForm* F);
  static void Picture(TBitmap& Out, unsigned Kind);

  // What the tree holds now. Private parts of the title bar and of the menus are
  // reached through input only.
  std::vector<TControl*> Controls();        // the soak's ordinary controls
  std::vector<TQVMenuBar*> MenuBars();      // every bar but the title bar's system menu
  std::vector<TQVMenuButton*> Entries();    // every entry of those bars
  std::vector<TControl*> Visible();         // every visible control, private parts included
  TQVTitleBar* TitleBar();
  TQVMenuBar* MainBar();

  // --- the events (LibraryEvents.cpp) ---
  void Step();
  void Act(TControl* Sender, const char* Kind);
  TPointF Aim();
  TPointF OnScreen(TPointF P);
  void Key(TForm* F);
  void TitleBarProperty();
  void EntryProperty();
  void BarProperty();
  void ImageListChange();
  void Add();
  void Free();
  void Reparent();
  void StyleChange();
  void WindowChange(TForm* F);
  // NaN, infinities, huge and negative values where the library takes numbers; the
  // platform's scale and retained painting.
  void ExtremeValue();

  // --- the invariants (LibraryInvariants.cpp) ---
  void Check();
  void CheckLinks(TCommonCustomForm* F);
  void CheckMenuLists(TForm* F);
  void CheckHandlersBack(TForm* F);
  void CheckWindow(TForm* F);
  // What the writer writes the reader reads, and it writes the same again.
  void CheckStoredForm(TForm* F);

  TChoices& FChoices;
  THeadlessPlatform* FPlatform;
  TWeak<TQVConstrainedForm> FForm;
  // Controls the soak gave its own mouse handlers, and whether the form has them.
  std::vector<TWeak<TControl>> FWired;
  std::vector<TWeak<TImageList>> FImageLists;
  int FDepth = 0;
  bool FDragging = false;
  // Retained painting is on until this event (it paints pixels: slow, so now and then).
  long FRetainedUntil = -1;
  TPoint FDragOrigin;
};

}  // namespace fmx::soak
