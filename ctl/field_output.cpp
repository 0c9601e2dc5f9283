#include "ctl/field_output.h"

#include <algorithm>

#include "ctl/ascii_text.h"

namespace vornik::ctl {

nlohmann::json ToJson(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return *text;
  return std::get<int64_t>(value);
}

nlohmann::ordered_json ValuesToJson(const NamedValues& values) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const auto& [name, value] : values)
    object[name] = ToJson(value);
  return object;
}

void PrintJson(std::ostream& out, const nlohmann::ordered_json& value) {
  out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void PrintValues(std::ostream& out, const NamedValues& values) {
  size_t column = 0;
  for (const auto& entry : values)
    column = std::max(column, entry.first.size());
  for (const auto& [name, value] : values) {
    out << name << std::string(column + 2 - name.size(), ' ');
    if (const auto* text = std::get_if<std::string>(&value))
      out << Printable(*text);
    else
      out << std::get<int64_t>(value);
    out << '\n';
  }
}

void PrintValues(std::ostream& out, const NamedValues& values, bool json) {
  if (json)
    PrintJson(out, ValuesToJson(values));
  else
    PrintValues(out, values);
}

}  // namespace vornik::ctl
