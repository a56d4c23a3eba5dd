// The options items one by one: tags, values, the log test with its error
// table and retries, the ID list test and the ID list match.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/errors.h"
#include "trainee/frmsave.h"
#include "trainee/options.h"
#include "tests/core/support.h"
#include "trainee_fixture.h"

using namespace traineetest;
using trainee::readoption;

using OptionsTest = TraineeTest;

TEST_F(OptionsTest, EveryFlagTagInAnyCapitals) {
  auto& o = app->options;
  for (const char* item : {"<id>", "<Name>", "<DATE>", "<time> whatever", "<option practice>",
                           "<OPTION CALCULATOR OFF>", "<Option No ShowMe>", "<PROGRESS BUTTON DISABLED>",
                           "<OPTION NO CORRECT ANSWER>", "<option no pass>"})
    readoption(*app, item);
  EXPECT_TRUE(o.askid && o.askname && o.logdate && o.logtime && o.optpractice && o.optcalcoff &&
              o.optnoshowme && o.optnoprogress && o.optnocorrect && o.optnopass);
  EXPECT_FALSE(o.recording);
  EXPECT_FALSE(o.promptflag);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsTest, TagsOnlyAtTheStartOfTheItem) {
  auto& o = app->options;
  readoption(*app, "comment <ID>");
  readoption(*app, "<IDS>");
  readoption(*app, "ID");
  EXPECT_FALSE(o.askid);
  // The time stamp follows every item, tagged or not.
  EXPECT_FALSE(o.starttime.empty());
  EXPECT_FALSE(o.startdate.empty());
}

TEST_F(OptionsTest, ValuesAreTrimmedAndKeepTheirCapitals) {
  auto& o = app->options;
  readoption(*app, "<prompt>   Save Your Results?  ");
  readoption(*app, "<PROMPT LOGIN>  Welcome, Student ");
  readoption(*app, "<keep log id>  Logs/  ");
  EXPECT_TRUE(o.promptflag);
  EXPECT_EQ(o.saveprompt, "Save Your Results?");
  EXPECT_EQ(o.loginprompt, "Welcome, Student");
  EXPECT_TRUE(o.askid && o.recording && o.keeplogid);
  EXPECT_EQ(o.logfolder, "Logs/");
  EXPECT_FALSE(std::filesystem::exists(folder / "Logs"));  // the folder is not tested here
  readoption(*app, "<PROMPT>");
  EXPECT_TRUE(o.promptflag);
  EXPECT_EQ(o.saveprompt, "");
}

