// The exercise window's question sequence and display: what each module
// shows when it opens, the first questions of the burette modules, the tests
// read record by record, the status panel, the wrap after 1000 questions, a
// generator that cannot make a question, and the way back to the menu.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "core/drug.h"
#include "core/text.h"
#include "core/ui/artwork.h"
#include "core/ui/twips.h"
#include "session_fixture.h"
#include "trainee/calculator.h"
#include "trainee/burette.h"
#include "trainee/frmcompleted.h"
#include "trainee/frmmenu.h"
#include "trainee/frmsave.h"
#include "tests/core/support.h"

#include <filesystem>
#include <memory>
#include <set>

using exercisetest::Session;
using trainee::Frmquestion;

namespace {

const std::string READY = "When you are ready to begin click the \"Start\" button below.";

}  // namespace

TEST_F(Session, EveryBuiltInModuleOpensWithItsHeadingIntroductionAndStart) {
  for (int m = 1; m <= 6; ++m) {
    Frmquestion& q = open(m);
    EXPECT_EQ(q.windowTitle(), "Dosavo - Questions and Exercises");
    EXPECT_EQ(Frmquestion::caption(q.Lblheading), app.modules.modheading[m]);
    EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "Intro " + std::to_string(m) + "\r\n\r\n" + READY);
    EXPECT_EQ(q.cmdstart->text(), "&Start");
    EXPECT_FALSE(q.cmdstart->isHidden());
    EXPECT_FALSE(q.cmdquit->isHidden());
    EXPECT_TRUE(q.txtanswer->isHidden());
    EXPECT_TRUE(q.lblstatus->isHidden());
    EXPECT_TRUE(q.cmdshowme->isHidden());
    EXPECT_FALSE(q.Image1->pixmap().isNull());
    EXPECT_EQ(q.Lbldrug->isHidden(), m != 4);
    EXPECT_EQ(q.ivsetrate, m == 2);
    EXPECT_EQ(app.corestate.history.historypos, 1);
    q.cmdquit_Click();
    EXPECT_FALSE(app.questionloaded());
    settle();
  }
}

