#include "devsim/device_model.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "link/command_frame.h"
#include "link/port_io.h"

namespace devsim {
namespace {

using vornik::kFrameClass;
using vornik::kFrameClassFirmware;
using vornik::kFrameEscape;
using vornik::kOpFirmwareDownload;
using vornik::kOpInquiry;
using vornik::kOpReadRecord;
using vornik::kOpWriteRecord;
using vornik::kRecordAdvancedSetup;
using vornik::kRecordDeviceInfo;
using vornik::kRecordPhonebook;
using vornik::kRecordSystemSetup;
using vornik::kSignature;
using vornik::kSignatureEcpFirmware;

// Length fields (the bytes after the field) of the requests the device understands.
constexpr uint16_t kInquiryLength = 4;
constexpr uint16_t kRecordReadLength = 5;
constexpr uint16_t kPhonebookReadLength = 6;
constexpr uint16_t kSystemSetupWriteLength = 9 + kSystemSetupSize - 4;
constexpr uint16_t kAdvancedSetupWriteLength = 9 + kAdvancedSetupSize - 4;
constexpr uint16_t kAnnounceLength = 4;
constexpr size_t kAnnounceSize = 8;

constexpr size_t kRequestDataOffset = 9;
constexpr uint8_t kAllEntries = 0xFF;  // the phonebook read asks for every entry

// Phonebook records, both ways: slot, group flag, in-use flag, name, dial data.
constexpr size_t kRecordSize = 69;
constexpr size_t kRecordNameOffset = 3;
constexpr size_t kRecordDialOffset = 23;
constexpr size_t kPhonebookWriteHeader = 10;  // request header plus the record count
constexpr size_t kMaxFrameSize = kPhonebookWriteHeader + kRecordSize * 255;

// Answers: escape, class, length, signature, operation, record, status, then the body.
constexpr size_t kAnswerHeaderSize = 10;
constexpr size_t kPhonebookAnswerHeaderSize = 11;  // ... and the record count
constexpr size_t kInquiryAnswerSize = 10;
constexpr size_t kModelCodeOffset = 9;
constexpr uint8_t kStatusOk = 0x00;
constexpr uint8_t kAnnounceAnswer[] = {0x1B, 0xA5, 0x00, 0x05, 0x50, 0xE0, 0x82, 0x05, kStatusOk};

uint16_t FrameLength(std::span<const uint8_t> frame) {
  return uint16_t(frame[2] << 8 | frame[3]);
}

bool HasSignature(std::span<const uint8_t> frame, const uint8_t (&signature)[3]) {
  return std::equal(signature, signature + 3, frame.begin() + 4);
}

bool IsAnnounce(std::span<const uint8_t> bytes) {
  return bytes.size() >= kAnnounceSize && bytes[0] == kFrameEscape &&
         bytes[1] == kFrameClassFirmware && FrameLength(bytes) == kAnnounceLength &&
         bytes[7] == kOpFirmwareDownload &&
         (HasSignature(bytes, kSignature) || HasSignature(bytes, kSignatureEcpFirmware));
}

bool IsPhonebookWrite(std::span<const uint8_t> bytes) {
  return bytes.size() > 8 && bytes[1] == kFrameClass && bytes[7] == kOpWriteRecord &&
         bytes[8] == kRecordPhonebook;
}

std::vector<uint8_t> AnswerHeader(size_t size, uint8_t operation, uint8_t record) {
  std::vector<uint8_t> answer(size, 0);
  const size_t length = size - 4;
  answer[0] = kFrameEscape;
  answer[1] = kFrameClass;
  answer[2] = uint8_t(length >> 8);
  answer[3] = uint8_t(length);
  std::copy(kSignature, kSignature + 3, answer.begin() + 4);
  answer[7] = operation;
  answer[8] = record;
  answer[9] = kStatusOk;
  return answer;
}

std::vector<uint8_t> RecordAnswer(uint8_t record, std::span<const uint8_t> payload) {
  auto answer = AnswerHeader(kAnswerHeaderSize + payload.size(), kOpReadRecord, record);
  std::copy(payload.begin(), payload.end(), answer.begin() + kAnswerHeaderSize);
  return answer;
}

std::vector<uint8_t> PhonebookAnswer(const std::array<PhonebookSlot, kPhonebookSlots>& book) {
  auto answer = AnswerHeader(kPhonebookAnswerHeaderSize + kRecordSize * book.size(), kOpReadRecord,
                             kRecordPhonebook);
  answer[kPhonebookAnswerHeaderSize - 1] = uint8_t(book.size());
  for (size_t i = 0; i < book.size(); ++i) {
    uint8_t* record = answer.data() + kPhonebookAnswerHeaderSize + kRecordSize * i;
    record[0] = uint8_t(i + 1);
    record[1] = book[i].groupFlag;
    record[2] = book[i].inUseFlag;
    std::copy(book[i].name.begin(), book[i].name.end(), record + kRecordNameOffset);
    std::copy(book[i].dialData.begin(), book[i].dialData.end(), record + kRecordDialOffset);
  }
  return answer;
}

void StorePhonebookRecords(std::span<const uint8_t> records,
                           std::array<PhonebookSlot, kPhonebookSlots>& book) {
  for (size_t at = 0; at + kRecordSize <= records.size(); at += kRecordSize) {
    const auto record = records.subspan(at, kRecordSize);
    const size_t slot = record[0];
    if (slot < 1 || slot > book.size())
      continue;  // no such entry on this device
    auto& entry = book[slot - 1];
    entry.groupFlag = record[1];
    StoreBlankPadded(record.subspan(kRecordNameOffset, kNameWidth), entry.name);
    const auto dial = record.subspan(kRecordDialOffset, kDialWidth);
    if (entry.groupFlag != 0) {
      std::copy(dial.begin(), dial.end(), entry.dialData.begin());  // a member set, raw
    } else {
      StoreBlankPadded(dial, entry.dialData);
    }
  }
  RecomputeInUse(book);  // the device, not the program, knows who is a member
}

}  // namespace

DeviceModel::DeviceModel(DeviceContent content) : content_(content) {}

void DeviceModel::setFault(Fault fault, bool on) {
  if (on) {
    faults_.insert(fault);
  } else {
    faults_.erase(fault);
  }
}

void DeviceModel::notify(Traffic traffic, std::span<const uint8_t> bytes) {
  if (observer_)
    observer_(traffic, bytes);
}

void DeviceModel::settle(uint32_t now) {
  if (!download_.active || now - download_.lastByteAt < kImageQuietMs)
    return;
  if (download_.size > 0) {
    auto& firmware = content_.firmware;
    ++firmware.imagesReceived;
    firmware.lastImageSize = download_.size;
    firmware.lastImageChecksum = download_.checksum;
    changed();
    notify(Traffic::kImageComplete);
  }
  download_ = {};
}

DeviceModel::WriteResult DeviceModel::write(std::span<const uint8_t> bytes, uint32_t now) {
  settle(now);
  if (hasFault(Fault::kShortWrite) && bytes.size() > 1)
    bytes = bytes.first(bytes.size() / 2);
  if (!pending_.empty() && now - pendingLastByteAt_ > kFrameGapMs) {
    reject(pending_);
    pending_.clear();
  }
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  pendingLastByteAt_ = now;

  bool dropped = false;
  size_t used = 0;
  while (used < pending_.size() && !dropped) {
    const auto rest = std::span<const uint8_t>(pending_).subspan(used);
    const size_t step =
        download_.active ? takeImage(rest, now, dropped) : nextFrame(rest, now, dropped);
    if (step == 0)
      break;  // a frame still incomplete
    used += step;
  }
  if (dropped) {
    pending_.clear();
    notify(Traffic::kDropped);
    return {0, true};
  }
  pending_.erase(pending_.begin(), pending_.begin() + ptrdiff_t(used));
  return {bytes.size(), false};
}

size_t DeviceModel::nextFrame(std::span<const uint8_t> bytes, uint32_t now, bool& dropped) {
  if (bytes[0] != kFrameEscape) {  // nothing before an escape can start a frame
    const size_t skip = size_t(std::find(bytes.begin(), bytes.end(), kFrameEscape) - bytes.begin());
    reject(bytes.first(skip));
    return skip;
  }
  if (bytes.size() < 4)
    return 0;
  const size_t total = 4 + size_t(FrameLength(bytes));
  if ((bytes[1] != kFrameClass && bytes[1] != kFrameClassFirmware) || total < kAnnounceSize ||
      total > kMaxFrameSize) {
    reject(bytes.first(1));  // not a frame after all: look for the next escape
    return 1;
  }
  if (hasFault(Fault::kDropTransfer) && IsPhonebookWrite(bytes) && bytes.size() * 2 > total) {
    dropped = true;
    return bytes.size();
  }
  if (bytes.size() < total)
    return 0;
  handleFrame(bytes.first(total), now);
  return total;
}

size_t DeviceModel::takeImage(std::span<const uint8_t> bytes, uint32_t now, bool& dropped) {
  // A program that missed the announce's answer announces again before any image byte.
  if (download_.size == 0 && IsAnnounce(bytes)) {
    handleFrame(bytes.first(kAnnounceSize), now);
    return kAnnounceSize;
  }
  if (hasFault(Fault::kDropTransfer) && download_.size + bytes.size() > kDropAfterImageBytes) {
    download_ = {};  // the device gives up the image and listens for frames again
    dropped = true;
    return bytes.size();
  }
  download_.size += uint32_t(bytes.size());
  download_.checksum = std::accumulate(bytes.begin(), bytes.end(), download_.checksum);
  download_.lastByteAt = now;
  notify(Traffic::kImageData, bytes);
  return bytes.size();
}

bool DeviceModel::accept(std::span<const uint8_t> frame) {
  notify(Traffic::kRequest, frame);
  return !hasFault(Fault::kSilent);
}

void DeviceModel::handleFrame(std::span<const uint8_t> frame, uint32_t now) {
  bool understood = false;
  if (frame[1] == kFrameClassFirmware) {
    understood = handleAnnounce(frame, now);
  } else if (HasSignature(frame, kSignature)) {
    switch (frame[7]) {
      case kOpInquiry:
        understood = handleInquiry(frame, now);
        break;
      case kOpReadRecord:
        understood = handleRecordRead(frame, now);
        break;
      case kOpWriteRecord:
        understood = handleRecordWrite(frame, now);
        break;
    }
  }
  if (!understood)
    reject(frame);
}

bool DeviceModel::handleInquiry(std::span<const uint8_t> frame, uint32_t now) {
  if (FrameLength(frame) != kInquiryLength)
    return false;
  if (accept(frame)) {
    auto answer = AnswerHeader(kInquiryAnswerSize, kOpInquiry, 0x00);
    answer[kModelCodeOffset] = hasFault(Fault::kWrongModel) ? kWrongModelCode : content_.modelCode;
    queueAnswer(std::move(answer), kInquiryDelayMs, now);
  }
  return true;
}

bool DeviceModel::handleRecordRead(std::span<const uint8_t> frame, uint32_t now) {
  if (frame.size() < kRequestDataOffset)
    return false;  // no record byte
  const uint16_t length = FrameLength(frame);
  const uint8_t record = frame[8];
  std::span<const uint8_t> payload;
  switch (record) {
    case kRecordSystemSetup:
      payload = content_.systemSetup;
      break;
    case kRecordAdvancedSetup:
      payload = content_.advancedSetup;
      break;
    case kRecordDeviceInfo:
      payload = content_.deviceInfo;
      break;
    case kRecordPhonebook:
      if (length != kPhonebookReadLength || frame[kRequestDataOffset] != kAllEntries)
        return false;
      if (accept(frame))
        queueAnswer(PhonebookAnswer(content_.phonebook), kPhonebookDelayMs, now, true);
      return true;
    default:
      return false;
  }
  if (length != kRecordReadLength)
    return false;
  if (accept(frame))
    queueAnswer(RecordAnswer(record, payload), kRecordDelayMs, now);
  return true;
}

bool DeviceModel::handleRecordWrite(std::span<const uint8_t> frame, uint32_t now) {
  if (frame.size() < kRequestDataOffset)
    return false;  // no record byte
  const uint16_t length = FrameLength(frame);
  const uint8_t record = frame[8];
  const auto data = frame.subspan(kRequestDataOffset);
  switch (record) {
    case kRecordSystemSetup:
      if (length != kSystemSetupWriteLength)
        return false;
      if (!accept(frame))
        return true;
      std::copy(data.begin(), data.end(), content_.systemSetup.begin());
      break;
    case kRecordAdvancedSetup:
      if (length != kAdvancedSetupWriteLength)
        return false;
      if (!accept(frame))
        return true;
      std::copy(data.begin(), data.end(), content_.advancedSetup.begin());
      for (const auto& text : kAdvancedTexts) {
        const auto field = std::span(content_.advancedSetup).subspan(text.offset, text.width);
        const std::vector<uint8_t> sent(field.begin(), field.end());
        StoreBlankPadded(sent, field);
      }
      break;
    case kRecordPhonebook:
      // The record count, then that many records.
      if (frame.size() <= kRequestDataOffset ||
          frame.size() != kPhonebookWriteHeader + kRecordSize * data[0])
        return false;
      if (!accept(frame))
        return true;
      StorePhonebookRecords(frame.subspan(kPhonebookWriteHeader), content_.phonebook);
      break;
    default:
      return false;  // the device information cannot be written
  }
  changed();
  queueAnswer(AnswerHeader(kAnswerHeaderSize, kOpWriteRecord, record), kStoreDelayMs, now);
  return true;
}

bool DeviceModel::handleAnnounce(std::span<const uint8_t> frame, uint32_t now) {
  if (!IsAnnounce(frame) || frame.size() != kAnnounceSize)
    return false;
  if (!accept(frame))
    return true;
  download_ = {.active = true, .size = 0, .checksum = 0, .lastByteAt = now};
  // The ECP driver device's announce is not answered: that path reads nothing.
  if (HasSignature(frame, kSignature))
    queueAnswer({std::begin(kAnnounceAnswer), std::end(kAnnounceAnswer)}, kAnnounceDelayMs, now);
  return true;
}

void DeviceModel::queueAnswer(std::vector<uint8_t> answer, uint32_t delayMs, uint32_t now,
                              bool droppable) {
  if (hasFault(Fault::kWrongClass))
    answer[1] = kWrongClassByte;
  if (hasFault(Fault::kZeroLength))
    answer[2] = answer[3] = 0;
  if (hasFault(Fault::kShortAnswer))
    answer.resize(answer.size() / 2);
  if (hasFault(Fault::kLateAnswer))
    delayMs = kLateAnswerMs;
  const size_t dropAt = droppable && hasFault(Fault::kDropTransfer) ? answer.size() / 2 : SIZE_MAX;
  notify(Traffic::kAnswer, answer);
  while (output_.size() >= kMaxPendingAnswers)  // bytes put back may make one more
    output_.pop_front();
  output_.push_back({std::move(answer), 0, now + delayMs, dropAt});
}

DeviceModel::TakeResult DeviceModel::take(uint8_t* buffer, size_t max, uint32_t now) {
  settle(now);
  size_t got = 0;
  while (got < max && !output_.empty()) {
    auto& answer = output_.front();
    if (int32_t(now - answer.readyAt) < 0)
      break;
    const size_t n = std::min(max - got, answer.bytes.size() - answer.sent);
    if (answer.sent + n > answer.dropAt) {
      output_.pop_front();
      notify(Traffic::kDropped);
      return {0, true};
    }
    std::memcpy(buffer + got, answer.bytes.data() + answer.sent, n);
    answer.sent += n;
    got += n;
    if (answer.sent == answer.bytes.size())
      output_.pop_front();
  }
  return {got, false};
}

void DeviceModel::putBack(std::span<const uint8_t> bytes, uint32_t now) {
  if (!bytes.empty())
    output_.push_front({{bytes.begin(), bytes.end()}, 0, now, SIZE_MAX});
}

std::optional<uint32_t> DeviceModel::msUntilReady(uint32_t now) const {
  if (output_.empty())
    return std::nullopt;
  const int32_t wait = int32_t(output_.front().readyAt - now);
  return wait > 0 ? uint32_t(wait) : 0u;
}

bool DeviceModel::control(uint32_t code, std::span<const uint8_t> input) {
  const bool known = code == vornik::kEcpSetHardwareMethod || code == vornik::kEcpSetMode ||
                     code == vornik::kEcpSetDirection;
  return known && !input.empty();
}

}  // namespace devsim
