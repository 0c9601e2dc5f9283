// Reading the device's answer the way a device file reads: take what is ready, wait for
// more within the read's time-outs. The in-process device waits on the platform clock; the
// bridge server waits in real time and lets other connections use the device meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>

#include "devsim/device_model.h"

namespace devsim {

class ReadWaiter {
 public:
  virtual ~ReadWaiter() = default;
  virtual uint32_t now() = 0;
  // Waits up to `ms`; may return earlier (the device may have produced something). False
  // gives the read up at once.
  virtual bool wait(uint32_t ms) = 0;
};

// Reads up to `count` bytes: returns when `count` arrived, when `totalMs` passed since
// the start, or when `intervalMs` (0: no limit) passed after the last byte that arrived.
// A dropped link returns a count of 0 with `dropped` set.
DeviceModel::TakeResult ReadAnswer(DeviceModel& model, uint8_t* buffer, size_t count,
                                   uint32_t intervalMs, uint32_t totalMs, ReadWaiter& waiter);

}  // namespace devsim
