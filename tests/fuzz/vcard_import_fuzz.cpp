// vornikctl's vCard reader: rows it takes obey the dialogs' rules, and what it takes comes
// back the same through the writer, in vCard 3.0 and 4.0.
#include "ctl/vcard_phonebook.h"
#include "phonebook_rows_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ctl::ImportedPhonebook imported = ctl::ParseVcardPhonebook(text, fuzz::kSpeedDials);
  fuzz::CheckImportedRows(imported);
  for (const int version : {3, 4}) {
    const ctl::ImportedPhonebook again = ctl::ParseVcardPhonebook(
        ctl::WriteVcardPhonebook(imported.rows, version), fuzz::kSpeedDials);
    FUZZ_CHECK(again.errors.empty());
    FUZZ_CHECK(fuzz::SameRows(again.rows, imported.rows));
  }
  return 0;
}
