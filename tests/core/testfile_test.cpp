#include "core/testfile.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/files.h"
#include "core/text.h"

using namespace core;
namespace fs = std::filesystem;

namespace {

class TestFiles : public testsupport::TempFolder {};

testrecord withanswer(const std::string& a) {
  testrecord r;
  r.answer = a;
  return r;
}

}  // namespace

TEST_F(TestFiles, NinetyNineQuestionsAre201200Bytes) {
  writetestrecord("t.vqt", 1, testrecord::header("Title", "desc", "instr", 1));
  for (int q = 1; q <= 99; ++q)
    writetestrecord("t.vqt", q + 1, testrecord::item("Q" + std::to_string(q), "H", "A"));
  EXPECT_EQ(fs::file_size(dir_ / "t.vqt"), 201200u);
  EXPECT_EQ(testquestioncount(201200), 99);
  EXPECT_EQ(trim(readtestrecord("t.vqt", 100).question), "Q99");
  EXPECT_EQ(readtestrecord("t.vqt", 101).encode(), testrecord::blank().encode());
  // The header as both programs read it: a part record at the end is no question.
  std::ofstream(dir_ / "t.vqt", std::ios::app) << "part";
  const testhead head = readtestheader("t.vqt");
  EXPECT_EQ(head.header.encode(), testrecord::header("Title", "desc", "instr", 1).encode());
  EXPECT_EQ(head.questions, 99);
}

TEST(TestRecord, QuestionCountFromLength) {
  EXPECT_EQ(testquestioncount(0), 0);
  EXPECT_EQ(testquestioncount(100), 0);
  EXPECT_EQ(testquestioncount(2012), 0);          // header only
  EXPECT_EQ(testquestioncount(2012 * 2 - 1), 0);  // trailing part is no question
  EXPECT_EQ(testquestioncount(2012 * 3 + 5), 2);
}

TEST(TestRecord, HeaderFieldsArePlacedAndCut) {
  const testrecord h = testrecord::header("   " + std::string(45, 'T'), "Short description",
                                          "Read each question.", 1);
  const std::string b = h.encode();
  ASSERT_EQ(b.size(), 2012u);
  EXPECT_EQ(b.substr(0, 41), std::string(40, 'T') + " ");  // leading blanks gone, cut to 40
  EXPECT_EQ(b.substr(800, 200), fixwidth("Short description", 200));
  EXPECT_EQ(b.substr(1000, 19), "Read each question.");  // always from character 201
  EXPECT_EQ(b.substr(2000), "1" + std::string(11, ' '));
  const testrecord r = testrecord::decode(b);
  EXPECT_EQ(r.title(), std::string(40, 'T'));
  EXPECT_EQ(r.description(), "Short description");
  EXPECT_EQ(r.instructions(), "Read each question.");
  EXPECT_EQ(r.includeflag(), 1);
  // A description longer than 200 characters is cut, not shifted into the instructions.
  const testrecord l = testrecord::header("t", std::string(250, 'd'), "i", 0);
  EXPECT_EQ(l.description(), std::string(200, 'd'));
  EXPECT_EQ(l.instructions(), "i");
  EXPECT_EQ(l.encode().substr(2000, 1), "0");
}

TEST(TestRecord, IncludeFlagRules) {
  EXPECT_GT(withanswer("1").includeflag(), 0);
  EXPECT_EQ(withanswer("0").includeflag(), 0);
  EXPECT_EQ(withanswer(std::string(12, ' ')).includeflag(), 0);
  EXPECT_EQ(withanswer("yes").includeflag(), 0);
  EXPECT_EQ(withanswer("  2").includeflag(), 2);
  EXPECT_EQ(withanswer("2").includeflag(), 2);
}

TEST(TestRecord, CompleteQuestionHasTextAndAnswer) {
  EXPECT_TRUE(questioncomplete("How many?", "2"));
  EXPECT_TRUE(questioncomplete("\r\n", "x"));  // line breaks are not blank
  EXPECT_FALSE(questioncomplete("How many?", std::string(12, ' ')));
  EXPECT_FALSE(questioncomplete("   ", "2"));
  EXPECT_FALSE(questioncomplete("", ""));
}

TEST_F(TestFiles, ZeroByteFileHasNoHeader) {
  std::ofstream(dir_ / "empty.vqt").close();
  const testrecord h = readtestrecord("empty.vqt", 1);
  EXPECT_EQ(h.title(), "");
  EXPECT_EQ(readtestheader("empty.vqt").header.encode(), testrecord::blank().encode());
  EXPECT_EQ(readtestheader("empty.vqt").questions, 0);
  EXPECT_EQ(h.includeflag(), 0);
  EXPECT_EQ(fs::file_size(dir_ / "empty.vqt"), 0u);
}

TEST_F(TestFiles, QuestionKeepsLineBreaksAndLosesOuterBlanks) {
  writetestrecord("q.vqt", 1, testrecord::header("t", "", "", 0));
  writetestrecord("q.vqt", 2, testrecord::item("  \r\nHow many?\r\n  ", " help ", " 2.5 "));
  const testrecord r = readtestrecord("q.vqt", 2);
  EXPECT_EQ(trim(r.question), "\r\nHow many?\r\n");
  EXPECT_EQ(trim(r.help), "help");
  EXPECT_EQ(trim(r.answer), "2.5");
  // Rewriting a question leaves its neighbours alone.
  writetestrecord("q.vqt", 3, testrecord::item("third", "", "3"));
  writetestrecord("q.vqt", 2, testrecord::item("second", "", "2"));
  EXPECT_EQ(trim(readtestrecord("q.vqt", 1).question), "t");
  EXPECT_EQ(trim(readtestrecord("q.vqt", 3).question), "third");
  EXPECT_EQ(fs::file_size(dir_ / "q.vqt"), 3u * 2012);
}
