// A reproducible pseudo-random stream of input, clock, property, tree and storage events on a form with a
// title bar and ordinary controls whose handlers now and then free their control, its
// parent, the title bar or the form, or move their control elsewhere. After every
// event the form's links into its tree must name live controls of that tree, and the
// form must paint. Everything, handlers' choices included, comes from the run number,
// so a failure is replayed by running that run up to the event it names.
#include <random>
#include <string>
#include <vector>

#include "ReentrancySoak.h"

#include "FMX.QVTitleBar.h"
#include "SoakReport.h"
#include "host/Buttons.h"
#include "host/Registry.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/Styles.h"
#include "host/Timers.h"
#include "host/platform/headless/Headless.h"

namespace fmx::soak {

namespace {

class TReentrancySoak {
 public:
  explicit TReentrancySoak(uint64_t Run) : FRng(Run) {}

  ~TReentrancySoak() {
    delete FForm.Get();
    for (TCommonCustomForm* f : std::vector<TCommonCustomForm*>(Application->Forms())) delete f;
  }

  void Run(long Events) {
    for (Where.Event = 0; Where.Event < Events; ++Where.Event) {
      if (!FForm) BuildScene();
      if (FForm) Step();
      Check();
    }
  }

 private:
  unsigned Pick(unsigned N) { return N == 0 ? 0 : static_cast<unsigned>(FRng() % N); }
  bool Chance(unsigned Percent) { return Pick(100) < Percent; }
  float Coord(float Extent) { return static_cast<float>(Pick(static_cast<unsigned>(Extent) + 40)) - 20; }

  // --- the scene ----------------------------------------------------------------

  void BuildScene() {
    Where.EventName = "build";
    auto* form = new TForm(nullptr);
    FForm = form;
    form->SetBounds(0, 0, 640, 480);
    form->SetTransparency(true);
    NewBar();
    // Handlers run while the scene is built, and may free the form already.
    for (int i = 0, n = 4 + static_cast<int>(Pick(8)); i < n && FForm; ++i) AddControl();
    if (!FForm) return;
    auto* timer = new TTimer(form);
    timer->SetInterval(20 + Pick(200));
    timer->SetOnTimer([this](TObject*) { Act(RandomControl(), "OnTimer"); });
    WireForm(form);
    form->Show();
    if (FForm) FForm->InvalidateAll();
  }

  void WireForm(TForm* F) {
    F->SetOnActivate([this](TObject*) { Act(RandomControl(), "OnActivate"); });
    F->SetOnResize([this](TObject*) { Act(RandomControl(), "form OnResize"); });
    F->SetOnCloseQuery([this](TObject*, bool& CanClose) {
      CanClose = Chance(50);
      Act(RandomControl(), "OnCloseQuery");
    });
  }

  // Every handler kind of a control acts on the control.
  void Wire(TControl* C) {
    auto act = [this](const char* Kind) {
      return [this, Kind](TObject* s) { Act(static_cast<TControl*>(s), Kind); };
    };
    C->SetOnResize(act("OnResize"));
    C->SetOnPaint(act("OnPaint"));
    C->SetOnMouseLeave(act("OnMouseLeave"));
    C->SetOnClick(act("OnClick"));
    C->SetOnDblClick(act("OnDblClick"));
    C->SetOnMouseDown([this](TObject* s, TMouseButton, TShiftState, float, float) {
      Act(static_cast<TControl*>(s), "OnMouseDown");
    });
  }

  // The bar's constructor puts its background and status strip on the form, whose
  // layout runs handlers: the batch holds them until the new bar is linked, since a
  // handler freeing an object still under construction is beyond any object's reach.
  void NewBar() {
    TWeak<TQVTitleBar> link;
    {
      TRealignBatch batch;
      auto* bar = new TQVTitleBar(FForm.Get());
      link = bar;
      Wire(bar);
    }
    if (FForm && link) link->SetParent(FForm.Get());
  }

