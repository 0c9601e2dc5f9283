#include "phonebook/phonebook_page.h"

#include "res/templates.h"

namespace vornik {

CPhonebook::CPhonebook(QWidget* parent) : TemplatePage(res::kTemplate115, parent) {}

void CPhonebook::onSetActive() {
  emit phonebookMenuEnabled(true);
}

void CPhonebook::onKillActive() {
  emit phonebookMenuEnabled(false);
}

}  // namespace vornik
