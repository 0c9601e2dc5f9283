// `CMainPanel`: the program's only top-level window (template 102): the tabbed pages in
// `PageSheet`, the File and Help menus, and the Exit and Help buttons.
#pragma once

#include <QDialog>
#include <QIcon>

#include <optional>

#include "res/dialog_builder.h"

class QMenuBar;

namespace vornik {

class CAdvanced;
class CFwUp;
class CInfo;
class CPhonebook;
class CSettings;
class ImageButton;
class PageSheetWidget;

// The page objects, reachable by the File menu commands while the main window exists.
extern CSettings* SettingsPage;
extern CAdvanced* AdvancedPage;
extern CPhonebook* PhonebookPage;
extern CInfo* InfoPage;
extern CFwUp* FwUpPage;

// The sheet that holds the pages; it exists while the main window does.
extern PageSheetWidget* PageSheet;

// The help topic that every help command opens.
inline constexpr int kHelpContext = 1;

class CMainPanel : public QDialog {
  Q_OBJECT

 public:
  explicit CMainPanel(QWidget* parent = nullptr);
  ~CMainPanel() override;

  QMenuBar* menuBar() const { return controls_.menuBar(); }
  ImageButton* exitButton() const { return exitButton_; }
  ImageButton* helpButton() const { return helpButton_; }

  // The measures the window was sized from: the sheet's client size, the dialog font's
  // height, the menu bar's and the caption's heights.
  struct Measures {
    int sheetWidth, sheetHeight, fontHeight, menuBarHeight, captionHeight;
  };
  const Measures& measures() const { return measures_; }

  void OnExit();
  void OnHelp();
  void OnAbout();
  // The File menu (file_commands.cpp): each asks for a file, reads or writes it, shows what
  // it changed, and says in a box when the file could not be read or written.
  void OnLoadPhonebook();
  void OnSavePhonebook();
  void OnLoadSettings();
  void OnSaveSettings();
  // The close box and Escape.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // While a firmware update runs the panel stays open and on its page: closing it then
  // would leave the device with part of an image.
  bool refusedWhileUpdating() const;
  void holdForUpdate(bool running);
  // A close asked for while a page command runs is noted and carried out when the command
  // ends, never halfway through a transfer; true when it was noted.
  bool closeAfterCommand(DialogCode result);
  // Exit and the close box: the panel ends with `result` unless an update runs, a command
  // runs (then it ends after it), or the person keeps it open for unsent edits.
  void closeAsked(DialogCode result);
  // With unsent edits on any page, asks once whether to send them first, close without
  // sending, or stay; true when the panel may close (after sending, only when every page's
  // command succeeded).
  bool unsentEditsLetClose();
  void createPages();
  void fitToSheet();
  void localize();
  void routeMenuCommands();

  res::DialogControls controls_;
  ImageButton* helpButton_ = nullptr;
  ImageButton* exitButton_ = nullptr;
  QIcon windowIcon_;
  PageSheetWidget* sheet_ = nullptr;
  Measures measures_{};
  std::optional<DialogCode> closeWhenCommandEnds_;
};

// The main window of the running program, or null.
CMainPanel* MainPanel();

// Enables (true) or grays (false) File > Load Phonebook and File > Save Phonebook of the
// main window's menu, each on its own.
void EnablePhonebookMenu(bool load, bool save);

}  // namespace vornik
