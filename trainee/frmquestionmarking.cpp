// The exercise window's answering and marking: the Start / Answer / Next
// button, the prompts after a wrong answer, the worked solution and the
// answer box's keys. The marking itself is markanswer's.
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"
#include "trainee/burette.h"
#include "trainee/frmquestion.h"
#include "trainee/model/exercise.h"

namespace trainee {

void Frmquestion::cmdStart_Click() {
  if (cmdstart->text() == QStringLiteral("&Next")) cmdstart->setText(answercaption());
  checkresponse();
}

QString Frmquestion::answercaption() const {
  // In the flow-rate module "&Accept" stands beside this button and takes
  // Alt+A; Alt+N answers here.
  return app_.modnum == 2 ? QStringLiteral("A&nswer") : QStringLiteral("&Answer");
}

void Frmquestion::checkresponse() {
  const auto& o = app_.options;
  const int modnum = app_.modnum;
  // A right answer's animation still running ends now.
  finishanimation();

  if (ansstate == 2) {
    Lblcorrect->hide();
    if (!applies(o.optnoshowme)) cmdshowme->setEnabled(true);
    if (modnum != 2) txtanswer->show();
    if (!makequest()) return;
    ansstate = 0;
    ivrun = false;
    testforivon();
    showstatus();
    return;
  }

  if (started == 0) {
    started = -1;
    cmdstart->setText(answercaption());
    if (modnum != 2) txtanswer->show();
    lblstatus->show();
    cmdshowme->show();
    if (!makequest()) return;
    showstatus();
    return;
  }

  // A wrong answer's prompt is up: only its buttons answer.
  if (ansstate != 0) return;

  const Marking m = markanswer(ui::toansi(txtanswer->text()), answerstring(), modnum);
  if (m.nearenough) txtanswer->setText(ui::fromansi(m.answer));
  if (modnum >= 7) answertext = m.answer;

  if (m.verdict == Verdict::Pass) {
    if (applies(o.optnopass)) {
      ui::showbox(this, QStringLiteral("Sorry you cannot pass on this question"), APPTITLE);
      return;
    }
    txtanswer->clear();
    session.count(m.verdict, modnum, app_.modules, app_.results.progdirty);
    showstatus();
  } else if (m.verdict == Verdict::Right) {
    txtanswer->hide();
    session.count(m.verdict, modnum, app_.modules, app_.results.progdirty);
    showstatus();
    if (!applies(o.optnocorrect)) {
      Lblcorrect->show();
      cmdshowme->setEnabled(false);
      ansstate = 2;
      ivrun = true;
      testforivon();
      correctanimation();
      cmdstart->setText(QStringLiteral("&Next"));
      focusbutton(cmdstart);
    }
  } else {
    session.count(m.verdict, modnum, app_.modules, app_.results.progdirty);
    showstatus();
    if (!applies(o.optnocorrect)) {
      // With worked solutions switched off there is none to offer.
      const bool hashelp = !app_.corestate.helptext.empty() && !applies(o.optnoshowme);
      if (hashelp) {
        togglehelpprompt();
        focusbutton(wanthelp[0]);
      } else {
        toggleokprompt();
        focusbutton(Command1);
      }
      setcaption(Lblincorrect, wrongmessage(m, hashelp));
      Lblincorrect->show();
      ansstate = 1;
      ivrun = true;
      testforivon();
    }
  }

  if (ansstate == 0) {
    if (!makequest()) return;
    ivrun = false;
    testforivon();
  }
  showstatus();
}

void Frmquestion::cmdaccept_Click() {
  txtanswer->setText(QString::number(burette->scriv->value()));
  cmdaccept->hide();
  checkresponse();
}

void Frmquestion::cmdquit_Click() { terminate(); }

namespace {
void flip(QWidget* w) { w->setVisible(w->isHidden()); }
}  // namespace

void Frmquestion::togglehelpprompt() {
  flip(cmdquit);
  flip(cmdstart);
  if (applies(app_.options.optnoshowme)) cmdshowme->setEnabled(false);
  flip(cmdshowme);
  if (app_.modnum != 2) flip(txtanswer);
  flip(wanthelp[0]);
  flip(wanthelp[1]);
  txtanswer->clear();
}

void Frmquestion::toggleokprompt() {
  flip(cmdquit);
  flip(cmdstart);
  cmdshowme->hide();
  if (app_.modnum != 2) flip(txtanswer);
  flip(Command1);
  txtanswer->clear();
}

void Frmquestion::wanthelp_Click(int index) {
  Lblincorrect->hide();
  togglehelpprompt();
  if (index == 0) {
    ivrun = true;
    testforivon();
    questionhelp();
    return;
  }
  ansstate = 0;
  ivrun = false;
  testforivon();
  makequest();
}

void Frmquestion::Command1_Click() {
  Lblincorrect->hide();
  toggleokprompt();
  ansstate = 0;
  ivrun = false;
  testforivon();
  makequest();
}

void Frmquestion::questionhelp() {
  QFont font;
  if (app_.modnum == 5) {
    // The metric scale of the solution is drawn in columns.
    font = QFont(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else {
    font = QFont(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
  }
  txthelp->setFont(font);
  ivrun = true;
  testforivon();
  cmdstart->setEnabled(false);
  cmdshowme->setText(QStringLiteral("&OK"));
  cmdaccept->hide();
  // The answer box lies under the solution: it takes no keys and is no Tab
  // stop until the solution is put away.
  txtanswer->setEnabled(false);
  txthelp->show();
  txthelp->setEnabled(true);
  txthelp->setPlainText(ui::showntext(app_.corestate.helptext));
  txthelp->raise();
  if (app_.modnum == 1) burette->ivcount();
  focusbutton(cmdshowme);
}

void Frmquestion::cmdshowme_Click() {
  if (cmdshowme->text() != QStringLiteral("&OK")) {
    questionhelp();
    return;
  }
  cmdshowme->setText(QStringLiteral("&Show Me"));
  txthelp->setEnabled(false);
  txthelp->hide();
  txtanswer->setEnabled(true);
  cmdstart->setEnabled(true);
  if (app_.modnum == 1) burette->ivcount();
  if (ansstate == 1) {
    cmdshowme->show();
    cmdstart->setText(answercaption());
    ansstate = 0;
    ivrun = false;
    testforivon();
    makequest();
    return;
  }
  ivrun = false;
  testforivon();
  showstatus();
  cmdStart_Click();
}

void Frmquestion::txtanswer_KeyPress(int& KeyAscii) {
  if (KeyAscii == 13) {
    KeyAscii = 0;
    if (cmdstart->isEnabled()) checkresponse();
    return;
  }
  if (app_.modnum >= 7) return;
  KeyAscii = core::testkey(KeyAscii);
}

bool Frmquestion::event(QEvent* event) {
  // Alt and a letter that a shown button of the window and a menu title
  // share ("&OK" and "&Options") press the button, as in a dialog: the key
  // is taken here, before the menu bar can claim it as a shortcut. The key
  // press that then reaches the focus widget types nothing.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::AltModifier && !key->isAutoRepeat()) {
      const QKeySequence pressed(key->keyCombination());
      for (QPushButton* b : body->findChildren<QPushButton*>()) {
        if (b->isVisible() && b->isEnabled() && QKeySequence::mnemonic(b->text()) == pressed) {
          event->accept();
          b->animateClick();
          accesskeytaken_ = true;
          QTimer::singleShot(0, this, [this] { accesskeytaken_ = false; });
          return true;
        }
      }
    }
  }
  return QMainWindow::event(event);
}

bool Frmquestion::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtanswer && event->type() == QEvent::KeyPress) {
    if (accesskeytaken_) return true;
    auto* key = static_cast<QKeyEvent*>(event);
    int code = -1;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      code = 13;
    } else if (!key->text().isEmpty()) {
      const std::string bytes = ui::toansi(key->text().left(1));
      if (!bytes.empty()) code = static_cast<unsigned char>(bytes[0]);
    }
    if (code < 0) return false;
    // The window may end while the key is handled (the last answer of a
    // test): nothing of it is touched afterwards.
    QPointer<Frmquestion> self(this);
    int keyascii = code;
    txtanswer_KeyPress(keyascii);
    if (!self) return true;
    return keyascii == 0;
  }
  if (watched == Imgcalc && calcpictureevent(event)) return true;
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace trainee
