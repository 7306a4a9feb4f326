// Real-window tests: a private X server (Xvfb), optionally a window manager, the
// programs under test and the X tools that drive and inspect them. Every process
// started here runs in its own process group and is stopped with it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A child process in a process group of its own.
class TChild {
 public:
  TChild() = default;
  ~TChild() { Stop(); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  // Starts Argv[0] (searched in PATH) with the current environment plus Env
  // ("NAME=value" entries override). Output goes to OutputFile, or nowhere.
  bool Start(const std::vector<std::string>& Argv, const std::vector<std::string>& Env = {},
             const std::string& OutputFile = {});
  pid_t Pid() const { return FPid; }
  bool Running();
  // Waits up to TimeoutMs for the child to end; gives its wait status.
  bool WaitExit(int TimeoutMs, int* Status = nullptr);
  // SIGTERM to the group, SIGKILL after a grace period; reaps the child.
  void Stop(int GraceMs = 2000);

 private:
  pid_t FPid = -1;
  bool FReaped = false;
  int FStatus = 0;
};

struct TWindowInfo {
  std::string Id;  // 0x... as the X tools print it
  int X = 0, Y = 0, Width = 0, Height = 0;  // absolute, client area
};

// A picture read from the screen, 0xRRGGBB a pixel, row by row.
struct TPicture {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * Width + X]; }
};

// Polls Cond every StepMs until it holds or TimeoutMs passes.
bool WaitUntil(const std::function<bool()>& Cond, int TimeoutMs, int StepMs = 25);

class TXSession {
 public:
  TXSession() = default;
  ~TXSession() { Stop(); }
  TXSession(const TXSession&) = delete;
  TXSession& operator=(const TXSession&) = delete;

  // Starts Xvfb on a free display (ScreenWidth x ScreenHeight x 24) and, when asked,
  // openbox; waits until both answer. On failure Error says why.
  bool Start(bool WithWindowManager, std::string* Error, int ScreenWidth = 1920,
             int ScreenHeight = 1080);
  void Stop();
  const std::string& Display() const { return FDisplay; }
  // Programs on this display see no Wayland compositor the session may run.
  std::vector<std::string> Env() const { return {"DISPLAY=" + FDisplay, "WAYLAND_DISPLAY="}; }

  // Runs a tool on this display; returns its standard output. Status is the wait
  // status (-1 when it could not run or took longer than TimeoutMs).
  std::string Run(const std::vector<std::string>& Argv, int* Status = nullptr,
                  int TimeoutMs = 10000) const;
  // xdotool with the given arguments; true when it succeeded.
  bool Xdo(const std::vector<std::string>& Args) const;

  // The top-level client window with exactly this title (UTF-8), as xwininfo lists it.
  std::optional<TWindowInfo> FindWindow(const std::string& Title) const;
  // "IsViewable", "IsUnMapped" or "IsUnviewable" ("" when the window is gone).
  std::string MapState(const std::string& Id) const;
  // The screen pixel at X, Y as 0xRRGGBB, or nullopt when it cannot be read.
  std::optional<uint32_t> ScreenPixel(int X, int Y) const;
  // The screen's pixels in the rectangle (what a user sees there), or nullopt.
  std::optional<TPicture> ScreenPicture(int X, int Y, int Width, int Height) const;
  // Paints the root window (the desktop behind every window) in one colour 0xRRGGBB.
  bool SetRootColour(uint32_t Colour) const;
  // Saves the window's picture as a PNG.
  bool SaveWindowPng(const std::string& Id, const std::string& File) const;

 private:
  // The server is started with a descriptor of its own (-displayfd), so it is
  // tracked here rather than through TChild.
  pid_t FServerPid = -1;
  TChild FWm;
  std::string FDisplay;
};

}  // namespace e2e
