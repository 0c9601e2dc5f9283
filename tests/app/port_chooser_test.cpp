// The question of start-up among several USB printer ports, in the panel's language.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/port_chooser.h"
#include "panel_fixture.h"

namespace vornik::test {
namespace {

class PortChooserTest : public PanelTest {};

// Each port shows its path and the maker and model of its ID; the list and the buttons are
// named by their labels, and the answer is the port chosen, or none after Cancel.
TEST_F(PortChooserTest, ShowsEachPortWithItsMakerAndModelAndAnswersTheOneChosen) {
  const std::vector<PortCandidate> ports = {
      {"/dev/usb/lp0", "MFG:Acme;CMD:PCL;MDL:LaserWriter 9;", false}, {"/dev/usb/lp1", "", false}};
  for (const bool accept : {true, false}) {
    CPortChooser chooser(ports);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Choose the device's port"));
    auto* list = chooser.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Ports:"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("/dev/usb/lp0  Acme LaserWriter 9"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("/dev/usb/lp1  (no device ID)"));
    QPushButton* use = nullptr;
    QPushButton* cancel = nullptr;
    for (QPushButton* button : chooser.findChildren<QPushButton*>())
      (button->accessibleName() == QStringLiteral("Use this port") ? use : cancel) = button;
    ASSERT_TRUE(use && cancel);
    EXPECT_EQ(cancel->accessibleName(), QStringLiteral("Cancel"));

    chooser.show();
    list->setCurrentRow(1);
    QTest::mouseClick(accept ? use : cancel, Qt::LeftButton);
    EXPECT_EQ(chooser.chosenPort(), accept ? std::optional<size_t>(1) : std::nullopt);
  }
}

}  // namespace
}  // namespace vornik::test