TEST_F(Session, EveryModuleOpensFromTheMenusAccept) {
  writedrugs();
  writetest({core::testrecord::header("Ward quiz", "About doses", "Read each question.", 1),
             core::testrecord::item("First?", "Because.", "mg"), core::testrecord::item("Second?", "", "12")});
  startprogram();
  auto& menu = app.menu();
  menu.show();
  ASSERT_EQ(menu.Lstmodules->count(), 7);
  std::set<int> opened;
  for (int row = 0; row < menu.Lstmodules->count(); ++row) {
    menu.Lstmodules->setCurrentRow(row);
    QTest::mouseClick(menu.cmdaccept, Qt::LeftButton);
    ASSERT_TRUE(app.questionloaded()) << row;
    const int m = app.modnum;
    opened.insert(m);
    Frmquestion& q = app.question();
    EXPECT_TRUE(q.isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(Frmquestion::caption(q.Lblheading), app.modules.modheading[m]);
    EXPECT_EQ(Frmquestion::caption(q.Lblquestion),
              m < 7 ? app.modules.modintro[m] + "\r\n\r\n" + READY : "Read each question." + READY);
    const int picture = m <= 3 ? 0 : m == 4 ? 3 : m == 5 ? 1 : m == 6 ? 4 : 2;
    EXPECT_EQ(q.Image1->pixmap().toImage(), ui::modulepicture(picture).toImage()) << m;

    QTest::mouseClick(q.cmdstart, Qt::LeftButton);
    EXPECT_TRUE(boxes.empty()) << m;
    ASSERT_TRUE(app.questionloaded()) << m;
    // Beside the flow-rate module's "&Accept", Alt+N answers.
    EXPECT_EQ(q.cmdstart->text(), m == 2 ? "A&nswer" : "&Answer");
    EXPECT_FALSE(q.lblstatus->isHidden());
    EXPECT_EQ(Frmquestion::caption(q.lblstatus),
              m < 7 ? "This is your first question this session" : "This is the first of 2 questions.");
    QTest::mouseClick(q.cmdquit, Qt::LeftButton);
    EXPECT_FALSE(app.questionloaded());
    EXPECT_TRUE(menu.isVisible());
    settle();
  }
  EXPECT_EQ(opened, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(Session, ControlsSitAtTheirDesignPlacesWithTheirCaptions) {
  Frmquestion& q = open(5);
  EXPECT_EQ(q.Lblquestion->geometry(), QRect(ui::px(240), ui::px(1080), ui::px(5895), ui::px(3015)));
  EXPECT_EQ(q.txtanswer->geometry(), QRect(ui::px(2040), ui::px(4560), ui::px(2295), ui::px(675)));
  EXPECT_EQ(q.lblstatus->geometry(), QRect(ui::px(6360), ui::px(4560), ui::px(2655), ui::px(1695)));
  EXPECT_EQ(q.cmdstart->geometry(), QRect(ui::px(720), ui::px(5640), ui::px(1455), ui::px(615)));
  EXPECT_EQ(q.wanthelp[0]->geometry().x(), ui::px(3240));
  EXPECT_EQ(q.wanthelp[1]->geometry().x(), ui::px(1440));
  EXPECT_EQ(q.wanthelp[0]->text(), "&Yes");
  EXPECT_EQ(q.wanthelp[1]->text(), "&No");
  EXPECT_EQ(q.Command1->text(), "&OK");
  EXPECT_EQ(q.cmdaccept->text(), "&Accept");
  EXPECT_EQ(q.cmdshowme->text(), "&Show Me");
  EXPECT_EQ(q.Lblcorrect->text(), "Correct");
  EXPECT_EQ(q.txtanswer->text(), "Answer");
  EXPECT_EQ(q.ope->title(), "&Options");
  EXPECT_EQ(q.mhus->text(), "&Change General Settings");
}

TEST_F(Session, CountingDropsQuestionHasItsRateSolutionAndDrippingBurette) {
  Frmquestion& q = open(1);
  draws.push(0.49f);  // 2 x Int(12.25) + 20 = 44
  q.cmdStart_Click();
  EXPECT_EQ(draws.reseeds(), 1);
  EXPECT_EQ(q.answerstring(), "44");
  EXPECT_EQ(q.cmdstart->text(), "&Answer");
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion),
            "Observe the giving set on the right\r\nand count the number of drops\r\ngiven over one minute\r\n"
            "i.e. calulate the current rate of flow.");
  const std::string& h = app.corestate.helptext;
  EXPECT_EQ(h.rfind("\r\nThe giving set on the right is delivering \r\n44 (\xB1" "5) drops / minute.\r\n\r\n", 0), 0u);
  EXPECT_NE(h.find("\r\n\r\nThe counter to the right will count the number of drops delivered over one minute."),
            std::string::npos);
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), "This is your first question this session");
  EXPECT_FALSE(q.txtanswer->isHidden());
  EXPECT_FALSE(q.Imgcalc->isHidden());
  EXPECT_FALSE(q.burette->IVpan->isHidden());
  EXPECT_TRUE(q.Image1->isHidden());
  EXPECT_TRUE(q.burette->tmrdrip->isActive());
  EXPECT_EQ(q.burette->tmrdrip->interval(), 1363);
  EXPECT_TRUE(q.cmdshowme->isEnabled());
}

TEST_F(Session, FlowRateQuestionUsesTheScrollBarAndNoCalculator) {
  Frmquestion& q = open(2);
  draws.push(0.0f);  // 20 drops a minute
  q.cmdStart_Click();
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion),
            "Set the IV to 20 drops per minute.\r\n\r\nUse the scroll bars to set the flow and click the accept "
            "button when completed.");
  EXPECT_TRUE(q.txtanswer->isHidden());
  EXPECT_TRUE(q.Imgcalc->isHidden());
  EXPECT_FALSE(q.cmdaccept->isHidden());
  EXPECT_EQ(q.burette->scriv->value(), 50);
  EXPECT_EQ(q.burette->tmrdrip->interval(), 1200);
  EXPECT_EQ(q.txtanswer->text(), "Answer");
}

TEST_F(Session, CalculatorIconFollowsTheOptionOnlyWhileRecording) {
  app.options.optcalcoff = true;
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  EXPECT_FALSE(q.Imgcalc->isHidden());
  q.cmdquit_Click();
  settle();
  app.options.recording = true;
  Frmquestion& r = open(5);
  r.cmdStart_Click();
  EXPECT_TRUE(r.Imgcalc->isHidden());
}

