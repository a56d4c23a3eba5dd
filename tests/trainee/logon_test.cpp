// The title window's texts and Start paths, and the logon window: layout,
// checks, ID list, per-ID log files, Practice and the menu caption.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "core/ui/panel.h"
#include "trainee/frmsave.h"
#include "trainee/startup.h"
#include "trainee_fixture.h"

using namespace traineetest;

class LogonTest : public TraineeTest {
 protected:
  // Starts the program with the given options file.
  void start(const std::string& options) {
    if (!options.empty()) write("vqfile.ini", options);
    writedruglists("0\r\n", "0\r\n", "0\r\n");
    trainee::Main(*app);
    boxes.clear();
  }
  // Presses Start; the logon window, when it opens, gets the ID and name
  // typed and the button pressed.
  void logon(const QString& id, const QString& name, int button = 0) {
    onmodal = [=, this](QDialog&) {
      auto& w = app->frmid();
      w.TxtID->setText(id);
      w.Txtname->setText(name);
      w.cmdOk_Click(button);
    };
    app->frmmain().Command1_Click();
  }
  std::string caption() { return ui::toansi(app->menu().windowTitle()); }
};

TEST_F(LogonTest, TitleTextsAlternateOnTheTimer) {
  start("");
  auto& t = app->frmmain();
  EXPECT_EQ(t.Timer1->interval(), 4000);
  EXPECT_TRUE(t.Timer1->isActive());
  EXPECT_EQ(t.Label3[0]->text(), "");
  EXPECT_EQ(t.Label3[1]->text(), "");
  EXPECT_EQ(t.Label2->caption(), "Version 5.0");
  EXPECT_EQ(t.SSPanel1->caption(), "Dosavo");
  EXPECT_EQ(t.SSPanel2->caption(), "v 5.0 32bit");
  EXPECT_EQ(t.Command1->text(), "&Start");
  t.Timer1_Timer();
  EXPECT_EQ(t.Label3[1]->text(), "Practical assistance and exercises in ...");
  EXPECT_EQ(t.Label3[0]->text(), "Metric conversions Drug Dosage IV Calculations");
  EXPECT_EQ(t.Label2->caption(), "Press the [F1] key\rfor help.");
  t.Timer1_Timer();
  EXPECT_EQ(t.Label3[1]->text(), "A self-paced learning tool...");
  EXPECT_EQ(t.Label3[0]->text(), "for nurses and other health professionals");
  EXPECT_EQ(t.Label2->caption(), "Press the [F1] key\rfor help.");
  t.Timer1_Timer();
  EXPECT_EQ(t.Label3[1]->text(), "Practical assistance and exercises in ...");
  t.Command1_Click();
  EXPECT_FALSE(t.Timer1->isActive());
}

TEST_F(LogonTest, StartWithoutLoggingGoesStraightToTheMenu) {
  start("<ID>\r\n<NAME>\r\n");
  app->frmmain().Command1_Click();
  EXPECT_EQ(modals, 0);
  EXPECT_EQ(caption(), "Dosavo");
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_FALSE(app->frmmain().isVisible());
}

TEST_F(LogonTest, StartWhileLoggingWithoutLogon) {
  start("<KEEP LOG>run.log\r\n");
  app->frmmain().Command1_Click();
  EXPECT_EQ(modals, 0);
  EXPECT_EQ(caption(), "Dosavo - Recording Session Results");
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_FALSE(app->frmmain().isVisible());
}

TEST_F(LogonTest, LayoutIdOnly) {
  start("<KEEP LOG>run.log\r\n<ID>\r\n");
  auto& w = app->frmid();
  EXPECT_EQ(w.windowTitle(), "Logon to Dosavo");
  EXPECT_EQ(w.twipsof(w.Label1).top(), 120);
  EXPECT_EQ(w.twipsof(w.TxtID).top(), 120);
  EXPECT_EQ(w.twipsof(w.cmdOk[0]).top(), 690);
  EXPECT_EQ(w.heighttw, 1705);
  // O.K. alone: the whole part of 6150 / 2 - 1095 / 2.
  EXPECT_EQ(w.twipsof(w.cmdOk[0]).left(), 2527);
  EXPECT_FALSE(w.Label1->isHidden());
  EXPECT_FALSE(w.TxtID->isHidden());
  EXPECT_TRUE(w.Txtname->isHidden());
  EXPECT_TRUE(w.Txtmsg->isHidden());
  EXPECT_TRUE(w.cmdOk[1]->isHidden());
  EXPECT_EQ(w.cmdOk[0]->text(), "&O.K.");
  EXPECT_EQ(w.Label1->text(), "Please Enter Your ID Number:");
}

