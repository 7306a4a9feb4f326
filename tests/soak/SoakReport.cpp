#include "SoakReport.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Set by the sanitizer build, whose runtime can tell us before it ends the process.
#ifdef ZZ_SOAK_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace fmx::soak {

TWhere Where;

void PrintWhere() {
  if (Where.AbortOnFailure) {
    std::fprintf(stderr, "soak: fuzz input, event %ld (%s, %s, %s)\n", Where.Event,
                 Where.EventName, Where.Phase, Where.Handler);
    std::fflush(stderr);
    return;
  }
  std::fprintf(stderr,
               "soak: %s, run %llu, event %ld (%s, %s, %s)\n"
               "replay: make soak SCENE=%s RUN=%llu EVENTS=%ld\n",
               Where.Scene, static_cast<unsigned long long>(Where.Run), Where.Event, Where.EventName,
               Where.Phase, Where.Handler, Where.Scene, static_cast<unsigned long long>(Where.Run),
               Where.Event + 1);
  std::fflush(stderr);
}

namespace {

void OnSignal(int Signal) {
  // Only async-signal-safe calls: format by hand.
  char buf[160];
  int n = std::snprintf(buf, sizeof buf, "soak: signal %d at run %llu, event %ld\n", Signal,
                        static_cast<unsigned long long>(Where.Run), Where.Event);
  if (n > 0) (void)!write(2, buf, static_cast<size_t>(n));
  std::signal(Signal, SIG_DFL);
  std::raise(Signal);
}

}  // namespace

void InstallDeathReport() {
#ifdef ZZ_SOAK_SANITIZED
  __sanitizer_set_death_callback(PrintWhere);
#endif
  std::signal(SIGSEGV, OnSignal);
  std::signal(SIGABRT, OnSignal);
  std::signal(SIGFPE, OnSignal);
}

void Fail(const std::string& What) {
  std::fprintf(stderr, "soak: %s\n", What.c_str());
  PrintWhere();
  if (Where.AbortOnFailure) std::abort();
  std::exit(1);
}

}  // namespace fmx::soak
