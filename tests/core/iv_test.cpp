#include <gtest/gtest.h>

#include "tests/core/support.h"

#include <cmath>
#include <set>

#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

using namespace core;

namespace {

// Installs a script of draws for one test and puts the product's source back.
using testsupport::Script;
using testsupport::Seeded;

struct Iv {
  std::string question, helptext;
  double answer = -1;
  std::int16_t volume = -1, dropfactor = -1;
  float hours = -1;
  bool made = false;
  Iv() { made = ivquestion(question, answer, volume, hours, dropfactor, helptext); }
};

const std::string opening =
    "The formula for calculating drop factors is:\r\n"
    "\r\n"
    "volume (mls) X drop factor (drops/ml)\r\n" +
    std::string(50, '-') +
    "\r\n"
    "time (min)\r\n"
    "\r\n"
    " You must first ensure that all units conform to those required in the formula:\r\n";

std::string line(const std::string& text, int n) {
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) start = text.find("\r\n", start) + 2;
  return text.substr(start, text.find("\r\n", start) - start);
}

bool endswith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(IvQuestion, OrderedFormWithItsWholeSolution) {
  // plain family; 500 ml; Normal Saline; 1.5 hours; 15 drops/ml; form 2
  Script s{0.0f, 0.25f, 0.3f, 0.15f, 0.5f, 0.3f};
  Iv q;
  ASSERT_TRUE(q.made);
  const std::string question =
      "Ordered: 500 mls of Normal Saline over 1.5 hours using a giving set which delivers 15 "
      "drops/ml. Calculate the rate in drops/minute.";
  EXPECT_EQ(q.question, question);
  EXPECT_EQ(q.helptext,
            "The Question was :\r\n" + question + "\r\n\r\n" + opening +
                "The volume is 500 mls (mls)\r\n"
                "Over (1.5 hours X 60 minutes) = 90 (min)\r\n"
                "The drop factor is 15 (drops/ml)\r\n"
                "\r\n"
                "Now we plug these numbers into the formula:\r\n"
                "\r\n"
                "500 (mls) / 90 (min) = 5.555555 (mls/min)\r\n"
                "5.555555 (mls/min) X 15 (drops/ml) = 83.33333 (drops/min)\r\n"
                "\r\n"
                "This formula could also be calculated as:\r\n"
                "500 (mls) X 15 (drops/ml) = 7500 (drops)\r\n"
                "7500 (drops) / 90 (min) = 83.33333 (drops/min)\r\n"
                "\r\n"
                "This number requires rounding into a whole number. Because the number after the "
                "decimal point is less than .5 this number is rounded down to 83.");
  EXPECT_EQ(q.answer, 83);
  EXPECT_EQ(q.volume, 500);
  EXPECT_EQ(q.hours, 1.5f);
  EXPECT_EQ(q.dropfactor, 15);
  EXPECT_EQ(s.random.reseeds(), 3);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(IvQuestion, ChartedFormOfOneHour) {
  // 500 ml; Normal Saline; 1 hour; 10 drops/ml; form 1
  Script s{0.0f, 0.25f, 0.3f, 0.05f, 0.1f, 0.0f};
  Iv q;
  EXPECT_EQ(q.question,
            "500 mls of Normal Saline is charted over 1 hour. The drop factor is 10. Calculate "
            "the number of drops per minute.");
  EXPECT_EQ(line(q.helptext, 11), "Over (1 hour X 60 minutes) = 60 (min)");
  EXPECT_EQ(line(q.helptext, 16), "500 (mls) / 60 (min) = 8.333333 (mls/min)");
  EXPECT_EQ(q.answer, 83);
}

TEST(IvQuestion, DripRateFormOfHalfAnHourIsAWholeNumber) {
  // 50 ml (always IV Fluids, no fluid draw); 0.5 hours; 60 drops/ml; form 3
  Script s{0.0f, 0.0f, 0.1f, 0.9f, 0.5f};
  Iv q;
  EXPECT_EQ(q.question,
            "Calculate the drip rate for 50 mls of IV Fluids to be given over 0.5 hours via a "
            "giving set which delivers 60 drops/ml.");
  EXPECT_EQ(line(q.helptext, 10), "The volume is 50 mls (mls)");
  EXPECT_EQ(line(q.helptext, 11), "Over 30 (min)");
  EXPECT_EQ(q.answer, 100);
  EXPECT_TRUE(endswith(q.helptext, "100 (drops/min)\r\n\r\n"));
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(IvQuestion, AdministerFormOfLitres) {
  // 1500 ml; Hartmans; 12 hours; 10 drops/ml; form 4
  Script s{0.1f, 0.75f, 0.8f, 0.95f, 0.1f, 0.9f};
  Iv q;
  EXPECT_EQ(q.question,
            "You are required to administer 1.5 litres of Hartmans (Lactated Ringer's) over 12 "
            "hours. The drop factor is 10. How many drops per minute are required to start the "
            "flow off at the correct rate?");
  EXPECT_EQ(line(q.helptext, 10), "The volume is (1.5 litres X 1000 ml) = 1500 (mls)");
  EXPECT_EQ(line(q.helptext, 11), "Over (12 hours X 60 minutes) = 720 (min)");
  EXPECT_TRUE(endswith(q.helptext, "Because the number after the decimal point is greater than .5 "
                                   "it is rounded up to 21."));
  EXPECT_EQ(q.answer, 21);
}

TEST(IvQuestion, OneLitreAndARateAboveTheLimitIsDrawnAgain) {
  // 1000 ml over 8 hours at 60 drops/ml is 125 drops/min: drawn again with
  // the same family: 1000 ml; Dextrose; 8 hours; 15 drops/ml; form 1.
  Script s{0.0f, 0.4f, 0.5f, 0.55f, 0.9f, 0.4f, 0.5f, 0.55f, 0.5f, 0.0f};
  Iv q;
  EXPECT_EQ(q.question,
            "1 litre of Dextrose 5% in water is charted over 8 hours. The drop factor is 15. "
            "Calculate the number of drops per minute.");
  EXPECT_EQ(line(q.helptext, 10), "The volume is (1 litre X 1000 ml) = 1000 (mls)");
  EXPECT_EQ(q.answer, 31);
  EXPECT_EQ(s.random.reseeds(), 6);
}

TEST(IvQuestion, RunningFormWithLitresAndMillilitresRemaining) {
  // running family; 2000 ml; Dextrose; 10 hours; 15 drops/ml;
  // first try: k = 0 (3 hours elapsed), rate so far 54
  Script s{0.6f, 0.82f, 0.5f, 0.75f, 0.5f, 0.0f, 0.72f};
  Iv q;
  ASSERT_TRUE(q.made);
  const std::string question =
      "2 litres of Dextrose 5% in water is charted over 10 hours. The drop factor is 15. The IV "
      "has been running for 3 hours. 1 litres and 500 mls remain. How many drops per minute are "
      "needed so that the IV finishes in the required time?";
  EXPECT_EQ(q.question, question);
  EXPECT_EQ(q.helptext,
            "The Question was :\r\n" + question + "\r\n\r\n" + opening +
                "The volume is 1 litres and 500 mls = 1500mls (ml) remaining\r\n"
                "Over 600 - 180 = 420 (min) remaining\r\n"
                "The drop factor is 15 (drops/ml)\r\n"
                "\r\n"
                "Now we plug these numbers into the formula:\r\n"
                "\r\n"
                "1500 (mls) / 420 (min) = 3.571429 (mls/min)\r\n"
                "3.571429 (mls/min) X 15 (drops/ml) = 53.57143 (drops/min)\r\n"
                "\r\n"
                "This formula could also be calculated as:\r\n"
                "1500 (mls) X 15 (drops/ml) = 22500 (drops)\r\n"
                "22500 (drops) / 420 (min) = 53.57143 (drops/min)\r\n"
                "\r\n"
                "This number requires rounding into a whole number. Because the number after the "
                "decimal point is greater than .5 it is rounded up to 54.");
  EXPECT_EQ(q.answer, 54);
  EXPECT_EQ(q.volume, 1500);
  EXPECT_EQ(q.hours, 7.0f);
  EXPECT_EQ(q.dropfactor, 15);
  EXPECT_EQ(s.random.reseeds(), 4);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(IvQuestion, RunningFormWithNothingRemaining) {
  // running family; 100 ml is too little and drawn again: 500 ml of IV
  // Fluids over 4.5 hours at 10 drops/ml; the first try's rate so far (8)
  // is too low; the second: 3 hours and 45 minutes elapsed, 0 ml remain.
  Script s{0.9f, 0.1f, 0.25f, 0.0f, 0.9f, 0.1f, 0.0f, 0.0f, 0.942f, 0.1f};
  Iv q;
  EXPECT_EQ(q.question,
            "500 mls of IV Fluids is charted over 4.5 hours. The drop factor is 10. The IV has "
            "been running for 3 hours and 45 minutes. 0 mls remain. How many drops per minute "
            "are needed so that the IV finishes in the required time?");
  EXPECT_EQ(line(q.helptext, 10), "The volume is 0 mls (ml) remaining");
  EXPECT_EQ(line(q.helptext, 11), "Over 270 - 225 = 45 (min) remaining");
  EXPECT_EQ(line(q.helptext, 16), "0 (mls) / 45 (min) = 0 (mls/min)");
  EXPECT_EQ(line(q.helptext, 21), "0 (drops) / 45 (min) = 0 (drops/min)");
  EXPECT_TRUE(endswith(q.helptext, "0 (drops/min)\r\n\r\n"));
  EXPECT_EQ(q.answer, 0);
  EXPECT_EQ(q.volume, 0);
  EXPECT_EQ(q.hours, 0.75f);
  EXPECT_EQ(q.dropfactor, 10);
  EXPECT_EQ(s.random.reseeds(), 6);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(IvQuestion, RunningFormOfThreeLitresOverTwelveHours) {
  // 3000 ml always goes with 12 hours: the time step draws nothing.
  Script s{0.6f, 0.95f, 0.3f, 0.1f, 0.0f, 0.475f};
  Iv q;
  EXPECT_EQ(q.question,
            "3 litres of Normal Saline is charted over 12 hours. The drop factor is 10. The IV "
            "has been running for 3 hours and 30 minutes. 2 litres remain. How many drops per "
            "minute are needed so that the IV finishes in the required time?");
  EXPECT_EQ(line(q.helptext, 10), "The volume is 2 litres = 2000mls (ml) remaining");
  EXPECT_EQ(line(q.helptext, 11), "Over 720 - 210 = 510 (min) remaining");
  EXPECT_EQ(q.volume, 2000);
  EXPECT_EQ(q.hours, 8.5f);
  EXPECT_EQ(q.answer, 39);
  EXPECT_EQ(s.random.reseeds(), 3);  // volume, drop factor and the one try: no time is drawn
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(IvQuestion, RunningFormWithMinutesOrOneHourElapsed) {
  {
    // 500 ml of Normal Saline over 1 hour at 10 drops/ml; 15 minutes elapsed
    Script s{0.6f, 0.25f, 0.3f, 0.05f, 0.1f, 0.0f, 0.5f};
    Iv q;
    EXPECT_EQ(q.question,
              "500 mls of Normal Saline is charted over 1 hour. The drop factor is 10. The IV has "
              "been running for 15 minutes. 350 mls remain. How many drops per minute are needed "
              "so that the IV finishes in the required time?");
    EXPECT_EQ(line(q.helptext, 10), "The volume is 350 mls (ml) remaining");
    EXPECT_EQ(line(q.helptext, 11), "Over 60 - 15 = 45 (min) remaining");
    EXPECT_EQ(line(q.helptext, 17), "7.777778 (mls/min) X 10 (drops/ml) = 77.77778 (drops/min)");
    EXPECT_EQ(q.answer, 78);
    EXPECT_EQ(q.hours, 0.75f);
  }
  {
    // 500 ml over 2 hours at 15 drops/ml; 1 hour elapsed; a whole new rate
    Script s{0.6f, 0.25f, 0.3f, 0.3f, 0.5f, 0.51f, 0.5f};
    Iv q;
    EXPECT_EQ(q.question,
              "500 mls of Normal Saline is charted over 2 hours. The drop factor is 15. The IV has "
              "been running for 1 hour. 200 mls remain. How many drops per minute are needed so "
              "that the IV finishes in the required time?");
    EXPECT_EQ(line(q.helptext, 11), "Over 120 - 60 = 60 (min) remaining");
    EXPECT_EQ(q.answer, 50);
    EXPECT_TRUE(endswith(q.helptext, "= 50 (drops/min)\r\n\r\n"));
  }
}

TEST(IvRounding, TheBoundaryIsPointFortyNine) {
  double answer = 0;
  std::string text;
  const std::string opening = "This number requires rounding into a whole number.";
  ivrounding(17.495f, answer, text);
  EXPECT_EQ(answer, 18);
  EXPECT_EQ(text, opening + " Because the number after the decimal point is greater than .5 it is "
                            "rounded up to 18.");
  ivrounding(17.5f, answer, text);
  EXPECT_EQ(answer, 18);
  EXPECT_EQ(text, opening + " Because the number after the decimal point is greater than .5 it is "
                            "rounded up to 18.");
  ivrounding(17.45f, answer, text);
  EXPECT_EQ(answer, 17);
  EXPECT_EQ(text, opening + " Because the number after the decimal point is less than .5 this "
                            "number is rounded down to 17.");
  ivrounding(17.49f, answer, text);
  EXPECT_EQ(answer, 17);
  ivrounding(83.0f, answer, text);
  EXPECT_EQ(answer, 83);
  EXPECT_EQ(text, "");
}

TEST(IvQuestion, ManyDrawsStayWithinTheLimits) {
  Seeded seeded(20261209u);
  std::set<std::string> beginnings;
  for (int i = 0; i < 5000; ++i) {
    Iv q;
    ASSERT_TRUE(q.made);
    ASSERT_GE(q.answer, 0);
    ASSERT_LE(q.answer, 120);
    ASSERT_EQ(q.answer, std::floor(q.answer));
    ASSERT_TRUE(q.dropfactor == 10 || q.dropfactor == 15 || q.dropfactor == 60);
    ASSERT_GT(q.hours, 0);
    ASSERT_GE(q.volume, 0);
    ASSERT_LE(q.volume, 3000);
    ASSERT_EQ(q.question.find('\r'), std::string::npos);
    ASSERT_EQ(q.helptext.rfind("The Question was :\r\n" + q.question + "\r\n\r\n", 0), 0u);
    beginnings.insert(q.question.substr(0, 8));
  }
  EXPECT_GE(beginnings.size(), 5u);  // every form appears
}