TEST_F(Session, TestWithABlankRecordCountsItSkipsItAndEndsWithTheNotice) {
  writetest({core::testrecord::header("Ward quiz", "About doses", "Read each question.", 0),
             core::testrecord::item("\r\nFirst?", "Because.", "mg"), core::testrecord::blank(),
             core::testrecord::item("Second?", "", "12"), core::testrecord::item("Third?", "", "x")});
  Frmquestion& q = open(7);
  EXPECT_EQ(q.session.testcount, 4);
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "Read each question." + READY);

  q.cmdStart_Click();
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "\r\nFirst?");
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), "This is the first of 4 questions.");
  answer(q, "Mg");  // tests compare in capitals
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), "Question : 1 / 4\r\rCorrect: 1\rIncorrect: 0\rPassed on: 0");
  q.cmdStart_Click();  // Next: the blank record is skipped
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "Second?");
  EXPECT_EQ(q.session.testrec, 3);
  EXPECT_FALSE(q.cmdshowme->isEnabled());  // no worked solution
  answer(q, "");
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "Third?");
  EXPECT_TRUE(modals.empty());

  QPoint noticeplace;
  onmodal = [&](QDialog& d) { noticeplace = d.pos(); };
  const QPoint windowplace = q.pos();
  answer(q, "y");  // wrong, no worked solution: OK prompt
  EXPECT_EQ(Frmquestion::caption(q.Lblincorrect), "You answered Y.\r\nThe correct answer was X.");
  q.Command1_Click();
  ASSERT_EQ(modals, std::vector<std::string>{"trainee::Frmcompleted"});
  EXPECT_EQ(noticeplace, windowplace + QPoint(ui::px(257), ui::px(4905)));
  EXPECT_FALSE(app.questionloaded());
  EXPECT_EQ(app.modules.modcorrect[7], 1);
  EXPECT_EQ(app.modules.modpassed[7], 1);
  EXPECT_EQ(app.modules.modincorrect[7], 1);
  EXPECT_FALSE(app.menu().isHidden());
  EXPECT_FALSE(app.menu().Image3->isHidden());  // progress to show
}

TEST_F(Session, TestWithOnlyItsHeaderEndsAtStart) {
  writetest({core::testrecord::header("Ward quiz", "", "Nothing here.", 0)});
  Frmquestion& q = open(7);
  EXPECT_EQ(q.session.testcount, 0);
  q.cmdStart_Click();
  EXPECT_EQ(modals, std::vector<std::string>{"trainee::Frmcompleted"});
  EXPECT_FALSE(app.questionloaded());
  EXPECT_FALSE(app.results.progdirty);
}

TEST_F(Session, LongTestTextsAreSetSmallerToFitTheirPanel) {
  std::string instructions;
  while (instructions.size() < 990) instructions += "Read every question with care. ";
  writetest({core::testrecord::header("Ward quiz", "", instructions, 0),
             core::testrecord::item("Short?", "", "1")});
  Frmquestion& q = open(7);
  // The whole introduction, the closing sentence included, lies inside the panel.
  EXPECT_LE(q.Lblquestion->heightForWidth(q.Lblquestion->width()), q.Lblquestion->height());
  const double small = q.Lblquestion->font().pointSizeF();
  EXPECT_LT(small, q.lblstatus->font().pointSizeF());
  q.cmdStart_Click();
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "Short?");
  EXPECT_GT(q.Lblquestion->font().pointSizeF(), small);  // a short question is back at full size
  EXPECT_LE(q.Lblquestion->heightForWidth(q.Lblquestion->width()), q.Lblquestion->height());
}

TEST_F(Session, MissingTestFileEndsAtStart) {
  Frmquestion& q = open(7);
  EXPECT_EQ(q.session.testcount, 0);
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), READY);
  q.cmdStart_Click();
  EXPECT_EQ(modals.size(), 1u);
  EXPECT_FALSE(app.questionloaded());
}

TEST_F(Session, StatusTextFollowsTheOptionsOnlyWhileRecording) {
  std::vector<core::testrecord> records{core::testrecord::header("Quiz", "", "", 0)};
  for (int i = 0; i < 10; ++i) records.push_back(core::testrecord::item("Q?", "", "1"));
  writetest(records);
  app.options.optnocorrect = true;
  app.options.optnopass = true;
  Frmquestion& q = open(7);
  q.cmdStart_Click();
  answer(q, "2");
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), "Question : 1 / 10\r\rCorrect: 0\rIncorrect: 1\rPassed on: 0");
  q.Command1_Click();
  q.cmdquit_Click();
  settle();

  app.options.recording = true;
  Frmquestion& r = open(7);
  r.cmdStart_Click();
  answer(r, "2");  // judged without feedback: straight on to question 2
  EXPECT_EQ(r.session.questno, 2);
  EXPECT_EQ(Frmquestion::caption(r.lblstatus), "Question : 2 / 10\r\r");
  EXPECT_TRUE(r.Lblincorrect->isHidden());
}

