// The burette and the calculator inside the real exercise window, through
// whole sessions: module 1 drips from the first question to the end, module 2
// at the rate the scroll bar is dragged to, module 3 only after an answer and
// while the worked solution is shown; a drop rate of 0 leaves the burette
// still; the calculator icon and window follow the module and site options.
// Draws are scripted so every rate is known; timers are driven by their
// handlers.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "core/drug.h"
#include "core/text.h"
#include "session_fixture.h"
#include "trainee/burette.h"
#include "trainee/calculator.h"

using exercisetest::Session;
using trainee::Frmquestion;

namespace {

// The burette drips at the given interval, the clock runs, the panel is up.
void dripping(Frmquestion& q, int interval) {
  const trainee::Burette& b = *q.burette;
  EXPECT_FALSE(b.IVpan->isHidden());
  EXPECT_TRUE(q.Image1->isHidden());
  EXPECT_FALSE(b.Lblclock->isHidden());
  EXPECT_TRUE(b.tmrdrip->isActive());
  EXPECT_EQ(b.tmrdrip->interval(), interval);
  EXPECT_TRUE(b.tmrclock->isActive());
  EXPECT_EQ(b.tmrclock->interval(), 1000);
}

// Module 3 between answers: the module picture, nothing running.
void putaway(Frmquestion& q) {
  const trainee::Burette& b = *q.burette;
  EXPECT_TRUE(b.IVpan->isHidden());
  EXPECT_FALSE(q.Image1->isHidden());
  EXPECT_FALSE(b.Lblclock->isVisible());
  EXPECT_FALSE(b.tmrdrip->isActive());
  EXPECT_FALSE(b.tmrclock->isActive());
}

// Draws of a plain drop-rate question of 1 litre of Normal Saline. Each rate
// has its own keys, so none is taken for a repeat.
enum Rate { R21, R31, R33, R17 };
void pushdroprate(core::ScriptedRandom& draws, Rate rate) {
  // Hours 3 + Int(10 r); drop factor 10 or 15.
  const float hours[] = {0.5f, 0.5f, 0.25f, 0.75f};  // 8, 8, 5, 10 hours
  const float factor = rate == R31 ? 0.5f : 0.0f;
  for (float r : {0.0f, 0.4f, 0.0f, hours[rate], factor, 0.0f}) draws.push(r);
}

// Draws of the running form whose remaining volume comes to 0 ml: 500 ml
// over 4.5 hours, 240 minutes gone, 0 drops a minute; with a drop factor of
// 10 or (second) of 15.
void pushnothingleft(core::ScriptedRandom& draws, bool second = false) {
  for (float r : {0.6f, 0.25f, 0.0f, 0.95f, second ? 0.5f : 0.0f, 0.99f, second ? 0.0f : 0.125f}) draws.push(r);
}

}  // namespace

// The checks above, reported at the line that makes them.
#define EXPECT_DRIPPING(q, interval) \
  do {                               \
    SCOPED_TRACE("dripping");        \
    dripping(q, interval);           \
  } while (false)
#define EXPECT_PUTAWAY(q)     \
  do {                        \
    SCOPED_TRACE("put away"); \
    putaway(q);               \
  } while (false)

