#include "settings/settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QWheelEvent>

#include "link/machine_state.h"
#include "res/ids_settings.h"
#include "res/templates.h"
#include "ui/lang_string.h"
#include "ui/page_command.h"

namespace vornik {
namespace {

namespace ids = res::settings_ids;

struct ListControl {
  int id;
  int32_t SettingsPageValues::*value;
};

constexpr ListControl kLists[] = {
    {ids::kTrayPaperSize, &SettingsPageValues::traySize},
    {ids::kBypassPaperSize, &SettingsPageValues::bypassSize},
    {ids::kPaperType, &SettingsPageValues::paperType},
    {ids::kSendConfirm, &SettingsPageValues::sendConfirm},
    {ids::kPrintTimeOut, &SettingsPageValues::printTimeout},
    {ids::kReceiveMode, &SettingsPageValues::receiveMode},
    {ids::kContrast, &SettingsPageValues::contrast},
    {ids::kDocumentMode, &SettingsPageValues::documentMode},
};

constexpr ListControl kChecks[] = {
    {ids::kAutoJournal, &SettingsPageValues::autoJournal},
    {ids::kRxReduction, &SettingsPageValues::rxReduction},
};

struct NumberControl {
  int editId;
  int arrowId;
  int unitId;  // the unit beside the arrows, or none
  int maxChars;
  bool commitsOnChange;  // Zoom and Copies reach the record only with another control
};

// Indexed by `SettingsNumber`.
constexpr NumberControl kNumbers[kSettingsNumberCount] = {
    {ids::kDiscardSize, ids::kDiscardSizeArrows, ids::kDiscardSizeUnit, 2, true},
    {ids::kRedialInterval, ids::kRedialIntervalArrows, ids::kRedialIntervalUnit, 2, true},
    {ids::kRingCount, ids::kRingCountArrows, ids::kRingCountUnit, 2, true},
    {ids::kRedialCount, ids::kRedialCountArrows, ids::kRedialCountUnit, 2, true},
    {ids::kZoom, ids::kZoomArrows, ids::kZoomUnit, 3, false},
    {ids::kCopies, ids::kCopiesArrows, res::kUnnamed, 3, false},
};

// The top arrow of a vertical scroll bar is its line-up arrow.
SpinDirection DirectionOf(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return SpinDirection::Up;
    case QAbstractSlider::SliderSingleStepAdd:
      return SpinDirection::Down;
    default:
      return SpinDirection::None;
  }
}

}  // namespace

CSettings::CSettings(QWidget* parent) : TemplatePage(res::kTemplate106, parent) {}

void CSettings::onInitDialog() {
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    // A length limit on typing only: a longer value the device sends is still shown whole.
    const QRegularExpression digits(QStringLiteral("[0-9]{0,%1}").arg(kNumbers[i].maxChars));
    numberEdit(i)->setValidator(new QRegularExpressionValidator(digits, numberEdit(i)));
  }
  transferToControls();
  connectNotifications();
  trackEdits();
  setSendButton(controls().find<QPushButton>(ids::kApply));
  localize();
  fillFromDevice();
}

void CSettings::connectNotifications() {
  connect(controls().find<QPushButton>(ids::kRefresh), &QPushButton::clicked, this, [this] {
    if (mayReplaceEdits())
      fillFromDevice();
  });
  connect(controls().find<QPushButton>(ids::kApply), &QPushButton::clicked, this,
          &CSettings::applyToDevice);
  for (const ListControl& list : kLists)
    connect(controls().find<QComboBox>(list.id), &QComboBox::activated, this,
            &CSettings::commitControls);
  for (const ListControl& check : kChecks)
    connect(controls().find<QCheckBox>(check.id), &QCheckBox::clicked, this,
            &CSettings::commitControls);
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    QLineEdit* edit = numberEdit(i);
    edit->installEventFilter(this);
    if (kNumbers[i].commitsOnChange)
      connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!notificationsLocked_)
          commitControls();
      });
    auto* arrows = controls().find<QScrollBar>(kNumbers[i].arrowId);
    const int arrowId = kNumbers[i].arrowId;
    arrows->installEventFilter(this);
    connect(arrows, &QScrollBar::actionTriggered, this, [this, arrows, arrowId](int action) {
      // The arrows only step the field: the bar itself stays centred, both arrows live.
      arrows->setSliderPosition(0);
      if (const SpinDirection direction = DirectionOf(action); direction != SpinDirection::None)
        spinStep(direction, arrowId);
    });
  }
}

