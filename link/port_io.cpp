#include "link/port_io.h"

#include <algorithm>

#include "link/connection.h"
#include "link/debug_trace.h"
#include "platform/platform.h"

namespace vornik {
namespace {

using platform::kAccessRead;
using platform::kAccessWrite;
using platform::kShareNone;
using platform::kShareRead;
using platform::kShareWrite;

std::unique_ptr<platform::DeviceFile> Open(const char* name, unsigned access, unsigned share) {
  return platform::Services().devices->open(name, access, share);
}

// Keeps the multipliers the port had and sets the three constants of the parallel port.
void SetLptTimeouts(platform::DeviceFile& port, platform::CommTimeouts timeouts) {
  timeouts.readInterval = kLptReadIntervalMs;
  timeouts.readTotalConstant = kLptReadTotalMs;
  timeouts.writeTotalConstant = kLptWriteTotalMs;
  port.setTimeouts(timeouts);  // a port that refuses keeps its own; the transfer goes on
}

// The USB library can only take 3072 bytes a call; a call that writes nothing ends it.
size_t UsbChunkedWrite(const uint8_t* bytes, size_t count) {
  size_t total = 0;
  while (total < count) {
    const size_t chunk = std::min(kUsbWriteChunk, count - total);
    const uint32_t written = Connection.Win2kUsbWrite(bytes + total, uint32_t(chunk));
    DebugPrint("Win2kUsbWrite(?) = %d", int(written));
    if (written == 0)
      break;
    total += std::min<size_t>(written, chunk);
  }
  return total;
}

size_t UsbChunkedRead(uint8_t* buffer, size_t count) {
  size_t total = 0;
  while (total < count) {
    const size_t chunk = std::min(kUsbReadChunk, count - total);
    const uint32_t got = Connection.Win2kUsbRead(buffer + total, uint32_t(chunk));
    DebugPrint("Read(x) = %d", int(got));
    if (got < chunk)
      return got;
    total += chunk;
  }
  return total;
}

}  // namespace

size_t PortWrite(const uint8_t* bytes, size_t count) {
  if (Connection.PortKind == kPortUsb) {
    if (Connection.osFlavour == OsFlavour::Nt5 && count > kUsbWriteChunk &&
        Connection.Win2kUsbWrite != nullptr)
      return UsbChunkedWrite(bytes, count);
    auto port = Open(Connection.UsbWritePath, kAccessWrite, kShareRead | kShareWrite);
    if (!port)
      return 0;
    return port->write(bytes, count);
  }
  if (Connection.PortKind == kPortEcp1)
    return EcpWrite(bytes, count);

  const char* name = SelectedPortName();
  auto port = Open(name, kAccessWrite, kShareNone);
  if (!port) {
    DebugPrint("Can not open the port: %s \n", name);
    return 0;
  }
  platform::CommTimeouts timeouts;
  if (!port->getTimeouts(timeouts))
    return 0;
  SetLptTimeouts(*port, timeouts);
  return port->write(bytes, count);
}

size_t EcpWrite(const uint8_t* bytes, size_t count) {
  const char* name = SelectedPortName();
  auto port = Open(name, kAccessWrite, kShareNone);
  if (!port) {
    DebugPrint("Can not open the port: %s \n", name);
    return 0;
  }
  return port->write(bytes, count);
}

void EcpControl(platform::DeviceFile& port, uint32_t code, std::span<const uint8_t> input) {
  if (port.control(code, input.data(), input.size()))
    return;
  switch (code) {
    case kEcpSetHardwareMethod:
      DebugPrint("[Error: Device can't be set to the H/W mode(Method) you want.]");
      break;
    case kEcpSetMode:
      DebugPrint("[Error: Mode has not been changed.]");
      break;
    case kEcpSetDirection:
      DebugPrint("[Error: Direction has not been changed.]");
      break;
  }
}

size_t PortRead(uint8_t* buffer, size_t count) {
  if (Connection.PortKind == kPortUsb) {
    if (Connection.osFlavour == OsFlavour::Nt5 && Connection.Win2kUsbRead != nullptr) {
      if (count <= kUsbReadChunk)
        return std::min<size_t>(Connection.Win2kUsbRead(buffer, uint32_t(count)), count);
      return UsbChunkedRead(buffer, count);
    }
    auto port = Open(Connection.UsbReadPath, kAccessRead, kShareNone);
    if (!port) {
      DebugPrint(" USB Port open error - for Reading ");
      return 0;
    }
    return port->read(buffer, count);
  }

  auto port = Open(SelectedPortName(), kAccessRead | kAccessWrite, kShareNone);
  if (!port) {
    DebugTrace("\n Can not open the port: LPT1 \n");  // the same text for every port
    return 0;
  }
  if (Connection.PortKind == kPortEcp1) {
    // The driver must be put back in the reverse (read) mode before every read.
    const uint8_t zero[] = {0x00};
    EcpControl(*port, kEcpSetHardwareMethod, zero);
    EcpControl(*port, kEcpSetMode, zero);
  } else {
    platform::CommTimeouts timeouts;
    if (!port->getTimeouts(timeouts)) {
      DebugTrace("\n ERROR: Failed to set Comm State\n");
      return 0;
    }
    SetLptTimeouts(*port, timeouts);
  }
  return port->read(buffer, count);
}

}  // namespace vornik
