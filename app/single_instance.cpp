#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace vornik {
namespace {

constexpr int kAnswerWaitMs = 1000;
const QByteArray kRaiseRequest = "raise\n";

// One name per user and title; the title is hashed since it may hold any character.
QString ServerName(const QString& title) {
  const QByteArray hash = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("vornik-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.toHex()));
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

RunningCopyBeacon::RunningCopyBeacon(QWidget* window, const QString& title)
    : QObject(window), window_(window), server_(new QLocalServer(this)) {
  const QString name = ServerName(title);
  if (!server_->listen(name)) {
    // Nobody answered under this name before the window was made: the socket is left over
    // from a copy that ended without cleaning up.
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
      if (window_->isMinimized()) {
        window_->showNormal();
      } else {
        window_->raise();
        window_->activateWindow();
      }
      client->write("ok\n");
    });
  }
}

}  // namespace vornik
