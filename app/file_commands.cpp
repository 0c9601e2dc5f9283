// The File menu's commands of `CMainPanel`: the phonebook file and the settings file.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <vector>

#include "app/main_panel.h"
#include "link/machine_state.h"
#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_page.h"
#include "settings/advanced_page.h"
#include "settings/advanced_page_values.h"
#include "settings/advanced_setup.h"
#include "settings/settings_file.h"
#include "settings/settings_page.h"
#include "settings/system_setup.h"
#include "ui/lang_string.h"
#include "ui/page_command.h"
#include "ui/window_waits.h"

namespace vornik {
namespace {

struct FileKind {
  QStringList filters;
  QString extension;  // appended to a name without one
};

const FileKind& PhonebookFiles() {
  static const FileKind kind{
      {QStringLiteral("Phonebook Files(*.pbf)"), QStringLiteral("All files (*)")},
      QStringLiteral(".PBF")};
  return kind;
}

const FileKind& SettingsFiles() {
  static const FileKind kind{
      {QStringLiteral("Settings files(*.STF *.stf)"), QStringLiteral("All files (*)")},
      QStringLiteral(".STF")};
  return kind;
}

// The file dialog of a File command: it starts in the process's current directory and leaves
// it at the chosen file's folder, so the next dialog starts where this one ended. Returns the
// chosen file's full path with the kind's extension appended to a name without one, or an
// empty text when the user cancelled.
QString AskForFile(QWidget* owner, const FileKind& kind, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(mode);
  // An open dialog takes a typed name that is not there yet: the extension completes it.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(kind.filters);
  dialog.setDirectory(QDir::currentPath());
  if (mode == QFileDialog::AcceptSave)
    dialog.setDefaultSuffix(kind.extension.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  QString path = dialog.selectedFiles().constFirst();
  const QFileInfo chosen(path);
  QDir::setCurrent(chosen.absolutePath());
  if (chosen.suffix().isEmpty())
    path += kind.extension;
  return path;
}

// The box that says a file could not be read or written, naming it and, where known, why.
void ShowFileFailure(QWidget* owner, const char* what, const QString& path, const char* why) {
  QString text =
      LangString("COMMON", what) + QStringLiteral("\n\n") + QDir::toNativeSeparators(path);
  if (why != nullptr)
    text += QStringLiteral("\n\n") + LangString("COMMON", why);
  QMessageBox::warning(owner, LangString("MAIN", "CAPTION"), text);
}

// The box's text after a failed save: the file keeps what it held, unless the save tore it.
const char* WriteFailureText(bool mayBeTorn) {
  return mayBeTorn ? "IDS_FILE_MAY_BE_DAMAGED" : "IDS_FILE_NOT_WRITTEN";
}

const char* ReasonOf(SettingsFileResult result) {
  switch (result) {
    case SettingsFileResult::kWrongKind:
      return "IDS_NOT_A_SETTINGS_FILE";
    case SettingsFileResult::kWrongVersion:
      return "IDS_SETTINGS_FILE_VERSION";
    case SettingsFileResult::kWrongSize:
      return "IDS_SETTINGS_FILE_SIZE";
    default:
      return nullptr;
  }
}

bool AdvancedPageMade() {
  return advancedPageCreated && AdvancedPage != nullptr && AdvancedPage->initialized();
}

// The Advanced page shows `AdvancedSetup` as it now stands: at once when it exists, else at
// its first opening, without reading the device.
void ShowAdvancedRecord() {
  if (AdvancedPageMade())
    AdvancedPage->showRecord();
  else
    skipNextAdvancedRead = true;
}

// Whether `AdvancedSetup` holds the device's values or a file's: the page's own word once it
// exists, else whether a record waits for its first opening.
bool AdvancedRecordLoaded() {
  return AdvancedPageMade() ? AdvancedPage->recordLoaded() : skipNextAdvancedRead;
}

void ShowSettingsRecord() {
  if (SettingsPage->initialized())
    SettingsPage->showRecord();
}

// The pages that show the settings file's records: the Settings page, and the Advanced page
// once it exists.
std::vector<TemplatePage*> SettingsFilePages() {
  std::vector<TemplatePage*> pages{SettingsPage};
  if (AdvancedPageMade())
    pages.push_back(AdvancedPage);
  return pages;
}

void ShowDoneOnSettingsPages(const QString& done) {
  for (TemplatePage* page : SettingsFilePages())
    page->showDone(done);
}

}  // namespace

void CMainPanel::OnLoadPhonebook() {
  const QString path = AskForFile(this, PhonebookFiles(), QFileDialog::AcceptOpen);
  if (path.isEmpty() || !PhonebookPage->mayReplaceEdits())
    return;
  if (ReadPhonebookFile(path.toStdString()) != 1) {
    ShowFileFailure(this, "IDS_FILE_NOT_READ", path, nullptr);
    return;
  }
  PhonebookPage->refillList();
  RebuildReferenceCounts();
  PhonebookPage->showDone(LangString("COMMON", "IDS_DONE_LOADED"));
}

void CMainPanel::OnSavePhonebook() {
  // An empty store saved over a backup would lose it: offered only once a phonebook came.
  if (!PhonebookPage->recordLoaded())
    return;
  const QString path = AskForFile(this, PhonebookFiles(), QFileDialog::AcceptSave);
  if (path.isEmpty())
    return;
  bool mayBeTorn = false;
  if (WritePhonebookFile(path.toStdString(), &mayBeTorn) != 1)
    ShowFileFailure(this, WriteFailureText(mayBeTorn), path, nullptr);
  else
    PhonebookPage->showDone(LangString("COMMON", "IDS_DONE_SAVED"));
}

void CMainPanel::OnLoadSettings() {
  const QString path = AskForFile(this, SettingsFiles(), QFileDialog::AcceptOpen);
  const std::vector<TemplatePage*> pages = SettingsFilePages();
  if (path.isEmpty() ||
      !MayReplaceEdits(std::vector<PropertyPage*>(pages.begin(), pages.end()), this))
    return;
  const SettingsFileResult result = SettingsFileStep(path.toStdString(), SettingsFileAction::kLoad);
  if (result != SettingsFileResult::kDone) {
    ShowFileFailure(this, "IDS_FILE_NOT_READ", path, ReasonOf(result));
    return;
  }
  ShowSettingsRecord();
  ShowAdvancedRecord();
  ShowDoneOnSettingsPages(LangString("COMMON", "IDS_DONE_LOADED"));
}

void CMainPanel::OnSaveSettings() {
  const QString path = AskForFile(this, SettingsFiles(), QFileDialog::AcceptSave);
  if (path.isEmpty())
    return;
  // The file is to hold the device's setup: a record not yet read since start is read now,
  // and nothing is saved when the device does not answer. The reads and the save are one
  // command: a close asked for meanwhile waits for the file.
  PageCommandScope running;
  if (!SettingsPage->recordLoaded()) {
    if (!RunPageCommand(Mfp_GetSettings, this))
      return;
    ShowSettingsRecord();
  }
  if (!AdvancedRecordLoaded()) {
    if (!RunPageCommand(Mfp_GetSystemInfo, this))
      return;
    ShowAdvancedRecord();
  }
  const SettingsFileResult result = SettingsFileStep(path.toStdString(), SettingsFileAction::kSave);
  if (result != SettingsFileResult::kDone)
    ShowFileFailure(this, WriteFailureText(result == SettingsFileResult::kMayBeTorn), path,
                    nullptr);
  else
    ShowDoneOnSettingsPages(LangString("COMMON", "IDS_DONE_SAVED"));
}

}  // namespace vornik