TEST_F(OptionsTest, KeepLogCreatesTheFileAndSwitchesRecordingOn) {
  readoption(*app, "<keep log>   results.log  ");
  EXPECT_EQ(app->options.logfile, "results.log");
  EXPECT_TRUE(app->options.recording);
  EXPECT_TRUE(std::filesystem::exists(folder / "results.log"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsTest, SizeWarningAbove64000Bytes) {
  write("big.log", std::string(64000, 'x'));
  readoption(*app, "<KEEP LOG>big.log");
  EXPECT_TRUE(boxes.empty());
  write("big.log", std::string(64001, 'x'));
  readoption(*app, "<KEEP LOG>big.log");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Dosavo");
  EXPECT_EQ(boxes[0].text, "The log file big.log is getting rather big. You should consider deleting it.");
  EXPECT_TRUE(app->options.recording);
  EXPECT_EQ(std::filesystem::file_size(folder / "big.log"), 64001u);
}

TEST_F(OptionsTest, EmptyLogNameIsIllegalAndLeavesLoggingOff) {
  readoption(*app, "<KEEP LOG>   ");
  ASSERT_EQ(boxes.size(), 1u);  // one message only
  EXPECT_EQ(boxes[0].title, "Dosavo Message");
  EXPECT_EQ(boxes[0].text,
            "Dosavo tryed to access the log file:  which was specified in the vqfile.ini file. Unfortunately the "
            "file name is illegal. Please change it.");
  EXPECT_FALSE(app->options.recording);
  EXPECT_FALSE(app->options.starttime.empty());
}

TEST_F(OptionsTest, FailedLogTestSwitchesOffAnEarlierLog) {
  readoption(*app, "<KEEP LOG>good.log");
  ASSERT_TRUE(app->options.recording);
  readoption(*app, "<KEEP LOG>missing/run.log");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("Unfortunately there is no such path."), std::string::npos);
  EXPECT_FALSE(app->options.recording);
}

// A folder where the log file should be cannot be opened for writing: an
// access error, the case of a file that is locked or denied. (The tests run
// as root, for whom file permissions do not deny anything.)
TEST_F(OptionsTest, DeniedLogIsRetriedSilentlyThenAskedAndNoGivesUp) {
  std::filesystem::create_directory(folder / "locked.log");
  readoption(*app, "<ID>");
  const std::string stamped = app->options.starttime;
  app->options.starttime.clear();
  app->options.recording = true;  // set by an earlier item
  std::string asked;
  onmodal = [&](QDialog& d) {
    auto* w = dynamic_cast<trainee::Frmsave*>(&d);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(app->options.retryflag);
    asked = ui::toansi(w->Text1->toPlainText());
    w->SSCommand1_Click(1);  // No
  };
  readoption(*app, "<KEEP LOG>locked.log");
  EXPECT_EQ(modals, 1);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(asked,
            "Dosavo tryed to access the log file: locked.log which was specified in the vqfile.ini file. Access was "
            "denied to this file. Would you like to try accessing it again?");
  EXPECT_FALSE(app->options.recording);
  EXPECT_FALSE(app->options.retryflag);
  // No ends the item before its time stamp.
  EXPECT_TRUE(app->options.starttime.empty());
  EXPECT_FALSE(stamped.empty());
}

TEST_F(OptionsTest, DeniedLogYesTriesAgainUntilItOpens) {
  std::filesystem::create_directory(folder / "locked.log");
  onmodal = [&](QDialog& d) {
    auto* w = dynamic_cast<trainee::Frmsave*>(&d);
    ASSERT_NE(w, nullptr);
    if (modals == 2) std::filesystem::remove(folder / "locked.log");  // freed at the second question
    w->SSCommand1_Click(0);  // Yes
  };
  readoption(*app, "<KEEP LOG>locked.log");
  EXPECT_EQ(modals, 2);
  EXPECT_TRUE(app->options.recording);
  EXPECT_FALSE(app->options.retryflag);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "locked.log"));
  EXPECT_FALSE(app->options.starttime.empty());
}

namespace {
// Replaces the log test's open for one test: failures that the file system
// of the test machine cannot produce.
struct ReplacedLogOpen {
  explicit ReplacedLogOpen(std::function<void(const std::string&)> open) { trainee::setlogtestopen(std::move(open)); }
  ~ReplacedLogOpen() { trainee::setlogtestopen(nullptr); }
};
const std::string LOGPREFIX =
    "Dosavo tryed to access the log file: x.log which was specified in the vqfile.ini file. ";
}  // namespace

TEST_F(OptionsTest, LogTestErrorTable) {
  int failwith = 0;
  ReplacedLogOpen replaced([&](const std::string&) { throw core::FileError(failwith, "replaced"); });
  const std::vector<std::pair<int, std::string>> table = {
      {52, "Unfortunately the file name is illegal. Please change it."},
      {53, "Unfortunately the file name is illegal. Please change it."},
      {54, "Unfortunately the file name is illegal. Please change it."},
      {76, "Unfortunately there is no such path. Please change the name of the log file."},
      {13, "Unfortunately an error occurred trying to access it or create it (Error Number 13). A log file will not "
           "be kept. Please check or delete the vqfile.ini file to correct the problem."},
      {6, "Unfortunately an error occurred trying to access it or create it (Error Number 6). A log file will not "
          "be kept. Please check or delete the vqfile.ini file to correct the problem."}};
  for (const auto& [number, text] : table) {
    boxes.clear();
    app->options.recording = true;  // as an earlier item may have left it
    app->options.starttime.clear();
    failwith = number;
    readoption(*app, "<KEEP LOG>x.log");
    ASSERT_EQ(boxes.size(), 1u) << number;  // reported once, no second message
    EXPECT_EQ(boxes[0].title, "Dosavo Message") << number;
    EXPECT_EQ(boxes[0].text, LOGPREFIX + text) << number;
    EXPECT_EQ(modals, 0) << number;
    EXPECT_FALSE(app->options.recording) << number;
    EXPECT_EQ(app->options.logfile, "x.log");
    EXPECT_FALSE(app->options.starttime.empty()) << number;  // the item goes on to its time stamp
  }
}

