// The scenes users compare us on, built from the library's own classes: a full
// frame of a window with its title bar and an open drop-down (S1), a hover step in
// that drop-down (S3), and building and freeing big menus (S2).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "HeapUse.h"
#include "S1Scene.h"
#include "S2Scene.h"
#include "host/Canvas.h"
#include "host/Controls.h"
#include "host/Effects.h"
#include "host/Forms.h"

using namespace fmx;
using namespace fmx::bench;

namespace {


// The thread's CPU time, in seconds: the cores are shared with other work, and time
// spent waiting for one is not the library's cost.
double Now() {
  timespec T{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

double Seconds(double From, double To) { return To - From; }

void SaveIfAsked(const char* Variable, const TCanvas& C) {
  if (const char* path = std::getenv(Variable)) {
    TBitmap b;
    C.CopyTo(b);
    b.SaveToFile(path);
  }
}

// S1: a full repaint of the window with the drop-down open, into a reused surface.
void BM_S1Frame(benchmark::State& State) {
  THeadlessPlatform& P = THeadlessPlatform::Install();
  {
    TS1Scene scene;
    scene.OpenWindowMenu(P);
    TCanvas canvas(FrameW, FrameH);
    scene.Form->PaintTo(&canvas);
    for (auto _ : State) {
      const auto start = Now();
      scene.Form->PaintTo(&canvas);
      State.SetIterationTime(Seconds(start, Now()));
    }
    SaveIfAsked("ZZ_BENCH_S1_PNG", canvas);
  }
}
BENCHMARK(BM_S1Frame)->Name("Scenes/S1Frame")->UseManualTime()->Unit(benchmark::kMillisecond);

// S3: the pointer moves to the next entry of the open drop-down; the platform repaints
// the damage into its kept picture. Median over rounds of the eight entries.
void BM_S3Hover(benchmark::State& State) {
  THeadlessPlatform& P = THeadlessPlatform::Install();
  P.SetRetainedPainting(true);
  {
    TS1Scene scene;
    scene.OpenWindowMenu(P);
    std::vector<TPointF> points;
    for (TQVMenuButton* b : scene.DropDown) {
      const TRectF r = b->AbsoluteRect();
      points.push_back({r.Left + 30, (r.Top + r.Bottom) / 2});
    }
    std::vector<double> steps;
    size_t i = 0;
    double area = 0;
    for (auto _ : State) {
      const TPointF p = points[i++ % points.size()];
      const auto start = Now();
      P.MouseMove(scene.Form.get(), p.X, p.Y);
      const double t = Seconds(start, Now());
      State.SetIterationTime(t);
      steps.push_back(t);
      area = P.LastPainted(scene.Form.get()).Area();
    }
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() / 2), steps.end());
    State.counters["median_ms"] = steps.empty() ? 0 : steps[steps.size() / 2] * 1e3;
    State.counters["painted_px"] = area;
    if (const TCanvas* kept = P.RetainedCanvas(scene.Form.get())) SaveIfAsked("ZZ_BENCH_S3_PNG", *kept);
  }
  P.SetRetainedPainting(false);
}
BENCHMARK(BM_S3Hover)->Name("Scenes/S3HoverStep")->UseManualTime()->Unit(benchmark::kMicrosecond);

// S2: a main bar of 10 menus of N entries with caption and shortcut, every 10th a
// tick, every 25th with an arrow to a sub-menu of 4 entries; built, then freed.
void BM_S2BuildDestroy(benchmark::State& State) {
  THeadlessPlatform::Install();
  const int N = static_cast<int>(State.range(0));
  double build = 0, layout = 0, destroy = 0, bytes = 0, left = 0;
  for (auto _ : State) {
    const double before = HeapInUse();
    const auto start = Now();
    auto form = std::make_unique<TForm>(nullptr);
    TForm* F = form.get();
    F->SetBounds(0, 0, FrameW, FrameH);
    BuildS2(F, N, Now, &layout);
    const auto built = Now();
    bytes = (HeapInUse() - before) / (10.0 * N);
    form.reset();
    const auto freed = Now();
    left = HeapInUse() - before;
    build += Seconds(start, built);
    destroy += Seconds(built, freed);
    State.SetIterationTime(Seconds(start, freed));
  }
  const double rounds = static_cast<double>(State.iterations());
  State.counters["build_ms"] = build / rounds * 1e3;
  State.counters["layout_ms"] = layout / rounds * 1e3;
  State.counters["destroy_ms"] = destroy / rounds * 1e3;
  State.counters["bytes_per_entry"] = bytes;
  State.counters["bytes_left"] = left;
}
BENCHMARK(BM_S2BuildDestroy)->Name("Scenes/S2BuildDestroy")->Arg(100)->Arg(1000)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
