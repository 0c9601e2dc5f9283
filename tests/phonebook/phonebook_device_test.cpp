// The phonebook commands against the in-process simulated device.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "devsim/simulated_device.h"
#include "link/machine_state.h"
#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_transfer.h"
#include "phonebook_fixture.h"

namespace vornik::test {
namespace {

std::string Trimmed(std::span<const uint8_t> field) {
  std::string text(field.begin(), field.end());
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

class PhonebookDeviceTest : public PhonebookTest {
 protected:
  PhonebookDeviceTest() { fake.devices.add(PortNameTable[size_t(kPortEcp1)], sim.factory()); }

  devsim::SimulatedDevice sim;
};

TEST_F(PhonebookDeviceTest, ReadGivesTheDevicesEntriesTrimmed) {
  ASSERT_NE(Mfp_GetPhonebook(), 0);
  const auto& book = sim.model.content().phonebook;
  int groups = 0;
  for (size_t i = 0; i < book.size(); ++i) {
    const PhonebookEntry& e = entry(i);
    EXPECT_EQ(e.groupFlag, book[i].groupFlag) << i;
    EXPECT_EQ(e.inUseFlag, book[i].inUseFlag) << i;
    EXPECT_EQ(EntryName(e), Trimmed(book[i].name)) << i;
    if (e.groupFlag != 0) {
      ++groups;
      EXPECT_TRUE(std::equal(book[i].dialData.begin(), book[i].dialData.end(), e.dialData));
    } else {
      EXPECT_EQ(EntryDialNumber(e), Trimmed(book[i].dialData)) << i;
    }
  }
  EXPECT_GT(groups, 0);

  // The device marks in use exactly the members of its groups.
  RebuildReferenceCounts();
  for (size_t i = 0; i < book.size(); ++i)
    EXPECT_EQ(PhonebookStore.ReferenceCounts[i] != 0, entry(i).inUseFlag != 0) << i;
}

TEST_F(PhonebookDeviceTest, WrittenEntriesReadBackAsTheyWereSent) {
  ASSERT_NE(Mfp_GetPhonebook(), 0);
  SetEntryName(entry(49), "NEW ENTRY");
  SetEntryDialNumber(entry(49), "0301 555 12");
  std::memset(entry(50).name, 'L', kEntryNameSize);
  SetEntryDialNumber(entry(50), std::string(kDialDataSize, '9'));
  PhonebookEntry& group = entry(60);
  group = PhonebookEntry{};
  group.groupFlag = 1;
  SetEntryName(group, "NEW GROUP");
  ASSERT_TRUE(AddGroupMember(group.dialData, 49));
  ASSERT_TRUE(AddGroupMember(group.dialData, 50));
  const auto sent = PhonebookStore.entries;

  ASSERT_NE(Mfp_SetPhonebook(), 0);
  FreePhonebookStore();
  ASSERT_TRUE(AllocatePhonebookStore());
  ASSERT_NE(Mfp_GetPhonebook(), 0);

  for (size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(entry(i).groupFlag, sent[i].groupFlag) << i;
    EXPECT_EQ(EntryName(entry(i)), EntryName(sent[i])) << i;
    if (sent[i].groupFlag != 0)
      EXPECT_TRUE(
          std::equal(sent[i].dialData, sent[i].dialData + kDialDataSize, entry(i).dialData));
    else
      EXPECT_EQ(EntryDialNumber(entry(i)), EntryDialNumber(sent[i])) << i;
  }
  EXPECT_EQ(entry(49).inUseFlag, 1);  // now a member of a group
  EXPECT_EQ(entry(50).inUseFlag, 1);
}

}  // namespace
}  // namespace vornik::test
