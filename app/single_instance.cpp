#include "app/single_instance.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace vornik {
namespace {

constexpr int kAnswerWaitMs = 1000;
const QByteArray kRaiseRequest = "raise\n";

// One name per user, display and title: the same user's panel on another display is
// another panel. Title and display are hashed since they may hold any character.
QString ServerName(const QString& title) {
  const QByteArray display = QGuiApplication::platformName().toUtf8() + '\n' +
                             qgetenv("WAYLAND_DISPLAY") + '\n' + qgetenv("DISPLAY");
  const QByteArray hash =
      QCryptographicHash::hash(title.toUtf8() + '\n' + display, QCryptographicHash::Sha1);
  return QStringLiteral("vornik-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.toHex()));
}

// What this copy shows at the moment: its modal box or dialog, else its window.
QWidget* ShownWindow() {
  if (QWidget* modal = QApplication::activeModalWidget())
    return modal;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() || window->isMinimized())
      return window;
  }
  return nullptr;
}

}  // namespace

bool RaiseRunningCopy(const QString& title) {
  QLocalSocket socket;
  socket.connectToServer(ServerName(title));
  if (!socket.waitForConnected(kAnswerWaitMs))
    return false;
  socket.write(kRaiseRequest);
  socket.waitForBytesWritten(kAnswerWaitMs);
  socket.waitForReadyRead(kAnswerWaitMs);  // the first copy acknowledges once it acted
  return true;
}

RunningCopyBeacon::RunningCopyBeacon(const QString& title, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
  const QString name = ServerName(title);
  if (!server_->listen(name)) {
    // Nobody answered under this name just before: the socket is left over from a copy
    // that ended without cleaning up.
    QLocalServer::removeServer(name);
    server_->listen(name);
  }
  connect(server_, &QLocalServer::newConnection, this, &RunningCopyBeacon::onRequest);
}

void RunningCopyBeacon::onRequest() {
  while (QLocalSocket* client = server_->nextPendingConnection()) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, this, [this, client] {
      if (!client->readAll().contains(kRaiseRequest))
        return;
      if (QWidget* window = ShownWindow()) {
        if (window->isMinimized()) {
          window->showNormal();
        } else {
          window->raise();
          window->activateWindow();
        }
      }
      client->write("ok\n");
    });
  }
}

}  // namespace vornik
