// `SystemSetup`: the device's everyday settings (paper, copy, print time-out, fax reception,
// redial and report), with its start-up defaults and the two commands that read it from
// and write it to the device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

// Fields in the device's declared order. On the wire `autoJournal` and `rxReduction` come
// after `sendConfirm` (see the offsets below).
struct SystemSetupRecord {
  uint8_t reserved1;     // not shown; carried from the last read back to the device
  uint8_t reserved2;     // not shown; carried
  uint8_t traySize;      // 0 Letter, 1 Legal, 2 A4
  uint8_t reserved3;     // not shown; carried
  uint8_t bypassSize;    // 0 Letter, 1 Legal, 2 A4
  uint8_t paperType;     // index into the paper-type list
  uint8_t discardSize;   // millimetres
  uint8_t contrast;      // 0 Lighten, 1 Normal, 2 Darken
  uint8_t documentMode;  // 0 Text, 1 Mixed, 2 Photo
  uint16_t zoom;         // copy zoom, percent
  uint16_t copies;
  uint8_t printTimeout;    // 0 Off, 1 15 s, 2 30 s, 3 60 s, 4 180 s
  uint8_t receiveMode;     // 0 TEL, 1 FAX
  uint8_t reserved4;       // not shown; carried
  uint8_t autoJournal;     // 0 off, 1 on
  uint8_t rxReduction;     // 0 off, 1 on
  uint8_t ringCount;       // rings before the device answers
  uint8_t redialInterval;  // minutes
  uint8_t redialCount;
  uint8_t sendConfirm;  // 0 Off, 1 On, 2 On-Error
};

inline constexpr SystemSetupRecord kDefaultSystemSetup = {
    .reserved1 = 0,
    .reserved2 = 0,
    .traySize = 0,
    .reserved3 = 0,
    .bypassSize = 0,
    .paperType = 0,
    .discardSize = 10,
    .contrast = 1,
    .documentMode = 1,
    .zoom = 100,
    .copies = 1,
    .printTimeout = 1,
    .receiveMode = 1,
    .reserved4 = 9,
    .autoJournal = 1,
    .rxReduction = 1,
    .ringCount = 2,
    .redialInterval = 3,
    .redialCount = 3,
    .sendConfirm = 2,
};

// The 22 field bytes as they travel: at offset 10 of the get answer, at offset 9 of the
// set request. 16-bit fields go high byte first.
namespace system_setup_wire {
inline constexpr size_t kReserved1 = 0;
inline constexpr size_t kReserved2 = 1;
inline constexpr size_t kTraySize = 2;
inline constexpr size_t kReserved3 = 3;
inline constexpr size_t kBypassSize = 4;
inline constexpr size_t kPaperType = 5;
inline constexpr size_t kDiscardSize = 6;
inline constexpr size_t kContrast = 7;
inline constexpr size_t kDocumentMode = 8;
inline constexpr size_t kZoom = 9;     // 2 bytes
inline constexpr size_t kCopies = 11;  // 2 bytes
inline constexpr size_t kPrintTimeout = 13;
inline constexpr size_t kReceiveMode = 14;
inline constexpr size_t kReserved4 = 15;
inline constexpr size_t kRingCount = 16;
inline constexpr size_t kRedialInterval = 17;
inline constexpr size_t kRedialCount = 18;
inline constexpr size_t kSendConfirm = 19;
inline constexpr size_t kAutoJournal = 20;
inline constexpr size_t kRxReduction = 21;
inline constexpr size_t kFieldBytes = 22;

inline constexpr size_t kGetAnswerSize = 32;
inline constexpr size_t kGetAnswerFields = 10;
inline constexpr size_t kSetRequestSize = 31;
inline constexpr size_t kSetRequestFields = 9;
}  // namespace system_setup_wire

// Writes the record's 22 field bytes in wire order into `fields`.
void EncodeSystemSetup(const SystemSetupRecord& record, uint8_t* fields);
// Reads every field of the record from the 22 wire bytes at `fields`.
SystemSetupRecord DecodeSystemSetup(const uint8_t* fields);

// The fixed waits between each command's request and its answer.
inline constexpr uint32_t kGetSettingsWaitMs = 1000;
inline constexpr uint32_t kSetSettingsWaitMs = 500;

// Sends 1B A4 00 05 50 E0 82 C1 41 (after discarding what the device holds unread), waits
// 1000 ms and reads 32 bytes. Only a whole answer to this request (all 32 bytes, its length
// field counting them, its bytes 4 to 8 those of the request) is decoded: `SystemSetup` takes
// answer bytes 10 to 31. Anything else fails and leaves the record as it was. Returns non-zero on
// success.
int Mfp_GetSettings();

// Sends the 31-byte request 1B A4 00 1B 50 E0 82 C2 41 followed by the field bytes of
// `SystemSetup` (after discarding what the device holds unread), waits 500 ms and reads the
// 10-byte answer. Returns non-zero when all 31
// bytes were written and the answer acknowledges them (`IsAcknowledgement`).
int Mfp_SetSettings();

}  // namespace vornik
