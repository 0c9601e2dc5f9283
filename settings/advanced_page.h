// `CAdvanced`: the Advanced page (template 123, section "ADVANCED"): the machine's fax
// number and ID, dialling, sounds, display language, clock and power settings.
#pragma once

#include "ui/template_page.h"

namespace vornik {

class CAdvanced : public TemplatePage {
  Q_OBJECT

 public:
  explicit CAdvanced(QWidget* parent = nullptr);
};

}  // namespace vornik
