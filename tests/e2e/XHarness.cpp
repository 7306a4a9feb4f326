#include "XHarness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

int MsSince(Clock::time_point Start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - Start).count());
}

// Runs in the forked child: own process group, environment, output, then exec.
[[noreturn]] void ExecChild(const std::vector<std::string>& Argv, const std::vector<std::string>& Env,
                            int OutFd, int InheritFd) {
  setpgid(0, 0);
  const int devnull = open("/dev/null", O_RDWR);
  dup2(devnull, STDIN_FILENO);
  dup2(OutFd >= 0 ? OutFd : devnull, STDOUT_FILENO);
  dup2(OutFd >= 0 ? OutFd : devnull, STDERR_FILENO);
  if (InheritFd >= 0) fcntl(InheritFd, F_SETFD, 0);
  for (const std::string& e : Env) putenv(const_cast<char*>(e.c_str()));
  std::vector<char*> args;
  for (const std::string& a : Argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

bool Spawn(const std::vector<std::string>& Argv, const std::vector<std::string>& Env, int OutFd,
           int InheritFd, pid_t& Pid) {
  if (Argv.empty()) return false;
  Pid = fork();
  if (Pid < 0) return false;
  if (Pid == 0) ExecChild(Argv, Env, OutFd, InheritFd);
  setpgid(Pid, Pid);  // also from here, so the group exists before any kill
  return true;
}

}  // namespace

// --- TChild ----------------------------------------------------------------------

bool TChild::Start(const std::vector<std::string>& Argv, const std::vector<std::string>& Env,
                   const std::string& OutputFile) {
  Stop();
  int out = -1;
  if (!OutputFile.empty()) out = open(OutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  pid_t pid;
  const bool ok = Spawn(Argv, Env, out, -1, pid);
  if (out >= 0) close(out);
  if (!ok) return false;
  FPid = pid;
  FReaped = false;
  return true;
}

bool TChild::Running() {
  if (FPid <= 0 || FReaped) return false;
  int status;
  if (waitpid(FPid, &status, WNOHANG) == FPid) {
    FReaped = true;
    FStatus = status;
    return false;
  }
  return true;
}

bool TChild::WaitExit(int TimeoutMs, int* Status) {
  if (FPid <= 0) return false;
  const bool ended = WaitUntil([this] { return !Running(); }, TimeoutMs, 10);
  if (ended && Status != nullptr) *Status = FStatus;
  return ended;
}

void TChild::Stop(int GraceMs) {
  if (FPid <= 0) return;
  // The group too: whatever the child started goes with it.
  kill(-FPid, SIGTERM);
  if (!WaitExit(GraceMs)) {
    kill(-FPid, SIGKILL);
    WaitExit(5000);
  }
  kill(-FPid, SIGKILL);  // stragglers of the group whose leader has gone
  FPid = -1;
}

bool WaitUntil(const std::function<bool()>& Cond, int TimeoutMs, int StepMs) {
  const auto start = Clock::now();
  for (;;) {
    if (Cond()) return true;
    if (MsSince(start) >= TimeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(StepMs));
  }
}

// --- TXSession -------------------------------------------------------------------

bool TXSession::Start(bool WithWindowManager, std::string* Error, int ScreenWidth,
                      int ScreenHeight) {
  auto fail = [&](const std::string& Why) {
    if (Error != nullptr) *Error = Why;
    Stop();
    return false;
  };
  // Xvfb picks a free display itself and writes its number when it accepts clients.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return fail("pipe");
  pid_t pid;
  const std::string screen = std::to_string(ScreenWidth) + "x" + std::to_string(ScreenHeight) + "x24";
  const bool spawned = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                              "-nolisten", "tcp", "-noreset"},
                             {}, -1, fds[1], pid);
  close(fds[1]);
  if (!spawned) {
    close(fds[0]);
    return fail("cannot start Xvfb");
  }
  FServerPid = pid;
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const auto start = Clock::now();
  while (number.find('\n') == std::string::npos && MsSince(start) < 10000) {
    if (poll(&p, 1, 100) > 0) {
      char buf[32];
      const ssize_t n = read(fds[0], buf, sizeof buf);
      if (n <= 0) break;
      number.append(buf, static_cast<size_t>(n));
    }
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) return fail("Xvfb did not report a display");
  FDisplay = ":" + number.substr(0, number.find('\n'));

  if (WithWindowManager) {
    if (!FWm.Start({"openbox", "--sm-disable"}, Env())) return fail("cannot start openbox");
    const bool up = WaitUntil(
        [this] {
          return Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                 std::string::npos;
        },
        10000, 50);
    if (!up) return fail("openbox did not come up");
  }
  return true;
}

