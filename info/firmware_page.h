// `CFwUp`: the Firmware Update page (template 101, section "FWUP"): a firmware file sent
// to the device.
#pragma once

#include "ui/template_page.h"

namespace vornik {

class CFwUp : public TemplatePage {
  Q_OBJECT

 public:
  explicit CFwUp(QWidget* parent = nullptr);
};

}  // namespace vornik
