// The menu resources: 129, the main window's menu bar, and 130, the same menus with the
// settings-file commands at the top of the File menu (no window attaches it).
#pragma once

#include <span>

class QAction;
class QMenuBar;
class QWidget;

namespace vornik::res {

// Command identifiers of the menu items.
inline constexpr int kCmdLoadPhonebook = 40008;
inline constexpr int kCmdSavePhonebook = 40009;
inline constexpr int kCmdAbout = 40010;
inline constexpr int kCmdLoadSettings = 40011;
inline constexpr int kCmdSaveSettings = 40012;
inline constexpr int kCmdExit = 32771;
inline constexpr int kCmdHelpContents = 32772;

// The language section of the menu texts.
inline constexpr const char* kMenuSection = "MENU";

struct MenuItemTemplate {
  const char* text;  // null: a separator
  int command;
  bool grayed;
  const char* langKey;
};

struct PopupTemplate {
  const char* title;
  const char* langKey;
  std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
  int id;
  std::span<const PopupTemplate> popups;
};

extern const MenuTemplate kMenu129;
extern const MenuTemplate kMenu130;

// The menu resource with `id`, or null.
const MenuTemplate* FindMenu(int id);

// A menu bar with the template's menus and items; each item's action carries its command
// identifier as its data (find it with `FindMenuCommand`), grayed items are disabled.
QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent);

// The item of `command` anywhere in the bar, or null when the bar has none.
QAction* FindMenuCommand(const QMenuBar* bar, int command);

// Sets the menu titles by position (the File and Help keys, drop-down menus left in place)
// and the item texts by command from section "MENU"; an item the bar lacks is skipped.
void LocalizeMenuBar(QMenuBar* bar);

}  // namespace vornik::res