TEST_F(OptionsTest, DeniedLogIsTriedExactly1000TimesSilentlyBeforeEachQuestion) {
  int opens = 0;
  bool freed = false;
  ReplacedLogOpen replaced([&](const std::string&) {
    ++opens;
    if (!freed) throw core::FileError(opens % 2 == 0 ? core::ErrPermission : core::ErrPathFileAccess, "denied");
  });
  std::vector<int> opensatquestion;
  onmodal = [&](QDialog& d) {
    opensatquestion.push_back(opens);
    auto& w = dynamic_cast<trainee::Frmsave&>(d);
    EXPECT_EQ(w.windowTitle(), "Would you like to save your session details?");
    EXPECT_EQ(ui::toansi(w.Text1->toPlainText()),
              LOGPREFIX + "Access was denied to this file. Would you like to try accessing it again?");
    if (modals == 1) {
      w.SSCommand1_Click(0);  // Yes
    } else if (modals == 2) {
      // Escape and the window system's close give no answer: the window
      // stays until a button is pressed.
      QTest::keyClick(&w, Qt::Key_Escape);
      w.close();
      EXPECT_TRUE(w.isVisible());
      w.SSCommand1_Click(0);
    } else {
      freed = true;
      w.SSCommand1_Click(0);
    }
  };
  readoption(*app, "<KEEP LOG>x.log");
  EXPECT_EQ(opensatquestion, (std::vector<int>{1001, 2002, 3003}));
  EXPECT_EQ(opens, 3004);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->options.recording);
  EXPECT_FALSE(app->options.retryflag);
}

// A log file that the user may not write. Root is denied nothing, so run as
// root the options are read by nobody, to whom the file is given.
TEST_F(OptionsTest, ReadOnlyLogFileIsDenied) {
  write("readonly.log", "");
  std::filesystem::permissions(folder / "readonly.log", std::filesystem::perms::owner_read);
  onmodal = [](QDialog& d) { dynamic_cast<trainee::Frmsave&>(d).SSCommand1_Click(1); };
  const int status = testsupport::unprivileged({folder / "readonly.log"}, [this] {
    readoption(*app, "<KEEP LOG>readonly.log");
    return modals == 1 && boxes.empty() && !app->options.recording;
  });
  if (status < 0) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_EQ(status, 0);
}

TEST_F(OptionsTest, IdListTest) {
  readoption(*app, "<ID CHECK> missing.txt ");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Dosavo Message");
  EXPECT_EQ(boxes[0].text,
            "Dosavo tried to access the file missing.txt but could not find it. Please check the vqfile.ini file and "
            "ensure that this is the correct path.");
  EXPECT_EQ(app->options.idlistfile, "");
  write("ids.txt", "AB12\r\n");
  readoption(*app, "<id check>ids.txt");
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(app->options.idlistfile, "ids.txt");
  EXPECT_FALSE(app->options.askid);  // "<ID CHECK>" is not "<ID>"
}

TEST(LogonRules, PerIdLogFileNamesAndRefusedIds) {
  struct Row {
    const char* id;
    bool safe;
    const char* logfile;
  };
  const Row rows[] = {
      {"AB12", true, "C:\\LOGS\\AB12    .LOG"},  // blanks fill the ID to 8
      {"ABCDEFGHIJKLMN", true, "C:\\LOGS\\ABCDEFGH.LOG"},
      {"a/b", false, ""},
      {"a\\b", false, ""},
      {"..", false, ""},
      {"a.b", true, "C:\\LOGS\\a.b     .LOG"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(trainee::safelogid(r.id), r.safe) << r.id;
    EXPECT_EQ(trainee::useridof(r.id).size(), 12u) << r.id;
    if (r.safe) {
      EXPECT_EQ(trainee::idlogfile("C:\\LOGS\\", trainee::useridof(r.id)), r.logfile) << r.id;
    }
  }
}

TEST_F(OptionsTest, IdListMatchesWholeItemsInAnyCapitals) {
  write("ids.txt", "AB12, cd34\r\n  \"Ef,56\"  \r\nAB12 CD34\r\n");
  for (const char* id : {"ab12", "AB12", "CD34", "ef,56", "ab12 cd34"})
    EXPECT_TRUE(trainee::idinlist("ids.txt", id)) << id;
  for (const char* id : {"AB", "AB123", "EF", ""})
    EXPECT_FALSE(trainee::idinlist("ids.txt", id)) << id;
  write("empty.txt", "");
  EXPECT_FALSE(trainee::idinlist("empty.txt", ""));
  EXPECT_THROW(trainee::idinlist("gone.txt", "AB12"), core::FileError);
}
