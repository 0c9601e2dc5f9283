// The single-instance rule across processes. A running panel is known by its main window's
// title: the main window publishes a local socket named after its title, and a second copy
// that finds a socket under the title it looks for asks the first to come forward.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace vornik {

// Asks a running copy whose main window has `title` to come forward (restored when
// minimized, else brought to the front). True when such a copy answered.
bool RaiseRunningCopy(const QString& title);

// Publishes `window` under its title for as long as this object lives.
class RunningCopyBeacon : public QObject {
  Q_OBJECT

 public:
  RunningCopyBeacon(QWidget* window, const QString& title);

 private:
  void onRequest();

  QWidget* window_;
  QLocalServer* server_;
};

}  // namespace vornik
