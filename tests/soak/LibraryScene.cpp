// The scene of the library soak: built the way the demo builds its window.
#include "LibrarySoak.h"

#include "host/Buttons.h"
#include "host/Effects.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"
#include "host/Timers.h"

namespace fmx::soak {

TLibrarySoak::TLibrarySoak(TChoices& Choices)
    : FChoices(Choices), FPlatform(&THeadlessPlatform::Install(1280, 800)) {}

TLibrarySoak::~TLibrarySoak() {
  for (TCommonCustomForm* f : std::vector<TCommonCustomForm*>(Application->Forms())) delete f;
}

void TLibrarySoak::TMouseDownHandler::operator()(TObject* Sender, TMouseButton, TShiftState, float,
                                                 float) const {
  Soak->Act(dynamic_cast<TControl*>(Sender), "OnMouseDown");
}

void TLibrarySoak::TMouseLeaveHandler::operator()(TObject* Sender) const {
  Soak->Act(dynamic_cast<TControl*>(Sender), "OnMouseLeave");
}

void TLibrarySoak::Picture(TBitmap& Out, unsigned Kind) {
  Out.SetSize(16, 16);
  static const TAlphaColor kColours[] = {0xFF2B579A, 0xFFE3A21A, 0xFF2D7D46, 0xFFB0303A};
  Out.Clear(kColours[Kind % 4]);
  for (int i = 2; i < 14; ++i) Out.SetPixel(i, i, 0xFFFFFFFF);
}

void TLibrarySoak::BuildScene() {
  Where.EventName = "build";
  FWired.clear();
  FImageLists.clear();
  auto* form = new TQVConstrainedForm(nullptr);
  FForm = form;
  TQVConstraints* limits = form->Constraints();
  limits->SetMinWidth(400 + static_cast<int>(Pick(400)));
  limits->SetMaxWidth(Chance(30) ? 0 : 900 + static_cast<int>(Pick(500)));
  limits->SetMinHeight(300 + static_cast<int>(Pick(300)));
  limits->SetMaxHeight(Chance(30) ? 0 : 650 + static_cast<int>(Pick(300)));
  limits->SetMinLeft(Chance(50) ? 0 : static_cast<int>(Pick(100)));
  limits->SetMaxLeft(Chance(50) ? 0 : 200 + static_cast<int>(Pick(600)));
  limits->SetMinTop(Chance(50) ? 0 : static_cast<int>(Pick(100)));
  limits->SetMaxTop(Chance(50) ? 0 : 100 + static_cast<int>(Pick(300)));
  form->SetCaption("soak");
  form->SetBounds(100, 80, 900, 650);
  form->SetTransparency(true);
  BuildStyles(form);
  BuildTitleBar();
  if (!FForm) return;
  BuildMenu(form);
  for (int i = 0, n = 2 + static_cast<int>(Pick(5)); i < n && FForm; ++i) AddControl();
  if (!FForm) return;
  auto* timer = new TTimer(form);
  timer->SetInterval(50 + Pick(400));
  timer->SetOnTimer([this](TObject*) { Act(PickOf(Controls()), "OnTimer"); });
  WireForm(form);
  if (!FForm) return;
  form->Show();
  if (FForm) FPlatform->SetActive(form, true);
}

void TLibrarySoak::BuildStyles(TForm* F) {
  auto* book = new TStyleBook(F);
  for (TAlphaColor window : {0xFFF3F3F3u, 0xFF1F1F1Fu}) {
    auto* root = new TLayout(nullptr);
    auto* bg = new TRectangle(root);
    bg->SetStyleName("backgroundstyle");
    bg->Fill()->SetColor(window);
    bg->SetParent(root);
    auto* button = new TLayout(root);
    button->SetStyleName("buttonstyle");
    button->SetParent(root);
    auto* text = new TText(root);
    text->SetStyleName("text");
    text->TextSettings()->SetFontColor(~window | 0xFF000000);
    text->SetParent(button);
    book->Styles()->Add(root);
  }
  book->SetCurrentItemIndex(static_cast<int>(Pick(2)));
  F->SetStyleBook(book);
}

// The bar's constructor puts its background and status strip on the form, whose
// layout runs handlers: the batch holds them until the new bar is linked.
void TLibrarySoak::BuildTitleBar() {
  TWeak<TQVTitleBar> link;
  {
    TRealignBatch batch;
    auto* bar = new TQVTitleBar(FForm.Get());
    link = bar;
    Wire(bar);
  }
  if (!FForm || !link) return;
  link->SetParent(FForm.Get());
  if (link) link->SetTitleBarEnabled(true);
  if (link) link->SetCaption("soak 窗口");
  if (link) link->SetCaptionAlignment(TCaptionAlignment::caCenter);
  if (link) link->SetRadian(8);
  if (link) link->SetSizeGripVisible(true);
  if (link) link->SetDefaultFormColor(true);
  TBitmap logo;
  Picture(logo, 0);
  if (link) link->SetLogoBitmap(&logo);
}

TQVMenuButton* TLibrarySoak::NewEntry(TQVMenuBar* Bar, const std::string& Text) {
  TWeak<TQVMenuButton> b(new TQVMenuButton(FForm.Get()));
  Wire(b.Get());
  b->SetParent(Bar);
  if (b) b->SetButtonText(Text);
  if (b) b->SetOnClick([this](TObject* s) { Act(dynamic_cast<TControl*>(s), "entry OnClick"); });
  return b.Get();
}

TQVMenuBar* TLibrarySoak::NewSubMenu(TQVMenuBar* Parent, TQVMenuButton* Target, int Depth) {
  static const char* const kShortCuts[] = {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Alt+F4", "F1",
                                           "Ctrl+Shift+Z", "F5", "Ctrl+Enter", "", "",
                                           "Delete", "Shift+A"};
  TWeak<TQVMenuBar> bar(new TQVMenuBar(FForm.Get()));
  TWeak<TQVMenuButton> target(Target);
  Wire(bar.Get());
  bar->SetParent(Parent);
  if (bar && target) bar->SetTargetButton(Target);
  if (target && bar) Target->SetMoreArrow(true);
  if (bar && Chance(50)) {
    auto* shadow = new TShadowEffect(bar.Get());
    shadow->SetDistance(2);
    shadow->SetOpacity(0.3f);
    shadow->SetParent(bar.Get());
  }
  const int group = 1 + static_cast<int>(Pick(3));
  for (int i = 0, n = 2 + static_cast<int>(Pick(6)); i < n && bar && FForm; ++i) {
    const unsigned kind = Pick(8);
    if (kind == 0) {
      TWeak<TQVMenuButton> sep(new TQVMenuButton(FForm.Get()));
      sep->SetParent(bar.Get());
      if (sep) sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
      continue;
    }
    TWeak<TQVMenuButton> e(NewEntry(bar.Get(), "entry " + std::to_string(i)));
    if (!e) continue;
    if (Chance(40)) e->SetShortCut(kShortCuts[Pick(12)]);
    if (!e) continue;
    switch (kind) {
      case 1: e->SetMark(TQVMark::mTick); break;
      case 2:
        e->SetGroupIndex(group);
        if (e && Chance(40)) e->SetIsCheck(true);
        break;
      case 3: e->SetImageIndex(static_cast<int>(Pick(4)) - 1); break;
      case 4: {
        TBitmap icon;
        Picture(icon, Pick(4));
        e->SetIconBitmap(&icon);
        break;
      }
      case 5:
        e->SetMark(TQVMark::mChar);
        if (e) e->SetChar(static_cast<fmx::Char>(u'0' + Pick(5)));
        break;
      case 6:
        if (Depth < 2 && bar) NewSubMenu(bar.Get(), e.Get(), Depth + 1);
        break;
      default: break;
    }
  }
  return bar.Get();
}

void TLibrarySoak::BuildMenu(TForm* F) {
  TWeak<TForm> form(F);
  auto* images = new TImageList(F);
  FImageLists.emplace_back(images);
  for (unsigned kind = 0; kind < 3; ++kind) {
    TBitmap picture;
    Picture(picture, kind);
    images->Add(picture);
  }
  TWeak<TQVMenuBar> main(new TQVMenuBar(F));
  main->SetName("MainMenu");
  Wire(main.Get());
  main->SetParent(F);
  if (main) main->SetBounds(0, 32, static_cast<float>(F->Width()), 27);
  if (main) main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  if (main) main->SetDefaultMenubarColor(Chance(70));
  if (main) main->SetImages(images);
  if (main) main->SetShortCutsEnabled(Chance(80));
  static const char* const kTitles[] = {"文件(F)", "编辑(E)", "视图(V)", "窗口(W)", "帮助(H)"};
  for (int i = 0, n = 2 + static_cast<int>(Pick(4)); i < n && main && form; ++i) {
    TQVMenuButton* top = NewEntry(main.Get(), kTitles[i]);
    if (top != nullptr && main && form) NewSubMenu(main.Get(), top, 1);
  }
  if (main) main->BringToFront();
}

void TLibrarySoak::AddControl() {
  TForm* form = FForm.Get();
  if (form == nullptr) return;
  TControl* c = nullptr;
  switch (Pick(4)) {
    case 0: c = new TRectangle(form); break;
    case 1: c = new TLayout(form); break;
    case 2: {
      auto* l = new TLabel(form);
      l->SetText("label");
      c = l;
      break;
    }
    default: {
      auto* b = new TButton(form);
      b->SetText("button");
      c = b;
      break;
    }
  }
  TWeak<TControl> link(c);
  // Braces fix the order the choices are made in, whatever the compiler.
  const TRectF r{static_cast<float>(Pick(800)), 60 + static_cast<float>(Pick(500)),
                 20 + static_cast<float>(Pick(300)), 10 + static_cast<float>(Pick(200))};
  c->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
  if (Chance(30)) c->SetAlign(static_cast<TAlignLayout>(Pick(16)));
  c->SetAutoCapture(Chance(30));
  Wire(c);
  std::vector<TControl*> parents = Controls();
  TFmxObject* parent = form;
  if (!parents.empty() && Chance(30)) parent = PickOf(parents);
  if (link && parent != c) c->SetParent(parent);
}

void TLibrarySoak::Wire(TControl* C) {
  auto act = [this](const char* Kind) {
    return [this, Kind](TObject* s) { Act(dynamic_cast<TControl*>(s), Kind); };
  };
  C->SetOnResize(act("OnResize"));
  C->SetOnPaint(act("OnPaint"));
  C->SetOnDblClick(act("OnDblClick"));
  if (dynamic_cast<TQVMenuButton*>(C) == nullptr) C->SetOnClick(act("OnClick"));
  C->SetOnMouseDown(TMouseDownHandler{this});
  C->SetOnMouseLeave(TMouseLeaveHandler{this});
  FWired.emplace_back(C);
}

void TLibrarySoak::WireForm(TForm* F) {
  F->SetOnActivate([this](TObject*) { Act(PickOf(Controls()), "OnActivate"); });
  F->SetOnResize([this](TObject*) { Act(PickOf(Controls()), "form OnResize"); });
  F->SetOnMouseDown(TMouseDownHandler{this});
  F->SetOnCloseQuery([this](TObject*, bool& CanClose) {
    CanClose = Chance(50);
    Act(PickOf(Controls()), "OnCloseQuery");
  });
}

// --- what the tree holds ------------------------------------------------------------

namespace {

template <class F>
void Walk(TFmxObject* From, F&& Fn) {
  for (TFmxObject* c : From->ChildrenList()) {
    if (!Fn(c)) continue;
    Walk(c, Fn);
  }
}

bool IsPrivate(const TFmxObject* O) {
  auto* c = dynamic_cast<const TControl*>(O);
  return c == nullptr || c->Tag() != 0 || !c->Stored();
}

}  // namespace

std::vector<TControl*> TLibrarySoak::Controls() {
  std::vector<TControl*> out;
  if (!FForm) return out;
  Walk(FForm.Get(), [&](TFmxObject* o) {
    if (IsPrivate(o)) return false;
    if (dynamic_cast<TQVTitleBar*>(o) != nullptr) return false;
    if (dynamic_cast<TQVMenuBar*>(o) != nullptr || dynamic_cast<TQVMenuButton*>(o) != nullptr)
      return true;
    out.push_back(static_cast<TControl*>(o));
    return true;
  });
  return out;
}

std::vector<TQVMenuBar*> TLibrarySoak::MenuBars() {
  std::vector<TQVMenuBar*> out;
  if (!FForm) return out;
  Walk(FForm.Get(), [&](TFmxObject* o) {
    if (IsPrivate(o) || dynamic_cast<TQVTitleBar*>(o) != nullptr) return false;
    if (auto* b = dynamic_cast<TQVMenuBar*>(o)) out.push_back(b);
    return true;
  });
  return out;
}

std::vector<TQVMenuButton*> TLibrarySoak::Entries() {
  std::vector<TQVMenuButton*> out;
  if (!FForm) return out;
  Walk(FForm.Get(), [&](TFmxObject* o) {
    if (IsPrivate(o) || dynamic_cast<TQVTitleBar*>(o) != nullptr) return false;
    if (auto* b = dynamic_cast<TQVMenuButton*>(o)) {
      out.push_back(b);
      return false;
    }
    return true;
  });
  return out;
}

std::vector<TControl*> TLibrarySoak::Visible() {
  std::vector<TControl*> out;
  if (!FForm) return out;
  Walk(FForm.Get(), [&](TFmxObject* o) {
    auto* c = dynamic_cast<TControl*>(o);
    if (c == nullptr || !c->Visible()) return false;
    out.push_back(c);
    return true;
  });
  return out;
}

TQVTitleBar* TLibrarySoak::TitleBar() {
  if (!FForm) return nullptr;
  for (TFmxObject* c : FForm->ChildrenList())
    if (auto* b = dynamic_cast<TQVTitleBar*>(c)) return b;
  return nullptr;
}

TQVMenuBar* TLibrarySoak::MainBar() {
  for (TQVMenuBar* b : MenuBars())
    if (b->MenuBarStyle() == TQVMenuBarStyle::msMainMenuBar) return b;
  return nullptr;
}

}  // namespace fmx::soak
