// `CAboutBox`: the About box (template 110): the About picture with four localized lines
// over its lower part, and one OK button. Its size and the button's place follow from the
// picture's size.
#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>

#include "res/dialog_builder.h"

class QPainter;

namespace vornik {

// The About box's geometry for a picture of `picture` pixels, a caption `captionHeight`
// high and an OK button of `button` size: the window's outer size and the button's place
// in the client area.
struct AboutGeometry {
  QSize window;
  QPoint button;
};
AboutGeometry AboutBoxGeometry(QSize picture, int captionHeight, QSize button);

// Copies `bitmap` to (x, y) on the painter's device; a width or height of -1 means the
// bitmap's own, any other is limited to it, in pixels of the painter's device (a bitmap
// drawn for a high-density screen covers its size divided by its device pixel ratio).
// False when there is no painter or bitmap.
bool DrawBitmapAt(QPainter* painter, int x, int y, int width, int height, const QImage& bitmap);

class CAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutBox(QWidget* parent = nullptr);

  QPushButton* okButton() const;
  int captionHeight() const { return captionHeight_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  res::DialogControls controls_;
  QFont textFont_;
  QImage picture_;
  int captionHeight_ = 0;
};

}  // namespace vornik
