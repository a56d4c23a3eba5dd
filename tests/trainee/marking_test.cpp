// The exercise window's marking: right, wrong, passed and refused answers in
// the burette modules, the typed modules and the tests; the prompts after a
// wrong answer; the worked solution; the key filter; the right-answer
// animation. How one typed text compares with the stored answer is tested
// without a window in model/exercise_test.cpp.
#include <QFontInfo>
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

using exercisetest::Session;
using trainee::Frmquestion;

namespace {
const std::string HELPQUESTION = "\r\nWould you like to see how this was worked out?";
}

// Right, wrong, passed and refused-pass answers in each family of modules:
// the burette modules, drop rates, tablets, metric conversions, fluids and a
// teacher's test. Each answer moves one session and one module count; the
// refused pass moves nothing and leaves the question open.
TEST_F(Session, EveryModuleFamilyMarksRightWrongPassAndRefusedPass) {
  writedrugs();
  app.corestate.lists.selected = {0, 1};
  app.corestate.lists.nselected = 1;
  std::vector<core::testrecord> records{core::testrecord::header("Ward quiz", "", "", 1)};
  for (int i = 0; i < 5; ++i) records.push_back(core::testrecord::item("Unit?", "It is mg.", "Mg"));
  writetest(records);

  for (int m = 1; m <= 7; ++m) {
    SCOPED_TRACE(m);
    if (m == 6) app.corestate.lists.selected = {0, 2};
    boxes.clear();
    Frmquestion& q = open(m);
    q.cmdStart_Click();
    ASSERT_TRUE(app.questionloaded());
    // Module 2 answers with the scroll bar and its Accept button; the others
    // type into the answer box.
    auto submit = [&](const std::string& text) {
      if (m == 2 && !text.empty()) {
        q.burette->scriv->setValue(static_cast<int>(core::val(text)));
        q.cmdaccept_Click();
      } else {
        answer(q, text);
      }
    };
    const std::string right = m == 7 ? "mg" : q.answerstring();
    const std::string wrong = m == 7 ? "kg" : m <= 2 ? core::numtext(q.answernumber + 10) : "-1";

    submit(right);
    EXPECT_EQ(q.ansstate, 2);
    EXPECT_FALSE(q.Lblcorrect->isHidden());
    EXPECT_EQ(q.cmdstart->text(), "&Next");
    EXPECT_EQ(q.session.ncorrect, 1);
    EXPECT_EQ(app.modules.modcorrect[m], 1);
    q.cmdStart_Click();  // Next
    EXPECT_EQ(q.session.questno, 2);

    const std::string stored = m == 7 ? "MG" : q.answerstring();
    submit(wrong);
    EXPECT_EQ(q.ansstate, 1);
    EXPECT_EQ(Frmquestion::caption(q.Lblincorrect),
              "You answered " + (m == 7 ? std::string("KG") : wrong) + ".\r\nThe correct answer was " + stored + "." +
                  HELPQUESTION);
    EXPECT_EQ(q.session.nincorrect, 1);
    EXPECT_EQ(app.modules.modincorrect[m], 1);
    q.wanthelp_Click(1);  // No: the next question
    EXPECT_EQ(q.session.questno, 3);
    EXPECT_EQ(q.ansstate, 0);

    // An empty box (module 2: Answer with the box's untouched "Answer").
    if (m == 2) {
      EXPECT_EQ(q.txtanswer->text(), "Answer");
    }
    q.cmdStart_Click();
    EXPECT_EQ(q.session.npassed, 1);
    EXPECT_EQ(app.modules.modpassed[m], 1);
    EXPECT_EQ(q.session.questno, 4);
    EXPECT_TRUE(boxes.empty());

    app.options.recording = true;
    app.options.optnopass = true;
    const std::string status = Frmquestion::caption(q.lblstatus);
    q.cmdStart_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Sorry you cannot pass on this question");
    EXPECT_EQ(q.session.questno, 4);
    EXPECT_EQ(q.ansstate, 0);
    EXPECT_EQ(q.session.npassed, 1);
    EXPECT_EQ(app.modules.modpassed[m], 1);
    EXPECT_EQ(app.modules.modcorrect[m] + app.modules.modincorrect[m], 2);
    EXPECT_EQ(Frmquestion::caption(q.lblstatus), status);
    app.options.recording = false;
    app.options.optnopass = false;

    q.cmdquit_Click();
    settle();
  }
}

