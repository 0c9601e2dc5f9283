#include "settings/settings_page_values.h"

#include <algorithm>

namespace vornik {
namespace {

// Texts above this stop growing: no field holds more than five digits.
constexpr int kParseCeiling = 1000000;

constexpr std::array<NumberRange, kSettingsNumberCount> kRanges = {{
    {0, 30},    // DiscardSize, millimetres
    {1, 15},    // RedialInterval, minutes
    {1, 7},     // RingCount
    {0, 13},    // RedialCount
    {25, 400},  // Zoom, percent
    {1, 99},    // Copies
}};

void StoreNumber(SystemSetupRecord& record, SettingsNumber field, int value) {
  switch (field) {
    case SettingsNumber::DiscardSize:
      record.discardSize = uint8_t(value);
      break;
    case SettingsNumber::RedialInterval:
      record.redialInterval = uint8_t(value);
      break;
    case SettingsNumber::RingCount:
      record.ringCount = uint8_t(value);
      break;
    case SettingsNumber::RedialCount:
      record.redialCount = uint8_t(value);
      break;
    case SettingsNumber::Zoom:
      record.zoom = uint16_t(value);
      break;
    case SettingsNumber::Copies:
      record.copies = uint16_t(value);
      break;
  }
}

}  // namespace

NumberRange RangeOf(SettingsNumber field) {
  return kRanges[size_t(field)];
}

int ParseLeadingDigits(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      break;
    value = std::min(value * 10 + (c - '0'), kParseCeiling);
  }
  return value;
}

int SpinStepValue(int value, SpinDirection direction, NumberRange range) {
  switch (direction) {
    case SpinDirection::Up:
      return std::min(value + 1, range.upper);
    case SpinDirection::Down:
      return std::max(value - 1, range.lower);
    case SpinDirection::None:
      break;
  }
  return value;
}

SettingsPageValues PageValuesFromRecord(const SystemSetupRecord& record) {
  SettingsPageValues values;
  values.traySize = record.traySize;
  values.bypassSize = record.bypassSize;
  values.paperType = record.paperType;
  values.contrast = record.contrast;
  values.documentMode = record.documentMode;
  values.number(SettingsNumber::Zoom) = std::to_string(record.zoom);
  values.number(SettingsNumber::Copies) = std::to_string(record.copies);
  values.autoJournal = record.autoJournal;
  values.rxReduction = record.rxReduction;
  values.sendConfirm = record.sendConfirm;
  values.printTimeout = record.printTimeout;
  values.receiveMode = record.receiveMode;
  values.number(SettingsNumber::DiscardSize) = std::to_string(record.discardSize);
  values.number(SettingsNumber::RedialInterval) = std::to_string(record.redialInterval);
  values.number(SettingsNumber::RingCount) = std::to_string(record.ringCount);
  values.number(SettingsNumber::RedialCount) = std::to_string(record.redialCount);
  return values;
}

void CommitPageValues(const SettingsPageValues& values, SystemSetupRecord& record) {
  // A list without a selection holds -1, which the record keeps as 255.
  record.traySize = uint8_t(values.traySize);
  record.bypassSize = uint8_t(values.bypassSize);
  record.paperType = uint8_t(values.paperType);
  record.sendConfirm = uint8_t(values.sendConfirm);
  record.printTimeout = uint8_t(values.printTimeout);
  record.receiveMode = uint8_t(values.receiveMode);
  record.contrast = uint8_t(values.contrast);
  record.documentMode = uint8_t(values.documentMode);
  record.autoJournal = uint8_t(values.autoJournal);
  record.rxReduction = uint8_t(values.rxReduction);
  for (size_t i = 0; i < kSettingsNumberCount; ++i)
    StoreNumber(record, SettingsNumber(i), ParseLeadingDigits(values.numbers[i]));
}

bool ClampPageNumbers(SettingsPageValues& values, SystemSetupRecord& record) {
  bool corrected = false;
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    const auto field = SettingsNumber(i);
    const int typed = ParseLeadingDigits(values.numbers[i]);
    const NumberRange range = RangeOf(field);
    const int value = std::clamp(typed, range.lower, range.upper);
    corrected |= value != typed;
    StoreNumber(record, field, value);
    values.numbers[i] = std::to_string(value);
  }
  return corrected;
}

}  // namespace vornik
