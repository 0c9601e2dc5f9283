#include "ui/about_box.h"

#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "res/ids_about.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "ui/lang_string.h"

namespace vornik {
namespace {

namespace ids = res::about_ids;

constexpr int kPictureLeft = 10;
constexpr int kPictureTop = 10;
// The four lines: right-aligned in a band from x 20 to 430, the first one 170 down, each
// next one 20 lower.
constexpr QRect kFirstLine(QPoint(20, 170), QPoint(430, 210));
constexpr int kLineStep = 20;
constexpr const char* kLineKeys[] = {"IDS_PRODUCT_NAME", "IDS_VERSION_NO", "IDS_COPYRIGHT1",
                                     "IDS_COPYRIGHT2"};
// The box's font is 8 units high in the device font; a scalable font needs a few pixels
// more to read the same.
constexpr int kTextPixelSize = 11;

}  // namespace

AboutGeometry AboutBoxGeometry(QSize picture, int captionHeight, QSize button) {
  const int width = picture.width() + 25;
  return {QSize(width, picture.height() + captionHeight + 70),
          QPoint((width - button.width()) / 2, picture.height() + button.height())};
}

bool DrawBitmapAt(QPainter* painter, int x, int y, int width, int height, const QImage& bitmap) {
  if (painter == nullptr || !painter->isActive() || bitmap.isNull())
    return false;
  const QSize size = bitmap.deviceIndependentSize().toSize();
  const int w = width == -1 ? size.width() : std::min(width, size.width());
  const int h = height == -1 ? size.height() : std::min(height, size.height());
  const qreal ratio = bitmap.devicePixelRatio();
  painter->drawImage(QRectF(x, y, w, h), bitmap, QRectF(0, 0, w * ratio, h * ratio));
  return true;
}

CAboutBox::CAboutBox(QWidget* parent)
    : QDialog(parent), picture_(res::LoadBitmap(res::kBitmapAbout, devicePixelRatioF())) {
  setObjectName(QStringLiteral("AboutBox"));
  controls_ = res::BuildDialog(res::kTemplate110, this);
  captionHeight_ = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  textFont_ = res::DialogFont(res::kTemplate110);
  textFont_.setPixelSize(kTextPixelSize);
  textFont_.setWeight(QFont::Normal);

  const auto geometry = AboutBoxGeometry(picture_.deviceIndependentSize().toSize(), captionHeight_,
                                         okButton()->size());
  // The platform draws the caption outside the client area: the client gets the rest.
  setFixedSize(geometry.window.width(), geometry.window.height() - captionHeight_);
  okButton()->move(geometry.button);
  connect(okButton(), &QPushButton::clicked, this, &QDialog::accept);

  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QRect area =
      owner ? owner->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
  if (area.isValid())
    move(area.center() - rect().center());
  res::LocalizeDialog(controls_);
}

QPushButton* CAboutBox::okButton() const {
  return controls_.find<QPushButton>(ids::kOk);
}

void CAboutBox::paintEvent(QPaintEvent*) {
  // Moved to a screen of another density, the box draws its picture anew for that screen.
  if (picture_.devicePixelRatio() != devicePixelRatioF())
    picture_ = res::LoadBitmap(res::kBitmapAbout, devicePixelRatioF());
  QPainter painter(this);
  DrawBitmapAt(&painter, kPictureLeft, kPictureTop, -1, -1, picture_);
  painter.setFont(textFont_);
  // The lines lie on the picture's light ground, whatever the palette's text colour.
  painter.setPen(Qt::black);
  QRect line = kFirstLine;
  for (const char* key : kLineKeys) {
    painter.drawText(line, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                     LangString("COMMON", key));
    line.translate(0, kLineStep);
  }
}

}  // namespace vornik
