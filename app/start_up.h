// The program's start-up sequence, from the single-instance rule to the main window's
// modal loop, and its clean-up. The windows it needs are reached through `StartUpWindows`.
#pragma once

namespace vornik {

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
  // The "Not responding" box (no owner, error icon, Abort / Retry / Ignore).
  virtual Choice askNotResponding() = 0;
  virtual void beginWaitCursor() = 0;
  virtual void endWaitCursor() = 0;
  // Chooses the language file; runs once, after the defaults and before the port.
  virtual void chooseLanguageFile() = 0;
  // Creates the main window, runs it modally and destroys it.
  virtual void runMainWindow() = 0;
};

// Runs start-up; always returns false, so no other message loop follows.
bool RunStartUp(StartUpWindows& windows);

// Gives the port back and frees the phonebook buffers.
void RunCleanUp();

}  // namespace vornik
