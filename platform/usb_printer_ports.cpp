#include "platform/usb_printer_ports.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/device_names.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The USB printer driver's request for the device ID: the answer starts with its length,
// two bytes big-endian, the two counted.
constexpr unsigned kIocnrGetDeviceId = 1;
constexpr unsigned long GetDeviceIdRequest(size_t size) {
  return _IOC(_IOC_READ, 'P', kIocnrGetDeviceId, size);
}

std::string Printable(std::string_view bytes) {
  std::string text(bytes.substr(0, kDeviceIdMaxLength));
  for (char& c : text) {
    if (c < 0x20 || c > 0x7E)
      c = '?';
  }
  return text;
}

// The number N of a name "lpN"; -1 for any other name.
int PortNumber(std::string_view name) {
  if (!name.starts_with("lp") || name.size() == 2 || name.size() > 5)
    return -1;
  int n = -1;
  const auto [end, error] = std::from_chars(name.data() + 2, name.data() + name.size(), n);
  return error == std::errc() && end == name.data() + name.size() ? n : -1;
}

std::string AttributeId(const std::string& sysfsRoot, const std::string& portName) {
  std::ifstream file(sysfsRoot + "/class/usbmisc/" + portName + "/device/ieee1284_id",
                     std::ios::binary);
  std::array<char, kDeviceIdMaxLength + 1> buffer{};
  file.read(buffer.data(), buffer.size());
  std::string_view id(buffer.data(), size_t(file.gcount()));
  while (!id.empty() && (id.back() == '\n' || id.back() == '\0'))
    id.remove_suffix(1);
  return Printable(id);
}

std::string RequestedId(const std::string& path) {
  if (KindOfDevicePath(path) != DevicePathKind::kCharacterDevice)
    return {};
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0)
    return {};
  std::array<char, kDeviceIdMaxLength + 3> answer{};
  struct stat info {};
  const bool asked = ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) &&
                     ::ioctl(fd, GetDeviceIdRequest(answer.size()), answer.data()) >= 0;
  ::close(fd);
  if (!asked)
    return {};
  const size_t length = size_t(uint8_t(answer[0])) << 8 | uint8_t(answer[1]);
  if (length <= 2)
    return {};
  return Printable(std::string_view(answer.data() + 2, std::min(length, answer.size()) - 2));
}

}  // namespace

std::vector<UsbPrinterPort> ListUsbPrinterPorts() {
  System& system = *Services().system;
  const std::string usbFolder = system.deviceFolder() + "/usb";
  std::map<int, std::string> names;  // by N
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(usbFolder, error)) {
    const std::string name = entry.path().filename().string();
    if (const int n = PortNumber(name); n >= 0)
      names.emplace(n, name);
  }
  std::vector<UsbPrinterPort> ports;
  for (const auto& [n, name] : names) {
    if (ports.size() == kMaxUsbPrinterPorts)
      break;
    UsbPrinterPort port{usbFolder + "/" + name, AttributeId(system.sysfsRoot(), name)};
    if (port.deviceId.empty())
      port.deviceId = RequestedId(port.path);
    ports.push_back(std::move(port));
  }
  return ports;
}

}  // namespace platform