TEST_F(Session, CountingDropsDripsFromTheFirstQuestionToTheEnd) {
  Frmquestion& q = open(1);
  // Before Start: the module picture, the burette still.
  EXPECT_TRUE(q.burette->IVpan->isHidden());
  EXPECT_FALSE(q.Image1->isHidden());
  EXPECT_FALSE(q.burette->tmrdrip->isActive());
  EXPECT_FALSE(q.burette->tmrclock->isActive());
  EXPECT_TRUE(q.burette->frmivcount->isHidden());

  draws.push(0.49f);  // 44 a minute
  q.cmdStart_Click();
  EXPECT_DRIPPING(q, 1363);
  EXPECT_FALSE(q.burette->imgburette->isHidden());
  EXPECT_TRUE(q.burette->scriv->isHidden());
  EXPECT_TRUE(q.cmdaccept->isHidden());

  // A wrong answer: dripping on at the same rate.
  answer(q, "60");
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_DRIPPING(q, 1363);

  // The worked solution starts the one-minute counter.
  q.wanthelp_Click(0);
  EXPECT_FALSE(q.txthelp->isHidden());
  EXPECT_FALSE(q.burette->frmivcount->isHidden());
  EXPECT_TRUE(q.burette->counting);
  EXPECT_DRIPPING(q, 1363);
  q.burette->tmrclock_Timer();  // before the first drop
  EXPECT_EQ(q.burette->Lblct->text(), "0");
  q.burette->tmrdrip_Timer();
  EXPECT_EQ(q.burette->lblc->text(), "1");
  EXPECT_FALSE(q.burette->Shpdrip->isHidden());  // the drop falls
  q.burette->tmrclock_Timer();
  EXPECT_EQ(q.burette->Lblct->text(), "1");

  // Closing the solution stops the counter; the next question drips at its
  // own rate without a pause.
  draws.push(0.0f);  // 20 a minute
  q.cmdshowme_Click();
  EXPECT_TRUE(q.burette->frmivcount->isHidden());
  EXPECT_FALSE(q.burette->counting);
  EXPECT_EQ(q.session.questno, 2);
  EXPECT_DRIPPING(q, 3000);

  // Right, then Next, then a pass: never switched off.
  answer(q, "20");
  ASSERT_EQ(q.ansstate, 2);
  EXPECT_DRIPPING(q, 3000);
  draws.push(0.99f);  // 68 a minute
  q.cmdStart_Click();
  EXPECT_DRIPPING(q, 882);
  draws.push(0.2f);  // 2 x Int(5) + 20 = 30
  answer(q, "");
  EXPECT_EQ(q.session.questno, 4);
  EXPECT_DRIPPING(q, 2000);
  // The OK prompt after a wrong answer without a solution leaves it too.
  app.corestate.helptext.clear();
  answer(q, "50");
  ASSERT_FALSE(q.Command1->isHidden());
  EXPECT_DRIPPING(q, 2000);
  draws.push(0.49f);
  q.Command1_Click();
  EXPECT_DRIPPING(q, 1363);

  // Quit stops both timers.
  trainee::Burette* b = q.burette;
  QTimer* drip = b->tmrdrip;
  QTimer* clock = b->tmrclock;
  q.cmdquit_Click();
  EXPECT_FALSE(drip->isActive());
  EXPECT_FALSE(clock->isActive());
  settle();
}

TEST_F(Session, CounterStartsHiddenAfterQuittingDuringTheSolution) {
  Frmquestion& q = open(1);
  draws.push(0.49f);
  q.cmdStart_Click();
  q.cmdshowme_Click();
  ASSERT_TRUE(q.burette->counting);
  q.burette->tmrdrip_Timer();
  q.close();  // the close box, solution still shown
  EXPECT_FALSE(app.questionloaded());
  settle();

  Frmquestion& r = open(1);
  EXPECT_TRUE(r.burette->frmivcount->isHidden());
  EXPECT_FALSE(r.burette->counting);
  EXPECT_EQ(r.burette->drops, 0);
  EXPECT_EQ(r.burette->secs, -1);
  EXPECT_FALSE(r.burette->tmrdrip->isActive());
  draws.push(0.49f);
  r.cmdStart_Click();
  r.burette->tmrdrip_Timer();
  EXPECT_EQ(r.burette->drops, 0);  // nothing counted while the counter is hidden
}

