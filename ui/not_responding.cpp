#include "ui/not_responding.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/lang_string.h"

namespace vornik {

int ShowNotResponding(QWidget* owner) {
  // Both texts come from the one shared buffer, so each is copied before the next lookup.
  const QString text = LangString("COMMON", "IDS_NOT_RESPOND");
  const QString caption = LangString("MAIN", "CAPTION");
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                  owner != nullptr ? owner : QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  return box.exec();
}

}  // namespace vornik
