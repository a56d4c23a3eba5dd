// Writes each program's icon as a 256-pixel PNG into a folder: the pictures
// that the desktop entries in this folder name. Run it after changing the
// drawing in core/ui/icons.cpp and commit the pictures it writes.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "core/ui/icons.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkicons FOLDER\n");
    return 2;
  }
  // Drawing needs no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (ui::Program program : {ui::Program::dosavo, ui::Program::quizwright}) {
    const QString path = folder.filePath(QString::fromLatin1(ui::programname(program)) + QStringLiteral(".png"));
    if (!ui::programpicture(program, 256).save(path, "PNG")) {
      std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