TEST_F(Session, FlowRateDripsAtTheScrollBarsRate) {
  Frmquestion& q = open(2);
  EXPECT_TRUE(q.ivsetrate);
  EXPECT_TRUE(q.burette->IVpan->isHidden());
  draws.push(0.49f);  // set it to 44
  q.cmdStart_Click();
  EXPECT_DRIPPING(q, 1200);
  trainee::Burette& b = *q.burette;
  EXPECT_FALSE(b.scriv->isHidden());
  EXPECT_EQ(b.scriv->value(), 50);
  EXPECT_FALSE(q.cmdaccept->isHidden());

  // Dragging the box to 30 drips every two seconds; an arrow click after it
  // drips at 31 drops a minute.
  b.scriv->setSliderDown(true);
  b.scriv->setSliderPosition(30);
  b.scriv->setSliderDown(false);
  EXPECT_DRIPPING(q, 2000);
  b.scriv->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(b.scriv->value(), 31);
  EXPECT_DRIPPING(q, 1935);
  // A real click on the track moves a page, and the drip with it.
  QTest::mouseClick(b.scriv, Qt::LeftButton, {}, QPoint(b.scriv->width() - 20, b.scriv->height() / 2));
  EXPECT_EQ(b.scriv->value(), 41);
  EXPECT_DRIPPING(q, 1463);

  // Accepting 41 is wrong: the burette shows the right rate, without the bar.
  q.cmdaccept_Click();
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_DRIPPING(q, 1363);
  EXPECT_TRUE(b.scriv->isHidden());
  // No: the next question starts from 50 again.
  draws.push(0.0f);  // set it to 20
  q.wanthelp_Click(1);
  EXPECT_DRIPPING(q, 1200);
  EXPECT_FALSE(b.scriv->isHidden());
  EXPECT_EQ(b.scriv->value(), 50);

  // Dragged to 20 and accepted: right, dripping at 20 until Next.
  b.scriv->setSliderDown(true);
  b.scriv->setSliderPosition(20);
  b.scriv->setSliderDown(false);
  EXPECT_DRIPPING(q, 3000);
  q.cmdaccept_Click();
  ASSERT_EQ(q.ansstate, 2);
  EXPECT_DRIPPING(q, 3000);
  draws.push(0.99f);
  q.cmdStart_Click();
  EXPECT_DRIPPING(q, 1200);

  // The worked solution shows the right rate (68 a minute), without the bar
  // and without a counter.
  q.cmdshowme_Click();
  EXPECT_TRUE(b.frmivcount->isHidden());
  EXPECT_DRIPPING(q, 882);
  EXPECT_TRUE(b.scriv->isHidden());
  q.cmdquit_Click();
  settle();
}

TEST_F(Session, DropRatesShowTheBuretteOnlyAfterAnAnswer) {
  Frmquestion& q = open(3);
  EXPECT_FALSE(q.ivsetrate);
  pushdroprate(draws, R21);
  q.cmdStart_Click();
  ASSERT_EQ(q.answerstring(), "21");
  EXPECT_PUTAWAY(q);
  EXPECT_EQ(q.burette->tmrdrip->interval(), 2857);  // ready at the asked rate
  EXPECT_EQ(q.burette->scriv->value(), 21);

  // A wrong answer: the burette drips at the right rate, no scroll bar.
  answer(q, "5");
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_DRIPPING(q, 2857);
  EXPECT_TRUE(q.burette->scriv->isHidden());
  // and on while the worked solution is shown; no counter here.
  q.wanthelp_Click(0);
  EXPECT_FALSE(q.txthelp->isHidden());
  EXPECT_DRIPPING(q, 2857);
  EXPECT_TRUE(q.burette->frmivcount->isHidden());
  // The next question puts it away.
  pushdroprate(draws, R31);
  q.cmdshowme_Click();
  ASSERT_EQ(q.answerstring(), "31");
  EXPECT_PUTAWAY(q);

  // The solution asked for while the question is open shows it too; closing
  // it with the right answer in the box keeps it up until Next.
  q.cmdshowme_Click();
  EXPECT_DRIPPING(q, 1935);
  q.txtanswer->setText(QStringLiteral("31"));
  q.cmdshowme_Click();
  ASSERT_EQ(q.ansstate, 2);
  EXPECT_DRIPPING(q, 1935);
  pushdroprate(draws, R33);
  q.cmdStart_Click();
  ASSERT_EQ(q.answerstring(), "33");
  EXPECT_PUTAWAY(q);
  EXPECT_EQ(q.burette->tmrdrip->interval(), 1818);

  // A pass goes straight on: never shown.
  pushdroprate(draws, R17);
  answer(q, "");
  EXPECT_EQ(app.modules.modpassed[3], 1);
  ASSERT_EQ(q.answerstring(), "17");
  EXPECT_PUTAWAY(q);
}

