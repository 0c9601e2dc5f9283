#include "phonebook/phonebook_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>

#include "link/machine_state.h"
#include "phonebook/edit_phonebook_dialog.h"
#include "phonebook/group_dial_dialog.h"
#include "phonebook/phonebook_controls.h"
#include "phonebook/phonebook_edits.h"
#include "phonebook/phonebook_transfer.h"
#include "platform/platform.h"
#include "res/ids_phonebook.h"
#include "res/templates.h"
#include "ui/ask_user.h"
#include "ui/beep.h"
#include "ui/lang_string.h"
#include "ui/not_responding.h"
#include "ui/page_command.h"
#include "ui/window_waits.h"

namespace vornik {
namespace {

namespace ids = res::phonebook_ids;

constexpr int kNameColumnWidth = 150;

}  // namespace

CPhonebook::CPhonebook(QWidget* parent) : TemplatePage(res::kTemplate115, parent) {}

void CPhonebook::onSetActive() {
  active_ = true;
  emit phonebookMenuEnabled(true, recordLoaded());
}

void CPhonebook::onKillActive() {
  active_ = false;
  emit phonebookMenuEnabled(false, false);
}

void CPhonebook::markPhonebookLoaded() {
  setRecordLoaded(true);
  if (active_)
    emit phonebookMenuEnabled(true, true);
}

void CPhonebook::onInitDialog() {
  setSendButton(button(ids::kWrite));
  firstRead();

  auto* speedDials = controls().find<QRadioButton>(ids::kSpeedDialType);
  speedDials->setText(QStringLiteral("%1 ( 0 ~ %2 )")
                          .arg(LangString("PHONEBOOK", "IDC_SPEED_DIAL_2"),
                               QString::number(int(MachineState.SpeedDialCount) - 1)));
  speedDials->show();

  QTreeWidget* entries = list();
  const int numberWidth = entries->contentsRect().width() -
                          entries->style()->pixelMetric(QStyle::PM_ScrollBarExtent) -
                          (kNoColumnWidth + kNameColumnWidth);
  AddEntryColumns(entries, kNameColumnWidth, numberWidth);

  connect(speedDials->group(), &QButtonGroup::idClicked, this, &CPhonebook::chooseType);
  connect(entries, &QTreeWidget::itemSelectionChanged, this, &CPhonebook::updateButtons);
  entries->viewport()->installEventFilter(this);
  entries->installEventFilter(this);
  connect(button(ids::kRead), &QPushButton::clicked, this, [this] {
    if (mayReplaceEdits())
      readFromDevice();
  });
  connect(button(ids::kWrite), &QPushButton::clicked, this, &CPhonebook::writeToDevice);
  connect(button(ids::kEdit), &QPushButton::clicked, this, &CPhonebook::editEntry);
  connect(button(ids::kDelete), &QPushButton::clicked, this, &CPhonebook::deleteEntry);
  connect(button(ids::kDeleteAll), &QPushButton::clicked, this, &CPhonebook::deleteAllEntries);
  connect(button(ids::kGroupDial), &QPushButton::clicked, this, &CPhonebook::composeGroupDial);

  speedDials->setChecked(true);
  chooseType(ids::kSpeedDialType);
}

// Unlike the page commands, the first read pauses before the command, not after it.
void CPhonebook::firstRead() {
  PageCommandScope running;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  platform::SleepInSlices(kPhonebookFirstReadPauseMs);
  const bool read = Mfp_GetPhonebook() != 0;
  QApplication::restoreOverrideCursor();
  if (!read) {
    ShowNotResponding(window());
    return;
  }
  RebuildReferenceCounts();
  markPhonebookLoaded();
}

QTreeWidget* CPhonebook::list() const {
  return controls().find<QTreeWidget>(ids::kEntryList);
}

QPushButton* CPhonebook::button(int id) const {
  return controls().find<QPushButton>(id);
}

int CPhonebook::selectedEntry() const {
  const QList<QTreeWidgetItem*> selected = list()->selectedItems();
  if (selected.isEmpty())
    return -1;
  return range_.first + list()->indexOfTopLevelItem(selected.first());
}

void CPhonebook::chooseType(int typeButtonId) {
  range_ = DialTypeRange(typeButtonId == ids::kOneTouchType);
  refill();
}

void CPhonebook::refill() {
  QTreeWidget* entries = list();
  entries->clear();
  const int shown = std::min<int>(range_.end, int(PhonebookStore.entries.size())) - range_.first;
  for (int row = 0; row < shown; ++row) {
    entries->addTopLevelItem(new QTreeWidgetItem);
    showRow(row);
  }
  if (QTreeWidgetItem* first = entries->topLevelItem(0))
    entries->setCurrentItem(first);
}

void CPhonebook::refillList() {
  if (initialized())
    refill();
  markPhonebookLoaded();
}

void CPhonebook::showRow(int row) {
  ShowEntryInRow(list()->topLevelItem(row), QString::asprintf("%3d", row),
                 PhonebookStore.entries.at(size_t(range_.first + row)));
}

void CPhonebook::updateButtons() {
  const int index = selectedEntry();
  if (index < 0)
    return;
  const EntryButtonStates states = ButtonStatesFor(PhonebookStore.entries.at(size_t(index)));
  if (states.edit)
    button(ids::kEdit)->setEnabled(*states.edit);
  if (states.groupDial)
    button(ids::kGroupDial)->setEnabled(*states.groupDial);
}

void CPhonebook::readFromDevice() {
  if (!RunPageCommand(Mfp_GetPhonebook, window()))
    return;
  RebuildReferenceCounts();
  refill();
  markPhonebookLoaded();
}

bool CPhonebook::writeToDevice() {
  return sendRecord(Mfp_SetPhonebook);
}

void CPhonebook::editEntry() {
  const int index = selectedEntry();
  if (index < 0 || PhonebookStore.entries.at(size_t(index)).groupFlag != 0) {
    Beep();
    return;
  }
  CEditPhonebook dialog(index, window());
  if (dialog.exec() == QDialog::Accepted) {
    StoreEntryTexts(PhonebookStore.entries.at(size_t(index)), dialog.name(), dialog.number());
    markEdited();
    showRow(index - range_.first);
    updateButtons();
  }
  list()->setFocus();
}

void CPhonebook::composeGroupDial() {
  const int index = selectedEntry();
  if (index < 0) {
    Beep();
    return;
  }
  const PhonebookEntry& entry = PhonebookStore.entries.at(size_t(index));
  CGroupDial dialog(EntryName(entry), entry.dialData, window());
  if (dialog.exec() == QDialog::Accepted) {
    StoreGroupDial(index, dialog.name(), dialog.memberSet());
    markEdited();
    showRow(index - range_.first);
    updateButtons();
  }
  list()->setFocus();
}

void CPhonebook::deleteEntry() {
  const int index = selectedEntry();
  if (index < 0 || !DeletePhonebookEntry(index)) {
    Beep();
    return;
  }
  markEdited();
  showRow(index - range_.first);
  updateButtons();
  list()->setFocus();
}

void CPhonebook::deleteAllEntries() {
  if (AskUser(window(), "DeleteAllQuestion", LangString("PHONEBOOK", "IDS_DELETE_ALL_QUESTION"),
              {LangString("PHONEBOOK", "IDC_DELETE_ALL_YES"),
               LangString("PHONEBOOK", "IDC_KEEP_ENTRIES")}) != 0)
    return;
  const int kept = DeleteAllPhonebookEntries();
  markEdited();
  refill();
  if (kept > 0)
    TellUser(window(), LangString("PHONEBOOK", "IDS_ENTRIES_KEPT") + QLatin1Char(' ') +
                           QString::number(kept));
}

void CPhonebook::openSelected() {
  const int index = selectedEntry();
  if (index < 0)
    Beep();
  else if (PhonebookStore.entries.at(size_t(index)).groupFlag != 0)
    composeGroupDial();
  else
    editEntry();
}

bool CPhonebook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && list() != nullptr &&
      watched == list()->viewport()) {
    openSelected();
    return true;
  }
  // From the keyboard, Enter opens the chosen entry as a double click does, and Delete
  // deletes it as the Delete button does.
  if (event->type() == QEvent::KeyPress && list() != nullptr && watched == list()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          openSelected();
          return true;
        case Qt::Key_Delete:
          deleteEntry();
          return true;
      }
    }
  }
  return TemplatePage::eventFilter(watched, event);
}

}  // namespace vornik
