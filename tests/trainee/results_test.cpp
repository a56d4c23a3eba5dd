// The results of a run: the results text, the log entry and its exact bytes,
// the save question, the retry of a log file that cannot be written, the
// progress window with Clear, and the test-completed notice's place.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <initializer_list>

#include "core/text.h"
#include "core/ui/twips.h"
#include "session_fixture.h"
#include "trainee/frmcompleted.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/frmprogress.h"
#include "trainee/frmsave.h"
#include "trainee/results.h"

using exercisetest::Session;
using trainee::Frmquestion;

namespace {

const std::string HYPHENS(30, '-');

// Clicks button i of the Yes/No window.
std::function<void(QDialog&)> clicksave(int i, std::string* shown = nullptr) {
  return [i, shown](QDialog& d) {
    auto* save = qobject_cast<trainee::Frmsave*>(&d);
    ASSERT_NE(save, nullptr);
    if (shown) *shown = save->Text1->toPlainText().toStdString();
    save->SSCommand1_Click(i);
  };
}

}  // namespace

TEST_F(Session, ResultsTextListsUsedModulesInModuleOrder) {
  auto& m = app.modules;
  EXPECT_EQ(trainee::resultstext(app), "");
  m.modcorrect[4] = 12;
  m.modincorrect[4] = 3;
  m.modpassed[4] = 1;
  m.modcorrect[1] = 5;
  m.modpassed[6] = 2;
  m.modcorrect[7] = 123;
  EXPECT_EQ(trainee::resultstext(app),
            "\r\nIV - Counting Drops\r\nCorrect [  5]  Incorrect [  0]  \r\n"
            "\r\nCalculating Tablet Dosages\r\nCorrect [ 12]  Incorrect [  3]  Passed  [  1]\r\n"
            "\r\nCalculating Fluid Dosages\r\nCorrect [  0]  Incorrect [  0]  Passed  [  2]\r\n"
            "\r\nWard quiz\r\nCorrect [123]  Incorrect [  0]  \r\n");
  m.modcorrect[7] = 1234;  // too wide for the field: written whole
  EXPECT_NE(trainee::resultstext(app).find("Correct [1234]"), std::string::npos);
}

TEST_F(Session, LogAfterTwoModulesHoldsExactlyTheEntry) {
  // An earlier run's log stays as it was.
  const std::string earlier = "User Name: Earlier\r\n\r\nSomething\r\n";
  core::appendtext("results.log", earlier);
  auto& o = app.options;
  o.recording = true;
  o.logfile = (std::filesystem::path(dir.path().toStdString()) / "results.log").string();
  o.askname = o.askid = o.logdate = true;
  o.username = "Ann Smith";
  o.userid = core::fixwidth("A17", 12);
  o.startdate = "09/12/2026";

  // Metric conversions: one right, one pass; then counting drops: one wrong.
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, q.answerstring());
  q.cmdStart_Click();
  answer(q, "");
  q.cmdquit_Click();
  settle();
  draws.push(0.49f);
  Frmquestion& r = open(1);
  r.cmdStart_Click();
  answer(r, "30");
  r.wanthelp_Click(1);
  r.cmdquit_Click();
  settle();

  trainee::writelog(app);
  EXPECT_TRUE(modals.empty());
  EXPECT_EQ(exercisetest::readall(o.logfile),
            earlier +
                "User Name: Ann Smith\r\nUser ID: A17         \r\nDate: 09/12/2026\r\n"
                "\r\nIV - Counting Drops\r\nCorrect [  0]  Incorrect [  1]  \r\n"
                "\r\nMetric Conversions\r\nCorrect [  1]  Incorrect [  0]  Passed  [  1]\r\n"
                "\r\n" + HYPHENS + "\r\n\r\n");
}

