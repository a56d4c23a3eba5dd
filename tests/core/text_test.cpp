#include "core/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace core;

TEST(NumberText, ShortFormOfDoubles) {
  EXPECT_EQ(numtext(0.25), "0.25");
  EXPECT_EQ(numtext(250.0), "250");
  EXPECT_EQ(numtext(0.000001), "1E-06");
  EXPECT_EQ(numtext(0.000025), "2.5E-05");
  EXPECT_EQ(numtext(1e15), "1E+15");
  EXPECT_EQ(numtext(1e14), "100000000000000");
  EXPECT_EQ(numtext(0.0001), "0.0001");
  EXPECT_EQ(numtext(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(numtext(-2.5), "-2.5");
  EXPECT_EQ(numtext(1e9), "1000000000");
  EXPECT_EQ(numtext(1e-9), "1E-09");
  EXPECT_EQ(numtext(0.1 + 0.2), "0.3");
}

TEST(NumberText, ShortFormOfSingles) {
  EXPECT_EQ(numtext(500.0f / 90.0f), "5.555555");
  EXPECT_EQ(numtext(500.0f / 90.0f * 15.0f), "83.33333");
  EXPECT_EQ(numtext(1.5f), "1.5");
  EXPECT_EQ(numtext(12345678.0f), "12345680");
  EXPECT_EQ(numtext(1e15f), "1E+15");
  EXPECT_EQ(numtext(0.000025f), "2.5E-05");
  EXPECT_EQ(numtext(0.0001f), "0.0001");
}

TEST(NumberText, StrForm) {
  EXPECT_EQ(strform(0.05), " .05");
  EXPECT_EQ(strform(100000000.0), " 100000000");
  EXPECT_EQ(strform(-0.5), "-.5");
  EXPECT_EQ(strform(0.052341).size(), 8u);
}

TEST(NumberText, PlainText) {
  EXPECT_EQ(plaintext(0.000001), "0.000001");
  EXPECT_EQ(plaintext(1000.0000000000001), "1000");
  EXPECT_EQ(plaintext(1e9), "1000000000");
}

TEST(NumberText, LeadingNumber) {
  EXPECT_EQ(val("  2.50"), 2.5);
  EXPECT_EQ(val("2.5 tablets"), 2.5);
  EXPECT_EQ(val("1 000"), 1000);
  EXPECT_EQ(val("2,5"), 2);
  EXPECT_EQ(val("abc"), 0);
  EXPECT_EQ(val(""), 0);
  EXPECT_EQ(val("-3"), -3);
  EXPECT_EQ(val("1.2.3"), 1.2);
  EXPECT_EQ(val("1E3"), 1000);
  EXPECT_EQ(val("1e"), 1);
  EXPECT_EQ(val("1e999"), 0);
  EXPECT_EQ(val("."), 0);
}

TEST(NumberText, RoundHalfEven) {
  EXPECT_EQ(core::roundeven(2.5), 2);
  EXPECT_EQ(core::roundeven(3.5), 4);
  EXPECT_EQ(core::roundeven(-2.5), -2);
  EXPECT_EQ(core::roundeven(2.6), 3);
}

TEST(NumberText, RoundingBeyondTheRangeIsClamped) {
  EXPECT_EQ(core::roundeven(1e300), std::numeric_limits<long long>::max());
  EXPECT_EQ(core::roundeven(-1e300), std::numeric_limits<long long>::min());
  EXPECT_EQ(core::roundeven(std::nan("")), 0);
}

TEST(TextRules, TrimRemovesBlanksOnly) {
  EXPECT_EQ(trim("  a b  "), "a b");
  EXPECT_EQ(trim("\r\n x \r\n"), "\r\n x \r\n");
  EXPECT_EQ(rtrim("ab  "), "ab");
  EXPECT_EQ(ltrim("  ab "), "ab ");
  EXPECT_EQ(trim("   "), "");
}

TEST(TextRules, FixedWidthsAndCapitals) {
  EXPECT_EQ(fixwidth("Vitamins", 20), "Vitamins" + std::string(12, ' '));
  EXPECT_EQ(fixwidth("abcdef", 3), "abc");
  EXPECT_EQ(rightalign("7", 3), "  7");
  EXPECT_EQ(rightalign("1234", 3), "1234");
  EXPECT_EQ(upper("mg \xB5g \xE9"), "MG \xB5G \xC9");  // the micro sign has no capital
}

TEST(TextRules, NumberKeyFilterKeepsDigitsPointBlankAndControls) {
  for (int code = 0; code < 256; ++code) {
    const bool kept = code < 33 || code == 46 || (code >= 48 && code <= 57) || code >= 128;
    EXPECT_EQ(testkey(code), kept ? code : 0) << code;
  }
}

TEST(TextRules, RecordOfTheBytesOrABlankRecord) {
  const std::string bytes = "aaabbbc";  // two whole records of 3 and a part
  struct Row {
    long n;
    const char* want;
  };
  for (const Row& r : {Row{1, "aaa"}, Row{2, "bbb"}, Row{3, "   "}, Row{4, "   "}, Row{0, "   "}, Row{-1, "   "}})
    EXPECT_EQ(recordat(bytes, r.n, 3, "   "), r.want) << r.n;
  EXPECT_EQ(recordat("", 1, 3, "---"), "---");
}
