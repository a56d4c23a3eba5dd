// The Yes/No window of the trainee program: the save question before the
// results log is written, and the question whether to try a denied log file
// again.
#include "trainee/frmsave.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "core/ui/artwork.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/helptext.h"

namespace trainee {

Frmsave::Frmsave(Dosavo& app, QWidget* parent) : ui::YesNo(parent), app_(app) {
  setWindowTitle(QStringLiteral("Would you like to save your session details?"));

  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  ui::readingbox(*Text1);
  Text1->setPlainText(QStringLiteral("Would you like to save your results?"));
  Text1->setGeometry(questionplace());
  // The keyboard starts on Yes; the question text comes after the buttons.
  SSCommand1[0]->setFocus();
  for (int i = 0; i < 2; ++i) SSCommand1[i]->setObjectName(QStringLiteral("SSCommand1_%1").arg(i));
  installdosavohelp(*this, QStringLiteral("finishing"));

  if (!app_.frmsavebackground.isNull()) ui::setbackground(*this, app_.frmsavebackground);
  Form_Load();
}

void Frmsave::Form_Load() {
  ui::centreform(*this);
  retrymode_ = app_.options.retryflag;
  if (retrymode_) {
    Text1->setPlainText(ui::fromansi(app_.options.retrymessage));
  } else {
    // Closing the window without a button saves nothing.
    app_.results.saveanswer = false;
    if (!app_.options.saveprompt.empty()) Text1->setPlainText(ui::fromansi(app_.options.saveprompt));
  }
}

void Frmsave::SSCommand1_Click(int index) {
  if (retrymode_) {
    // Yes leaves retryflag true; No gives up.
    if (index == 1) app_.options.retryflag = false;
    done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
    return;
  }
  if (index == 0) {
    app_.results.saveanswer = true;
    done(QDialog::Accepted);
    return;
  }
  // No to the save question ends the program at once: nothing is written.
  done(QDialog::Rejected);
  app_.end();
}

bool asktryagain(Dosavo& app, const std::string& message) {
  app.options.retrymessage = message;
  app.options.retryflag = true;
  bool yes = false;
  {
    Frmsave window(app);
    window.setWindowTitle(APPTITLE);
    yes = ui::runmodal(window) == QDialog::Accepted;
  }
  app.options.retryflag = false;
  return yes;
}

}  // namespace trainee
