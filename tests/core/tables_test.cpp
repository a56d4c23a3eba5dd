#include "core/tables.h"

#include <gtest/gtest.h>

using namespace core;

TEST(SharedTables, MetricPrefixes) {
  const SharedTables t = filledtables();
  EXPECT_EQ(t.prefixname[1], "kilo");
  EXPECT_EQ(t.prefixname[3], "deka");
  EXPECT_EQ(t.prefixname[4], "");
  EXPECT_EQ(t.prefixsymbol[4], "");
  EXPECT_EQ(t.prefixname[7], "milli");
  EXPECT_EQ(t.prefixsymbol[3], "da");
  ASSERT_EQ(t.prefixsymbol[8].size(), 1u);
  EXPECT_EQ(static_cast<unsigned char>(t.prefixsymbol[8][0]), 181);
  EXPECT_EQ(t.prefixname[0], "");
  const char* factors[9] = {"", "1000", "100", "10", "1", "0.1", "0.01", "0.001", "1E-06"};
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(t.prefixfactor[i], factors[i]) << i;
  EXPECT_EQ(prefixvalue(t, 8), 0.000001);
  EXPECT_EQ(prefixvalue(t, 1), 1000);
  // Unit code u selects entry u + 1: mg is code 6.
  EXPECT_EQ(t.prefixsymbol[6 + 1] + t.basesymbol[2], "mg");
  EXPECT_EQ(t.prefixname[4] + t.baseunit[2], "gram");
}

TEST(SharedTables, BaseUnitsAndLineBreak) {
  const SharedTables t = filledtables();
  EXPECT_EQ(t.basesymbol[1], "L");
  EXPECT_EQ(t.baseunit[1], "litre");
  EXPECT_EQ(t.baseunit[3], "metre");
  EXPECT_EQ(t.basesymbol[0], "");
  EXPECT_EQ(t.crlf, "\r\n");
}

TEST(SharedTables, Preparations) {
  const SharedTables t = filledtables();
  EXPECT_EQ(t.prepname[0], "tablet");
  EXPECT_EQ(t.prepname[4], "Syrup");
  EXPECT_EQ(t.prepname[6], "liquid forte ");
  EXPECT_EQ(t.prepname[6].size(), 13u);
  EXPECT_EQ(t.prepname[10], "liquid for IV Injection");
  EXPECT_EQ(t.preproute[0], "");
  EXPECT_EQ(t.preproute[1], "");
  EXPECT_EQ(t.preproute[7], "orally");
  EXPECT_EQ(t.preproute[8], "by intramuscular injection");
  EXPECT_EQ(t.preproute[9], "by subcutaneous injection");
  EXPECT_EQ(t.preproute[10], "intravenously");
  // Each table fills only its own entries.
  SharedTables p;
  fillpreptables(p);
  EXPECT_EQ(p.crlf, "");
  EXPECT_EQ(p.prefixname[1], "");
}

TEST(WindowPlacement, CentredAndAboveTheMiddle) {
  const Placement p = centreposition(11520, 15360, 6000, 8000);
  EXPECT_EQ(p.top, 1896);
  EXPECT_EQ(p.left, 3680);
  // Odd sizes lose their half twip on each halving.
  EXPECT_EQ(centreposition(11520, 15360, 6001, 8001).left, 3680);
  EXPECT_EQ(centreposition(11520, 15361, 6001, 8001).top, 1896);
  // Exactly 0.85 of the screen high: top 0; higher: above the screen.
  EXPECT_EQ(centreposition(10000, 15360, 8500, 8000).top, 0);
  EXPECT_LT(centreposition(10000, 15360, 8502, 8000).top, 0);
  EXPECT_LT(centreposition(10000, 8000, 100, 9000).left, 0);
  // Rounding before halving: 0.85 x 11530 = 9800.5 rounds to 9800 (even).
  EXPECT_EQ(centreposition(11530, 0, 0, 0).top, 4900);
  EXPECT_EQ(centreposition(0, 0, 2.5, 0).top, -1);   // 2.5 rounds to 2, half 1
  EXPECT_EQ(centreposition(0, 0, 3.5, 0).top, -2);   // 3.5 rounds to 4, half 2
}
