// The values the Advanced page keeps, one per control, the rules that move them between the
// page and `AdvancedSetup`, and the two flags the page shares with the File menu.
#pragma once

#include <cstdint>
#include <string>

#include "settings/advanced_setup.h"

namespace vornik {

// Set when the Advanced page has made its controls; never cleared. The File menu then has
// the page re-show a loaded record instead of setting `skipNextAdvancedRead`.
extern bool advancedPageCreated;
// Set by a settings load before the Advanced page exists: the page's next fill shows the
// loaded record instead of reading the device, and clears the flag.
extern bool skipNextAdvancedRead;

// The minutes list's items after 5, 10, 15, 30 and 45 minutes; `powerSave` is index + 1.
inline constexpr int32_t kPowerSaveMinutesItems = 5;

struct AdvancedPageValues {
  // Check boxes: 0 clear, 1 checked.
  int32_t alarmSound = 0;
  int32_t keySound = 0;
  int32_t ecmMode = 0;
  int32_t stampRcvName = 0;
  // Drop-down lists: the selected index, -1 for none.
  int32_t language = 0;
  int32_t ringer = 0;
  int32_t speaker = 0;
  int32_t usbMode = 0;
  int32_t clockMode = 0;
  int32_t minutes = 3;
  // Radio groups: 0 Off, 1 On, -1 neither.
  int32_t powerSave = 1;
  int32_t tollSaver = 1;
  std::string machineId;
  std::string machineNumber;
  std::string prefixDial;
};

// The language list's item for a device language code: the device's codes in item order
// are 0, 1, 2, 11, 4, 5, 6, 12.
int32_t LanguageIndex(uint8_t value);
// The device language code of a list item (-1, no item, gives 255).
uint8_t LanguageValue(int32_t index);

// What the page shows of a record from the device or a file: every list, check box and
// radio group; the minutes item only when power save is on. Trims the record's three texts
// of trailing blanks, in place, and takes them.
void FillPageValues(AdvancedSetupRecord& record, AdvancedPageValues& values);

// Copies the page values into the record: lists, check boxes, `powerSave` (minutes item + 1
// when power save is not Off, else 0) and the texts, each cut to its field's width. The
// toll-saver fields are not touched.
void CommitPageValues(const AdvancedPageValues& values, AdvancedSetupRecord& record);

// Trims the record's prefix dial of trailing blanks and takes it back as the page's text.
void TrimPrefixDial(AdvancedSetupRecord& record, AdvancedPageValues& values);

}  // namespace vornik
