// Where vornikctl writes: results to `out`, messages to `err`.
#pragma once

#include <ostream>
#include <string_view>

namespace vornik::ctl {

struct CtlIo {
  std::ostream& out;
  std::ostream& err;
  // Progress bars are drawn on `out` only when it is a terminal.
  bool outIsTerminal = false;

  // One message line on `err`, after the program's name.
  void say(std::string_view message) { err << "vornikctl: " << message << '\n'; }
};

}  // namespace vornik::ctl