// A whole run with one log per ID: logon, one module worked through the
// menu, the menu's Quit. The student's file gains the entry after what an
// earlier run left in it.
TEST_F(Session, PerIdLogGetsTheEntryWhenTheMenuCloses) {
  writedrugs();
  std::filesystem::create_directory(std::filesystem::path(dir.path().toStdString()) / "logs");
  const std::string earlier = "User ID: AB12        \r\n\r\n" + HYPHENS + "\r\n\r\n";
  core::appendtext("logs/AB12    .LOG", earlier);
  int ends = 0;
  app.endprogram = [&ends] { ++ends; };
  startprogram("<KEEP LOG ID>logs/\r\n<NAME>\r\n<DATE>\r\n");
  onmodal = [this](QDialog&) {
    app.frmid().TxtID->setText("AB12");
    app.frmid().Txtname->setText("Ann Smith");
    app.frmid().cmdOk_Click(0);
  };
  app.frmmain().Command1_Click();
  onmodal = nullptr;
  ASSERT_EQ(app.options.logfile, "logs/AB12    .LOG");
  ASSERT_TRUE(app.menu().isVisible());

  auto& list = *app.menu().Lstmodules;
  list.setCurrentItem(list.findItems("Calculating Tablet Dosages", Qt::MatchExactly).value(0));
  app.menu().cmdaccept_Click();
  ASSERT_TRUE(app.questionloaded());
  Frmquestion& q = app.question();
  q.cmdStart_Click();
  answer(q, q.answerstring());
  q.cmdStart_Click();
  answer(q, "-1");
  q.wanthelp_Click(1);
  answer(q, "");
  q.cmdquit_Click();
  settle();
  app.menu().cmdquit_Click();
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(exercisetest::readall(core::datapath("logs/AB12    .LOG")),
            earlier + "User Name: Ann Smith\r\nUser ID: AB12        \r\nDate: " + app.options.startdate +
                "\r\n\r\nCalculating Tablet Dosages\r\nCorrect [  1]  Incorrect [  1]  Passed  [  1]\r\n\r\n" +
                HYPHENS + "\r\n\r\n");
  EXPECT_FALSE(app.options.startdate.empty());
}

TEST_F(Session, TimeLineRunsFromTheStartToNow) {
  auto& o = app.options;
  o.recording = o.logtime = true;
  o.logfile = "log.txt";
  o.starttime = "08:00:00";
  app.results.progdirty = true;
  app.modules.modpassed[3] = 1;
  trainee::writelog(app);
  const std::string log = exercisetest::readall(dir.path().toStdString() + "/log.txt");
  ASSERT_EQ(log.rfind("Time: 08:00:00 - ", 0), 0u);
  EXPECT_EQ(log.find("\r\n"), std::string("Time: 08:00:00 - 12:34:56").size());
}

TEST_F(Session, NothingIsLoggedWithoutAnswersOrWithoutRecording) {
  auto& o = app.options;
  o.logfile = "log.txt";
  o.promptflag = true;
  app.modules.modcorrect[1] = 1;
  app.results.progdirty = true;
  trainee::writelog(app);  // not recording
  o.recording = true;
  app.results.progdirty = false;
  trainee::writelog(app);  // nothing judged
  EXPECT_TRUE(modals.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path().toStdString() + "/log.txt"));
}

TEST_F(Session, SaveQuestionYesWritesNoEndsTheProgram) {
  auto& o = app.options;
  o.recording = o.promptflag = true;
  o.logfile = "log.txt";
  app.results.progdirty = true;
  app.modules.modcorrect[2] = 1;
  const auto logpath = dir.path().toStdString() + "/log.txt";

  std::string shown;
  onmodal = clicksave(0, &shown);
  trainee::writelog(app);
  EXPECT_EQ(shown, "Would you like to save your results?");
  EXPECT_EQ(exercisetest::readall(logpath),
            "\r\nIV - Setting The Flow Rate\r\nCorrect [  1]  Incorrect [  0]  \r\n\r\n" + HYPHENS + "\r\n\r\n");

  const auto written = exercisetest::readall(logpath).size();
  o.saveprompt = "Keep your results?";
  onmodal = clicksave(1, &shown);
  trainee::writelog(app);
  EXPECT_EQ(shown, "Keep your results?");
  EXPECT_TRUE(app.ended);
  EXPECT_EQ(exercisetest::readall(logpath).size(), written);

  // Closing the window without a button saves nothing.
  app.ended = false;
  onmodal = nullptr;
  trainee::writelog(app);
  EXPECT_FALSE(app.ended);
  EXPECT_EQ(modals.size(), 3u);
  EXPECT_EQ(exercisetest::readall(logpath).size(), written);

  // Escape and the close box do nothing: the question stays until a button
  // answers it.
  onmodal = [](QDialog& d) {
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    d.close();
    EXPECT_TRUE(d.isVisible());
    dynamic_cast<trainee::Frmsave&>(d).SSCommand1_Click(0);
  };
  trainee::writelog(app);
  EXPECT_FALSE(app.ended);
  EXPECT_EQ(exercisetest::readall(logpath).size(), 2 * written);
}

