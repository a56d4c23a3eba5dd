#include "authoring/frmsave.h"

#include <QLabel>
#include <QPushButton>

#include "authoring/app.h"
#include "authoring/boxes.h"
#include "authoring/helptext.h"
#include "core/ui/twips.h"

namespace authoring {

Frmsave::Frmsave(Quizwright& app, QWidget* parent) : ui::YesNo(parent), app_(app) {
  setObjectName(QStringLiteral("Frmsave"));
  setWindowTitle(QStringLiteral(" "));
  // The question names files and drugs as typed: never markup, and a long
  // file name is broken rather than cut off.
  Label1 = new NameLabel(NameLabel::Fit::wrap, this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(questionplace());
  for (int i = 0; i < 2; ++i) Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
  installquizwrighthelp(*this, QStringLiteral("questions"));
  Form_Load();
}

void Frmsave::Form_Load() { ui::centreform(*this); }

void Frmsave::fitquestion() {
  ui::YesNo::fitquestion(*Label1, Label1->heightForWidth(Label1->width()));
  ui::centreform(*this);
}

void Frmsave::Command1_Click(int index) {
  app_.saveanswer = index == 0;
  done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace authoring
