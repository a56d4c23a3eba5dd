// The test-completed notice.
#include "trainee/frmcompleted.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/ui/twips.h"
#include "core/ui/typing.h"
#include "trainee/app.h"
#include "trainee/frmquestion.h"
#include "trainee/helptext.h"

namespace trainee {

Frmcompleted::Frmcompleted(Dosavo& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle(QString());
  setModal(true);
  ui::fixedwindow(*this, QSize(ui::px(5655), ui::px(1215)));

  SSPanel1 = new QLabel(QStringLiteral("Test Completed"), this);
  SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
  SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  SSPanel1->setLineWidth(2);
  SSPanel1->setAlignment(Qt::AlignCenter);
  QFont font = SSPanel1->font();
  font.setBold(true);
  font.setPointSize(font.pointSize() + 4);
  SSPanel1->setFont(font);
  ui::placetw(SSPanel1, 120, 120, 3735, 975);

  SSCommand1 = new QPushButton(QStringLiteral("&OK"), this);
  SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
  SSCommand1->setDefault(true);
  ui::placetw(SSCommand1, 4080, 240, 1335, 735);
  connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
  installdosavohelp(*this, QStringLiteral("exercise"));
  ui::ignoreescape(*this);  // no Cancel button

  Form_Load();
}

void Frmcompleted::Form_Load() {
  // Not centred: it sits over the lower part of the exercise window.
  const QWidget* exercise = parentWidget();
  if (exercise == nullptr && app_.questionloaded()) exercise = &app_.question();
  if (exercise == nullptr) return;
  const QPoint corner = exercise->pos();
  move(corner.x() + ui::px(257), corner.y() + ui::px(4905));
}

void Frmcompleted::SSCommand1_Click() { done(QDialog::Accepted); }

}  // namespace trainee