TEST_F(LogonTest, LayoutPromptIdNameAndPractice) {
  start("<KEEP LOG>run.log\r\n<PROMPT LOGIN>Welcome to the ward\r\n<ID>\r\n<NAME>\r\n<OPTION PRACTICE>\r\n");
  auto& w = app->frmid();
  EXPECT_EQ(w.twipsof(w.Txtmsg).top(), 120);
  EXPECT_EQ(w.Txtmsg->toPlainText(), "Welcome to the ward");
  EXPECT_EQ(w.twipsof(w.TxtID).top(), 1285);
  EXPECT_EQ(w.twipsof(w.Txtname).top(), 1655);
  EXPECT_EQ(w.twipsof(w.Label2).top(), 1655);
  EXPECT_EQ(w.twipsof(w.cmdOk[0]).top(), 2225);
  EXPECT_EQ(w.twipsof(w.cmdOk[1]).top(), 2225);
  EXPECT_EQ(w.heighttw, 3240);
  EXPECT_EQ(w.twipsof(w.cmdOk[0]).left(), 1700);  // 3075 - (1095 + 200 + 1455) / 2
  EXPECT_EQ(w.twipsof(w.cmdOk[1]).left(), 2995);
  EXPECT_FALSE(w.cmdOk[1]->isHidden());
  EXPECT_EQ(w.cmdOk[1]->text(), "&Practice");
  EXPECT_FALSE(w.Txtmsg->isHidden());
}

TEST_F(LogonTest, EmptyIdOrNameIsRefused) {
  start("<KEEP LOG>run.log\r\n<ID>\r\n<NAME>\r\n");
  logon("   ", "Jo");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Please complete the form...");
  EXPECT_EQ(boxes[0].text, "You are required to enter a valid ID number");
  EXPECT_FALSE(app->menu().isVisible());
  boxes.clear();
  logon("AB12", "  ");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Please complete the form...");
  EXPECT_EQ(boxes[0].text, "You are required to enter your name");
  EXPECT_FALSE(app->menu().isVisible());
  // What was typed stays.
  EXPECT_EQ(app->frmid().TxtID->text(), "AB12");
}

TEST_F(LogonTest, CaptionWithIdAndName) {
  start("<KEEP LOG>run.log\r\n<ID>\r\n<NAME>\r\n");
  logon("AB12", "Jo");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(caption(), "Dosavo  ~  User ID: AB12         Name: Jo");
  EXPECT_EQ(app->options.userid, "AB12        ");
  EXPECT_EQ(app->options.username, "Jo");
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_FALSE(app->frmid().isVisible());
  // The title window stays behind the menu; a second Start shows the
  // logon window again with what was typed.
  EXPECT_TRUE(app->frmmain().isVisible());
  onmodal = [this](QDialog&) { EXPECT_EQ(app->frmid().TxtID->text(), "AB12"); };
  app->frmmain().Command1_Click();
  EXPECT_EQ(modals, 2);
}

TEST_F(LogonTest, NameOnlyCaption) {
  start("<KEEP LOG>run.log\r\n<NAME>\r\n");
  logon("", "Jo Smith");
  EXPECT_EQ(caption(), "Dosavo  ~  Name: Jo Smith");
}

TEST_F(LogonTest, PracticeStopsRecording) {
  start("<KEEP LOG>run.log\r\n<ID>\r\n<OPTION PRACTICE>\r\n");
  logon("AB12", "", 1);
  EXPECT_EQ(caption(), "Dosavo  ~ Practice Mode");
  EXPECT_FALSE(app->options.recording);
  EXPECT_EQ(app->options.userid, std::string(12, ' '));  // not stored
  // A second Start now goes straight to the menu.
  app->menu().hide();
  app->frmmain().Command1_Click();
  EXPECT_EQ(modals, 1);
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_FALSE(app->frmmain().isVisible());
}

TEST_F(LogonTest, IdListAcceptsListedIdsOnly) {
  write("ids.txt", "AB12, CD34\r\nEF56\r\n");
  start("<KEEP LOG>run.log\r\n<ID>\r\n<ID CHECK>ids.txt\r\n");
  logon("AB", "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Dosavo");
  EXPECT_EQ(boxes[0].text, "Your ID number was not found in the database");
  EXPECT_FALSE(app->menu().isVisible());
  // The list is read afresh at each O.K.
  write("ids.txt", "AB12, CD34\r\nEF56\r\nAB\r\n");
  boxes.clear();
  logon("  ab  ", "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->options.userid, "ab          ");
  EXPECT_TRUE(app->menu().isVisible());
}

TEST_F(LogonTest, IdListWithoutAskingForTheIdAcceptsOnlyAnEmptyItem) {
  write("ids.txt", "AB12\r\n");
  start("<KEEP LOG>run.log\r\n<NAME>\r\n<ID CHECK>ids.txt\r\n");
  EXPECT_TRUE(app->frmid().TxtID->isHidden());
  logon("", "Jo");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Your ID number was not found in the database");
  EXPECT_FALSE(app->menu().isVisible());
  write("ids.txt", "AB12,,CD34\r\n");  // an empty item between two commas
  boxes.clear();
  logon("", "Jo");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_EQ(caption(), "Dosavo  ~  Name: Jo");
}

TEST_F(LogonTest, LongIdIsCheckedInFullAndStoredAs12) {
  write("ids.txt", "ABCDEFGHIJKLMN\r\n");
  start("<KEEP LOG ID>logs/\r\n<ID CHECK>ids.txt\r\n");
  std::filesystem::create_directory(folder / "logs");
  logon("abcdefghijklmn", "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->options.userid, "abcdefghijkl");
  EXPECT_EQ(app->options.logfile, "logs/abcdefgh.LOG");
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "logs" / "abcdefgh.LOG"));
}

