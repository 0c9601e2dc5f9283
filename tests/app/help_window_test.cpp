#include "app/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "platform/fake_platform.h"

namespace vornik::test {
namespace {

TEST(HelpWindow, InstalledProgramShowsTheHelpPageOfItsInstall) {
  platform::FakePlatform fake;
  QTemporaryDir prefix;
  const QDir root(prefix.path());
  ASSERT_TRUE(root.mkpath("bin") && root.mkpath("share/vornik"));
  const QString installed = root.filePath("share/vornik/vornik.html");
  ASSERT_TRUE(QFile::copy(VORNIK_PROGRAM_DIR "/vornik.html", installed));
  fake.system.path = root.filePath("bin/vornik").toStdString();

  EXPECT_EQ(HelpFilePath(), installed);
  ShowHelp(nullptr, 1);
  QWidget* window = nullptr;
  for (QWidget* candidate : QApplication::topLevelWidgets())
    if (candidate->objectName() == "HelpWindow" && candidate->isVisible())
      window = candidate;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->findChild<QTextBrowser*>()->source().toLocalFile(), installed);
  QuitHelp();
  QApplication::processEvents();

  // Without a help page anywhere, the one beside the program is the one missing.
  ASSERT_TRUE(QFile::remove(installed));
  EXPECT_EQ(HelpFilePath(), root.filePath("bin/vornik.html"));
}

}  // namespace
}  // namespace vornik::test
