#include <gmock/gmock.h>

#include <algorithm>
#include <array>

#include "link/machine_state.h"
#include "phonebook/group_member_set.h"
#include "phonebook_fixture.h"

namespace vornik::test {
namespace {

using testing::Each;
using testing::ElementsAre;

TEST_F(PhonebookTest, StoreIsSizedFromTheCountWordAndZeroFilled) {
  EXPECT_EQ(PhonebookStore.entries.size() * sizeof(PhonebookEntry), 7000u);
  EXPECT_EQ(PhonebookStore.ReferenceCounts.size(), 100u);
  EXPECT_THAT(TableBytes(), Each(0));
  EXPECT_TRUE(PhonebookStoreReady());

  FreePhonebookStore();
  EXPECT_FALSE(PhonebookStoreReady());
  MachineState.SpeedDialCount = 10;
  MachineState.OneTouchCount = 4;
  ASSERT_TRUE(AllocatePhonebookStore());
  EXPECT_EQ(PhonebookStore.entries.size(), 14u);
  EXPECT_THAT(PhonebookStore.ReferenceCounts,
              ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(PhonebookTest, EntryTextsNeverReachPastTheirFields) {
  auto& e = entry(0);
  std::memset(e.name, 'N', sizeof e.name);
  e.nameTerminator = 'X';
  std::memset(e.dialData, '7', sizeof e.dialData);
  e.dialTerminator = 'Y';
  EXPECT_EQ(EntryName(e), std::string(20, 'N'));
  EXPECT_EQ(EntryDialNumber(e), std::string(46, '7'));

  SetEntryName(e, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  SetEntryDialNumber(e, "12");
  EXPECT_EQ(EntryName(e), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(e.nameTerminator, 0);
  EXPECT_EQ(EntryDialNumber(e), "12");
  EXPECT_THAT(std::vector<uint8_t>(e.dialData + 2, e.dialData + 46), Each(0));
  EXPECT_EQ(e.dialTerminator, 0);

  // Clearing a field with no text at all empties it.
  SetEntryName(e, std::string_view{});
  EXPECT_EQ(EntryName(e), "");
}

TEST(GroupMemberSet, SpeedDialsThreeAndTwelveAreBitsOfTheFirstTwoBytes) {
  DefaultMachineState();
  std::array<uint8_t, kGroupMemberSetSize> set{};
  EXPECT_TRUE(AddGroupMember(set, 3));
  EXPECT_TRUE(AddGroupMember(set, 12));
  EXPECT_EQ(set[0], 0x10);
  EXPECT_EQ(set[1], 0x08);
  EXPECT_TRUE(std::all_of(set.begin() + 2, set.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_THAT(GroupMembers(set), ElementsAre(3, 12));

  // No one-touch entry exists with the default counts, and 100 is past the speed dials.
  EXPECT_FALSE(AddGroupMember(set, 100));
  EXPECT_FALSE(AddGroupMember(set, -1));
  set[36] = 0x80;
  set[12] = 0x08;  // speed dial 100
  EXPECT_THAT(GroupMembers(set), ElementsAre(3, 12));
}

TEST(GroupMemberSet, OneTouchMembersComeFirstAndOnlyExistingEntriesCount) {
  DefaultMachineState();
  MachineState.OneTouchCount = 10;
  std::array<uint8_t, kGroupMemberSetSize> set{};
  EXPECT_TRUE(AddGroupMember(set, 99));
  EXPECT_TRUE(AddGroupMember(set, 100 + 9));  // one-touch 9: byte 37, bit 6
  EXPECT_TRUE(AddGroupMember(set, 100 + 0));
  EXPECT_FALSE(AddGroupMember(set, 100 + 10));
  EXPECT_EQ(set[36], 0x80);
  EXPECT_EQ(set[37], 0x40);
  EXPECT_EQ(set[12], 0x10);
  set[37] |= 0x20;  // one-touch 10 does not exist
  EXPECT_THAT(GroupMembers(set), ElementsAre(100, 109, 99));
}

class ReferenceCountTest : public PhonebookTest {
 protected:
  ReferenceCountTest() {
    MachineState.OneTouchCount = 8;
    EXPECT_TRUE(AllocatePhonebookStore());
  }

  void makeGroup(size_t index, std::initializer_list<int> members) {
    entry(index).groupFlag = 1;
    for (int m : members)
      EXPECT_TRUE(AddGroupMember(entry(index).dialData, m));
  }
  void chooseGroup(size_t oneTouch, uint8_t group) {
    entry(100 + oneTouch).groupFlag = 1;
    entry(100 + oneTouch).dialData[0] = group;
  }
};

TEST_F(ReferenceCountTest, RebuildCountsGroupsAndOneTouchChoices) {
  makeGroup(20, {3, 12, 50, 102});
  makeGroup(21, {3, 50, 99, 20});
  entry(21).dialData[13] = 0x01;  // speed dial 111: past the speed dials, ignored
  entry(21).dialData[37] = 0x01;  // one-touch 15: past the one-touch entries, ignored
  chooseGroup(0, 20);
  chooseGroup(1, 21);
  chooseGroup(3, 200);           // past the store: ignored
  entry(104).dialData[0] = 21;   // an ordinary one-touch entry chooses nothing
  entry(30).dialData[0] = 0xFF;  // an ordinary speed dial's number is not a member set
  entry(3).inUseFlag = 1;
  std::fill(PhonebookStore.ReferenceCounts.begin(), PhonebookStore.ReferenceCounts.end(), 9);

  RebuildReferenceCounts();

  std::vector<uint8_t> expected(108, 0);
  expected[3] = 2;
  expected[12] = 1;
  expected[50] = 2;
  expected[99] = 1;
  expected[102] = 1;
  expected[20] = 2;  // a member of group 21 and the choice of one-touch 0
  expected[21] = 1;
  EXPECT_EQ(PhonebookStore.ReferenceCounts, expected);
  EXPECT_EQ(entry(3).inUseFlag, 1);
  EXPECT_EQ(entry(50).inUseFlag, 0);
}

}  // namespace
}  // namespace vornik::test
