#include "bench/bench_device.h"

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace vornik::bench {
namespace {

constexpr int kListenTries = 200;
constexpr auto kListenPoll = std::chrono::milliseconds(10);

}  // namespace

BenchDevice::BenchDevice() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vornik-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    return;
  folder_ = pattern;
  devsim_ = std::make_unique<ChildProcess>(
      ProgramFolder() + "/vornik-devsim",
      std::vector<std::string>{"--socket", socket(), "--log", file("frames.log")});
  for (int i = 0; i < kListenTries && !listening(); ++i)
    std::this_thread::sleep_for(kListenPoll);
}

BenchDevice::~BenchDevice() {
  devsim_.reset();
  std::error_code ignored;
  if (!folder_.empty())
    std::filesystem::remove_all(folder_, ignored);
}

bool BenchDevice::listening() const {
  std::error_code ignored;
  return devsim_ && devsim_->running() && std::filesystem::is_socket(socket(), ignored);
}

int BenchDevice::requestsReceived(const std::string& hexBytes) const {
  std::ifstream log(file("frames.log"));
  const std::string wanted = " received " + hexBytes;  // after the tick count
  int count = 0;
  for (std::string line; std::getline(log, line);)
    count += line.find(wanted) != std::string::npos ? 1 : 0;
  return count;
}

}  // namespace vornik::bench
