// The rules by which the page and its dialogs change the store, on the store alone.
#include <gmock/gmock.h>

#include <array>
#include <string>

#include "link/machine_state.h"
#include "phonebook/group_dial_selection.h"
#include "phonebook/phonebook_edits.h"
#include "phonebook_fixture.h"

namespace vornik::test {
namespace {

using testing::Each;
using testing::ElementsAre;

class PhonebookEditsTest : public PhonebookTest {
 protected:
  void ordinary(int index, const char* name, const char* number) {
    StoreEntryTexts(entry(size_t(index)), name, number);
  }
  // A group as the device reports it: its members marked in use.
  void group(int index, std::initializer_list<int> members, uint8_t inUse = 0) {
    PhonebookEntry& g = entry(size_t(index));
    g.groupFlag = 1;
    g.inUseFlag = inUse;
    SetEntryName(g, "GROUP");
    for (int m : members) {
      ASSERT_TRUE(AddGroupMember(g.dialData, m));
      entry(size_t(m)).inUseFlag = 1;
    }
  }
  bool empty(int index) {
    const PhonebookEntry& e = entry(size_t(index));
    return e.groupFlag == 0 && e.name[0] == 0 && e.dialData[0] == 0;
  }
  uint8_t count(int index) { return PhonebookStore.ReferenceCounts[size_t(index)]; }
};

TEST_F(PhonebookEditsTest, EditAndGroupDialFollowTheEntryKind) {
  ordinary(0, "DESK", "5550100");
  ordinary(1, "NAME ONLY", "");
  group(2, {0});
  entry(3).groupFlag = 1;  // a group without name or members
  group(5, {8, 9});        // members 8 and above only: its first member byte is zero
  SetEntryName(entry(5), "");
  struct Row {
    int index;
    std::optional<bool> edit, groupDial;
  };
  for (const Row& row : {Row{0, true, false}, Row{1, {}, {}}, Row{2, false, true},
                         Row{3, false, true}, Row{5, false, true}, Row{4, true, true}}) {
    const EntryButtonStates states = ButtonStatesFor(entry(size_t(row.index)));
    EXPECT_EQ(states.edit, row.edit) << row.index;
    EXPECT_EQ(states.groupDial, row.groupDial) << row.index;
  }
}

TEST_F(PhonebookEditsTest, EntryDialogTakesANumberOfThreeWithADigitAndFillsTheFieldsWhole) {
  for (const char* good : {"PP1", "123", "*#*#*#*#1"})
    EXPECT_TRUE(DialNumberAcceptable(good)) << good;
  for (const char* bad : {"", "12", "P1", "*#*", "PPPPPP*#"})
    EXPECT_FALSE(DialNumberAcceptable(bad)) << bad;

  PhonebookEntry& e = entry(7);
  e.inUseFlag = 1;
  const auto bytes = reinterpret_cast<const uint8_t*>(&e);
  ordinary(7, "ABCDEFGHIJKLMNOPQRSTUVW", std::string(50, '9').c_str());
  EXPECT_EQ(EntryName(e), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(bytes[21], 'T');
  EXPECT_EQ(bytes[22], 0);
  EXPECT_EQ(bytes[68], '9');
  EXPECT_EQ(bytes[69], 0);
  EXPECT_EQ(e.inUseFlag, 1);
  EXPECT_EQ(e.groupFlag, 0);
}

TEST_F(PhonebookEditsTest, DeleteRefusesAHeldEntryUntilItsLastGroupIsDeleted) {
  ordinary(0, "A", "100");
  ordinary(1, "B", "101");
  group(19, {0, 1});
  group(30, {1});
  ordinary(40, "MARKED", "102");
  entry(40).inUseFlag = 1;  // in use on the device, held by nothing here
  RebuildReferenceCounts();
  const auto before = TableBytes();
  for (int index : {0, 1, 40, -1, 100})
    EXPECT_FALSE(DeletePhonebookEntry(index)) << index;
  EXPECT_EQ(TableBytes(), before);

  EXPECT_TRUE(DeletePhonebookEntry(19));
  EXPECT_TRUE(empty(19));
  EXPECT_EQ(count(0), 0);
  EXPECT_EQ(entry(0).inUseFlag, 0);
  EXPECT_EQ(count(1), 1);  // still in group 30
  EXPECT_EQ(entry(1).inUseFlag, 1);
  EXPECT_TRUE(DeletePhonebookEntry(0));
  EXPECT_TRUE(empty(0));
  EXPECT_FALSE(DeletePhonebookEntry(1));
}

// Only what goes releases what it holds, so no kept group is left with deleted members;
// a one-touch key's chosen group beyond the store is ignored.
TEST_F(PhonebookEditsTest, DeleteAllKeepsEverythingHeldOrInUse) {
  FreePhonebookStore();
  MachineState.SpeedDialCount = 10;
  MachineState.OneTouchCount = 3;
  ASSERT_TRUE(AllocatePhonebookStore());
  for (int i = 0; i < 6; ++i)
    ordinary(i, "DIAL", "5550100");
  group(6, {0, 1}, /*inUse=*/1);
  group(7, {2});
  group(8, {3});
  entry(10).groupFlag = 1;  // one-touch key choosing group 8
  entry(10).dialData[0] = 8;
  entry(11).groupFlag = 1;
  entry(11).dialData[0] = 200;
  entry(12).groupFlag = 1;  // a key in use, choosing group 7
  entry(12).inUseFlag = 1;
  entry(12).dialData[0] = 7;
  RebuildReferenceCounts();

  EXPECT_EQ(DeleteAllPhonebookEntries(), 6);  // 0, 1, 2, 6, 7 and 12
  std::vector<int> emptied;
  for (int i = 0; i < 13; ++i)
    if (empty(i))
      emptied.push_back(i);
  EXPECT_THAT(emptied, ElementsAre(3, 4, 5, 8, 9, 10, 11));
  EXPECT_EQ(entry(7).groupFlag, 1);
  EXPECT_EQ(count(2), 1);
  EXPECT_EQ(entry(2).inUseFlag, 1);
  EXPECT_EQ(entry(3).inUseFlag, 0);
}

// A group held by another group goes with its members, whether it stands before or after
// the group that holds it.
TEST_F(PhonebookEditsTest, DeleteAllFreesAGroupInsideAGroupInEitherStoreOrder) {
  struct Order {
    int inner, outer;
  };
  for (const Order order : {Order{2, 6}, Order{6, 2}}) {
    FreePhonebookStore();
    ASSERT_TRUE(AllocatePhonebookStore());
    ordinary(0, "A", "100");
    ordinary(1, "B", "101");
    group(order.inner, {0, 1});
    group(order.outer, {order.inner});
    RebuildReferenceCounts();
    EXPECT_EQ(DeleteAllPhonebookEntries(), 0) << order.inner;
    for (int i : {0, 1, 2, 6}) {
      EXPECT_TRUE(empty(i)) << order.inner << " " << i;
      EXPECT_EQ(count(i), 0) << order.inner << " " << i;
      EXPECT_EQ(entry(size_t(i)).inUseFlag, 0) << order.inner << " " << i;
    }
  }
}

TEST_F(PhonebookEditsTest, GroupDialMovesKeepCountsInStepAndBuildTheMemberSet) {
  for (int i : {0, 1, 2, 3, 12})
    ordinary(i, "DIAL", "5550100");
  ordinary(4, "NO NUMBER", "");
  group(19, {1, 2});
  RebuildReferenceCounts();
  ClearSelectionState();
  EXPECT_THAT(IncludeInitialMembers(entry(19).dialData), ElementsAre(1, 2));
  EXPECT_THAT(AvailableEntries(0, 100), ElementsAre(0, 3, 12));
  EXPECT_EQ(EntryLabel(3), "SD  3");
  EXPECT_EQ(EntryLabel(100), "OT  0");

  RemoveEntry(1);
  IncludeEntry(1);  // removed and added again: its count is as it was
  RemoveEntry(2);
  RemoveEntry(2);  // never below 0
  IncludeEntry(3);
  IncludeEntry(12);
  IncludeEntry(kSelectionStateSize);  // beyond the table: nothing
  EXPECT_THAT(std::vector<uint8_t>(PhonebookStore.ReferenceCounts.begin(),
                                   PhonebookStore.ReferenceCounts.begin() + 4),
              ElementsAre(0, 1, 0, 1));
  EXPECT_EQ(count(12), 1);
  const auto set = IncludedMemberSet();
  EXPECT_EQ(set[0], 0x50);  // 1 and 3
  EXPECT_EQ(set[1], 0x08);  // 12
  EXPECT_THAT(std::vector<uint8_t>(set.begin() + 2, set.end()), Each(0));

  // Stored on OK: the member left without a reference is free again.
  ASSERT_TRUE(StoreGroupDial(19, "TEAM", set));
  EXPECT_EQ(EntryName(entry(19)), "TEAM");
  EXPECT_EQ(entry(2).inUseFlag, 0);
  EXPECT_EQ(entry(1).inUseFlag, 1);
}

TEST_F(PhonebookEditsTest, GroupWithoutMembersStaysAGroupOnlyWhileInUse) {
  const std::array<uint8_t, kGroupMemberSetSize> none{};
  ASSERT_TRUE(StoreGroupDial(5, "FREE", none));
  EXPECT_TRUE(empty(5));
  entry(6).inUseFlag = 1;
  ASSERT_TRUE(StoreGroupDial(6, "CHOSEN", none));
  EXPECT_EQ(entry(6).groupFlag, 1);
  EXPECT_EQ(EntryName(entry(6)), "CHOSEN");
  EXPECT_FALSE(StoreGroupDial(100, "OUTSIDE", none));
}

}  // namespace
}  // namespace vornik::test