TEST_F(Session, QuestionCountWrapsAfterTheThousandth) {
  Frmquestion& q = open(1);
  q.cmdStart_Click();
  answer(q, "");
  EXPECT_EQ(q.session.questno, 2);
  q.session.questno = 1000;
  answer(q, "");
  EXPECT_EQ(q.session.questno, 1);
  EXPECT_EQ(q.session.npassed, 0);
  EXPECT_EQ(Frmquestion::caption(q.lblstatus), "This is your first question this session");
  EXPECT_EQ(app.modules.modpassed[1], 2);  // the run's totals stay
}

TEST_F(Session, NoDrugToAskAboutGivesAMessageAndTheMenu) {
  for (int m : {4, 6}) {
    boxes.clear();
    Frmquestion& q = open(m);
    q.cmdStart_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Dosavo");
    EXPECT_EQ(boxes[0].text, "Sorry, no question could be made from the drug database for this module.");
    EXPECT_FALSE(app.questionloaded());
    EXPECT_FALSE(app.menu().isHidden());
    settle();
  }
}

TEST_F(Session, TabletRepeatCheckTriesOnceMoreThanThereAreDrugs) {
  core::writedrug(1, testamol());
  app.corestate.lists.selected = {0, 1};
  app.corestate.lists.nselected = 1;
  // Each tablet question draws the drug, the row and the number of tablets
  // (two tablets: 1000 mg).
  for (int i = 0; i < 9; ++i) {
    draws.push(0.0f);
    draws.push(0.0f);
    draws.push(0.9f);
  }
  Frmquestion& q = open(4);
  q.cmdStart_Click();
  EXPECT_EQ(draws.used(), 3u);
  EXPECT_EQ(q.answerstring(), "2");
  EXPECT_EQ(Frmquestion::caption(q.Lbldrug), "Testamol\r\n\r\n500 mg tablets");
  answer(q, "2");
  // The second question repeats the one just asked: with no other drug it
  // is tried three more times (twice the bound) and then used; so is the
  // third.
  q.cmdStart_Click();
  EXPECT_EQ(draws.used(), 15u);
  answer(q, "");
  EXPECT_EQ(draws.used(), 27u);
  EXPECT_EQ(q.session.questno, 3);
  EXPECT_FALSE(q.txtanswer->isHidden());
}

TEST_F(Session, DropRateQuestionSetsTheBuretteToTheAskedRate) {
  Frmquestion& q = open(3);
  q.cmdStart_Click();
  ASSERT_TRUE(q.answerisnumber);
  EXPECT_TRUE(q.ivmodule);
  EXPECT_TRUE(q.burette->IVpan->isHidden());
  if (q.answernumber >= 1) {
    EXPECT_EQ(q.burette->tmrdrip->interval(), core::Int(60 / q.answernumber * 1000));
  }
  answer(q, q.answerstring());
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_FALSE(q.burette->IVpan->isHidden());  // drips after the answer
  q.cmdStart_Click();
  EXPECT_TRUE(q.burette->IVpan->isHidden());
}

TEST_F(Session, ClosingTheWindowBringsBackTheMenuAndProgressButton) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  EXPECT_FALSE(app.results.progdirty);
  q.close();
  EXPECT_FALSE(app.questionloaded());
  EXPECT_TRUE(app.menu().Image3->isHidden());
  settle();

  Frmquestion& r = open(5);
  r.cmdStart_Click();
  answer(r, "");
  r.cmdquit_Click();
  EXPECT_FALSE(app.menu().Image3->isHidden());
  settle();

  app.options.recording = true;
  app.options.optnoprogress = true;
  Frmquestion& s = open(5);
  s.cmdStart_Click();
  answer(s, "");
  s.cmdquit_Click();
  EXPECT_TRUE(app.menu().Image3->isHidden());
}

TEST_F(Session, CalculatorIconOpensAndClosesTheCalculator) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  q.Imgcalc_Click();
  ASSERT_TRUE(app.calculatorloaded());
  EXPECT_TRUE(app.calculator().isVisible());
  q.Imgcalc_Click();
  EXPECT_FALSE(app.calculatorloaded());
  settle();
  q.Imgcalc_Click();
  ASSERT_TRUE(app.calculatorloaded());
  q.cmdquit_Click();  // the calculator is hidden, not unloaded
  EXPECT_TRUE(app.calculatorloaded());
  EXPECT_FALSE(app.calculator().isVisible());
}

TEST_F(Session, SettingsMenuItemTakesTheMenuBackgroundAfterwards) {
  Frmquestion& q = open(4);
  app.corestate.settings.textured = 1;
  q.mhus_Click();
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(ui::backgroundof(q).cacheKey(), ui::backgroundof(app.menu()).cacheKey());
}