void TXSession::Stop() {
  FWm.Stop();
  if (FServerPid > 0) {
    kill(-FServerPid, SIGTERM);
    int status;
    const bool ended = WaitUntil([&] { return waitpid(FServerPid, &status, WNOHANG) == FServerPid; },
                                 3000, 10);
    if (!ended) {
      kill(-FServerPid, SIGKILL);
      waitpid(FServerPid, &status, 0);
    }
    FServerPid = -1;
  }
  FDisplay.clear();
}

std::string TXSession::Run(const std::vector<std::string>& Argv, int* Status, int TimeoutMs) const {
  if (Status != nullptr) *Status = -1;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return {};
  pid_t pid;
  const bool spawned = Spawn(Argv, Env(), fds[1], -1, pid);
  close(fds[1]);
  if (!spawned) {
    close(fds[0]);
    return {};
  }
  std::string out;
  pollfd p{fds[0], POLLIN, 0};
  const auto start = Clock::now();
  bool timedOut = false;
  for (;;) {
    const int left = TimeoutMs - MsSince(start);
    if (left <= 0) {
      timedOut = true;
      break;
    }
    if (poll(&p, 1, left) <= 0) continue;
    char buf[4096];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  close(fds[0]);
  if (timedOut) kill(-pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  if (Status != nullptr && !timedOut) *Status = status;
  return out;
}

bool TXSession::Xdo(const std::vector<std::string>& Args) const {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), Args.begin(), Args.end());
  int status;
  Run(argv, &status);
  return status == 0;
}

std::optional<TWindowInfo> TXSession::FindWindow(const std::string& Title) const {
  const std::string tree = Run({"xwininfo", "-root", "-tree"});
  static const std::regex line(
      R"re(^\s*(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$)re");
  std::istringstream in(tree);
  std::string l;
  while (std::getline(in, l)) {
    std::smatch m;
    if (!std::regex_match(l, m, line) || m[2].str() != Title) continue;
    TWindowInfo w;
    w.Id = m[1].str();
    w.Width = std::stoi(m[3].str());
    w.Height = std::stoi(m[4].str());
    w.X = std::stoi(m[5].str());
    w.Y = std::stoi(m[6].str());
    return w;
  }
  return std::nullopt;
}

std::string TXSession::MapState(const std::string& Id) const {
  const std::string info = Run({"xwininfo", "-id", Id});
  const auto at = info.find("Map State: ");
  if (at == std::string::npos) return {};
  const auto from = at + std::strlen("Map State: ");
  return info.substr(from, info.find('\n', from) - from);
}

std::optional<uint32_t> TXSession::ScreenPixel(int X, int Y) const {
  const std::string out =
      Run({"import", "-window", "root", "-crop", "1x1+" + std::to_string(X) + "+" + std::to_string(Y),
           "-depth", "8", "txt:-"});
  const auto hash = out.find('#', out.find('\n'));
  if (hash == std::string::npos || hash + 7 > out.size()) return std::nullopt;
  return static_cast<uint32_t>(std::strtoul(out.substr(hash + 1, 6).c_str(), nullptr, 16));
}

std::optional<TPicture> TXSession::ScreenPicture(int X, int Y, int Width, int Height) const {
  // A binary PPM: "P6", width, height, maximum value, each after white space, then the
  // pixels as RGB bytes.
  const std::string out =
      Run({"import", "-window", "root", "-crop",
           std::to_string(Width) + "x" + std::to_string(Height) + "+" + std::to_string(X) + "+" +
               std::to_string(Y),
           "+repage", "-depth", "8", "ppm:-"},
          nullptr, 30000);
  std::istringstream in(out);
  std::string magic;
  int w = 0, h = 0, maxValue = 0;
  if (!(in >> magic >> w >> h >> maxValue) || magic != "P6" || maxValue != 255 || w != Width ||
      h != Height)
    return std::nullopt;
  const size_t start = static_cast<size_t>(in.tellg()) + 1;  // one white-space byte
  const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  if (out.size() < start + count * 3) return std::nullopt;
  TPicture p;
  p.Width = w;
  p.Height = h;
  p.Pixels.resize(count);
  const auto* bytes = reinterpret_cast<const unsigned char*>(out.data() + start);
  for (size_t i = 0; i < count; ++i)
    p.Pixels[i] = (uint32_t{bytes[3 * i]} << 16) | (uint32_t{bytes[3 * i + 1]} << 8) | bytes[3 * i + 2];
  return p;
}

bool TXSession::SetRootColour(uint32_t Colour) const {
  char colour[16];
  std::snprintf(colour, sizeof colour, "#%06X", Colour & 0xFFFFFF);
  int status;
  Run({"xsetroot", "-solid", colour}, &status);
  return status == 0;
}

bool TXSession::SaveWindowPng(const std::string& Id, const std::string& File) const {
  int status;
  Run({"import", "-window", Id, File}, &status);
  return status == 0;
}

}  // namespace e2e
