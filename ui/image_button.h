// A push button drawn by the program: a 32 x 32 icon beside its caption, either with the
// classic raised border or flat, with a border only while the pointer is over it; either
// way a dotted rectangle shows that it has the focus. It stays
// an ordinary push button for its window: clicks, the default button and Enter work as
// for any other.
#pragma once

#include <QPixmap>
#include <QPushButton>

namespace vornik {

class ImageButton : public QPushButton {
  Q_OBJECT

 public:
  explicit ImageButton(const QString& text, QWidget* parent = nullptr);

  // Shows the icon resource `iconId` (res/pictures.h) at its natural size, drawn for the
  // button's screen, and redraws.
  void setIconResource(int iconId);
  QSize iconPixmapSize() const { return icon_.deviceIndependentSize().toSize(); }
  // The device pixels per pixel the icon was drawn for.
  qreal iconPixelRatio() const { return icon_.devicePixelRatio(); }
  // True while the pointer is over a flat button.
  bool hovering() const { return hovering_; }

  // Flat is the default; setFlat(false) (QPushButton) gives the raised border and redraws.

  static constexpr int kImageMargin = 3;
  static constexpr QPoint kPressedOffset{1, 1};

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void trackPointer(bool overButton, bool leftButtonHeld);
  void setHovering(bool hovering);

  int iconId_ = 0;
  QPixmap icon_;
  bool hovering_ = false;
};

}  // namespace vornik
