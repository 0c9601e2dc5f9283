// Which USB printer port is the device's. Nothing is sent to a port before it is chosen
// here: the port whose device ID names the device; else the port this user chose before,
// while it is there and shows the same ID; else the only port when it shows no ID; else the
// user is asked. The port chosen is named to the driver stand-ins, which transfer through
// it and lock it (`VORNIK_USB_PORT`).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vornik {

// The variable that names the device's port to the program and to the driver stand-ins.
inline constexpr char kUsbPortVariable[] = "VORNIK_USB_PORT";

struct PortCandidate {
  std::string path;
  std::string deviceId;  // empty when the port shows none
  bool namesDevice = false;
};

// Every USB printer port, with its ID and whether the ID names the device (the words of
// vornik.ini).
std::vector<PortCandidate> UsbPortCandidates();

// Asks the user which of `candidates` to use; the index chosen, or none when the user
// declined.
using AskUsbPort = std::function<std::optional<size_t>(const std::vector<PortCandidate>&)>;

struct UsbPortPick {
  std::string path;                      // the port to use; empty: no USB port is used
  std::vector<PortCandidate> undecided;  // without `ask`: the ports that could not be told
                                         // apart (empty when the choice was made)
};

// Chooses among `ports` as described above. `ask` (may be null) is called only with two
// ports or more; the answer is remembered for this user in <configuration
// folder>/vornik/usb-port (the port's path and its ID, one a line). A user who declines
// leaves USB unused.
UsbPortPick PickUsbPort(const std::vector<PortCandidate>& ports, const AskUsbPort& ask);

// The port named in `kUsbPortVariable`; empty when it is unset.
std::string UsbPortNamedByUser();

// Names `path` as the device's port to the driver stand-ins for the rest of the process.
void NameUsbPort(const std::string& path);

}  // namespace vornik
