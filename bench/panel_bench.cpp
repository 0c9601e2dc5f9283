#include "bench/panel_bench.h"

#include <chrono>
#include <thread>

#include "bench/bench_rows.h"
#include "bench/display_watch.h"
#include "bench/mandated_waits.h"
#include "bench/panel_driver.h"
#include "link/command_frame.h"

namespace vornik::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartUpRepetitions = 5;
// The last page reads nothing: it is given this long to show before the panel closes.
constexpr auto kLastPageSettle = std::chrono::milliseconds(1000);

constexpr Target kStartUpTarget = {Target::Kind::kOverheadMs, 100};
constexpr Target kPanelMemoryTarget = {Target::Kind::kMemoryMb, 40};

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
