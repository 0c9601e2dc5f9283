#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

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
  QTRY_VERIFY(!first.isMinimized());
  EXPECT_TRUE(first.isVisible());

  const QByteArray display = qgetenv("DISPLAY");
  qputenv("DISPLAY", display + ".other");
  EXPECT_FALSE(RaiseRunningCopy(title));
  qputenv("DISPLAY", display);
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("Remote Control Panel test copy")));
}

TEST(SingleInstance, NoCopyRunningFindsNothing) {
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("no such vornik window")));
}

}  // namespace
}  // namespace vornik
