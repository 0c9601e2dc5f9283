#include "ui/image_button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "res/pictures.h"
#include "ui/colour_contrast.h"

namespace vornik {
namespace {

// A 1-pixel rectangle: top and left in one colour, bottom and right in another.
void Draw3dRect(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  p.setPen(bottomRight);
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// The icon's shape in one colour.
QPixmap Silhouette(const QPixmap& icon, const QColor& colour) {
  QPixmap shape(icon.size());
  shape.setDevicePixelRatio(icon.devicePixelRatio());
  shape.fill(Qt::transparent);
  QPainter p(&shape);
  p.drawPixmap(0, 0, icon);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(QRect(QPoint(), icon.deviceIndependentSize().toSize()), colour);
  return shape;
}

// The grey of a disabled caption and icon: the shadow colour, which stands out from a
// light face; on a dark face the shadow hardly differs from it, and the palette's own
// disabled caption colour reads better.
QColor DisabledGrey(const QPalette& pal) {
  const QColor face = pal.color(QPalette::Button);
  const QColor shadow = pal.color(QPalette::Dark);
  const QColor text = pal.color(QPalette::Disabled, QPalette::ButtonText);
  return ColourContrast(shadow, face) >= ColourContrast(text, face) ? shadow : text;
}

}  // namespace

ImageButton::ImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setFlat(true);
  setMouseTracking(true);
}

void ImageButton::setIconResource(int iconId) {
  iconId_ = iconId;
  icon_ = res::LoadIcon(iconId, devicePixelRatioF());
  update();
}

void ImageButton::paintEvent(QPaintEvent*) {
  // A window moved to a screen of another density draws its icon anew for that screen.
  if (!icon_.isNull() && icon_.devicePixelRatio() != devicePixelRatioF())
    icon_ = res::LoadIcon(iconId_, devicePixelRatioF());
  QPainter p(this);
  const QPalette& pal = palette();
  const bool pressed = isDown();
  const bool focused = hasFocus();
  const bool disabled = !isEnabled();
  const bool flat = isFlat();
  QRect r = rect();

  if (!flat && (focused || isDefault())) {
    // Black in a light palette; a dark one frames its buttons in its light text colour.
    p.setPen(pal.color(QPalette::WindowText));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  }
  p.fillRect(r, pal.button());
  if (pressed && !flat) {
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -1, -1));
  } else if (pressed) {
    Draw3dRect(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
  } else if (!flat) {
    Draw3dRect(p, r, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
    Draw3dRect(p, r.adjusted(1, 1, -1, -1), pal.color(QPalette::Midlight),
               pal.color(QPalette::Dark));
  } else if (hovering_) {
    Draw3dRect(p, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
  }

  const QPoint offset = pressed ? kPressedOffset : QPoint();
  QRect captionArea = r;
  if (!icon_.isNull()) {
    const QSize iconSize = iconPixmapSize();
    QPoint iconAt(r.left() + (r.width() - iconSize.width()) / 2,
                  r.top() + (r.height() - iconSize.height()) / 2);
    if (!text().isEmpty()) {
      iconAt.setX(r.left() + kImageMargin);
      captionArea.setLeft(iconAt.x() + iconSize.width() + kImageMargin);
    }
    iconAt += offset;
    if (disabled) {
      // Embossed: the shape in the highlight colour one pixel down and right, then in the
      // shadow colour in place.
      p.drawPixmap(iconAt + QPoint(1, 1), Silhouette(icon_, pal.color(QPalette::Light)));
      p.drawPixmap(iconAt, Silhouette(icon_, DisabledGrey(pal)));
    } else {
      p.drawPixmap(iconAt, icon_);
    }
  }

  captionArea.translate(offset);
  const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  if (disabled) {
    p.setPen(pal.color(QPalette::Light));
    p.drawText(captionArea.translated(1, 1), flags, text());
    p.setPen(DisabledGrey(pal));
  } else {
    p.setPen(pal.color(QPalette::ButtonText));
  }
  p.drawText(captionArea, flags, text());

  // The focus shows on a flat button too: a keyboard user must see where Enter goes.
  if (focused) {
    QPen dots(pal.color(QPalette::ButtonText), 1);
    dots.setDashPattern({1, 1});
    p.setPen(dots);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3, 3, -4, -4));
  }
}

void ImageButton::trackPointer(bool overButton, bool leftButtonHeld) {
  // Entering with the left button already held (a drag from elsewhere) starts no hover.
  if (leftButtonHeld && !hovering_) {
    return;
  }
  setHovering(overButton && isFlat());
}

void ImageButton::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  trackPointer(true, QApplication::mouseButtons() & Qt::LeftButton);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
  QPushButton::mouseMoveEvent(event);
  trackPointer(rect().contains(event->position().toPoint()), event->buttons() & Qt::LeftButton);
}

void ImageButton::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  setHovering(false);
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
  QPushButton::focusOutEvent(event);
  setHovering(false);
}

void ImageButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange && !isEnabled()) {
    setHovering(false);
  }
}

bool ImageButton::event(QEvent* event) {
  // The window's deactivation reaches its children as a deactivation of their own.
  if (event->type() == QEvent::WindowDeactivate) {
    setHovering(false);
  }
  return QPushButton::event(event);
}

void ImageButton::setHovering(bool hovering) {
  if (hovering_ != hovering) {
    hovering_ = hovering;
    update();
  }
}

}  // namespace vornik
