// The exercise window: puts the questions of a module, marks the answers and
// shows the worked solutions.
#include "trainee/frmquestion.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/askagain.h"
#include "core/files.h"
#include "core/generators.h"
#include "core/history.h"
#include "core/random.h"
#include "core/testfile.h"
#include "core/text.h"
#include "core/ui/artwork.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/burette.h"
#include "trainee/calculator.h"
#include "trainee/frmcompleted.h"
#include "trainee/frmmenu.h"
#include "trainee/helptext.h"
#include "trainee/model/exercise.h"

namespace trainee {

namespace {

const char* const READY = "When you are ready to begin click the \"Start\" button below.";
const char* const NOQUESTION = "Sorry, no question could be made from the drug database for this module.";
const char* const NOQUESTIONMADE = "Sorry, no question could be made for this module.";

// The animation's path: the top runs from 960 to 2880 twips one step at a
// time; the size grows by 5 twips a step up to 615.
constexpr int ANIMFIRST = 960, ANIMLAST = 2880, ANIMLEFT = 3000, ANIMMAX = 615, ANIMGROW = 5;
// About a second in all: 64 ticks of 16 ms, 31 steps a tick (1921 steps).
constexpr int ANIMTICK_MS = 16, ANIMSTEPS_PER_TICK = 31;

// The smallest type a long panel text is shrunk to.
constexpr double MINPOINTS = 6.0;

QLabel* panel(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  // Question and test texts are shown as they are, never read as markup.
  l->setTextFormat(Qt::PlainText);
  l->setFrameStyle(QFrame::Panel | QFrame::Raised);
  l->setLineWidth(2);
  l->setAlignment(Qt::AlignCenter);
  l->setWordWrap(true);
  // A little room between the bevel and the text, so that wrapped lines do
  // not run into the frame.
  l->setMargin(3);
  l->setAutoFillBackground(true);
  return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  // Enter presses the button that has the focus, as it does in a dialog.
  b->setAutoDefault(true);
  return b;
}

// Gives a button the focus and shows it, as if it had been reached with
// the keyboard: the button that goes on after an answer is the one Enter
// presses next.
void focusbutton(QPushButton* b) {
  b->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  b->setFocus(Qt::OtherFocusReason);
}

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

}  // namespace

Frmquestion::Frmquestion(Dosavo& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setWindowTitle(QStringLiteral("Dosavo - Questions and Exercises"));
  buildcontrols();
  installdosavohelp(*this, QStringLiteral("exercise"));
  Form_Load();
}

Frmquestion::~Frmquestion() {
  if (animtimer_) animtimer_->stop();
  if (burette) burette->stop();
  // The calculator goes with the exercise window: the next one starts with a
  // fresh calculator. It is hidden and reset here rather than deleted, since
  // this window may itself be going while the run's windows are released.
  if (app_.calculatorloaded()) {
    Calculator& calculator = app_.calculator();
    calculator.hide();
    calculator.Form_Load();
  }
}

void Frmquestion::buildcontrols() {
  ope = menuBar()->addMenu(QStringLiteral("&Options"));
  ope->setObjectName(QStringLiteral("ope"));
  mhus = ope->addAction(QStringLiteral("&Change General Settings"));
  mhus->setObjectName(QStringLiteral("mhus"));
  connect(mhus, &QAction::triggered, this, [this] { mhus_Click(); });

  body = new QWidget(this);
  body->setObjectName(QStringLiteral("body"));
  body->setFixedSize(ui::px(9375), ui::px(6495));
  setCentralWidget(body);

  Lblheading = panel(body, "Lblheading", QString());
  ui::placetw(Lblheading, 240, 480, 5895, 615);
  QFont headfont = Lblheading->font();
  headfont.setBold(true);
  headfont.setPointSize(headfont.pointSize() + 2);
  Lblheading->setFont(headfont);

  Lblquestion = panel(body, "Lblquestion", QString());
  ui::placetw(Lblquestion, 240, 1080, 5895, 3015);

  txthelp = new QPlainTextEdit(body);
  txthelp->setObjectName(QStringLiteral("txthelp"));
  txthelp->setReadOnly(true);
  ui::placetw(txthelp, 240, 1080, 5895, 4335);
  txthelp->hide();

  Lblincorrect = panel(body, "Lblincorrect", QString());
  ui::placetw(Lblincorrect, 240, 4200, 5895, 1215);
  Lblincorrect->hide();

  Lblcorrect = panel(body, "Lblcorrect", QStringLiteral("Correct"));
  ui::placetw(Lblcorrect, 1320, 4440, 3495, 855);
  QFont bigfont = Lblcorrect->font();
  bigfont.setBold(true);
  bigfont.setPointSize(bigfont.pointSize() + 6);
  Lblcorrect->setFont(bigfont);
  Lblcorrect->hide();

  Imgcalc = new QLabel(body);
  Imgcalc->setObjectName(QStringLiteral("Imgcalc"));
  Imgcalc->setPixmap(ui::calculatoricon());
  Imgcalc->setScaledContents(true);
  Imgcalc->setCursor(Qt::PointingHandCursor);
  // A Tab stop too: Space or Enter opens and closes the calculator.
  Imgcalc->setFocusPolicy(Qt::TabFocus);
  QPalette ring = Imgcalc->palette();
  ring.setColor(QPalette::WindowText, ring.color(QPalette::Highlight));
  Imgcalc->setPalette(ring);
  ui::placetw(Imgcalc, 1320, 4560, 480, 480);
  Imgcalc->installEventFilter(this);
  Imgcalc->hide();

  txtanswer = new QLineEdit(QStringLiteral("Answer"), body);
  txtanswer->setObjectName(QStringLiteral("txtanswer"));
  ui::placetw(txtanswer, 2040, 4560, 2295, 675);
  QFont answerfont = txtanswer->font();
  answerfont.setPointSize(answerfont.pointSize() + 4);
  txtanswer->setFont(answerfont);
  txtanswer->installEventFilter(this);
  txtanswer->hide();

  Image1 = new QLabel(body);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setScaledContents(true);
  ui::placetw(Image1, 6360, 480, 2655, 3615);

  // The burette's panel, timers and counter sit over the picture's place.
  burette = new Burette(body);

  Lbldrug = panel(body, "Lbldrug", QString());
  ui::placetw(Lbldrug, 6720, 2280, 1935, 1455);
  Lbldrug->hide();

  cmdaccept = button(body, "cmdaccept", "&Accept");
  ui::placetw(cmdaccept, 6840, 3840, 1695, 615);
  cmdaccept->hide();
  connect(cmdaccept, &QPushButton::clicked, this, [this] { cmdaccept_Click(); });

  lblstatus = panel(body, "lblstatus", QString());
  ui::placetw(lblstatus, 6360, 4560, 2655, 1695);

  cmdstart = button(body, "cmdstart", "&Start");
  ui::placetw(cmdstart, 720, 5640, 1455, 615);
  connect(cmdstart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });

