#include "app/device_check.h"

#include "app/device_port.h"
#include "app/port_discovery.h"
#include "link/connection.h"
#include "link/inquiry.h"
#include "phonebook/phonebook_store.h"
#include "platform/device_names.h"
#include "platform/platform.h"

namespace vornik {

std::vector<PortCandidate> ChooseDevicePort(const AskUsbPort& ask) {
  if (!UsbPortNamedByUser().empty())
    return {};
  UsbPortPick pick = PickUsbPort(UsbPortCandidates(), ask);
  NameUsbPort(pick.path);
  return std::move(pick.undecided);
}

bool PrepareDeviceLink() {
  if (!AcquireDevicePort(kDevicePortCode))
    return false;
  AllocatePhonebookStore();  // without the memory the phonebook commands refuse to run
  Connection.osFlavour = QueryOsFlavour();
  return true;
}

bool DeviceAnswers(bool usbFallback, const std::function<void(bool waiting)>& waiting) {
  for (;;) {
    if (waiting)
      waiting(true);
    const bool answered = Mfp_Inquiry() != 0 || Mfp_Inquiry() != 0;
    if (waiting)
      waiting(false);
    if (answered)
      return true;
    if (!usbFallback || Connection.PortKind != kPortUsb)
      return false;
    Connection.PortKind = ParallelFallback();
  }
}

std::vector<std::string> CandidatePorts() {
  std::vector<std::string> ports;
  if (Connection.UsbWritePath[0] != '\0')
    ports.emplace_back(Connection.UsbWritePath);
  ports.emplace_back(PortNameTable[size_t(ParallelFallback())]);
  return ports;
}

std::string DeniedPort(const std::vector<std::string>& ports) {
  platform::DeviceFiles& devices = *platform::Services().devices;
  for (const std::string& name : ports) {
    if (!name.empty() && devices.accessDenied(name))
      return platform::DevicePathFor(name);
  }
  return {};
}

}  // namespace vornik