TEST_F(Session, DropRateOfNoDropsLeavesTheBuretteStillInTheWindow) {
  Frmquestion& q = open(3);
  pushnothingleft(draws);
  q.cmdStart_Click();
  ASSERT_TRUE(q.answerisnumber);
  ASSERT_EQ(q.answerstring(), "0");
  EXPECT_NE(Frmquestion::caption(q.Lblquestion).find(" remain."), std::string::npos);
  EXPECT_PUTAWAY(q);
  EXPECT_EQ(q.burette->scriv->value(), 1);  // the lowest it can hold

  // Wrong: the panel is up with the clock running, but nothing drips.
  answer(q, "3");
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect).find("You answered 3.\r\nThe correct answer was 0."), 0u);
  const trainee::Burette& b = *q.burette;
  EXPECT_FALSE(b.IVpan->isHidden());
  EXPECT_TRUE(q.Image1->isHidden());
  EXPECT_FALSE(b.tmrdrip->isActive());
  EXPECT_TRUE(b.tmrclock->isActive());
  EXPECT_EQ(b.scriv->value(), 1);
  q.burette->tmrclock_Timer();
  EXPECT_NE(b.Lblclock->text(), "Time: ");
  q.wanthelp_Click(0);
  EXPECT_FALSE(b.tmrdrip->isActive());
  EXPECT_FALSE(b.IVpan->isHidden());

  // The next question: the same again, answered right this time.
  pushnothingleft(draws, true);
  q.cmdshowme_Click();
  ASSERT_EQ(q.answerstring(), "0");
  EXPECT_PUTAWAY(q);
  answer(q, "0");
  ASSERT_EQ(q.ansstate, 2);
  EXPECT_FALSE(b.IVpan->isHidden());
  EXPECT_FALSE(b.tmrdrip->isActive());
  EXPECT_EQ(b.scriv->value(), 1);

  // A question with a rate drips again after its answer.
  pushdroprate(draws, R21);
  q.cmdStart_Click();
  EXPECT_PUTAWAY(q);
  answer(q, "21");
  EXPECT_DRIPPING(q, 2857);
}

TEST_F(Session, CalculatorIconFollowsTheModuleAndTheSiteOption) {
  // One drug with a 500 mg tablet for the tablet module.
  core::writedrug(1, testamol());
  app.corestate.lists.selected = {0, 1};
  app.corestate.lists.nselected = 1;
  writetest({core::testrecord::header("Ward quiz", "About doses", "Read each question.", 0),
             core::testrecord::item("First?", "", "12"), core::testrecord::item("Second?", "", "13")});
  struct Setting {
    bool recording, calcoff;
  };
  for (const Setting s : {Setting{false, false}, Setting{false, true}, Setting{true, false}, Setting{true, true}}) {
    app.options.recording = s.recording;
    app.options.optcalcoff = s.calcoff;
    for (int modnum : {1, 2, 3, 4, 5, 7}) {
      const std::string what = "module " + std::to_string(modnum) + " recording " + std::to_string(s.recording) +
                               " calculator off " + std::to_string(s.calcoff);
      if (modnum == 1 || modnum == 2) draws.push(0.49f);
      if (modnum == 3) pushdroprate(draws, R21);
      Frmquestion& q = open(modnum);
      EXPECT_TRUE(q.Imgcalc->isHidden()) << what;  // not before the first question
      q.cmdStart_Click();
      ASSERT_TRUE(app.questionloaded()) << what;
      const bool shown = modnum != 2 && !(s.recording && s.calcoff);
      EXPECT_EQ(!q.Imgcalc->isHidden(), shown) << what;
      // and the same at the next question
      if (modnum == 1 || modnum == 2) draws.push(0.0f);
      if (modnum == 3) pushdroprate(draws, R31);
      answer(q, "");
      ASSERT_TRUE(app.questionloaded()) << what;
      EXPECT_EQ(!q.Imgcalc->isHidden(), shown) << what;
      q.cmdquit_Click();
      settle();
    }
  }
}

