// The phonebook as vCards (3.0 or 4.0), one card per entry:
//
//   BEGIN:VCARD                          BEGIN:VCARD
//   VERSION:4.0                          VERSION:4.0
//   UID:urn:uuid:…                       KIND:group
//   FN:FRONT DESK                        UID:urn:uuid:…
//   TEL;VALUE=text:5550100               FN:ALL BRANCHES
//   X-VORNIK-SPEED-DIAL:0                MEMBER:urn:uuid:… (one per member)
//   END:VCARD                            X-VORNIK-SPEED-DIAL:19
//                                        END:VCARD
//
// A 3.0 card has no KIND or MEMBER: a group says X-ADDRESSBOOKSERVER-KIND:group and names
// its members with X-ADDRESSBOOKSERVER-MEMBER, as address books of that version do, and
// every card carries N beside FN. Each card's UID is made from its speed dial and name,
// so the same phonebook gives the same cards.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ctl/phonebook_rows.h"

namespace vornik::ctl {

// `version` is 3 or 4.
std::string WriteVcardPhonebook(const std::vector<PhonebookRow>& rows, int version);

// Reads vCard 3.0 and 4.0 text for a phonebook of `speedDials` entries: folded lines,
// LF or CR LF line ends, escaped texts, property groups and parameters. A card's name is
// its FN (else its N), its number the preferred TEL (else the first; a tel: URI is read as
// its number), its members the cards whose UIDs its MEMBER properties name. A card without
// X-VORNIK-SPEED-DIAL takes the lowest speed dial left free. Every card that cannot be
// taken is an error at its BEGIN line, with the reason.
ImportedPhonebook ParseVcardPhonebook(std::string_view text, int speedDials);

}  // namespace vornik::ctl
