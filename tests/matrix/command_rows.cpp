#include "command_rows.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/main_panel.h"
#include "app/start_up.h"
#include "ctl/vornikctl.h"
#include "info/device_info.h"
#include "info/firmware_page.h"
#include "info/info_page.h"
#include "link/connection.h"
#include "link/inquiry.h"
#include "link/machine_state.h"
#include "link/port_io.h"
#include "phonebook/phonebook_page.h"
#include "phonebook/phonebook_transfer.h"
#include "res/ids_advanced.h"
#include "res/ids_firmware.h"
#include "res/ids_info.h"
#include "res/ids_phonebook.h"
#include "res/ids_settings.h"
#include "settings/advanced_page.h"
#include "settings/settings_page.h"
#include "tests/support/page_input.h"
#include "ui/lang_string.h"
#include "ui/page_command.h"

#include <gtest/gtest.h>

namespace vornik::test {
namespace {

namespace settings_ids = res::settings_ids;
namespace advanced_ids = res::advanced_ids;
namespace phonebook_ids = res::phonebook_ids;
namespace firmware_ids = res::firmware_ids;
namespace info_ids = res::info_ids;

// The pages talk to the device on the parallel port, whose reads end after its time-out;
// the ECP driver device and the USB pipes read with the platform's default.
constexpr uint32_t kLptRead = kLptReadTotalMs;
constexpr uint32_t kPlainRead = platform::kDefaultReadTotalMs;

// A page command with one exchange: request, fixed wait, answer, then the page's pause.
constexpr uint32_t PageExchangeMs(uint32_t waitMs) {
  return waitMs + kLptRead + kAfterCommandMs;
}
// The head, the body after its pause, and two retries of the body after theirs.
constexpr uint32_t kGetPhonebookMs = kPhonebookRequestWaitMs + kLptRead + kPhonebookBodySleepMs +
                                     kLptRead + 2 * (kPhonebookRetrySleepMs + kLptRead);
// Two retries of the frame after their pauses, the pause before the acknowledgement.
constexpr uint32_t kSetPhonebookExchangeMs =
    2 * kPhonebookRetrySleepMs + kPhonebookAcknowledgeSleepMs + kLptRead;
constexpr uint32_t kSetPhonebookMs = kSetPhonebookExchangeMs + kAfterCommandMs;
// Two inquiries on the USB pipes of the older flavour, two on its parallel port.
constexpr uint32_t kStartUpMs = 2 * (kInquiryWaitMs + kPlainRead) + 2 * (kInquiryWaitMs + kLptRead);

constexpr size_t kImageSize = 10000;
constexpr uint32_t kImageBlocks = (kImageSize + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
// Each block may take three writes, with a pause before each of the two retries.
constexpr uint32_t kSendImageMs =
    kBeforeFirstBlockMs + kImageBlocks * 2 * kAfterShortWriteMs + kAfterLastBlockMs;
// The announce may go twice, each time followed by a pause and a read of its answer.
constexpr uint32_t kAnnounceMs = 2 * (kAfterAnnounceMs + kLptRead) + kBeforeRepeatedAnnounceMs;

// vornikctl on the parallel port: two inquiries, then the command's exchanges, each its
// fixed wait and a read (a set reads the record first), without the pages' pauses.
constexpr uint32_t CtlMs(uint32_t commandMs) {
  return 2 * (kInquiryWaitMs + kLptRead) + commandMs;
}
constexpr uint32_t CtlExchangesMs(uint32_t getWaitMs, uint32_t setWaitMs = 0) {
  return CtlMs(getWaitMs + kLptRead + (setWaitMs == 0 ? 0 : setWaitMs + kLptRead));
}

QAbstractButton* Button(TemplatePage& page, int id) {
  return page.controls().find<QAbstractButton>(id);
}

// Shows the page in its host, as the main window does with its tab; the first show reads
// the device.
void Open(TemplatePage& page, Bench& bench) {
  page.ensureInitialized();
  bench.host.resize(page.size());
  bench.host.show();
}

using PageMaker = std::function<TemplatePage*(QWidget* host)>;
// What changed between the page's first read and the command: on the device or on the page.
using Arrangement = std::function<void(Bench&, TemplatePage&)>;

// A command of a page: its first read as it opens (`button` 0), or a click on `button`
// of the opened page after `arrangement`.
class PageCommand : public Command {
 public:
  PageCommand(PageMaker make, int button, Arrangement arrangement)
      : make_(std::move(make)), button_(button), arrangement_(std::move(arrangement)) {}

  void arrange(Bench& bench) override {
    page_ = make_(&bench.host);
    if (button_ == 0)
      return;
    Open(*page_, bench);
    if (arrangement_)
      arrangement_(bench, *page_);
  }
  Report run(Bench& bench) override {
    const int before = bench.boxes.shown;
    if (button_ == 0) {
      Open(*page_, bench);
    } else {
      ClickButton(Button(*page_, button_));
    }
    const int boxes = bench.boxes.shown - before;
    return {boxes > 0, boxes > 1 ? std::to_string(boxes) + " boxes" : ""};
  }
  void addShown(Snapshot& snapshot) const override {
    snapshot["page loaded"] = page_->recordLoaded() ? "yes" : "no";
    if (page_->initialized())
      AddPageLook(snapshot, *page_);
  }

 private:
  PageMaker make_;
  int button_;
  Arrangement arrangement_;
  TemplatePage* page_ = nullptr;  // owned by the bench's host
};

template <class Page>
std::function<std::unique_ptr<Command>()> OnPage(int button, Arrangement arrangement = {}) {
  return [button, arrangement] {
    return std::make_unique<PageCommand>([](QWidget* host) { return new Page(host); }, button,
                                         arrangement);
  };
}

// The device's keypad changed a value after the page read it.
void DeviceCopiesChange(Bench& bench, TemplatePage&) {
  bench.sim.model.content().systemSetup[system_setup_wire::kCopies + 1] += 2;
}
void DeviceSpeakerChanges(Bench& bench, TemplatePage&) {
  uint8_t& speaker = bench.sim.model.content().advancedSetup[advanced_setup_wire::kSpeaker];
  speaker = uint8_t((speaker + 1) % 3);
}
void DevicePrintsAPage(Bench& bench, TemplatePage&) {
  ++bench.sim.model.content().deviceInfo[device_info_wire::kPrintCount + 3];
}
// The last one, so that a read that loses the end of the phonebook misses it.
void DeviceRenumbersItsLastSpeedDial(Bench& bench, TemplatePage&) {
  devsim::PhonebookSlot& last = bench.sim.model.content().phonebook.back();
  constexpr std::string_view kNumber = "5550888";
  std::copy(kNumber.begin(), kNumber.end(), last.dialData.begin());
}

// The user chose the next item of a list.
Arrangement ChooseNext(int listId) {
  return [listId](Bench&, TemplatePage& page) {
    auto* list = page.controls().find<QComboBox>(listId);
    ChooseItem(list, (list->currentIndex() + 1) % list->count());
  };
}

// The user deleted speed dial 5, which no group holds.
void DeleteSpeedDial5(Bench&, TemplatePage& page) {
  QTreeWidget* list = static_cast<CPhonebook&>(page).list();
  list->setCurrentItem(list->topLevelItem(5));
  ClickButton(Button(page, phonebook_ids::kDelete));
}

void WriteFile(const QDir& folder, const char* name, std::string_view bytes) {
  std::ofstream(folder.filePath(QString::fromLatin1(name)).toStdString(), std::ios::binary)
      .write(bytes.data(), std::streamsize(bytes.size()));
}

// A 10000-byte firmware image, "image.bin".
void FirmwareImage(const QDir& folder) {
  std::string image(kImageSize, '\0');
  for (size_t i = 0; i < image.size(); ++i)
    image[i] = char(i * 13 + i / kFirmwareBlockSize);
  WriteFile(folder, "image.bin", image);
}

// Update on the Firmware Update page, with a 10000-byte image chosen, on the parallel port
// (common way) or the ECP driver device.
class FirmwareCommand : public Command {
 public:
  explicit FirmwareCommand(int32_t port) : port_(port) {}

  void arrange(Bench& bench) override {
    Connection.PortKind = port_;
    FirmwareImage(QDir(bench.folder.path()));
    const QString path = bench.folder.filePath(QStringLiteral("image.bin"));
    page_ = new CFwUp(&bench.host);
    Open(*page_, bench);
    FileChooser chooser(path);
    ClickButton(Button(*page_, firmware_ids::kBrowse));
  }
  Report run(Bench& bench) override {
    const int before = bench.boxes.shown;
    ClickButton(Button(*page_, firmware_ids::kUpdate));
    const bool failed = page_->controls().find<QLabel>(firmware_ids::kMessage)->text() ==
                        LangString("FWUP", "IDS_WRITE_FAILED");
    const int boxes = bench.boxes.shown - before;  // the completion box
    Report report{failed, ""};
    if (boxes != (failed ? 0 : 1))
      report.problem = std::to_string(boxes) + " completion boxes";
    return report;
  }

 private:
  int32_t port_;
  CFwUp* page_ = nullptr;  // owned by the bench's host
};

// Save Settings of the File menu while the Advanced page was never opened: the file is to
// hold the device's advanced setup, so the command reads it first.
class SaveSettingsCommand : public Command {
 public:
  ~SaveSettingsCommand() override {
    panel_.reset();
    QDir::setCurrent(previousFolder_);
  }

  void arrange(Bench& bench) override {
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(bench.folder.path());
    panel_ = std::make_unique<CMainPanel>();
  }
  Report run(Bench& bench) override {
    const int before = bench.boxes.shown;
    FileChooser chooser(bench.folder.filePath(QStringLiteral("SETUP.STF")));
    panel_->OnSaveSettings();
    const int boxes = bench.boxes.shown - before;
    return {boxes > 0, boxes > 1 ? std::to_string(boxes) + " boxes" : ""};
  }

 private:
  QString previousFolder_;
  std::unique_ptr<CMainPanel> panel_;
};

// How a program ended: its exit status and what it showed once it ran.
struct ProgramEnd {
  int status = 0;
  std::string shown;
  std::string problem;
};

// A command given by starting a program; a non-zero exit status tells of its failure.
class ProgramCommand : public Command {
 public:
  using Arrange = std::function<void(Bench&)>;
  using Start = std::function<ProgramEnd(Bench&)>;
  ProgramCommand(Arrange arrange, Start start)
      : arrange_(std::move(arrange)), start_(std::move(start)) {}

  void arrange(Bench& bench) override {
    if (arrange_)
      arrange_(bench);
  }
  Report run(Bench& bench) override {
    end_ = start_(bench);
    ran_ = true;
    return {end_.status != 0, end_.problem};
  }
  void addShown(Snapshot& snapshot) const override {
    if (ran_)
      snapshot["shown"] = end_.shown;
  }

 private:
  Arrange arrange_;
  Start start_;
  ProgramEnd end_;
  bool ran_ = false;
};

std::function<std::unique_ptr<Command>()> AsProgram(ProgramCommand::Arrange arrange,
                                                    ProgramCommand::Start start) {
  return [arrange, start] { return std::make_unique<ProgramCommand>(arrange, start); };
}

// Start-up's windows: the not-responding box is answered with Abort, the main window only
// notes the model and port it would show.
class AbortingWindows : public StartUpWindows {
 public:
  bool raiseRunningCopy() override { return false; }
  void showPortBusy() override { ++boxes; }
  Choice askNotResponding(const std::string&) override {
    ++boxes;
    return Choice::kAbort;
  }
  std::optional<size_t> askUsbPort(const std::vector<PortCandidate>&) override {
    ++boxes;
    return std::nullopt;
  }
  void beginWaitCursor() override {}
  void endWaitCursor() override {}
  void chooseLanguageFile() override {}
  void runMainWindow() override {
    panel = "model " + std::to_string(MachineState.ModelCode) + " on port " +
            std::to_string(Connection.PortKind);
  }

  int boxes = 0;
  std::string panel;
};

void BenchControlPortName(char* buffer, uint32_t size) {
  std::snprintf(buffer, size, "%s", kBenchControlPort);
}

// The older OS flavour with its USB library: USB through the pipes, then the parallel port.
void OlderFlavourWithUsb(Bench& bench) {
  bench.fake.system.version = {true, 1, 4};
  bench.fake.libraries.add("fendrel.dll",
                           {{"GetControlPortName", reinterpret_cast<void*>(BenchControlPortName)}});
}

ProgramEnd StartUpAnsweringAbort(Bench&) {
  AbortingWindows windows;
  ProgramEnd end;
  end.status = ExitStatus(RunStartUp(windows));
  end.shown = windows.panel;
  if (windows.boxes != (end.status != 0 ? 1 : 0))
    end.problem = std::to_string(windows.boxes) + " boxes";
  return end;
}

}  // namespace

// A vornikctl command line on the parallel port, run in the bench's folder, which
// `arrangement` fills first. A non-zero exit status tells of its failure, with a message;
// its output is what it shows.
class CtlCommand : public Command {
 public:
  using Arrangement = std::function<void(const QDir& folder)>;
  CtlCommand(std::vector<std::string> args, Arrangement arrangement)
      : args_(std::move(args)), arrangement_(std::move(arrangement)) {}
  ~CtlCommand() override {
    if (!previousFolder_.isEmpty())
      QDir::setCurrent(previousFolder_);
  }

