// What the phonebook's lists have in common (the page's entry list and the group dial
// dialog's two lists): the three columns and how an entry's texts are shown. Entry texts
// are the device's bytes, one character each, and go back to the store the same way.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "phonebook/phonebook_store.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vornik {

inline constexpr int kNoColumnWidth = 40;  // the "No." column

QString EntryText(std::string_view bytes);
std::string EntryBytes(const QString& text);

// Adds the columns "No." (right-aligned), "Name" and "Phone number", headed from the
// language file's "COMMON" section, with the widths given.
void AddEntryColumns(QTreeWidget* list, int nameWidth, int numberWidth);

// Sets a row: `label` in the first column, then the entry's name, and its dial number or
// "*GROUP DIAL*" for a group.
void ShowEntryInRow(QTreeWidgetItem* row, const QString& label, const PhonebookEntry& entry);

}  // namespace vornik
