// `CInfo`: the Information page (template 104, section "INFO"): the device's versions,
// free memory and page counters, read-only. Refresh reads them again.
#pragma once

#include <QString>

#include <array>

#include "ui/template_page.h"

namespace vornik {

class CInfo : public TemplatePage {
  Q_OBJECT

 public:
  explicit CInfo(QWidget* parent = nullptr);

  // Reads the device under the wait cursor; on success shows `DeviceInfo` in every value
  // label, on failure shows the not-responding box and leaves the labels as they were.
  void refreshInfo();

 protected:
  // Empties the value labels (the template's sample texts are no device's values), then
  // reads the device.
  void onInitDialog() override;

 private:
  void transferToControls();

  // One text per value label: versions, free memory, the six counters.
  std::array<QString, 10> values_;
};

}  // namespace vornik
