// How vornikctl prints what it read: one "name value" line per field, or one JSON object.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "ctl/setup_fields.h"

namespace vornik::ctl {

using NamedValues = std::vector<std::pair<std::string, FieldValue>>;

nlohmann::json ToJson(const FieldValue& value);

// The values as one JSON object, keys in the order given.
nlohmann::ordered_json ValuesToJson(const NamedValues& values);

// Writes `value` as JSON and a newline. Bytes that are not UTF-8 are replaced, so the output
// is always valid JSON.
void PrintJson(std::ostream& out, const nlohmann::ordered_json& value);

// Writes one line per value: the name, blanks up to a common column, the value.
void PrintValues(std::ostream& out, const NamedValues& values);

// The values as JSON or as lines.
void PrintValues(std::ostream& out, const NamedValues& values, bool json);

}  // namespace vornik::ctl
