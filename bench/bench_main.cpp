// vornik-bench: every device operation against the waits its protocol prescribes, the
// panel's start-up, memory and answers to the desktop's liveness pings, and the files. Prints one
// table and writes it as JSON.
//
//   vornik-bench [--json PATH] [Google Benchmark options, e.g. --benchmark_filter=REGEX]
//
// Runs under a virtual display (see `./build.sh bench`); the panel rows are skipped without
// one.
#include <QApplication>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/bench_device.h"
#include "bench/bench_rows.h"
#include "bench/ctl_bench.h"
#include "bench/device_bench.h"
#include "bench/file_bench.h"
#include "bench/liveness_bench.h"
#include "bench/panel_bench.h"

namespace {

// Takes --json PATH out of the arguments; empty when absent.
std::string TakeJsonPath(int& argc, char** argv) {
  std::string path;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0 && i + 1 < argc)
      path = argv[++i];
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vornik::bench;
  const std::string jsonPath = TakeJsonPath(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 2;
  // The page commands set the wait cursor: this process needs an application object, but
  // no window of its own on the display the panel is watched on.
  int qtArgc = 3;
  char platformOption[] = "-platform";
  char platform[] = "offscreen";
  char* qtArgv[] = {argv[0], platformOption, platform, nullptr};
  QApplication application(qtArgc, qtArgv);

  BenchDevice device;
  if (!ConnectToDevice(device)) {
    std::fprintf(stderr, "vornik-bench: the simulated device could not be reached\n");
    return 1;
  }
  AddFileRows(device);
  AddDeviceCommandRows(device);
  AddPanelRows(device);
  AddLivenessRows(device);
  AddCtlRows(device);

  RowReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const Machine machine = ThisMachine();
  std::printf("Machine: %s, %d cores, %.1f GiB, %s; %s\n\n", machine.cpu.c_str(), machine.cores,
              machine.memoryGiB, machine.kernel.c_str(), machine.date.c_str());
  std::fputs(FormatTable(Rows()).c_str(), stdout);
  if (!jsonPath.empty()) {
    std::ofstream json(jsonPath);
    json << FormatJson(Rows(), machine);
    if (!json.flush()) {
      std::fprintf(stderr, "vornik-bench: cannot write %s\n", jsonPath.c_str());
      return 1;
    }
    std::printf("\nWritten to %s\n", jsonPath.c_str());
  }
  return 0;
}