  TControl* NewControl(TComponent* Owner) {
    switch (Pick(5)) {
      case 0: return new TRectangle(Owner);
      case 1: return new TLayout(Owner);
      case 2: {
        auto* l = new TLabel(Owner);
        l->SetText("label");
        return l;
      }
      case 3: {
        auto* b = new TButton(Owner);
        b->SetText("button");
        return b;
      }
      default: {
        // A tiled picture, so huge sizes reach the image painter.
        auto* i = new TImage(Owner);
        TBitmap tile(3, 3);
        i->SetBitmap(&tile);
        i->SetWrapMode(TImageWrapMode::Tile);
        return i;
      }
    }
  }

  void AddControl() {
    TForm* form = FForm.Get();
    if (form == nullptr) return;
    TControl* c = NewControl(form);
    TWeak<TControl> link(c);
    // Braces fix the order the choices are made in, whatever the compiler.
    const TRectF r{Coord(600), Coord(440), static_cast<float>(Pick(300)), static_cast<float>(Pick(200))};
    c->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
    if (Chance(40)) c->SetAlign(static_cast<TAlignLayout>(Pick(16)));
    c->SetAutoCapture(Chance(30));
    Wire(c);
    TFmxObject* parent = RandomParent(nullptr);
    if (parent != nullptr && link) c->SetParent(parent);
  }

  // Live controls of the current form's tree. The title bar's private controls are
  // its own business (their handlers are its code): events reach them only through
  // input, and the bar is freed as a whole.
  std::vector<TControl*> Live() {
    std::vector<TControl*> out;
    if (!FForm) return out;
    std::vector<TFmxObject*> stack{FForm.Get()};
    while (!stack.empty()) {
      TFmxObject* o = stack.back();
      stack.pop_back();
      for (TFmxObject* c : o->ChildrenList()) {
        auto* k = dynamic_cast<TControl*>(c);
        if (k == nullptr || k->Tag() != 0) continue;
        out.push_back(k);
        if (dynamic_cast<TQVTitleBar*>(k) == nullptr) stack.push_back(c);
      }
    }
    return out;
  }

  TControl* RandomControl() {
    std::vector<TControl*> live = Live();
    return live.empty() ? nullptr : live[Pick(static_cast<unsigned>(live.size()))];
  }

  // The form or one of its controls that is not Moving nor below it.
  TFmxObject* RandomParent(TControl* Moving) {
    if (!FForm) return nullptr;
    std::vector<TFmxObject*> options{FForm.Get()};
    for (TControl* c : Live())
      if (Moving == nullptr || (c != Moving && !c->IsChildOf(Moving))) options.push_back(c);
    return options[Pick(static_cast<unsigned>(options.size()))];
  }

  TQVTitleBar* Bar() {
    for (TControl* c : Live())
      if (auto* b = dynamic_cast<TQVTitleBar*>(c)) return b;
    return nullptr;
  }

  // --- what a handler does ------------------------------------------------------

  void Act(TControl* Sender, const char* Kind) {
    // Handlers run inside handlers; a few levels are enough to mix every order.
    if (FDepth >= 3) return;
    ++FDepth;
    const char* outer = Where.Handler;
    Where.Handler = Kind;
    const unsigned roll = Pick(100);
    if (roll < 4) {
      delete Sender;  // may be null: a form handler with no control left
    } else if (roll < 7) {
      if (Sender != nullptr) {
        if (auto* p = dynamic_cast<TControl*>(Sender->Parent()))
          delete p;
        else if (Sender->Parent() == FForm.Get())
          delete FForm.Get();
      }
    } else if (roll < 10) {
      delete Bar();
    } else if (roll < 12) {
      delete FForm.Get();
    } else if (roll < 16) {
      if (Sender != nullptr && FForm)
        if (TFmxObject* p = RandomParent(Sender)) Sender->SetParent(p);
    } else if (roll < 18) {
      if (Sender != nullptr) Sender->SetVisible(!Sender->Visible());
    } else if (roll < 20) {
      if (Sender != nullptr) {
        const TPointF size{static_cast<float>(Pick(400)), static_cast<float>(Pick(300))};
        Sender->SetSize(size.X, size.Y);
      }
    }
    Where.Handler = outer;
    --FDepth;
  }

