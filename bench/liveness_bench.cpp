#include "bench/liveness_bench.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "bench/bench_rows.h"
#include "bench/display_watch.h"
#include "bench/mandated_waits.h"
#include "bench/panel_driver.h"
#include "link/command_frame.h"

namespace vornik::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kLivenessRepetitions = 3;
// A desktop's window manager pings this often.
constexpr auto kPingInterval = std::chrono::milliseconds(50);
// Longer than the phonebook read's pause and its time-outs against a silent device.
constexpr int kReadEndTimeoutMs = 40000;
constexpr Target kPingTarget = {Target::Kind::kTimeMs, 250};

// What a command may take beyond its own waits before it has surely ended.
constexpr auto kAfterCommandSettle = std::chrono::milliseconds(500);

// The read's own waits after its request went out; it cannot end sooner.
constexpr auto kPhonebookReadWaits =
    std::chrono::milliseconds(kPhonebookRequestWaitMs + kPhonebookBodySleepMs);

using EndTest = std::function<bool(const DisplayWatch::Reports&)>;

// Pings the window every 50 ms until `ended` (shown what each wait reported) says so, then
// once more, and waits for every answer. Returns the longest time a ping waited for its
// answer in milliseconds; nullopt when the end or an answer did not come in `timeoutMs`.
std::optional<double> LongestUnansweredPing(DisplayWatch& watch, pid_t pid, Window window,
                                            const EndTest& ended, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::map<long, Clock::time_point> waiting;  // sent, by serial
  long serial = 0;
  const auto ping = [&] {
    watch.ping(window, ++serial);
    waiting[serial] = Clock::now();
  };
  double longestMs = 0;
  bool over = false;
  auto nextPing = Clock::now();
  while (!over || !waiting.empty()) {
    if (Clock::now() >= deadline)
      return std::nullopt;
    if (!over && Clock::now() >= nextPing) {
      ping();
      nextPing += kPingInterval;
    }
    const auto until = over ? deadline : nextPing;
    const auto reports = watch.next(
        pid, int(std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count()));
    const auto seen = Clock::now();
    for (const long answered : reports.answered) {
      const auto sent = waiting.find(answered);
      if (sent == waiting.end())
        continue;
      longestMs = std::max(longestMs, Ms(seen - sent->second).count());
      waiting.erase(sent);
    }
    if (!over && ended(reports)) {
      over = true;
      ping();  // what the window does after the end is timed too
    }
  }
  return longestMs;
}

// Whether the window answers a ping: it is waiting for nothing.
bool Answers(DisplayWatch& watch, pid_t pid, Window window) {
  const auto always = [](const DisplayWatch::Reports&) { return true; };
  return LongestUnansweredPing(watch, pid, window, always, kReadEndTimeoutMs).has_value();
}

struct Measure {
  std::optional<double> longestMs;
  std::string failure;
};

Measure Failed(const std::string& failure) {
  return {std::nullopt, failure};
}

// The panel started on the healthy device and taken to the Advanced page; with `silent`
// the device then falls silent. The Phonebook tab is chosen and the panel pinged from then
// until its first read ended: on the healthy device its waits are over and the window
// answered again, on the silent one the not-responding box showed (and is closed).
Measure PingsDuringPhonebookRead(BenchDevice& device, DisplayWatch& watch, bool silent) {
  auto panel = StartPanel(device);
  const Window window = watch.waitForWindow(panel->pid(), kWindowTimeoutMs);
  if (window == 0)
    return Failed("the main window did not show");
  if (!watch.takesPings(window))
    return Failed("the window does not list _NET_WM_PING");
  const std::string advancedRead = ReadRequestLogged(kRecordAdvancedSetup);
  const int advancedBefore = device.requestsReceived(advancedRead);
  if (!FocusTabStrip(window) || !PressKeys({"Right"}) ||
      !WaitForRequest(device, advancedRead, advancedBefore) ||
      !Answers(watch, panel->pid(), window))
    return Failed("the Advanced page did not read the device");
  // A window that answers during a command says nothing of the command's end: the Advanced
  // read is over once its waits are, and only then may the device fall silent.
  std::this_thread::sleep_for(std::chrono::milliseconds(kGetAdvancedMandatedMs) +
                              kAfterCommandSettle);
  if (silent && !device.restart({"silent"}))
    return Failed("the silent device did not listen");

  const std::string phonebookRead = ReadRequestLogged(kRecordPhonebook);
  const int phonebookBefore = device.requestsReceived(phonebookRead);
  std::optional<Clock::time_point> requested;
  Window box = 0;
  const EndTest readEnded = [&](const DisplayWatch::Reports& reports) {
    if (silent) {
      box = reports.mapped.empty() ? box : reports.mapped.front();
      return box != 0;
    }
    if (!requested && device.requestsReceived(phonebookRead) > phonebookBefore)
      requested = Clock::now();
    return requested && Clock::now() >= *requested + kPhonebookReadWaits;
  };
  ChildProcess keys("xdotool", XdotoolKeys({"Right"}));
  Measure measure;
  measure.longestMs =
      LongestUnansweredPing(watch, panel->pid(), window, readEnded, kReadEndTimeoutMs);
  keys.wait(kExitTimeoutMs);
  if (!measure.longestMs)
    measure.failure = "the phonebook read did not end";
  if (device.requestsReceived(phonebookRead) != phonebookBefore + 1) {
    measure.longestMs.reset();
    measure.failure = "the Phonebook page did not read the device once";
  }
  // The box is closed first, and the window once it answers again: while the box is up it
  // would not take the close.
  if (box != 0) {
    watch.close(box);
    Answers(watch, panel->pid(), window);
  }
  watch.close(window);
  if (panel->wait(kExitTimeoutMs).status != 0 && measure.longestMs) {
    measure.longestMs.reset();
    measure.failure = "the panel did not end cleanly";
  }
  return measure;
}

void PhonebookReadLiveness(benchmark::State& state, BenchDevice& device, bool silent) {
  DisplayWatch watch;
  if (!watch.open()) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  for (auto _ : state) {
    const Measure measure = PingsDuringPhonebookRead(device, watch, silent);
    if (silent && !device.restart()) {
      state.SkipWithError("the healthy device did not listen again");
      break;
    }
    if (!measure.longestMs) {
      state.SkipWithError(measure.failure.c_str());
      break;
    }
    state.SetIterationTime(*measure.longestMs / 1000);
  }
}

}  // namespace

void AddLivenessRows(BenchDevice& device) {
  const RunPlan plan = {.repetitions = kLivenessRepetitions, .manualTime = true};
  AddRow("longest unanswered ping, phonebook read", 0, kPingTarget, plan,
         [&device](benchmark::State& state) { PhonebookReadLiveness(state, device, false); });
  AddRow("longest unanswered ping, silent device", 0, kPingTarget, plan,
         [&device](benchmark::State& state) { PhonebookReadLiveness(state, device, true); });
}

}  // namespace vornik::bench
