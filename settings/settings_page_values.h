// The values the Settings page keeps, one per control, and the rules that move them
// between the page and `SystemSetup`: list indexes and check states as integers, number
// fields as text, clamped to their ranges when a field is left or an arrow is used.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/system_setup.h"

namespace vornik {

// The six number fields, in the order their texts are checked when a field loses focus.
enum class SettingsNumber { DiscardSize, RedialInterval, RingCount, RedialCount, Zoom, Copies };
inline constexpr size_t kSettingsNumberCount = 6;

struct NumberRange {
  int lower;
  int upper;
};

// The range the page keeps each number field in.
NumberRange RangeOf(SettingsNumber field);

// One arrow step: up adds 1, down subtracts 1, anything else leaves the number alone.
enum class SpinDirection { Up, Down, None };

struct SettingsPageValues {
  // Drop-down lists: the selected index, -1 for none.
  int32_t traySize = 0;
  int32_t bypassSize = 0;
  int32_t paperType = 0;
  int32_t sendConfirm = 0;
  int32_t printTimeout = 0;
  int32_t receiveMode = 0;
  int32_t contrast = 1;
  int32_t documentMode = 0;
  // Check boxes: 0 clear, 1 checked.
  int32_t autoJournal = 0;
  int32_t rxReduction = 0;
  // Number fields, indexed by `SettingsNumber`.
  std::array<std::string, kSettingsNumberCount> numbers = {"", "", "", "", "100", "1"};

  std::string& number(SettingsNumber field) { return numbers[size_t(field)]; }
  const std::string& number(SettingsNumber field) const { return numbers[size_t(field)]; }
};

// The decimal number that the text starts with; 0 when it starts with no digit.
int ParseLeadingDigits(std::string_view text);

// `value` moved one step in `direction`, clamped only at the end it moves toward.
int SpinStepValue(int value, SpinDirection direction, NumberRange range);

// Every page value from the record, as shown after a device read or a settings load: a
// control left showing an older value would be committed back over the loaded one.
SettingsPageValues PageValuesFromRecord(const SystemSetupRecord& record);

// Copies every page value into the record without a range check: a list without a
// selection stores 255, a number text its leading digits.
void CommitPageValues(const SettingsPageValues& values, SystemSetupRecord& record);

// Clamps every number field to its range, stores it in the record and rewrites its text as
// plain decimal. Returns true when any field was out of range.
bool ClampPageNumbers(SettingsPageValues& values, SystemSetupRecord& record);

}  // namespace vornik
