// One cell of the fault matrix runs on its own bench: fake platform services whose clock
// is watched for a command that never ends, a fresh simulated device behind a link that
// can be cut (on the parallel port, the ECP driver device and the two USB pipes of the
// older OS flavour), the program's globals at their start-up values, an empty folder for
// files, a window to host a page and a closer that answers every box. The device's
// phonebook reaches its last slot, so a read that lost the end of it shows.
#pragma once

#include <QMessageBox>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdint>
#include <string>

#include "cut_link.h"
#include "devsim/simulated_device.h"
#include "platform/fake_platform.h"
#include "tests/support/modal_answers.h"

namespace vornik::test {

// The USB control port that the older flavour's USB library names on the bench.
inline constexpr const char* kBenchControlPort = "usb-ctl";

// The fake clock, watched: a command still running far beyond its budget is a hang, and
// the program stops there, naming the command, instead of spinning for ever.
class WatchedClock : public platform::Clock {
 public:
  explicit WatchedClock(platform::FakeClock& inner) : inner_(inner) {}
  uint32_t tickCount() override;
  void sleep(uint32_t ms) override;
  // From now on, at most `limitMs` may pass until `stop()`.
  void watch(const std::string& what, uint32_t limitMs);
  void stop() { watching_ = false; }

 private:
  void check();

  platform::FakeClock& inner_;
  bool watching_ = false;
  uint32_t start_ = 0;
  uint32_t limit_ = 0;
  std::string what_;
};

class Bench {
 public:
  Bench();
  ~Bench();
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  // After a command: a device that was cut off is plugged in again and starts afresh with
  // what it stored (a frame or an image half taken in is lost); then its line goes quiet,
  // so it accounts an image it took.
  void settleDevice();
  uint32_t now() const { return fake.clock.now; }

  platform::FakePlatform fake;
  WatchedClock clock{fake.clock};
  devsim::SimulatedDevice sim;
  CutLink link;
  QTemporaryDir folder;
  QWidget host;
  BoxCloser boxes;

 private:
  platform::ScopedServices services_;
};

}  // namespace vornik::test
