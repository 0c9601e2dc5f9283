#include "settings/advanced_page_values.h"

#include <algorithm>
#include <cstring>

#include "link/debug_trace.h"

namespace vornik {

bool advancedPageCreated = false;
bool skipNextAdvancedRead = false;

namespace {

// Two list items stand for device codes beyond the list's length.
constexpr int32_t kFourthLanguageItem = 3;
constexpr uint8_t kFourthLanguageCode = 11;
constexpr int32_t kEighthLanguageItem = 7;
constexpr uint8_t kEighthLanguageCode = 12;

// `field` holds `width` characters and its terminator.
void StoreText(const std::string& text, size_t width, char* field) {
  std::memset(field, 0, width + 1);
  std::memcpy(field, text.data(), std::min(text.size(), width));
}

}  // namespace

int32_t LanguageIndex(uint8_t value) {
  switch (value) {
    case kFourthLanguageCode:
      return kFourthLanguageItem;
    case kEighthLanguageCode:
      return kEighthLanguageItem;
    default:
      return value;
  }
}

uint8_t LanguageValue(int32_t index) {
  switch (index) {
    case kFourthLanguageItem:
      return kFourthLanguageCode;
    case kEighthLanguageItem:
      return kEighthLanguageCode;
    default:
      return uint8_t(index);
  }
}

void FillPageValues(AdvancedSetupRecord& record, AdvancedPageValues& values) {
  values.ringer = record.ringer;
  values.speaker = record.speaker;
  values.clockMode = record.clockMode;
  values.usbMode = record.usbMode;
  values.language = LanguageIndex(record.language);
  values.alarmSound = record.alarmSound;
  values.keySound = record.keySound;
  values.stampRcvName = record.stampRcvName;
  values.ecmMode = record.ecmMode;
  values.machineId = TrimTrailingBlanks(record.machineId);
  values.machineNumber = TrimTrailingBlanks(record.machineNumber);
  values.prefixDial = TrimTrailingBlanks(record.prefixDial);
  if (record.powerSave != 0) {
    values.powerSave = 1;
    values.minutes = record.powerSave - 1;
  } else {
    values.powerSave = 0;
  }
  values.tollSaver = record.tollSaver;
}

void CommitPageValues(const AdvancedPageValues& values, AdvancedSetupRecord& record) {
  // A list without a selection holds -1, which the record keeps as 255.
  record.ringer = uint8_t(values.ringer);
  record.speaker = uint8_t(values.speaker);
  record.language = LanguageValue(values.language);
  record.usbMode = uint8_t(values.usbMode);
  record.clockMode = uint8_t(values.clockMode);
  record.powerSave = values.powerSave != 0 ? uint8_t(values.minutes + 1) : 0;
  record.alarmSound = uint8_t(values.alarmSound);
  record.keySound = uint8_t(values.keySound);
  record.stampRcvName = uint8_t(values.stampRcvName);
  record.ecmMode = uint8_t(values.ecmMode);
  StoreText(values.machineId, kMachineIdWidth, record.machineId);
  StoreText(values.machineNumber, kMachineNumberWidth, record.machineNumber);
  StoreText(values.prefixDial, kPrefixDialWidth, record.prefixDial);
}

void TrimPrefixDial(AdvancedSetupRecord& record, AdvancedPageValues& values) {
  values.prefixDial = TrimTrailingBlanks(record.prefixDial);
}

}  // namespace vornik
