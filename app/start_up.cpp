#include "app/start_up.h"

#include "app/device_port.h"
#include "app/port_discovery.h"
#include "link/connection.h"
#include "link/inquiry.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "platform/device_names.h"
#include "platform/platform.h"

namespace vornik {
namespace {

// Two inquiries on the chosen port; when USB stays silent, two more on the flavour's
// parallel port. True when the device answered.
bool DeviceAnswers(StartUpWindows& windows) {
  for (;;) {
    windows.beginWaitCursor();
    const bool answered = Mfp_Inquiry() != 0 || Mfp_Inquiry() != 0;
    windows.endWaitCursor();
    if (answered)
      return true;
    if (Connection.PortKind != kPortUsb)
      return false;
    Connection.PortKind = ParallelFallback();
  }
}

// The port the device would be reached on, when it exists but this user may not open it:
// the USB control port first, then the parallel port that stands in for it. Empty when
// neither is refused for its permissions.
std::string DeniedPort() {
  platform::DeviceFiles& devices = *platform::Services().devices;
  for (const std::string& name :
       {std::string(Connection.UsbWritePath), std::string(PortNameTable[ParallelFallback()])}) {
    if (!name.empty() && devices.accessDenied(name))
      return platform::DevicePathFor(name);
  }
  return {};
}

}  // namespace

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
  if (!AcquireDevicePort(kDevicePortCode)) {
    windows.showPortBusy();
    return StartUpOutcome::kPortBusy;
  }
  AllocatePhonebookStore();  // without the memory the phonebook commands refuse to run
  Connection.osFlavour = QueryOsFlavour();
  for (;;) {
    DiscoverPort();
    if (DeviceAnswers(windows))
      break;
    const auto choice = windows.askNotResponding(DeniedPort());
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