TEST_F(Session, CountingDropsAllowsFourEitherSide) {
  Frmquestion& q = open(1);
  for (int i = 0; i < 8; ++i) draws.push(0.49f);  // 44 each time
  q.cmdStart_Click();
  answer(q, "40");
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_EQ(q.txtanswer->text(), "44");  // shown as the right value
  EXPECT_EQ(q.cmdstart->text(), "&Next");
  EXPECT_FALSE(q.Lblcorrect->isHidden());
  EXPECT_FALSE(q.cmdshowme->isEnabled());
  q.cmdStart_Click();
  EXPECT_EQ(q.cmdstart->text(), "&Answer");
  answer(q, "48");
  EXPECT_EQ(q.ansstate, 2);
  q.cmdStart_Click();
  answer(q, "49");
  EXPECT_EQ(q.ansstate, 1);
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered 49.\r\nThe correct answer was 44." + HELPQUESTION);
  q.wanthelp_Click(1);  // No: next question
  answer(q, "39");
  EXPECT_EQ(q.ansstate, 1);
  EXPECT_EQ(app.modules.modcorrect[1], 2);
  EXPECT_EQ(app.modules.modincorrect[1], 2);
  EXPECT_EQ(q.session.ncorrect, 2);
  EXPECT_EQ(q.session.nincorrect, 2);
  EXPECT_TRUE(app.results.progdirty);
}

TEST_F(Session, FlowRateAllowsTwoEitherSideFromTheScrollBar) {
  Frmquestion& q = open(2);
  for (int i = 0; i < 4; ++i) draws.push(0.49f);  // 44
  q.cmdStart_Click();
  q.burette->scriv->setValue(46);
  q.cmdaccept_Click();
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_TRUE(q.cmdaccept->isHidden());
  EXPECT_TRUE(q.txtanswer->isHidden());
  q.cmdStart_Click();
  EXPECT_FALSE(q.cmdaccept->isHidden());
  EXPECT_TRUE(q.txtanswer->isHidden());
  q.burette->scriv->setValue(47);
  q.cmdaccept_Click();
  EXPECT_EQ(q.ansstate, 1);
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered 47.\r\nThe correct answer was 44." + HELPQUESTION);
  EXPECT_TRUE(q.txtanswer->isHidden());  // never shown in this module
  q.wanthelp_Click(1);
  // Accepting the untouched "Answer" text is a pass.
  q.cmdStart_Click();
  EXPECT_EQ(app.modules.modpassed[2], 1);
}

TEST_F(Session, PassesCountAndTheRefusedPassChangesNothing) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  for (const char* empty : {"", "Answer", "   "}) answer(q, empty);
  EXPECT_EQ(q.session.npassed, 3);
  EXPECT_EQ(app.modules.modpassed[5], 3);
  EXPECT_EQ(q.session.questno, 4);

  // The option binds only while recording.
  app.options.optnopass = true;
  answer(q, "");
  EXPECT_EQ(q.session.npassed, 4);
  EXPECT_TRUE(boxes.empty());

  app.options.recording = true;
  const std::string status = Frmquestion::caption(q.lblstatus);
  answer(q, "Answer");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Sorry you cannot pass on this question");
  EXPECT_EQ(boxes[0].title, "Dosavo");
  EXPECT_EQ(q.session.npassed, 4);
  EXPECT_EQ(app.modules.modpassed[5], 4);
  EXPECT_EQ(q.session.questno, 5);
  EXPECT_EQ(q.ansstate, 0);
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), status);
}

