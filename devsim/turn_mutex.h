// A mutex taken in turn: whoever asked first gets it first. A connection that holds the
// device for one slice of a huge message after another cannot take it back at once every
// time and starve the others, as it could with a plain mutex.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace devsim {

class TurnMutex {
 public:
  void lock() {
    std::unique_lock guard(mutex_);
    const uint64_t turn = nextTurn_++;
    turnChanged_.wait(guard, [&] { return serving_ == turn; });
  }
  void unlock() {
    {
      std::lock_guard guard(mutex_);
      ++serving_;
    }
    turnChanged_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable turnChanged_;
  uint64_t nextTurn_ = 0;
  uint64_t serving_ = 0;
};

}  // namespace devsim
