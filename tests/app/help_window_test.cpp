#include "app/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "lang/lang_text.h"
#include "lang/language_choice.h"
#include "platform/fake_platform.h"
#include "tests/support/scoped_env.h"

namespace vornik::test {
namespace {

QWidget* ShownHelpWindow() {
  for (QWidget* candidate : QApplication::topLevelWidgets())
    if (candidate->objectName() == "HelpWindow" && candidate->isVisible())
      return candidate;
  return nullptr;
}

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
  QWidget* window = ShownHelpWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->findChild<QTextBrowser*>()->source().toLocalFile(), installed);
  QuitHelp();
  QApplication::processEvents();

  // Without a help page anywhere, the one beside the program is the one missing.
  ASSERT_TRUE(QFile::remove(installed));
  EXPECT_EQ(HelpFilePath(), root.filePath("bin/vornik.html"));
}

TEST(HelpWindow, HelpPageSpeaksTheLanguageOfTheTexts) {
  platform::FakePlatform fake;
  QTemporaryDir folder;
  const QDir dir(folder.path());
  for (const char* page : {"vornik.html", "vornik.de.html", "vornik.fr.html", "vornik.es.html"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORNIK_PROGRAM_DIR "/") + page, dir.filePath(page)));
  for (const char* file : {"english.lng", "german.lng", "french.lng", "spanish.lng"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORNIK_PROGRAM_DIR "/") + file, dir.filePath(file)));
  fake.system.path = dir.filePath("vornik").toStdString();
  const struct {
    const char* forced;
    const char* page;
    const char* title;
  } cases[] = {{"de", "vornik.de.html", "Hilfe"},
               {"fr", "vornik.fr.html", "Aide"},
               {"es", "vornik.es.html", "Ayuda"},
               {"en", "vornik.html", "Help"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.forced);
    ScopedEnv forced(kLanguageOverrideVariable, c.forced);
    ChooseLanguageFile();
    EXPECT_EQ(HelpFilePath(), dir.filePath(c.page));
    ShowHelp(nullptr, 1);
    QWidget* window = ShownHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowTitle().contains(QString::fromUtf8(c.title)))
        << window->windowTitle().toStdString();
    QuitHelp();
    QApplication::processEvents();
  }

  // A language without its own page, and a language file of the user's own, get English.
  ASSERT_TRUE(QFile::remove(dir.filePath("vornik.fr.html")));
  ScopedEnv forced(kLanguageOverrideVariable, "fr");
  ChooseLanguageFile();
  EXPECT_EQ(HelpFilePath(), dir.filePath("vornik.html"));
  ChosenLanguage = nullptr;
  EXPECT_EQ(HelpFilePath(), dir.filePath("vornik.html"));
  LanguageFilePath.clear();
}

}  // namespace
}  // namespace vornik::test
