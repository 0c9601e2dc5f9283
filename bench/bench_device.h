// The device every benchmark talks to: the real vornik-devsim on a socket in a private
// folder, its frames logged, so a run can check which requests reached it.
#pragma once

#include <memory>
#include <string>
#include <vector>

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
  // Stops the simulator and serves the same socket and log from a new one with `faults`
  // ("silent", ...); false when the new one does not listen. The panel meets the new one on
  // its next command: each command opens a connection of its own.
  bool restart(const std::vector<std::string>& faults = {});
  // How many requests the device received whose logged bytes hold `hexBytes`
  // ("50 E0 82 C1 41").
  int requestsReceived(const std::string& hexBytes) const;

 private:
  void start(const std::vector<std::string>& faults);

  TempFolder folder_;
  std::unique_ptr<ChildProcess> devsim_;  // declared after its folder: stopped before it goes
};

}  // namespace vornik::bench
