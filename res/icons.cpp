// The 32 x 32 icons, drawn smooth on a transparent background.
#include <QPainter>
#include <QPainterPath>

#include "res/pictures.h"

namespace vornik::res {
namespace {

void DrawDevice(QPainter& p) {
  // Scanner lid, body with its output slot and a sheet coming out, keypad with a display.
  p.setPen(QPen(QColor(60, 60, 70), 1));
  p.setBrush(QColor(200, 204, 210));
  p.drawRoundedRect(QRectF(4.5, 5.5, 23, 5), 1.5, 1.5);
  p.setBrush(QColor(232, 234, 238));
  p.drawRoundedRect(QRectF(2.5, 10.5, 27, 16), 2, 2);
  p.setBrush(QColor(70, 74, 84));
  p.drawRect(QRectF(7.5, 19.5, 17, 2));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9.5, 21.5, 13, 7));
  p.setPen(QPen(QColor(150, 160, 175), 1));
  p.drawLine(QPointF(11.5, 24.5), QPointF(20.5, 24.5));
  p.drawLine(QPointF(11.5, 26.5), QPointF(18.5, 26.5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 120, 200));
  p.drawRect(QRectF(5, 13, 9, 4));
  p.setBrush(QColor(60, 170, 80));
  p.drawEllipse(QPointF(19, 15), 1.5, 1.5);
  p.setBrush(QColor(220, 80, 60));
  p.drawEllipse(QPointF(24, 15), 1.5, 1.5);
}

void DrawExit(QPainter& p) {
  // Door frame, the door swung open towards the viewer, and an arrow leaving through it.
  p.setPen(QPen(QColor(90, 60, 30), 1.5));
  p.setBrush(QColor(40, 40, 48));
  p.drawRect(QRectF(7, 3, 14, 26));
  QPainterPath door;
  door.moveTo(7, 3);
  door.lineTo(15, 7);
  door.lineTo(15, 31);
  door.lineTo(7, 29);
  door.closeSubpath();
  p.setBrush(QColor(176, 112, 52));
  p.drawPath(door);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(240, 200, 80));
  p.drawEllipse(QPointF(13, 18), 1.2, 1.2);
  QPainterPath arrow;
  arrow.moveTo(14, 14);
  arrow.lineTo(23, 14);
  arrow.lineTo(23, 9);
  arrow.lineTo(31, 17);
  arrow.lineTo(23, 25);
  arrow.lineTo(23, 20);
  arrow.lineTo(14, 20);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(20, 100, 30), 1));
  p.setBrush(QColor(60, 180, 70));
  p.drawPath(arrow);
}

void DrawHelp(QPainter& p) {
  // A closed book seen from the front, its pages showing at the right, a question mark.
  p.setPen(QPen(QColor(20, 40, 100), 1));
  p.setBrush(QColor(245, 245, 235));
  p.drawRect(QRectF(8.5, 4.5, 20, 25));
  p.setBrush(QColor(40, 80, 170));
  p.drawRoundedRect(QRectF(4.5, 2.5, 21, 26), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(25, 55, 130));
  p.drawRect(QRectF(5, 3, 4, 25));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(9, 3, 16, 24), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawCheck(QPainter& p) {
  QPainterPath check;
  check.moveTo(4, 17);
  check.lineTo(12, 26);
  check.lineTo(28, 6);
  p.setPen(QPen(QColor(20, 110, 30), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(check);
  p.setPen(QPen(QColor(60, 190, 70), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(check);
}

void DrawCross(QPainter& p) {
  for (const auto& [width, colour] :
       {std::pair{7.0, QColor(140, 20, 20)}, std::pair{4.0, QColor(225, 50, 45)}}) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
  }
}

}  // namespace

QImage RenderIcon(int id, int size) {
  void (*draw)(QPainter&) = nullptr;
  switch (id) {
    case kIconApplication:
      draw = DrawDevice;
      break;
    case kIconExit:
      draw = DrawExit;
      break;
    case kIconHelp:
      draw = DrawHelp;
      break;
    case kIconOk:
      draw = DrawCheck;
      break;
    case kIconCancel:
      draw = DrawCross;
      break;
    default:
      return {};
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(qreal(size) / kIconSize, qreal(size) / kIconSize);
  draw(painter);
  painter.end();
  return image;
}

QPixmap LoadIcon(int id, qreal scale) {
  QPixmap icon = QPixmap::fromImage(RenderIcon(id, qRound(kIconSize * scale)));
  icon.setDevicePixelRatio(scale);
  return icon;
}

QIcon LoadScaledIcon(int id) {
  QIcon icon;
  for (qreal scale : kPictureScales)
    icon.addPixmap(LoadIcon(id, scale));
  return icon;
}

}  // namespace vornik::res
