#include <gmock/gmock.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "devsim/simulated_device.h"
#include "info/info_page.h"
#include "lang/lang_text.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"
#include "res/ids_info.h"
#include "tests/support/modal_answers.h"

namespace vornik::test {
namespace {

using testing::Each;
using testing::ElementsAre;

namespace ids = res::info_ids;

// Value labels, in the order of the page's values.
constexpr int kValues[] = {ids::kFirmwareVersion, ids::kEngineVersion, ids::kEmulationVersion,
                           ids::kFreeMemory,      ids::kPrintCount,    ids::kPlatenScanCount,
                           ids::kAdfScanCount,    ids::kAdfJamCount,   ids::kPrintJamCount,
                           ids::kTonerCount};

class InfoPageTest : public testing::Test {
 protected:
  InfoPageTest() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortUsb;
    Connection.osFlavour = OsFlavour::Win98;
    std::snprintf(Connection.UsbWritePath, kUsbNameSize, "USB0\\PIPE00");
    std::snprintf(Connection.UsbReadPath, kUsbNameSize, "USB0\\PIPE01");
    fake.devices.add(Connection.UsbWritePath, sim.factory());
    fake.devices.add(Connection.UsbReadPath, sim.factory());
    DefaultMachineState();
    LanguageFilePath = VORNIK_ENGLISH_FILE;
  }
  ~InfoPageTest() override { LanguageFilePath.clear(); }

  void openPage() {
    page->ensureInitialized();
    host.resize(page->size());
    host.show();
  }
  void put(size_t offset, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), sim.model.content().deviceInfo.begin() + offset);
  }
  std::vector<QString> values() {
    std::vector<QString> texts;
    for (int id : kValues)
      texts.push_back(page->controls().find<QLabel>(id)->text());
    return texts;
  }
  void refresh() {
    QTest::mouseClick(page->controls().find<QPushButton>(ids::kRefresh), Qt::LeftButton);
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  BoxCloser boxes;
  QWidget host;
  CInfo* page = new CInfo(&host);
};

TEST_F(InfoPageTest, ShowsTheDevicesTextsAsSentAndItsNumbersFormatted) {
  put(0, "\x25");                                   // free memory 37
  put(1, std::string_view("\x00\x00\x01\x2C", 4));  // platen scans 300
  put(25, "2.14.0517A");                            // fills its field: no terminator
  put(35, std::string_view("V1.3  \0\0\0\0", 10));
  put(45, std::string(30, 'E'));
  put(75, "HIDDEN SERIAL");
  openPage();
  EXPECT_THAT(values(), ElementsAre("2.14.0517A", "V1.3  ", QString(30, 'E'), " 37 % ", "5127",
                                    "300", "962", "4", "7", "3"));
  EXPECT_EQ(page->controls().find<QLabel>(ids::kFirmwareVersionLabel)->text(),
            QStringLiteral("Firmware version:"));

  put(9, std::string_view("\x00\x00\x00\x00", 4));
  refresh();
  EXPECT_EQ(values()[4], QStringLiteral("0"));
  EXPECT_EQ(boxes.shown, 0);
}

TEST_F(InfoPageTest, FailedReadShowsTheBoxOnceAndKeepsWhatThePageShowed) {
  sim.model.setFault(devsim::Fault::kSilent);
  openPage();
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_THAT(values(), Each(QString()));  // none of the template's sample texts

  sim.model.setFault(devsim::Fault::kSilent, false);
  refresh();
  const std::vector<QString> shown = values();
  EXPECT_EQ(shown[0], QStringLiteral("2.14"));

  sim.model.setFault(devsim::Fault::kShortAnswer);
  refresh();
  EXPECT_EQ(boxes.shown, 2);
  EXPECT_EQ(values(), shown);
}

}  // namespace
}  // namespace vornik::test
