#include <gtest/gtest.h>

#include <QDir>
#include <QSet>

#include "res/pictures.h"

namespace vornik::res {
namespace {

void Save(const QImage& image, const QString& name) {
  QDir().mkpath(QStringLiteral(VORNIK_SCREENSHOT_DIR));
  image.save(QStringLiteral(VORNIK_SCREENSHOT_DIR "/") + name);
}

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
  }
  return count;
}

TEST(Pictures, IconsAre32PixelsSquareOnATransparentGround) {
  for (int id : {kIconApplication, kIconExit, kIconHelp, kIconOk, kIconCancel}) {
    SCOPED_TRACE(id);
    const QImage icon = LoadIcon(id).toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(31, 0)), 0);
    EXPECT_GT(OpaquePixels(icon), 150);
    Save(icon.scaled(128, 128), QStringLiteral("icon_%1.png").arg(id));
  }
  EXPECT_TRUE(LoadIcon(124).isNull());
  EXPECT_TRUE(LoadIcon(0).isNull());
}

// The share of the square the picture covers, from 0 to 1.
double Coverage(const QImage& image) {
  double alpha = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      alpha += qAlpha(image.pixel(x, y));
    }
  }
  return alpha / (255.0 * image.width() * image.height());
}

TEST(Pictures, WindowIconDrawnAtEveryMenuSizeFillsTheSquareAlike) {
  const double atNaturalSize = Coverage(LoadIcon(kIconApplication).toImage());
  for (int size : {16, 24, 48, 64, 128, 256}) {
    const QImage icon = RenderIcon(kIconApplication, size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
    EXPECT_NEAR(Coverage(icon), atNaturalSize, 0.04) << size;
  }
  EXPECT_TRUE(RenderIcon(124, 48).isNull());
}

TEST(Pictures, TabStripHoldsFivePicturesInSixteenColoursWithBlueAsTransparent) {
  const QImage strip = LoadBitmap(kBitmapTabPictures);
  ASSERT_EQ(strip.size(), QSize(100, 20));
  EXPECT_LE(strip.colorCount(), 16);
  EXPECT_EQ(strip.pixel(0, 0), kTabPictureMask);
  Save(strip.scaled(500, 100), QStringLiteral("bitmap_124.png"));

  const QList<QPixmap> pictures = SplitImageStrip(strip, kTabPictureWidth, kTabPictureMask);
  ASSERT_EQ(pictures.size(), 5);
  QSet<QByteArray> distinct;
  for (const QPixmap& pixmap : pictures) {
    const QImage picture = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(picture.size(), QSize(20, 20));
    EXPECT_EQ(qAlpha(picture.pixel(0, 19)), 0);
    const int opaque = OpaquePixels(picture);
    EXPECT_GT(opaque, 60);
    EXPECT_LT(opaque, 400);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        EXPECT_NE(picture.pixel(x, y), kTabPictureMask);
      }
    }
    distinct.insert(
        QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()));
  }
  EXPECT_EQ(distinct.size(), 5);
}

// On a high-density screen every picture is drawn at the screen's scale, as many device
// pixels as it covers: never a small picture stretched. The tab pictures stay in their
// sixteen colours, so no smoothing blurred their edges.
TEST(Pictures, EveryPictureIsDrawnForTheScreensScale) {
  for (qreal scale : kPictureScales) {
    SCOPED_TRACE(scale);
    const QSize icon = LoadIcon(kIconExit, scale).size();
    const QImage about = LoadBitmap(kBitmapAbout, scale);
    const QImage strip = LoadBitmap(kBitmapTabPictures, scale);
    const QPixmap tab = SplitImageStrip(strip, kTabPictureWidth, kTabPictureMask).value(4);
    EXPECT_EQ(icon, QSize(qRound(32 * scale), qRound(32 * scale)));
    EXPECT_EQ(about.size(), QSize(qRound(440 * scale), qRound(330 * scale)));
    EXPECT_EQ(about.devicePixelRatio(), scale);
    EXPECT_LE(strip.colorCount(), 16);
    EXPECT_EQ(tab.deviceIndependentSize(), QSizeF(20, 20));
    EXPECT_EQ(tab.width(), qRound(20 * scale));
  }
}

TEST(Pictures, AboutPictureIsLightWhereTheTextLinesGo) {
  const QImage about = LoadBitmap(kBitmapAbout);
  ASSERT_EQ(about.size(), QSize(440, 330));
  EXPECT_EQ(about.depth(), 24);
  Save(about, QStringLiteral("bitmap_139.png"));
  // The four lines are drawn right-aligned from 160 to 240 down, ending at 420 across.
  long long lightness = 0;
  int count = 0;
  for (int y = 160; y < 240; ++y) {
    for (int x = 240; x < 420; ++x) {
      lightness += qGray(about.pixel(x, y));
      ++count;
    }
  }
  EXPECT_GT(lightness / count, 200);
  EXPECT_TRUE(LoadBitmap(140).isNull());
}

}  // namespace
}  // namespace vornik::res
