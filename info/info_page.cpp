#include "info/info_page.h"

#include <QLabel>
#include <QPushButton>

#include "info/device_info.h"
#include "link/machine_state.h"
#include "res/ids_info.h"
#include "res/templates.h"
#include "ui/page_command.h"

namespace vornik {
namespace {

namespace ids = res::info_ids;

// Indexes of `values_`, each with its value label below.
enum InfoValue {
  kFwVersion,
  kEngineVersion,
  kEmulVersion,
  kFreeMemory,
  kPrintCount,
  kPlatenScanCount,
  kAdfScanCount,
  kAdfJamCount,
  kPrintJamCount,
  kTonerCount,
};

constexpr int kValueLabels[] = {ids::kFirmwareVersion, ids::kEngineVersion, ids::kEmulationVersion,
                                ids::kFreeMemory,      ids::kPrintCount,    ids::kPlatenScanCount,
                                ids::kAdfScanCount,    ids::kAdfJamCount,   ids::kPrintJamCount,
                                ids::kTonerCount};

struct CounterValue {
  InfoValue value;
  uint32_t DeviceInfoRecord::*field;
};

constexpr CounterValue kCounters[] = {
    {kPrintCount, &DeviceInfoRecord::printCount},
    {kPlatenScanCount, &DeviceInfoRecord::platenScanCount},
    {kAdfScanCount, &DeviceInfoRecord::adfScanCount},
    {kAdfJamCount, &DeviceInfoRecord::adfJamCount},
    {kPrintJamCount, &DeviceInfoRecord::printJamCount},
    {kTonerCount, &DeviceInfoRecord::tonerCount},
};

// The device's texts are in the system's 8-bit code page, shown as they came (no trim).
QString DeviceText(const char* text) {
  return QString::fromLocal8Bit(text);
}

}  // namespace

CInfo::CInfo(QWidget* parent) : TemplatePage(res::kTemplate104, parent) {}

void CInfo::onInitDialog() {
  transferToControls();
  connect(controls().find<QPushButton>(ids::kRefresh), &QPushButton::clicked, this,
          &CInfo::refreshInfo);
  refreshInfo();
}

void CInfo::refreshInfo() {
  if (!RunPageCommand(Mfp_GetDeviceInfo, window()))
    return;
  const DeviceInfoRecord& info = MachineState.DeviceInfo;
  values_[kFwVersion] = DeviceText(info.fwVersion);
  values_[kEngineVersion] = DeviceText(info.engineVersion);
  values_[kEmulVersion] = DeviceText(info.emulVersion);
  values_[kFreeMemory] = QString::asprintf(" %d %% ", int(info.freeMemory));
  for (const CounterValue& counter : kCounters)
    values_[counter.value] = QString::number(info.*counter.field);
  transferToControls();
}

void CInfo::transferToControls() {
  static_assert(std::size(kValueLabels) == std::tuple_size_v<decltype(values_)>);
  for (size_t i = 0; i < values_.size(); ++i)
    controls().find<QLabel>(kValueLabels[i])->setText(values_[i]);
}

}  // namespace vornik
