#include "ctl/ports_command.h"

#include <algorithm>
#include <iomanip>

#include "app/usb_port_choice.h"
#include "ctl/exit_status.h"
#include "ctl/field_output.h"
#include "link/connection.h"
#include "platform/device_names.h"

namespace vornik::ctl {
namespace {

struct ListedPort {
  std::string path;
  const char* kind;
  std::string deviceId;
  bool namesDevice;
  bool taken;  // the port the commands take without --device or --port
};

std::vector<ListedPort> ListedPorts() {
  std::vector<ListedPort> listed;
  const std::string named = UsbPortNamedByUser();
  const std::vector<PortCandidate> ports = UsbPortCandidates();
  const std::string picked = named.empty() ? PickUsbPort(ports, nullptr).path : named;
  for (const PortCandidate& port : ports)
    listed.push_back({port.path, "usb", port.deviceId, port.namesDevice, port.path == picked});
  if (!named.empty() &&
      (listed.empty() || std::none_of(listed.begin(), listed.end(),
                                      [&](const ListedPort& port) { return port.path == named; })))
    listed.push_back({named, "usb", "", false, true});
  // Without a USB port taken, the commands go to the parallel port (ECP) as start-up does.
  const std::string parallel = platform::DevicePathFor(PortNameTable[size_t(kPortEcp1)]);
  if (platform::KindOfDevicePath(parallel) == platform::DevicePathKind::kCharacterDevice)
    listed.push_back({parallel, "ecp1", "", false, picked.empty()});
  return listed;
}

}  // namespace

int RunPorts(const CtlRequest& request, CtlIo& io) {
  const std::vector<ListedPort> ports = ListedPorts();
  if (request.json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ListedPort& port : ports)
      list.push_back({{"path", port.path},
                      {"kind", port.kind},
                      {"device-id", port.deviceId},
                      {"names-device", port.namesDevice},
                      {"taken", port.taken}});
    PrintJson(io.out, nlohmann::ordered_json{{"ports", list}});
    return kExitOk;
  }
  if (ports.empty())
    io.say("no USB printer port and no parallel port found");
  for (const ListedPort& port : ports)
    io.out << std::left << std::setw(20) << port.path << " " << std::setw(5) << port.kind << " "
           << (port.namesDevice ? "device" : "-     ") << " " << (port.taken ? "taken" : "-    ")
           << " " << (port.deviceId.empty() ? "(no device ID)" : port.deviceId) << "\n";
  return kExitOk;
}

}  // namespace vornik::ctl
