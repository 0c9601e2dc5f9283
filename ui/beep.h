// The platform's simple beep: a refused key, nothing selected, an entry still in use.
#pragma once

namespace vornik {

void Beep();

// While one exists, beeps are counted here instead of sounded (tests).
class BeepRecorder {
 public:
  BeepRecorder();
  ~BeepRecorder();
  BeepRecorder(const BeepRecorder&) = delete;
  BeepRecorder& operator=(const BeepRecorder&) = delete;

  int count = 0;

 private:
  BeepRecorder* previous_;
};

}  // namespace vornik
