#include "core/history.h"

#include <gtest/gtest.h>

using namespace core;

TEST(HistoryKey, VariantEquality) {
  EXPECT_TRUE(Key() == Key());
  EXPECT_TRUE(Key() == Key(0));
  EXPECT_TRUE(Key(0.0) == Key());
  EXPECT_TRUE(Key() == Key(""));
  EXPECT_TRUE(Key(2) == Key(2.0));
  EXPECT_TRUE(Key(static_cast<std::int16_t>(500)) == Key(500.0f));
  EXPECT_TRUE(Key(1.5f) == Key(1.5));
  EXPECT_FALSE(Key() == Key(1));
  EXPECT_FALSE(Key() == Key("x"));
  EXPECT_TRUE(Key("abc") == Key(std::string("abc")));
  EXPECT_FALSE(Key("abc") == Key("ABC"));
  EXPECT_FALSE(Key("2") == Key(2));
  EXPECT_FALSE(Key(0) == Key(""));
}

namespace {
int keycount(const QuestionHistory& h, int slot) {
  return h.questionhistory[0][static_cast<std::size_t>(slot)].empty() ? 0 : 1;
}
}  // namespace

TEST(AskedBefore, FirstQuestionOfAnExerciseGoesToSlotTwo) {
  QuestionHistory h;
  h.historypos = 1;
  EXPECT_FALSE(askedbefore(h, 12, 0, Key()));
  EXPECT_EQ(h.historypos, 2);
  EXPECT_TRUE(h.questionhistory[0][2] == Key(12));
  EXPECT_EQ(keycount(h, 1), 0);
}

TEST(AskedBefore, TheEntryOfThePreviousCallIsNotSeen) {
  QuestionHistory h;
  h.historypos = 1;
  EXPECT_FALSE(askedbefore(h, 7, 1, Key()));  // slot 2
  EXPECT_FALSE(askedbefore(h, 7, 1, Key()));  // compares 0 and 1 only: slot 3
  EXPECT_EQ(h.historypos, 3);
  EXPECT_TRUE(askedbefore(h, 7, 1, Key()));  // slot 2 is now compared
  EXPECT_EQ(h.historypos, 3);
}

TEST(AskedBefore, EmptyPositionSearchesTheWholeRing) {
  QuestionHistory h;  // the tool: position empty at the start
  // A key set equal to an empty slot is found at once.
  EXPECT_TRUE(askedbefore(h, Key(), 0, ""));
  EXPECT_FALSE(h.historypos.has_value());
  EXPECT_FALSE(askedbefore(h, 500, 1.5f, static_cast<std::int16_t>(15)));
  EXPECT_EQ(h.historypos, 1);
  EXPECT_TRUE(h.questionhistory[2][1] == Key(15));
}

TEST(AskedBefore, RingWrapsFromFortyNineToZeroAndNeverWritesSlotFifty) {
  QuestionHistory h;
  h.historypos = 1;
  for (int q = 0; q < 48; ++q) EXPECT_FALSE(askedbefore(h, 1000 + q, 0, Key()));
  EXPECT_EQ(h.historypos, 49);
  EXPECT_TRUE(h.questionhistory[0][49] == Key(1047));
  EXPECT_FALSE(askedbefore(h, 2000, 0, Key()));
  EXPECT_EQ(h.historypos, 0);
  EXPECT_TRUE(h.questionhistory[0][0] == Key(2000));
  EXPECT_EQ(keycount(h, 50), 0);
  // Position 0: every slot is compared, slot 0 just written included.
  EXPECT_TRUE(askedbefore(h, 2000, 0, Key()));
  EXPECT_EQ(h.historypos, 0);
  EXPECT_TRUE(askedbefore(h, 1047, 0, Key()));
  EXPECT_FALSE(askedbefore(h, 3000, 0, Key()));
  EXPECT_EQ(h.historypos, 1);
  EXPECT_TRUE(h.questionhistory[0][1] == Key(3000));
  // Many more rounds never touch slot 50.
  for (int q = 0; q < 500; ++q) askedbefore(h, 5000 + q, 0, Key());
  EXPECT_EQ(keycount(h, 50), 0);
}

TEST(AskedBefore, OnlyTheSlotsBelowThePositionAreCompared) {
  QuestionHistory h;
  h.historypos = 1;
  for (int q = 1; q <= 10; ++q) askedbefore(h, q, 0, Key());  // slots 2..11
  EXPECT_EQ(h.historypos, 11);
  h.historypos = 5;  // slots 0..4 compared: keys 1, 2, 3 stored in 2..4
  EXPECT_TRUE(askedbefore(h, 2, 0, Key()));
  EXPECT_FALSE(askedbefore(h, 4, 0, Key()));  // key 4 sits in slot 5: not compared
  EXPECT_EQ(h.historypos, 6);
}

TEST(AskedBefore, AKeySetOfZerosMatchesAnEmptySlot) {
  QuestionHistory h;
  h.historypos = 1;
  EXPECT_TRUE(askedbefore(h, 0, 0, Key()));  // slot 0 is empty
  EXPECT_EQ(h.historypos, 1);
}

TEST(AskedBefore, TabletAndFluidKeysAreEqual) {
  QuestionHistory h;
  h.historypos = 1;
  askedbefore(h, static_cast<std::int16_t>(12), static_cast<std::int16_t>(3), Key());
  askedbefore(h, 99, 0, Key());
  EXPECT_TRUE(askedbefore(h, static_cast<std::int16_t>(12), static_cast<std::int16_t>(3), Key()));
}

TEST(AskedBefore, APositionOutsideTheRingStaysSafe) {
  QuestionHistory h;
  h.historypos = 50;
  EXPECT_FALSE(askedbefore(h, 1, 1, 1));
  EXPECT_EQ(h.historypos, 0);
  EXPECT_TRUE(h.questionhistory[0][0] == Key(1));
  h.historypos = 300;
  EXPECT_FALSE(askedbefore(h, 2, 2, 2));
  EXPECT_EQ(h.historypos, 1);
  h.historypos = -4;
  EXPECT_TRUE(askedbefore(h, 2, 2, 2));
}
