#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <algorithm>

namespace vornik {
namespace {

constexpr int kAnswerWaitMs = 1000;
const QByteArray kRaiseRequest = "raise\n";
// A Wayland compositor lets a window come forward only with a token from whoever launched
// the program (xdg-activation): the second copy hands its launcher's token on in a line
// before the request, and the first activates its window with it.
constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
const QByteArray kTokenLine = "activation-token ";
constexpr qsizetype kTokenMaxLength = 255;

// The user's private runtime folder, when there is one: no other user can put anything in it.
QString PrivateRuntimeFolder() {
  const QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
  struct stat info {};
  if (folder.isEmpty() || ::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      info.st_uid != getuid())
    return {};
  return QString::fromLocal8Bit(folder);
}

// Whether the process at the other end of `socket` runs as this user: in the shared
// temporary folder another user may have bound the name first, or may call in.
bool PeerIsThisUser(const QLocalSocket& socket) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == getuid();
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

// The request a second start sends: its activation token, when it was given one, then the
// request to come forward.
QByteArray RaiseRequest() {
  const QByteArray token = qgetenv(kActivationTokenVariable);
  if (token.isEmpty() || token.size() > kTokenMaxLength || token.contains('\n'))
    return kRaiseRequest;
  return kTokenLine + token + '\n' + kRaiseRequest;
}

// Makes the token a request carries the one the window's next activation uses. A token
// is printable ASCII; anything else leaves the environment as it is.
void TakeActivationToken(const QByteArray& request) {
  for (const QByteArray& line : request.split('\n')) {
    if (!line.startsWith(kTokenLine))
      continue;
    const QByteArray token = line.mid(kTokenLine.size());
    const bool printable =
        std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7F; });
    if (!token.isEmpty() && token.size() <= kTokenMaxLength && printable)
      qputenv(kActivationTokenVariable, token);
  }
}

}  // namespace

QString RunningCopyAddress(const QString& title) {
  const QByteArray display = QGuiApplication::platformName().toUtf8() + '\n' +
                             qgetenv("WAYLAND_DISPLAY") + '\n' + qgetenv("DISPLAY");
  const QByteArray hash =
      QCryptographicHash::hash(title.toUtf8() + '\n' + display, QCryptographicHash::Sha1);
  const QString name =
      QStringLiteral("vornik-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.toHex()));
  const QString runtime = PrivateRuntimeFolder();
  return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

bool RaiseRunningCopy(const QString& title) {
  QLocalSocket socket;
  socket.connectToServer(RunningCopyAddress(title));
  if (!socket.waitForConnected(kAnswerWaitMs) || !PeerIsThisUser(socket))
    return false;
  socket.write(RaiseRequest());
  socket.waitForBytesWritten(kAnswerWaitMs);
  socket.waitForReadyRead(kAnswerWaitMs);  // the first copy acknowledges once it acted
  return true;
}

RunningCopyBeacon::RunningCopyBeacon(const QString& title, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
  const QString name = RunningCopyAddress(title);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
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
    if (!PeerIsThisUser(*client)) {
      client->abort();
      client->deleteLater();
      continue;
    }
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, this, [this, client] {
      const QByteArray request = client->readAll();
      if (!request.contains(kRaiseRequest))
        return;
      TakeActivationToken(request);
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
