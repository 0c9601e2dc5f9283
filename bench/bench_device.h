// The device every benchmark talks to: the real vornik-devsim on a socket in a private
// folder, its frames logged, so a run can check which requests reached it.
#pragma once

#include <memory>
#include <string>

#include "bench/child_process.h"
#include "bench/temp_folder.h"

namespace vornik::bench {

class BenchDevice {
 public:
  BenchDevice();

  // False when the simulator could not be started or did not listen.
  bool listening() const;
  std::string socket() const { return folder_.file("device.sock"); }
  // A path in the private folder for a benchmark's own files.
  std::string file(const std::string& name) const { return folder_.file(name); }
  // How many requests the device received whose logged bytes hold `hexBytes`
  // ("50 E0 82 C1 41").
  int requestsReceived(const std::string& hexBytes) const;

 private:
  TempFolder folder_;
  std::unique_ptr<ChildProcess> devsim_;  // declared after its folder: stopped before it goes
};

}  // namespace vornik::bench