  // --- the events ------------------------------------------------------------------

  void Step() {
    TForm* form = FForm.Get();
    const float x = Coord(static_cast<float>(form->Width())), y = Coord(static_cast<float>(form->Height()));
    const auto button = static_cast<TMouseButton>(Pick(3));
    switch (Pick(20)) {
      case 0:
      case 1:
      case 2:
        Where.EventName = "pointer move";
        FPlatform->MouseMove(form, x, y);
        break;
      case 3:
        Where.EventName = "button down";
        FPlatform->MouseDown(form, button, x, y);
        break;
      case 4:
        Where.EventName = "button up";
        FPlatform->MouseUp(form, button, x, y);
        break;
      case 5:
        Where.EventName = "click";
        FPlatform->Click(form, x, y, button);
        break;
      case 6:
        Where.EventName = "double-click";
        // The caption strip now and then, where a double-click maximises.
        FPlatform->DoubleClick(form, x, Chance(50) ? 10 : y);
        break;
      case 7:
        Where.EventName = "pointer leaves";
        FPlatform->MouseLeaveWindow(form);
        break;
      case 8:
        Where.EventName = "clock";
        FPlatform->Advance(Pick(300));
        break;
      case 9:
        Where.EventName = "activation";
        Activation(form);
        break;
      case 10:
      case 11:
      case 12:
        Where.EventName = "property";
        Property();
        break;
      case 13:
        Where.EventName = "title bar property";
        BarProperty();
        break;
      case 14:
        Where.EventName = "reparent";
        if (TControl* c = RandomControl())
          if (TFmxObject* p = RandomParent(c)) c->SetParent(p);
        break;
      case 15:
        Where.EventName = "free";
        Free();
        break;
      case 16:
        Where.EventName = "add";
        AddControl();
        break;
      case 17:
        Where.EventName = "style book";
        StyleBook(form);
        break;
      case 18:
        Where.EventName = "stored form";
        if (Chance(25)) StoredForm(form);
        break;
      default:
        Where.EventName = "form bounds";
      {
        const TRect r{static_cast<int>(Pick(100)), static_cast<int>(Pick(100)),
                      200 + static_cast<int>(Pick(900)), 150 + static_cast<int>(Pick(700))};
        form->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
        break;
      }
    }
  }

  void Activation(TForm* F) {
    switch (Pick(4)) {
      case 0: FPlatform->SetActive(F, true); break;
      case 1: FPlatform->SetActive(F, false); break;
      case 2: F->Close(); break;
      default: F->Show(); break;
    }
  }

  float Odd() {
    static const float kValues[] = {NAN, INFINITY, -INFINITY, 1e30f, -5, 0, 1e6f};
    return kValues[Pick(7)];
  }

  void Property() {
    TControl* c = RandomControl();
    if (c == nullptr) return;
    switch (Pick(9)) {
      case 0: c->SetVisible(!c->Visible()); break;
      case 1: c->SetAlign(static_cast<TAlignLayout>(Pick(16))); break;
      case 2:
      {
        const TRectF r{Coord(700), Coord(500), static_cast<float>(Pick(400)), static_cast<float>(Pick(300))};
        c->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
      }
        break;
      case 3: c->SetBounds(Odd(), Odd(), Odd(), Odd()); break;
      case 4: {
        const TRectF m{float(Pick(8)), float(Pick(8)), float(Pick(8)), float(Pick(8))};
        c->Margins()->Set(m.Left, m.Top, m.Right, m.Bottom);
        break;
      }
      case 5: {
        const TRectF m{float(Pick(8)), float(Pick(8)), float(Pick(8)), float(Pick(8))};
        c->Padding()->Set(m.Left, m.Top, m.Right, m.Bottom);
        break;
      }
      case 6: c->SetEnabled(!c->Enabled()); break;
      case 7: Chance(50) ? c->BringToFront() : c->SendToBack(); break;
      default: c->SetFocus(); break;
    }
  }

