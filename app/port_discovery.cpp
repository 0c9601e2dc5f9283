#include "app/port_discovery.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "link/debug_trace.h"
#include "platform/platform.h"

namespace vornik {
namespace {

std::unique_ptr<platform::Library>& UsbLibrary() {
  static std::unique_ptr<platform::Library> library;
  return library;
}

template <typename Fn>
Fn Resolve(platform::Library& library, const char* name) {
  return reinterpret_cast<Fn>(library.symbol(name));
}

// Asks the USB library for the control port name into cleared buffers.
void QueryControlPortName() {
  std::memset(Connection.UsbControlName, 0, kUsbNameSize);
  std::memset(Connection.UsbWritePath, 0, kUsbNameSize);
  std::memset(Connection.UsbReadPath, 0, kUsbNameSize);
  Connection.GetControlPortName(Connection.UsbControlName, kUsbNameSize);
  Connection.UsbControlName[kUsbNameSize - 1] = '\0';  // a library that filled it all
}

// The control port name followed by a pipe name, cut to the path buffer.
void SetPipePath(char* path, const char* pipe) {
  const std::string joined = std::string(Connection.UsbControlName) + pipe;
  const size_t length = std::min<size_t>(joined.size(), kUsbNameSize - 1);
  std::memcpy(path, joined.data(), length);
  path[length] = '\0';
}

bool ControlPortOpens() {
  auto port = platform::Services().devices->open(Connection.UsbWritePath,
                                                 platform::kAccessRead | platform::kAccessWrite,
                                                 platform::kShareRead | platform::kShareWrite);
  return port != nullptr;
}

// Loads the flavour's USB library unless an earlier discovery did; false when it is absent.
bool LoadUsbLibrary(const char* fileName) {
  auto& library = UsbLibrary();
  if (!library)
    library = platform::Services().libraries->load(fileName);
  return library != nullptr;
}

void DiscoverWin98() {
  if (!LoadUsbLibrary("fendrel.dll")) {
    Connection.PortKind = kPortLpt1;
    return;
  }
  Connection.GetControlPortName =
      Resolve<GetControlPortNameFn>(*UsbLibrary(), "GetControlPortName");
  if (Connection.GetControlPortName == nullptr) {
    Connection.PortKind = kPortLpt1;
    return;
  }
  QueryControlPortName();
  SetPipePath(Connection.UsbReadPath, "\\PIPE01");
  SetPipePath(Connection.UsbWritePath, "\\PIPE00");
  DebugTrace(" USB Control Port = %s", Connection.UsbControlName);
  Connection.PortKind = ControlPortOpens() ? kPortUsb : kPortLpt1;
}

void DiscoverNt5() {
  if (!LoadUsbLibrary("tarquil.dll")) {
    Connection.PortKind = kPortEcp1;
    return;
  }
  auto& library = *UsbLibrary();
  Connection.GetControlPortName = Resolve<GetControlPortNameFn>(library, "GetControlPortName");
  Connection.Win2kUsbWrite = Resolve<Win2kUsbWriteFn>(library, "Win2kUsbWrite");
  Connection.Win2kUsbRead = Resolve<Win2kUsbReadFn>(library, "Win2kUsbRead");
  if (Connection.GetControlPortName == nullptr || Connection.Win2kUsbWrite == nullptr ||
      Connection.Win2kUsbRead == nullptr) {
    Connection.PortKind = kPortEcp1;
    return;
  }
  QueryControlPortName();
  std::memcpy(Connection.UsbWritePath, Connection.UsbControlName, kUsbNameSize);
  std::memcpy(Connection.UsbReadPath, Connection.UsbControlName, kUsbNameSize);
  Connection.PortKind = ControlPortOpens() ? kPortUsb : kPortEcp1;
}

}  // namespace

OsFlavour QueryOsFlavour() {
  const auto version = platform::Services().system->osVersion();
  if (!version.ok)
    return OsFlavour::OtherOs;
  if (version.platformId == 1)
    return OsFlavour::Win98;
  if (version.platformId == 2 && version.majorVersion >= 5)
    return OsFlavour::Nt5;
  return OsFlavour::OtherOs;
}

int32_t ParallelFallback() {
  return Connection.osFlavour == OsFlavour::Win98 ? kPortLpt1 : kPortEcp1;
}

void DiscoverPort() {
  switch (Connection.osFlavour) {
    case OsFlavour::Win98:
      DiscoverWin98();
      break;
    case OsFlavour::Nt5:
      DiscoverNt5();
      break;
    case OsFlavour::OtherOs:
      Connection.PortKind = kPortEcp1;
      break;
  }
  DebugTrace(" Port = %s, Win98 = %d", SelectedPortName(),
             Connection.osFlavour == OsFlavour::Win98 ? 1 : 0);
}

void UnloadUsbLibrary() {
  UsbLibrary().reset();
}

}  // namespace vornik
