#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cstring>

#include "app/single_instance.h"

namespace vornik {
namespace {

// The beacon is up before the copy shows anything; a second start on the same display
// brings forward whatever the first shows, and a start on another display is another panel.
TEST(SingleInstance, ASecondStartOnTheSameDisplayRaisesWhatTheFirstShows) {
  const QString title = QStringLiteral("Helmdeck test copy");
  RunningCopyBeacon beacon(title);
  QWidget first;
  first.showMinimized();
  QApplication::processEvents();

  // The answer needs the first copy's event loop, which runs after the call here.
  EXPECT_TRUE(RaiseRunningCopy(title));
  EXPECT_TRUE(QTest::qWaitFor([&first] { return !first.isMinimized(); }));
  EXPECT_TRUE(first.isVisible());

  const QByteArray display = qgetenv("DISPLAY");
  qputenv("DISPLAY", display + ".other");
  EXPECT_FALSE(RaiseRunningCopy(title));
  qputenv("DISPLAY", display);
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("Remote Control Panel test copy")));
}

// A second start hands its launcher's activation token on: the first copy's window comes
// forward with it where the compositor asks for one. A token too long is not taken.
TEST(SingleInstance, TheSecondStartsActivationTokenReachesTheFirstCopy) {
  const QString title = QStringLiteral("Helmdeck token copy");
  RunningCopyBeacon beacon(title);
  QWidget first;
  first.show();
  const QByteArray tooLong(256, 'x');
  for (const auto& [given, taken] :
       {std::pair<QByteArray, QByteArray>{"launcher:1_a", "launcher:1_a"},
        std::pair<QByteArray, QByteArray>{tooLong, ""}}) {
    qputenv("XDG_ACTIVATION_TOKEN", given);
    EXPECT_TRUE(RaiseRunningCopy(title));
    qunsetenv("XDG_ACTIVATION_TOKEN");
    // The first copy's answer runs in its event loop, after the call here.
    QTest::qWait(100);
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN").toStdString(), taken.toStdString());
  }
}

// Another user that binds the copy's name first in the shared temporary folder, and answers
// every call, is no running copy; with a private runtime folder the name lies out of reach.
TEST(SingleInstance, AnotherUsersSocketIsNoRunningCopy) {
  if (geteuid() != 0)
    GTEST_SKIP() << "another user is needed";
  const QString title = QStringLiteral("Helmdeck squatted copy");
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const QString path = QDir(QDir::tempPath()).filePath(RunningCopyAddress(title));
  ASSERT_TRUE(QFileInfo(RunningCopyAddress(title)).isRelative());
  QFile::remove(path);
  const pid_t squatter = fork();
  if (squatter == 0) {
    alarm(10);
    if (setgid(65534) != 0 || setuid(65534) != 0)
      _exit(1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof address.sun_path - 1);
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        chmod(address.sun_path, 0777) != 0 || listen(server, 4) != 0)
      _exit(1);
    for (;;) {
      const int caller = accept(server, nullptr, nullptr);
      char request[16];
      if (read(caller, request, sizeof request) > 0 && write(caller, "ok\n", 3) != 3)
        _exit(1);
      close(caller);
    }
  }
  ASSERT_GT(squatter, 0);
  ASSERT_TRUE(QTest::qWaitFor([&path] { return QFileInfo::exists(path); }));
  EXPECT_FALSE(RaiseRunningCopy(title));
  kill(squatter, SIGKILL);
  waitpid(squatter, nullptr, 0);
  QFile::remove(path);

  QTemporaryDir own;
  chmod(QFile::encodeName(own.path()).constData(), 0700);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.path()));
  EXPECT_EQ(QFileInfo(RunningCopyAddress(title)).absolutePath(), own.path());
  {
    RunningCopyBeacon beacon(title);
    EXPECT_TRUE(QFileInfo::exists(RunningCopyAddress(title)));
    EXPECT_TRUE(RaiseRunningCopy(title));
  }
  if (runtime.isEmpty())
    qunsetenv("XDG_RUNTIME_DIR");
  else
    qputenv("XDG_RUNTIME_DIR", runtime);
}

TEST(SingleInstance, NoCopyRunningFindsNothing) {
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("no such vornik window")));
}

}  // namespace
}  // namespace vornik
