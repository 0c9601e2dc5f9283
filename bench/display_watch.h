// The display the panel shows on, watched from outside as a window manager watches it:
// the top-level windows a process maps, and its answers to liveness pings.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <vector>

namespace vornik::bench {

class DisplayWatch {
 public:
  DisplayWatch();
  ~DisplayWatch();
  DisplayWatch(const DisplayWatch&) = delete;
  DisplayWatch& operator=(const DisplayWatch&) = delete;

  bool open() const { return display_ != nullptr; }

  // What the display reported in one wait.
  struct Reports {
    std::vector<Window> mapped;  // top-level windows the watched process mapped
    std::vector<long> answered;  // the serials of the pings answered
  };
  // Waits up to `timeoutMs` for the display to report something, and returns what it
  // reported; windows are counted only when process `pid` mapped them.
  Reports next(pid_t pid, int timeoutMs);

  // Waits until process `pid` maps a top-level window; returns it, or 0 after `timeoutMs`.
  Window waitForWindow(pid_t pid, int timeoutMs);

  // Asks the window to close, as its close box does.
  void close(Window window);

  // Whether the window lists _NET_WM_PING in its WM_PROTOCOLS, the promise to answer pings.
  bool takesPings(Window window);
  // Sends the window a liveness ping (_NET_WM_PING) as a window manager does. The answer
  // comes back to the root window carrying `serial` where the manager's timestamp goes.
  void ping(Window window, long serial);

 private:
  void sendProtocol(Window window, Atom protocol, long stamp);
  pid_t windowPid(Window window);

  Display* display_;
  Atom protocols_ = None;
  Atom pingProtocol_ = None;
};

}  // namespace vornik::bench
