// The bitmaps: the strip of tab pictures (16 colours, crisp at 20 x 20) and the About
// picture.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "res/pictures.h"

namespace vornik::res {
namespace {

// The 16 colours of the tab pictures. Pure blue is the transparent colour, so no picture
// uses it for anything else.
constexpr QRgb kBlack = 0xFF000000, kMaroon = 0xFF800000, kGreen = 0xFF008000, kOlive = 0xFF808000,
               kNavy = 0xFF000080, kPurple = 0xFF800080, kTeal = 0xFF008080, kSilver = 0xFFC0C0C0,
               kGray = 0xFF808080, kRed = 0xFFFF0000, kLime = 0xFF00FF00, kYellow = 0xFFFFFF00,
               kFuchsia = 0xFFFF00FF, kAqua = 0xFF00FFFF, kWhite = 0xFFFFFFFF;
const QList<QRgb> kSixteenColours = {kBlack,          kMaroon,  kGreen, kOlive, kNavy, kPurple,
                                     kTeal,           kSilver,  kGray,  kRed,   kLime, kYellow,
                                     kTabPictureMask, kFuchsia, kAqua,  kWhite};

void Box(QPainter& p, int x, int y, int w, int h, QRgb fill, QRgb outline) {
  p.setPen(QColor(outline));
  p.setBrush(QColor(fill));
  p.drawRect(x, y, w - 1, h - 1);
}

void DrawSettingsPicture(QPainter& p) {
  // Three slider tracks, each with its knob at a different height.
  const int knobs[] = {5, 11, 7};
  const QRgb colours[] = {kRed, kLime, kYellow};
  for (int i = 0; i < 3; ++i) {
    const int x = 3 + i * 6;
    Box(p, x + 1, 2, 2, 16, kGray, kGray);
    p.setPen(QColor(kWhite));
    p.drawLine(x + 2, 2, x + 2, 17);
    Box(p, x - 1, knobs[i], 6, 4, colours[i], kBlack);
  }
}

void DrawAdvancedPicture(QPainter& p) {
  // A gear with eight teeth and a hole through it.
  const QPointF centre(29.5, 9.5);
  QPolygonF gear;
  for (int tooth = 0; tooth < 8; ++tooth) {
    const double base = tooth * M_PI / 4;
    for (const auto& [angle, radius] : {std::pair{base - 0.30, 6.5}, std::pair{base - 0.18, 9.2},
                                        std::pair{base + 0.18, 9.2}, std::pair{base + 0.30, 6.5}}) {
      gear << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
  }
  p.setPen(QColor(kBlack));
  p.setBrush(QColor(kTeal));
  p.drawPolygon(gear);
  p.setBrush(QColor(kAqua));
  p.setPen(Qt::NoPen);
  p.drawEllipse(centre + QPointF(-1.5, -1.5), 4.0, 4.0);
  p.setPen(QColor(kBlack));
  p.setBrush(QColor(kTabPictureMask));
  p.drawEllipse(centre, 2.2, 2.2);
}

void DrawPhonebookPicture(QPainter& p) {
  // A bound book: pages, cover, rings, a label, and a telephone handset on the cover.
  Box(p, 45, 3, 13, 16, kWhite, kBlack);
  Box(p, 43, 1, 14, 17, kMaroon, kBlack);
  for (int y = 3; y <= 15; y += 4) {
    Box(p, 42, y, 4, 2, kSilver, kBlack);
  }
  Box(p, 47, 3, 8, 4, kWhite, kBlack);
  p.setPen(QColor(kGray));
  p.drawLine(48, 5, 53, 5);
  // A desk telephone: handset across the top, body below with its dial.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kYellow));
  p.drawRect(46, 10, 10, 2);
  p.drawRect(46, 12, 2, 1);
  p.drawRect(54, 12, 2, 1);
  p.drawRect(47, 13, 8, 4);
  p.setBrush(QColor(kBlack));
  p.drawRect(50, 14, 2, 2);
}

void DrawInformationPicture(QPainter& p) {
  // The letter i in a navy disc.
  p.setPen(QColor(kBlack));
  p.setBrush(QColor(kNavy));
  p.drawEllipse(QPointF(69.5, 9.5), 8.5, 8.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kWhite));
  p.drawRect(69, 4, 2, 2);
  p.drawRect(68, 8, 3, 1);
  p.drawRect(69, 8, 2, 7);
  p.drawRect(68, 14, 4, 1);
}

void DrawFirmwarePicture(QPainter& p) {
  // A chip with its pins and an arrow coming down into it.
  for (int x = 84; x <= 94; x += 3) {
    Box(p, x, 5, 2, 14, kSilver, kGray);
  }
  Box(p, 82, 7, 16, 10, kBlack, kBlack);
  p.setPen(QColor(kGray));
  p.drawPoint(84, 9);
  QPolygon arrow;
  arrow << QPoint(88, 0) << QPoint(91, 0) << QPoint(91, 7) << QPoint(94, 7) << QPoint(89, 13)
        << QPoint(85, 7) << QPoint(88, 7);
  p.setPen(QColor(kGreen));
  p.setBrush(QColor(kLime));
  p.drawPolygon(arrow);
}

QImage TabPictures(qreal scale) {
  const int height = qRound(kTabPictureWidth * scale);
  QImage image(5 * height, height, QImage::Format_RGB32);
  image.fill(kTabPictureMask);
  QPainter painter(&image);
  painter.scale(scale, scale);
  DrawSettingsPicture(painter);
  DrawAdvancedPicture(painter);
  DrawPhonebookPicture(painter);
  DrawInformationPicture(painter);
  DrawFirmwarePicture(painter);
  painter.end();
  // Drawn without smoothing, every pixel already is one of the sixteen colours.
  QImage strip =
      image.convertToFormat(QImage::Format_Indexed8, kSixteenColours, Qt::ThresholdDither);
  strip.setDevicePixelRatio(scale);
  return strip;
}

void DrawAboutDevice(QPainter& p) {
  // The device in three-quarter view: scanner lid, body, paper tray, output with a page,
  // and the keypad with its display.
  p.setPen(QPen(QColor(70, 76, 90), 2));
  p.setBrush(QColor(210, 214, 222));
  p.drawRoundedRect(QRectF(40, 78, 160, 26), 6, 6);
  QLinearGradient body(0, 100, 0, 230);
  body.setColorAt(0, QColor(244, 245, 248));
  body.setColorAt(1, QColor(196, 200, 210));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(28, 100, 184, 118), 10, 10);
  p.setBrush(QColor(60, 64, 76));
  p.drawRoundedRect(QRectF(58, 158, 124, 12), 3, 3);
  p.setBrush(Qt::white);
  p.setPen(QPen(QColor(150, 156, 170), 1.5));
  p.drawRect(QRectF(74, 164, 92, 52));
  for (int y = 178; y <= 206; y += 8) {
    p.drawLine(QPointF(84, y), QPointF(y == 206 ? 130 : 156, y));
  }
  p.setPen(QPen(QColor(70, 76, 90), 2));
  p.setBrush(QColor(176, 182, 194));
  p.drawRoundedRect(QRectF(40, 218, 160, 14), 4, 4);
  p.setBrush(QColor(30, 90, 160));
  p.drawRoundedRect(QRectF(44, 116, 62, 24), 3, 3);
  p.setPen(QPen(QColor(170, 220, 255), 2));
  p.drawLine(QPointF(52, 124), QPointF(92, 124));
  p.drawLine(QPointF(52, 132), QPointF(80, 132));
  p.setPen(QPen(QColor(70, 76, 90), 1));
  const QColor keys[] = {QColor(80, 170, 90), QColor(230, 170, 50), QColor(210, 70, 60)};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(keys[i]);
    p.drawEllipse(QPointF(128 + i * 22, 128), 7, 7);
  }
}

