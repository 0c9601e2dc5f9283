#include "app/start_up.h"

#include "app/device_check.h"
#include "app/device_port.h"
#include "app/port_discovery.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

namespace vornik {
int ExitStatus(StartUpOutcome outcome) {
  switch (outcome) {
    case StartUpOutcome::kRan:
    case StartUpOutcome::kRaisedRunningCopy:
      return 0;
    case StartUpOutcome::kPortBusy:
      return kExitPortBusy;
    case StartUpOutcome::kAborted:
      return kExitNotResponding;
  }
  return kExitNotResponding;
}

StartUpOutcome RunStartUp(StartUpWindows& windows) {
  if (windows.raiseRunningCopy())
    return StartUpOutcome::kRaisedRunningCopy;
  DefaultMachineState();
  windows.chooseLanguageFile();
  ChooseDevicePort(
      [&windows](const std::vector<PortCandidate>& ports) { return windows.askUsbPort(ports); });
  if (!PrepareDeviceLink()) {
    windows.showPortBusy();
    return StartUpOutcome::kPortBusy;
  }
  for (;;) {
    DiscoverPort();
    const bool answered = DeviceAnswers(true, [&windows](bool waiting) {
      if (waiting)
        windows.beginWaitCursor();
      else
        windows.endWaitCursor();
    });
    if (answered)
      break;
    const auto choice = windows.askNotResponding(DeniedPort(CandidatePorts()));
    if (choice == StartUpWindows::Choice::kAbort)
      return StartUpOutcome::kAborted;
    if (choice == StartUpWindows::Choice::kIgnore)
      break;
  }
  windows.runMainWindow();
  return StartUpOutcome::kRan;
}

void RunCleanUp() {
  ReleaseDevicePort(kDevicePortCode);
  FreePhonebookStore();
  UnloadUsbLibrary();
}

}  // namespace vornik