bool CSettings::eventFilter(QObject* watched, QEvent* event) {
  // The wheel over a field's arrows steps it as the arrows do, one step a notch.
  if (event->type() == QEvent::Wheel && qobject_cast<QScrollBar*>(watched) != nullptr) {
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    for (const NumberControl& number : kNumbers) {
      if (delta != 0 && controls().find<QScrollBar>(number.arrowId) == watched)
        spinStep(delta > 0 ? SpinDirection::Up : SpinDirection::Down, number.arrowId);
    }
    return true;
  }
  if (event->type() == QEvent::FocusOut && !notificationsLocked_)
    validateEdits();
  return TemplatePage::eventFilter(watched, event);
}

void CSettings::commitField(QWidget* /*field*/) {
  validateEdits();
}

QLineEdit* CSettings::numberEdit(size_t index) const {
  return controls().find<QLineEdit>(kNumbers[index].editId);
}

void CSettings::localize() {
  notificationsLocked_ = true;
  res::LocalizeDialog(controls());
  notificationsLocked_ = false;
  describeNumberRanges();
}

// A screen reader says what a number field takes: its range and its unit, on the field
// and on its arrows.
void CSettings::describeNumberRanges() {
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    const NumberRange range = RangeOf(SettingsNumber(i));
    QString description = LangString("SETTINGS", "IDS_RANGE")
                              .arg(QString::number(range.lower), QString::number(range.upper));
    if (auto* unit = controls().find<QLabel>(kNumbers[i].unitId))
      description += u' ' + unit->text();
    numberEdit(i)->setAccessibleDescription(description);
    controls().control(kNumbers[i].arrowId)->setAccessibleDescription(description);
  }
}

void CSettings::transferToControls() {
  notificationsLocked_ = true;
  // An index beyond a list's items leaves the list without a selection.
  for (const ListControl& list : kLists)
    controls().find<QComboBox>(list.id)->setCurrentIndex(values_.*list.value);
  for (const ListControl& check : kChecks)
    controls().find<QCheckBox>(check.id)->setChecked(values_.*check.value != 0);
  for (size_t i = 0; i < kSettingsNumberCount; ++i)
    numberEdit(i)->setText(QString::fromLatin1(values_.numbers[i]));
  notificationsLocked_ = false;
}

void CSettings::readControls() {
  for (const ListControl& list : kLists)
    values_.*list.value = controls().find<QComboBox>(list.id)->currentIndex();
  for (const ListControl& check : kChecks)
    values_.*check.value = controls().find<QCheckBox>(check.id)->isChecked() ? 1 : 0;
  for (size_t i = 0; i < kSettingsNumberCount; ++i)
    values_.numbers[i] = numberEdit(i)->text().toLatin1().toStdString();
}

void CSettings::fillFromDevice() {
  if (!RunPageCommand(Mfp_GetSettings, window()))
    return;
  values_ = PageValuesFromRecord(MachineState.SystemSetup);
  transferToControls();
  setRecordLoaded(true);
}

bool CSettings::applyToDevice() {
  return sendRecord(Mfp_SetSettings);
}

void CSettings::commitControls() {
  readControls();
  CommitPageValues(values_, MachineState.SystemSetup);
}

void CSettings::validateEdits() {
  readControls();
  if (ClampPageNumbers(values_, MachineState.SystemSetup))
    transferToControls();
}

void CSettings::spinStep(SpinDirection direction, int arrowId) {
  markEdited();
  readControls();
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    if (kNumbers[i].arrowId != arrowId)
      continue;
    const int value = SpinStepValue(ParseLeadingDigits(values_.numbers[i]), direction,
                                    RangeOf(SettingsNumber(i)));
    values_.numbers[i] = std::to_string(value);
    transferToControls();
    QLineEdit* edit = numberEdit(i);
    edit->selectAll();
    edit->setFocus();
  }
  commitControls();
}

void CSettings::showRecord() {
  values_ = PageValuesFromRecord(MachineState.SystemSetup);
  transferToControls();
  setRecordLoaded(true);
}

}  // namespace vornik
