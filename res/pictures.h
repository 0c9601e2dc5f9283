// The program's pictures, drawn by the program itself: the window icon, the four button
// icons, the strip of tab pictures and the About picture.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

namespace vornik::res {

inline constexpr int kIconApplication = 101;  // the device
inline constexpr int kIconExit = 121;         // an open door with an arrow
inline constexpr int kIconHelp = 122;         // a book with a question mark
inline constexpr int kIconOk = 130;           // a green check mark
inline constexpr int kIconCancel = 131;       // a red cross
inline constexpr int kIconSize = 32;

// Five 20 x 20 pictures side by side in page order (Settings, Advanced, Phonebook,
// Information, Firmware Update), 16 colours, pure blue standing for transparent.
inline constexpr int kBitmapTabPictures = 124;
inline constexpr int kTabPictureWidth = 20;
inline constexpr QRgb kTabPictureMask = 0xFF0000FF;
// The About picture, 440 x 330, 24 bits per pixel.
inline constexpr int kBitmapAbout = 139;

// The scales of the screens every picture is drawn for: on a high-density screen a picture
// drawn at its scale stays as sharp as at its natural size.
inline constexpr qreal kPictureScales[] = {1, 1.25, 1.5, 2, 3};

// The icon with `id` at its natural size (32 x 32 pixels, transparent background) on a
// screen of `scale` device pixels per pixel: drawn at that many times the size, with that
// device pixel ratio. A null pixmap for an id that names no icon.
QPixmap LoadIcon(int id, qreal scale = 1);

// The icon with `id` drawn for each of `kPictureScales`: a window or tab picks the one its
// screen needs.
QIcon LoadScaledIcon(int id);

// The icon with `id` drawn at `size` x `size` pixels from the same drawing (the menu and
// desktop icons of the program are made from it); a null image for an id that names none.
QImage RenderIcon(int id, int size);

// The bitmap with `id` for a screen of `scale` device pixels per pixel (its natural size
// that many times over, with that device pixel ratio); a null image for an id that names
// no bitmap.
QImage LoadBitmap(int id, qreal scale = 1);

// Cuts a strip into pictures `width` pixels wide (at the strip's device pixel ratio, which
// each picture keeps), the `mask` colour made transparent.
QList<QPixmap> SplitImageStrip(const QImage& strip, int width, QRgb mask);

// The pictures of the strip with `id` drawn for each of `kPictureScales`, each as one icon.
QList<QIcon> LoadScaledStrip(int id, int width, QRgb mask);

}  // namespace vornik::res
