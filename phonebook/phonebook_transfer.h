// The two phonebook commands: read the whole phonebook from the device into
// `PhonebookStore`, and send the whole store back. Both move N `PhonebookRecord`s:
//
//   offset 0   slot number: store index + 1 (1 to N)
//          1   groupFlag
//          2   inUseFlag
//          3   name, 20 bytes
//          23  dialData, 46 bytes
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

inline constexpr size_t kPhonebookRecordSize = 69;

inline constexpr uint32_t kPhonebookRequestWaitMs = 1000;
// The device needs time to assemble a whole phonebook before its body is read and to store
// one before it acknowledges; it may take or give a long block in pieces, so a short
// transfer is completed after a pause.
inline constexpr uint32_t kPhonebookBodySleepMs = 1000;
inline constexpr uint32_t kPhonebookAcknowledgeSleepMs = 1000;
inline constexpr uint32_t kPhonebookRetrySleepMs = 500;

// Sends 1B A4 00 06 50 E0 82 C1 42 FF (after discarding what the device holds unread),
// busy-waits 1000 ms, reads the 11-byte answer head, sleeps 1000 ms and reads the 69 x N
// byte body (two retries after 500 ms sleeps when it comes short). Fails when the request is
// not written whole, the head is not 11 bytes that answer this request (bytes 4 to 8 those
// of the request) with a length field of 7 + 69 x its record count, no more than 11 body
// bytes arrived, or fewer whole records than the head announces (at most
// N); the store is then untouched. On success the announced records overwrite the entries
// their slots name; the others keep their contents. Returns non-zero on success.
int Mfp_GetPhonebook();

// Sends the 10 + 69 x N byte frame of every entry in store order (after discarding what the
// device holds unread; two retries after 500 ms sleeps for a short write), sleeps 1000 ms
// and reads the 10-byte acknowledgement. Succeeds when every byte was written and the
// acknowledgement answers the frame (`IsAcknowledgement`). Never changes the store. Returns
// non-zero on success.
int Mfp_SetPhonebook();

}  // namespace vornik
