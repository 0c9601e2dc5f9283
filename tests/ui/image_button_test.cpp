#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "res/dialog_builder.h"
#include "res/ids_entry.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "ui/image_button.h"

namespace vornik {
namespace {

// Colours compared as the 8-bit values that reach the screen, printed by name.
std::string Role(const QWidget* widget, QPalette::ColorRole role) {
  return QColor(widget->palette().color(role).rgb()).name().toStdString();
}

std::string Pixel(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y)).name().toStdString();
}

std::string PixelAt(QWidget* widget, int x, int y) {
  return Pixel(widget->grab().toImage(), x, y);
}

const std::string kBlack = "#000000";

void ShowActive(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// How many pixels of the area are mostly green (the check mark of the OK icon).
int GreenPixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      count += (c.green() > c.red() + 60 && c.green() > c.blue() + 60) ? 1 : 0;
    }
  }
  return count;
}

// The top-left corner of the icon's green shape.
QPoint FirstGreen(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (GreenPixels(image, QRect(x, y, 1, 1)) == 1) {
        return {x, y};
      }
    }
  }
  return {-1, -1};
}

class ImageButtonTest : public testing::Test {
 protected:
  ImageButtonTest() {
    window_.resize(400, 200);
    other_ = new QLineEdit(&window_);
    other_->setGeometry(10, 150, 100, 20);
    button_ = new ImageButton(QStringLiteral("OK"), &window_);
    button_->setGeometry(20, 20, 128, 40);
    button_->setIconResource(res::kIconOk);
    ShowActive(&window_);
    other_->setFocus();
  }

  QWidget window_;
  QLineEdit* other_;
  ImageButton* button_;
};

TEST_F(ImageButtonTest, FlatButtonShowsABorderOnlyWhileThePointerIsOverIt) {
  const std::string face = Role(button_, QPalette::Button);
  EXPECT_TRUE(button_->isFlat());
  EXPECT_EQ(button_->iconPixmapSize(), QSize(32, 32));
  EXPECT_EQ(PixelAt(button_, 0, 0), face);

  QTest::mouseMove(button_, QPoint(60, 20));
  EXPECT_TRUE(button_->hovering());
  EXPECT_EQ(PixelAt(button_, 0, 0), Role(button_, QPalette::Light));
  EXPECT_EQ(PixelAt(button_, 127, 39), Role(button_, QPalette::Dark));

  QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_TRUE(button_->isDown());
  EXPECT_EQ(PixelAt(button_, 0, 0), Role(button_, QPalette::Dark));
  EXPECT_EQ(PixelAt(button_, 127, 39), Role(button_, QPalette::Light));
  QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(60, 20));

  QTest::mouseMove(&window_, QPoint(300, 150));
  EXPECT_FALSE(button_->hovering());
  EXPECT_EQ(PixelAt(button_, 0, 0), face);
}

TEST_F(ImageButtonTest, HoverEndsWhenTheButtonIsDisabledOrTheWindowDeactivated) {
  QTest::mouseMove(button_, QPoint(60, 20));
  ASSERT_TRUE(button_->hovering());
  button_->setEnabled(false);
  EXPECT_FALSE(button_->hovering());
  button_->setEnabled(true);
  QTest::mouseMove(button_, QPoint(61, 21));
  ASSERT_TRUE(button_->hovering());
  QWidget other;
  ShowActive(&other);
  EXPECT_FALSE(window_.isActiveWindow());
  EXPECT_FALSE(button_->hovering());
}

