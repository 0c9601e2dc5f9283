// A program the benchmarks start and watch from outside: the simulator, the panel,
// vornikctl. It goes with the benchmark process if that dies.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vornik::bench {

class ChildProcess {
 public:
  // Starts `program` (a path, or a name looked up on the PATH) with `args`. Each entry of
  // `environment` is NAME=VALUE to set or a bare NAME to remove from the child's environment.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0; }

  struct Ending {
    int status = -1;      // exit status; -1 when it did not exit normally
    long peakRssKiB = 0;  // the most memory it ever held resident
    double cpuMs = 0;     // the processor time it used, user and system
  };
  // Waits up to `timeoutMs` for the program to end by itself, then kills it.
  Ending wait(int timeoutMs);
  // Asks the program to end (SIGTERM) and waits for it.
  Ending stop();

 private:
  pid_t pid_ = -1;
};

// The folder of the running benchmark program, where the build keeps every program.
std::string ProgramFolder();

}  // namespace vornik::bench
