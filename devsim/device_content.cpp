#include "devsim/device_content.h"

#include <algorithm>
#include <string_view>

namespace devsim {
namespace {

constexpr uint8_t kBlank = 0x20;

// System setup as the factory ships it, in wire order (get answer bytes 10..31).
constexpr std::array<uint8_t, kSystemSetupSize> kFactorySystemSetup = {
    0x00,        // 10 reserved
    0x00,        // 11 reserved
    0x00,        // 12 tray paper size: Letter
    0x00,        // 13 reserved
    0x00,        // 14 bypass paper size: Letter
    0x00,        // 15 paper type: plain paper
    10,          // 16 discard size, mm
    0x01,        // 17 contrast: normal
    0x01,        // 18 document mode: mixed
    0x00, 100,   // 19 zoom 100 %, high byte first
    0x00, 0x01,  // 21 copies 1
    0x01,        // 23 print time-out: 15 s
    0x01,        // 24 receive mode: FAX
    0x09,        // 25 reserved
    2,           // 26 rings to answer
    3,           // 27 redial interval, minutes
    3,           // 28 redial count
    0x02,        // 29 sending confirmation: on error
    0x01,        // 30 automatic journal on
    0x01,        // 31 reduction of received pages on
};

void PutText(std::span<uint8_t> field, std::string_view text, uint8_t fill) {
  std::fill(field.begin(), field.end(), fill);
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

void PutBe32(std::span<uint8_t> field, uint32_t value) {
  field[0] = uint8_t(value >> 24);
  field[1] = uint8_t(value >> 16);
  field[2] = uint8_t(value >> 8);
  field[3] = uint8_t(value);
}

std::array<uint8_t, kAdvancedSetupSize> FactoryAdvancedSetup() {
  std::array<uint8_t, kAdvancedSetupSize> p{};
  std::span<uint8_t> all(p);
  PutText(all.subspan(0, 20), "+1 555 0100", kBlank);     // machine number
  PutText(all.subspan(20, 20), "VORNIK OFFICE", kBlank);  // machine ID
  p[40] = 0;                                              // clock mode: 12 hour
  p[41] = 0;                                              // language: English
  p[42] = 3;                                              // power save: 15 minutes
  // 43..47: bytes the device keeps for itself; the program carries them through.
  const uint8_t passThrough[5] = {0x00, 0x01, 0x00, 0x00, 0x04};
  std::copy_n(passThrough, 5, p.begin() + 43);
  p[48] = 1;  // USB mode: FAST
  p[49] = 1;  // speaker: ON
  p[50] = 2;  // ringer: MED
  p[51] = 1;  // key sound
  p[52] = 1;  // alarm sound
  p[53] = 1;  // toll saver on
  // Toll-saver window: month, day, year (high byte first), hour, minute.
  const uint8_t tollStart[6] = {10, 10, 0x07, 0xD2, 22, 0};
  const uint8_t tollEnd[6] = {10, 10, 0x07, 0xD2, 6, 30};
  std::copy_n(tollStart, 6, p.begin() + 54);
  std::copy_n(tollEnd, 6, p.begin() + 60);
  PutText(all.subspan(66, 5), "9", kBlank);  // prefix dial
  p[71] = 1;                                 // stamp receiver name
  p[72] = 1;                                 // error-correction mode
  return p;
}

std::array<uint8_t, kDeviceInfoSize> FactoryDeviceInfo() {
  std::array<uint8_t, kDeviceInfoSize> p{};
  std::span<uint8_t> all(p);
  p[0] = 87;                      // free memory, percent
  PutBe32(all.subspan(1), 1843);  // platen scans
  PutBe32(all.subspan(5), 962);   // ADF scans
  PutBe32(all.subspan(9), 5127);  // prints
  PutBe32(all.subspan(13), 3);    // toner replacements
  PutBe32(all.subspan(17), 4);    // ADF jams
  PutBe32(all.subspan(21), 7);    // print jams
  PutText(all.subspan(25, 10), "2.14", 0);
  PutText(all.subspan(35, 10), "V1.3.2", 0);
  PutText(all.subspan(45, 30), "MARV 1.21 04-08-2003", 0);
  PutText(all.subspan(75, 30), "SN ZRV0230417", 0);
  return p;
}

struct FactoryDial {
  size_t slot;  // 1-based, as on the device's keypad
  std::string_view name;
  std::string_view number;
};

constexpr FactoryDial kFactoryDials[] = {
    {1, "FRONT DESK", "5550100"},       {2, "ACCOUNTING", "5550142"},
    {3, "WAREHOUSE", "9P5550187"},      {4, "HEAD OFFICE", "0114930555012"},
    {5, "SERVICE LINE", "18005550199"}, {6, "J. MORALES", "5550163"},
};

// The group dial and its members (slots).
constexpr size_t kFactoryGroupSlot = 20;
constexpr std::string_view kFactoryGroupName = "ALL BRANCHES";
constexpr size_t kFactoryGroupMembers[] = {1, 2, 3, 4};

}  // namespace

void StoreBlankPadded(std::span<const uint8_t> text, std::span<uint8_t> field) {
  size_t i = 0;
  for (; i < field.size() && i < text.size() && text[i] != 0x00 && text[i] != 0xFF; ++i)
    field[i] = text[i];
  std::fill(field.begin() + i, field.end(), kBlank);
}

void RecomputeInUse(std::array<PhonebookSlot, kPhonebookSlots>& phonebook) {
  for (auto& slot : phonebook)
    slot.inUseFlag = 0;
  for (const auto& group : phonebook) {
    if (group.groupFlag == 0)
      continue;
    for (size_t k = 0; k < kPhonebookSlots; ++k)
      if (group.dialData[k / 8] & (0x80 >> (k % 8)))
        phonebook[k].inUseFlag = 1;
  }
}

DeviceContent FactoryContent() {
  DeviceContent content;
  content.systemSetup = kFactorySystemSetup;
  content.advancedSetup = FactoryAdvancedSetup();
  content.deviceInfo = FactoryDeviceInfo();
  for (auto& slot : content.phonebook) {
    slot.name.fill(kBlank);
    slot.dialData.fill(kBlank);
  }
  for (const auto& dial : kFactoryDials) {
    auto& slot = content.phonebook[dial.slot - 1];
    PutText(slot.name, dial.name, kBlank);
    PutText(slot.dialData, dial.number, kBlank);
  }
  auto& group = content.phonebook[kFactoryGroupSlot - 1];
  group.groupFlag = 1;
  PutText(group.name, kFactoryGroupName, kBlank);
  group.dialData.fill(0);
  for (size_t member : kFactoryGroupMembers) {
    const size_t k = member - 1;
    group.dialData[k / 8] |= uint8_t(0x80 >> (k % 8));
  }
  RecomputeInUse(content.phonebook);
  return content;
}

}  // namespace devsim
