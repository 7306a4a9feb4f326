// The soaks: numbered runs of a reproducible stream of events, each checked after every
// event. A failure prints the run and the event that replay it.
//
//   zuzided-soak [--scene reentrancy|library|both] [--run N] [--runs COUNT] [--events COUNT]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "LibrarySoak.h"
#include "ReentrancySoak.h"
#include "SoakReport.h"
#include "ZUZided.h"
#include "host/Registry.h"

using namespace fmx;

namespace {

long Number(const char* Text) {
  char* end = nullptr;
  const long v = std::strtol(Text, &end, 10);
  if (end == Text || *end != 0 || v < 0) {
    std::fprintf(stderr, "soak: not a count: %s\n", Text);
    std::exit(2);
  }
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  long run = 1, runs = 1, events = 2000;
  std::string scene = "both";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--run") == 0) {
      run = Number(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--runs") == 0) {
      runs = Number(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--events") == 0) {
      events = Number(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--scene") == 0 &&
               (std::strcmp(argv[i + 1], "reentrancy") == 0 ||
                std::strcmp(argv[i + 1], "library") == 0 || std::strcmp(argv[i + 1], "both") == 0)) {
      scene = argv[i + 1];
    } else {
      std::fprintf(stderr,
                   "usage: %s [--scene reentrancy|library|both] [--run N] [--runs COUNT] "
                   "[--events COUNT]\n",
                   argv[0]);
      return 2;
    }
  }
  soak::InstallDeathReport();
  EnsureHostClasses();
  ZUZided::Register();
  for (long r = run; r < run + runs; ++r) {
    const auto number = static_cast<uint64_t>(r);
    if (scene != "library") {
      soak::Where.Scene = "reentrancy";
      soak::Where.EventName = "set-up";
      soak::RunReentrancySoak(number, events);
    }
    if (scene != "reentrancy") {
      soak::Where.Scene = "library";
      soak::Where.Run = number;
      soak::Where.Event = -1;
      soak::Where.EventName = "set-up";
      soak::TRandomChoices choices(number);
      soak::TLibrarySoak library(choices);
      library.Run(events);
    }
  }
  std::printf("soak: %s, %ld run(s) from %ld, %ld events each: clean\n", scene.c_str(), runs, run,
              events);
  return 0;
}
