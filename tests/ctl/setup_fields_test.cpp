// The setup fields as vornikctl names them: each takes exactly the values its page could
// set, changes only its own part of the record, and shows a device value back as taken.
#include <gmock/gmock.h>

#include <cstring>
#include <sstream>

#include "ctl/setup_fields.h"

namespace vornik::ctl {
namespace {

using testing::HasSubstr;

template <typename Record>
const SetupField<Record>& FieldNamed(const std::vector<SetupField<Record>>& fields,
                                     std::string_view name) {
  for (const auto& field : fields)
    if (field.name == name)
      return field;
  ADD_FAILURE() << "no field " << name;
  return fields.front();
}

// Every field of the two records, compared as they go to the device.
bool Same(const SystemSetupRecord& a, const SystemSetupRecord& b) {
  uint8_t first[system_setup_wire::kFieldBytes], second[system_setup_wire::kFieldBytes];
  EncodeSystemSetup(a, first);
  EncodeSystemSetup(b, second);
  return std::memcmp(first, second, sizeof first) == 0;
}
bool Same(const AdvancedSetupRecord& a, const AdvancedSetupRecord& b) {
  uint8_t first[advanced_setup_wire::kPayloadBytes], second[advanced_setup_wire::kPayloadBytes];
  EncodeAdvancedSetup(a, first);
  EncodeAdvancedSetup(b, second);
  return std::memcmp(first, second, sizeof first) == 0;
}

struct Taken {
  std::string field;
  std::string text;
  std::string shown;  // what the field shows afterwards
};

TEST(SetupFields, SettingsTakeThePagesValuesAndChangeOnlyTheirField) {
  const Taken cases[] = {
      {"tray-paper-size", "A4", "a4"},
      {"bypass-paper-size", "legal", "legal"},
      {"paper-type", "Card Stock", "card-stock"},
      {"paper-type", "thin", "thin"},
      {"discard-size", "0", "0"},
      {"discard-size", "30", "30"},
      {"rings-to-answer", "7", "7"},
      {"redial-interval", "15", "15"},
      {"redial-count", "0", "0"},
      {"zoom", "25", "25"},
      {"zoom", "400", "400"},
      {"copies", "99", "99"},
      {"sending-confirmation", "on-error", "on-error"},
      {"print-time-out", "180_sec", "180-sec"},
      {"auto-journal", "off", "off"},
      {"rx-reduction", "OFF", "off"},
  };
  for (const Taken& c : cases) {
    const auto& field = FieldNamed(SettingsFields(), c.field);
    SystemSetupRecord record = kDefaultSystemSetup;
    ASSERT_EQ(field.take(c.text, record), std::nullopt) << c.field << "=" << c.text;
    const FieldValue shown = field.show(record);
    EXPECT_EQ(std::visit(
                  [](const auto& v) {
                    std::ostringstream s;
                    s << v;
                    return s.str();
                  },
                  shown),
              c.shown);
    // Every other field is as it was.
    for (const auto& other : SettingsFields()) {
      if (other.name != c.field) {
        EXPECT_EQ(other.show(record), other.show(kDefaultSystemSetup)) << other.name;
      }
    }
  }
}

TEST(SetupFields, AdvancedTakeThePagesValuesAsThePageWouldStoreThem) {
  const Taken cases[] = {
      {"machine-number", "+49 30 1234567", "+49 30 1234567"},
      {"machine-id", "acme & sons, ltd.", "ACME & SONS, LTD."},
      {"machine-id", std::string(20, 'x'), std::string(20, 'X')},
      {"prefix-dial", "0  ", "0"},
      {"speaker", "com", "com"},
      {"ringer", "High", "high"},
      {"toll-saver", "off", "off"},
      {"toll-start", "2024-02-29T23:59", "2024-02-29T23:59"},
      {"toll-end", "1990-01-01 00:00", "1990-01-01T00:00"},
      {"toll-end", "2089-12-31T23:59", "2089-12-31T23:59"},
      {"usb-mode", "slow", "slow"},
      {"language", "portuguese", "portuguese"},
      {"language", "swedish", "swedish"},
      {"clock-mode", "24 hour", "24-hour"},
      {"power-save", "off", "off"},
      {"power-save", "45", "45"},
      {"alarm-sound", "off", "off"},
      {"key-sound", "off", "off"},
      {"stamp-receiver-name", "on", "on"},
      {"ecm-mode", "on", "on"},
  };
  for (const Taken& c : cases) {
    const auto& field = FieldNamed(AdvancedFields(), c.field);
    AdvancedSetupRecord record = kDefaultAdvancedSetup;
    ASSERT_EQ(field.take(c.text, record), std::nullopt) << c.field << "=" << c.text;
    EXPECT_EQ(field.show(record), FieldValue(c.shown)) << c.field << "=" << c.text;
    for (const auto& other : AdvancedFields()) {
      if (other.name != c.field) {
        EXPECT_EQ(other.show(record), other.show(kDefaultAdvancedSetup)) << other.name;
      }
    }
  }
  // The device codes behind the two languages beyond the list's length, and power save.
  AdvancedSetupRecord record = kDefaultAdvancedSetup;
  FieldNamed(AdvancedFields(), "language").take("portuguese", record);
  EXPECT_EQ(record.language, 11);
  FieldNamed(AdvancedFields(), "language").take("swedish", record);
  EXPECT_EQ(record.language, 12);
  FieldNamed(AdvancedFields(), "power-save").take("30", record);
  EXPECT_EQ(record.powerSave, 4);
}

TEST(SetupFields, AValueThePageCouldNotSetIsRefusedWithTheRecordUnchanged) {
  const std::pair<std::string, std::string> settings[] = {
      {"tray-paper-size", "a5"}, {"paper-type", "glossy"}, {"discard-size", "31"},
      {"discard-size", "-1"},    {"rings-to-answer", "0"}, {"redial-interval", "16"},
      {"redial-count", "14"},    {"zoom", "24"},           {"zoom", "401"},
      {"zoom", "1e2"},           {"copies", ""},           {"copies", "100"},
      {"print-time-out", "15"},  {"auto-journal", "yes"},
  };
  for (const auto& [name, text] : settings) {
    SystemSetupRecord record = kDefaultSystemSetup;
    const auto refusal = FieldNamed(SettingsFields(), name).take(text, record);
    ASSERT_TRUE(refusal.has_value()) << name << "=" << text;
    EXPECT_THAT(*refusal, HasSubstr(name)) << *refusal;
    EXPECT_TRUE(Same(record, kDefaultSystemSetup)) << name << "=" << text;
  }
  const std::pair<std::string, std::string> advanced[] = {
      {"machine-number", "555-0100"},
      {"machine-number", std::string(21, '1')},
      {"machine-id", "CAFÉ"},
      {"machine-id", "TAB\tHERE"},
      {"machine-id", "QUOTE\""},
      {"prefix-dial", "123456"},
      {"toll-start", "2023-02-29T10:00"},
      {"toll-start", "1989-12-31T23:59"},
      {"toll-end", "2090-01-01T00:00"},
      {"toll-end", "2024-01-01T24:00"},
      {"toll-end", "2024-1-1T10:00"},
      {"language", "klingon"},
      {"power-save", "20"},
      {"ringer", "3"},
  };
  for (const auto& [name, text] : advanced) {
    AdvancedSetupRecord record = kDefaultAdvancedSetup;
    ASSERT_TRUE(FieldNamed(AdvancedFields(), name).take(text, record).has_value())
        << name << "=" << text;
    EXPECT_TRUE(Same(record, kDefaultAdvancedSetup)) << name << "=" << text;
  }
}

TEST(SetupFields, DeviceValuesWithoutAnItemShowAsNumbersAndHiddenFieldsAreNotSet) {
  SystemSetupRecord settings = kDefaultSystemSetup;
  settings.printTimeout = 7;
  settings.autoJournal = 2;
  EXPECT_EQ(FieldNamed(SettingsFields(), "print-time-out").show(settings), FieldValue(7));
  EXPECT_EQ(FieldNamed(SettingsFields(), "auto-journal").show(settings), FieldValue(2));
  for (const char* hidden : {"contrast", "document-mode", "receive-mode"})
    EXPECT_FALSE(FieldNamed(SettingsFields(), hidden).take) << hidden;

  AdvancedSetupRecord advanced = kDefaultAdvancedSetup;
  advanced.language = 9;
  advanced.powerSave = 6;
  std::memcpy(advanced.machineId, "ID WITH BLANKS      ", 20);  // as the device pads it
  EXPECT_EQ(FieldNamed(AdvancedFields(), "language").show(advanced), FieldValue(9));
  EXPECT_EQ(FieldNamed(AdvancedFields(), "power-save").show(advanced), FieldValue(6));
  EXPECT_EQ(FieldNamed(AdvancedFields(), "machine-id").show(advanced),
            FieldValue("ID WITH BLANKS"));
}

}  // namespace
}  // namespace vornik::ctl
