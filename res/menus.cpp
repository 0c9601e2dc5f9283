#include "res/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/lang_string.h"

namespace vornik::res {
namespace {

constexpr MenuItemTemplate kSeparator = {nullptr, 0, false, nullptr};

constexpr MenuItemTemplate kFile129[] = {
    {"Load Phonebook", kCmdLoadPhonebook, true, "IDM_LOAD_PBOOK"},
    {"Save Phonebook", kCmdSavePhonebook, true, "IDM_SAVE_PBOOK"},
    kSeparator,
    {"E&xit", kCmdExit, false, "IDM_EXIT"},
};

constexpr MenuItemTemplate kFile130[] = {
    {"Load Settings", kCmdLoadSettings, false, "IDM_LOAD_SETTINGS"},
    {"Save Settings", kCmdSaveSettings, false, "IDM_SAVE_SETTINGS"},
    kSeparator,
    {"Load Phonebook", kCmdLoadPhonebook, true, "IDM_LOAD_PBOOK"},
    {"Save Phonebook", kCmdSavePhonebook, true, "IDM_SAVE_PBOOK"},
    kSeparator,
    {"E&xit", kCmdExit, false, "IDM_EXIT"},
};

constexpr MenuItemTemplate kHelp[] = {
    {"&Contents", kCmdHelpContents, false, "IDM_HELP_CONTENTS"},
    kSeparator,
    {"About", kCmdAbout, false, "IDM_ABOUT"},
};

constexpr PopupTemplate kPopups129[] = {
    {"&File", "FILE_MENU", kFile129},
    {"&Help", "HELP_MENU", kHelp},
};

constexpr PopupTemplate kPopups130[] = {
    {"&File", "FILE_MENU", kFile130},
    {"&Help", "HELP_MENU", kHelp},
};

}  // namespace

const MenuTemplate kMenu129 = {129, kPopups129};
const MenuTemplate kMenu130 = {130, kPopups130};

const MenuTemplate* FindMenu(int id) {
  for (const MenuTemplate* menu : {&kMenu129, &kMenu130}) {
    if (menu->id == id) {
      return menu;
    }
  }
  return nullptr;
}

QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent) {
  auto* bar = new QMenuBar(parent);
  for (const PopupTemplate& popup : menu.popups) {
    QMenu* dropDown = bar->addMenu(QString::fromLatin1(popup.title));
    for (const MenuItemTemplate& item : popup.items) {
      if (item.text == nullptr) {
        dropDown->addSeparator();
        continue;
      }
      QAction* action = dropDown->addAction(QString::fromLatin1(item.text));
      action->setData(item.command);
      action->setEnabled(!item.grayed);
    }
  }
  return bar;
}

QAction* FindMenuCommand(const QMenuBar* bar, int command) {
  for (QAction* title : bar->actions()) {
    if (title->menu() == nullptr) {
      continue;
    }
    for (QAction* action : title->menu()->actions()) {
      if (!action->isSeparator() && action->data().toInt() == command) {
        return action;
      }
    }
  }
  return nullptr;
}

void LocalizeMenuBar(QMenuBar* bar) {
  const QList<QAction*> titles = bar->actions();
  const auto& popups = kMenu129.popups;
  for (qsizetype i = 0; i < titles.size() && i < static_cast<qsizetype>(popups.size()); ++i) {
    titles[i]->setText(LangString(kMenuSection, popups[i].langKey));
  }
  // Every command of both layouts, so the bar gets its texts whichever layout it has.
  for (const MenuTemplate* menu : {&kMenu130, &kMenu129}) {
    for (const PopupTemplate& popup : menu->popups) {
      for (const MenuItemTemplate& item : popup.items) {
        if (item.text == nullptr) {
          continue;
        }
        if (QAction* action = FindMenuCommand(bar, item.command)) {
          action->setText(LangString(kMenuSection, item.langKey));
        }
      }
    }
  }
}

}  // namespace vornik::res