TEST_F(ImageButtonTest, EnteringWithTheLeftButtonHeldStartsNoHover) {
  // The pointer may still stand where an earlier window had its button: over and out first.
  QTest::mouseMove(button_, QPoint(60, 20));
  QTest::mouseMove(&window_, QPoint(300, 150));
  ASSERT_FALSE(button_->hovering());
  QTest::mousePress(other_, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(button_, QPoint(60, 20));
  EXPECT_FALSE(button_->hovering());
  QTest::mouseRelease(other_, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(ImageButtonTest, PressedButtonMovesItsIconOnePixelDownAndRight) {
  const QPoint resting = FirstGreen(button_->grab().toImage());
  ASSERT_NE(resting, QPoint(-1, -1));
  EXPECT_LT(resting.x(), ImageButton::kImageMargin + 32);
  QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_EQ(FirstGreen(button_->grab().toImage()), resting + QPoint(1, 1));
  QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(60, 20));
}

TEST_F(ImageButtonTest, ClassicButtonShowsRaisedBorderBlackFrameAndFocusDots) {
  button_->setFlat(false);
  EXPECT_EQ(PixelAt(button_, 0, 0), Role(button_, QPalette::Light));
  EXPECT_EQ(PixelAt(button_, 127, 39), Role(button_, QPalette::Shadow));
  EXPECT_EQ(PixelAt(button_, 1, 1), Role(button_, QPalette::Midlight));

  button_->setFocus();
  const QImage focused = button_->grab().toImage();
  ASSERT_TRUE(button_->hasFocus());
  EXPECT_EQ(Pixel(focused, 0, 0), kBlack);
  EXPECT_EQ(Pixel(focused, 127, 39), kBlack);
  // The dotted focus rectangle runs 3 pixels inside the frame: every other pixel.
  const std::string dot = Role(button_, QPalette::ButtonText);
  for (int x = 40; x < 80; x += 2) {
    EXPECT_NE(Pixel(focused, x, 4) == dot, Pixel(focused, x + 1, 4) == dot) << x;
  }

  // A flat button has no frame, but its focus shows all the same, 3 pixels inside its edge.
  button_->setFlat(true);
  const QImage flatFocused = button_->grab().toImage();
  EXPECT_NE(Pixel(flatFocused, 0, 0), kBlack);
  for (int x = 40; x < 80; x += 2) {
    EXPECT_NE(Pixel(flatFocused, x, 3) == dot, Pixel(flatFocused, x + 1, 3) == dot) << x;
  }
}

TEST_F(ImageButtonTest, DisabledButtonEmbossesItsIconAndEtchesItsCaption) {
  const QRect iconArea(0, 0, 40, 40);
  const QRect captionArea(40, 0, 88, 40);
  EXPECT_GT(GreenPixels(button_->grab().toImage(), iconArea), 30);
  button_->setEnabled(false);
  const QImage disabled = button_->grab().toImage();
  EXPECT_EQ(GreenPixels(disabled, iconArea), 0);
  int light = 0;
  int dark = 0;
  int black = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 128; ++x) {
      const std::string c = Pixel(disabled, x, y);
      light += c == Role(button_, QPalette::Light) ? 1 : 0;
      dark += c == Role(button_, QPalette::Dark) ? 1 : 0;
      black += captionArea.contains(x, y) && c == kBlack ? 1 : 0;
    }
  }
  EXPECT_GT(light, 5);
  EXPECT_GT(dark, 30);
  EXPECT_EQ(black, 0);
}

// A dark colour scheme's shadow hardly differs from its face: there the disabled caption
// takes the scheme's disabled text colour, and the default button's frame its light text
// colour, where black would vanish.
TEST_F(ImageButtonTest, InADarkPaletteTheDisabledCaptionAndTheFrameStayVisible) {
  button_->setPalette(QPalette(QColor(53, 53, 53), QColor(42, 42, 42)));
  button_->setFlat(false);
  button_->setDefault(true);
  EXPECT_EQ(PixelAt(button_, 0, 0), Role(button_, QPalette::WindowText));
  button_->setEnabled(false);
  const QImage disabled = button_->grab().toImage();
  const std::string grey =
      QColor(button_->palette().color(QPalette::Disabled, QPalette::ButtonText).rgb())
          .name()
          .toStdString();
  int caption = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 40; x < 128; ++x)
      caption += Pixel(disabled, x, y) == grey ? 1 : 0;
  EXPECT_GT(caption, 10);
}

// The entry dialog's OK is its default button; moving the focus to Cancel makes Cancel
// the one that Enter presses, until the focus leaves it again.
TEST(ImageButtonDefault, FollowsTheDialogsDefaultButton) {
  QDialog dialog;
  const res::DialogControls controls = res::BuildDialog(res::kTemplate112, &dialog);
  auto* ok = controls.find<ImageButton>(res::entry_ids::kOk);
  auto* cancel = controls.find<ImageButton>(res::entry_ids::kCancel);
  auto* name = controls.find<QLineEdit>(res::entry_ids::kName);
  int okClicks = 0;
  int cancelClicks = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
  QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancelClicks; });
  ShowActive(&dialog);

  name->setFocus();
  EXPECT_TRUE(ok->isDefault());
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);

  cancel->setFocus();
  EXPECT_FALSE(ok->isDefault());
  EXPECT_TRUE(cancel->isDefault());
  QTest::keyClick(cancel, Qt::Key_Return);
  EXPECT_EQ(cancelClicks, 1);

  name->setFocus();
  EXPECT_TRUE(ok->isDefault());
  EXPECT_FALSE(cancel->isDefault());
}

TEST(ImageButtonClick, GivesTheButtonTheFocusAndStillReachesTheWindow) {
  QDialog dialog;
  auto* edit = new QLineEdit(&dialog);
  auto* button = new ImageButton(QStringLiteral("  E&xit"), &dialog);
  button->setGeometry(0, 40, 120, 40);
  button->setIconResource(res::kIconExit);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  ShowActive(&dialog);
  edit->setFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(clicks, 1);
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace vornik
