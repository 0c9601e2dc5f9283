#include "phonebook/phonebook_controls.h"

#include <QDialog>
#include <QTreeWidget>

#include "res/dialog_builder.h"
#include "res/pictures.h"
#include "ui/image_button.h"
#include "ui/lang_string.h"

namespace vornik {
namespace {

constexpr Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

}  // namespace

QString EntryText(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string EntryBytes(const QString& text) {
  return text.toLatin1().toStdString();
}

void AddEntryColumns(QTreeWidget* list, int nameWidth, int numberWidth) {
  list->setColumnCount(3);
  const QStringList headers = {LangString("COMMON", "IDS_NUM"), LangString("COMMON", "IDS_NAME"),
                               LangString("COMMON", "IDS_TEL_NUMBER")};
  list->setHeaderLabels(headers);
  // A list without a label is named by what its columns show.
  if (list->accessibleName().isEmpty())
    list->setAccessibleName(headers.join(QStringLiteral(", ")));
  list->headerItem()->setTextAlignment(0, kNumberAlignment);
  list->setColumnWidth(0, kNoColumnWidth);
  list->setColumnWidth(1, nameWidth);
  list->setColumnWidth(2, numberWidth);
}

void ShowEntryInRow(QTreeWidgetItem* row, const QString& label, const PhonebookEntry& entry) {
  row->setText(0, label);
  row->setTextAlignment(0, kNumberAlignment);
  row->setText(1, EntryText(EntryName(entry)));
  row->setText(
      2, entry.groupFlag != 0 ? QStringLiteral("*GROUP DIAL*") : EntryText(EntryDialNumber(entry)));
}

void SetUpOkCancel(const res::DialogControls& controls, QDialog* dialog,
                   const std::function<void()>& onOk) {
  auto* ok = controls.find<ImageButton>(res::kIdOk);
  auto* cancel = controls.find<ImageButton>(res::kIdCancel);
  ok->setIconResource(res::kIconOk);
  cancel->setIconResource(res::kIconCancel);
  QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace vornik
