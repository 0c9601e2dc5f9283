#include "ui/window_waits.h"

#include <QCoreApplication>

namespace vornik {

void AnswerDesktop() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PageCommandActivity::end() {
  if (--depth_ == 0)
    emit ended();
}

PageCommandActivity& PageCommands() {
  static PageCommandActivity activity;
  return activity;
}

}  // namespace vornik
