// The program's start-up sequence, from the single-instance rule to the main window's
// modal loop, and its clean-up. The windows it needs are reached through `StartUpWindows`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/usb_port_choice.h"

namespace vornik {

// How start-up ended.
enum class StartUpOutcome {
  kRan,                // the main window ran (also after Ignore)
  kRaisedRunningCopy,  // another copy was running and came forward instead
  kPortBusy,           // the arbitration library refused the port
  kAborted,            // the device did not answer and the user chose Abort
};

// The program's exit status for an outcome: 0 when the panel ran or raised the running
// copy, else the status of that failure.
inline constexpr int kExitPortBusy = 2;
inline constexpr int kExitNotResponding = 3;
int ExitStatus(StartUpOutcome outcome);

// What start-up asks of the window layer.
class StartUpWindows {
 public:
  enum class Choice { kAbort, kRetry, kIgnore };

  virtual ~StartUpWindows() = default;
  // Looks for a running copy's main window by the application title; when found, restores
  // it if minimized, else brings it to the front, and returns true.
  virtual bool raiseRunningCopy() = 0;
  // The "Port is busy" box (no owner, error icon, OK).
  virtual void showPortBusy() = 0;
  // The "Not responding" box (no owner, error icon, Abort / Retry / Ignore). When
  // `deniedPort` is not empty, the device's port exists at that path but this user may not
  // open it, and the box says so and how to get access instead.
  virtual Choice askNotResponding(const std::string& deniedPort) = 0;
  // Asks which of the USB printer ports is the device's (each with its path, and the maker
  // and model of its ID); the index chosen, or none when the user declined.
  virtual std::optional<size_t> askUsbPort(const std::vector<PortCandidate>& ports) = 0;
  virtual void beginWaitCursor() = 0;
  virtual void endWaitCursor() = 0;
  // Chooses the language file; runs once, after the defaults and before the port.
  virtual void chooseLanguageFile() = 0;
  // Creates the main window, runs it modally and destroys it.
  virtual void runMainWindow() = 0;
};

// Runs start-up, the main window's modal loop included; no other message loop follows.
StartUpOutcome RunStartUp(StartUpWindows& windows);

// Gives the port back and frees the phonebook buffers.
void RunCleanUp();

}  // namespace vornik
