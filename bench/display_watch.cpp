#include "bench/display_watch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

namespace vornik::bench {
namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

DisplayWatch::DisplayWatch() : display_(XOpenDisplay(nullptr)) {
  if (display_ == nullptr)
    return;
  protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
  pingProtocol_ = XInternAtom(display_, "_NET_WM_PING", False);
  // A window answers a ping by sending it to the root window for the clients that watch
  // the root's structure or its children's.
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask | StructureNotifyMask);
  XSync(display_, False);
}

DisplayWatch::~DisplayWatch() {
  if (display_ != nullptr)
    XCloseDisplay(display_);
}

DisplayWatch::Reports DisplayWatch::next(pid_t pid, int timeoutMs) {
  Reports reports;
  if (XPending(display_) == 0) {
    pollfd connection = {.fd = ConnectionNumber(display_), .events = POLLIN, .revents = 0};
    ::poll(&connection, 1, std::max(timeoutMs, 0));
  }
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect &&
        windowPid(event.xmap.window) == pid)
      reports.mapped.push_back(event.xmap.window);
    if (event.type == ClientMessage && event.xclient.message_type == protocols_ &&
        Atom(event.xclient.data.l[0]) == pingProtocol_ &&
        event.xclient.window == DefaultRootWindow(display_))
      reports.answered.push_back(event.xclient.data.l[1]);
  }
  return reports;
}

Window DisplayWatch::waitForWindow(pid_t pid, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
      return 0;
    const Reports reports = next(pid, int(left.count()));
    if (!reports.mapped.empty())
      return reports.mapped.front();
  }
}

void DisplayWatch::close(Window window) {
  sendProtocol(window, XInternAtom(display_, "WM_DELETE_WINDOW", False), CurrentTime);
}

bool DisplayWatch::takesPings(Window window) {
  Atom* listed = nullptr;
  int count = 0;
  if (XGetWMProtocols(display_, window, &listed, &count) == 0)
    return false;
  const bool found = std::find(listed, listed + count, pingProtocol_) != listed + count;
  XFree(listed);
  return found;
}

void DisplayWatch::ping(Window window, long serial) {
  sendProtocol(window, pingProtocol_, serial);
}

void DisplayWatch::sendProtocol(Window window, Atom protocol, long stamp) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols_;
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(protocol);
  event.xclient.data.l[1] = stamp;
  event.xclient.data.l[2] = long(window);
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

pid_t DisplayWatch::windowPid(Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
  pid_t pid = -1;
  if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr && format == 32 && count == 1)
    pid = pid_t(*reinterpret_cast<unsigned long*>(data));
  if (data != nullptr)
    XFree(data);
  return pid;
}

}  // namespace vornik::bench
