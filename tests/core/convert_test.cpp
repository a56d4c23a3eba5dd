#include "core/convert.h"

#include <gtest/gtest.h>

#include "core/text.h"

using namespace core;

namespace {

const SharedTables tables = filledtables();

std::string nb(std::size_t n) { return std::string(n, NBSP); }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const auto pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
}

std::string convert(double value, int from, int quantity, int to, double& result,
                    std::string mode = "") {
  convertunits(tables, value, from, quantity, result, to, mode);
  return mode;
}

const std::string gramscale = nb(1) + "kg  hg  dag g   dg  cg  mg  -   -   \xB5g" + nb(1);

}  // namespace

TEST(ConvertUnits, MilligramsToGramsShortAndLong) {
  double result = 0;
  const std::string head =
      "To convert 250 milligrams to grams\r\n"
      "the computer used the following formula:\r\n"
      "\r\n"
      "250 milligrams X 0.001 = 0.25 grams";
  EXPECT_EQ(convert(250, 7, 2, 4, result, "short"), head);
  EXPECT_EQ(result, 0.25);

  const std::string rule(45, '-');
  const std::string full =
      head + "\r\n\r\nThe decimal place has been moved 3 places to the left.\r\n\r\n" + rule +
      "\r\n"
      "To work out how many decimal places to move:\r\n"
      "1. Write the metric scale\r\n"
      "2. Identify the two units in the problem\r\n"
      "3. Count the number of units from the unit given to the unit desired\r\n"
      "4. Move the decimal point the number of places from the given unit to the desired unit\r\n"
      "\r\n"
      "For example to convert from milligrams to grams:\r\n"
      "\r\n" +
      gramscale + "\r\n" + nb(12) + "*3 < 2 < 1 < * " + nb(13) + "\r\n" + rule;
  EXPECT_EQ(convert(250, 7, 2, 4, result), full);
  EXPECT_EQ(gramscale.size(), 40u);
}

TEST(ConvertUnits, OnlyTheExactWordShortGivesTheShortForm) {
  double result = 0;
  EXPECT_EQ(lines(convert(250, 7, 2, 4, result, "short")).size(), 4u);
  EXPECT_EQ(lines(convert(250, 7, 2, 4, result, "Short")).size(), 19u);
  EXPECT_EQ(lines(convert(250, 7, 2, 4, result, "short ")).size(), 19u);
  EXPECT_EQ(lines(convert(250, 7, 2, 4, result, "an old explanation")).size(), 19u);
}

TEST(ConvertUnits, KilogramToMicrograms) {
  double result = 0;
  const auto l = lines(convert(1, 1, 2, 8, result));
  EXPECT_EQ(result, 1e9);
  EXPECT_EQ(l[0], "To convert 1 kilograms to micrograms");
  EXPECT_EQ(l[3], "1 kilograms X 1000000000 = 1000000000 micrograms");
  EXPECT_EQ(l[5], "The decimal place has been moved 9 places to the right.");
  EXPECT_EQ(l[16], gramscale);
  EXPECT_EQ(l[17], " * > 1 > 2 > 3 > 4 > 5 > 6 > 7 > 8 > 9*" + nb(1));
  EXPECT_EQ(l[17].size(), 40u);
}

TEST(ConvertUnits, KilogramsAndMilligramsBothWays) {
  double result = 0;
  EXPECT_EQ(lines(convert(2, 1, 2, 7, result))[17], " * > 1 > 2 > 3 > 4 > 5 > 6*" + nb(13));
  EXPECT_EQ(result, 2000000);
  EXPECT_EQ(lines(convert(2, 7, 2, 1, result))[17], "*6 < 5 < 4 < 3 < 2 < 1 < * " + nb(13));
}

TEST(ConvertUnits, MicrogramsToGramsInExponentForm) {
  double result = 0;
  const auto l = lines(convert(5, 8, 2, 4, result));
  EXPECT_EQ(l[3], "5 micrograms X 1E-06 = 5E-06 grams");
  EXPECT_EQ(l[5], "The decimal place has been moved 6 places to the left.");
  EXPECT_EQ(l[17], nb(12) + "*6 < 5 < 4 < 3 < 2 < 1 < * " + nb(1));
}

TEST(ConvertUnits, MicrolitreToKilolitres) {
  double result = 0;
  const auto l = lines(convert(1, 8, 1, 1, result));
  EXPECT_EQ(l[3], "1 microlitres X 1E-09 = 1E-09 kilolitres");
  EXPECT_EQ(l[5], "The decimal place has been moved 9 places to the left.");
  EXPECT_EQ(l[16], nb(1) + "kL  hL  daL L   dL  cL  mL  -   -   \xB5L" + nb(1));
  EXPECT_EQ(l[17], "*9 < 8 < 7 < 6 < 5 < 4 < 3 < 2 < 1 < * " + nb(1));
}

TEST(ConvertUnits, MilliToMicroUsesTheHyphenColumns) {
  double result = 0;
  const auto l = lines(convert(3, 7, 3, 8, result));
  EXPECT_EQ(l[0], "To convert 3 millimetres to micrometres");
  EXPECT_EQ(l[5], "The decimal place has been moved 3 places to the right.");
  const std::string marker = nb(24) + " * > 1 > 2 > 3*" + nb(1);
  EXPECT_EQ(l[17], marker);
  // Each number stands under the first character of its label.
  EXPECT_EQ(l[16][29], '-');
  EXPECT_EQ(l[17][29], '1');
  EXPECT_EQ(l[16][33], '-');
  EXPECT_EQ(l[17][33], '2');
  EXPECT_EQ(l[16][37], '\xB5');
  EXPECT_EQ(l[17][37], '3');
  EXPECT_EQ(l[18], std::string(45, '-'));
}

TEST(ConvertUnits, OneStepTakesThePluralToo) {
  double result = 0;
  const auto l = lines(convert(1, 7, 2, 6, result));
  EXPECT_EQ(l[0], "To convert 1 milligrams to centigrams");
  EXPECT_EQ(l[5], "The decimal place has been moved 1 places to the left.");
  EXPECT_EQ(l[17], nb(20) + "*1 < * " + nb(13));
}

TEST(DecimalMoved, CountsTheZerosOfThePlainRatio) {
  std::string s;
  decimalmoved(1000, s);
  EXPECT_EQ(s, "The decimal place has been moved 3 places to the right.");
  decimalmoved(0.000001, s);
  EXPECT_EQ(s, "The decimal place has been moved 6 places to the left.");
  decimalmoved(1000.0000000000001, s);
  EXPECT_EQ(s, "The decimal place has been moved 3 places to the right.");
  decimalmoved(0.001 / 1000, s);
  EXPECT_EQ(s, "The decimal place has been moved 6 places to the left.");
  decimalmoved(10, s);
  EXPECT_EQ(s, "The decimal place has been moved 1 places to the right.");
}
