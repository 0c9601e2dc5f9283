// The acknowledgements of the record writes, whatever the device sends and however much
// of the request it takes at a time. The settings write and the phonebook write each
// succeed exactly when every byte went out and the acknowledgement answers the write (bytes
// 4 to 8 its signature, operation and record) with a byte count equal to its length field
// plus 4. Neither changes what it sent.
//
// Input: which write (bit 0), whether the device takes only half a block at a time
// (bit 1), then the acknowledgement.
#include <algorithm>
#include <iterator>

#include "link/command_frame.h"
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
  const uint8_t record = (choice & 1) ? kRecordSystemSetup : kRecordPhonebook;
  const uint8_t writeOfRecord[] = {kSignature[0], kSignature[1], kSignature[2], kOpWriteRecord,
                                   record};
  const bool answersTheWrite =
      received >= 9 &&
      std::equal(std::begin(writeOfRecord), std::end(writeOfRecord), ack.begin() + 4);
  FUZZ_CHECK((result != 0) == (answersTheWrite && received == length + 4));

  FUZZ_CHECK(fuzz::PatternedStore::Table() == table);
  FUZZ_CHECK(PhonebookStore.ReferenceCounts == counts);
  FUZZ_CHECK(fuzz::MachineStateBytes() == state);
  return 0;
}
