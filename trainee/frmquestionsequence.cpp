// The exercise window's question sequence and display: the first screen of
// a module, each next question (the burette modules', the generators', a
// test's), the status panel, and the way back to the menu.
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

#include "core/askagain.h"
#include "core/drug.h"
#include "core/history.h"
#include "core/random.h"
#include "core/text.h"
#include "core/ui/artwork.h"
#include "core/ui/messages.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/burette.h"
#include "trainee/calculator.h"
#include "trainee/frmcompleted.h"
#include "trainee/frmsave.h"
#include "trainee/frmmenu.h"
#include "trainee/frmquestion.h"
#include "trainee/model/exercise.h"

namespace trainee {

namespace {

const char* const READY = "When you are ready to begin click the \"Start\" button below.";
const char* const NOQUESTION = "Sorry, no question could be made from the drug database for this module.";
const char* const NOQUESTIONMADE = "Sorry, no question could be made for this module.";

// The module picture: modules 1 to 3 the burette picture, 4 tablets,
// 5 metric conversions, 6 fluids, the tests their own.
int pictureindex(int modnum) {
  switch (modnum) {
    case 1: case 2: case 3: return 0;
    case 4: return 3;
    case 5: return 1;
    case 6: return 4;
    default: return 2;
  }
}

// The generator of a built-in module from 3 to 6.
core::QuestionKind generatorkind(int modnum) {
  switch (modnum) {
    case 3: return core::QuestionKind::Droprate;
    case 4: return core::QuestionKind::Tablet;
    case 5: return core::QuestionKind::Metric;
    default: return core::QuestionKind::Fluid;
  }
}

}  // namespace

void Frmquestion::Form_Load() {
  const auto& o = app_.options;
  if (applies(o.optnoshowme)) cmdshowme->setEnabled(false);

  started = 0;
  ui::centreform(*this);
  if (app_.menuloaded()) ui::setbackground(*this, ui::backgroundof(app_.menu()));
  session.clear();
  txtanswer->hide();

  setcaption(Lblheading, moduletext(app_.modules.modheading));
  setcaption(Lblquestion, moduletext(app_.modules.modintro) + std::string(core::crlf) +
                              std::string(core::crlf) + READY);

  ansstate = 0;
  burette->counting = false;
  lblstatus->hide();
  setcaption(lblstatus, "This box displays information about questions answered correctly");

  app_.corestate.history.historypos = 1;

  Image1->setPixmap(ui::modulepicture(pictureindex(app_.modnum)));
  if (app_.modnum == 4) Lbldrug->show();

  if (app_.modnum >= 7) {
    const std::string& file = moduletext(app_.modules.modfile);
    try {
      app_.testbuffer = session.opentest(file);
      setcaption(Lblquestion, app_.testbuffer.instructions() + READY);
    } catch (const core::FileError& e) {
      // A file that cannot be read is no test without questions: Start
      // reads it again, Quit leaves.
      app_.testbuffer = core::testrecord::blank();
      setcaption(Lblquestion, readfailure(file, e, STARTAGAIN));
    }
  }

  ivsetrate = app_.modnum == 2;
  focusbutton(cmdstart);
}

bool Frmquestion::tryread(const std::string& file, const std::function<void()>& read) {
  for (;;) {
    try {
      read();
      return true;
    } catch (const core::FileError& e) {
      if (!asktryagain(app_, readfailure(file, e))) {
        terminate();
        return false;
      }
    }
  }
}

bool Frmquestion::readtest() {
  const std::string& file = moduletext(app_.modules.modfile);
  return tryread(file, [&] { app_.testbuffer = session.opentest(file); });
}

bool Frmquestion::endtest() {
  txtanswer->hide();
  cmdquit->hide();
  cmdstart->hide();
  cmdshowme->hide();
  {
    Frmcompleted notice(app_, this);
    ui::runmodal(notice);
  }
  terminate();
  return false;
}

bool Frmquestion::noquestion(bool fromdrugs) {
  ui::showbox(this, QString::fromLatin1(fromdrugs ? NOQUESTION : NOQUESTIONMADE), APPTITLE,
              QMessageBox::Information);
  terminate();
  return false;
}

bool Frmquestion::makequest() {
  const auto& o = app_.options;
  const int modnum = app_.modnum;
  if (modnum >= 7 && session.testunread && !readtest()) return false;
  if (!session.nextquestion(modnum >= 7)) return endtest();

  setcaption(Lblheading, moduletext(app_.modules.modheading));

  if (modnum != 2) {
    Imgcalc->show();
    if (applies(o.optcalcoff)) Imgcalc->hide();
  }

  auto& corestate = app_.corestate;
  std::string question;
  switch (modnum) {
    case 1:
    case 2: {
      core::rng().reseed();
      BuretteQuestion b = burettequestion(modnum, core::rng().rnd());
      answerisnumber = true;
      answernumber = b.answer;
      question = std::move(b.question);
      corestate.helptext = std::move(b.helptext);
      break;
    }
    case 3:
    case 4:
    case 5:
    case 6: {
      double ans = 0;
      // The tablet and fluid generators read the drug database: while a read
      // fails the student may try again or leave.
      bool made = false;
      if (!tryread(core::DRUG_DATABASE, [&] { made = core::makeunrepeated(corestate, generatorkind(modnum), question, ans); }))
        return false;
      if (!made) return noquestion(modnum == 4 || modnum == 6);
      answerisnumber = true;
      answernumber = ans;
      if (modnum == 3) {
        // The burette drips at the asked rate (a rate below 1 leaves it still).
        burette->setdriprate(ans);
        burette->scriv->setValue(static_cast<int>(std::clamp<long long>(core::roundeven(ans), 1, 120)));
      }
      break;
    }
    default: {
      if (modnum < 7) return noquestion(false);
      const std::string& file = moduletext(app_.modules.modfile);
      std::optional<core::testrecord> next;
      if (!tryread(file, [&] { next = session.nexttestquestion(file); })) return false;
      // No further complete question in the file: the test is over.
      if (!next) return endtest();
      app_.testbuffer = std::move(*next);
      question = core::trim(app_.testbuffer.question);
      answertext = core::trim(app_.testbuffer.answer);
      corestate.helptext = core::trim(app_.testbuffer.help);
      answerisnumber = false;
      answernumber = 0;
      break;
    }
  }

  showquestion(question);
  showstatus();
  return true;
}

void Frmquestion::showquestion(const std::string& question) {
  const auto& o = app_.options;
  cmdshowme->show();
  setcaption(Lblquestion, question);

  switch (app_.modnum) {
    case 1:
      ivmodule = true;
      ivsetrate = true;
      enableanswer();
      burette->setdriprate(answernumber);
      Image1->hide();
      burette->imgburette->show();
      if (answernumber >= 1) burette->tmrdrip->start();
      burette->tmrclock->start();
      burette->Lblclock->show();
      burette->IVpan->show();
      break;
    case 2:
      ivmodule = true;
      ivsetrate = true;
      Image1->hide();
      burette->tmrclock->start();
      burette->Lblclock->show();
      burette->scriv->setValue(50);
      burette->setdriprate(50);
      burette->tmrdrip->start();
      burette->scriv->show();
      cmdaccept->show();
      burette->IVpan->show();
      txtanswer->setText(QStringLiteral("Answer"));
      // The scroll bar is this module's answer: the arrow keys move it and
      // Tab reaches Accept.
      burette->scriv->setFocus(Qt::OtherFocusReason);
      break;
    case 3:
      ivmodule = true;
      enableanswer();
      break;
    case 4:
      ivmodule = false;
      ivsetrate = false;
      setcaption(Lbldrug, app_.corestate.drugname);
      enableanswer();
      break;
    case 5:
      ivmodule = false;
      ivsetrate = false;
      enableanswer();
      break;
    default:
      ivmodule = false;
      enableanswer();
      break;
  }

  cmdshowme->setEnabled(!core::trim(app_.corestate.helptext).empty());
  if (applies(o.optnoshowme)) cmdshowme->setEnabled(false);
}

void Frmquestion::enableanswer() {
  if (app_.modnum != 2) txtanswer->show();
  txtanswer->setEnabled(true);
  txtanswer->setFocus();
  txtanswer->clear();
}

void Frmquestion::showstatus() {
  StatusCounts counts = session.status(app_.modnum >= 7);
  counts.showcounts = !applies(app_.options.optnocorrect);
  counts.showpassed = !applies(app_.options.optnopass);
  setcaption(lblstatus, statustext(counts));
}

void Frmquestion::terminate() {
  finishanimation();
  burette->stop();
  ui::showactive(app_.menu());
  if (app_.calculatorloaded()) app_.calculator().hide();
  session.clear();
  unload();
}

void Frmquestion::unload() {
  if (unloading_) return;
  unloading_ = true;
  Form_Unload();
  app_.unloadquestion();
}

void Frmquestion::Form_Unload() {
  hide();
  if (app_.results.progdirty) app_.menu().showprogressbutton();
  ui::showactive(app_.menu());
}

void Frmquestion::closeEvent(QCloseEvent* event) {
  // The close box: the window and the calculator are unloaded and the menu
  // comes back.
  finishanimation();
  burette->stop();
  if (!unloading_) {
    if (app_.calculatorloaded()) app_.unloadcalculator();
    unload();
  }
  event->accept();
}

void Frmquestion::mhus_Click() {
  app_.showsettingsdialog(this);
  if (app_.menuloaded()) ui::setbackground(*this, ui::backgroundof(app_.menu()));
}

}  // namespace trainee
