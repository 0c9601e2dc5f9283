#include "ui/beep.h"

#include <QApplication>

namespace vornik {
namespace {

BeepRecorder* activeRecorder = nullptr;

}  // namespace

void Beep() {
  if (activeRecorder != nullptr) {
    ++activeRecorder->count;
  } else {
    QApplication::beep();
  }
}

BeepRecorder::BeepRecorder() : previous_(activeRecorder) {
  activeRecorder = this;
}

BeepRecorder::~BeepRecorder() {
  activeRecorder = previous_;
}

}  // namespace vornik
