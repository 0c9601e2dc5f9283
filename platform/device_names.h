// How the program's device names map to this system's devices.
#pragma once

#include <string>

namespace platform {

// "LPTn" names the parallel port /dev/lp(n-1); "\\.\HarnEcpn" names the ECP port driver
// device /dev/parport(n-1) (ppdev); "X\PIPE00" and "X\PIPE01" name the control port X
// itself. Any other name (a USB control port name, a path) is
// used as it stands.
std::string DevicePathFor(const std::string& name);

// True when the path names a parallel port driven through ppdev.
bool IsEcpPortPath(const std::string& path);

// What a device path names, links followed. Only a character device (a kernel port) or a
// Unix-domain socket (a bridge peer) is ever opened as a device: a regular file would take
// the device's request bytes, and a folder or a FIFO is no device either.
enum class DevicePathKind { kMissing, kCharacterDevice, kSocket, kOther };
DevicePathKind KindOfDevicePath(const std::string& path);

}  // namespace platform
