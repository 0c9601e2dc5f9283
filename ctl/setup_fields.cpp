#include "ctl/setup_fields.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <span>

#include "ctl/ascii_text.h"
#include "link/debug_trace.h"
#include "link/field_characters.h"
#include "settings/advanced_page_values.h"
#include "settings/settings_page_values.h"
#include "settings/setup_items.h"

namespace vornik::ctl {
namespace {

using Items = std::span<const char* const>;
using TakeResult = std::optional<std::string>;

constexpr const char* kSwitch[] = {"Off", "On"};
// Power save off, or on after the minutes of an item of the page's minutes list.
constexpr const char* kPowerSave[] = {
    "Off",
    setup_items::kPowerSaveMinutes[0],
    setup_items::kPowerSaveMinutes[1],
    setup_items::kPowerSaveMinutes[2],
    setup_items::kPowerSaveMinutes[3],
    setup_items::kPowerSaveMinutes[4],
};

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string WordList(Items items) {
  std::string list;
  for (const char* item : items)
    list += (list.empty() ? "" : ", ") + ItemWord(item);
  return list;
}

// The whole text as a decimal number; nullopt for anything else.
std::optional<int64_t> WholeNumber(std::string_view text) {
  int64_t value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

// A list whose item index maps to the field's value through `toValue` and back through
// `toIndex` (the identity for every list but the languages).
template <typename Record>
SetupField<Record> ListField(std::string name, uint8_t Record::*member, Items items,
                             int32_t (*toIndex)(uint8_t) = nullptr,
                             uint8_t (*toValue)(int32_t) = nullptr) {
  SetupField<Record> field{name, "one of " + WordList(items), nullptr, nullptr};
  field.show = [=](const Record& record) -> FieldValue {
    const uint8_t value = record.*member;
    const int32_t index = toIndex ? toIndex(value) : value;
    if (index >= 0 && size_t(index) < items.size())
      return ItemWord(items[size_t(index)]);
    return int64_t(value);
  };
  field.take = [=](std::string_view text, Record& record) -> TakeResult {
    const std::string word = ItemWord(text);
    for (size_t i = 0; i < items.size(); ++i) {
      if (ItemWord(items[i]) == word) {
        record.*member = toValue ? toValue(int32_t(i)) : uint8_t(i);
        return std::nullopt;
      }
    }
    return name + " takes one of " + WordList(items) + ", not " + Quoted(text);
  };
  return field;
}

// A list the page carries unchanged: shown, never set.
template <typename Record>
SetupField<Record> KeptListField(std::string name, uint8_t Record::*member, Items items) {
  SetupField<Record> field = ListField(std::move(name), member, items);
  field.accepts = "(shown only: the page keeps it as the device has it)";
  field.take = nullptr;
  return field;
}

template <typename Record, typename Number>
SetupField<Record> NumberField(std::string name, Number Record::*member, NumberRange range,
                               const char* unit = "") {
  const std::string span = std::to_string(range.lower) + " to " + std::to_string(range.upper);
  SetupField<Record> field{name, span + unit, nullptr, nullptr};
  field.show = [=](const Record& record) -> FieldValue { return int64_t(record.*member); };
  field.take = [=](std::string_view text, Record& record) -> TakeResult {
    const auto value = WholeNumber(text);
    if (!value || *value < range.lower || *value > range.upper)
      return name + " takes a number from " + span + ", not " + Quoted(text);
    record.*member = Number(*value);
    return std::nullopt;
  };
  return field;
}

// What a text field may hold, in words.
const char* KindWords(FilterKind kind) {
  switch (kind) {
    case FilterKind::kDigits:
      return "digits, blanks and +";
    case FilterKind::kName:
      return "letters, digits, blanks and + - , . ' / * # &";
    case FilterKind::kDialString:
      return "digits, #, * and P";
  }
  return "";
}

struct TextRule {
  FilterKind kind;
  bool upperCase;     // the page turns typed letters into capitals
  bool trimTrailing;  // the page trims trailing blanks as it takes the text
};

// A text field of N - 1 characters and its terminator.
template <typename Record, size_t N>
SetupField<Record> TextField(std::string name, char (Record::*member)[N], TextRule rule) {
  constexpr size_t kWidth = N - 1;
  const std::string accepts =
      "at most " + std::to_string(kWidth) + " characters: " + KindWords(rule.kind);
  SetupField<Record> field{name, accepts, nullptr, nullptr};
  field.show = [=](const Record& record) -> FieldValue {
    char text[N] = {};
    std::memcpy(text, record.*member, kWidth);  // a device text may fill its field
    return std::string(TrimTrailingBlanks(text));
  };
  field.take = [=](std::string_view text, Record& record) -> TakeResult {
    std::string value(text);
    if (rule.upperCase)
      value = AsciiUpper(value);
    if (rule.trimTrailing)
      value.erase(value.find_last_not_of(' ') + 1);
    for (char c : value) {
      const int code = static_cast<unsigned char>(c);
      if (code < ' ' || code > '~' || !FieldAccepts(rule.kind, code))
        return name + " holds " + KindWords(rule.kind) + "; " + Quoted(text) + " has others";
    }
    if (value.size() > kWidth)
      return name + " holds at most " + std::to_string(kWidth) + " characters; " + Quoted(text) +
             " has " + std::to_string(value.size());
    std::memset(record.*member, 0, N);
    std::memcpy(record.*member, value.data(), value.size());
    return std::nullopt;
  };
  return field;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// "YYYY-MM-DDTHH:MM" (or a blank for the T) of a moment the toll-saver pickers can show.
std::optional<DeviceDateTime> ParseTollTime(std::string_view text) {
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != ' ') || text[13] != ':')
    return std::nullopt;
  const auto part = [&](size_t at, size_t width) { return WholeNumber(text.substr(at, width)); };
  const auto year = part(0, 4), month = part(5, 2), day = part(8, 2), hour = part(11, 2),
             minute = part(14, 2);
  if (!year || !month || !day || !hour || !minute)
    return std::nullopt;
  if (*year < kFirstTollYear || *year > kLastTollYear || *month < 1 || *month > 12 || *day < 1 ||
      *day > DaysInMonth(int(*year), int(*month)) || *hour > 23 || *minute > 59)
    return std::nullopt;
  return DeviceDateTime{uint8_t(*month), uint8_t(*day), uint16_t(*year), uint8_t(*hour),
                        uint8_t(*minute)};
}

SetupField<AdvancedSetupRecord> TollTimeField(std::string name,
                                              DeviceDateTime AdvancedSetupRecord::*member) {
  const std::string accepts = "a date and time from 1990-01-01T00:00 to 2089-12-31T23:59";
  SetupField<AdvancedSetupRecord> field{name, accepts, nullptr, nullptr};
  field.show = [=](const AdvancedSetupRecord& record) -> FieldValue {
    const DeviceDateTime& t = record.*member;
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u", unsigned(t.year),
                  unsigned(t.month), unsigned(t.day), unsigned(t.hour), unsigned(t.minute));
    return std::string(text);
  };
  field.take = [=](std::string_view text, AdvancedSetupRecord& record) -> TakeResult {
    const auto time = ParseTollTime(text);
    if (!time)
      return name + " takes " + accepts + " (YYYY-MM-DDTHH:MM), not " + Quoted(text);
    record.*member = *time;
    return std::nullopt;
  };
  return field;
}

}  // namespace

