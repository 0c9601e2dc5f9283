#include "app/device_port.h"

#include <memory>

#include "link/debug_trace.h"
#include "platform/platform.h"

namespace vornik {
namespace {

using PortAcquireFn = int (*)(int);
using PortReleaseFn = int (*)(int);

std::unique_ptr<platform::Library>& ArbitrationLibrary() {
  static std::unique_ptr<platform::Library> library;
  return library;
}

}  // namespace

bool AcquireDevicePort(int code) {
  auto& library = ArbitrationLibrary();
  library = platform::Services().libraries->load("grenlo.dll");
  if (!library)
    return true;
  auto acquire = reinterpret_cast<PortAcquireFn>(library->symbol("PortAcquire"));
  if (acquire == nullptr) {
    library.reset();
    DebugTrace("RCP: Port Acquire - FAILED");
    return false;
  }
  if (acquire(code) != 0) {
    DebugTrace("K7 RCP: Port Acquire - SUCCESS");
    return true;
  }
  DebugTrace("RCP: Port Acquire - FAILED");
  return false;
}

bool ReleaseDevicePort(int code) {
  auto& library = ArbitrationLibrary();
  if (!library)
    return false;
  auto release = reinterpret_cast<PortReleaseFn>(library->symbol("PortRelease"));
  if (release == nullptr) {
    library.reset();
    return false;
  }
  const bool released = release(code) != 0;
  library.reset();
  DebugTrace(released ? "RCP: Port Release - TRUE\n" : "RCP: Port Release - FALSE\n");
  return released;
}

}  // namespace vornik
