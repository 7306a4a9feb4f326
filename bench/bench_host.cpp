// Host scenes: what a control costs in memory, building and freeing menu-sized trees,
// painting behind a clipping parent, painting many distinct texts, and the repaint a
// hover causes. Each scene reports its figure as a named counter; see bench/README.md.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "HeapUse.h"
#include "host/Canvas.h"
#include "host/Forms.h"
#include "host/ImageList.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/platform/headless/Headless.h"

using namespace fmx;
using fmx::bench::HeapInUse;

namespace {

// The thread's CPU time, in seconds: the cores are shared with other work, and time
// spent waiting for one is not the host's cost.
double Now() {
  timespec T{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

double Seconds(double From, double To) { return To - From; }


template <class T>
T* Add(TComponent* Owner, TFmxObject* Parent) {
  auto* C = new T(Owner);
  C->SetParent(Parent);
  return C;
}

std::unique_ptr<TForm> NewForm(int W, int H) {
  auto F = std::make_unique<TForm>(nullptr);
  F->SetBounds(0, 0, W, H);
  return F;
}

TLabel* AddSmallLabel(TForm* F, TFmxObject* Parent, const std::string& Text, float X, float Y,
                      float W, float H, float Size) {
  auto* L = Add<TLabel>(F, Parent);
  L->SetBounds(X, Y, W, H);
  L->SetStyledSettings({});
  L->TextSettings()->Font()->SetSize(Size);
  L->SetText(Text);
  return L;
}

// ---------------------------------------------------------------------------------
// Bytes per bare control

constexpr int BareCount = 10000;

template <class T>
void BM_BareControl(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  {
    // One-time allocations (statics, first font, first life token) stay out of the figure.
    auto Warm = NewForm(640, 480);
    Add<T>(Warm.get(), Warm.get());
  }
  double Bytes = 0;
  for (auto _ : State) {
    auto Form = NewForm(640, 480);
    const double Before = HeapInUse();
    const auto Start = Now();
    for (int I = 0; I < N; ++I) Add<T>(Form.get(), Form.get());
    const auto Stop = Now();
    Bytes = (HeapInUse() - Before) / N;
    State.SetIterationTime(Seconds(Start, Stop));
    Form.reset();
  }
  // Includes the control's slots in its owner's and its parent's lists.
  State.counters["bytes_per_control"] = Bytes;
  State.counters["sizeof_class"] = sizeof(T);
  State.counters["sizeof_TControl"] = sizeof(TControl);
}
// The figure is memory, which does not vary; a few rounds keep the slow teardown of
// each round from dominating the run.
#define ZZ_BARE_CONTROL(Class)                                                    \
  BENCHMARK(BM_BareControl<Class>)->Name("Host/BareControl/" #Class)->Arg(BareCount) \
      ->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond)
ZZ_BARE_CONTROL(TLayout);
ZZ_BARE_CONTROL(TRectangle);
ZZ_BARE_CONTROL(TLabel);
ZZ_BARE_CONTROL(TPath);

// ---------------------------------------------------------------------------------
// Build and free menu-sized entries

constexpr int ControlsPerEntry = 13;
constexpr float EntryHeight = 27;
constexpr float ListWidth = 320;

// ===== Realign lock for bulk building =====
// A constructor that builds many children holds the host's realign lock over the
// whole build, where the host has one. Whether it was held is reported as the
// realign_lock counter, so before and after figures say which way they were taken.
template <class T>
concept HasRealignLock = requires(T& O) {
  O.BeginUpdate();
  O.EndUpdate();
};

template <class T>
bool BeginBulk(T* O) {
  if constexpr (HasRealignLock<T>) {
    O->BeginUpdate();
    return true;
  } else {
    return false;
  }
}

template <class T>
void EndBulk(T* O) {
  if constexpr (HasRealignLock<T>) O->EndUpdate();
}
// ===== end of the realign lock =====

// One menu entry as a menu's constructor makes it: check and icon column, caption,
// shortcut, submenu arrow, badge and a highlight behind them, all owned by the form.
void BuildEntry(TForm* F, TLayout* List, int I) {
  auto* Entry = Add<TLayout>(F, List);
  // Below the previous entries, so the top alignment appends instead of reordering.
  Entry->SetBounds(0, I * EntryHeight, ListWidth, EntryHeight);
  Entry->SetAlign(TAlignLayout::Top);

  auto* Highlight = Add<TRectangle>(F, Entry);
  Highlight->SetAlign(TAlignLayout::Contents);
  Highlight->Fill()->SetColor(0x00000000);
  Highlight->Stroke()->SetKind(TBrushKind::None);

  auto* IconColumn = Add<TLayout>(F, Entry);
  IconColumn->SetWidth(28);
  IconColumn->SetAlign(TAlignLayout::Left);
  auto* Check = Add<TPath>(F, IconColumn);
  Check->SetAlign(TAlignLayout::Client);
  Check->Data()->SetData("M 1 5 L 4 8 L 9 1");
  Check->SetVisible(false);
  auto* Icon = Add<TLabel>(F, IconColumn);
  Icon->SetAlign(TAlignLayout::Client);
  Icon->TextSettings()->SetHorzAlign(TTextAlign::Center);
  Icon->SetText("•");

  auto* Divider = Add<TRectangle>(F, Entry);
  Divider->SetWidth(1);
  Divider->SetAlign(TAlignLayout::Left);
  Divider->Fill()->SetColor(0xFFE0E0E0);
  Divider->Stroke()->SetKind(TBrushKind::None);

  auto* ArrowColumn = Add<TLayout>(F, Entry);
  ArrowColumn->SetWidth(20);
  ArrowColumn->SetAlign(TAlignLayout::Right);
  auto* Arrow = Add<TPath>(F, ArrowColumn);
  Arrow->SetAlign(TAlignLayout::Client);
  Arrow->Data()->SetData("M 0 0 L 4 4 L 0 8 Z");

  auto* Badge = Add<TLayout>(F, Entry);
  Badge->SetWidth(24);
  Badge->SetAlign(TAlignLayout::Right);
  auto* BadgeBack = Add<TRectangle>(F, Badge);
  BadgeBack->SetAlign(TAlignLayout::Client);
  BadgeBack->SetXRadius(6);
  BadgeBack->SetYRadius(6);
  auto* BadgeText = Add<TLabel>(F, Badge);
  BadgeText->SetAlign(TAlignLayout::Client);
  BadgeText->TextSettings()->SetHorzAlign(TTextAlign::Center);
  BadgeText->SetText(std::to_string(I % 10));

  auto* Shortcut = Add<TLabel>(F, Entry);
  Shortcut->SetWidth(90);
  Shortcut->SetAlign(TAlignLayout::Right);
  Shortcut->TextSettings()->SetHorzAlign(TTextAlign::Trailing);
  Shortcut->SetText("Ctrl+Shift+N");

  auto* Caption = Add<TLabel>(F, Entry);
  Caption->SetAlign(TAlignLayout::Client);
  Caption->SetText("Entry " + std::to_string(I + 1));
}

void BM_Entries(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  double BuildTotal = 0, FreeTotal = 0, Bytes = 0;
  bool Locked = false;
  for (auto _ : State) {
    auto Form = NewForm(1280, 800);
    TForm* F = Form.get();
    const double Before = HeapInUse();
    const auto Start = Now();
    auto* List = Add<TLayout>(F, F);
    List->SetBounds(0, 0, ListWidth, N * EntryHeight);
    bool FormLocked = false, ListLocked = false;
    {
      // Layout is done once, parents first, when the batch ends.
      TRealignBatch Batch;
      FormLocked = BeginBulk<TCommonCustomForm>(F);
      ListLocked = BeginBulk<TControl>(List) || TRealignBatch::Active();
      for (int I = 0; I < N; ++I) BuildEntry(F, List, I);
      EndBulk<TControl>(List);
      EndBulk<TCommonCustomForm>(F);
    }
    const auto Built = Now();
    Bytes = (HeapInUse() - Before) / N;
    Locked = FormLocked || ListLocked;
    const auto FreeStart = Now();
    Form.reset();
    const auto Freed = Now();
    BuildTotal += Seconds(Start, Built);
    FreeTotal += Seconds(FreeStart, Freed);
    State.SetIterationTime(Seconds(Start, Built) + Seconds(FreeStart, Freed));
  }
  const double Rounds = static_cast<double>(State.iterations());
  State.counters["build_ms"] = BuildTotal / Rounds * 1e3;
  State.counters["free_ms"] = FreeTotal / Rounds * 1e3;
  State.counters["bytes_per_entry"] = Bytes;
  State.counters["controls"] = static_cast<double>(N) * ControlsPerEntry;
  State.counters["realign_lock"] = Locked ? 1 : 0;
}
BENCHMARK(BM_Entries)->Name("Host/Entries")->Arg(1160)->Arg(11600)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------
// A stored form whose components all have names, read: the reader asks the owner for
// each name before it gives it, so the cost per component must not grow with the form.

std::string NamedFormText(int N) {
  std::string Text = "object Form1: TForm\n";
  for (int I = 0; I < N; ++I) {
    Text += "  object Layout" + std::to_string(I) + ": TLayout\n";
    Text += "    Position.Y = " + std::to_string(I) + ".000000000000000000\n  end\n";
  }
  return Text + "end\n";
}

void BM_NamedForm(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const std::string Text = NamedFormText(N);
  double Total = 0;
  for (auto _ : State) {
    const auto Start = Now();
    std::unique_ptr<TComponent> Form(ReadComponentFromText(Text, nullptr));
    const auto Stop = Now();
    State.SetIterationTime(Seconds(Start, Stop));
    Total += Seconds(Start, Stop);
    benchmark::DoNotOptimize(Form->FindComponent("Layout" + std::to_string(N - 1)));
  }
  const double Rounds = static_cast<double>(std::max<benchmark::IterationCount>(1, State.iterations()));
  State.counters["us_per_component"] = Total / Rounds / N * 1e6;
}
BENCHMARK(BM_NamedForm)->Name("Host/NamedForm")->Arg(1000)->Arg(10000)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// An image list many controls link to: a change tells each link once, and the links
// come and go in constant time each.
void BM_ImageListLinks(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  for (auto _ : State) {
    const auto Start = Now();
    TImageList List(nullptr);
    std::vector<std::unique_ptr<TImageLink>> Links;
    int Heard = 0;
    for (int I = 0; I < N; ++I) {
      Links.push_back(std::make_unique<TImageLink>());
      Links.back()->SetOnChange([&Heard](TObject*) { ++Heard; });
      Links.back()->SetImages(&List);
    }
    List.Change();
    for (int I = 0; I < N; I += 2) Links[static_cast<size_t>(I)].reset();
    List.Change();
    Links.clear();
    const auto Stop = Now();
    State.SetIterationTime(Seconds(Start, Stop));
    benchmark::DoNotOptimize(Heard);
  }
}
BENCHMARK(BM_ImageListLinks)->Name("Host/ImageListLinks")->Arg(1000)->Arg(10000)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------
// Frames on a 1280 x 800 form painted into one reused canvas, as a window does.

constexpr int FrameW = 1280, FrameH = 800;

// Paints frames until the benchmark has enough; returns the mean frame in seconds.
double PaintFrames(benchmark::State& State, TForm* Form) {
  TCanvas C(FrameW, FrameH);
  // The first frame measures and shapes every text; the steady state is what counts.
  Form->PaintTo(&C);
  double Total = 0;
  for (auto _ : State) {
    const auto Start = Now();
    Form->PaintTo(&C);
    benchmark::DoNotOptimize(C.Bits());
    const auto Stop = Now();
    State.SetIterationTime(Seconds(Start, Stop));
    Total += Seconds(Start, Stop);
  }
  return Total / static_cast<double>(std::max<benchmark::IterationCount>(1, State.iterations()));
}

// Labels stacked in a 300-pixel parent that clips them: only the first fifteen show.
void BM_ClippedFrame(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  constexpr float Row = 20;
  auto Form = NewForm(FrameW, FrameH);
  TForm* F = Form.get();
  auto* Clip = Add<TLayout>(F, F);
  Clip->SetBounds(40, 40, 400, 300);
  Clip->SetClipChildren(true);
  for (int I = 0; I < N; ++I)
    AddSmallLabel(F, Clip, "Entry " + std::to_string(I + 1), 0, I * Row, 400, Row, 12);
  const double Frame = PaintFrames(State, F);
  State.counters["frame_ms"] = Frame * 1e3;
  State.counters["labels"] = N;
  State.counters["labels_shown"] = std::min(N, static_cast<int>(300 / Row));
}
BENCHMARK(BM_ClippedFrame)->Name("Host/ClippedFrame")->Arg(12)->Arg(1000)->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// Distinct short texts in a grid of 32 x 16 cells filling the form from the top: 2,000
// cover it, 200 take the first five rows. Equal per-text cost means no cache cliff.
void BM_ManyTexts(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  constexpr float CellW = 32, CellH = 16;
  constexpr int Columns = static_cast<int>(FrameW / CellW);
  auto Form = NewForm(FrameW, FrameH);
  TForm* F = Form.get();
  for (int I = 0; I < N; ++I)
    AddSmallLabel(F, F, std::to_string(I + 1), (I % Columns) * CellW, (I / Columns) * CellH, CellW,
                  CellH, 8);
  const double Frame = PaintFrames(State, F);
  State.counters["frame_ms"] = Frame * 1e3;
  State.counters["us_per_text"] = Frame * 1e6 / N;
  State.counters["texts"] = N;
}
BENCHMARK(BM_ManyTexts)->Name("Host/ManyTexts")->Arg(200)->Arg(2000)->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------------------------
// Hover repaint

// The headless platform, noting every rectangle the form asks to have painted again.
class TRecordingPlatform : public THeadlessPlatform {
 public:
  std::vector<TRectF> Asked;
  void Invalidate(TCommonCustomForm* AForm, const TRectF& ARect) override {
    const TRectF Whole{0, 0, static_cast<float>(AForm->Width()), static_cast<float>(AForm->Height())};
    // An empty rectangle stands for the whole form.
    Asked.push_back(ARect.Width() <= 0 || ARect.Height() <= 0 ? Whole : Clipped(ARect, Whole));
    THeadlessPlatform::Invalidate(AForm, ARect);
  }

 private:
  static TRectF Clipped(const TRectF& R, const TRectF& To) {
    return {std::max(R.Left, To.Left), std::max(R.Top, To.Top), std::min(R.Right, To.Right),
            std::min(R.Bottom, To.Bottom)};
  }
};

// Area of the union of a few rectangles, in pixels: rectangles repeat (every setter
// asks again), so overlaps must not count twice.
double UnionArea(const std::vector<TRectF>& Rects) {
  std::vector<float> Xs, Ys;
  for (const TRectF& R : Rects) {
    if (R.Width() <= 0 || R.Height() <= 0) continue;
    Xs.insert(Xs.end(), {R.Left, R.Right});
    Ys.insert(Ys.end(), {R.Top, R.Bottom});
  }
  std::sort(Xs.begin(), Xs.end());
  Xs.erase(std::unique(Xs.begin(), Xs.end()), Xs.end());
  std::sort(Ys.begin(), Ys.end());
  Ys.erase(std::unique(Ys.begin(), Ys.end()), Ys.end());
  double Area = 0;
  for (size_t X = 0; X + 1 < Xs.size(); ++X)
    for (size_t Y = 0; Y + 1 < Ys.size(); ++Y) {
      const float Cx = (Xs[X] + Xs[X + 1]) / 2, Cy = (Ys[Y] + Ys[Y + 1]) / 2;
      const bool Covered = std::any_of(Rects.begin(), Rects.end(), [&](const TRectF& R) {
        return Cx > R.Left && Cx < R.Right && Cy > R.Top && Cy < R.Bottom;
      });
      if (Covered) Area += double(Xs[X + 1] - Xs[X]) * (Ys[Y + 1] - Ys[Y]);
    }
  return Area;
}

// ===== Painted area =====
// The headless platform does not say which pixels its repaint covered. Once it keeps
// a dirty region, return that region's area here (read before the repaint clears it,
// or from what the last repaint covered); a negative value leaves painted_px out.
double PaintedArea(TRecordingPlatform& Platform, TCommonCustomForm* Form) {
  return Platform.LastPainted(Form).Area();
}
// ===== end of the painted area =====

constexpr int HoverColumns = 16, HoverRows = 12;
constexpr float CellW = 72, CellH = 56, CellPitchX = 78, CellPitchY = 64, GridOrigin = 20;
constexpr TAlphaColor CellColor = 0xFFFFFFFF, HoverColor = 0xFFCCE4F7;

// A grid of 192 cells (a rectangle with a label each, 385 controls with the
// background); the pointer moves from an empty spot onto one cell, whose enter
// handler recolours it.
//   Headless: the move plus the repaint the headless platform does after input.
//   Window:   the same, then the form painted into a reused canvas, as a window does.
void BM_HoverRepaint(benchmark::State& State, bool PaintWindow) {
  auto Owned = std::make_unique<TRecordingPlatform>();
  TRecordingPlatform& Platform = *Owned;
  Application->SetPlatform(std::move(Owned));
  {
    auto Form = NewForm(FrameW, FrameH);
    TForm* F = Form.get();
    auto* Back = Add<TRectangle>(F, F);
    Back->SetAlign(TAlignLayout::Contents);
    Back->SetHitTest(false);
    Back->Fill()->SetColor(0xFFF5F5F5);
    TRectangle* Target = nullptr;
    for (int I = 0; I < HoverColumns * HoverRows; ++I) {
      auto* Cell = Add<TRectangle>(F, F);
      Cell->SetBounds(GridOrigin + (I % HoverColumns) * CellPitchX,
                      GridOrigin + (I / HoverColumns) * CellPitchY, CellW, CellH);
      Cell->Fill()->SetColor(CellColor);
      Cell->Stroke()->SetColor(0xFFA0A0A0);
      Cell->SetOnMouseEnter([Cell](TObject*) { Cell->Fill()->SetColor(HoverColor); });
      Cell->SetOnMouseLeave([Cell](TObject*) { Cell->Fill()->SetColor(CellColor); });
      auto* Caption = Add<TLabel>(F, Cell);
      Caption->SetAlign(TAlignLayout::Client);
      Caption->TextSettings()->SetHorzAlign(TTextAlign::Center);
      Caption->SetText("Cell " + std::to_string(I + 1));
      if (I == HoverColumns * 5 + 7) Target = Cell;
    }
    F->Show();
    // As a window does: the platform keeps the picture and repaints only the damage.
    Platform.SetRetainedPainting(PaintWindow);
    const TPointF Away{GridOrigin / 2, GridOrigin / 2};
    const TRectF T = Target->AbsoluteRect();
    const TPointF Onto{(T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2};
    auto MoveTo = [&](TPointF P) {
      Platform.MouseMove(F, P.X, P.Y);
    };
    MoveTo(Away);
    MoveTo(Onto);
    double Asked = 0, Painted = -1;
    for (auto _ : State) {
      MoveTo(Away);
      Platform.Asked.clear();
      const auto Start = Now();
      MoveTo(Onto);
      const auto Stop = Now();
      State.SetIterationTime(Seconds(Start, Stop));
      Asked = UnionArea(Platform.Asked);
      Painted = PaintWindow ? PaintedArea(Platform, F) : -1;
    }
    if (Target->Fill()->Color() != HoverColor) State.SkipWithError("the hover did not recolour");
    State.counters["invalidated_px"] = Asked;
    if (Painted >= 0) State.counters["painted_px"] = Painted;
    State.counters["form_px"] = double(FrameW) * FrameH;
    State.counters["cell_px"] = double(CellW) * CellH;
  }
  THeadlessPlatform::Install();
}
BENCHMARK_CAPTURE(BM_HoverRepaint, Headless, false)->Name("Host/HoverRepaint/Headless")
    ->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HoverRepaint, Window, true)->Name("Host/HoverRepaint/Window")
    ->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
