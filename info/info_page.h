// `CInfo`: the Information page (template 104, section "INFO"): the device's versions,
// free memory and page counters.
#pragma once

#include "ui/template_page.h"

namespace vornik {

class CInfo : public TemplatePage {
  Q_OBJECT

 public:
  explicit CInfo(QWidget* parent = nullptr);
};

}  // namespace vornik
