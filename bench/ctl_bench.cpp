#include "bench/ctl_bench.h"

#include <chrono>
#include <filesystem>

#include "bench/bench_rows.h"
#include "bench/file_bench.h"
#include "bench/mandated_waits.h"
#include "phonebook/phonebook_transfer.h"

namespace vornik::bench {
namespace {

constexpr int kCtlRepetitions = 3;
constexpr int kCtlTimeoutMs = 60000;
constexpr Target kCtlTarget = {Target::Kind::kOverheadPercent, 2};
constexpr Target kCtlMemoryTarget = {Target::Kind::kMemoryMb, 8};

std::string CtlProgram() {
  return ProgramFolder() + "/vornikctl";
}

bool CtlBuilt() {
  std::error_code ignored;
  return std::filesystem::exists(CtlProgram(), ignored);
}

struct CtlRun {
  double ms = 0;
  ChildProcess::Ending ending;
};

CtlRun RunCtl(const BenchDevice& device, std::vector<std::string> args) {
  args.insert(args.begin(), {"--device", device.socket()});
  const auto started = std::chrono::steady_clock::now();
  ChildProcess ctl(CtlProgram(), args, {"VORNIK_DEBUG"});
  CtlRun run;
  run.ending = ctl.wait(kCtlTimeoutMs);
  run.ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  return run;
}

std::vector<std::string> ExportArgs(const BenchDevice& device) {
  return {"phonebook", "export", "--csv", "-o", device.file("phonebook.csv")};
}

std::vector<std::string> ImportArgs(const BenchDevice& device) {
  return {"phonebook", "import", "--backup", device.file("backup.pbf"),
          device.file("phonebook.csv")};
}

// The device holds a full phonebook, and its CSV is ready to import.
bool PrepareFullPhonebook(const BenchDevice& device) {
  FillPhonebook();
  return Mfp_SetPhonebook() != 0 && RunCtl(device, ExportArgs(device)).ending.status == 0;
}

using CtlArgs = std::vector<std::string> (*)(const BenchDevice&);

// Runs vornikctl once an iteration; its time and processor time (wait4's), or with `memory`
// its peak RSS, are the result.
void Ctl(benchmark::State& state, const BenchDevice& device, CtlArgs args, bool memory) {
  if (!CtlBuilt()) {
    state.SkipWithError("vornikctl is not built");
    return;
  }
  if (!PrepareFullPhonebook(device)) {
    state.SkipWithError("vornikctl could not export a full phonebook");
    return;
  }
  for (auto _ : state) {
    std::error_code ignored;
    std::filesystem::remove(device.file("backup.pbf"), ignored);  // each import makes its own
    const CtlRun run = RunCtl(device, args(device));
    if (run.ending.status != 0) {
      state.SkipWithError("vornikctl failed");
      break;
    }
    state.SetIterationTime(run.ms / 1000);
    if (memory)
      state.counters[kPeakRssCounter] = double(run.ending.peakRssKiB) / 1024;
    else
      state.counters[kCpuCounter] = run.ending.cpuMs;
  }
}

}  // namespace

void AddCtlRows(const BenchDevice& device) {
  const RunPlan plan = {.repetitions = kCtlRepetitions, .manualTime = true};
  AddRow("vornikctl CSV export (full phonebook)", kCtlExportMandatedMs, kCtlTarget, plan,
         [&device](benchmark::State& state) { Ctl(state, device, ExportArgs, false); });
  AddRow("vornikctl CSV import (full phonebook)", kCtlImportMandatedMs, kCtlTarget, plan,
         [&device](benchmark::State& state) { Ctl(state, device, ImportArgs, false); });
  AddRow("vornikctl peak RSS, CSV import", 0, kCtlMemoryTarget,
         {.repetitions = 1, .manualTime = true},
         [&device](benchmark::State& state) { Ctl(state, device, ImportArgs, true); });
}

}  // namespace vornik::bench