  void BarProperty() {
    TQVTitleBar* b = Bar();
    if (b == nullptr) {
      NewBar();
      return;
    }
    switch (Pick(8)) {
      case 0: b->SetTitleBarHeight(static_cast<TTitleBarHeight>(Pick(3))); break;
      case 1: b->SetSizeGripVisible(!b->SizeGripVisible()); break;
      case 2: b->SetTitleBarEnabled(!b->TitleBarEnabled()); break;
      case 3: b->SetCaption(Chance(50) ? "soak" : ""); break;
      case 4: b->SetRadian(static_cast<float>(Pick(20))); break;
      case 5: b->SetToolButtonStyle(static_cast<TToolButtonStyle>(Pick(2))); break;
      case 6: b->SetCaptionAlignment(static_cast<TCaptionAlignment>(Pick(3))); break;
      default: b->SetDefaultFormColor(!b->DefaultFormColor()); break;
    }
  }

  void Free() {
    switch (Pick(8)) {
      case 0: delete FForm.Get(); break;
      case 1: delete Bar(); break;
      default: delete RandomControl(); break;
    }
  }

  void StyleBook(TForm* F) {
    if (TStyleBook* old = F->StyleBook(); old != nullptr && Chance(50)) {
      delete old;
      return;
    }
    auto* book = new TStyleBook(F);
    auto* root = new TLayout(nullptr);
    auto* bg = new TRectangle(nullptr);
    bg->SetStyleName("backgroundstyle");
    bg->SetParent(root);
    bg->Fill()->SetColor(Chance(50) ? 0xFF202020 : 0xFFF0F0F0);
    book->Styles()->Add(root);
    F->SetStyleBook(book);
  }

  // The form goes to its stored text and comes back as a new form, handlers wired again.
  void StoredForm(TForm* F) {
    std::string text;
    try {
      text = WriteComponentToText(F);
    } catch (const std::exception& e) {
      Fail(std::string("writing the form failed: ") + e.what());
    }
    delete F;
    TForm* again = nullptr;
    try {
      again = ReadComponentFromText<TForm>(text, nullptr);
    } catch (const std::exception& e) {
      Fail(std::string("reading the stored form back failed: ") + e.what() + "\n" + text);
    }
    FForm = again;
    WireForm(again);
    for (TControl* c : Live())
      if (c->Tag() == 0) Wire(c);
    again->Show();
  }

  // --- the invariants ----------------------------------------------------------------

  void Check() {
    Where.EventName = "check";
    for (TCommonCustomForm* f : Application->Forms()) {
      auto inTree = [f](TControl* c) {
        return c == nullptr || (c->IsChildOf(f) && !c->IsDestroying());
      };
      if (!inTree(f->Hovered())) Fail("the hovered control is not in the form's tree");
      if (!inTree(f->Captured())) Fail("the captured control is not in the form's tree");
      if (auto* form = dynamic_cast<TForm*>(f); form != nullptr && !inTree(form->Focused()))
        Fail("the focused control is not in the form's tree");
    }
    Where.EventName = "paint";
    FPlatform->PaintAll();
    if (FForm && FForm->Visible()) {
      FForm->InvalidateAll();
      FPlatform->PaintAll();
    }
  }

  std::mt19937_64 FRng;
  THeadlessPlatform* FPlatform = &THeadlessPlatform::Install(800, 600);
  TWeak<TForm> FForm;
  int FDepth = 0;
};

}  // namespace

void RunReentrancySoak(uint64_t Run, long Events) {
  Where.Run = Run;
  Where.Event = -1;
  TReentrancySoak soak(Run);
  soak.Run(Events);
}

}  // namespace fmx::soak
