// quizwright: the teachers' tool. Runs in the current folder, which holds
// the data files.
#include <QApplication>

#include "authoring/app.h"
#include "authoring/startup.h"
#include "core/files.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("Quizwright"));
  // Every way out of the tool goes through Quizwright::end.
  application.setQuitOnLastWindowClosed(false);
  core::setworkdir({});
  authoring::Quizwright app;
  authoring::Main(app);
  if (app.ended) return 0;
  return application.exec();
}
