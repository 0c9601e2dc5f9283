// The device every benchmark talks to: the real vornik-devsim on a socket in a private
// folder, its frames logged, so a run can check which requests reached it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "bench/child_process.h"

namespace vornik::bench {

class BenchDevice {
 public:
  BenchDevice();
  ~BenchDevice();

  // False when the simulator could not be started or did not listen.
  bool listening() const;
  std::string socket() const { return (folder_ / "device.sock").string(); }
  // A path in the private folder for a benchmark's own files.
  std::string file(const std::string& name) const { return (folder_ / name).string(); }
  // How many requests the device received whose logged bytes start with `hexBytes`
  // ("1B A4 00 05 50 E0 82 C1 41").
  int requestsReceived(const std::string& hexBytes) const;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ChildProcess> devsim_;
};

}  // namespace vornik::bench
