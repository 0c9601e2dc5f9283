#include "phonebook/phonebook_page.h"

#include "app/main_panel.h"
#include "res/templates.h"

namespace vornik {

CPhonebook::CPhonebook(QWidget* parent) : TemplatePage(res::kTemplate115, parent) {}

void CPhonebook::onSetActive() {
  EnablePhonebookMenu(true);
}

void CPhonebook::onKillActive() {
  EnablePhonebookMenu(false);
}

}  // namespace vornik
