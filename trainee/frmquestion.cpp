// The exercise window: puts the questions of a module, marks the answers and
// shows the worked solutions.
#include "trainee/frmquestion.h"

#include <QLineEdit>

#include "trainee/app.h"

namespace trainee {

Frmquestion::Frmquestion(Dosavo& app, QWidget* parent) : QWidget(parent), app_(app) {
  setWindowTitle(QStringLiteral("Dosavo - Questions and Exercises"));
  txtanswer = new QLineEdit(this);
  Form_Load();
}

void Frmquestion::Form_Load() {}

}  // namespace trainee
