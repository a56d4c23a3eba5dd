// The exercise session without a window: question numbers and the fresh
// start after 1,000 questions, the counts of judged answers, and the walk
// through a teacher's test.
#include "trainee/model/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/text.h"
#include "tests/core/support.h"

namespace {

using trainee::Session;
using trainee::Verdict;

TEST(Session, NextQuestionNumbers) {
  struct Row {
    int questno, testcount;
    bool test;
    bool goeson;
    int after;
    bool countscleared;
  };
  const Row rows[] = {
      {0, 0, false, true, 1, false},        // the first question
      {999, 0, false, true, 1000, false},   // the thousandth
      {1000, 0, false, true, 1, true},      // the 1,001st counts as a first again
      {0, 3, true, true, 1, false},         // a test of three: its first
      {2, 3, true, true, 3, false},         // its last
      {3, 3, true, false, 4, false},        // the question after its last ends it
      {0, 0, true, false, 1, false},        // a test without questions ends at Start
  };
  for (const Row& r : rows) {
    Session s;
    s.questno = static_cast<std::int16_t>(r.questno);
    s.testcount = static_cast<std::int16_t>(r.testcount);
    s.ncorrect = 5;
    s.nincorrect = 6;
    s.npassed = 7;
    EXPECT_EQ(s.nextquestion(r.test), r.goeson) << r.questno << "/" << r.testcount;
    EXPECT_EQ(s.questno, r.after) << r.questno;
    EXPECT_EQ(s.ncorrect + s.nincorrect + s.npassed, r.countscleared ? 0 : 18) << r.questno;
  }
}

TEST(Session, EachJudgedAnswerMovesOneSessionCountOneModuleCountAndTheFlag) {
  Session s;
  trainee::ModuleCounters run;
  bool progdirty = false;
  s.count(Verdict::Right, 4, run, progdirty);
  s.count(Verdict::Wrong, 4, run, progdirty);
  s.count(Verdict::Pass, 7, run, progdirty);
  s.count(Verdict::Pass, 7, run, progdirty);
  EXPECT_TRUE(progdirty);
  EXPECT_EQ(s.ncorrect, 1);
  EXPECT_EQ(s.nincorrect, 1);
  EXPECT_EQ(s.npassed, 2);
  EXPECT_EQ(run.modcorrect, (std::vector<std::int16_t>{0, 0, 0, 0, 1}));
  EXPECT_EQ(run.modincorrect, (std::vector<std::int16_t>{0, 0, 0, 0, 1}));
  EXPECT_EQ(run.modpassed, (std::vector<std::int16_t>{0, 0, 0, 0, 0, 0, 0, 2}));
  // Counts stop at the largest 16-bit value rather than turn negative.
  const std::int16_t most = std::numeric_limits<std::int16_t>::max();
  s.ncorrect = most;
  run.modcorrect[4] = most;
  s.count(Verdict::Right, 4, run, progdirty);
  EXPECT_EQ(s.ncorrect, most);
  EXPECT_EQ(run.modcorrect[4], most);
  // The status panel's counts.
  const trainee::StatusCounts c = s.status(true);
  EXPECT_EQ(c.npassed, 2);
  EXPECT_TRUE(c.test);
}

class TestWalk : public testsupport::TempFolder {};

// Blank records and records without a question or an answer are skipped;
// the walk ends when the file holds no further complete question.
TEST_F(TestWalk, CompleteQuestionsInTurnThenNothing) {
  using core::testrecord;
  const std::vector<testrecord> records{
      testrecord::header("Ward quiz", "About doses", "Read each question.", 1),
      testrecord::item("  \r\nFirst?  ", " Because. ", " mg "),
      testrecord::blank(),
      testrecord::item("No answer?", "", ""),
      testrecord::item("Second?", "", "12"),
      testrecord::item("", "", "x"),
  };
  for (std::size_t i = 0; i < records.size(); ++i) core::writetestrecord("t.vqt", static_cast<long>(i + 1), records[i]);

  Session s;
  const testrecord header = s.opentest("t.vqt");
  EXPECT_EQ(header.instructions(), "Read each question.");
  EXPECT_EQ(s.testcount, 5);
  EXPECT_EQ(s.testrec, 0);

  auto q = s.nexttestquestion("t.vqt");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->encode(), records[1].encode());
  EXPECT_EQ(s.testrec, 1);
  q = s.nexttestquestion("t.vqt");
  ASSERT_TRUE(q);
  EXPECT_EQ(core::trim(q->question), "Second?");
  EXPECT_EQ(s.testrec, 4);
  EXPECT_FALSE(s.nexttestquestion("t.vqt"));
  EXPECT_EQ(s.testrec, 5);
  EXPECT_FALSE(s.testunread);

  // A missing file is created empty: no questions.
  Session none;
  EXPECT_EQ(none.opentest("missing.vqt").encode(), testrecord::blank().encode());
  EXPECT_EQ(none.testcount, 0);
  EXPECT_FALSE(none.nexttestquestion("missing.vqt"));

  // A file that cannot be read is no test without questions: it stays
  // unread, so that Start reads it again.
  std::filesystem::create_directory(dir_ / "folder.vqt");
  Session unread;
  EXPECT_THROW(unread.opentest("folder.vqt"), core::FileError);
  EXPECT_TRUE(unread.testunread);
  EXPECT_EQ(unread.testcount, 0);
}

}  // namespace