  cmdquit = button(body, "cmdquit", "&Quit");
  ui::placetw(cmdquit, 2520, 5640, 1455, 615);
  connect(cmdquit, &QPushButton::clicked, this, [this] { cmdquit_Click(); });

  cmdshowme = button(body, "cmdshowme", "&Show Me");
  ui::placetw(cmdshowme, 4320, 5640, 1575, 615);
  cmdshowme->hide();
  connect(cmdshowme, &QPushButton::clicked, this, [this] { cmdshowme_Click(); });

  Command1 = button(body, "Command1", "&OK");
  ui::placetw(Command1, 2640, 5520, 1215, 735);
  Command1->hide();
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  static const char* const yesno[2] = {"&Yes", "&No"};
  static const int yesnoleft[2] = {3240, 1440};
  for (int i = 0; i < 2; ++i) {
    wanthelp[i] = button(body, i == 0 ? "wanthelp_0" : "wanthelp_1", yesno[i]);
    ui::placetw(wanthelp[i], yesnoleft[i], 5640, 1455, 615);
    wanthelp[i]->hide();
    connect(wanthelp[i], &QPushButton::clicked, this, [this, i] { wanthelp_Click(i); });
  }
  // Tab runs along the prompt from left to right: No, then Yes.
  setTabOrder(wanthelp[1], wanthelp[0]);

  // The right-answer images: Image2 travels, Image3 stays where it is.
  Image2 = new QLabel(body);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setPixmap(ui::correctimage(2));
  Image2->setScaledContents(true);
  Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
  Image2->hide();
  Image3 = new QLabel(body);
  Image3->setObjectName(QStringLiteral("Image3"));
  Image3->setPixmap(ui::correctimage(3));
  Image3->setScaledContents(true);
  Image3->setAttribute(Qt::WA_TransparentForMouseEvents);
  ui::placetw(Image3, 4920, 4440, 855, 855);
  Image3->hide();

