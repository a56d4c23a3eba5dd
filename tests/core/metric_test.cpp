#include <gtest/gtest.h>

#include "tests/core/support.h"

#include "core/convert.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

using namespace core;

namespace {

using testsupport::Script;
using testsupport::Seeded;

struct Metric {
  CoreState state;
  std::string question, helptext;
  double answer = -1, amount = -1;
  Key unused;
  bool made = false;
  explicit Metric(Build build = Build::Trainee, int allmetric = 0, int abbreviations = 0) {
    state.build = build;
    state.tables = filledtables();
    state.settings.allmetric = static_cast<std::int16_t>(allmetric);
    state.settings.abbreviations = static_cast<std::int16_t>(abbreviations);
  }
  void make() { made = metricquestion(state, question, answer, amount, unused, helptext); }
};

std::string explanation(double value, int from, int quantity, int to) {
  std::string mode;
  double result = 0;
  convertunits(filledtables(), value, from, quantity, result, to, mode);
  return mode;
}

}  // namespace

TEST(MetricQuestion, LitreToMillilitreFromTheCommonUnits) {
  // volume; from the bare unit to milli; N = 250
  Script s{0.0f, 0.0f, 0.5f, 0.002495f};
  Metric m;
  m.make();
  ASSERT_TRUE(m.made);
  EXPECT_EQ(m.question, "Convert 0.25 litre to millilitre.");
  EXPECT_EQ(m.amount, 0.25);
  EXPECT_EQ(numtext(m.answer), "250");
  EXPECT_EQ(m.helptext, explanation(0.25, 4, 1, 7));
  EXPECT_EQ(m.helptext.substr(0, m.helptext.find("\r\n")), "To convert 0.25 litres to millilitres");
  EXPECT_NE(m.helptext.find("0.25 litres X 1000 = 250 millilitres\r\n"), std::string::npos);
  EXPECT_TRUE(m.unused.empty());
  EXPECT_EQ(s.random.reseeds(), 3);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(MetricQuestion, WholeQuestionAndSolutionInBothWordings) {
  const std::string nb = std::string(1, NBSP);
  const std::string rule(45, '-');
  const std::string solution =
      "To convert 0.25 litres to millilitres\r\n"
      "the computer used the following formula:\r\n"
      "\r\n"
      "0.25 litres X 1000 = 250 millilitres\r\n"
      "\r\n"
      "The decimal place has been moved 3 places to the right.\r\n"
      "\r\n" +
      rule +
      "\r\n"
      "To work out how many decimal places to move:\r\n"
      "1. Write the metric scale\r\n"
      "2. Identify the two units in the problem\r\n"
      "3. Count the number of units from the unit given to the unit desired\r\n"
      "4. Move the decimal point the number of places from the given unit to the desired unit\r\n"
      "\r\n"
      "For example to convert from litres to millilitres:\r\n"
      "\r\n" +
      nb + "kL  hL  daL L   dL  cL  mL  -   -   \xB5L" + nb + "\r\n" + std::string(12, NBSP) +
      " * > 1 > 2 > 3*" + std::string(13, NBSP) + "\r\n" + rule;
  // volume; from the bare unit to milli; N = 250
  const std::initializer_list<float> draws{0.0f, 0.0f, 0.5f, 0.002495f};
  {
    Script s(draws);
    Metric m;
    m.make();
    EXPECT_EQ(m.question, "Convert 0.25 litre to millilitre.");
    EXPECT_EQ(m.helptext, solution);
  }
  {
    Script s(draws);
    Metric m(Build::Tool);
    m.make();
    EXPECT_EQ(m.question, "\r\nConvert 0.25 litres to millilitres.");
    EXPECT_EQ(m.helptext, solution);
    EXPECT_EQ(m.answer, 250);
    EXPECT_EQ(m.amount, 0.25);
  }
}

TEST(MetricQuestion, FromKiloAHundredThousandIsTooLongAndDrawnAgain) {
  // mass; all units: kilo to the bare unit; N = 100000 is rejected (the
  // answer " 100000000" has 10 characters), then N = 99999.
  const std::initializer_list<float> draws{0.5f, 0.0f, 0.4f, 0.999995f, 0.0f, 0.4f, 0.999985f};
  {
    Script s(draws);
    Metric m(Build::Trainee, -1);
    m.make();
    EXPECT_EQ(m.question, "Convert 99999 kilogram to gram.");
    EXPECT_EQ(m.answer, 99999000);
    EXPECT_EQ(m.amount, 99999);
    EXPECT_EQ(m.helptext, explanation(99999, 1, 2, 4));
    EXPECT_EQ(s.random.reseeds(), 5);
    EXPECT_EQ(s.random.left(), 0u);
  }
  {
    Script s(draws);
    Metric m(Build::Trainee, -1, -1);
    m.make();
    EXPECT_EQ(m.question, "Convert 99999 kg to g.");
  }
  {
    Script s(draws);
    Metric m(Build::Tool, -1);
    m.make();
    EXPECT_EQ(m.question, "\r\nConvert 99999 kilograms to grams.");
    EXPECT_EQ(m.helptext, explanation(99999, 1, 2, 4));
  }
  {
    Script s(draws);
    Metric m(Build::Tool, -1, -1);
    m.make();
    EXPECT_EQ(m.question, "\r\nConvert 99999 kgs to gs.");
  }
}

TEST(MetricQuestion, SameUnitTwiceIsDrawnAgainAndMicroGivesAFraction) {
  // length; metre to metre is drawn again; then micro to the bare unit
  Script s{0.9f, 0.0f, 0.0f, 0.9f, 0.0f, 0.523405f};
  Metric m(Build::Trainee, 0, -1);
  m.make();
  EXPECT_EQ(m.question, "Convert 52341 \xB5m to m.");
  EXPECT_EQ(numtext(m.answer), "0.052341");
  EXPECT_EQ(strform(m.answer).size(), 8u);
  EXPECT_EQ(s.random.reseeds(), 4);
}

TEST(MetricQuestion, ManyDrawsAreAlwaysAskable) {
  Seeded seeded(77u);
  const SharedTables t = filledtables();
  for (int all : {0, -1}) {
    for (int i = 0; i < 3000; ++i) {
      Metric m(Build::Trainee, all);
      m.make();
      ASSERT_TRUE(m.made);
      ASSERT_LE(strform(m.answer).size(), 9u);
      ASSERT_EQ(m.question.rfind("Convert " + numtext(m.amount) + " ", 0), 0u);
      // The units differ and, without all units, are litre/gram/metre, milli or micro.
      const auto to = m.question.find(" to ");
      const std::string from = m.question.substr(m.question.find(' ', 8) + 1, to - m.question.find(' ', 8) - 1);
      const std::string dest = m.question.substr(to + 4, m.question.size() - to - 5);
      ASSERT_NE(from, dest);
      if (all == 0) {
        for (const std::string& u : {from, dest})
          ASSERT_TRUE(u.rfind("milli", 0) == 0 || u.rfind("micro", 0) == 0 || u == "litre" ||
                      u == "gram" || u == "metre")
              << u;
      }
    }
  }
}
