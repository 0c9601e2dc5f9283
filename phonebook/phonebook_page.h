// `CPhonebook`: the Phonebook page (template 115, section "PHONEBOOK"): the speed dials and
// group dials of `PhonebookStore` as a list. Read and Write move the whole phonebook;
// Edit, Group dial... (or a double-click), Delete and Delete All change the store in
// memory. The File menu's phonebook commands are usable only while the page is shown.
#pragma once

#include <cstdint>

#include "phonebook/phonebook_edits.h"
#include "ui/template_page.h"

class QPushButton;
class QTreeWidget;

namespace vornik {

// The device is given this long after the page opens before its phonebook is read.
inline constexpr uint32_t kPhonebookFirstReadPauseMs = 1500;

class CPhonebook : public TemplatePage {
  Q_OBJECT

 public:
  explicit CPhonebook(QWidget* parent = nullptr);

  void onSetActive() override;
  void onKillActive() override;

  // After the File menu loaded a phonebook file into the store: shows the store again and
  // enables Write and Save Phonebook, since the store now holds a real phonebook. The caller then
  // rebuilds `ReferenceCounts` (`RebuildReferenceCounts`). Before the page first opened there is no
  // list yet; only Write's state is kept for it.
  void refillList();

  // Read: the whole phonebook from the device; on success the counts are rebuilt and the
  // list refilled, on failure the not-responding box, the list as it was.
  void readFromDevice();
  // Write: the whole store to the device. Disabled until the store came from the device
  // or a file, so a failed first read never empties the device's phonebook.
  bool writeToDevice();
  bool sendEdits() override { return writeToDevice(); }
  // Edit: the entry dialog for the selected row; its texts are stored on OK. A group has no
  // number to edit: it is refused with a beep.
  void editEntry();
  // Group dial...: the group dial dialog for the selected row; its result is stored on OK.
  void composeGroupDial();
  // Delete: empties the selected entry; beeps when nothing is selected or the entry is held.
  void deleteEntry();
  // Delete All: once the person confirmed, empties every entry nothing holds; one box then
  // says how many entries were kept, and why.
  void deleteAllEntries();

  QTreeWidget* list() const;
  // The store index of the selected row; -1 when no row is selected.
  int selectedEntry() const;

 signals:
  // The File menu's phonebook items are to be enabled or grayed: both only while the page
  // is shown, and Save Phonebook only once the store holds a phonebook from the device or a
  // file, so a failed read never saves an empty phonebook over a backup. The main window
  // connects this to `EnablePhonebookMenu`.
  void phonebookMenuEnabled(bool load, bool save);

 protected:
  void onInitDialog() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void firstRead();
  // The store holds a real phonebook: Write and Save Phonebook are offered from now on.
  void markPhonebookLoaded();
  void chooseType(int typeButtonId);
  void refill();
  void showRow(int row);
  // Edit and Group dial... follow the selected entry.
  void updateButtons();
  // A double-click on the list: the dialog that fits the selected entry.
  void openSelected();
  QPushButton* button(int id) const;

  StoreRange range_;
  bool active_ = false;  // the page is the one shown
};

}  // namespace vornik
