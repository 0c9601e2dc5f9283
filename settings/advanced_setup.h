// `AdvancedSetup`: the device's identity on the fax line (machine number, machine ID,
// prefix dial), its sounds, display language, clock mode, USB speed, power save, toll-saver
// window, receiver-name stamp and error-correction mode, with its start-up defaults and the
// two commands that read it from and write it to the device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

// A moment of the toll-saver window. Seconds are not carried.
struct DeviceDateTime {
  uint8_t month;  // 1..12
  uint8_t day;    // 1..31
  uint16_t year;
  uint8_t hour;    // 0..23
  uint8_t minute;  // 0..59
};

inline constexpr size_t kMachineNumberWidth = 20;
inline constexpr size_t kMachineIdWidth = 20;
inline constexpr size_t kPrefixDialWidth = 5;
inline constexpr size_t kPassThroughSize = 5;

// Text fields hold their wire width plus a terminating NUL.
struct AdvancedSetupRecord {
  char machineNumber[kMachineNumberWidth + 1];  // digits, space, '+'
  char machineId[kMachineIdWidth + 1];          // upper-case name characters
  uint8_t clockMode;                            // 0 12 hour, 1 24 hour
  uint8_t language;                             // the device's language code
  uint8_t powerSave;                            // 0 off; 1..5 after 5, 10, 15, 30, 45 minutes
  uint8_t passThrough[kPassThroughSize];        // not shown; carried from the last read back
  uint8_t usbMode;                              // 0 SLOW, 1 FAST
  uint8_t speaker;                              // 0 OFF, 1 ON, 2 COM
  uint8_t ringer;                               // 0 OFF, 1 LOW, 2 MED, 3 HIGH
  uint8_t keySound;                             // 0 off, 1 on
  uint8_t alarmSound;                           // 0 off, 1 on
  uint8_t tollSaver;                            // 0 off, 1 on
  DeviceDateTime tollStart;
  DeviceDateTime tollEnd;
  char prefixDial[kPrefixDialWidth + 1];  // digits, space, '+'
  uint8_t stampRcvName;                   // 0 off, 1 on
  uint8_t ecmMode;                        // 0 off, 1 on
};

inline constexpr DeviceDateTime kDefaultTollTime = {
    .month = 10, .day = 10, .year = 2002, .hour = 10, .minute = 10};

inline constexpr AdvancedSetupRecord kDefaultAdvancedSetup = {
    .machineNumber = {},
    .machineId = {},
    .clockMode = 0,
    .language = 0,
    .powerSave = 3,
    .passThrough = {},
    .usbMode = 0,
    .speaker = 1,
    .ringer = 1,
    .keySound = 1,
    .alarmSound = 1,
    .tollSaver = 1,
    .tollStart = kDefaultTollTime,
    .tollEnd = kDefaultTollTime,
    .prefixDial = {},
    .stampRcvName = 0,
    .ecmMode = 0,
};

// The 73 payload bytes as they travel: at offset 10 of the get answer, at offset 9 of the
// set request. Texts travel as their fixed-width array without a terminator; each time is
// month, day, year (high byte first), hour, minute.
namespace advanced_setup_wire {
inline constexpr size_t kMachineNumber = 0;  // 20 bytes
inline constexpr size_t kMachineId = 20;     // 20 bytes
inline constexpr size_t kClockMode = 40;
inline constexpr size_t kLanguage = 41;
inline constexpr size_t kPowerSave = 42;
inline constexpr size_t kPassThrough = 43;  // 5 bytes
inline constexpr size_t kUsbMode = 48;
inline constexpr size_t kSpeaker = 49;
inline constexpr size_t kRinger = 50;
inline constexpr size_t kKeySound = 51;
inline constexpr size_t kAlarmSound = 52;
inline constexpr size_t kTollSaver = 53;
inline constexpr size_t kTollStart = 54;   // 6 bytes
inline constexpr size_t kTollEnd = 60;     // 6 bytes
inline constexpr size_t kPrefixDial = 66;  // 5 bytes
inline constexpr size_t kStampRcvName = 71;
inline constexpr size_t kEcmMode = 72;
inline constexpr size_t kPayloadBytes = 73;

inline constexpr size_t kGetAnswerSize = 83;
inline constexpr size_t kGetAnswerPayload = 10;
inline constexpr size_t kSetRequestSize = 82;
inline constexpr size_t kSetRequestPayload = 9;
}  // namespace advanced_setup_wire

// The toll-saver window's limits: what the device can hold and the pickers can show.
inline constexpr uint16_t kFirstTollYear = 1990;
inline constexpr uint16_t kLastTollYear = 2089;

// Writes the record's 73 payload bytes into `payload`: each text followed by NULs up to
// its width, years high byte first.
void EncodeAdvancedSetup(const AdvancedSetupRecord& record, uint8_t* payload);
// Reads every field from the 73 payload bytes. The toll-saver times are clamped as they
// come: month to 12, day to 31, year into 1990..2089, hour to 23, minute to 59.
AdvancedSetupRecord DecodeAdvancedSetup(const uint8_t* payload);

// The fixed wait between the request and the answer of both commands.
inline constexpr uint32_t kSystemInfoWaitMs = 1000;

// Sends 1B A4 00 05 50 E0 82 C1 40 (after discarding what the device holds unread), waits
// 1000 ms and reads 83 bytes. Only a whole answer to this request (all 83 bytes, its length
// field counting them, its bytes 4 to 8 those of the request) is decoded into `AdvancedSetup`;
// anything else fails and leaves the record as it was. Returns non-zero on success.
int Mfp_GetSystemInfo();

// Sends the 82-byte request 1B A4 00 4E 50 E0 82 C2 40 followed by the payload of
// `AdvancedSetup`, waits 1000 ms and reads the 10-byte answer. Returns non-zero when all 82
// bytes were written and the answer acknowledges them (`IsAcknowledgement`).
int Mfp_SetSystemInfo();

}  // namespace vornik
