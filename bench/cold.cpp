// One round of a figure that a user meets once, in this fresh process: the loop
// benchmarks see warm heaps, mapped pages and filled caches after their first round,
// an application does not. bench/cold.sh starts this program once per sample.
//
//   zuzided-cold s2 N   builds the S2 menus of 10 x N entries on a new form, then frees
//                       the form; prints build_ms, layout_ms, destroy_ms,
//                       bytes_per_entry (heap the build added, over 10 x N)
//   zuzided-cold s2 N text-ready
//                       the same, after a Latin and a CJK text were measured untimed:
//                       the build without the font machinery's start, which the
//                       first text of a process pays (an application's start pays it
//                       once, whatever it shows first)
//   zuzided-cold s1     builds the S1 window and paints it once, then opens the
//                       窗口(W) drop-down with a click and moves the pointer onto its
//                       second entry, each repainted as a window would; prints
//                       open_ms and hover_ms
//
// Times are the process's CPU time (all its threads, the kernel's page faults
// included), not the wall clock: the cores are shared with other work.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "HeapUse.h"
#include "host/TextLayout.h"
#include "S1Scene.h"
#include "S2Scene.h"

using namespace fmx;
using namespace fmx::bench;

namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}


int S2(int N, bool TextReady) {
  THeadlessPlatform::Install();
  if (TextReady) {
    TTextLayout text;
    text.SetText("Ctrl+Shift+N 条目");
    text.TextRect();
  }
  double layout = 0;
  const double before = HeapInUse();
  const double start = Now();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, FrameW, FrameH);
  BuildS2(form.get(), N, Now, &layout);
  const double built = Now();
  const double bytes = (HeapInUse() - before) / (10.0 * N);
  form.reset();
  const double freed = Now();
  std::printf("build_ms %.3f layout_ms %.3f destroy_ms %.3f bytes_per_entry %.0f\n", (built - start) * 1e3,
              layout * 1e3, (freed - built) * 1e3, bytes);
  return 0;
}

int S1() {
  THeadlessPlatform& P = THeadlessPlatform::Install();
  P.SetRetainedPainting(true);
  TS1Scene scene;
  P.PaintAll();
  const double start = Now();
  scene.OpenWindowMenu(P);
  const double opened = Now();
  const TRectF r = scene.DropDown[1]->AbsoluteRect();
  P.MouseMove(scene.Form.get(), r.Left + 30, (r.Top + r.Bottom) / 2);
  const double hovered = Now();
  std::printf("open_ms %.3f hover_ms %.3f\n", (opened - start) * 1e3, (hovered - opened) * 1e3);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "s2") == 0)
    return S2(std::atoi(argv[2]), argc >= 4 && std::strcmp(argv[3], "text-ready") == 0);
  if (argc >= 2 && std::strcmp(argv[1], "s1") == 0) return S1();
  std::fprintf(stderr, "usage: zuzided-cold s2 N [text-ready] | s1\n");
  return 2;
}
