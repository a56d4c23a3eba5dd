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

TEST(AskedBefore, TheEntryOfThePreviousCallIsSeen) {
  QuestionHistory h;
  h.historypos = 1;
  EXPECT_FALSE(askedbefore(h, 7, 1, Key()));  // slot 2
  EXPECT_TRUE(askedbefore(h, 7, 1, Key()));   // at once again: found in slot 2
  EXPECT_EQ(h.historypos, 2);
  EXPECT_FALSE(askedbefore(h, 8, 1, Key()));  // slot 3
  // A new exercise sets the position back: its first question is still
  // compared with the last one of the exercise before.
  h.historypos = 1;
  EXPECT_TRUE(askedbefore(h, 8, 1, Key()));
  EXPECT_FALSE(askedbefore(h, 7, 1, Key()));  // slot 2 lies above the position
  EXPECT_EQ(h.historypos, 2);
  // A key set found in the ring is the previous one for the next call.
  h.historypos = 5;
  EXPECT_TRUE(askedbefore(h, 7, 1, Key()));
  h.historypos = 1;
  EXPECT_TRUE(askedbefore(h, 7, 1, Key()));
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

// Keys 1 to 10 stored in slots 2 to 11, then the position set to 5: the
// slots below it and the key set of the previous call are compared.
TEST(AskedBefore, SlotsBelowThePositionAndThePreviousKeysAreCompared) {
  const struct {
    int key;
    bool found;
  } rows[] = {{2, true}, {3, true}, {10, true}, {4, false}, {9, false}};
  for (const auto& row : rows) {
    QuestionHistory h;
    h.historypos = 1;
    for (int q = 1; q <= 10; ++q) askedbefore(h, q, 0, Key());
    ASSERT_EQ(h.historypos, 11);
    h.historypos = 5;
    EXPECT_EQ(askedbefore(h, row.key, 0, Key()), row.found) << row.key;
    EXPECT_EQ(h.historypos, row.found ? 5 : 6) << row.key;
  }
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
