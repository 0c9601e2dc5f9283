// `CPhonebook`: the Phonebook page (template 115, section "PHONEBOOK"): the speed dials
// and group dials. The File menu's phonebook commands are usable only while it is shown.
#pragma once

#include "app/template_page.h"

namespace vornik {

class CPhonebook : public TemplatePage {
  Q_OBJECT

 public:
  explicit CPhonebook(QWidget* parent = nullptr);

  void onSetActive() override;
  void onKillActive() override;
};

}  // namespace vornik