std::string ItemWord(std::string_view itemText) {
  std::string word = AsciiLower(itemText);
  for (char& c : word)
    if (c == ' ' || c == '_')
      c = '-';
  return word;
}

const std::vector<SetupField<SystemSetupRecord>>& SettingsFields() {
  using R = SystemSetupRecord;
  using namespace setup_items;
  static const std::vector<SetupField<R>> fields = {
      ListField("tray-paper-size", &R::traySize, kPaperSizes),
      ListField("bypass-paper-size", &R::bypassSize, kPaperSizes),
      ListField("paper-type", &R::paperType, kPaperTypes),
      NumberField("discard-size", &R::discardSize, RangeOf(SettingsNumber::DiscardSize), " mm"),
      NumberField("rings-to-answer", &R::ringCount, RangeOf(SettingsNumber::RingCount)),
      NumberField("redial-interval", &R::redialInterval, RangeOf(SettingsNumber::RedialInterval),
                  " minutes"),
      NumberField("redial-count", &R::redialCount, RangeOf(SettingsNumber::RedialCount)),
      NumberField("zoom", &R::zoom, RangeOf(SettingsNumber::Zoom), " percent"),
      NumberField("copies", &R::copies, RangeOf(SettingsNumber::Copies)),
      ListField("sending-confirmation", &R::sendConfirm, kSendConfirm),
      ListField("print-time-out", &R::printTimeout, kPrintTimeOut),
      ListField("auto-journal", &R::autoJournal, kSwitch),
      ListField("rx-reduction", &R::rxReduction, kSwitch),
      KeptListField("contrast", &R::contrast, kContrast),
      KeptListField("document-mode", &R::documentMode, kDocumentMode),
      KeptListField("receive-mode", &R::receiveMode, kReceiveMode),
  };
  return fields;
}

const std::vector<SetupField<AdvancedSetupRecord>>& AdvancedFields() {
  using R = AdvancedSetupRecord;
  using namespace setup_items;
  static const std::vector<SetupField<R>> fields = {
      TextField("machine-number", &R::machineNumber, {FilterKind::kDigits, true, false}),
      TextField("machine-id", &R::machineId, {FilterKind::kName, true, false}),
      TextField("prefix-dial", &R::prefixDial, {FilterKind::kDigits, false, true}),
      ListField("speaker", &R::speaker, kSpeaker),
      ListField("ringer", &R::ringer, kRinger),
      ListField("toll-saver", &R::tollSaver, kSwitch),
      TollTimeField("toll-start", &R::tollStart),
      TollTimeField("toll-end", &R::tollEnd),
      ListField("usb-mode", &R::usbMode, kUsbMode),
      ListField("language", &R::language, kLanguages, LanguageIndex, LanguageValue),
      ListField("clock-mode", &R::clockMode, kClockMode),
      ListField("power-save", &R::powerSave, kPowerSave),  // off, or after that many minutes
      ListField("alarm-sound", &R::alarmSound, kSwitch),
      ListField("key-sound", &R::keySound, kSwitch),
      ListField("stamp-receiver-name", &R::stampRcvName, kSwitch),
      ListField("ecm-mode", &R::ecmMode, kSwitch),
  };
  return fields;
}

}  // namespace vornik::ctl
