#include "settings/advanced_setup.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "link/command_frame.h"
#include "link/machine_state.h"

namespace vornik {
namespace {

namespace wire = advanced_setup_wire;

constexpr uint8_t kGetSystemInfoRequest[] = {
    0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, kOpReadRecord, kRecordAdvancedSetup};
constexpr size_t kSetSystemInfoAnswerSize = 10;
constexpr uint8_t kSetRequestFill = ' ';

constexpr uint8_t kLastMonth = 12;
constexpr uint8_t kLastDay = 31;
constexpr uint8_t kLastHour = 23;
constexpr uint8_t kLastMinute = 59;

// A time travels as month, day, year (high byte first), hour, minute.
constexpr size_t kMonth = 0;
constexpr size_t kDay = 1;
constexpr size_t kYear = 2;
constexpr size_t kHour = 4;
constexpr size_t kMinute = 5;

void PutText(const char* text, size_t width, uint8_t* at) {
  const auto length = size_t(std::find(text, text + width, '\0') - text);
  std::memcpy(at, text, length);
  std::memset(at + length, 0, width - length);
}

// `field` holds `width` characters and its terminator.
void GetText(const uint8_t* at, size_t width, char* field) {
  std::memset(field, 0, width + 1);
  std::memcpy(field, at, width);
}

void PutTime(const DeviceDateTime& time, uint8_t* at) {
  at[kMonth] = time.month;
  at[kDay] = time.day;
  at[kYear] = uint8_t(time.year >> 8);
  at[kYear + 1] = uint8_t(time.year & 0xFF);
  at[kHour] = time.hour;
  at[kMinute] = time.minute;
}

DeviceDateTime GetTime(const uint8_t* at) {
  const auto year = uint16_t(at[kYear] << 8 | at[kYear + 1]);
  return {.month = std::min(at[kMonth], kLastMonth),
          .day = std::min(at[kDay], kLastDay),
          .year = std::clamp(year, kFirstTollYear, kLastTollYear),
          .hour = std::min(at[kHour], kLastHour),
          .minute = std::min(at[kMinute], kLastMinute)};
}

}  // namespace

void EncodeAdvancedSetup(const AdvancedSetupRecord& r, uint8_t* payload) {
  PutText(r.machineNumber, kMachineNumberWidth, payload + wire::kMachineNumber);
  PutText(r.machineId, kMachineIdWidth, payload + wire::kMachineId);
  payload[wire::kClockMode] = r.clockMode;
  payload[wire::kLanguage] = r.language;
  payload[wire::kPowerSave] = r.powerSave;
  std::memcpy(payload + wire::kPassThrough, r.passThrough, kPassThroughSize);
  payload[wire::kUsbMode] = r.usbMode;
  payload[wire::kSpeaker] = r.speaker;
  payload[wire::kRinger] = r.ringer;
  payload[wire::kKeySound] = r.keySound;
  payload[wire::kAlarmSound] = r.alarmSound;
  payload[wire::kTollSaver] = r.tollSaver;
  PutTime(r.tollStart, payload + wire::kTollStart);
  PutTime(r.tollEnd, payload + wire::kTollEnd);
  PutText(r.prefixDial, kPrefixDialWidth, payload + wire::kPrefixDial);
  payload[wire::kStampRcvName] = r.stampRcvName;
  payload[wire::kEcmMode] = r.ecmMode;
}

AdvancedSetupRecord DecodeAdvancedSetup(const uint8_t* payload) {
  AdvancedSetupRecord r{};
  GetText(payload + wire::kMachineNumber, kMachineNumberWidth, r.machineNumber);
  GetText(payload + wire::kMachineId, kMachineIdWidth, r.machineId);
  r.clockMode = payload[wire::kClockMode];
  r.language = payload[wire::kLanguage];
  r.powerSave = payload[wire::kPowerSave];
  std::memcpy(r.passThrough, payload + wire::kPassThrough, kPassThroughSize);
  r.usbMode = payload[wire::kUsbMode];
  r.speaker = payload[wire::kSpeaker];
  r.ringer = payload[wire::kRinger];
  r.keySound = payload[wire::kKeySound];
  r.alarmSound = payload[wire::kAlarmSound];
  r.tollSaver = payload[wire::kTollSaver];
  r.tollStart = GetTime(payload + wire::kTollStart);
  r.tollEnd = GetTime(payload + wire::kTollEnd);
  GetText(payload + wire::kPrefixDial, kPrefixDialWidth, r.prefixDial);
  r.stampRcvName = payload[wire::kStampRcvName];
  r.ecmMode = payload[wire::kEcmMode];
  return r;
}

int Mfp_GetSystemInfo() {
  const auto answer =
      RunExchange({.request = kGetSystemInfoRequest,
                   .title = "===> (Get Settings 2) SYSTEM STATUS <===\n",
                   .waitMs = kSystemInfoWaitMs,
                   .answerSize = wire::kGetAnswerSize,
                   .answerTrace = AnswerTrace::kSizeAndDumpAll,
                   .allocationFailure = "Mfp_GetSystemInfo() - Memory Allocation error! \n"});
  if (!answer || !IsWholeAnswer(*answer, kGetSystemInfoRequest))
    return 0;
  MachineState.AdvancedSetup = DecodeAdvancedSetup(answer->bytes.data() + wire::kGetAnswerPayload);
  return 1;
}

int Mfp_SetSystemInfo() {
  std::array<uint8_t, wire::kSetRequestSize> request;
  request.fill(kSetRequestFill);
  PutRecordHeader(request.data(), request.size(), kOpWriteRecord, kRecordAdvancedSetup);
  EncodeAdvancedSetup(MachineState.AdvancedSetup, request.data() + wire::kSetRequestPayload);
  const auto answer = RunExchange({.request = request,
                                   .waitMs = kSystemInfoWaitMs,
                                   .answerSize = kSetSystemInfoAnswerSize,
                                   .answerTrace = AnswerTrace::kReadCountOnly});
  return answer && IsAcknowledgement(answer->bytes, answer->received, request) ? 1 : 0;
}

}  // namespace vornik
