// The items of the Settings and Advanced pages' lists, in English, item 0 first: the
// pages' templates list them, and vornikctl names a field's values by them. A list's
// item index is the field's value, except for the languages (see LanguageIndex) and power
// save (item index + 1, 0 being off).
#pragma once

namespace vornik::setup_items {

inline constexpr const char* kPaperSizes[] = {"Letter", "Legal", "A4"};
// Also the keys of the paper-type list's items in the language file.
inline constexpr const char* kPaperTypes[] = {
    "Plain Paper", "Bond",    "Transparency", "Card Stock", "Labels",
    "Preprinted",  "Colored", "Envelope",     "Thick",      "Thin"};
inline constexpr const char* kSendConfirm[] = {"Off", "On", "On-Error"};
inline constexpr const char* kPrintTimeOut[] = {"Off", "15 sec", "30 sec", "60 sec", "180 sec"};
inline constexpr const char* kContrast[] = {"Lighten", "Normal", "Darken"};
inline constexpr const char* kDocumentMode[] = {"Text", "Mixed", "Photo"};
inline constexpr const char* kReceiveMode[] = {"TEL", "FAX"};

inline constexpr const char* kSpeaker[] = {"OFF", "ON", "COM"};
inline constexpr const char* kRinger[] = {"OFF", "LOW", "MED", "HIGH"};
inline constexpr const char* kUsbMode[] = {"SLOW", "FAST"};
// The page's template has the first seven; the eighth item's text comes from the language
// file, whose English name for it is this one.
inline constexpr const char* kLanguages[] = {"English", "French",  "Spanish", "Portuguese",
                                             "German",  "Italian", "Dutch",   "Swedish"};
inline constexpr int kTemplateLanguages = 7;
inline constexpr const char* kClockMode[] = {"12 hour", "24 hour"};
// Never localized.
inline constexpr const char* kPowerSaveMinutes[] = {"5", "10", "15", "30", "45"};

}  // namespace vornik::setup_items