TEST_F(LogonTest, IdListRemovedAfterStartUpEndsTheClickSilently) {
  write("ids.txt", "AB12\r\n");
  start("<KEEP LOG>run.log\r\n<ID>\r\n<ID CHECK>ids.txt\r\n");
  std::filesystem::remove(folder / "ids.txt");
  logon("AB12", "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(app->menu().isVisible());
  EXPECT_EQ(app->options.userid, "AB12        ");
}

TEST_F(LogonTest, PerIdLogKeepsThePaddingBlanks) {
  start("<KEEP LOG ID>logs/\r\n");
  std::filesystem::create_directory(folder / "logs");
  logon("AB12", "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->options.logfile, "logs/AB12    .LOG");
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "logs" / "AB12    .LOG"));
  EXPECT_EQ(caption(), "Dosavo  ~  User ID: AB12        ");
}

TEST_F(LogonTest, PerIdLogThatCannotBeOpened) {
  start("<KEEP LOG ID>nofolder/\r\n<OPTION PRACTICE>\r\n");
  logon("AB12", "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Error ...");
  EXPECT_EQ(boxes[0].text,
            "There was an error trying to write to nofolder/AB12    .LOGPlease check your ID and / or the file "
            "vqfile.ini");
  EXPECT_FALSE(app->menu().isVisible());
  EXPECT_EQ(app->options.logfile, "nofolder/AB12    .LOG");
  // Practice is still open to the student.
  logon("AB12", "", 1);
  EXPECT_EQ(caption(), "Dosavo  ~ Practice Mode");
}

TEST_F(LogonTest, IdThatWouldLeaveTheLogFolderIsRefused) {
  start("<KEEP LOG ID>logs/\r\n");
  std::filesystem::create_directory(folder / "logs");
  for (const char* id : {"../x", "a/b", "..", "a\\b"}) {
    boxes.clear();
    logon(id, "");
    ASSERT_EQ(boxes.size(), 1u) << id;
    EXPECT_EQ(boxes[0].title, "Please complete the form...");
    EXPECT_EQ(boxes[0].text, "Your ID number may not contain \"/\", \"\\\" or \"..\"");
    EXPECT_FALSE(app->menu().isVisible());
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder / "logs"));
  EXPECT_FALSE(std::filesystem::exists(folder / "x    .LOG"));
  // Without per-ID logs such an ID is just an ID.
  app = std::make_unique<trainee::Dosavo>();
  app->endprogram = [this] { ++ends; };
  start("<KEEP LOG>run.log\r\n<ID>\r\n");
  logon("a/b", "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->menu().isVisible());
}

TEST_F(LogonTest, ClosingTitleOrLogonWindowEndsTheProgram) {
  start("<KEEP LOG>run.log\r\n<ID>\r\n");
  app->frmid().show();
  app->frmid().close();
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(app->ended);
  EXPECT_EQ(std::filesystem::file_size(folder / "run.log"), 0u);  // nothing logged

  app = std::make_unique<trainee::Dosavo>();
  ends = 0;
  app->endprogram = [this] { ++ends; };
  start("");
  app->frmmain().close();
  EXPECT_EQ(ends, 1);
}

// Once the menu is open, closing the title window behind it (or behind an
// exercise), or the logon window that a second Start shows, leaves as the
// menu does: the save question, then the log entry.
TEST_F(LogonTest, ClosingAWindowBehindTheMenuLeavesAsTheMenuDoes) {
  enum Where { Menu, Exercise, SecondLogon };
  for (const Where where : {Menu, Exercise, SecondLogon}) {
    SCOPED_TRACE(where);
    app = std::make_unique<trainee::Dosavo>();
    ends = modals = 0;
    app->endprogram = [this] { ++ends; };
    write("run.log", "");
    start("<KEEP LOG>run.log\r\n<ID>\r\n<PROMPT>\r\n");
    logon("AB12", "");
    ASSERT_TRUE(app->menu().isVisible());
    app->results.progdirty = true;
    app->modules.modcorrect[5] = 3;
    if (where == Exercise) app->menu().cmdaccept_Click();
    int asked = 0;
    onmodal = [&asked](QDialog& d) {
      auto* save = qobject_cast<trainee::Frmsave*>(&d);
      asked += save != nullptr;
      if (save) save->SSCommand1_Click(0);
      else d.close();  // the logon window's close box
    };
    if (where == SecondLogon) app->frmmain().Command1_Click();
    else app->frmmain().close();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(read("run.log"),
              "User ID: AB12        \r\n\r\nMetric Conversions\r\nCorrect [  3]  Incorrect [  0]  \r\n\r\n" +
                  std::string(30, '-') + "\r\n\r\n");
  }
}
