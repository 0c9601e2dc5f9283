// The waits each device operation must spend by its protocol: the busy waits and sleeps it
// performs on the way that succeeds, summed from the constants the program itself uses.
// Whatever an operation takes beyond these is the program's cost.
//
// The simulated device prepares every answer in less time than the wait before its read
// (devsim/device_model.h), so the device's own time hides inside these waits.
#pragma once

#include <cstdint>

#include "info/device_info.h"
#include "info/firmware_download.h"
#include "link/inquiry.h"
#include "phonebook/phonebook_transfer.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"
#include "ui/page_command.h"

namespace vornik::bench {

// Start-up's inquiry, as it runs before the window: no page pause.
inline constexpr uint32_t kInquiryMandatedMs = kInquiryWaitMs;

// The page commands: each ends with the page's pause.
inline constexpr uint32_t kGetSettingsMandatedMs = kGetSettingsWaitMs + kAfterCommandMs;
inline constexpr uint32_t kSetSettingsMandatedMs = kSetSettingsWaitMs + kAfterCommandMs;
inline constexpr uint32_t kGetAdvancedMandatedMs = kSystemInfoWaitMs + kAfterCommandMs;
inline constexpr uint32_t kSetAdvancedMandatedMs = kSystemInfoWaitMs + kAfterCommandMs;
inline constexpr uint32_t kGetInformationMandatedMs = kGetDeviceInfoWaitMs + kAfterCommandMs;
// The busy wait after the request, the sleep before the body; the retry sleeps only follow
// a body that came short.
inline constexpr uint32_t kGetPhonebookMandatedMs =
    kPhonebookRequestWaitMs + kPhonebookBodySleepMs + kAfterCommandMs;
// The sleep before the acknowledgement; the retry sleeps only follow a short write.
inline constexpr uint32_t kSetPhonebookMandatedMs = kPhonebookAcknowledgeSleepMs + kAfterCommandMs;

// The download over the common connection: the pause after the announce, before the first
// block and after the last. No pause comes between blocks, so the image's size adds only
// its wire time; the repeated announce (kBeforeRepeatedAnnounceMs) and the short-write
// pauses follow only a device that did not answer or took part of a block.
inline constexpr uint32_t kFirmwareMandatedMs =
    kAfterAnnounceMs + kBeforeFirstBlockMs + kAfterLastBlockMs;

// From the program's start to its window: the inquiry, then the first page (Settings, on
// the full model the simulator is) reads its record before the window shows.
inline constexpr uint32_t kStartUpMandatedMs = kInquiryWaitMs + kGetSettingsMandatedMs;

// vornikctl, without pages: the inquiry that finds the device, then the phonebook read; an
// import also sends the phonebook back (after saving what it replaces).
inline constexpr uint32_t kCtlExportMandatedMs =
    kInquiryWaitMs + kPhonebookRequestWaitMs + kPhonebookBodySleepMs;
inline constexpr uint32_t kCtlImportMandatedMs =
    kCtlExportMandatedMs + kPhonebookAcknowledgeSleepMs;

}  // namespace vornik::bench
