#include "phonebook/phonebook_transfer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "link/command_frame.h"
#include "link/debug_trace.h"
#include "link/port_io.h"
#include "link/spin_delay.h"
#include "phonebook/phonebook_store.h"
#include "platform/platform.h"

namespace vornik {
namespace {

// Read record 0x42, the phonebook.
constexpr uint8_t kGetPhonebookRequest[] = {0x1B, 0xA4, 0x00, 0x06, 0x50,
                                            0xE0, 0x82, 0xC1, 0x42, 0xFF};

// The read answer: an 11-byte head, then N records.
constexpr size_t kAnswerHeadSize = 11;
constexpr size_t kRecordCountOffset = 10;
constexpr size_t kDumpedAnswerSize = 100;

// The write frame: the record header, the entry count byte, then N records.
constexpr size_t kSetFrameHeadSize = 10;
constexpr size_t kEntryCountOffset = 9;
constexpr uint8_t kSetFrameFill = 0xFF;
constexpr size_t kAcknowledgeSize = 10;

constexpr size_t kRecordSlot = 0;
constexpr size_t kRecordGroupFlag = 1;
constexpr size_t kRecordInUseFlag = 2;
constexpr size_t kRecordName = 3;
constexpr size_t kRecordDialData = 23;
static_assert(kRecordDialData + kDialDataSize == kPhonebookRecordSize);

constexpr const char* kGetAllocationFailure = "Mfp_GetPhonebook() - Memory Allocation error! \n";
constexpr const char* kSetAllocationFailure = "Mfp_SetPhonebook() - Memory Allocation error! \n";

size_t Write(const uint8_t* bytes, size_t count) {
  return std::min(PortWrite(bytes, count), count);
}

// The first write of a request discards first what the device holds unread.
size_t WriteRequest(const uint8_t* bytes, size_t count) {
  return std::min(PortWriteRequest(bytes, count), count);
}

size_t Read(uint8_t* buffer, size_t count) {
  return std::min(PortRead(buffer, count), count);
}

// Removes trailing blanks from the text at the start of a field without looking past the
// field's width, whatever the byte after the field holds.
void TrimFieldBlanks(void* field, size_t width) {
  static_assert(kEntryNameSize <= kDialDataSize);
  char text[kDialDataSize + 1] = {};
  std::memcpy(text, field, width);
  TrimTrailingBlanks(text);
  std::memcpy(field, text, width);
}

// The entry's terminator bytes are not written.
void DecodeRecord(const uint8_t* record, PhonebookEntry& entry) {
  entry.groupFlag = record[kRecordGroupFlag];
  entry.inUseFlag = record[kRecordInUseFlag];
  std::memcpy(entry.name, record + kRecordName, kEntryNameSize);
  TrimFieldBlanks(entry.name, kEntryNameSize);
  std::memcpy(entry.dialData, record + kRecordDialData, kDialDataSize);
  // A member set is binary: only a dial number text is trimmed.
  if (entry.groupFlag == 0)
    TrimFieldBlanks(entry.dialData, kDialDataSize);
}

// `record` arrives filled with 0xFF: a dial number shorter than its field leaves the rest so.
void EncodeRecord(const PhonebookEntry& entry, size_t storeIndex, uint8_t* record) {
  record[kRecordSlot] = uint8_t(storeIndex + 1);
  record[kRecordGroupFlag] = entry.groupFlag;
  record[kRecordInUseFlag] = entry.inUseFlag;
  const std::string_view name = EntryName(entry);
  std::memset(record + kRecordName, 0, kEntryNameSize);
  std::memcpy(record + kRecordName, name.data(), name.size());
  if (entry.groupFlag != 0) {
    std::memcpy(record + kRecordDialData, entry.dialData, kDialDataSize);
  } else {
    const std::string_view number = EntryDialNumber(entry);
    std::memcpy(record + kRecordDialData, number.data(), number.size());
  }
}

// Whether the head answers the phonebook read: all 11 bytes, the request's signature,
// operation and record, and a length field that counts exactly the records it announces.
// Anything else (an answer another command left unread) is no phonebook.
bool IsPhonebookHead(std::span<const uint8_t> head, size_t received) {
  const size_t announced = kAnswerHeadSize - 4 + kPhonebookRecordSize * head[kRecordCountOffset];
  return received == kAnswerHeadSize && AnswersRequest(head, received, kGetPhonebookRequest) &&
         AnswerLength(head, received) == announced;
}

// Reads the body after the head; returns the body bytes received.
size_t ReadAnswerBody(std::vector<uint8_t>& answer) {
  uint8_t* body = answer.data() + kAnswerHeadSize;
  const size_t size = answer.size() - kAnswerHeadSize;
  size_t received = Read(body, size);
  DebugTrace("Size to read = %d \n", int(size));
  DebugTrace("ReadData = %d \n", int(received));
  DebugHexDump(answer.data(), std::min(kDumpedAnswerSize, answer.size()));
  if (received < size) {
    platform::SleepInSlices(kPhonebookRetrySleepMs);
    size_t more = Read(body + received, size - received);
    DebugTrace("Retry Read(n) = %d \n", int(more));
    if (more == 0) {
      platform::SleepInSlices(kPhonebookRetrySleepMs);
      more = Read(body + received, size - received);
    }
    received += more;
  }
  return received;
}

// Writes the whole frame; returns the bytes written.
size_t WriteFrame(std::span<const uint8_t> frame) {
  size_t written = WriteRequest(frame.data(), frame.size());
  DebugTrace("WriteData = %d \n", int(written));
  if (written < frame.size()) {
    const size_t firstWrite = written;
    platform::SleepInSlices(kPhonebookRetrySleepMs);
    size_t more = Write(frame.data() + written, frame.size() - written);
    DebugTrace("WriteData(retry) = %d \n", int(firstWrite));  // repeats the first count
    if (more == 0) {
      platform::SleepInSlices(kPhonebookRetrySleepMs);
      more = Write(frame.data() + written, frame.size() - written);
    }
    written += more;
  }
  return written;
}

}  // namespace

int Mfp_GetPhonebook() {
  DebugTrace("===> GET PHONEBOOK <===\n");
  if (!PhonebookStoreReady()) {
    DebugTrace("%s", kGetAllocationFailure);
    return 0;
  }
  const size_t written = WriteRequest(kGetPhonebookRequest, sizeof kGetPhonebookRequest);
  DebugHexDump(kGetPhonebookRequest, sizeof kGetPhonebookRequest);
  DebugTrace("WriteData = %d \n", int(written));
  SpinDelay(kPhonebookRequestWaitMs);
  if (written != sizeof kGetPhonebookRequest)
    return 0;

  const size_t entryCount = PhonebookStore.entries.size();
  std::vector<uint8_t> answer;
  try {
    answer.assign(kAnswerHeadSize + kPhonebookRecordSize * entryCount, 0);
  } catch (const std::bad_alloc&) {
    DebugTrace("%s", kGetAllocationFailure);
    return 0;
  }
  const size_t headReceived = Read(answer.data(), kAnswerHeadSize);
  DebugTrace("ReadData = %d \n", int(headReceived));
  if (!IsPhonebookHead(answer, headReceived))
    return 0;

  platform::SleepInSlices(kPhonebookBodySleepMs);
  const size_t bodyReceived = ReadAnswerBody(answer);
  if (bodyReceived <= kAnswerHeadSize)
    return 0;

  DebugTrace("Length = %d \n", int(AnswerLength(answer, kAnswerHeadSize)));
  const size_t recordCount = answer[kRecordCountOffset];
  DebugTrace("Number of entries = %d \n", int(recordCount));
  // A phonebook that lost records on the way is no phonebook: shown, the entries that never
  // came would pass for empty ones, and the next Write would empty them on the device.
  const size_t records = std::min(recordCount, entryCount);
  if (bodyReceived < kPhonebookRecordSize * records)
    return 0;
  for (size_t r = 0; r < records; ++r) {
    const uint8_t* record = answer.data() + kAnswerHeadSize + kPhonebookRecordSize * r;
    const size_t slot = record[kRecordSlot];
    if (slot >= 1 && slot <= entryCount)
      DecodeRecord(record, PhonebookStore.entries[slot - 1]);
  }
  return 1;
}

int Mfp_SetPhonebook() {
  DebugTrace("===> SET PHONEBOOK <===\n");
  if (!PhonebookStoreReady()) {
    DebugTrace("%s", kSetAllocationFailure);
    return 0;
  }
  const auto& entries = PhonebookStore.entries;
  std::vector<uint8_t> frame;
  try {
    frame.assign(kSetFrameHeadSize + kPhonebookRecordSize * entries.size(), kSetFrameFill);
  } catch (const std::bad_alloc&) {
    DebugTrace("%s", kSetAllocationFailure);
    return 0;
  }
  PutRecordHeader(frame.data(), frame.size(), kOpWriteRecord, kRecordPhonebook);
  frame[kEntryCountOffset] = uint8_t(entries.size());
  for (size_t i = 0; i < entries.size(); ++i)
    EncodeRecord(entries[i], i, frame.data() + kSetFrameHeadSize + kPhonebookRecordSize * i);

  const size_t written = WriteFrame(frame);
  platform::SleepInSlices(kPhonebookAcknowledgeSleepMs);
  if (written != frame.size())
    return 0;

  // The acknowledgement is read over the frame's start: keep the header it must answer.
  std::array<uint8_t, kFrameHeaderSize> header;
  std::copy_n(frame.begin(), header.size(), header.begin());
  const size_t received = Read(frame.data(), kAcknowledgeSize);
  DebugTrace("Size to read = %d \n", int(kAcknowledgeSize));
  DebugTrace("ReadData = %d \n", int(received));
  DebugHexDump(frame.data(), kAcknowledgeSize);
  return IsAcknowledgement({frame.data(), kAcknowledgeSize}, received, header) ? 1 : 0;
}

}  // namespace vornik
