#include "app/usb_port_choice.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/device_id.h"
#include "link/connection.h"
#include "platform/platform.h"
#include "platform/safe_save.h"
#include "platform/usb_printer_ports.h"

namespace vornik {
namespace {

std::filesystem::path RememberedPortFile() {
  const std::string config = platform::Services().system->configFolder();
  if (config.empty())
    return {};
  return std::filesystem::path(config) / "vornik" / "usb-port";
}

// One line of the remembered file, cut at the longest path or ID the program keeps.
std::string ReadLine(std::istream& in, size_t limit) {
  std::string line;
  char c = 0;
  while (in.get(c) && c != '\n') {
    if (line.size() < limit)
      line += c;
  }
  return line;
}

PortCandidate RememberedUsbPort() {
  const auto file = RememberedPortFile();
  if (file.empty())
    return {};
  std::ifstream in(file, std::ios::binary);
  PortCandidate port;
  port.path = ReadLine(in, kUsbNameSize - 1);
  port.deviceId = ReadLine(in, platform::kDeviceIdMaxLength);
  return port;
}

// Not remembered (no configuration folder, a full disk), the question comes again next time.
void RememberUsbPort(const PortCandidate& port) {
  const auto file = RememberedPortFile();
  if (file.empty())
    return;
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  const std::string text = port.path + "\n" + port.deviceId + "\n";
  platform::SaveFileSafely(file, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace

std::vector<PortCandidate> UsbPortCandidates() {
  const DeviceIdWords words = DeviceIdWordsOfProgram();
  std::vector<PortCandidate> candidates;
  for (auto& port : platform::ListUsbPrinterPorts()) {
    const bool names = NamesDevice(port.deviceId, words);
    candidates.push_back({std::move(port.path), std::move(port.deviceId), names});
  }
  return candidates;
}

UsbPortPick PickUsbPort(const std::vector<PortCandidate>& ports, const AskUsbPort& ask) {
  std::vector<PortCandidate> naming;
  std::copy_if(ports.begin(), ports.end(), std::back_inserter(naming),
               [](const PortCandidate& port) { return port.namesDevice; });
  if (naming.size() == 1)
    return {naming.front().path, {}};
  const PortCandidate remembered = RememberedUsbPort();
  for (const PortCandidate& port : ports) {
    if (!remembered.path.empty() && port.path == remembered.path &&
        port.deviceId == remembered.deviceId)
      return {port.path, {}};
  }
  // A lone port that shows no ID is the device as far as anyone can tell; one whose ID
  // names another printer is never written to.
  if (ports.size() == 1)
    return {ports.front().deviceId.empty() ? ports.front().path : std::string(), {}};
  if (ports.empty())
    return {};
  const std::vector<PortCandidate>& choices = naming.empty() ? ports : naming;
  if (!ask)
    return {{}, choices};
  const std::optional<size_t> chosen = ask(choices);
  if (!chosen || *chosen >= choices.size())
    return {};
  RememberUsbPort(choices[*chosen]);
  return {choices[*chosen].path, {}};
}

std::string UsbPortNamedByUser() {
  const char* port = std::getenv(kUsbPortVariable);
  return port != nullptr ? port : "";
}

void NameUsbPort(const std::string& path) {
  if (path.empty())
    ::unsetenv(kUsbPortVariable);
  else
    ::setenv(kUsbPortVariable, path.c_str(), 1);
}

}  // namespace vornik
