#include <QDir>
#include <QPushButton>
#include <QTest>

#include "panel_fixture.h"
#include "res/pictures.h"
#include "ui/about_box.h"
#include "ui/colour_contrast.h"

namespace vornik::test {
namespace {

TEST(AboutBox, GeometryFollowsThePicture) {
  const auto geometry = AboutBoxGeometry(QSize(440, 330), 18, QSize(75, 23));
  EXPECT_EQ(geometry.window, QSize(465, 418));
  EXPECT_EQ(geometry.button, QPoint(195, 353));
  // An odd remainder rounds toward zero.
  EXPECT_EQ(AboutBoxGeometry(QSize(440, 330), 18, QSize(76, 23)).button.x(), 194);
}

TEST_F(PanelTest, AboutBoxPlacesItsButtonAndDrawsThePictureAndItsLines) {
  CAboutBox about;
  const QImage picture = res::LoadBitmap(res::kBitmapAbout);
  ASSERT_EQ(picture.size(), QSize(440, 330));
  const auto geometry =
      AboutBoxGeometry(picture.size(), about.captionHeight(), about.okButton()->size());
  EXPECT_EQ(about.size(), QSize(465, 330 + 70));
  EXPECT_EQ(about.okButton()->pos(), geometry.button);
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_EQ(about.okButton()->text(), "OK");

  const QImage shot = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.pixel(10, 10), picture.pixel(0, 0) | 0xFF000000);
  EXPECT_EQ(shot.pixel(449, 339), picture.pixel(439, 329) | 0xFF000000);
  // Some text was drawn over the right end of the first line's band.
  int changed = 0;
  for (int x = 300; x < 430; ++x)
    for (int y = 170; y < 185; ++y)
      changed += shot.pixel(x, y) != (picture.pixel(x - 10, y - 10) | 0xFF000000);
  EXPECT_GT(changed, 0);
}

TEST_F(PanelTest, AboutBoxWithoutItsTextsStillDrawsThePicture) {
  useLanguageFile("[ABOUT]\nCAPTION=About\n");
  CAboutBox about;
  const QImage picture = res::LoadBitmap(res::kBitmapAbout);
  const QImage shot = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int changed = 0;
  for (int x = 20; x < 430; ++x)
    for (int y = 170; y < 250; ++y)
      changed += shot.pixel(x, y) != (picture.pixel(x - 10, y - 10) | 0xFF000000);
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(about.okButton()->text(), "");
  QTest::mouseClick(about.okButton(), Qt::LeftButton);
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

// The four lines lie on the picture's light ground: under a dark colour scheme, whose text
// colour is light, they still stand out from the picture.
TEST_F(PanelTest, AboutBoxLinesStayReadableUnderADarkPalette) {
  CAboutBox about;
  about.setPalette(QPalette(QColor(53, 53, 53), QColor(42, 42, 42)));
  const QImage picture = res::LoadBitmap(res::kBitmapAbout);
  const QImage shot = about.grab().toImage();
  double contrast = 1;
  for (int x = 300; x < 430; ++x)
    for (int y = 170; y < 185; ++y)
      contrast = std::max(
          contrast, ColourContrast(shot.pixelColor(x, y), picture.pixelColor(x - 10, y - 10)));
  EXPECT_GE(contrast, 4.5);
  QDir().mkpath(QStringLiteral(VORNIK_SCREENSHOT_DIR));
  EXPECT_TRUE(shot.save(QStringLiteral(VORNIK_SCREENSHOT_DIR "/about_dark.png")));
}

}  // namespace
}  // namespace vornik::test
