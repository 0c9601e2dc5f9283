#include "platform/device_names.h"

#include <cctype>
#include <filesystem>
#include <string_view>

namespace platform {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size())
    return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

// The port number that follows the prefix: one digit from 1 to 9, and nothing after it.
int PortNumber(std::string_view name, size_t prefixLength) {
  if (name.size() != prefixLength + 1)
    return 0;
  const char digit = name[prefixLength];
  return digit >= '1' && digit <= '9' ? digit - '0' : 0;
}

constexpr std::string_view kLptPrefix = "LPT";
constexpr std::string_view kEcpPrefix = "\\\\.\\HarnEcp";
// The older USB flavour names two pipes below the control port; here both pipes are the
// control port's own device.
constexpr std::string_view kPipeSuffixes[] = {"\\PIPE00", "\\PIPE01"};

}  // namespace

std::string DevicePathFor(const std::string& name) {
  if (StartsWithNoCase(name, kLptPrefix)) {
    if (int n = PortNumber(name, kLptPrefix.size()))
      return "/dev/lp" + std::to_string(n - 1);
  }
  if (StartsWithNoCase(name, kEcpPrefix)) {
    if (int n = PortNumber(name, kEcpPrefix.size()))
      return "/dev/parport" + std::to_string(n - 1);
  }
  for (auto suffix : kPipeSuffixes) {
    if (std::string_view(name).ends_with(suffix))
      return name.substr(0, name.size() - suffix.size());
  }
  return name;
}

bool IsEcpPortPath(const std::string& path) {
  return std::string_view(path).starts_with("/dev/parport");
}

DevicePathKind KindOfDevicePath(const std::string& path) {
  std::error_code error;
  switch (std::filesystem::status(path, error).type()) {
    case std::filesystem::file_type::not_found:
      return DevicePathKind::kMissing;
    case std::filesystem::file_type::character:
      return DevicePathKind::kCharacterDevice;
    case std::filesystem::file_type::socket:
      return DevicePathKind::kSocket;
    default:
      return DevicePathKind::kOther;
  }
}

}  // namespace platform
