// Build step: draws the program's icon at the sizes given and writes each as
// FOLDER/NxN/apps/orlimo.png, the layout of the hicolor icon theme.
//   icon-render FOLDER SIZE...
#include <QDir>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

#include "icon_art.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: icon-render FOLDER SIZE...\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    char* end = nullptr;
    const long size = std::strtol(argv[i], &end, 10);
    if (end == argv[i] || *end != '\0' || size < 16 || size > 1024) {
      std::fprintf(stderr, "icon-render: %s is not a size from 16 to 1024\n", argv[i]);
      return 2;
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    // Written whole or not at all: a build stopped half-way leaves no broken icon.
    QSaveFile out(dir + QStringLiteral("/orlimo.png"));
    if (!QDir().mkpath(dir) || !out.open(QIODevice::WriteOnly) ||
        !orlimo::iconart::DrawAppIcon(static_cast<int>(size)).save(&out, "PNG") || !out.commit()) {
      std::fprintf(stderr, "icon-render: cannot write %s\n", qPrintable(out.fileName()));
      return 1;
    }
  }
  return 0;
}