TEST_F(Session, NoCorrectAnswerOptionMovesOnWithoutFeedbackWhileRecording) {
  app.options.recording = true;
  app.options.optnocorrect = true;
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, q.answerstring());
  EXPECT_EQ(q.session.questno, 2);
  EXPECT_EQ(q.ansstate, 0);
  EXPECT_TRUE(q.Lblcorrect->isHidden());
  EXPECT_TRUE(q.Image2->isHidden());
  answer(q, "-12345");
  EXPECT_EQ(q.session.questno, 3);
  EXPECT_TRUE(q.Lblincorrect->isHidden());
  EXPECT_EQ(app.modules.modcorrect[5], 1);
  EXPECT_EQ(app.modules.modincorrect[5], 1);
}

TEST_F(Session, TestAnswersCompareInCapitals) {
  writetest({core::testrecord::header("Quiz", "", "", 0), core::testrecord::item("Unit?", "It is mg.", "Mg"),
             core::testrecord::item("Again?", "Still mg.", "mg")});
  Frmquestion& q = open(7);
  q.cmdStart_Click();
  answer(q, "mG");
  EXPECT_EQ(q.ansstate, 2);
  q.cmdStart_Click();
  answer(q, "kg");
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered KG.\r\nThe correct answer was MG." + HELPQUESTION);
  EXPECT_FALSE(q.wanthelp[0]->isHidden());
  EXPECT_TRUE(q.cmdstart->isHidden());
  EXPECT_TRUE(q.cmdquit->isHidden());
  EXPECT_TRUE(q.txtanswer->isHidden());
  // Yes: the worked solution; its OK goes on to the end of the test.
  q.wanthelp_Click(0);
  EXPECT_FALSE(q.txthelp->isHidden());
  EXPECT_EQ(q.txthelp->toPlainText(), "Still mg.");
  EXPECT_EQ(q.cmdshowme->text(), "&OK");
  EXPECT_FALSE(q.cmdstart->isEnabled());
  EXPECT_FALSE(q.cmdstart->isHidden());
  q.cmdshowme_Click();
  EXPECT_EQ(modals.size(), 1u);  // the completion notice
  EXPECT_FALSE(app.questionloaded());
}

TEST_F(Session, OkPromptHidesShowMeUntilTheNextQuestion) {
  writetest({core::testrecord::header("Quiz", "", "", 0), core::testrecord::item("One?", "", "1"),
             core::testrecord::item("Two?", "Help.", "2")});
  Frmquestion& q = open(7);
  q.cmdStart_Click();
  answer(q, "5");
  EXPECT_FALSE(q.Command1->isHidden());
  EXPECT_TRUE(q.cmdshowme->isHidden());
  EXPECT_TRUE(q.wanthelp[0]->isHidden());
  q.Command1_Click();
  EXPECT_TRUE(q.Command1->isHidden());
  EXPECT_FALSE(q.cmdshowme->isHidden());
  EXPECT_TRUE(q.cmdshowme->isEnabled());
  EXPECT_FALSE(q.cmdstart->isHidden());
  EXPECT_FALSE(q.txtanswer->isHidden());
}

TEST_F(Session, ShowMeWhileOpenJudgesTheBoxAfterwards) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  q.cmdshowme_Click();
  EXPECT_FALSE(q.txthelp->isHidden());
  EXPECT_TRUE(QFontInfo(q.txthelp->font()).fixedPitch() || q.txthelp->font().fixedPitch());
  q.txtanswer->setText(QString::fromStdString(q.answerstring()));
  q.cmdshowme_Click();
  EXPECT_TRUE(q.txthelp->isHidden());
  EXPECT_EQ(q.cmdshowme->text(), "&Show Me");
  EXPECT_EQ(q.ansstate, 2);

  // Other modules show the solution in a sans-serif font.
  q.cmdquit_Click();
  settle();
  Frmquestion& r = open(1);
  r.cmdStart_Click();
  r.cmdshowme_Click();
  EXPECT_FALSE(r.txthelp->font().fixedPitch());
  EXPECT_EQ(r.txthelp->font().family(), "Arial");
  EXPECT_FALSE(r.burette->frmivcount->isHidden());  // the drop counter runs
  r.cmdshowme_Click();                             // empty box: a pass
  EXPECT_TRUE(r.burette->frmivcount->isHidden());
  EXPECT_EQ(app.modules.modpassed[1], 1);
}

