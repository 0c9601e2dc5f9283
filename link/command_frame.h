// `CommandFrame`: the escape-prefixed frame of every request and answer, and the exchange
// that every record command follows: write the request, trace it, wait a fixed time, read
// a fixed-size answer, trace and dump it.
//
//   offset 0  escape 0x1B
//          1  class 0xA4 (0xA5: firmware announce)
//          2  length, 16-bit big-endian: bytes that follow this field
//          4  signature 50 E0 82 (40 E0 82: firmware announce to the ECP driver device)
//          7  operation
//          8  record
//          9  data
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vornik {

inline constexpr uint8_t kFrameEscape = 0x1B;
inline constexpr uint8_t kFrameClass = 0xA4;
inline constexpr uint8_t kFrameClassFirmware = 0xA5;
inline constexpr uint8_t kSignature[3] = {0x50, 0xE0, 0x82};
inline constexpr uint8_t kSignatureEcpFirmware[3] = {0x40, 0xE0, 0x82};

inline constexpr uint8_t kOpInquiry = 0xC0;
inline constexpr uint8_t kOpReadRecord = 0xC1;
inline constexpr uint8_t kOpWriteRecord = 0xC2;
inline constexpr uint8_t kOpFirmwareDownload = 0x05;

inline constexpr uint8_t kRecordAdvancedSetup = 0x40;
inline constexpr uint8_t kRecordSystemSetup = 0x41;
inline constexpr uint8_t kRecordPhonebook = 0x42;
inline constexpr uint8_t kRecordDeviceInfo = 0x43;

inline constexpr size_t kFrameHeaderSize = 9;  // up to and including the record byte

// Writes the nine header bytes of a record request of `frameSize` bytes into `frame`.
void PutRecordHeader(uint8_t* frame, size_t frameSize, uint8_t operation, uint8_t record);

// The length field of an answer: bytes 2 (high) and 3 (low) when at least 5 bytes
// arrived, else 0.
uint16_t AnswerLength(std::span<const uint8_t> answer, size_t received);

// How much of the answer a command traces after its read.
enum class AnswerTrace {
  kSizeAndDumpReceived,  // "Size to read", "ReadData", dump of the bytes received
  kSizeAndDumpAll,       // "Size to read", "ReadData", dump of the whole answer buffer
  kReadCountOnly,        // "ReadData" only
  kNothing,
};

struct Exchange {
  std::span<const uint8_t> request;
  const char* title = nullptr;  // traced after the write; null: none
  bool dumpRequest = false;     // hex dump of the request after "WriteData"
  uint32_t waitMs = 0;          // busy wait between write and read
  size_t answerSize = 0;        // fixed size of the answer read
  AnswerTrace answerTrace = AnswerTrace::kSizeAndDumpReceived;
  const char* allocationFailure = nullptr;  // traced when no answer buffer can be had
};

struct ExchangeAnswer {
  std::vector<uint8_t> bytes;  // `answerSize` bytes, zero where nothing arrived
  size_t received = 0;
  uint16_t length() const { return AnswerLength(bytes, received); }
  // The whole answer arrived and its length field matches it: only such an answer is
  // decoded into a record, so fields that never arrived cannot pass for zeros.
  bool whole() const { return received == bytes.size() && received == size_t(length()) + 4; }
};

// Whether the answer is the one to `request`: at least 9 bytes arrived and bytes 4 to 8
// repeat the request's signature, operation and record. An answer that a command left
// unread names another operation or record and is refused.
bool AnswersRequest(std::span<const uint8_t> answer, size_t received,
                    std::span<const uint8_t> request);

// Traces a non-zero length field ("Length = %d \n") and tells whether the answer is
// `whole()` and answers `request`.
bool IsWholeAnswer(const ExchangeAnswer& answer, std::span<const uint8_t> request);

// Whether the answer to a record write acknowledges it: it answers `request` and its byte
// count equals its length field plus 4. A write without one may not have been stored, so
// it fails.
bool IsAcknowledgement(std::span<const uint8_t> answer, size_t received,
                       std::span<const uint8_t> request);

// Runs one exchange; the request goes out through `PortWriteRequest`, so what an earlier
// command left unread is discarded first. Nullopt when not every request byte was written (nothing
// is read then) or when the answer buffer could not be obtained.
std::optional<ExchangeAnswer> RunExchange(const Exchange& exchange);

}  // namespace vornik
