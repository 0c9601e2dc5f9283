#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "app/single_instance.h"

namespace vornik {
namespace {

TEST(SingleInstance, ASecondStartFindsTheFirstByItsTitleAndRestoresIt) {
  QWidget first;
  first.setWindowTitle(QStringLiteral("Helmdeck test copy"));
  RunningCopyBeacon beacon(&first, first.windowTitle());
  first.showMinimized();
  QApplication::processEvents();

  // The answer needs the first copy's event loop, which runs after the call here.
  EXPECT_TRUE(RaiseRunningCopy(QStringLiteral("Helmdeck test copy")));
  QTRY_VERIFY(!first.isMinimized());
  EXPECT_TRUE(first.isVisible());

  // A copy whose window carries another title is not found.
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("Remote Control Panel test copy")));
}

TEST(SingleInstance, NoCopyRunningFindsNothing) {
  EXPECT_FALSE(RaiseRunningCopy(QStringLiteral("no such vornik window")));
}

}  // namespace
}  // namespace vornik
