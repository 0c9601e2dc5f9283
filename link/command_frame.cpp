#include "link/command_frame.h"

#include <algorithm>
#include <new>

#include "link/debug_trace.h"
#include "link/port_io.h"
#include "link/spin_delay.h"

namespace vornik {

void PutRecordHeader(uint8_t* frame, size_t frameSize, uint8_t operation, uint8_t record) {
  const size_t length = frameSize - 4;
  frame[0] = kFrameEscape;
  frame[1] = kFrameClass;
  frame[2] = uint8_t(length >> 8);
  frame[3] = uint8_t(length & 0xFF);
  frame[4] = kSignature[0];
  frame[5] = kSignature[1];
  frame[6] = kSignature[2];
  frame[7] = operation;
  frame[8] = record;
}

uint16_t AnswerLength(std::span<const uint8_t> answer, size_t received) {
  if (received < 5 || answer.size() < 4)
    return 0;
  return uint16_t(answer[2] << 8 | answer[3]);
}

bool AnswersRequest(std::span<const uint8_t> answer, size_t received,
                    std::span<const uint8_t> request) {
  constexpr size_t kSignatureOffset = 4;  // signature, operation, record up to the header's end
  if (received < kFrameHeaderSize || answer.size() < kFrameHeaderSize ||
      request.size() < kFrameHeaderSize)
    return false;
  return std::equal(request.begin() + kSignatureOffset, request.begin() + kFrameHeaderSize,
                    answer.begin() + kSignatureOffset);
}

bool IsWholeAnswer(const ExchangeAnswer& answer, std::span<const uint8_t> request) {
  const uint16_t length = answer.length();
  if (length != 0)
    DebugTrace("Length = %d \n", int(length));
  return answer.whole() && AnswersRequest(answer.bytes, answer.received, request);
}

bool IsAcknowledgement(std::span<const uint8_t> answer, size_t received,
                       std::span<const uint8_t> request) {
  return received == size_t(AnswerLength(answer, received)) + 4 &&
         AnswersRequest(answer, received, request);
}

std::optional<ExchangeAnswer> RunExchange(const Exchange& exchange) {
  const auto& request = exchange.request;
  const size_t written = PortWriteRequest(request.data(), request.size());
  if (exchange.title != nullptr)
    DebugTrace("%s", exchange.title);
  DebugTrace("WriteData = %d \n", int(written));
  if (exchange.dumpRequest)
    DebugHexDump(request.data(), request.size());
  SpinDelay(exchange.waitMs);
  if (written != request.size())
    return std::nullopt;

  ExchangeAnswer answer;
  try {
    answer.bytes.assign(exchange.answerSize, 0);
  } catch (const std::bad_alloc&) {
    if (exchange.allocationFailure != nullptr)
      DebugTrace("%s", exchange.allocationFailure);
    return std::nullopt;
  }
  answer.received = PortRead(answer.bytes.data(), answer.bytes.size());

  switch (exchange.answerTrace) {
    case AnswerTrace::kSizeAndDumpReceived:
    case AnswerTrace::kSizeAndDumpAll:
      DebugTrace("Size to read = %d \n", int(exchange.answerSize));
      DebugTrace("ReadData = %d \n", int(answer.received));
      DebugHexDump(answer.bytes.data(), exchange.answerTrace == AnswerTrace::kSizeAndDumpAll
                                            ? answer.bytes.size()
                                            : answer.received);
      break;
    case AnswerTrace::kReadCountOnly:
      DebugTrace("ReadData = %d \n", int(answer.received));
      break;
    case AnswerTrace::kNothing:
      break;
  }
  return answer;
}

}  // namespace vornik
