// The options items one by one: tags, values, the log test with its error
// table and retries, the ID list test and the ID list match.
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/errors.h"
#include "trainee/frmsave.h"
#include "trainee/options.h"
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
