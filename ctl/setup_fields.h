// The fields of the two setup records as vornikctl names, shows and takes them: named as
// the Settings and Advanced pages label them, each value checked against the list or the
// range that the page enforces.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/advanced_setup.h"
#include "settings/system_setup.h"

namespace vornik::ctl {

// A value as vornikctl shows it: the word of a list item, a text, or a number. A device
// value for which the page's list has no item is shown as its number.
using FieldValue = std::variant<std::string, int64_t>;

template <typename Record>
struct SetupField {
  std::string name;     // "tray-paper-size"
  std::string accepts;  // what `set` takes, for --help
  std::function<FieldValue(const Record&)> show;
  // Puts `text` into the record, or answers why the page could not set that value (the
  // record is then unchanged). Empty for a field that the page keeps as the device has it.
  std::function<std::optional<std::string>(std::string_view text, Record&)> take;
};

const std::vector<SetupField<SystemSetupRecord>>& SettingsFields();
const std::vector<SetupField<AdvancedSetupRecord>>& AdvancedFields();

// The word that names a list item: its English text in lower case, blanks as hyphens
// ("On-Error" gives "on-error", "15 sec" gives "15-sec").
std::string ItemWord(std::string_view itemText);

}  // namespace vornik::ctl
