// vornikctl's exit statuses, one for each way a command can fail, and the failure that
// carries one up to the program's end. 2 and 3 mean what they mean for the panel.
#pragma once

#include <stdexcept>
#include <string>

#include "app/start_up.h"

namespace vornik::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // anything else (no memory)
// kExitPortBusy (2): the arbitration library refused the port (the panel or the scanner
// driver holds it). kExitNotResponding (3): the device did not answer, or a transfer
// failed on the way.
inline constexpr int kExitNoDevice = 4;          // no device at the ports tried, or one without the
                                                 // function asked for
inline constexpr int kExitPermissionDenied = 5;  // the port exists; this user may not open it
inline constexpr int kExitBadInput = 6;          // usage, an unknown field, a value out of range, a
                                                 // file with a bad header, rows refused
inline constexpr int kExitFileError = 7;         // a file cannot be read or written, or the
                                                 // results cannot be written to stdout

// Ends the command: the message goes to stderr, the status is the program's exit status.
class CtlFailure : public std::runtime_error {
 public:
  CtlFailure(int status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

}  // namespace vornik::ctl
