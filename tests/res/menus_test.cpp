#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "../lang/lang_fixture.h"
#include "res/menus.h"

namespace vornik::res {
namespace {

QStringList Texts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return texts;
}

TEST(MenuBar, MainMenuHasItsItemsWithPhonebookCommandsGrayed) {
  QMenuBar* bar = BuildMenuBar(kMenu129, nullptr);
  const QList<QAction*> titles = bar->actions();
  ASSERT_EQ(titles.size(), 2);
  EXPECT_EQ(titles[0]->text(), QStringLiteral("&File"));
  EXPECT_EQ(titles[1]->text(), QStringLiteral("&Help"));
  EXPECT_EQ(Texts(titles[0]->menu()),
            QStringList({"Load Phonebook", "Save Phonebook", "-", "E&xit"}));
  EXPECT_EQ(Texts(titles[1]->menu()), QStringList({"&Contents", "-", "About"}));
  EXPECT_FALSE(FindMenuCommand(bar, kCmdLoadPhonebook)->isEnabled());
  EXPECT_FALSE(FindMenuCommand(bar, kCmdSavePhonebook)->isEnabled());
  EXPECT_TRUE(FindMenuCommand(bar, kCmdExit)->isEnabled());
  EXPECT_EQ(FindMenuCommand(bar, kCmdAbout)->text(), QStringLiteral("About"));
  EXPECT_EQ(FindMenuCommand(bar, kCmdHelpContents)->data().toInt(), 32772);
  EXPECT_EQ(FindMenuCommand(bar, kCmdLoadSettings), nullptr);
  delete bar;
}

TEST(MenuBar, SecondLayoutStartsWithTheSettingsCommands) {
  QMenuBar* bar = BuildMenuBar(*FindMenu(130), nullptr);
  EXPECT_EQ(Texts(bar->actions()[0]->menu()),
            QStringList({"Load Settings", "Save Settings", "-", "Load Phonebook", "Save Phonebook",
                         "-", "E&xit"}));
  EXPECT_EQ(FindMenu(131), nullptr);
  delete bar;
}

class MenuLocalization : public test::LangFileTest {};

TEST_F(MenuLocalization, TitlesByPositionAndItemsByCommand) {
  useLanguageFile(
      "[MENU]\nFILE_MENU=&Datei\nHELP_MENU=&Hilfe\nIDM_LOAD_PBOOK=Telefonbuch laden\n"
      "IDM_EXIT=&Beenden\nIDM_ABOUT=Info\nIDM_LOAD_SETTINGS=Einstellungen laden\n");
  QMenuBar* bar = BuildMenuBar(kMenu129, nullptr);
  QMenu* file = bar->actions()[0]->menu();
  LocalizeMenuBar(bar);
  EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("&Datei"));
  EXPECT_EQ(bar->actions()[0]->menu(), file);
  EXPECT_EQ(bar->actions()[1]->text(), QStringLiteral("&Hilfe"));
  EXPECT_EQ(Texts(file), QStringList({"Telefonbuch laden", "", "-", "&Beenden"}));
  EXPECT_EQ(Texts(bar->actions()[1]->menu()), QStringList({"", "-", "Info"}));
  EXPECT_FALSE(FindMenuCommand(bar, kCmdLoadPhonebook)->isEnabled());
  delete bar;

  QMenuBar* settings = BuildMenuBar(kMenu130, nullptr);
  LocalizeMenuBar(settings);
  EXPECT_EQ(FindMenuCommand(settings, kCmdLoadSettings)->text(),
            QStringLiteral("Einstellungen laden"));
  delete settings;
}

}  // namespace
}  // namespace vornik::res
