// Device files on POSIX: kernel devices through open/read/write with the Windows-style
// time-outs done by poll, and bridge sockets through the device bridge protocol.
#pragma once

#include "platform/platform.h"

namespace platform {

class PosixDeviceFiles : public DeviceFiles {
 public:
  // Null when the device does not exist, cannot be opened, or (not shared) is already
  // open elsewhere; a bridge socket path is opened through the bridge protocol.
  std::unique_ptr<DeviceFile> open(const std::string& name, unsigned access,
                                   unsigned share) override;
  bool accessDenied(const std::string& name) override;
};

}  // namespace platform
