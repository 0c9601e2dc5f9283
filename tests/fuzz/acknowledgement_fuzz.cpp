// The acknowledgements of the record writes, whatever the device sends and however much
// of the request it takes at a time. The settings write and the phonebook write each
// succeed exactly when every byte went out and the acknowledgement's byte count equals its
// length field plus 4. Neither changes what it sent.
//
// Input: which write (bit 0), whether the device takes only half a block at a time
// (bit 1), then the acknowledgement.
#include "phonebook/phonebook_transfer.h"
#include "phonebook_store_pattern.h"
#include "scripted_link.h"
#include "settings/system_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  fuzz::InputReader input(data, size);
  fuzz::ScriptedLink link;
  fuzz::PatternedStore store(100, 0);
  const uint8_t choice = input.byte();
  const auto ack = input.rest();
  link.device.answers.emplace_back(ack.begin(), ack.end());
  if (choice & 2)
    link.device.writeLimit = 3500;  // less than a phonebook frame: the retry sends the rest
  const auto table = fuzz::PatternedStore::Table();
  const auto counts = PhonebookStore.ReferenceCounts;
  const auto state = fuzz::MachineStateBytes();

  const int result = (choice & 1) ? Mfp_SetSettings() : Mfp_SetPhonebook();
  const size_t received = std::min<size_t>(ack.size(), 10);
  const size_t length = received >= 5 ? size_t(ack[2] << 8 | ack[3]) : 0;
  FUZZ_CHECK((result != 0) == (received == length + 4));

  FUZZ_CHECK(fuzz::PatternedStore::Table() == table);
  FUZZ_CHECK(PhonebookStore.ReferenceCounts == counts);
  FUZZ_CHECK(fuzz::MachineStateBytes() == state);
  return 0;
}
