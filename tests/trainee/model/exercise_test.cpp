// The exercise window's marking and burette questions, without a window.
#include "trainee/model/exercise.h"

#include <gtest/gtest.h>

namespace {

using trainee::Verdict;

struct MarkRow {
  int modnum;
  const char* typed;
  const char* stored;
  Verdict verdict;
  const char* ans;     // as judged
  const char* answer;  // as the message shows it
  bool nearenough = false;
};

TEST(Marking, TypedAnswersAgainstStoredOnes) {
  const MarkRow rows[] = {
      // counting drops: within 4 of the count is right, shown as the count
      {1, "40", "44", Verdict::Right, "44", "44", true},
      {1, "48", "44", Verdict::Right, "44", "44", true},
      {1, "39", "44", Verdict::Wrong, "39", "44"},
      {1, "49", "44", Verdict::Wrong, "49", "44"},
      // setting the flow rate: within 2
      {2, "42", "44", Verdict::Right, "44", "44", true},
      {2, "46", "44", Verdict::Right, "44", "44", true},
      {2, "41", "44", Verdict::Wrong, "41", "44"},
      {2, "47", "44", Verdict::Wrong, "47", "44"},
      // the box's untouched text in module 2 is a pass, however near 0 is
      {2, "Answer", "44", Verdict::Pass, "", "44"},
      // typed modules compare the numbers' short forms
      {5, "2.50", "2.5", Verdict::Right, "2.5", "2.5"},
      {5, "  2.5 tablets", "2.5", Verdict::Right, "2.5", "2.5"},
      {5, "1 000", "1000", Verdict::Right, "1000", "1000"},
      {5, "2,5", "2.5", Verdict::Wrong, "2", "2.5"},
      {4, "abc", "2", Verdict::Wrong, "0", "2"},
      {3, "0", "0", Verdict::Right, "0", "0"},
      {6, "", "5", Verdict::Pass, "", "5"},
      {6, "Answer", "5", Verdict::Pass, "", "5"},
      {6, "   ", "5", Verdict::Pass, "", "5"},
      // a test compares and shows texts in capitals
      {7, "mG", "Mg", Verdict::Right, "MG", "MG"},
      {7, " kg ", "Mg", Verdict::Wrong, "KG", "MG"},
      {7, "answer", "mg", Verdict::Wrong, "ANSWER", "MG"},
      {7, "Answer", "mg", Verdict::Pass, "", "MG"},
      {8, "5", "\xB1" "5", Verdict::Wrong, "5", "\xB1" "5"},
  };
  for (const MarkRow& r : rows) {
    SCOPED_TRACE(std::to_string(r.modnum) + " '" + r.typed + "' / '" + r.stored + "'");
    const trainee::Marking m = trainee::markanswer(r.typed, r.stored, r.modnum);
    EXPECT_EQ(m.verdict, r.verdict);
    EXPECT_EQ(m.ans, r.ans);
    EXPECT_EQ(m.answer, r.answer);
    EXPECT_EQ(m.nearenough, r.nearenough);
  }
}

TEST(Marking, WrongAnswerMessageWithAndWithoutWorkedSolution) {
  const trainee::Marking m = trainee::markanswer("kg", "mg", 7);
  EXPECT_EQ(trainee::wrongmessage(m, true),
            "You answered KG.\r\nThe correct answer was MG.\r\nWould you like to see how this was worked out?");
  EXPECT_EQ(trainee::wrongmessage(m, false), "You answered KG.\r\nThe correct answer was MG.");
}

TEST(BuretteQuestions, WholeTextsForOneDraw) {
  const trainee::BuretteQuestion one = trainee::burettequestion(1, 0.49f);
  EXPECT_EQ(one.answer, 44);
  EXPECT_EQ(one.question,
            "Observe the giving set on the right\r\nand count the number of drops\r\ngiven over one minute\r\n"
            "i.e. calulate the current rate of flow.");
  EXPECT_EQ(one.helptext,
            "\r\nThe giving set on the right is delivering \r\n44 (\xB1" "5) drops / minute.\r\n\r\n"
            "To work out the number of drops per minute through observation, simply count the number of drops "
            "over a one minute period. If the IV is running sufficiently fast enough, counting for 30 seconds and "
            "multiplying the result by two should provide an accurate indication of the number of drops being "
            "delivered over one minute.\r\n\r\nThe counter to the right will count the number of drops delivered "
            "over one minute.");

  const trainee::BuretteQuestion two = trainee::burettequestion(2, 0.0f);
  EXPECT_EQ(two.answer, 20);
  EXPECT_EQ(two.question,
            "Set the IV to 20 drops per minute.\r\n\r\n"
            "Use the scroll bars to set the flow and click the accept button when completed.");
  EXPECT_EQ(two.helptext,
            "\r\nLearning how to set an IV takes practice.\r\nOver time it becomes easier to estimate the flow rate "
            "at a glance. It is a good idea to set the IV roughly where you think it should be then time it to see "
            "how accurate you are. Adjust in small increments upwards or downwards until the timing is correct.");
  // the rates run from 20 to 68, always even
  EXPECT_EQ(trainee::burettequestion(2, 0.9999f).answer, 68);
  EXPECT_EQ(trainee::burettequestion(1, 0.04f).answer, 22);
}

}  // namespace

namespace {

TEST(Status, FirstQuestionNoteThenTheCounts) {
  using trainee::StatusCounts;
  struct Row {
    StatusCounts c;
    const char* text;
  };
  const Row rows[] = {
      {{}, ""},
      {{.questno = 1}, "This is your first question this session"},
      {{.questno = 1, .testcount = 3, .test = true}, "This is the first of 3 questions."},
      {{.questno = 1, .testcount = 10, .nincorrect = 1, .test = true},
       "Question : 1 / 10\r\rCorrect: 0\rIncorrect: 1\rPassed on: 0"},
      {{.questno = 2, .ncorrect = 1}, "Question : 2\r\rCorrect: 1\rIncorrect: 0\rPassed on: 0"},
      {{.questno = 2, .testcount = 10, .showcounts = false, .showpassed = false}, "Question : 2 / 10\r\r"},
      {{.questno = 3, .npassed = 2, .showcounts = false}, "Question : 3\r\rPassed on: 2"},
  };
  for (const Row& r : rows) EXPECT_EQ(trainee::statustext(r.c), r.text);
}

}  // namespace
