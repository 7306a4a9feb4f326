// The benchmark program starts the application as any program does: the headless
// platform installed first (a scene may install its own), then the scenes.
#include <benchmark/benchmark.h>

#include "host/platform/headless/Headless.h"

int main(int argc, char** argv) {
  fmx::THeadlessPlatform::Install();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
