// `CPhonebook`: the Phonebook page (template 115, section "PHONEBOOK"): the speed dials
// and group dials. The File menu's phonebook commands are usable only while it is shown.
#pragma once

#include "ui/template_page.h"

namespace vornik {

class CPhonebook : public TemplatePage {
  Q_OBJECT

 public:
  explicit CPhonebook(QWidget* parent = nullptr);

  void onSetActive() override;
  void onKillActive() override;

 signals:
  // The File menu's phonebook items are to be enabled (shown) or grayed (hidden); the main
  // window connects this to `EnablePhonebookMenu`.
  void phonebookMenuEnabled(bool enable);
};

}  // namespace vornik
