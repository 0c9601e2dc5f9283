// The rows of the fault matrix: every device command a user can give, on its page or as a
// program with an exit status, each with the longest it may take.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "state_snapshot.h"

namespace vornik::test {

// How the command's end reached its user.
struct Report {
  bool failed = false;  // the not-responding box, the failure message or a non-zero status
  std::string problem;  // set when the telling itself went wrong (two boxes, box and message)
};

class Command {
 public:
  virtual ~Command() = default;
  // Brings the program to where the user gives the command; the device is still healthy.
  virtual void arrange(Bench&) {}
  // Gives the command, the device's fault on.
  virtual Report run(Bench&) = 0;
  // Adds what the command shows to the state: the page's look, a program's result.
  virtual void addShown(Snapshot&) const {}
  // A program that ends with its command: its records and store end with it, so only what
  // it leaves behind counts (the device, the files, what it printed).
  virtual bool endsWithItsProgram() const { return false; }
};

struct CommandRow {
  std::string name;
  uint32_t budgetMs;  // its fixed waits, pauses and read time-outs, all of them run out
  bool sends;         // succeeding, it changes what the device holds
  std::function<std::unique_ptr<Command>()> make;
};

std::vector<CommandRow> CommandRows();

}  // namespace vornik::test
