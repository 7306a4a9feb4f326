// Time from process start to the first frame of the S1 window in the surface: the
// window is built on the headless platform, its 窗口(W) drop-down opened, and one
// paint brings the platform's kept picture up to date. The program exits right after,
// so a script timing whole runs sees the same moment.
//
// Prints one line: "first_frame_ms <t> main_ms <m> build_ms <b> paint_ms <p>", where
// t is from process start (ZZ_LAUNCH_TIME, the launcher's clock as seconds since the
// epoch, or else the kernel's start time of the process, which is coarser) and the
// others split the time after main was entered.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "S1Scene.h"
#include "host/Canvas.h"

using namespace fmx;

namespace {

double RealNow() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double BootNow() {
  timespec t{};
  clock_gettime(CLOCK_BOOTTIME, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds since the process started, from field 22 of /proc/self/stat (clock ticks
// since boot); -1 when it cannot be read.
double SinceKernelStart() {
  std::ifstream in("/proc/self/stat");
  const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The command name may hold spaces and parentheses: fields count from the last ')'.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) return BootNow() - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return -1;
}

}  // namespace

int main() {
  const double entered = RealNow();
  THeadlessPlatform& P = THeadlessPlatform::Install();
  P.SetRetainedPainting(true);
  // One paint for the frame, as a run loop gives the first frame once the window is
  // built, not one per injected event.
  P.SetAutoPaint(false);
  bench::TS1Scene scene;
  scene.OpenWindowMenu(P);
  const double built = RealNow();
  P.PaintAll();
  const double painted = RealNow();
  const double sinceKernel = SinceKernelStart();

  double firstFrame = sinceKernel;
  if (const char* launch = std::getenv("ZZ_LAUNCH_TIME"); launch != nullptr && *launch != 0)
    firstFrame = painted - std::strtod(launch, nullptr);
  std::printf("first_frame_ms %.2f main_ms %.2f build_ms %.2f paint_ms %.2f\n", firstFrame * 1e3,
              (painted - entered) * 1e3, (built - entered) * 1e3, (painted - built) * 1e3);
  if (const char* png = std::getenv("ZZ_FIRST_FRAME_PNG")) {
    if (const TCanvas* kept = P.RetainedCanvas(scene.Form.get())) {
      TBitmap b;
      kept->CopyTo(b);
      b.SaveToFile(png);
    }
  }
  std::fflush(stdout);
  // The frame is what is measured: leave without the teardown.
  _exit(0);
}