TEST_F(Session, KeyFilterDiscardsLettersAndEnterAnswers) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  for (int code : {int('a'), int('Z'), int('!'), int('-'), int('/'), int(':'), 127}) {
    int k = code;
    q.txtanswer_KeyPress(k);
    EXPECT_EQ(k, 0) << code;
  }
  for (int code : {int('0'), int('9'), int('.'), int(' '), 8, 22, 160, 200}) {
    int k = code;
    q.txtanswer_KeyPress(k);
    EXPECT_EQ(k, code) << code;
  }
  // Real key presses go through the filter.
  q.txtanswer->clear();
  q.txtanswer->setFocus();
  QTest::keyClicks(q.txtanswer, "1a2");
  EXPECT_EQ(q.txtanswer->text(), "12");
  q.txtanswer->setText(QString::fromStdString(q.answerstring()));
  QTest::keyClick(q.txtanswer, Qt::Key_Return);
  EXPECT_EQ(q.ansstate, 2);

  // Enter is ignored while the worked solution is up.
  q.cmdStart_Click();
  q.cmdshowme_Click();
  const auto before = q.session.questno;
  int enter = 13;
  q.txtanswer_KeyPress(enter);
  EXPECT_EQ(q.session.questno, before);
}

TEST_F(Session, TestAnswerBoxTakesEveryKey) {
  writetest({core::testrecord::header("Quiz", "", "", 0), core::testrecord::item("Unit?", "", "mg")});
  Frmquestion& q = open(7);
  q.cmdStart_Click();
  int k = 'm';
  q.txtanswer_KeyPress(k);
  EXPECT_EQ(k, 'm');
  QTest::keyClicks(q.txtanswer, "mg");
  QTest::keyClick(q.txtanswer, Qt::Key_Enter);
  EXPECT_EQ(q.ansstate, 2);
}

TEST_F(Session, RightAnswerAnimationFollowsItsPathAndEnds) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, q.answerstring());
  ASSERT_TRUE(q.animating());
  EXPECT_FALSE(q.Image2->isHidden());
  EXPECT_FALSE(q.Image3->isHidden());
  int ticks = 0;
  while (q.animating()) {
    q.animationstep();
    ++ticks;
    EXPECT_EQ(q.Image2->x(), 3000 / 15);
    EXPECT_EQ(q.Image2->width(), q.animationsize() / 15);
  }
  EXPECT_GE(ticks, 30);   // spread over many timer ticks ...
  EXPECT_LE(ticks, 100);  // ... of about a second in all
  EXPECT_EQ(q.animationtop(), 2880);
  EXPECT_EQ(q.animationsize(), 615);
  EXPECT_TRUE(q.Image2->isHidden());
  EXPECT_TRUE(q.Image3->isHidden());
  EXPECT_FALSE(q.Lblcorrect->isHidden());

  // Next while it runs finishes it at once.
  q.cmdStart_Click();
  answer(q, q.answerstring());
  ASSERT_TRUE(q.animating());
  q.cmdStart_Click();
  EXPECT_FALSE(q.animating());
  EXPECT_TRUE(q.Image2->isHidden());
}

TEST_F(Session, AnimationsOffShowsCorrectAlone) {
  app.corestate.settings.animationsoff = 1;
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, q.answerstring());
  EXPECT_FALSE(q.animating());
  EXPECT_TRUE(q.Image2->isHidden());
  EXPECT_FALSE(q.Lblcorrect->isHidden());
}

