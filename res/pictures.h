// The program's pictures, drawn by the program itself: the window icon, the four button
// icons, the strip of tab pictures and the About picture.
#pragma once

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

// The icon with `id` at its natural size (32 x 32, transparent background); a null pixmap
// for an id that names no icon.
QPixmap LoadIcon(int id);

// The icon with `id` drawn at `size` x `size` pixels from the same drawing (the menu and
// desktop icons of the program are made from it); a null image for an id that names none.
QImage RenderIcon(int id, int size);

// The bitmap with `id`; a null image for an id that names no bitmap.
QImage LoadBitmap(int id);

// Cuts a strip into pictures `width` pixels wide, the `mask` colour made transparent.
QList<QPixmap> SplitImageStrip(const QImage& strip, int width, QRgb mask);

}  // namespace vornik::res
