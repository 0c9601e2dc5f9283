// vornikctl's CSV reader: rows it takes obey the dialogs' rules, and what it takes comes back
// the same through the writer.
#include "ctl/csv_phonebook.h"
#include "phonebook_rows_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ctl::ImportedPhonebook imported = ctl::ParseCsvPhonebook(text, fuzz::kSpeedDials);
  fuzz::CheckImportedRows(imported);
  const ctl::ImportedPhonebook again =
      ctl::ParseCsvPhonebook(ctl::WriteCsvPhonebook(imported.rows), fuzz::kSpeedDials);
  FUZZ_CHECK(again.errors.empty());
  FUZZ_CHECK(fuzz::SameRows(again.rows, imported.rows));
  return 0;
}