TEST_F(Session, QuittingInTheRightStateAndReopeningStartsAfresh) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, q.answerstring());
  q.cmdquit_Click();
  settle();
  Frmquestion& r = open(5);
  EXPECT_EQ(r.ansstate, 0);
  EXPECT_EQ(r.started, 0);
  r.cmdStart_Click();
  EXPECT_EQ(r.session.questno, 1);
  EXPECT_EQ(r.cmdstart->text(), "&Answer");
  EXPECT_EQ(Frmquestion::caption(r.lblstatus), "This is your first question this session");
}

// With worked solutions switched off, a wrong answer does not offer one:
// the message tells the answer and OK goes on to the next question.
TEST_F(Session, WithoutWorkedSolutionsAWrongAnswerOnlyTellsTheAnswer) {
  app.options.recording = true;
  app.options.optnoshowme = true;
  Frmquestion& q = open(5);
  EXPECT_FALSE(q.cmdshowme->isEnabled());
  q.cmdStart_Click();
  EXPECT_FALSE(q.cmdshowme->isEnabled());
  ASSERT_FALSE(app.corestate.helptext.empty());
  answer(q, "-999");
  ASSERT_EQ(q.ansstate, 1);
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered -999.\r\nThe correct answer was " + q.answerstring() + ".");
  EXPECT_TRUE(q.wanthelp[0]->isHidden());
  EXPECT_FALSE(q.Command1->isHidden());
  q.Command1_Click();
  EXPECT_TRUE(q.txthelp->isHidden());
  EXPECT_EQ(q.ansstate, 0);
  EXPECT_EQ(q.session.questno, 2);
  EXPECT_FALSE(q.cmdshowme->isEnabled());
  EXPECT_FALSE(q.cmdstart->isHidden());
}

TEST_F(Session, ShowMeOptionBindsOnlyWhileRecording) {
  app.options.optnoshowme = true;
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  EXPECT_TRUE(q.cmdshowme->isEnabled());
  answer(q, "-999");
  q.wanthelp_Click(0);
  EXPECT_FALSE(q.txthelp->isHidden());
}

TEST_F(Session, DropRateOfNothingLeavesTheBuretteStill) {
  Frmquestion& q = open(3);
  q.cmdStart_Click();
  q.answernumber = 0;
  answer(q, "0");
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_FALSE(q.burette->tmrdrip->isActive());
  q.cmdStart_Click();
  EXPECT_EQ(q.session.questno, 2);
}

TEST_F(Session, WrongAnswerMessageKeepsTheCharactersOfTheTest) {
  writetest({core::testrecord::header("Quiz", "", "", 0), core::testrecord::item("Sign?", "", "\xB1" "5")});
  Frmquestion& q = open(7);
  q.cmdStart_Click();
  answer(q, "5");
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered 5.\r\nThe correct answer was \xB1" "5.");
  EXPECT_EQ(q.Lblincorrect->text(), QString::fromUtf8("You answered 5.\nThe correct answer was \u00B15."));
}

TEST_F(Session, FluidQuestionsAreMarkedLikeTheOtherTypedModules) {
  core::writedrug(1, syrupol());
  app.corestate.lists.selected = {0, 1};
  app.corestate.lists.nselected = 1;
  Frmquestion& q = open(6);
  q.cmdStart_Click();
  ASSERT_TRUE(q.cmdstart->isEnabled());
  ASSERT_GT(q.answernumber, 0);
  EXPECT_FALSE(Frmquestion::caption(q.Lblquestion).empty());
  answer(q, q.answerstring());
  EXPECT_EQ(q.ansstate, 2);
  q.cmdStart_Click();
  answer(q, "-1");
  ASSERT_EQ(q.ansstate, 1);
  q.wanthelp_Click(0);
  EXPECT_FALSE(q.txthelp->isHidden());
  EXPECT_FALSE(q.txthelp->font().fixedPitch());
  q.cmdshowme_Click();  // after a wrong answer: the next question
  EXPECT_EQ(q.session.questno, 3);
  EXPECT_EQ(q.ansstate, 0);
  EXPECT_EQ(app.modules.modcorrect[6], 1);
  EXPECT_EQ(app.modules.modincorrect[6], 1);
}
