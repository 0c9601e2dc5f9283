// `DeviceInfo`: what the device reports of itself (versions, free memory, six usage
// counters), with its start-up values and the command that reads it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

inline constexpr size_t kVersionWidth = 10;   // firmware and engine versions
inline constexpr size_t kLongTextWidth = 30;  // emulation version and the extra text

// Each text has one byte more than its field on the wire, for its terminator: a text that
// fills its field arrives without one.
struct DeviceInfoRecord {
  uint8_t freeMemory;  // percent
  uint32_t platenScanCount;
  uint32_t adfScanCount;
  uint32_t printCount;
  uint32_t tonerCount;  // toner replacements
  uint32_t adfJamCount;
  uint32_t printJamCount;
  char fwVersion[kVersionWidth + 1];
  char engineVersion[kVersionWidth + 1];
  char emulVersion[kLongTextWidth + 1];
  char extraText[kLongTextWidth + 1];  // kept, shown nowhere
};

inline constexpr DeviceInfoRecord kDefaultDeviceInfo = {
    .freeMemory = 100,
    .platenScanCount = 50,
    .adfScanCount = 90,
    .printCount = 120,
    .tonerCount = 1,
    .adfJamCount = 1,
    .printJamCount = 1,
    .fwVersion = "1.00",
    .engineVersion = "V1.0.0",
    .emulVersion = "MARV 1.15 12-17-2002",
    .extraText = "",
};

// The payload of the get answer, from answer byte 10 on. Counters go high byte first.
namespace device_info_wire {
inline constexpr size_t kFreeMemory = 0;
inline constexpr size_t kPlatenScanCount = 1;  // 4 bytes each
inline constexpr size_t kAdfScanCount = 5;
inline constexpr size_t kPrintCount = 9;
inline constexpr size_t kTonerCount = 13;
inline constexpr size_t kAdfJamCount = 17;
inline constexpr size_t kPrintJamCount = 21;
inline constexpr size_t kFwVersion = 25;      // 10 bytes
inline constexpr size_t kEngineVersion = 35;  // 10 bytes
inline constexpr size_t kEmulVersion = 45;    // 30 bytes
inline constexpr size_t kExtraText = 75;      // 30 bytes
inline constexpr size_t kPayloadBytes = 105;

inline constexpr size_t kGetAnswerSize = 115;
inline constexpr size_t kGetAnswerFields = 10;
}  // namespace device_info_wire

// Reads every field of the record from the 105 payload bytes at `payload`.
DeviceInfoRecord DecodeDeviceInfo(const uint8_t* payload);

// The fixed wait between the request and the answer.
inline constexpr uint32_t kGetDeviceInfoWaitMs = 1000;

// Sends 1B A4 00 05 50 E0 82 C1 43 (after discarding what the device holds unread), waits
// 1000 ms and reads 115 bytes. Succeeds, and `DeviceInfo` takes the payload, only when the
// whole answer to this request arrived (bytes 4 to 8 those of the request) and its length
// field matches it; otherwise the record keeps its values. Returns non-zero on success.
int Mfp_GetDeviceInfo();

}  // namespace vornik
