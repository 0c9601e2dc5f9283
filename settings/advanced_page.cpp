#include "settings/advanced_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <algorithm>

#include "link/machine_state.h"
#include "res/ids_advanced.h"
#include "res/templates.h"
#include "ui/filter_edit.h"
#include "ui/page_command.h"

namespace vornik {
namespace {

namespace ids = res::advanced_ids;

struct ValueControl {
  int id;
  int32_t AdvancedPageValues::*value;
};

// The lists whose change commits the page.
constexpr ValueControl kLists[] = {
    {ids::kSpeaker, &AdvancedPageValues::speaker},
    {ids::kRinger, &AdvancedPageValues::ringer},
    {ids::kUsbMode, &AdvancedPageValues::usbMode},
    {ids::kLanguage, &AdvancedPageValues::language},
    {ids::kClockMode, &AdvancedPageValues::clockMode},
    {ids::kPowerSaveMinutes, &AdvancedPageValues::minutes},
};

struct CheckControl {
  int id;
  int32_t AdvancedPageValues::*value;
  bool commitsOnClick;  // ECM mode reaches the record only with another control or Apply
};

constexpr CheckControl kChecks[] = {
    {ids::kAlarmSound, &AdvancedPageValues::alarmSound, true},
    {ids::kKeySound, &AdvancedPageValues::keySound, true},
    {ids::kStampReceiverName, &AdvancedPageValues::stampRcvName, true},
    {ids::kEcmMode, &AdvancedPageValues::ecmMode, false},
};

struct RadioGroup {
  int offId;
  int onId;
  int32_t AdvancedPageValues::*value;
};

constexpr RadioGroup kTollSaverRadios = {ids::kTollSaverOff, ids::kTollSaverOn,
                                         &AdvancedPageValues::tollSaver};
constexpr RadioGroup kPowerSaveRadios = {ids::kPowerSaveOff, ids::kPowerSaveOn,
                                         &AdvancedPageValues::powerSave};

struct TextControl {
  int id;
  std::string AdvancedPageValues::*value;
  int maxLength;
  FilterKind kind;
  FilterEdit::ChangeRule rule;
};

constexpr TextControl kTexts[] = {
    {ids::kMachineNumber, &AdvancedPageValues::machineNumber, int(kMachineNumberWidth),
     FilterKind::kDigits, FilterEdit::ChangeRule::kUpperCase},
    {ids::kMachineId, &AdvancedPageValues::machineId, int(kMachineIdWidth), FilterKind::kName,
     FilterEdit::ChangeRule::kUpperCase},
    {ids::kPrefixDial, &AdvancedPageValues::prefixDial, int(kPrefixDialWidth), FilterKind::kDigits,
     FilterEdit::ChangeRule::kKeepCase},
};

struct TollPickers {
  int dateId;
  int timeId;
  DeviceDateTime AdvancedSetupRecord::*time;
};

constexpr TollPickers kTollPickers[] = {
    {ids::kTollStartDate, ids::kTollStartTime, &AdvancedSetupRecord::tollStart},
    {ids::kTollEndDate, ids::kTollEndTime, &AdvancedSetupRecord::tollEnd},
};

// Twelve-hour time with AM/PM, whatever the clock mode.
constexpr char kTimeFormat[] = "hh':'mm AP";

// The date a picker can show for a device time: a month or day the calendar lacks (0, or
// the 31st of a shorter month) shows as the nearest that exists.
QDate PickerDate(const DeviceDateTime& time) {
  const int month = std::clamp(int(time.month), 1, 12);
  const int day = std::clamp(int(time.day), 1, QDate(time.year, month, 1).daysInMonth());
  return QDate(time.year, month, day);
}

QTime PickerTime(const DeviceDateTime& time) {
  return QTime(std::min(int(time.hour), 23), std::min(int(time.minute), 59));
}

// The record's toll-saver times take what their pickers show.
void ReadPickers(const QDateEdit* date, const QTimeEdit* time, DeviceDateTime& into) {
  into.year = uint16_t(date->date().year());
  into.month = uint8_t(date->date().month());
  into.day = uint8_t(date->date().day());
  into.hour = uint8_t(time->time().hour());
  into.minute = uint8_t(time->time().minute());
}

// A fill after a settings load takes the loaded record instead of reading the device.
int ReadDeviceOrTakeLoadedRecord() {
  if (skipNextAdvancedRead) {
    skipNextAdvancedRead = false;
    return 1;
  }
  return Mfp_GetSystemInfo();
}

}  // namespace

CAdvanced::CAdvanced(QWidget* parent) : TemplatePage(res::kTemplate123, parent) {}

void CAdvanced::onInitDialog() {
  advancedPageCreated = true;
  setUpFields();
  connectNotifications();
  trackEdits();
  setSendButton(controls().find<QPushButton>(ids::kApply));
  localize();
  fillFromDevice();
}

void CAdvanced::setUpFields() {
  for (const TextControl& text : kTexts) {
    auto* edit = controls().find<FilterEdit>(text.id);
    edit->setMaxLength(text.maxLength);
    edit->setFilterKind(text.kind);
    edit->setChangeRule(text.rule);
  }
  for (const TollPickers& pickers : kTollPickers) {
    controls()
        .find<QDateEdit>(pickers.dateId)
        ->setDateRange(QDate(kFirstTollYear, 1, 1), QDate(kLastTollYear, 12, 31));
  }
}

void CAdvanced::connectNotifications() {
  connect(controls().find<QPushButton>(ids::kRefresh), &QPushButton::clicked, this, [this] {
    if (mayReplaceEdits())
      fillFromDevice();
  });
  connect(controls().find<QPushButton>(ids::kApply), &QPushButton::clicked, this,
          &CAdvanced::applyToDevice);
  for (const ValueControl& list : kLists)
    connect(controls().find<QComboBox>(list.id), &QComboBox::activated, this,
            &CAdvanced::commitControls);
  for (const CheckControl& check : kChecks) {
    if (check.commitsOnClick)
      connect(controls().find<QCheckBox>(check.id), &QCheckBox::clicked, this,
              &CAdvanced::commitControls);
  }
  for (int id : {kTollSaverRadios.offId, kTollSaverRadios.onId})
    connect(controls().find<QRadioButton>(id), &QRadioButton::clicked, this,
            &CAdvanced::applyTollSaverRule);
  for (int id : {kPowerSaveRadios.offId, kPowerSaveRadios.onId})
    connect(controls().find<QRadioButton>(id), &QRadioButton::clicked, this,
            &CAdvanced::applyPowerSaveRule);
}

void CAdvanced::commitField(QWidget* /*field*/) {
  commitControls();
}

void CAdvanced::localize() {
  res::LocalizeDialog(controls());
}

void CAdvanced::transferToControls() {
  // An index beyond a list's items leaves the list without a selection.
  for (const ValueControl& list : kLists)
    controls().find<QComboBox>(list.id)->setCurrentIndex(values_.*list.value);
  for (const CheckControl& check : kChecks)
    controls().find<QCheckBox>(check.id)->setChecked(values_.*check.value != 0);
  for (const RadioGroup& radios : {kTollSaverRadios, kPowerSaveRadios}) {
    auto* off = controls().find<QRadioButton>(radios.offId);
    auto* on = controls().find<QRadioButton>(radios.onId);
    // A value beyond the group checks neither button.
    QButtonGroup* group = off->group();
    group->setExclusive(false);
    off->setChecked(values_.*radios.value == 0);
    on->setChecked(values_.*radios.value == 1);
    group->setExclusive(true);
  }
  for (const TextControl& text : kTexts)
    controls().find<FilterEdit>(text.id)->setText(QString::fromLatin1(values_.*text.value));
}

void CAdvanced::readControls() {
  for (const ValueControl& list : kLists)
    values_.*list.value = controls().find<QComboBox>(list.id)->currentIndex();
  for (const CheckControl& check : kChecks)
    values_.*check.value = controls().find<QCheckBox>(check.id)->isChecked() ? 1 : 0;
  for (const RadioGroup& radios : {kTollSaverRadios, kPowerSaveRadios}) {
    int32_t index = -1;
    if (controls().find<QRadioButton>(radios.offId)->isChecked())
      index = 0;
    else if (controls().find<QRadioButton>(radios.onId)->isChecked())
      index = 1;
    values_.*radios.value = index;
  }
  for (const TextControl& text : kTexts)
    values_.*text.value = controls().find<FilterEdit>(text.id)->text().toLatin1().toStdString();
}

void CAdvanced::showTollWindow() {
  for (const TollPickers& pickers : kTollPickers) {
    const DeviceDateTime& time = MachineState.AdvancedSetup.*pickers.time;
    auto* datePicker = controls().find<QDateEdit>(pickers.dateId);
    auto* timePicker = controls().find<QTimeEdit>(pickers.timeId);
    // Showing the record is no edit.
    const QSignalBlocker quietDate(datePicker), quietTime(timePicker);
    datePicker->setDate(PickerDate(time));
    timePicker->setTime(PickerTime(time));
    timePicker->setDisplayFormat(QString::fromLatin1(kTimeFormat));
  }
}

void CAdvanced::readTollWindow() {
  for (const TollPickers& pickers : kTollPickers)
    ReadPickers(controls().find<QDateEdit>(pickers.dateId),
                controls().find<QTimeEdit>(pickers.timeId),
                MachineState.AdvancedSetup.*pickers.time);
}

void CAdvanced::applyTollSaverRule() {
  readControls();
  for (const TollPickers& pickers : kTollPickers) {
    controls().control(pickers.dateId)->setEnabled(values_.tollSaver != 0);
    controls().control(pickers.timeId)->setEnabled(values_.tollSaver != 0);
  }
}

void CAdvanced::applyPowerSaveRule() {
  readControls();
  controls().control(ids::kPowerSaveMinutes)->setEnabled(values_.powerSave != 0);
}

void CAdvanced::fillFromDevice() {
  const bool read = RunPageCommand(ReadDeviceOrTakeLoadedRecord, window());
  // After a failed read the page still shows what the record holds; Apply stays as it was.
  showWholeRecord();
  if (read)
    setRecordLoaded(true);
}

void CAdvanced::showRecord() {
  showWholeRecord();
  setRecordLoaded(true);
}

void CAdvanced::showWholeRecord() {
  FillPageValues(MachineState.AdvancedSetup, values_);
  transferToControls();
  showTollWindow();
  applyTollSaverRule();
  applyPowerSaveRule();
}

void CAdvanced::commitControls() {
  readControls();
  CommitPageValues(values_, MachineState.AdvancedSetup);
  TrimPrefixDial(MachineState.AdvancedSetup, values_);
}

bool CAdvanced::applyToDevice() {
  readControls();
  AdvancedSetupRecord& record = MachineState.AdvancedSetup;
  CommitPageValues(values_, record);
  record.tollSaver = uint8_t(values_.tollSaver);
  readTollWindow();
  return sendRecord(Mfp_SetSystemInfo);
}

}  // namespace vornik
