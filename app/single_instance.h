// The single-instance rule across processes. A running panel is known by the application
// title, on its user's display: from the start of start-up it publishes a local socket named
// after the title, the user and the display, and a second copy that finds that socket asks
// the first to come forward.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace vornik {

// Where a copy published under `title` listens: a socket named after the title, the user and
// the display, in the user's private runtime folder ($XDG_RUNTIME_DIR), else in the
// temporary folder.
QString RunningCopyAddress(const QString& title);

// Asks a running copy published under `title` on this user's display to come forward.
// True when such a copy of this user answered; a socket of another user's is no copy.
bool RaiseRunningCopy(const QString& title);

// Publishes this copy under `title` for as long as the object lives. Asked to come forward,
// it brings up what the copy shows at that moment: a start-up box, the main window (restored
// when minimized) or a dialog over it. Only this user's processes are heard.
class RunningCopyBeacon : public QObject {
  Q_OBJECT

 public:
  explicit RunningCopyBeacon(const QString& title, QObject* parent = nullptr);

 private:
  void onRequest();

  QLocalServer* server_;
};

}  // namespace vornik
