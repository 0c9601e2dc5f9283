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

// A device's text as a property value: its control characters shown as '?' (a line break
// or a carriage return would end the content line), backslashes, commas and semicolons
// escaped.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (char c : Printable(text)) {
    if (c == '\\' || c == ',' || c == ';')
      escaped += '\\';
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
  std::string name;                           // upper case, without its group
  std::map<std::string, std::string> params;  // upper-case names; bare values under TYPE
  std::string value;
};

std::optional<ContentLine> ParseContentLine(std::string_view text) {
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

// The logical lines of the text, unfolded, one at a time. Each keeps at most
// kLongestImportText characters.
class UnfoldedLines {
 public:
  explicit UnfoldedLines(std::string_view text) : text_(text) { advance(); }

  // The next logical line, the line of the text it begins on, and whether it was longer
  // than what is kept; false at the end of the text.
  bool next(int& line, std::string& content, bool& cut) {
    if (!pending_)
      return false;
    line = pendingLine_;
    content.clear();
    cut = false;
    append(*pending_, content, cut);
    for (;;) {
      advance();
      if (!pending_ || pending_->empty() || (pending_->front() != ' ' && pending_->front() != '\t'))
        return true;
      append(pending_->substr(1), content, cut);
    }
  }

 private:
  static void append(std::string_view piece, std::string& content, bool& cut) {
    const size_t room = kLongestImportText - content.size();
    cut = cut || piece.size() > room;
    content += piece.substr(0, room);
  }

  // Takes the next physical line into pending_, or none when the text has ended.
  void advance() {
    if (pos_ > text_.size()) {
      pending_.reset();
      return;
    }
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos)
      end = text_.size();
    pending_ = text_.substr(pos_, end - pos_);
    pendingLine_ = ++line_;
    pos_ =
        end == text_.size()
            ? end + 1
            : end + ((text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ? 2
                                                                                              : 1);
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;
  std::optional<std::string_view> pending_;
  int pendingLine_ = 0;
};

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

// A card from BEGIN to END, taking the properties a row is made of as they come.
class CardRow {
 public:
  CardRow(int line, int speedDials) : speedDials_(speedDials) { row_.line = line; }

  int line() const { return row_.line; }

  // Takes the property when a row is made of it; false when it is not read.
  bool take(const ContentLine& content) {
    if (content.name == "VERSION") {
      if (!version_)
        version_ = TrimmedBlanks(content.value);
    } else if (content.name == "FN") {
      if (!fn_)
        fn_ = Unescaped(content.value);
    } else if (content.name == "N") {
      if (!n_)
        n_ = NameFromN(content.value);
    } else if (content.name == "TEL") {
      if (!tel_ || Preference(content) < Preference(*tel_))
        tel_ = content;
    } else if (content.name == "UID") {
      row_.key = TrimmedBlanks(content.value);
    } else if (content.name == "KIND" || content.name == kOldKindProperty) {
      row_.group = AsciiUpper(TrimmedBlanks(content.value)) == "GROUP";
    } else if (content.name == "MEMBER" || content.name == kOldMemberProperty) {
      AddMember(row_, TrimmedBlanks(content.value), speedDials_);
    } else if (content.name == kSpeedDialProperty) {
      row_.speedDial = TrimmedBlanks(content.value);
    } else {
      return false;
    }
    return true;
  }

  // Refuses the card; the first reason given is the one said.
  void refuse(std::string reason) {
    if (!error_)
      error_ = std::move(reason);
  }

  // The card as a row, or why it cannot be one.
  std::variant<ImportRow, std::string> finish() const {
    if (error_)
      return *error_;
    if (!version_)
      return std::string("the card has no VERSION");
    if (*version_ != "3.0" && *version_ != "4.0")
      return "vCard version " + *version_ + " is not read (3.0 and 4.0 are)";
    ImportRow row = row_;
    row.name = fn_ ? *fn_ : n_.value_or(std::string());
    if (tel_)
      row.number = TelNumber(*tel_);
    return row;
  }

 private:
  int speedDials_;
  ImportRow row_;
  std::optional<std::string> version_;
  std::optional<std::string> fn_;
  std::optional<std::string> n_;
  std::optional<ContentLine> tel_;
  std::optional<std::string> error_;
};

bool IsCardBoundary(const std::optional<ContentLine>& content, std::string_view name) {
  return content && content->name == name && AsciiUpper(TrimmedBlanks(content->value)) == "VCARD";
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
  std::optional<CardRow> card;
  const auto finishCard = [&] {
    auto row = card->finish();
    if (auto* reason = std::get_if<std::string>(&row))
      errors.push_back({card->line(), *reason});
    else
      rows.push_back(std::move(std::get<ImportRow>(row)));
    card.reset();
  };
  int depth = 0;         // 1 inside a card, more inside a card inside it
  size_t cards = 0;      // the cards begun
  bool outside = false;  // the last line that is not blank was text outside a card
  UnfoldedLines lines(text);
  int line = 0;
  std::string content;
  bool cut = false;
  while (lines.next(line, content, cut)) {
    if (TrimmedBlanks(content).empty())
      continue;
    const auto parsed = ParseContentLine(content);
    const bool begin = IsCardBoundary(parsed, "BEGIN");
    if (depth == 0) {
      if (!begin) {
        // A run of such lines is one error, so that no text makes more errors than cards.
        if (!outside)
          errors.push_back({line, "text outside a card"});
        outside = true;
        continue;
      }
      if (!ReadsAnotherRow(cards++, line, speedDials, errors))
        break;
      outside = false;
      card.emplace(line, speedDials);
      depth = 1;
    } else if (begin) {
      ++depth;
      card->refuse("a card inside a card");
    } else if (IsCardBoundary(parsed, "END")) {
      if (--depth == 0)
        finishCard();
    } else if (depth == 1 && (!parsed || (card->take(*parsed) && cut))) {
      card->refuse(cut ? "line " + std::to_string(line) + " is longer than " +
                             std::to_string(kLongestImportText) + " characters"
                       : "line " + std::to_string(line) + " is not NAME:VALUE");
    }
  }
  if (card) {
    card->refuse("the card is not closed by END:VCARD");
    finishCard();
  }
  return CheckImportRows(rows, std::move(errors), speedDials);
}

}  // namespace vornik::ctl
