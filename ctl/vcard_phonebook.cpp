#include "ctl/vcard_phonebook.h"

#include "ctl/ascii_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <variant>

namespace vornik::ctl {
namespace {

constexpr std::string_view kSpeedDialProperty = "X-VORNIK-SPEED-DIAL";
constexpr std::string_view kOldKindProperty = "X-ADDRESSBOOKSERVER-KIND";
constexpr std::string_view kOldMemberProperty = "X-ADDRESSBOOKSERVER-MEMBER";

std::string Escaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == ',' || c == ';')
      escaped += '\\';
    if (c == '\n') {
      escaped += "\\n";
      continue;
    }
    escaped += c;
  }
  return escaped;
}

std::string Unescaped(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      plain += (next == 'n' || next == 'N') ? '\n' : next;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

// 64-bit FNV-1a, from `seed` on.
uint64_t Fnv1a(std::string_view text, uint64_t seed) {
  uint64_t hash = seed;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

// A UUID made from the entry (version 8, the form for UUIDs made by their own rule).
std::string CardUid(const PhonebookRow& row) {
  const std::string source = "speed dial " + std::to_string(row.speedDial) + " " + row.name;
  uint64_t high = Fnv1a(source, 0xCBF29CE484222325ULL);
  uint64_t low = Fnv1a(source, high);
  high = (high & ~0xF000ULL) | 0x8000ULL;
  low = (low & ~(0xC0ULL << 56)) | (0x80ULL << 56);
  char text[64];
  std::snprintf(text, sizeof text, "urn:uuid:%08x-%04x-%04x-%04x-%012llx", unsigned(high >> 32),
                unsigned((high >> 16) & 0xFFFF), unsigned(high & 0xFFFF), unsigned(low >> 48),
                static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
  return text;
}

// One content line, unfolded: [group.]NAME;PARAM=VALUE...:VALUE
struct ContentLine {
  int line = 0;
  std::string name;                           // upper case, without its group
  std::map<std::string, std::string> params;  // upper-case names; bare values under TYPE
  std::string value;
};

std::optional<ContentLine> ParseContentLine(std::string_view text, int line) {
  size_t colon = std::string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"')
      quoted = !quoted;
    else if (text[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == std::string_view::npos)
    return std::nullopt;
  ContentLine content;
  content.line = line;
  content.value = std::string(text.substr(colon + 1));
  std::vector<std::string> parts(1);
  quoted = false;
  for (char c : text.substr(0, colon)) {
    if (c == '"')
      quoted = !quoted;
    else if (c == ';' && !quoted)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  const std::string& name = parts.front();
  content.name =
      AsciiUpper(name.substr(name.find('.') == std::string::npos ? 0 : name.rfind('.') + 1));
  for (size_t i = 1; i < parts.size(); ++i) {
    const size_t equals = parts[i].find('=');
    const std::string key =
        equals == std::string::npos ? "TYPE" : AsciiUpper(parts[i].substr(0, equals));
    const std::string value = equals == std::string::npos ? parts[i] : parts[i].substr(equals + 1);
    std::string& held = content.params[key];
    held += (held.empty() ? "" : ",") + AsciiUpper(value);
  }
  return content;
}

// The logical lines of the text, unfolded, each with the line it begins on.
std::vector<std::pair<int, std::string>> UnfoldedLines(std::string_view text) {
  std::vector<std::pair<int, std::string>> lines;
  int line = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view physical = text.substr(pos, end - pos);
    ++line;
    if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && !lines.empty())
      lines.back().second += physical.substr(1);
    else
      lines.emplace_back(line, std::string(physical));
    if (end == text.size())
      break;
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

bool HasType(const ContentLine& content, std::string_view type) {
  const auto found = content.params.find("TYPE");
  if (found == content.params.end())
    return false;
  const std::string& types = found->second;
  size_t start = 0;
  for (;;) {
    const size_t comma = types.find(',', start);
    if (types.substr(start, comma - start) == type)
      return true;
    if (comma == std::string::npos)
      return false;
    start = comma + 1;
  }
}

// Lower is preferred; a TEL without a preference comes after every one with.
int Preference(const ContentLine& tel) {
  if (const auto pref = tel.params.find("PREF"); pref != tel.params.end())
    return std::atoi(pref->second.c_str());
  return HasType(tel, "PREF") ? 1 : 101;
}

std::string PercentDecoded(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      plain += char(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

// A TEL's number: a tel: URI without its parameters, or the text.
std::string TelNumber(const ContentLine& tel) {
  const std::string& value = tel.value;
  if (AsciiUpper(value.substr(0, 4)) == "TEL:")
    return PercentDecoded(value.substr(
        4, value.find(';') == std::string::npos ? std::string::npos : value.find(';') - 4));
  return Unescaped(value);
}

// The name of a card without FN: its N's given and family names.
std::string NameFromN(std::string_view value) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      parts.back() += value.substr(i, 2);
      ++i;
    } else if (value[i] == ';') {
      parts.emplace_back();
    } else {
      parts.back() += value[i];
    }
  }
  const std::string family = Unescaped(parts[0]);
  const std::string given = parts.size() > 1 ? Unescaped(parts[1]) : std::string();
  return TrimmedBlanks(given + " " + family);
}

// A card's content lines, from BEGIN to END.
struct Card {
  int line = 0;
  std::vector<ContentLine> lines;
  std::optional<std::string> error;
};

// The card as a row, or why it cannot be one.
std::variant<ImportRow, std::string> RowOfCard(const Card& card) {
  const ContentLine* version = nullptr;
  const ContentLine* fn = nullptr;
  const ContentLine* n = nullptr;
  const ContentLine* tel = nullptr;
  ImportRow row;
  row.line = card.line;
  for (const ContentLine& content : card.lines) {
    if (content.name == "VERSION" && version == nullptr)
      version = &content;
    else if (content.name == "FN" && fn == nullptr)
      fn = &content;
    else if (content.name == "N" && n == nullptr)
      n = &content;
    else if (content.name == "TEL" && (tel == nullptr || Preference(content) < Preference(*tel)))
      tel = &content;
    else if (content.name == "UID")
      row.key = TrimmedBlanks(content.value);
    else if (content.name == "KIND" || content.name == kOldKindProperty)
      row.group = AsciiUpper(TrimmedBlanks(content.value)) == "GROUP";
    else if (content.name == "MEMBER" || content.name == kOldMemberProperty)
      row.members.push_back(TrimmedBlanks(content.value));
    else if (content.name == kSpeedDialProperty)
      row.speedDial = TrimmedBlanks(content.value);
  }
  if (version == nullptr)
    return std::string("the card has no VERSION");
  const std::string number = TrimmedBlanks(version->value);
  if (number != "3.0" && number != "4.0")
    return "vCard version " + number + " is not read (3.0 and 4.0 are)";
  if (fn != nullptr)
    row.name = Unescaped(fn->value);
  else if (n != nullptr)
    row.name = NameFromN(n->value);
  if (tel != nullptr)
    row.number = TelNumber(*tel);
  return row;
}

// The cards of the text; text outside a card is an error at its line.
std::vector<Card> SplitCards(std::string_view text, std::vector<RowError>& errors) {
  std::vector<Card> cards;
  int depth = 0;
  for (const auto& [line, content] : UnfoldedLines(text)) {
    if (TrimmedBlanks(content).empty())
      continue;
    const auto parsed = ParseContentLine(content, line);
    const bool begin =
        parsed && parsed->name == "BEGIN" && AsciiUpper(TrimmedBlanks(parsed->value)) == "VCARD";
    const bool end =
        parsed && parsed->name == "END" && AsciiUpper(TrimmedBlanks(parsed->value)) == "VCARD";
    if (depth == 0) {
      if (begin) {
        cards.push_back(Card{line, {}, std::nullopt});
        depth = 1;
      } else {
        errors.push_back({line, "text outside a card"});
      }
      continue;
    }
    Card& card = cards.back();
    if (begin) {
      ++depth;
      card.error = "a card inside a card";
    } else if (end) {
      --depth;
    } else if (!parsed) {
      if (!card.error)
        card.error = "line " + std::to_string(line) + " is not NAME:VALUE";
    } else if (depth == 1) {
      card.lines.push_back(*parsed);
    }
  }
  if (depth > 0 && !cards.back().error)
    cards.back().error = "the card is not closed by END:VCARD";
  return cards;
}

}  // namespace

std::string WriteVcardPhonebook(const std::vector<PhonebookRow>& rows, int version) {
  const bool four = version == 4;
  std::map<int, std::string> uids;
  for (const PhonebookRow& row : rows)
    uids[row.speedDial] = CardUid(row);
  std::string text;
  const auto line = [&text](std::string_view content) {
    text += content;
    text += "\r\n";
  };
  for (const PhonebookRow& row : rows) {
    line("BEGIN:VCARD");
    line(four ? "VERSION:4.0" : "VERSION:3.0");
    if (row.group)
      line(four ? "KIND:group" : std::string(kOldKindProperty) + ":group");
    line("UID:" + uids.at(row.speedDial));
    line("FN:" + Escaped(row.name));
    if (!four)
      line("N:" + Escaped(row.name) + ";;;;");
    if (!row.group)
      line((four ? "TEL;VALUE=text:" : "TEL:") + Escaped(row.number));
    for (int member : row.members) {
      // A member the phonebook holds no entry for has no card to name.
      if (const auto uid = uids.find(member); uid != uids.end())
        line((four ? std::string("MEMBER") : std::string(kOldMemberProperty)) + ":" + uid->second);
    }
    line(std::string(kSpeedDialProperty) + ":" + std::to_string(row.speedDial));
    line("END:VCARD");
  }
  return text;
}

ImportedPhonebook ParseVcardPhonebook(std::string_view text, int speedDials) {
  std::vector<RowError> errors;
  std::vector<ImportRow> rows;
  for (const Card& card : SplitCards(text, errors)) {
    if (card.error) {
      errors.push_back({card.line, *card.error});
      continue;
    }
    auto row = RowOfCard(card);
    if (auto* reason = std::get_if<std::string>(&row))
      errors.push_back({card.line, *reason});
    else
      rows.push_back(std::move(std::get<ImportRow>(row)));
  }
  return CheckImportRows(rows, std::move(errors), speedDials);
}

}  // namespace vornik::ctl