  void arrange(Bench& bench) override {
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(bench.folder.path());
    if (arrangement_)
      arrangement_(QDir(bench.folder.path()));
  }
  Report run(Bench&) override {
    std::vector<std::string> args = {"--port", "lpt1"};
    args.insert(args.end(), args_.begin(), args_.end());
    std::ostringstream out, err;
    ctl::CtlIo io{out, err};
    const int status = ctl::RunVornikctl(args, io);
    shown_ = out.str();
    ran_ = true;
    Report report{status != 0, ""};
    if (status != 0 && err.str().empty())
      report.problem = "exit status " + std::to_string(status) + " without a message";
    return report;
  }
  void addShown(Snapshot& snapshot) const override {
    if (ran_)
      snapshot["shown"] = shown_;
  }
  bool endsWithItsProgram() const override { return true; }

 private:
  std::vector<std::string> args_;
  Arrangement arrangement_;
  QString previousFolder_;
  std::string shown_;
  bool ran_ = false;
};

std::function<std::unique_ptr<Command>()> Vornikctl(std::vector<std::string> args,
                                                    CtlCommand::Arrangement arrangement = {}) {
  return [args, arrangement] { return std::make_unique<CtlCommand>(args, arrangement); };
}

// A phonebook of two rows as CSV, and a folder for the backup that a phonebook sent to the
// device is preceded by: a file the command makes on purpose, which the matrix leaves out.
void TwoRowsAndABackupFolder(const QDir& folder) {
  WriteFile(folder, "book.csv", "name,phone_number\nALICE,5550100\nBOB,5550111\n");
  folder.mkdir(QStringLiteral("backups"));
}

// The same rows as a phonebook file, made by vornikctl without the device.
void TwoRowsAsPhonebookFile(const QDir& folder) {
  TwoRowsAndABackupFolder(folder);
  std::ostringstream out, err;
  ctl::CtlIo io{out, err};
  const int status =
      ctl::RunVornikctl({"phonebook", "import", "book.csv", "--file", "book.pbf"}, io);
  if (status != 0)
    ADD_FAILURE() << "the phonebook file for put was not made: " << err.str();
}

std::vector<CommandRow> CommandRows() {
  return {
      {"Start-up inquiry", kStartUpMs, false,
       AsProgram(OlderFlavourWithUsb, StartUpAnsweringAbort)},
      {"Settings open", PageExchangeMs(kGetSettingsWaitMs), false, OnPage<CSettings>(0)},
      {"Settings Refresh", PageExchangeMs(kGetSettingsWaitMs), false,
       OnPage<CSettings>(settings_ids::kRefresh, DeviceCopiesChange)},
      {"Settings Apply", PageExchangeMs(kSetSettingsWaitMs), true,
       OnPage<CSettings>(settings_ids::kApply, ChooseNext(settings_ids::kTrayPaperSize))},
      {"Advanced open", PageExchangeMs(kSystemInfoWaitMs), false, OnPage<CAdvanced>(0)},
      {"Advanced Refresh", PageExchangeMs(kSystemInfoWaitMs), false,
       OnPage<CAdvanced>(advanced_ids::kRefresh, DeviceSpeakerChanges)},
      {"Advanced Apply", PageExchangeMs(kSystemInfoWaitMs), true,
       OnPage<CAdvanced>(advanced_ids::kApply, ChooseNext(advanced_ids::kSpeaker))},
      {"File Save Settings", PageExchangeMs(kSystemInfoWaitMs), false,
       [] { return std::make_unique<SaveSettingsCommand>(); }},
      {"Phonebook open", kPhonebookFirstReadPauseMs + kGetPhonebookMs, false,
       OnPage<CPhonebook>(0)},
      {"Phonebook Read", kGetPhonebookMs + kAfterCommandMs, false,
       OnPage<CPhonebook>(phonebook_ids::kRead, DeviceRenumbersItsLastSpeedDial)},
      {"Phonebook Write", kSetPhonebookMs, true,
       OnPage<CPhonebook>(phonebook_ids::kWrite, DeleteSpeedDial5)},
      {"Information open", PageExchangeMs(kGetDeviceInfoWaitMs), false, OnPage<CInfo>(0)},
      {"Information Refresh", PageExchangeMs(kGetDeviceInfoWaitMs), false,
       OnPage<CInfo>(info_ids::kRefresh, DevicePrintsAPage)},
      {"Firmware Update", kAnnounceMs + kSendImageMs, true,
       [] { return std::make_unique<FirmwareCommand>(kPortLpt1); }},
      {"Firmware Update (ECP)", kSendImageMs, true,
       [] { return std::make_unique<FirmwareCommand>(kPortEcp1); }},
      {"vornikctl info", CtlExchangesMs(kGetDeviceInfoWaitMs), false, Vornikctl({"info"})},
      {"vornikctl settings get", CtlExchangesMs(kGetSettingsWaitMs), false,
       Vornikctl({"settings", "get"})},
      {"vornikctl settings set", CtlExchangesMs(kGetSettingsWaitMs, kSetSettingsWaitMs), true,
       Vornikctl({"settings", "set", "zoom=150", "copies=7"})},
      {"vornikctl advanced get", CtlExchangesMs(kSystemInfoWaitMs), false,
       Vornikctl({"advanced", "get"})},
      {"vornikctl advanced set", CtlExchangesMs(kSystemInfoWaitMs, kSystemInfoWaitMs), true,
       Vornikctl({"advanced", "set", "machine-id=acme", "power-save=off"})},
      {"vornikctl phonebook get", CtlMs(kGetPhonebookMs), false,
       Vornikctl({"phonebook", "get", "device.pbf"})},
      {"vornikctl phonebook export", CtlMs(kGetPhonebookMs), false,
       Vornikctl({"phonebook", "export", "--csv"})},
      {"vornikctl phonebook put", CtlMs(kGetPhonebookMs + kSetPhonebookExchangeMs), true,
       Vornikctl({"phonebook", "put", "book.pbf", "--backup", "backups/device.pbf"},
                 TwoRowsAsPhonebookFile)},
      {"vornikctl phonebook import", CtlMs(kGetPhonebookMs + kSetPhonebookExchangeMs), true,
       Vornikctl({"phonebook", "import", "book.csv", "--backup", "backups/device.pbf"},
                 TwoRowsAndABackupFolder)},
      {"vornikctl firmware", CtlMs(kAnnounceMs + kSendImageMs), true,
       Vornikctl({"firmware", "image.bin"}, FirmwareImage)},
  };
}

}  // namespace vornik::test
