// What the phonebook's windows have in common: the three columns of their lists (the
// page's entry list and the group dial dialog's two), how an entry's texts are shown, and
// the dialogs' OK and Cancel buttons. Entry texts are the device's bytes, one character
// each, and go back to the store the same way.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "phonebook/phonebook_store.h"

class QDialog;
class QTreeWidget;
class QTreeWidgetItem;

namespace vornik::res {
class DialogControls;
}

namespace vornik {

inline constexpr int kNoColumnWidth = 40;  // the "No." column

QString EntryText(std::string_view bytes);
std::string EntryBytes(const QString& text);

// Adds the columns "No." (right-aligned), "Name" and "Phone number", headed from the
// language file's "COMMON" section, with the widths given. A list that its label has not
// named is named by the three headers.
void AddEntryColumns(QTreeWidget* list, int nameWidth, int numberWidth);

// Sets a row: `label` in the first column, then the entry's name, and its dial number or
// "*GROUP DIAL*" for a group.
void ShowEntryInRow(QTreeWidgetItem* row, const QString& label, const PhonebookEntry& entry);

// Gives a dialog's OK (control 1) and Cancel (control 2) their icons; OK runs `onOk`,
// Cancel the dialog's `reject`.
void SetUpOkCancel(const res::DialogControls& controls, QDialog* dialog,
                   const std::function<void()>& onOk);

}  // namespace vornik
