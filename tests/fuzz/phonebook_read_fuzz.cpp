// The phonebook answer (Mfp_GetPhonebook), head and body, whatever the device sends and
// however the body is cut into reads. A failed read leaves the store as it was. A successful
// one took a head that answers the read (bytes 4 to 8 its signature, operation and record)
// whose length field counts exactly the records it announces, and changes only entries that a whole
// record of the body names, never an entry's terminator bytes or the reference counts, and leaves
// no name or dial number ending in a blank.
//
// Input: speed dials, one-touch keys, where the body is cut (two bytes), then the answer.
#include <algorithm>
#include <iterator>
#include <set>

#include "link/command_frame.h"
#include "phonebook/phonebook_transfer.h"
#include "phonebook_store_pattern.h"
#include "scripted_link.h"

namespace {

using namespace vornik;

constexpr size_t kHeadSize = 11;

// Store indexes that some whole record of the body could name.
std::set<size_t> NamedEntries(std::span<const uint8_t> head, std::span<const uint8_t> body) {
  std::set<size_t> named;
  const size_t count = head.size() == kHeadSize ? head[10] : 0;
  const size_t entries = PhonebookStore.entries.size();
  const size_t whole = body.size() / kPhonebookRecordSize;
  for (size_t r = 0; r < std::min({count, entries, whole}); ++r) {
    const size_t slot = body[r * kPhonebookRecordSize];
    if (slot >= 1 && slot <= entries)
      named.insert(slot - 1);
  }
  return named;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader input(data, size);
  fuzz::ScriptedLink link;
  const uint8_t speedDials = input.byte();
  const uint8_t oneTouchKeys = input.byte() % 16;
  fuzz::PatternedStore store(speedDials, oneTouchKeys);
  const uint8_t firstCut = input.byte(), secondCut = input.byte();
  const auto head = input.take(kHeadSize);
  const auto body = input.rest();
  // The body in up to three reads: the first and the two retries after a short one.
  const size_t a = body.size() * firstCut / 255;
  const size_t b = a + (body.size() - a) * secondCut / 255;
  link.device.answers = {{head.begin(), head.end()},
                         {body.begin(), body.begin() + ptrdiff_t(a)},
                         {body.begin() + ptrdiff_t(a), body.begin() + ptrdiff_t(b)},
                         {body.begin() + ptrdiff_t(b), body.end()}};
  const auto before = fuzz::PatternedStore::Table();
  const auto counts = PhonebookStore.ReferenceCounts;

  const int result = Mfp_GetPhonebook();

  FUZZ_CHECK(PhonebookStore.ReferenceCounts == counts);
  const auto after = fuzz::PatternedStore::Table();
  if (result == 0) {
    FUZZ_CHECK(after == before);
    return 0;
  }
  FUZZ_CHECK(head.size() == kHeadSize);
  const uint8_t readOfPhonebook[] = {kSignature[0], kSignature[1], kSignature[2], kOpReadRecord,
                                     kRecordPhonebook};
  FUZZ_CHECK(std::equal(std::begin(readOfPhonebook), std::end(readOfPhonebook), head.begin() + 4));
  FUZZ_CHECK(size_t(head[2] << 8 | head[3]) == kHeadSize - 4 + kPhonebookRecordSize * head[10]);
  const auto named = NamedEntries(head, body);
  const auto* old = reinterpret_cast<const PhonebookEntry*>(before.data());
  for (size_t i = 0; i < PhonebookStore.entries.size(); ++i) {
    const PhonebookEntry& entry = PhonebookStore.entries[i];
    const bool unchanged = std::memcmp(&entry, &old[i], sizeof entry) == 0;
    FUZZ_CHECK(unchanged || named.contains(i));
    if (unchanged)
      continue;  // a record the body holds need not have arrived: the reads may stop short
    FUZZ_CHECK(entry.nameTerminator == old[i].nameTerminator);
    FUZZ_CHECK(entry.dialTerminator == old[i].dialTerminator);
    FUZZ_CHECK(!EntryName(entry).ends_with(' '));
    if (entry.groupFlag == 0)
      FUZZ_CHECK(!EntryDialNumber(entry).ends_with(' '));
  }
  return 0;
}