QImage AboutPicture(qreal scale) {
  QImage image(qRound(440 * scale), qRound(330 * scale), QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);
  QLinearGradient sky(0, 0, 0, 330);
  sky.setColorAt(0, QColor(60, 110, 180));
  sky.setColorAt(0.42, QColor(190, 215, 240));
  sky.setColorAt(0.55, QColor(250, 251, 253));
  sky.setColorAt(1, QColor(236, 240, 246));
  const QRectF whole(0, 0, 440, 330);
  p.fillRect(whole, sky);
  QRadialGradient glow(QPointF(120, 150), 150);
  glow.setColorAt(0, QColor(255, 255, 255, 150));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(whole, glow);
  DrawAboutDevice(p);

  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(40);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(20, 40, 90, 90));
  p.drawText(QRectF(142, 32, 280, 50), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Helmdeck"));
  p.setPen(Qt::white);
  p.drawText(QRectF(140, 30, 280, 50), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Helmdeck"));
  QFont subtitle(QStringLiteral("DejaVu Sans"));
  subtitle.setPixelSize(14);
  p.setFont(subtitle);
  p.setPen(QColor(235, 242, 252));
  p.drawText(QRectF(220, 80, 200, 20), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("fax \u00b7 print \u00b7 copy \u00b7 scan"));
  p.setPen(QPen(QColor(60, 110, 180), 2));
  p.drawLine(QPointF(230, 150), QPointF(420, 150));
  p.end();
  image.setDevicePixelRatio(scale);
  return image;
}

}  // namespace

QImage LoadBitmap(int id, qreal scale) {
  switch (id) {
    case kBitmapTabPictures:
      return TabPictures(scale);
    case kBitmapAbout:
      return AboutPicture(scale);
    default:
      return {};
  }
}

QList<QPixmap> SplitImageStrip(const QImage& strip, int width, QRgb mask) {
  QList<QPixmap> pictures;
  const int pixels = qRound(width * strip.devicePixelRatio());
  for (int left = 0; pixels > 0 && left + pixels <= strip.width(); left += pixels) {
    QImage picture =
        strip.copy(left, 0, pixels, strip.height()).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < picture.width(); ++x) {
        if ((row[x] | 0xFF000000) == (mask | 0xFF000000)) {
          row[x] = 0;
        }
      }
    }
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(strip.devicePixelRatio());
    pictures.append(pixmap);
  }
  return pictures;
}

QList<QIcon> LoadScaledStrip(int id, int width, QRgb mask) {
  QList<QIcon> icons;
  for (qreal scale : kPictureScales) {
    const QList<QPixmap> pictures = SplitImageStrip(LoadBitmap(id, scale), width, mask);
    icons.resize(std::max(icons.size(), pictures.size()));
    for (qsizetype i = 0; i < pictures.size(); ++i)
      icons[i].addPixmap(pictures[i]);
  }
  return icons;
}

}  // namespace vornik::res
