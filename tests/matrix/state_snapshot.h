// What a device command may change, taken before and after it, part by part: the records
// of `MachineState`, `PhonebookStore`, the simulated device's content, the files of a
// folder and what a page shows. Each part is kept as bytes or text, so two snapshots
// compare part by part and a difference names its part.
#pragma once

#include <QString>

#include <map>
#include <string>
#include <vector>

#include "devsim/device_content.h"

class QWidget;

namespace vornik::test {

using Snapshot = std::map<std::string, std::string>;

// "SystemSetup", "AdvancedSetup", "DeviceInfo": the three records as their fields stand.
void AddRecords(Snapshot& snapshot);
// "store": every entry of `PhonebookStore` and its reference counts.
void AddPhonebookStore(Snapshot& snapshot);
// "device setup", "device advanced", "device info", "device phonebook", "device firmware".
void AddDeviceContent(Snapshot& snapshot, const devsim::DeviceContent& content);
// "files": the name and bytes of every file in `folder`.
void AddFiles(Snapshot& snapshot, const QString& folder);
// "page": the value every field, list, button, label, picker and row of `page` shows.
void AddPageLook(Snapshot& snapshot, const QWidget& page);

// The parts of `expected` that `actual` lacks or holds otherwise; with `allParts`, also
// the parts only `actual` has.
std::vector<std::string> DifferingParts(const Snapshot& expected, const Snapshot& actual,
                                        bool allParts);

}  // namespace vornik::test
