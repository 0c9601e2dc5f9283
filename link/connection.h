// The connection to the device that start-up selects and every exchange reads: which
// port (`PortKind`), which OS flavour, and the USB library's paths and entry points.
#pragma once

#include <array>
#include <cstdint>

namespace vornik {

// Device names indexed by `PortKind`. Start-up selects only 0, 1 or 4.
inline constexpr std::array<const char*, 7> PortNameTable = {
    "USB", "LPT1", "LPT2", "LPT3", "\\\\.\\HarnEcp1", "\\\\.\\HarnEcp2", "\\\\.\\HarnEcp3"};

inline constexpr int32_t kPortUsb = 0;
inline constexpr int32_t kPortLpt1 = 1;
inline constexpr int32_t kPortEcp1 = 4;

enum class OsFlavour { Win98, Nt5, OtherOs };

// Exports of the device's USB libraries.
using GetControlPortNameFn = void (*)(char* buffer, uint32_t size);
using Win2kUsbWriteFn = uint32_t (*)(const uint8_t* bytes, uint32_t length);
using Win2kUsbReadFn = uint32_t (*)(uint8_t* buffer, uint32_t length);

inline constexpr uint32_t kUsbNameSize = 256;

struct ConnectionState {
  int32_t PortKind = kPortUsb;
  OsFlavour osFlavour = OsFlavour::OtherOs;
  char UsbControlName[kUsbNameSize] = {};
  char UsbWritePath[kUsbNameSize] = {};
  char UsbReadPath[kUsbNameSize] = {};
  GetControlPortNameFn GetControlPortName = nullptr;
  Win2kUsbWriteFn Win2kUsbWrite = nullptr;
  Win2kUsbReadFn Win2kUsbRead = nullptr;
};

// The process-wide connection; set at start-up, fixed while the main window runs.
extern ConnectionState Connection;

// The name of the selected port in `PortNameTable` ("?" for a kind outside the table).
const char* SelectedPortName();

}  // namespace vornik
