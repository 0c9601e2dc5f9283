// The simulated device: it takes the bytes the program writes, assembles them into
// request frames, keeps its records and phonebook, and queues the answers a real device
// produces, each ready only some time after its request. Answers wait until someone
// reads them, across opens. After a firmware announce every byte is image data until the
// line stays quiet; the image is then accounted (size, checksum) as the device would
// before flashing it.
//
// The model holds no clock and no lock: every call passes the tick count it happens at
// (callers take it from `platform::Services().clock`), and a server that shares one model
// between connections serializes the calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "devsim/device_content.h"
#include "devsim/faults.h"

namespace devsim {

// How long the device takes from a complete request to a ready answer.
inline constexpr uint32_t kInquiryDelayMs = 120;
inline constexpr uint32_t kRecordDelayMs = 250;
inline constexpr uint32_t kStoreDelayMs = 400;  // a set is acknowledged once stored
inline constexpr uint32_t kPhonebookDelayMs = 700;
inline constexpr uint32_t kAnnounceDelayMs = 200;
inline constexpr uint32_t kLateAnswerMs = 2000;  // with the late-answer fault

// A partial frame is forgotten when its next byte is this late.
inline constexpr uint32_t kFrameGapMs = 2000;
// The image ends when no byte arrived for this long (the program pauses 5 s before the
// first block, 6 s before a repeated announce, and 40 s after the last block).
inline constexpr uint32_t kImageQuietMs = 10000;
// Answers nobody reads are kept up to this many; older ones are dropped.
inline constexpr size_t kMaxPendingAnswers = 16;
// With the drop-transfer fault the link drops after this many image bytes.
inline constexpr uint32_t kDropAfterImageBytes = 6144;

inline constexpr uint8_t kWrongClassByte = 0xB4;
inline constexpr uint8_t kWrongModelCode = 3;

// What the model reports to an observer (a test, the traffic log).
enum class Traffic {
  kRequest,        // a complete request frame the device acted on
  kRejected,       // bytes the device discarded: garbage, a malformed or unknown frame
  kAnswer,         // an answer queued, as it will be read
  kImageData,      // image bytes taken in during a firmware download
  kImageComplete,  // the image ended; see `content().firmware`
  kDropped,        // the link dropped (drop-transfer fault)
};
using TrafficObserver = std::function<void(Traffic, std::span<const uint8_t>)>;

// The firmware download in progress.
struct Download {
  bool active = false;
  uint32_t size = 0;
  uint32_t checksum = 0;
  uint32_t lastByteAt = 0;
};

class DeviceModel {
 public:
  explicit DeviceModel(DeviceContent content = FactoryContent());

  void setFault(Fault fault, bool on = true);
  bool hasFault(Fault fault) const { return faults_.contains(fault); }
  void setObserver(TrafficObserver observer) { observer_ = std::move(observer); }

  // False when the device refuses to be opened (busy fault).
  bool acceptsOpen() const { return !hasFault(Fault::kBusy); }

  struct WriteResult {
    size_t accepted = 0;
    bool dropped = false;  // the link dropped: the caller's connection is gone
  };
  // Takes the bytes the program writes.
  WriteResult write(std::span<const uint8_t> bytes, uint32_t now);

  struct TakeResult {
    size_t count = 0;
    bool dropped = false;
  };
  // Moves up to `max` answer bytes that are ready at `now` into `buffer`.
  TakeResult take(uint8_t* buffer, size_t max, uint32_t now);
  // Returns bytes taken that never reached a reader: they are read next, ready at once.
  void putBack(std::span<const uint8_t> bytes, uint32_t now);

  // Milliseconds until the next answer byte is ready (0: ready now); nullopt when no answer
  // is pending.
  std::optional<uint32_t> msUntilReady(uint32_t now) const;

  // A device-control request of the ECP port driver; true when the code is one of its three.
  bool control(uint32_t code, std::span<const uint8_t> input);

  // Lets time pass: ends an image download whose line went quiet. Every other call does
  // this first.
  void settle(uint32_t now);

  const DeviceContent& content() const { return content_; }
  DeviceContent& content() { return content_; }
  const Download& download() const { return download_; }
  // Grows whenever the content changes, so a keeper knows when to save it.
  uint64_t revision() const { return revision_; }

 private:
  struct PendingAnswer {
    std::vector<uint8_t> bytes;
    size_t sent = 0;
    uint32_t readyAt = 0;
    size_t dropAt = SIZE_MAX;  // the link drops before byte `dropAt` is read
  };

  // Each consumes the start of the bytes written and not yet used, returning how many it
  // used (0: a frame still incomplete); `dropped` is set when the link dropped.
  size_t nextFrame(std::span<const uint8_t> bytes, uint32_t now, bool& dropped);
  size_t takeImage(std::span<const uint8_t> bytes, uint32_t now, bool& dropped);

  // Each handler returns false for a frame it does not understand.
  void handleFrame(std::span<const uint8_t> frame, uint32_t now);
  bool handleInquiry(std::span<const uint8_t> frame, uint32_t now);
  bool handleRecordRead(std::span<const uint8_t> frame, uint32_t now);
  bool handleRecordWrite(std::span<const uint8_t> frame, uint32_t now);
  bool handleAnnounce(std::span<const uint8_t> frame, uint32_t now);
  // Reports a well-formed request; false when the device ignores it (silent fault).
  bool accept(std::span<const uint8_t> frame);
  void queueAnswer(std::vector<uint8_t> answer, uint32_t delayMs, uint32_t now,
                   bool droppable = false);
  void reject(std::span<const uint8_t> bytes) { notify(Traffic::kRejected, bytes); }
  void notify(Traffic traffic, std::span<const uint8_t> bytes = {});
  void changed() { ++revision_; }

  DeviceContent content_;
  std::set<Fault> faults_;
  TrafficObserver observer_;
  std::vector<uint8_t> pending_;  // bytes written and not yet used: a partial frame
  uint32_t pendingLastByteAt_ = 0;
  std::deque<PendingAnswer> output_;
  Download download_;
  uint64_t revision_ = 0;
};

}  // namespace devsim
