// The control ids of the Phonebook page's template (115).
#pragma once

namespace vornik::res::phonebook_ids {

inline constexpr int kTypeFrame = 1129;
inline constexpr int kOneTouchType = 1034;
inline constexpr int kSpeedDialType = 1035;
inline constexpr int kRead = 1032;
inline constexpr int kWrite = 1024;
inline constexpr int kEntryList = 1027;
inline constexpr int kEdit = 1025;
inline constexpr int kDelete = 1026;
inline constexpr int kDeleteAll = 1031;
inline constexpr int kGroupDial = 1023;

}  // namespace vornik::res::phonebook_ids