TEST_F(Session, CalculatorIconOpensTheCalculatorWhoseEqualsAnswers) {
  Frmquestion& q = open(3);
  pushdroprate(draws, R21);
  q.cmdStart_Click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&q));
  ASSERT_FALSE(q.Imgcalc->isHidden());

  // A click on the icon opens the calculator beside the window.
  QTest::mouseClick(q.Imgcalc, Qt::LeftButton);
  ASSERT_TRUE(app.calculatorloaded());
  trainee::Calculator& calc = app.calculator();
  EXPECT_TRUE(calc.isVisible());
  EXPECT_EQ(calc.windowTitle(), "Calculator");
  EXPECT_FALSE(calc.isModal());
  EXPECT_TRUE(q.isVisible());

  // 1000 / 480 X 10 = puts 20.8333... into the answer box: wrong.
  for (int d : {1, 0, 0, 0}) calc.Number_Click(d);
  calc.Operator_Click(0);
  for (int d : {4, 8, 0}) calc.Number_Click(d);
  calc.Operator_Click(2);
  calc.Number_Click(1);
  calc.Number_Click(0);
  calc.Operator_Click(4);
  EXPECT_EQ(q.txtanswer->text(), "20.8333333333333");
  QTest::mouseClick(q.cmdstart, Qt::LeftButton);
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect).find("You answered 20.8333333333333."), 0u);
  pushdroprate(draws, R33);
  q.wanthelp_Click(1);
  ASSERT_EQ(q.answerstring(), "33");

  // C 3 3 = gives "33." in the box, which is marked as 33.
  calc.Cancel_Click();
  calc.Number_Click(3);
  calc.Number_Click(3);
  calc.Operator_Click(4);
  EXPECT_EQ(q.txtanswer->text(), "33.");
  QTest::mouseClick(q.cmdstart, Qt::LeftButton);
  EXPECT_EQ(q.ansstate, 2);

  // A second click closes (unloads) it; the next opens a fresh one.
  QTest::mouseClick(q.Imgcalc, Qt::LeftButton);
  EXPECT_FALSE(app.calculatorloaded());
  settle();
  QTest::mouseClick(q.Imgcalc, Qt::LeftButton);
  ASSERT_TRUE(app.calculatorloaded());
  EXPECT_TRUE(app.calculator().isVisible());
  EXPECT_EQ(app.calculator().Readout->text(), "0.");

  // Its own close box closes it; the icon opens it again.
  app.calculator().Number_Click(9);
  app.calculator().close();
  EXPECT_FALSE(app.calculatorloaded() && app.calculator().isVisible());
  settle();
  QTest::mouseClick(q.Imgcalc, Qt::LeftButton);
  ASSERT_TRUE(app.calculatorloaded());
  EXPECT_TRUE(app.calculator().isVisible());
  EXPECT_EQ(app.calculator().Readout->text(), "0.");

  // The exercise window's close box unloads the calculator with it.
  q.close();
  EXPECT_FALSE(app.calculatorloaded());
  settle();
}
