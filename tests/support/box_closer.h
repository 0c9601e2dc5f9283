// Closes every message box as soon as it is shown, counting them: a page test's
// not-responding boxes never block it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace vornik::test {

class BoxCloser {
 public:
  BoxCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ++shown;
        box->accept();
      }
    });
    timer_.start(1);
  }
  int shown = 0;

 private:
  QTimer timer_;
};

}  // namespace vornik::test
