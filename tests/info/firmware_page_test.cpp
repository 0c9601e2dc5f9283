#include <gmock/gmock.h>
#include <sys/stat.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <numeric>

#include "devsim/simulated_device.h"
#include "info/device_info.h"
#include "info/firmware_page.h"
#include "lang/lang_text.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"
#include "res/ids_firmware.h"
#include "tests/support/modal_answers.h"
#include "tests/support/tapped_device.h"

namespace vornik::test {
namespace {

namespace ids = res::firmware_ids;

using testing::ElementsAre;

constexpr size_t kAnnounceSize = 8;

// What the page shows at one moment.
struct PageLook {
  int bar;
  QString percent;
  QString message;
  bool operator==(const PageLook&) const = default;
};

void PrintTo(const PageLook& look, std::ostream* out) {
  *out << look.bar << " \"" << look.percent.toStdString() << "\" \"" << look.message.toStdString()
       << "\"";
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      ++paints;
    return false;
  }
  int paints = 0;
};

class FirmwarePageTest : public testing::Test {
 protected:
  FirmwarePageTest() {
    Connection = ConnectionState{};
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    LanguageFilePath = VORNIK_ENGLISH_FILE;
    useConnection(kPortLpt1);
    page->ensureInitialized();
    host.resize(page->size());
    host.show();
  }
  ~FirmwarePageTest() override { LanguageFilePath.clear(); }

  void useConnection(int32_t kind) {
    Connection.PortKind = kind;
    fake.devices.add(PortNameTable[size_t(kind)], tap.wrap(sim.factory()));
  }

  QString image(size_t size) {
    const QString path = dir.filePath(QStringLiteral("image.bin"));
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i)
      bytes[i] = char(i * 13 + 5);
    std::ofstream(path.toStdString(), std::ios::binary).write(bytes.data(), std::streamsize(size));
    return path;
  }
  void choose(const QString& path) {
    FileChooser chooser(path);
    click(ids::kBrowse);
  }
  void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }

  template <class T>
  T* control(int id) {
    return page->controls().find<T>(id);
  }
  QString text(int id) { return control<QLabel>(id)->text(); }
  PageLook look() {
    return {control<QProgressBar>(ids::kProgressBar)->value(), text(ids::kPercent),
            text(ids::kMessage)};
  }

  const devsim::FirmwareRecord& received() {
    fake.clock.now += devsim::kImageQuietMs;
    sim.model.settle(fake.clock.now);
    return sim.model.content().firmware;
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  TappedDevice tap;
  QTemporaryDir dir;
  QWidget host;
  CFwUp* page = new CFwUp(&host);
};

TEST_F(FirmwarePageTest, BrowseShowsAFileThatOpensAndEnablesUpdate) {
  EXPECT_EQ(look(), (PageLook{0, "0 %", "Select a firmware file."}));
  EXPECT_EQ(text(ids::kFilePath), QString());
  EXPECT_EQ(text(ids::kFileSize), QString());
  EXPECT_FALSE(control<QPushButton>(ids::kUpdate)->isEnabled());
  EXPECT_EQ(control<QPushButton>(ids::kBrowse)->text(), QStringLiteral("Browse..."));

  const QString path = image(4097);
  choose(path);
  EXPECT_EQ(text(ids::kFilePath), path);
  EXPECT_EQ(text(ids::kFileSize), QStringLiteral("4097 bytes"));
  EXPECT_TRUE(control<QPushButton>(ids::kUpdate)->isEnabled());

  choose(QString());  // cancelled: nothing changes
  EXPECT_EQ(text(ids::kFilePath), path);
  EXPECT_TRUE(control<QPushButton>(ids::kUpdate)->isEnabled());

  const QString fifo = dir.filePath(QStringLiteral("fifo"));
  ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  choose(fifo);
  EXPECT_EQ(text(ids::kFilePath), QString());
  EXPECT_EQ(text(ids::kFileSize), QString());
  EXPECT_FALSE(control<QPushButton>(ids::kUpdate)->isEnabled());
}

// A path longer than its field keeps its start and its file name; the tooltip has it whole.
TEST_F(FirmwarePageTest, LongPathIsCutInTheMiddleWithTheWholePathAsTooltip) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(QString(120, QLatin1Char('d'))));
  const QString path = dir.filePath(QString(120, QLatin1Char('d')) + QStringLiteral("/image.bin"));
  std::ofstream(path.toStdString()) << "image";
  choose(path);
  QLabel* field = control<QLabel>(ids::kFilePath);
  EXPECT_THAT(field->text().toStdString(),
              testing::AllOf(testing::StartsWith(dir.path().left(8).toStdString()),
                             testing::HasSubstr("\u2026"), testing::EndsWith("/image.bin")));
  EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->contentsRect().width());
  EXPECT_EQ(field->toolTip(), path);
}

