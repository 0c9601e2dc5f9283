#include "state_snapshot.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

#include <type_traits>

#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

namespace vornik::test {
namespace {

// Only values without padding bytes are appended whole: padding would differ at random.
template <class T>
void Append(std::string& bytes, const T& value) {
  static_assert(std::has_unique_object_representations_v<T>);
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string DeviceInfoBytes(const DeviceInfoRecord& info) {
  std::string bytes;
  for (uint32_t counter : {uint32_t(info.freeMemory), info.platenScanCount, info.adfScanCount,
                           info.printCount, info.tonerCount, info.adfJamCount, info.printJamCount})
    Append(bytes, counter);
  Append(bytes, info.fwVersion);
  Append(bytes, info.engineVersion);
  Append(bytes, info.emulVersion);
  Append(bytes, info.extraText);
  return bytes;
}

std::string Line(const char* kind, const QString& value) {
  return std::string(kind) + " " + value.toStdString() + "\n";
}

}  // namespace

void AddRecords(Snapshot& snapshot) {
  std::string setup(system_setup_wire::kFieldBytes, '\0');
  EncodeSystemSetup(MachineState.SystemSetup, reinterpret_cast<uint8_t*>(setup.data()));
  snapshot["SystemSetup"] = setup;
  std::string advanced(advanced_setup_wire::kPayloadBytes, '\0');
  EncodeAdvancedSetup(MachineState.AdvancedSetup, reinterpret_cast<uint8_t*>(advanced.data()));
  snapshot["AdvancedSetup"] = advanced;
  snapshot["DeviceInfo"] = DeviceInfoBytes(MachineState.DeviceInfo);
}

void AddPhonebookStore(Snapshot& snapshot) {
  std::string bytes;
  for (const PhonebookEntry& entry : PhonebookStore.entries)
    Append(bytes, entry);
  bytes.append(PhonebookStore.ReferenceCounts.begin(), PhonebookStore.ReferenceCounts.end());
  snapshot["store"] = bytes;
}

void AddDeviceContent(Snapshot& snapshot, const devsim::DeviceContent& content) {
  snapshot["device setup"] = std::string(content.systemSetup.begin(), content.systemSetup.end());
  snapshot["device advanced"] =
      std::string(content.advancedSetup.begin(), content.advancedSetup.end());
  snapshot["device info"] = std::string(content.deviceInfo.begin(), content.deviceInfo.end());
  std::string phonebook;
  for (const devsim::PhonebookSlot& slot : content.phonebook) {
    Append(phonebook, slot.groupFlag);
    Append(phonebook, slot.inUseFlag);
    Append(phonebook, slot.name);
    Append(phonebook, slot.dialData);
  }
  snapshot["device phonebook"] = phonebook;
  std::string firmware;
  Append(firmware, content.firmware.imagesReceived);
  Append(firmware, content.firmware.lastImageSize);
  Append(firmware, content.firmware.lastImageChecksum);
  snapshot["device firmware"] = firmware;
}

void AddFiles(Snapshot& snapshot, const QString& folder) {
  std::string files;
  for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
    QFile file(info.filePath());
    files += Line("file", info.fileName());
    if (file.open(QIODevice::ReadOnly))
      files += file.readAll().toStdString();
  }
  snapshot["files"] = files;
}

void AddPageLook(Snapshot& snapshot, const QWidget& page) {
  std::string look;
  for (const QWidget* widget : page.findChildren<QWidget*>()) {
    // The status line reports the command, as its boxes do, with the time of day in it.
    if (widget->objectName() == QLatin1String("StatusLine"))
      continue;
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
      look += Line("edit", edit->text());
    } else if (auto* list = qobject_cast<const QComboBox*>(widget)) {
      look += Line("list", QString::number(list->currentIndex()));
    } else if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      look += Line("button", button->text() + (button->isChecked() ? " checked" : "") +
                                 (button->isEnabled() ? "" : " disabled"));
    } else if (auto* label = qobject_cast<const QLabel*>(widget)) {
      look += Line("label", label->text());
    } else if (auto* picker = qobject_cast<const QDateTimeEdit*>(widget)) {
      look += Line("picker", picker->dateTime().toString(Qt::ISODate));
    } else if (auto* bar = qobject_cast<const QProgressBar*>(widget)) {
      look += Line("progress", QString::number(bar->value()));
    } else if (auto* rows = qobject_cast<const QTreeWidget*>(widget)) {
      for (int row = 0; row < rows->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = rows->topLevelItem(row);
        for (int column = 0; column < item->columnCount(); ++column)
          look += Line("row", item->text(column));
      }
    }
  }
  snapshot["page"] = look;
}

std::vector<std::string> DifferingParts(const Snapshot& expected, const Snapshot& actual,
                                        bool allParts) {
  std::vector<std::string> differing;
  for (const auto& [part, value] : expected) {
    const auto found = actual.find(part);
    if (found == actual.end() || found->second != value)
      differing.push_back(part);
  }
  if (allParts) {
    for (const auto& [part, value] : actual)
      if (!expected.contains(part))
        differing.push_back(part);
  }
  return differing;
}

}  // namespace vornik::test
