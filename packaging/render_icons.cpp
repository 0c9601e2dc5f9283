// vornik-render-icons: draws the program's window picture at the sizes of the desktop's
// icon theme, as <folder>/<size>x<size>/apps/<name>.png, for the install.
// Usage: vornik-render-icons FOLDER NAME SIZE...
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "res/pictures.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: vornik-render-icons FOLDER NAME SIZE...\n");
    return 2;
  }
  const QDir theme(QString::fromLocal8Bit(argv[1]));
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&isNumber);
    if (!isNumber || size < 1 || size > 1024) {
      std::fprintf(stderr, "vornik-render-icons: bad size %s\n", argv[i]);
      return 2;
    }
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = theme.filePath(folder + "/" + name + ".png");
    if (!theme.mkpath(folder) ||
        !vornik::res::RenderIcon(vornik::res::kIconApplication, size).save(path, "PNG")) {
      std::fprintf(stderr, "vornik-render-icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
