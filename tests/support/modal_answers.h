// Answers the modal windows a window test opens, as soon as they show: message boxes are
// closed (and counted, with a look at each first), questions answered, file dialogs choose a
// prepared file.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace vornik::test {

class BoxCloser {
 public:
  // `onShown` sees each box before it is closed. A question (a box named "...Question") is
  // answered with the button named in `answers` for it (its text without '&'), else with its
  // default button; it is not counted in `shown` and `onShown` does not see it.
  explicit BoxCloser(std::function<void(QMessageBox&)> onShown = {}) {
    QObject::connect(&timer_, &QTimer::timeout, [this, onShown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr)
        return;
      if (box->objectName().endsWith(QLatin1String("Question"))) {
        questions.append(box->objectName() + QLatin1Char(':') + box->text());
        QAbstractButton* answer = box->defaultButton();
        for (QAbstractButton* button : box->buttons()) {
          if (button->text().remove(QLatin1Char('&')) == answers.value(box->objectName()))
            answer = button;
        }
        answer->click();
        return;
      }
      ++shown;
      told.append(box->text());
      if (onShown)
        onShown(*box);
      box->accept();
    });
    timer_.start(1);
  }
  int shown = 0;
  QStringList told;                // the text of every box closed, in order
  QMap<QString, QString> answers;  // question's object name to the button to press
  QStringList questions;           // "name:text" of every question asked, in order

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