TEST_F(Session, NextModuleStartsWithAFreshCalculator) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  q.Imgcalc_Click();
  app.calculator().Number_Click(7);
  q.cmdquit_Click();
  settle();
  Frmquestion& r = open(4);
  r.Imgcalc_Click();
  EXPECT_TRUE(app.calculator().isVisible());
  EXPECT_EQ(app.calculator().Readout->text(), "0.");
}

// A record another program keeps locked (a writer that hangs, a backup
// tool) or a file that cannot be read is told, with its file and cause,
// and the student tries again or leaves: never the completion notice
// before the test's last question, never "no question could be made".
TEST_F(Session, ARecordThatCannotBeReadIsToldAndTriedAgainOrLeft) {
  const std::string testlocked =
      "The test file quiz.vqt could not be read (error 75: another program has held the file locked for too long). "
      "Would you like to try again? No leaves this module.";
  const std::string druglocked =
      "The drug database VQDBASE.FIL could not be read (error 75: another program has held the file locked for too "
      "long). Would you like to try again? No leaves this module.";
  struct Row {
    const char* what;
    int modnum;
    bool tryagain;
    std::string asked;  // the retry question
    std::string shown;  // the question shown afterwards; empty: the module was left
  };
  const std::vector<Row> rows = {
      {"test, question 2 locked, tried again", 7, true, testlocked, "Second?"},
      {"test, question 2 locked, left", 7, false, testlocked, ""},
      {"tablets, the drug locked, tried again", 4, true, druglocked,
       "A client is ordered 1000 milligrams of Testamol.\r\n500 milligram tablets are available.\r\nHow many tablets "
       "will you give?"},
      {"tablets, the drug locked, left", 4, false, druglocked, ""},
  };
  writedrugs();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    writetest({core::testrecord::header("Ward quiz", "", "", 0), core::testrecord::item("First?", "", "1"),
               core::testrecord::item("Second?", "", "2"), core::testrecord::item("Third?", "", "3")});
    app.corestate.lists.selected = {0, 1};
    app.corestate.lists.nselected = 1;
    for (int i = 0; i < 9; ++i) draws.push(i % 3 == 2 ? 0.9f : 0.0f);  // two tablets: 1000 mg
    boxes.clear();
    modals.clear();
    Frmquestion& q = open(row.modnum);
    if (row.modnum == 7) {
      q.cmdStart_Click();
      answer(q, "1");
    }
    // The record the next question needs is held: question 2's, or the drug's.
    auto lock = row.modnum == 7
                    ? std::make_unique<testsupport::HeldLock>(dir.path().toStdString() + "/quiz.vqt", 2 * 2012, 2012)
                    : std::make_unique<testsupport::HeldLock>(dir.path().toStdString() + "/VQDBASE.FIL", 0, 0);
    ASSERT_TRUE(lock->held());
    std::vector<std::string> asked;
    onmodal = [&](QDialog& d) {
      asked.push_back(static_cast<trainee::Frmsave&>(d).Text1->toPlainText().toStdString());
      lock->release();
      static_cast<trainee::Frmsave&>(d).SSCommand1_Click(row.tryagain ? 0 : 1);
    };
    q.cmdStart_Click();  // Next, or Start
    onmodal = nullptr;
    EXPECT_EQ(asked, std::vector<std::string>{row.asked});
    EXPECT_EQ(modals, std::vector<std::string>{"trainee::Frmsave"});  // no completion notice
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(app.questionloaded(), !row.shown.empty());
    if (row.shown.empty()) {
      EXPECT_FALSE(app.menu().isHidden());
    } else {
      EXPECT_EQ(Frmquestion::caption(q.Lblquestion), row.shown);
      q.cmdquit_Click();
    }
    settle();
  }

  // A test file that cannot be read as the window loads: the introduction
  // says so, and Start reads it again.
  std::filesystem::remove(core::datapath("quiz.vqt"));
  std::filesystem::create_directory(core::datapath("quiz.vqt"));
  modals.clear();
  Frmquestion& q = open(7);
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion),
            "The test file quiz.vqt could not be read (error 75). Click the \"Start\" button below to try again, or "
            "\"Quit\" to leave this module.");
  onmodal = [&](QDialog& d) {
    std::filesystem::remove(core::datapath("quiz.vqt"));
    writetest({core::testrecord::header("Ward quiz", "", "", 0), core::testrecord::item("First?", "", "1")});
    static_cast<trainee::Frmsave&>(d).SSCommand1_Click(0);
  };
  q.cmdStart_Click();
  EXPECT_EQ(modals, std::vector<std::string>{"trainee::Frmsave"});
  EXPECT_EQ(Frmquestion::caption(q.Lblquestion), "First?");
  EXPECT_EQ(q.session.testcount, 1);
}