TEST_F(FirmwarePageTest, UpdateShowsEveryBlockAtOnceThenCompletesAndEmptiesThePage) {
  for (int32_t kind : {kPortLpt1, kPortEcp1}) {
    useConnection(kind);
    const QString path = image(4097);
    choose(path);

    PaintCounter percentPaints;
    control<QLabel>(ids::kPercent)->installEventFilter(&percentPaints);
    std::vector<PageLook> atBlocks;
    std::vector<int> paintsAtBlocks;
    bool busy = true;
    tap.onWrite = [&](std::span<const uint8_t> bytes) {
      if (bytes.size() != kAnnounceSize) {
        atBlocks.push_back(look());
        paintsAtBlocks.push_back(percentPaints.paints);
        busy = busy && page->updateRunning() && !control<QPushButton>(ids::kUpdate)->isEnabled() &&
               !control<QPushButton>(ids::kBrowse)->isEnabled() &&
               QApplication::overrideCursor() != nullptr;
      }
      return bytes.size();
    };
    PageLook atBox;
    QString boxText, boxTitle;
    BoxCloser boxes([&](QMessageBox& box) {
      atBox = look();
      boxText = box.text();
      boxTitle = box.windowTitle();
      EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
      EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    });
    QSignalSpy running(page, &CFwUp::updateRunningChanged);
    const uint64_t sleptBefore = fake.clock.slept;

    click(ids::kUpdate);
    EXPECT_THAT(atBlocks, ElementsAre(PageLook{0, "0 %", ""},
                                      PageLook{99, "99 %", "4096 bytes transferred"}));
    EXPECT_GT(paintsAtBlocks[1], paintsAtBlocks[0]);  // painted while the window was busy
    EXPECT_TRUE(busy);
    EXPECT_EQ(atBox, (PageLook{100, "100 %",
                               "Writing complete. Do not turn off until your machine is "
                               "initialized."}));
    EXPECT_EQ(boxText, QStringLiteral("Update Complete!"));
    EXPECT_EQ(boxTitle, QStringLiteral("Helmdeck"));
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_GE(fake.clock.slept - sleptBefore, 45000u);

    EXPECT_EQ(look(), (PageLook{0, "", "Select a firmware file."}));
    EXPECT_EQ(text(ids::kFilePath), QString());
    EXPECT_EQ(text(ids::kFileSize), QString());
    EXPECT_FALSE(control<QPushButton>(ids::kUpdate)->isEnabled());
    EXPECT_TRUE(control<QPushButton>(ids::kBrowse)->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(running.size(), 2);
    EXPECT_EQ(running[0][0].toBool(), true);
    EXPECT_EQ(running[1][0].toBool(), false);
    EXPECT_FALSE(page->updateRunning());

    std::ifstream file(path.toStdString(), std::ios::binary);
    const std::vector<char> bytes(std::istreambuf_iterator<char>(file), {});
    EXPECT_EQ(received().lastImageSize, 4097u);
    EXPECT_EQ(sim.model.content().firmware.lastImageChecksum,
              std::accumulate(bytes.begin(), bytes.end(), 0u,
                              [](uint32_t sum, char c) { return sum + uint8_t(c); }));
    tap.onWrite = nullptr;
  }
}

TEST_F(FirmwarePageTest, EmptyFileGoesStraightToTheCompletionText) {
  choose(image(0));
  EXPECT_EQ(text(ids::kFileSize), QStringLiteral("0 bytes"));
  PageLook atBox;
  BoxCloser boxes([&](QMessageBox&) { atBox = look(); });
  click(ids::kUpdate);
  EXPECT_EQ(atBox, (PageLook{0, "0 %",
                             "Writing complete. Do not turn off until your machine is "
                             "initialized."}));
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_EQ(look(), (PageLook{0, "", "Select a firmware file."}));
}

// No failure shows a box: the message says it, and the file stays for another try.
TEST_F(FirmwarePageTest, FailedDownloadSaysSoAndKeepsTheFile) {
  const std::vector<std::function<void(const QString&)>> failures = {
      [this](const QString&) { sim.model.setFault(devsim::Fault::kSilent); },
      [this](const QString& path) {
        tap.onWrite = [path](std::span<const uint8_t> bytes) {
          if (bytes.size() != kAnnounceSize)
            std::filesystem::resize_file(path.toStdString(), 100);  // cut short
          return bytes.size();
        };
      },
  };
  for (const auto& fail : failures) {
    const QString path = image(10000);
    choose(path);
    fail(path);
    BoxCloser boxes;
    click(ids::kUpdate);
    EXPECT_EQ(text(ids::kMessage), QStringLiteral("Failed to write data."));
    EXPECT_EQ(text(ids::kFilePath), path);
    EXPECT_EQ(text(ids::kFileSize), QStringLiteral("10000 bytes"));
    EXPECT_TRUE(control<QPushButton>(ids::kUpdate)->isEnabled());
    EXPECT_FALSE(page->updateRunning());
    EXPECT_EQ(boxes.shown, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    sim.model.setFault(devsim::Fault::kSilent, false);
    tap.onWrite = nullptr;
  }
}

// An Update starts from nothing: the last run's percent and failure are gone before the
// device is even asked.
TEST_F(FirmwarePageTest, NextUpdateShowsNothingOfTheLastRun) {
  const QString path = image(10000);
  choose(path);
  tap.onWrite = [path](std::span<const uint8_t> bytes) {
    if (bytes.size() != kAnnounceSize)
      std::filesystem::resize_file(path.toStdString(), 4096);  // the second block never comes
    return bytes.size();
  };
  BoxCloser boxes;
  click(ids::kUpdate);
  ASSERT_EQ(look(), (PageLook{40, "40 %", "Failed to write data."}));

  std::vector<PageLook> atWrites;
  tap.onWrite = [&](std::span<const uint8_t> bytes) {
    atWrites.push_back(look());
    return bytes.size();
  };
  image(10000);
  click(ids::kUpdate);
  ASSERT_FALSE(atWrites.empty());
  EXPECT_EQ(atWrites.front(), (PageLook{0, "0 %", ""}));  // the announce
}

// The page speaks the language it was localized in, during and after a download.
TEST_F(FirmwarePageTest, EveryTextIsInThePagesLanguage) {
  LanguageFilePath = VORNIK_GERMAN_FILE;
  page->localize();
  const QString path = image(4097);
  choose(path);
  EXPECT_EQ(text(ids::kFileSize), QStringLiteral("4097 Bytes"));
  std::vector<QString> atBlocks;
  tap.onWrite = [&](std::span<const uint8_t> bytes) {
    if (bytes.size() != kAnnounceSize)
      atBlocks.push_back(text(ids::kMessage));
    return bytes.size();
  };
  QString atBox, boxText;
  BoxCloser boxes([&](QMessageBox& box) {
    atBox = text(ids::kMessage);
    boxText = box.text();
  });
  click(ids::kUpdate);
  EXPECT_THAT(atBlocks, ElementsAre("", QStringLiteral("4096 Bytes \u00fcbertragen")));
  EXPECT_EQ(atBox, QStringLiteral(
                       "Schreiben beendet. Ger\u00e4t erst nach der Initialisierung ausschalten."));
  EXPECT_EQ(boxText, QStringLiteral("Aktualisierung abgeschlossen!"));
  EXPECT_EQ(text(ids::kMessage), QStringLiteral("W\u00e4hlen Sie eine Firmware-Datei."));

  choose(path);
  sim.model.setFault(devsim::Fault::kSilent);
  click(ids::kUpdate);
  EXPECT_EQ(text(ids::kMessage), QStringLiteral("Die Daten konnten nicht geschrieben werden."));
}

TEST_F(FirmwarePageTest, FileGoneAtUpdateDropsBackToNoFileAndSendsNothing) {
  const QString path = image(100);
  choose(path);
  QFile::remove(path);
  std::vector<size_t> writes;
  tap.onWrite = [&](std::span<const uint8_t> bytes) {
    writes.push_back(bytes.size());
    return bytes.size();
  };
  BoxCloser boxes;
  click(ids::kUpdate);
  EXPECT_TRUE(writes.empty());
  EXPECT_EQ(text(ids::kFilePath), QString());
  EXPECT_EQ(text(ids::kMessage), QStringLiteral("Select a firmware file."));
  EXPECT_FALSE(control<QPushButton>(ids::kUpdate)->isEnabled());
}

// Update asks first, naming the file, its size and the firmware now on the device (once the
// Information record was read), and warns not to switch the device off; Cancel sends nothing.
TEST_F(FirmwarePageTest, UpdateAsksFirstNamingTheFileItsSizeAndTheDevicesFirmware) {
  const QString path = image(100);
  for (const char* firmware : {"not read yet (the Information page reads it)", "2.14"}) {
    SCOPED_TRACE(firmware);
    if (firmware[0] == '2') {
      ASSERT_EQ(Mfp_GetDeviceInfo(), 1);
    }
    choose(path);
    std::vector<size_t> writes;
    tap.onWrite = [&](std::span<const uint8_t> bytes) {
      writes.push_back(bytes.size());
      return bytes.size();
    };
    BoxCloser boxes;
    boxes.answers[QStringLiteral("UpdateQuestion")] = QStringLiteral("Cancel");
    click(ids::kUpdate);
    EXPECT_EQ(boxes.questions,
              QStringList{QStringLiteral("UpdateQuestion:Send this firmware to the device?\n\n"
                                         "File: %1\nSize: 100 bytes\n"
                                         "Firmware now on the device: %2\n\n"
                                         "Do not switch the device off or disconnect it until "
                                         "the update is complete: a device left with part of "
                                         "its firmware cannot start again.")
                              .arg(path, QString::fromLatin1(firmware))});
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(text(ids::kFilePath), path);
    EXPECT_TRUE(control<QPushButton>(ids::kUpdate)->isEnabled());
    tap.onWrite = nullptr;
  }
}

}  // namespace
}  // namespace vornik::test
