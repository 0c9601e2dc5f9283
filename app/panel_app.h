// `PanelApp`: the application object. Its start-up runs the whole program (the main
// window's modal loop); clean-up gives the port back and frees the phonebook.
#pragma once

#include <QApplication>

#include <memory>

#include "app/single_instance.h"
#include "app/start_up.h"

namespace vornik {

// The start-up's not-responding box (no owner, error icon, Abort / Retry / Ignore in Qt's
// texts of the panel's language) and the user's choice; see
// `StartUpWindows::askNotResponding`.
StartUpWindows::Choice AskNotResponding(const std::string& deniedPort);

class PanelApp : public QApplication, public StartUpWindows {
  Q_OBJECT

 public:
  PanelApp(int& argc, char** argv);

  // Runs start-up; always false: the main window's modal loop was the program.
  bool StartUp();
  // Releases the port and frees the phonebook buffers; returns the exit status of how
  // start-up ended.
  int CleanUp();

  // The windows start-up asks for.
  bool raiseRunningCopy() override;
  void showPortBusy() override;
  Choice askNotResponding(const std::string& deniedPort) override;
  std::optional<size_t> askUsbPort(const std::vector<PortCandidate>& ports) override;
  void beginWaitCursor() override;
  void endWaitCursor() override;
  void chooseLanguageFile() override;
  void runMainWindow() override;

 private:
  StartUpOutcome outcome_ = StartUpOutcome::kRan;
  // This copy's answer to a second start, from before the first box on.
  std::unique_ptr<RunningCopyBeacon> beacon_;
};

}  // namespace vornik
