#include "settings/system_setup.h"

#include <array>

#include "link/command_frame.h"
#include "link/machine_state.h"

namespace vornik {
namespace {

namespace wire = system_setup_wire;

constexpr uint8_t kGetSettingsRequest[] = {
    0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, kOpReadRecord, kRecordSystemSetup};
constexpr size_t kSetSettingsAnswerSize = 10;
constexpr uint8_t kSetRequestFill = 0xFF;

void PutWord(uint8_t* at, uint16_t value) {
  at[0] = uint8_t(value / 256);
  at[1] = uint8_t(value % 256);
}

uint16_t GetWord(const uint8_t* at) {
  return uint16_t(at[0] * 256 + at[1]);
}

}  // namespace

void EncodeSystemSetup(const SystemSetupRecord& r, uint8_t* fields) {
  fields[wire::kReserved1] = r.reserved1;
  fields[wire::kReserved2] = r.reserved2;
  fields[wire::kTraySize] = r.traySize;
  fields[wire::kReserved3] = r.reserved3;
  fields[wire::kBypassSize] = r.bypassSize;
  fields[wire::kPaperType] = r.paperType;
  fields[wire::kDiscardSize] = r.discardSize;
  fields[wire::kContrast] = r.contrast;
  fields[wire::kDocumentMode] = r.documentMode;
  PutWord(fields + wire::kZoom, r.zoom);
  PutWord(fields + wire::kCopies, r.copies);
  fields[wire::kPrintTimeout] = r.printTimeout;
  fields[wire::kReceiveMode] = r.receiveMode;
  fields[wire::kReserved4] = r.reserved4;
  fields[wire::kRingCount] = r.ringCount;
  fields[wire::kRedialInterval] = r.redialInterval;
  fields[wire::kRedialCount] = r.redialCount;
  fields[wire::kSendConfirm] = r.sendConfirm;
  fields[wire::kAutoJournal] = r.autoJournal;
  fields[wire::kRxReduction] = r.rxReduction;
}

SystemSetupRecord DecodeSystemSetup(const uint8_t* fields) {
  SystemSetupRecord r{};
  r.reserved1 = fields[wire::kReserved1];
  r.reserved2 = fields[wire::kReserved2];
  r.traySize = fields[wire::kTraySize];
  r.reserved3 = fields[wire::kReserved3];
  r.bypassSize = fields[wire::kBypassSize];
  r.paperType = fields[wire::kPaperType];
  r.discardSize = fields[wire::kDiscardSize];
  r.contrast = fields[wire::kContrast];
  r.documentMode = fields[wire::kDocumentMode];
  r.zoom = GetWord(fields + wire::kZoom);
  r.copies = GetWord(fields + wire::kCopies);
  r.printTimeout = fields[wire::kPrintTimeout];
  r.receiveMode = fields[wire::kReceiveMode];
  r.reserved4 = fields[wire::kReserved4];
  r.ringCount = fields[wire::kRingCount];
  r.redialInterval = fields[wire::kRedialInterval];
  r.redialCount = fields[wire::kRedialCount];
  r.sendConfirm = fields[wire::kSendConfirm];
  r.autoJournal = fields[wire::kAutoJournal];
  r.rxReduction = fields[wire::kRxReduction];
  return r;
}

int Mfp_GetSettings() {
  const auto answer =
      RunExchange({.request = kGetSettingsRequest,
                   .title = "===> (Get Settings) SYSTEM SETUP <===\n",
                   .waitMs = kGetSettingsWaitMs,
                   .answerSize = wire::kGetAnswerSize,
                   .allocationFailure = "Mfp_GetSettings() - Memory Allocation error! \n"});
  if (!answer || !IsWholeAnswer(*answer, kGetSettingsRequest))
    return 0;
  MachineState.SystemSetup = DecodeSystemSetup(answer->bytes.data() + wire::kGetAnswerFields);
  return 1;
}

int Mfp_SetSettings() {
  std::array<uint8_t, wire::kSetRequestSize> request;
  request.fill(kSetRequestFill);
  PutRecordHeader(request.data(), request.size(), kOpWriteRecord, kRecordSystemSetup);
  EncodeSystemSetup(MachineState.SystemSetup, request.data() + wire::kSetRequestFields);
  const auto answer = RunExchange({.request = request,
                                   .title = "===> SET SETTINGS <===\n",
                                   .dumpRequest = true,
                                   .waitMs = kSetSettingsWaitMs,
                                   .answerSize = kSetSettingsAnswerSize,
                                   .answerTrace = AnswerTrace::kNothing});
  return answer && IsAcknowledgement(answer->bytes, answer->received, request) ? 1 : 0;
}

}  // namespace vornik
