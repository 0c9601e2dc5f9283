#include "bench/bench_device.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vornik::bench {
namespace {

constexpr int kListenTries = 200;
constexpr auto kListenPoll = std::chrono::milliseconds(10);

}  // namespace

BenchDevice::BenchDevice() {
  if (folder_.made())
    start({});
}

bool BenchDevice::restart(const std::vector<std::string>& faults) {
  devsim_.reset();
  start(faults);
  return listening();
}

void BenchDevice::start(const std::vector<std::string>& faults) {
  std::vector<std::string> args = {"--socket", socket(), "--log", file("frames.log")};
  for (const std::string& fault : faults)
    args.insert(args.end(), {"--fault", fault});
  devsim_ = std::make_unique<ChildProcess>(ProgramFolder() + "/vornik-devsim", args);
  for (int i = 0; i < kListenTries && !listening(); ++i)
    std::this_thread::sleep_for(kListenPoll);
}

bool BenchDevice::listening() const {
  std::error_code ignored;
  return devsim_ && devsim_->running() && std::filesystem::is_socket(socket(), ignored);
}

int BenchDevice::requestsReceived(const std::string& hexBytes) const {
  std::ifstream log(file("frames.log"));
  int count = 0;
  for (std::string line; std::getline(log, line);) {
    const size_t request = line.find(" received ");  // after the tick count
    count += request != std::string::npos && line.find(hexBytes, request) != std::string::npos;
  }
  return count;
}

}  // namespace vornik::bench
