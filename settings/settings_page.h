// `CSettings`: the Settings page (template 106). It shows `SystemSetup` and edits it: every
// change in a control is copied into the record at once, Refresh reads the device, Apply
// sends the record as it stands.
#pragma once

#include "settings/settings_page_values.h"
#include "ui/template_page.h"

class QLineEdit;

namespace vornik {

class CSettings : public TemplatePage {
  Q_OBJECT

 public:
  explicit CSettings(QWidget* parent = nullptr);

  // Reads the device under the wait cursor; on success shows the record in every control,
  // on failure shows the not-responding box and leaves the controls as they were.
  void fillFromDevice();
  // Sends the record unchanged; the not-responding box when it could not be sent. Apply
  // stays disabled until the record came from the device or a settings file.
  bool applyToDevice();
  bool sendEdits() override { return applyToDevice(); }
  // Copies every control into the record, without a range check.
  void commitControls();
  // Clamps the six number fields into their ranges and stores them in the record; the
  // controls are rewritten only when a field was out of range.
  void validateEdits();
  // One step of the arrows `arrowId` in `direction`; then commits every control.
  void spinStep(SpinDirection direction, int arrowId);
  // Shows the record's check boxes, confirmation, time-out, receive mode and the four
  // two-character fields without reading the device (after a settings load).
  void showRecord();
  // Sets every text of the page from section "SETTINGS" of the language file.
  void localize();

 protected:
  void onInitDialog() override;
  // Enter in a number field checks the six fields, as leaving one does.
  void commitField(QWidget* field) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The page values into the controls, and back.
  void transferToControls();
  void readControls();
  void connectNotifications();
  void describeNumberRanges();
  QLineEdit* numberEdit(size_t index) const;

  SettingsPageValues values_;
  // Set while the page itself changes controls: their change notifications are ignored.
  bool notificationsLocked_ = false;
};

}  // namespace vornik
