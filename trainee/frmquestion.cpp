// The exercise window: puts the questions of a module, marks the answers and
// shows the worked solutions. This file builds the controls and holds the
// helpers every section uses, the calculator picture and the right-answer
// animation; the question sequence is in frmquestionsequence.cpp, the
// answering in frmquestionmarking.cpp. The session's counts and the walk
// through a test are the Session model's.
#include "trainee/frmquestion.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/text.h"
#include "core/ui/artwork.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/panel.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/burette.h"
#include "trainee/calculator.h"
#include "trainee/helptext.h"

namespace trainee {

namespace {

// The animation's path: the top runs from 960 to 2880 twips one step at a
// time; the size grows by 5 twips a step up to 615.
constexpr int ANIMFIRST = 960, ANIMLAST = 2880, ANIMLEFT = 3000, ANIMMAX = 615, ANIMGROW = 5;
// About a second in all: 64 ticks of 16 ms, 31 steps a tick (1921 steps).
constexpr int ANIMTICK_MS = 16, ANIMSTEPS_PER_TICK = 31;

ui::Panel* panel(QWidget* parent, const char* name, const QString& text) {
  auto* p = new ui::Panel(text, parent);
  p->setObjectName(QString::fromLatin1(name));
  // A little room between the bevel and the text, so that wrapped lines do
  // not run into the frame; the panels cover the pictures under them.
  p->setMargin(3);
  p->setAutoFillBackground(true);
  return p;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  // Enter presses the button that has the focus, as it does in a dialog.
  b->setAutoDefault(true);
  return b;
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
  // Read, scrolled with the arrow keys, ringed while it has the keyboard.
  ui::readingbox(*txthelp);
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
  const auto* p = dynamic_cast<const ui::Panel*>(w);
  return p ? ui::toansi(p->caption()) : std::string();
}

void Frmquestion::setcaption(ui::Panel* label, const std::string& text) {
  label->setCaption(ui::fromansi(text));
  // A long text (a test's instructions or question can run to a thousand
  // characters) is set in a smaller type until it fits its panel, rather
  // than being cut off at the bottom.
  ui::fittext(*label);
}

bool Frmquestion::applies(bool option) const { return app_.options.recording && option; }

const std::string& Frmquestion::moduletext(const std::vector<std::string>& texts) const {
  static const std::string none;
  return app_.modnum >= 0 && static_cast<std::size_t>(app_.modnum) < texts.size() ? texts[app_.modnum] : none;
}

std::string Frmquestion::answerstring() const {
  return answerisnumber ? core::numtext(answernumber) : answertext;
}

void Frmquestion::focusbutton(QPushButton* b) {
  b->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  b->setFocus(Qt::OtherFocusReason);
}

void Frmquestion::testforivon() {
  burette->testforivon(ivmodule, ivrun, ivsetrate, answerisnumber ? answernumber : 0.0, Image1);
}

// ---------------------------------------------------------------------------
// The calculator picture: a click, Space or Enter opens and closes the
// calculator.

void Frmquestion::Imgcalc_Click() {
  if (app_.calculatorloaded() && app_.calculator().isVisible()) {
    app_.unloadcalculator();
  } else {
    ui::showactive(app_.calculator());
  }
}

bool Frmquestion::calcpictureevent(QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    // While a panel lies over the picture (the marking, the worked
    // solution), Tab passes it by rather than stopping where nothing shows.
    const QWidget* area = Imgcalc->parentWidget();
    if (area->childAt(Imgcalc->geometry().center()) != Imgcalc) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      focusNextPrevChild(reason != Qt::BacktabFocusReason);
      return false;
    }
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    // A ring round the picture while it has the keyboard.
    Imgcalc->setFrameStyle(event->type() == QEvent::FocusIn ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
      Imgcalc_Click();
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    Imgcalc_Click();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// The right-answer animation

void Frmquestion::correctanimation() {
  if (app_.corestate.settings.animationsoff == 1) return;
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
