// What the simulated device keeps between commands: the wire bytes of its records, its
// phonebook and what it knows of the firmware images it received. The records are held
// as the device sends them (get-answer payloads), so the model never depends on how the
// program lays them out in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace devsim {

inline constexpr uint8_t kFactoryModelCode = 2;

// System setup: answer bytes 10..31 of the get answer, in wire order.
inline constexpr size_t kSystemSetupSize = 22;
// Advanced setup: the 73-byte payload, the same for the get answer and the set frame.
inline constexpr size_t kAdvancedSetupSize = 73;
// Device information: the 105-byte payload of the get answer.
inline constexpr size_t kDeviceInfoSize = 105;

// The device's phonebook: 100 speed dials, no one-touch keys.
inline constexpr size_t kPhonebookSlots = 100;
inline constexpr size_t kNameWidth = 20;
inline constexpr size_t kDialWidth = 46;

// A text field of a payload: where it starts and how wide it is.
struct TextField {
  size_t offset;
  size_t width;
};

// The advanced setup's texts (machine number, machine ID, prefix dial), which the device
// keeps blank-padded whatever padding the program sent.
inline constexpr TextField kAdvancedTexts[] = {{0, 20}, {20, 20}, {66, 5}};

struct PhonebookSlot {
  uint8_t groupFlag = 0;
  uint8_t inUseFlag = 0;
  std::array<uint8_t, kNameWidth> name{};      // blank-padded
  std::array<uint8_t, kDialWidth> dialData{};  // number, blank-padded; or a group's member set
  friend bool operator==(const PhonebookSlot&, const PhonebookSlot&) = default;
};

// The firmware images the device took in completely.
struct FirmwareRecord {
  uint32_t imagesReceived = 0;
  uint32_t lastImageSize = 0;
  uint32_t lastImageChecksum = 0;  // 32-bit sum of the image bytes
  friend bool operator==(const FirmwareRecord&, const FirmwareRecord&) = default;
};

struct DeviceContent {
  uint8_t modelCode = kFactoryModelCode;
  std::array<uint8_t, kSystemSetupSize> systemSetup{};
  std::array<uint8_t, kAdvancedSetupSize> advancedSetup{};
  std::array<uint8_t, kDeviceInfoSize> deviceInfo{};
  std::array<PhonebookSlot, kPhonebookSlots> phonebook{};
  FirmwareRecord firmware;
  friend bool operator==(const DeviceContent&, const DeviceContent&) = default;
};

// The content of a device fresh from the factory: everyday settings, an office identity,
// a few named speed dials and one group dial whose members are marked in use.
DeviceContent FactoryContent();

// Copies a text as the program sends it (ending at its first 0x00 or 0xFF fill byte) into
// a field, padding the rest with blanks.
void StoreBlankPadded(std::span<const uint8_t> text, std::span<uint8_t> field);

// Marks in use exactly the speed dials that some group dial names as a member: bit k of a
// group's member set (most significant bit first) stands for speed dial k.
void RecomputeInUse(std::array<PhonebookSlot, kPhonebookSlots>& phonebook);

}  // namespace devsim
