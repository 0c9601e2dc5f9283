#include "app/start_up.h"

#include "app/device_port.h"
#include "app/port_discovery.h"
#include "link/connection.h"
#include "link/inquiry.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

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

}  // namespace

bool RunStartUp(StartUpWindows& windows) {
  if (windows.raiseRunningCopy())
    return false;
  DefaultMachineState();
  windows.chooseLanguageFile();
  if (!AcquireDevicePort(kDevicePortCode)) {
    windows.showPortBusy();
    return false;
  }
  AllocatePhonebookStore();  // without the memory the phonebook commands refuse to run
  Connection.osFlavour = QueryOsFlavour();
  for (;;) {
    DiscoverPort();
    if (DeviceAnswers(windows))
      break;
    const auto choice = windows.askNotResponding();
    if (choice == StartUpWindows::Choice::kAbort)
      return false;
    if (choice == StartUpWindows::Choice::kIgnore)
      break;
  }
  windows.runMainWindow();
  return false;
}

void RunCleanUp() {
  ReleaseDevicePort(kDevicePortCode);
  FreePhonebookStore();
  UnloadUsbLibrary();
}

}  // namespace vornik
