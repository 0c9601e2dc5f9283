#include "link/port_io.h"

#include <algorithm>
#include <vector>

#include "link/connection.h"
#include "link/debug_trace.h"
#include "platform/platform.h"

namespace vornik {
namespace {

// A device that streams without end must not hold the discard for ever.
constexpr size_t kMaxDiscardedBytes = 1024 * 1024;

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

// The USB library's transfers, waited for as every wait is.
uint32_t UsbLibraryWrite(const uint8_t* bytes, size_t count) {
  return platform::CallWhileWaiting(
      [&] { return Connection.Win2kUsbWrite(bytes, uint32_t(count)); });
}

uint32_t UsbLibraryRead(uint8_t* buffer, size_t count) {
  return platform::CallWhileWaiting(
      [&] { return Connection.Win2kUsbRead(buffer, uint32_t(count)); });
}

// The USB library can only take 3072 bytes a call; a call that writes nothing ends it.
size_t UsbChunkedWrite(const uint8_t* bytes, size_t count) {
  size_t total = 0;
  while (total < count) {
    const size_t chunk = std::min(kUsbWriteChunk, count - total);
    const uint32_t written = UsbLibraryWrite(bytes + total, chunk);
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
    const uint32_t got = UsbLibraryRead(buffer + total, chunk);
    DebugPrint("Read(x) = %d", int(got));
    if (got < chunk)
      return got;
    total += chunk;
  }
  return total;
}

// The ECP driver must be put back in the reverse (read) mode before every read.
void SetEcpReverseMode(platform::DeviceFile& port) {
  const uint8_t zero[] = {0x00};
  EcpControl(port, kEcpSetHardwareMethod, zero);
  EcpControl(port, kEcpSetMode, zero);
}

// Reads and drops what the device holds unread, without waiting: the read time-outs
// return at once, the write time-outs stay as they were.
void DiscardUnread(platform::DeviceFile& port) {
  platform::CommTimeouts timeouts;
  port.getTimeouts(timeouts);  // a port without time-outs of its own starts from none
  timeouts.readInterval = platform::kReadIntervalReturnAtOnce;
  timeouts.readTotalMultiplier = 0;
  timeouts.readTotalConstant = 0;
  if (!port.setTimeouts(timeouts))
    return;  // a read on it would wait
  std::vector<uint8_t> scrap(kDiscardReadSize);
  size_t discarded = 0;
  while (discarded < kMaxDiscardedBytes) {
    const size_t got = port.read(scrap.data(), scrap.size());
    if (got == 0)
      break;
    discarded += got;
  }
  if (discarded > 0)
    DebugTrace("Discarded = %d \n", int(discarded));
}

// Opens the selected parallel port; traces a port that cannot be opened.
std::unique_ptr<platform::DeviceFile> OpenSelectedPort(unsigned access) {
  const char* name = SelectedPortName();
  auto port = Open(name, access, kShareNone);
  if (!port)
    DebugPrint("Can not open the port: %s \n", name);
  return port;
}

// A parallel port reads and writes through one device, so the discard takes the write's
// own open. USB reads through a path of its own (the read pipe, or the control port that
// the USB library reads): the discard opens it for itself.
size_t WriteToPort(const uint8_t* bytes, size_t count, bool discardFirst) {
  if (Connection.PortKind == kPortUsb) {
    if (discardFirst) {
      if (auto readPath = Open(Connection.UsbReadPath, kAccessRead, kShareNone))
        DiscardUnread(*readPath);
    }
    if (Connection.osFlavour == OsFlavour::Nt5 && count > kUsbWriteChunk &&
        Connection.Win2kUsbWrite != nullptr)
      return UsbChunkedWrite(bytes, count);
    auto port = Open(Connection.UsbWritePath, kAccessWrite, kShareRead | kShareWrite);
    if (!port)
      return 0;
    return port->write(bytes, count);
  }
  auto port = OpenSelectedPort(discardFirst ? kAccessRead | kAccessWrite : kAccessWrite);
  if (!port)
    return 0;
  if (Connection.PortKind == kPortEcp1) {
    if (discardFirst) {
      SetEcpReverseMode(*port);
      DiscardUnread(*port);
    }
    return port->write(bytes, count);
  }
  platform::CommTimeouts timeouts;
  if (!port->getTimeouts(timeouts))
    return 0;
  if (discardFirst)
    DiscardUnread(*port);
  SetLptTimeouts(*port, timeouts);
  return port->write(bytes, count);
}

}  // namespace

size_t PortWrite(const uint8_t* bytes, size_t count) {
  return WriteToPort(bytes, count, false);
}

size_t PortWriteRequest(const uint8_t* bytes, size_t count) {
  return WriteToPort(bytes, count, true);
}

size_t EcpWrite(const uint8_t* bytes, size_t count) {
  auto port = OpenSelectedPort(kAccessWrite);
  return port ? port->write(bytes, count) : 0;
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
        return std::min<size_t>(UsbLibraryRead(buffer, count), count);
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
    SetEcpReverseMode(*port);
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
