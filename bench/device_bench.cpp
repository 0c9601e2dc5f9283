#include "bench/device_bench.h"

#include <stdlib.h>
#include <time.h>

#include <fstream>
#include <functional>
#include <random>

#include "app/port_discovery.h"
#include "bench/bench_rows.h"
#include "bench/mandated_waits.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "tests/support/modal_answers.h"

namespace vornik::bench {
namespace {

constexpr int kCommandRepetitions = 5;
constexpr int kFirmwareRepetitions = 3;
constexpr size_t kFirmwareImageBytes = 1024 * 1024;
constexpr Target kCommandTarget = {Target::Kind::kOverheadPercent, 2};

double ProcessCpuMs() {
  timespec used{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return double(used.tv_sec) * 1000 + double(used.tv_nsec) / 1e6;
}

// Runs `operation` once an iteration, its processor time in this process as the iteration's
// CPU counter (the simulator is a process of its own: its time is not counted); a failed
// operation marks the row with `failure`.
void RunCounted(benchmark::State& state, const std::function<bool()>& operation,
                const char* failure) {
  for (auto _ : state) {
    const double cpuBefore = ProcessCpuMs();
    const bool done = operation();
    state.counters[kCpuCounter] = ProcessCpuMs() - cpuBefore;
    if (!done)
      state.SkipWithError(failure);
  }
}

// A command as its page runs it: wait cursor, the command, the page's pause. A failed
// command's box is closed at once so the run goes on, and the row is marked.
void PageCommand(benchmark::State& state, int (*command)()) {
  test::BoxCloser closer;
  RunCounted(
      state, [command] { return RunPageCommand(command, nullptr); }, "the device did not answer");
}

void Inquiry(benchmark::State& state) {
  RunCounted(
      state, [] { return Mfp_Inquiry() != 0; }, "the device did not answer");
}

// The download reported to nobody; its pauses are plain sleeps.
class UnshownProgress : public FirmwareProgress {
 public:
  void transferStarting() override {}
  void blockSent(uint64_t /*sent*/, int /*percent*/) override {}
  void writingComplete() override {}
};

bool WriteImage(const std::string& path) {
  std::mt19937 bytes(kFirmwareImageBytes);
  std::string image(kFirmwareImageBytes, '\0');
  for (char& byte : image)
    byte = char(bytes());
  std::ofstream file(path, std::ios::binary);
  file << image;
  return bool(file.flush());
}

void Firmware(benchmark::State& state, const std::string& image) {
  if (!WriteImage(image)) {
    state.SkipWithError("the image file could not be written");
    return;
  }
  UnshownProgress progress;
  RunCounted(
      state,
      [&image, &progress] {
        return DownloadFirmware(image, progress) == FirmwareResult::kCompleted;
      },
      "the download failed");
}

}  // namespace

bool ConnectToDevice(const BenchDevice& device) {
  if (!device.listening())
    return false;
  ::setenv("VORNIK_USB_PORT", device.socket().c_str(), 1);
  DefaultMachineState();
  if (!AllocatePhonebookStore())
    return false;
  Connection.osFlavour = QueryOsFlavour();
  DiscoverPort();
  return Connection.PortKind == kPortUsb && Mfp_Inquiry() != 0;
}

void AddDeviceCommandRows(BenchDevice& device) {
  const RunPlan plan = {.repetitions = kCommandRepetitions};
  const struct {
    const char* operation;
    uint32_t mandatedMs;
    int (*command)();
  } commands[] = {
      {"get settings", kGetSettingsMandatedMs, Mfp_GetSettings},
      {"set settings", kSetSettingsMandatedMs, Mfp_SetSettings},
      {"get advanced", kGetAdvancedMandatedMs, Mfp_GetSystemInfo},
      {"set advanced", kSetAdvancedMandatedMs, Mfp_SetSystemInfo},
      {"get information", kGetInformationMandatedMs, Mfp_GetDeviceInfo},
      {"get phonebook", kGetPhonebookMandatedMs, Mfp_GetPhonebook},
      {"set phonebook", kSetPhonebookMandatedMs, Mfp_SetPhonebook},
  };
  AddRow("inquiry", kInquiryMandatedMs, kCommandTarget, plan, Inquiry);
  for (const auto& c : commands) {
    AddRow(c.operation, c.mandatedMs, kCommandTarget, plan,
           [command = c.command](benchmark::State& state) { PageCommand(state, command); });
  }
  const std::string image = device.file("firmware.bin");
  const std::string firmware =
      "firmware 1 MiB (" + std::to_string(kFirmwareImageBytes / kFirmwareBlockSize) + " blocks)";
  AddRow(firmware, kFirmwareMandatedMs, kCommandTarget, {.repetitions = kFirmwareRepetitions},
         [image](benchmark::State& state) { Firmware(state, image); });
}

}  // namespace vornik::bench
