#include "bench/panel_bench.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <thread>

#include "bench/bench_rows.h"
#include "bench/mandated_waits.h"
#include "devsim/traffic_log.h"
#include "link/command_frame.h"

namespace vornik::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartUpRepetitions = 5;
constexpr int kWindowTimeoutMs = 30000;
constexpr int kExitTimeoutMs = 10000;
constexpr int kPageReadTimeoutMs = 15000;
// The last page reads nothing: it is given this long to show before the panel closes.
constexpr auto kLastPageSettle = std::chrono::milliseconds(1000);
constexpr auto kLogPoll = std::chrono::milliseconds(20);

constexpr Target kStartUpTarget = {Target::Kind::kOverheadMs, 100};
constexpr Target kPanelMemoryTarget = {Target::Kind::kMemoryMb, 40};

// The bytes that name the read request of a record in the device's frame log: the
// signature, the operation and the record.
std::string ReadRequestLogged(uint8_t record) {
  const uint8_t named[] = {kSignature[0], kSignature[1], kSignature[2], kOpReadRecord, record};
  return devsim::HexBytes(named);
}

// The display the panel shows on, watched for top-level windows as they are mapped.
class DisplayWatch {
 public:
  DisplayWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr)
      return;
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~DisplayWatch() {
    if (display_ != nullptr)
      XCloseDisplay(display_);
  }
  DisplayWatch(const DisplayWatch&) = delete;
  DisplayWatch& operator=(const DisplayWatch&) = delete;

  bool open() const { return display_ != nullptr; }

  // Waits until process `pid` maps a top-level window; returns it, or 0 after `timeoutMs`.
  Window waitForWindow(pid_t pid, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect &&
            windowPid(event.xmap.window) == pid)
          return event.xmap.window;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0)
        return 0;
      pollfd connection = {.fd = ConnectionNumber(display_), .events = POLLIN, .revents = 0};
      ::poll(&connection, 1, int(left.count()));
    }
  }

  // Asks the window to close, as its close box does.
  void close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
  }

 private:
  pid_t windowPid(Window window) {
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

  Display* display_;
};

// The panel on the benchmark's device, on the display the benchmark runs under.
std::unique_ptr<ChildProcess> StartPanel(const BenchDevice& device) {
  return std::make_unique<ChildProcess>(
      ProgramFolder() + "/vornik", std::vector<std::string>{},
      std::vector<std::string>{"VORNIK_USB_PORT=" + device.socket(), "QT_QPA_PLATFORM",
                               "VORNIK_DEBUG"});
}

bool WaitForRequest(const BenchDevice& device, const std::string& request, int before) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kPageReadTimeoutMs);
  while (device.requestsReceived(request) <= before) {
    if (Clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(kLogPoll);
  }
  return true;
}

bool PressKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"key"};
  args.insert(args.end(), keys.begin(), keys.end());
  return ChildProcess("xdotool", args).wait(kExitTimeoutMs).status == 0;
}

// Gives the window the keyboard and takes it to the tab strip, as a keyboard user does:
// the focus starts on Exit, the window's default button, and Help comes before the strip.
bool FocusTabStrip(Window window) {
  const std::string id = std::to_string(window);
  return ChildProcess("xdotool", {"windowfocus", "--sync", id}).wait(kExitTimeoutMs).status == 0 &&
         PressKeys({"Tab", "Tab"});
}

void StartUp(benchmark::State& state, const BenchDevice& device) {
  DisplayWatch watch;
  if (!watch.open()) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  const std::string settingsRead = ReadRequestLogged(kRecordSystemSetup);
  for (auto _ : state) {
    const int readsBefore = device.requestsReceived(settingsRead);
    const auto started = Clock::now();
    auto panel = StartPanel(device);
    const Window window = watch.waitForWindow(panel->pid(), kWindowTimeoutMs);
    const auto shown = Clock::now();
    if (window == 0) {
      state.SkipWithError("the main window did not show");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
    watch.close(window);
    const auto ending = panel->wait(kExitTimeoutMs);
    if (device.requestsReceived(settingsRead) != readsBefore + 1 || ending.status != 0)
      state.SkipWithError("the panel did not start on the device and end cleanly");
  }
}

void PanelMemory(benchmark::State& state, const BenchDevice& device) {
  DisplayWatch watch;
  if (!watch.open()) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  // The pages after Settings, each known by the record its first showing reads.
  const std::vector<std::string> pageReads = {ReadRequestLogged(kRecordAdvancedSetup),
                                              ReadRequestLogged(kRecordPhonebook),
                                              ReadRequestLogged(kRecordDeviceInfo)};
  for (auto _ : state) {
    auto panel = StartPanel(device);
    const Window window = watch.waitForWindow(panel->pid(), kWindowTimeoutMs);
    bool visited = window != 0 && FocusTabStrip(window);
    for (const std::string& read : pageReads) {
      const int before = device.requestsReceived(read);
      visited = visited && PressKeys({"Right"}) && WaitForRequest(device, read, before);
    }
    visited = visited && PressKeys({"Right"});  // Firmware Update
    std::this_thread::sleep_for(kLastPageSettle);
    if (window != 0)
      watch.close(window);
    const auto ending = panel->wait(kExitTimeoutMs);
    if (!visited || ending.status != 0) {
      state.SkipWithError("the panel did not show every page and end cleanly");
      break;
    }
    state.counters[kPeakRssCounter] = double(ending.peakRssKiB) / 1024;
  }
}

}  // namespace

void AddPanelRows(const BenchDevice& device) {
  AddRow("start-up to window", kStartUpMandatedMs, kStartUpTarget,
         {.repetitions = kStartUpRepetitions, .manualTime = true},
         [&device](benchmark::State& state) { StartUp(state, device); });
  AddRow("panel peak RSS, every page shown", 0, kPanelMemoryTarget, {.repetitions = 1},
         [&device](benchmark::State& state) { PanelMemory(state, device); });
}

}  // namespace vornik::bench
