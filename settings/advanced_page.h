// `CAdvanced`: the Advanced page (template 123, section "ADVANCED"): the machine's fax
// number and ID, dialling, sounds, display language, clock and power settings and the
// toll-saver window. A change in a list or check box is copied into `AdvancedSetup` at
// once; the pickers, ECM mode and the radio groups reach it only with such a change or
// with Apply, which sends the record.
#pragma once

#include "settings/advanced_page_values.h"
#include "ui/template_page.h"

namespace vornik {

class CAdvanced : public TemplatePage {
  Q_OBJECT

 public:
  explicit CAdvanced(QWidget* parent = nullptr);

  // Reads the device under the wait cursor (or takes the record a settings load left, when
  // `skipNextAdvancedRead` is set), shows the not-responding box when that failed, then
  // shows the record in every control, whatever the read gave.
  void fillFromDevice();
  // Shows the record in every control without reading the device (after a settings load or
  // a read for the settings file); the record then counts as loaded, and Apply sends what
  // is shown, the power save and toll-saver window included.
  void showRecord();
  // Copies the lists, check boxes, power save and texts into the record. Nothing is sent.
  void commitControls();
  // Copies every control, the toll-saver choice and its window included, into the record
  // and sends it; the not-responding box when it could not be sent. Apply stays disabled
  // until the record came from the device or a settings file.
  bool applyToDevice();
  bool sendEdits() override { return applyToDevice(); }
  // Sets every text of the page from section "ADVANCED" of the language file.
  void localize();

 protected:
  void onInitDialog() override;
  // Enter in a field commits the page, as a change in a list does.
  void commitField(QWidget* field) override;

 private:
  // Every control from the record: lists, check boxes, radio groups, minutes, texts and the
  // toll-saver pickers, with the enabling rules.
  void showWholeRecord();
  // The page values into the controls, and back.
  void transferToControls();
  void readControls();
  // The toll-saver pickers from the record, and back.
  void showTollWindow();
  void readTollWindow();
  // The pickers follow the toll-saver choice, the minutes list the power-save choice.
  void applyTollSaverRule();
  void applyPowerSaveRule();
  void setUpFields();
  void connectNotifications();

  AdvancedPageValues values_;
};

}  // namespace vornik