  // Pictures lie under the panels and boxes, as image controls do: the
  // wrong-answer message and "Correct" cover the calculator icon.
  Image1->lower();
  Imgcalc->lower();

  animtimer_ = new QTimer(this);
  animtimer_->setInterval(ANIMTICK_MS);
  connect(animtimer_, &QTimer::timeout, this, [this] { animationstep(); });

  ui::fixedwindow(*this, sizeHint());
}

// ---------------------------------------------------------------------------
// Small helpers

std::string Frmquestion::caption(const QWidget* w) {
  if (!w) return {};
  const QByteArray bytes = w->property("dosavocaption").toString().toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void Frmquestion::setcaption(QLabel* label, const std::string& text) {
  // The stored form is kept byte for byte (as Latin-1 code units) beside the
  // text shown.
  label->setProperty("dosavocaption", QString::fromLatin1(text.data(), static_cast<int>(text.size())));
  label->setText(ui::showntext(text));
  // A long text (a test's instructions or question can run to a thousand
  // characters) is set in a smaller type until it fits its panel, rather
  // than being cut off at the bottom.
  bool ok = false;
  const double design = label->property("dosavopointsize").toDouble(&ok);
  QFont font = label->font();
  if (!ok) {
    label->setProperty("dosavopointsize", font.pointSizeF());
  } else if (font.pointSizeF() != design) {
    font.setPointSizeF(design);
    label->setFont(font);
  }
  while (label->wordWrap() && label->heightForWidth(label->width()) > label->height() &&
         font.pointSizeF() > MINPOINTS) {
    font.setPointSizeF(std::max(MINPOINTS, font.pointSizeF() - 0.5));
    label->setFont(font);
  }
}

bool Frmquestion::rec(bool option) const { return app_.options.recording && option; }

const std::string& Frmquestion::moduletext(const std::vector<std::string>& texts) const {
  static const std::string none;
  return app_.modnum >= 0 && static_cast<std::size_t>(app_.modnum) < texts.size() ? texts[app_.modnum] : none;
}

std::string Frmquestion::answerstring() const {
  return answerisnumber ? core::numtext(answernumber) : answertext;
}

void Frmquestion::count(std::vector<std::int16_t>& counts) {
  if (app_.modnum < 0) return;
  const auto n = static_cast<std::size_t>(app_.modnum);
  if (counts.size() <= n) counts.resize(n + 1, 0);
  // The counts stop at the largest 16-bit value rather than turn negative.
  if (counts[n] < std::numeric_limits<std::int16_t>::max()) ++counts[n];
}

namespace {
void bump(std::int16_t& n) {
  if (n < std::numeric_limits<std::int16_t>::max()) ++n;
}
}  // namespace

void Frmquestion::testforivon() {
  burette->testforivon(ivmodule, ivrun, ivsetrate, answerisnumber ? answernumber : 0.0, Image1);
}

// ---------------------------------------------------------------------------
// Question sequence and display

void Frmquestion::Form_Load() {
  const auto& o = app_.options;
  if (rec(o.optnoshowme)) cmdshowme->setEnabled(false);

  started = 0;
  ui::centreform(*this);
  if (app_.menuloaded()) ui::setbackground(*this, ui::backgroundof(app_.menu()));
  testcount = 0;
  txtanswer->hide();

  setcaption(Lblheading, moduletext(app_.modules.modheading));
  setcaption(Lblquestion, moduletext(app_.modules.modintro) + std::string(core::crlf) +
                              std::string(core::crlf) + READY);

  questno = npassed = nincorrect = ncorrect = 0;
  ansstate = 0;
  burette->counting = false;
  lblstatus->hide();
  setcaption(lblstatus, "This box displays information about questions answered correctly");

  app_.core.history.historypos = 1;

  Image1->setPixmap(ui::modulepicture(pictureindex(app_.modnum)));
  if (app_.modnum == 4) Lbldrug->show();

  if (app_.modnum >= 7) {
    const std::string& file = moduletext(app_.modules.modfile);
    std::string instructions;
    long records = 0;
    try {
      app_.testbuffer = core::readtestrecord(file, 1);
      instructions = app_.testbuffer.instructions();
      records = core::testquestioncount(core::filesize(file));
    } catch (const std::exception&) {
      // A test file that cannot be read has no questions: Start leads
      // straight to the completion notice.
      app_.testbuffer = core::testrecord::blank();
    }
    setcaption(Lblquestion, instructions + READY);
    testcount = static_cast<std::int16_t>(std::min<long>(records, std::numeric_limits<std::int16_t>::max()));
    testrec = 0;
  }

  ivsetrate = app_.modnum == 2;
  focusbutton(cmdstart);
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
  bump(questno);

  if (modnum >= 7 && questno == testcount + 1) return endtest();

  if (questno > 1000) {
    questno = 1;
    ncorrect = npassed = nincorrect = 0;
  }

  setcaption(Lblheading, moduletext(app_.modules.modheading));

  if (modnum != 2) {
    Imgcalc->show();
    if (rec(o.optcalcoff)) Imgcalc->hide();
  }

  auto& core = app_.core;
  std::string question;
  switch (modnum) {
    case 1:
    case 2: {
      core::rng().reseed();
      BuretteQuestion b = burettequestion(modnum, core::rng().rnd());
      answerisnumber = true;
      answernumber = b.answer;
      question = std::move(b.question);
      core.helptext = std::move(b.helptext);
      break;
    }
    case 3: {
      double ans = 0;
      if (!core::makeunrepeated(core, core::QuestionKind::Droprate, question, ans)) return noquestion(false);
      answerisnumber = true;
      answernumber = ans;
      // The burette drips at the asked rate (a rate below 1 leaves it still).
      burette->setdriprate(ans);
      burette->scriv->setValue(static_cast<int>(std::clamp<long long>(core::roundeven(ans), 1, 120)));
      break;
    }
    case 4:
    case 6: {
      double ans = 0;
      const auto kind = modnum == 4 ? core::QuestionKind::Tablet : core::QuestionKind::Fluid;
      if (!core::makeunrepeated(core, kind, question, ans)) return noquestion();
      answerisnumber = true;
      answernumber = ans;
      break;
    }
    case 5: {
      double ans = 0;
      if (!core::makeunrepeated(core, core::QuestionKind::Metric, question, ans)) return noquestion(false);
      answerisnumber = true;
      answernumber = ans;
      break;
    }
    default: {
      if (modnum < 7) return noquestion(false);
      const std::string& file = moduletext(app_.modules.modfile);
      long records = 0;
      try {
        records = core::testquestioncount(core::filesize(file));
      } catch (const std::exception&) {
        records = 0;
      }
      for (;;) {
        // No further complete question in the file: the test is over.
        if (testrec >= records) return endtest();
        ++testrec;
        try {
          app_.testbuffer = core::readtestrecord(file, testrec + 1L);
        } catch (const std::exception&) {
          return endtest();
        }
        question = core::trim(app_.testbuffer.question);
        answertext = core::trim(app_.testbuffer.answer);
        core.helptext = core::trim(app_.testbuffer.help);
        if (!question.empty() && !answertext.empty()) break;
      }
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
      setcaption(Lbldrug, app_.core.drugname);
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

  cmdshowme->setEnabled(!core::trim(app_.core.helptext).empty());
  if (rec(o.optnoshowme)) cmdshowme->setEnabled(false);
}

void Frmquestion::enableanswer() {
  if (app_.modnum != 2) txtanswer->show();
  txtanswer->setEnabled(true);
  txtanswer->setFocus();
  txtanswer->clear();
}

void Frmquestion::showstatus() {
  const auto& o = app_.options;
  setcaption(lblstatus, statustext({.questno = questno,
                                    .testcount = testcount,
                                    .ncorrect = ncorrect,
                                    .nincorrect = nincorrect,
                                    .npassed = npassed,
                                    .test = app_.modnum >= 7,
                                    .showcounts = !rec(o.optnocorrect),
                                    .showpassed = !rec(o.optnopass)}));
}

void Frmquestion::terminate() {
  finishanimation();
  burette->stop();
  ui::showactive(app_.menu());
  if (app_.calculatorloaded()) app_.calculator().hide();
  npassed = nincorrect = ncorrect = questno = 0;
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

void Frmquestion::Imgcalc_Click() {
  if (app_.calculatorloaded() && app_.calculator().isVisible()) {
    app_.unloadcalculator();
  } else {
    ui::showactive(app_.calculator());
  }
}

// ---------------------------------------------------------------------------
// Answering and marking

void Frmquestion::cmdStart_Click() {
  if (cmdstart->text() == QStringLiteral("&Next")) cmdstart->setText(QStringLiteral("&Answer"));
  checkresponse();
}

void Frmquestion::checkresponse() {
  const auto& o = app_.options;
  const int modnum = app_.modnum;
  // A right answer's animation still running ends now.
  finishanimation();

  if (ansstate == 2) {
    Lblcorrect->hide();
    if (!rec(o.optnoshowme)) cmdshowme->setEnabled(true);
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
    cmdstart->setText(QStringLiteral("&Answer"));
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
    if (rec(o.optnopass)) {
      ui::showbox(this, QStringLiteral("Sorry you cannot pass on this question"), APPTITLE);
      return;
    }
    txtanswer->clear();
    bump(npassed);
    showstatus();
    count(app_.modules.modpassed);
    app_.results.progdirty = true;
  } else if (m.verdict == Verdict::Right) {
    txtanswer->hide();
    bump(ncorrect);
    showstatus();
    count(app_.modules.modcorrect);
    app_.results.progdirty = true;
    if (!rec(o.optnocorrect)) {
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
    bump(nincorrect);
    showstatus();
    count(app_.modules.modincorrect);
    app_.results.progdirty = true;
    if (!rec(o.optnocorrect)) {
      const bool hashelp = !app_.core.helptext.empty();
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
  if (rec(app_.options.optnoshowme)) cmdshowme->setEnabled(false);
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
  // With the worked solutions switched off by the site options, Yes cannot
  // show one: it goes on to the next question like No.
  if (index == 0 && !rec(app_.options.optnoshowme)) {
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
  txthelp->show();
  txthelp->setEnabled(true);
  txthelp->setPlainText(ui::showntext(app_.core.helptext));
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
  cmdstart->setEnabled(true);
  if (app_.modnum == 1) burette->ivcount();
  if (ansstate == 1) {
    cmdshowme->show();
    cmdstart->setText(QStringLiteral("&Answer"));
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

bool Frmquestion::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtanswer && event->type() == QEvent::KeyPress) {
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
  if (watched == Imgcalc && event->type() == QEvent::FocusIn) {
    // While a panel lies over the picture (the marking, the worked
    // solution), Tab passes it by rather than stopping where nothing shows.
    const QWidget* area = Imgcalc->parentWidget();
    if (area->childAt(Imgcalc->geometry().center()) != Imgcalc) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      focusNextPrevChild(reason != Qt::BacktabFocusReason);
      return false;
    }
  }
  if (watched == Imgcalc && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    // A ring round the picture while it has the keyboard.
    Imgcalc->setFrameStyle(event->type() == QEvent::FocusIn ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    return false;
  }
  if (watched == Imgcalc && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
      Imgcalc_Click();
      return true;
    }
    return false;
  }
  if (watched == Imgcalc && event->type() == QEvent::MouseButtonRelease) {
    Imgcalc_Click();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The right-answer animation

void Frmquestion::correctanimation() {
  if (app_.core.settings.animationsoff == 1) return;
  Image2->show();
  Image3->show();
  Image2->raise();
  animstep_ = ANIMFIRST;
  animsize_ = 0;
  ui::placetw(Image2, ANIMLEFT, animstep_, animsize_, animsize_);
  animtimer_->start();
}

bool Frmquestion::animating() const { return animtimer_ && animtimer_->isActive(); }

void Frmquestion::animationstep() {
  if (!animating()) return;
  for (int i = 0; i < ANIMSTEPS_PER_TICK && animstep_ <= ANIMLAST; ++i, ++animstep_) {
    if (animsize_ < ANIMMAX) animsize_ += ANIMGROW;
    ui::placetw(Image2, ANIMLEFT, animstep_, animsize_, animsize_);
  }
  if (animstep_ > ANIMLAST) {
    // The counter ends on the last top it took.
    animstep_ = ANIMLAST;
    animtimer_->stop();
    Image2->hide();
    Image3->hide();
  }
}

void Frmquestion::finishanimation() {
  while (animating()) animationstep();
}

}  // namespace trainee