TEST_F(Session, DeniedLogFileIsRetriedThenAskedAboutUntilNo) {
  auto& o = app.options;
  o.recording = true;
  o.logfile = dir.path().toStdString() + "/missing-folder/log.txt";
  app.results.progdirty = true;
  app.modules.modcorrect[1] = 1;
  std::vector<std::string> questions;
  int asked = 0;
  onmodal = [&](QDialog& d) {
    auto* save = qobject_cast<trainee::Frmsave*>(&d);
    ASSERT_NE(save, nullptr);
    questions.push_back(save->Text1->toPlainText().toStdString());
    EXPECT_TRUE(o.retryflag);
    save->SSCommand1_Click(++asked == 1 ? 0 : 1);  // Yes, then No
  };
  trainee::writelog(app);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0], "Dosavo tryed to access the log file: " + o.logfile +
                              " which was specified in the vqfile.ini file. Access was denied to this file. Would "
                              "you like to try accessing it again?");
  EXPECT_FALSE(o.recording);
  EXPECT_FALSE(o.retryflag);
  EXPECT_FALSE(app.ended);

  // Once the folder is there, Yes writes the entry.
  o.recording = true;
  asked = 0;
  questions.clear();
  onmodal = [&](QDialog& d) {
    std::filesystem::create_directory(dir.path().toStdString() + "/missing-folder");
    qobject_cast<trainee::Frmsave*>(&d)->SSCommand1_Click(0);
  };
  trainee::writelog(app);
  EXPECT_TRUE(o.recording);
  EXPECT_EQ(exercisetest::readall(o.logfile),
            "\r\nIV - Counting Drops\r\nCorrect [  1]  Incorrect [  0]  \r\n\r\n" + HYPHENS + "\r\n\r\n");
}

TEST_F(Session, ProgressShowsTheResultsAndClearStartsAgain) {
  Frmquestion& q = open(5);
  q.cmdStart_Click();
  answer(q, "");
  answer(q, "");
  {
    trainee::frmprogress p(app);
    EXPECT_EQ(p.windowTitle(), "Progress this session");
    EXPECT_EQ(p.Text1->toPlainText().toStdString(),
              "\nMetric Conversions\nCorrect [  0]  Incorrect [  0]  Passed  [  2]\n");
    EXPECT_EQ(p.Command1->text(), "&OK");
    EXPECT_EQ(p.Command2->text(), "&Clear");
    app.menu().Image3->show();
    p.Command2_Click();
  }
  EXPECT_FALSE(app.results.progdirty);
  EXPECT_TRUE(app.menu().Image3->isHidden());
  EXPECT_EQ(app.modules.modpassed[5], 0);
  EXPECT_EQ(q.session.npassed, 2);  // the window's own counts stay

  answer(q, q.answerstring());
  trainee::frmprogress p(app);
  EXPECT_EQ(p.Text1->toPlainText().toStdString(), "\nMetric Conversions\nCorrect [  1]  Incorrect [  0]  \n");
  q.cmdquit_Click();
  EXPECT_FALSE(app.menu().Image3->isHidden());

  // Counts of one, two and three digits: the brackets line up from line to
  // line as the window shows them.
  app.modules.modcorrect[1] = 12;
  app.modules.modincorrect[1] = 3;
  app.modules.modpassed[1] = 100;
  app.modules.modincorrect[4] = 100;
  app.modules.modpassed[4] = 7;
  app.modules.modpassed[5] = 1;
  trainee::frmprogress counts(app);
  const QFontMetrics metrics(counts.Text1->font());
  std::vector<std::vector<int>> brackets;
  for (const QString& line : counts.Text1->toPlainText().split('\n')) {
    if (!line.startsWith("Correct")) continue;
    brackets.emplace_back();
    for (int i = 0; i < line.size(); ++i)
      if (line[i] == '[' || line[i] == ']') brackets.back().push_back(metrics.horizontalAdvance(line.left(i)));
  }
  ASSERT_EQ(brackets.size(), 3u);
  EXPECT_EQ(brackets[0], brackets[1]);
  EXPECT_EQ(brackets[0], brackets[2]);
}

// The progress window and the completion notice have no Cancel button:
// Escape leaves each of them open, and only their buttons close them.
TEST_F(Session, WindowsWithoutCancelIgnoreEscape) {
  Frmquestion& q = open(7);
  trainee::frmprogress progress(app);
  trainee::Frmcompleted notice(app, &q);
  for (QDialog* d : std::initializer_list<QDialog*>{&progress, &notice}) {
    SCOPED_TRACE(d->metaObject()->className());
    d->show();
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_TRUE(d->isVisible());
    d->hide();
  }
}

TEST_F(Session, CompletedNoticeSitsByTheExerciseWindow) {
  Frmquestion& q = open(7);
  for (QPoint at : {QPoint(10, 20), QPoint(300, 150)}) {
    q.move(at);
    trainee::Frmcompleted notice(app, &q);
    EXPECT_EQ(notice.pos(), q.pos() + QPoint(ui::px(257), ui::px(4905)));
    EXPECT_EQ(notice.SSPanel1->text(), "Test Completed");
    EXPECT_EQ(notice.SSCommand1->text(), "&OK");
  }
}
