// Answers the modal windows a window test opens, as soon as they show: message boxes are
// closed (and counted, with a look at each first), file dialogs choose a prepared file.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace vornik::test {

class BoxCloser {
 public:
  // `onShown` sees each box before it is closed.
  explicit BoxCloser(std::function<void(QMessageBox&)> onShown = {}) {
    QObject::connect(&timer_, &QTimer::timeout, [this, onShown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ++shown;
        if (onShown)
          onShown(*box);
        box->accept();
      }
    });
    timer_.start(1);
  }
  int shown = 0;

 private:
  QTimer timer_;
};

// Chooses `path` in the next file dialog (an empty path cancels it).
class FileChooser {
 public:
  explicit FileChooser(const QString& path) {
    QObject::connect(&timer_, &QTimer::timeout, [this, path] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        if (path.isEmpty()) {
          dialog->reject();
        } else {
          dialog->selectFile(path);
          static_cast<QDialog*>(dialog)->accept();  // checks the choice, as OK does
        }
      }
    });
    timer_.start(1);
  }

 private:
  QTimer timer_;
};

}  // namespace vornik::test
