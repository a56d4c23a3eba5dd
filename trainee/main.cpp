// dosavo: the trainee program. Runs in the current folder, which holds the
// data files.
#include <QApplication>

#include "core/files.h"
#include "trainee/app.h"
#include "trainee/startup.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("Dosavo"));
  // The desktop entry (dosavo.desktop) whose icon the window manager shows.
  application.setDesktopFileName(QStringLiteral("dosavo"));
  // Every way out of the program goes through Dosavo::end.
  application.setQuitOnLastWindowClosed(false);
  core::setworkdir({});
  trainee::Dosavo app;
  trainee::Main(app);
  if (app.ended) return 0;
  return application.exec();
}
