// The inquiry: is the device there, and which model is it.
#pragma once

#include <cstdint>

namespace vornik {

// The device needs this long after the request before its answer can be read.
inline constexpr uint32_t kInquiryWaitMs = 1500;

// Sends 1B A4 00 04 50 E0 82 C0, waits 1500 ms, reads 10 bytes. Succeeds when more than 4
// bytes arrived starting 1B A4; `ModelCode` then takes answer byte 9 (0 when fewer than 10
// arrived). A bad answer sets `ModelCode` to 0; a request that could not be written leaves
// it as it was. Returns non-zero on success.
int Mfp_Inquiry();

}  // namespace vornik
