// The phonebook file (.PBF) reader, whatever the file holds, into a store of any size (none
// at all included). A file whose header text is not the phonebook's, or that ends before the
// table does, is refused and changes nothing; any other sets the table from its bytes. Saving
// the store then reading that file back gives the same table.
//
// Input: speed dials, then the file.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "phonebook/phonebook_file.h"
#include "phonebook_store_pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  static const fuzz::InputFile file("PHONE.PBF");
  fuzz::InputReader input(data, size);
  fuzz::PatternedStore store(input.byte(), 0);
  const auto bytes = input.rest();
  file.write(bytes);
  auto expected = fuzz::PatternedStore::Table();

  const int result = ReadPhonebookFile(file.path());

  char header[kPhonebookFileHeaderSize] = {};
  std::copy_n(bytes.begin(), std::min(bytes.size(), sizeof header), header);
  const std::string_view text(header, size_t(std::find(header, std::end(header), '\0') - header));
  const bool phonebook = text == kPhonebookFileMagic && bytes.size() >= PhonebookFileSize();
  FUZZ_CHECK((result != 0) == phonebook);
  if (phonebook) {
    const auto table = bytes.subspan(kPhonebookFileHeaderSize);
    std::copy_n(table.begin(), expected.size(), expected.begin());
  }
  const auto loaded = fuzz::PatternedStore::Table();
  FUZZ_CHECK(loaded == expected);

  const std::string saved = file.beside("SAVED.PBF");
  FUZZ_CHECK(WritePhonebookFile(saved) == 1);
  std::fill(PhonebookStore.entries.begin(), PhonebookStore.entries.end(), PhonebookEntry{});
  FUZZ_CHECK(ReadPhonebookFile(saved) == 1);
  FUZZ_CHECK(fuzz::PatternedStore::Table() == loaded);
  return 0;
}
