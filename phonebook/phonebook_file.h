// The phonebook file (.PBF): a 40-byte header, then the entry table exactly as held in
// memory (N x 70 bytes; 7,040 bytes in all with the default counts), nothing after it.
//
//   offset 0   24  "ZRV FAX-RCP Phonebook", then 3 zero bytes   (the only part checked)
//          24  8   "1.00", then 4 zero bytes
//          32  2   20, 16-bit little-endian
//          34  2   80, 16-bit little-endian
//          36  4   zero
//          40      the entries in store order
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vornik {

inline constexpr size_t kPhonebookFileHeaderSize = 40;
inline constexpr char kPhonebookFileMagic[] = "ZRV FAX-RCP Phonebook";

// Saves the header and the whole entry table through `platform::SaveFileSafely`, so a save
// that fails part way (disk full, I/O error) leaves the previous file as it was, except for
// a file rewritten in place that failed after its first byte: `mayBeTorn`, when given, is
// then set. Returns 1 when the file was written, 0 when any step failed or the target may
// not be written.
int WritePhonebookFile(const std::filesystem::path& path, bool* mayBeTorn = nullptr);

// The size of a whole phonebook file for the store's entry count.
uint64_t PhonebookFileSize();

// Loads the entry table from a file whose header starts with the magic text and that holds
// every entry of the store; bytes 24 to 39 and anything after the table are not checked.
// Returns 1 when read; 0 when the file cannot be opened or read, its header text differs or
// it ends before the table does, and the table is then unchanged. `ReferenceCounts` are
// left alone: the caller rebuilds them.
int ReadPhonebookFile(const std::filesystem::path& path);

}  // namespace vornik
