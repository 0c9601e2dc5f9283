#include "ctl/csv_phonebook.h"

#include "ctl/ascii_text.h"

#include <algorithm>
#include <optional>

namespace vornik::ctl {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kColumns[] = {"speed_dial", "name", "phone_number", "members"};
enum Column { kSpeedDial, kName, kPhoneNumber, kMembers, kColumnCount };

// A device's text as a field: its control characters shown as '?' (so no line break is
// left to quote), quoted when it holds a comma or a quote.
std::string Field(std::string_view text) {
  const std::string shown = Printable(text);
  if (shown.find_first_of(",\"") == std::string::npos)
    return shown;
  std::string quoted = "\"";
  for (char c : shown) {
    quoted += c;
    if (c == '"')
      quoted += '"';
  }
  return quoted + "\"";
}

// One record of the file: its fields and the line it begins on, or why it is not one.
struct Record {
  int line = 0;
  size_t fieldCount = 0;            // how many fields the record has
  std::vector<std::string> fields;  // the first of them, as many as the reader keeps
  std::optional<std::string> error;
};

// Splits CSV text into records, keeping track of lines across quoted line breaks. Of each
// record it keeps at most `maxFields` fields of at most kLongestImportText characters.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ >= text_.size(); }

  Record next(size_t maxFields) {
    Record record;
    record.line = line_;
    std::string field;
    bool tooLong = false;
    const auto endField = [&] {
      if (++record.fieldCount <= maxFields)
        record.fields.push_back(std::move(field));
      field.clear();
    };
    for (;;) {
      if (atEnd() || atLineEnd()) {
        endField();
        skipLineEnd();
        if (tooLong)
          record.error =
              "a field longer than " + std::to_string(kLongestImportText) + " characters";
        return record;
      }
      const char c = text_[pos_];
      if (c == ',') {
        endField();
        ++pos_;
      } else if (c == '"' && field.empty()) {
        if (!readQuoted(field, tooLong)) {
          record.error = "a quoted field is not closed";
          return record;
        }
        if (!atEnd() && !atLineEnd() && text_[pos_] != ',') {
          record.error = "text after a closing quote";
          skipRestOfLine();
          return record;
        }
      } else if (c == '"') {
        record.error = "a quote inside a field that does not begin with one";
        skipRestOfLine();
        return record;
      } else {
        keep(field, c, tooLong);
        ++pos_;
      }
    }
  }

 private:
  bool atLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

  void skipLineEnd() {
    if (atEnd())
      return;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
      ++pos_;
    ++pos_;
    ++line_;
  }

  void skipRestOfLine() {
    while (!atEnd() && !atLineEnd())
      ++pos_;
    skipLineEnd();
  }

  // A field's character, unless the field is already as long as any text is.
  static void keep(std::string& field, char c, bool& tooLong) {
    if (field.size() < kLongestImportText)
      field += c;
    else
      tooLong = true;
  }

  // From an opening quote to its closing quote; false (and the rest of the text taken)
  // when the text ends first.
  bool readQuoted(std::string& field, bool& tooLong) {
    ++pos_;
    while (!atEnd()) {
      const char c = text_[pos_];
      if (c == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          keep(field, '"', tooLong);
          pos_ += 2;
          continue;
        }
        ++pos_;
        return true;
      }
      if (c == '\n' || (c == '\r' && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')))
        ++line_;
      keep(field, c, tooLong);
      ++pos_;
    }
    return false;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

bool IsBlank(const Record& record) {
  return record.fieldCount == 1 && record.fields[0].empty() && !record.error;
}

// How rows name each other as members: by the speed dial, without leading zeros.
std::string SpeedDialKey(std::string text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return text;
  const size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? "0" : text.substr(first);
}

void AddMembers(ImportRow& row, std::string_view text, int speedDials) {
  std::string key;
  for (char c : std::string(text) + " ") {
    if (c == ' ' || c == '\t' || c == ';' || c == ',' || c == '\r' || c == '\n') {
      if (!key.empty())
        AddMember(row, SpeedDialKey(key), speedDials);
      key.clear();
    } else {
      key += c;
    }
  }
}

// The position of each column in the file's records, -1 when absent; an error when the
// header is not one of a phonebook.
std::optional<std::string> ReadHeader(const Record& header, std::vector<int>& positions) {
  positions.assign(kColumnCount, -1);
  for (size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = AsciiLower(TrimmedBlanks(header.fields[i]));
    const auto* column = std::find(std::begin(kColumns), std::end(kColumns), name);
    if (column == std::end(kColumns))
      return "unknown column \"" + name + "\" (the columns are speed_dial, name, " +
             "phone_number and members)";
    int& position = positions[size_t(column - std::begin(kColumns))];
    if (position >= 0)
      return "the column " + name + " is named twice";
    position = int(i);
  }
  if (positions[kName] < 0 || positions[kPhoneNumber] < 0)
    return "the header must name the columns name and phone_number";
  return std::nullopt;
}

}  // namespace

std::string WriteCsvPhonebook(const std::vector<PhonebookRow>& rows) {
  std::string text = "speed_dial,name,phone_number,members\r\n";
  for (const PhonebookRow& row : rows) {
    std::string members;
    for (int member : row.members)
      members += (members.empty() ? "" : " ") + std::to_string(member);
    text += std::to_string(row.speedDial) + "," + Field(row.name) + "," + Field(row.number) + "," +
            members + "\r\n";
  }
  return text;
}

ImportedPhonebook ParseCsvPhonebook(std::string_view text, int speedDials) {
  if (text.starts_with(kByteOrderMark))
    text.remove_prefix(kByteOrderMark.size());
  CsvReader reader(text);
  std::vector<RowError> fileErrors;
  std::vector<int> positions;
  // A header of more columns than a phonebook's names one of them twice or one unknown.
  size_t columnCount = kColumnCount + 1;
  bool headerRead = false;
  size_t rowsRead = 0;
  std::vector<ImportRow> rows;
  while (!reader.atEnd()) {
    const Record record = reader.next(columnCount);
    if (IsBlank(record))
      continue;
    if (headerRead && !ReadsAnotherRow(rowsRead++, record.line, speedDials, fileErrors))
      break;
    if (record.error) {
      fileErrors.push_back({record.line, *record.error});
      if (!headerRead)
        break;
      continue;
    }
    if (!headerRead) {
      if (auto error = ReadHeader(record, positions)) {
        fileErrors.push_back({record.line, *error});
        break;
      }
      headerRead = true;
      columnCount = record.fieldCount;
      continue;
    }
    if (record.fieldCount != columnCount) {
      fileErrors.push_back({record.line, std::to_string(record.fieldCount) +
                                             " fields, where the header names " +
                                             std::to_string(columnCount)});
      continue;
    }
    const auto column = [&](Column c) {
      return positions[c] >= 0 ? record.fields[size_t(positions[c])] : std::string();
    };
    ImportRow row;
    row.line = record.line;
    row.speedDial = TrimmedBlanks(column(kSpeedDial));
    row.key = SpeedDialKey(row.speedDial);
    row.name = column(kName);
    row.number = column(kPhoneNumber);
    AddMembers(row, column(kMembers), speedDials);
    row.group = !row.members.empty();
    rows.push_back(std::move(row));
  }
  if (!headerRead && fileErrors.empty())
    fileErrors.push_back({1, "no header line (speed_dial,name,phone_number,members)"});
  return CheckImportRows(rows, std::move(fileErrors), speedDials);
}

}  // namespace vornik::ctl
