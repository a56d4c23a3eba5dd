#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/core/support.h"

#include "core/askagain.h"
#include "core/drug.h"
#include "core/text.h"

using namespace core;

namespace {

// Draws recorded from a seeded generator, or played back over and over, so
// that every try makes the same question.
struct Replay : RandomSource {
  SystemRandom source{7};
  std::vector<float> draws;
  bool recording = true;
  std::size_t next = 0, used = 0;
  void reseed() override {}
  float rnd() override {
    ++used;
    if (recording) {
      draws.push_back(source.rnd());
      return draws.back();
    }
    const float r = draws[next];
    next = (next + 1) % draws.size();
    return r;
  }
};

class AskAgainTest : public testsupport::TempFolder {
 protected:
  CoreState state;
  std::string question;
  double answer = 0;

  void SetUp() override {
    TempFolder::SetUp();
    state.tables = filledtables();
    drugrecord d;
    d.genericname = fixwidth("Paracetamol", 30);
    d.doserange[0] = {250, 6};
    d.doserange[1] = {1, 3};
    d.strength[0] = 500;
    d.strengthunit[0] = 6;
    writedrug(1, d);
  }
  void TearDown() override {
    setrng(nullptr);
    TempFolder::TearDown();
  }
  // A question asked once, then (with older) another, then the first made
  // over and over: the tries of the last call. The check sees the question
  // asked last, and does not use it again while twice the bound of tries
  // allows; an older repeat is used at the bound.
  std::size_t repeattries(QuestionKind kind, bool older) {
    Replay replay;
    setrng(&replay);
    state.history = {};
    EXPECT_TRUE(makeunrepeated(state, kind, question, answer));
    const std::size_t one = replay.draws.size();
    const std::string first = question;
    if (older) {
      EXPECT_TRUE(makeunrepeated(state, kind, question, answer));
      EXPECT_NE(question, first);
      replay.draws.resize(one);
    }
    replay.recording = false;
    replay.used = 0;
    EXPECT_TRUE(makeunrepeated(state, kind, question, answer));
    EXPECT_EQ(question, first);
    setrng(nullptr);
    return replay.used / one;
  }
};

TEST_F(AskAgainTest, TabletRepeatsAreAskedAgainAtMostOnceMoreThanThereAreCandidates) {
  for (std::int16_t candidates : {1, 3}) {
    state.lists.selected.assign(static_cast<std::size_t>(candidates) + 1, 1);
    state.lists.nselected = candidates;
    EXPECT_EQ(repeattries(QuestionKind::Tablet, false), static_cast<std::size_t>(2 * (candidates + 1)));
    EXPECT_EQ(question.substr(0, 42), "A client is ordered 1 gram of Paracetamol.");
  }
}

TEST_F(AskAgainTest, MetricAndDropRateRepeatsAreBoundToo) {
  for (QuestionKind kind : {QuestionKind::Metric, QuestionKind::Droprate}) {
    EXPECT_EQ(repeattries(kind, false), static_cast<std::size_t>(2 * (MAXREPEATS + 1)));
    EXPECT_EQ(repeattries(kind, true), static_cast<std::size_t>(MAXREPEATS + 1));
  }
}

TEST_F(AskAgainTest, NoQuestionWhenTheGeneratorHasNoCandidate) {
  state.lists.nselected = 0;
  EXPECT_FALSE(makeunrepeated(state, QuestionKind::Fluid, question, answer));
}

TEST(Candidates, GroupedByTickedCategoryInCategoryOrderEachEntryOnce) {
  DrugLists lists;
  lists.ncategories = 4;
  lists.catnum = {0, 7, 3, 9, 7};  // category 4 repeats the number of category 1
  lists.ntablets = 5;
  lists.tabrec = {0, 11, 12, 13, 14, 15};
  lists.tabcat = {0, 3, 7, 3, 9, 7};
  lists.nfluids = 1;
  lists.fluidrec = {0, 21};
  lists.fluidcat = {0, 9};
  const auto all = [](int) { return true; };
  ASSERT_TRUE(collectcandidates(lists, QuestionKind::Tablet, all));
  EXPECT_EQ(lists.nselected, 5);
  EXPECT_EQ(std::vector<std::int16_t>(lists.selected.begin() + 1, lists.selected.begin() + 6),
            (std::vector<std::int16_t>{12, 15, 11, 13, 14}));
  EXPECT_FALSE(collectcandidates(lists, QuestionKind::Fluid, [](int c) { return c != 3; }));
  EXPECT_EQ(lists.nselected, 0);
  ASSERT_TRUE(collectcandidates(lists, QuestionKind::Fluid, [](int c) { return c == 3; }));
  EXPECT_EQ(lists.selected[1], 21);
}

}  // namespace

TEST(Ticks, NoneTickedTicksAllSomeTickedStay) {
  std::array<bool, 4> kinds{};
  tickallifnone(kinds);
  EXPECT_EQ(kinds, (std::array<bool, 4>{true, true, true, true}));
  std::vector<bool> categories{false, true, false};
  tickallifnone(categories);
  EXPECT_EQ(categories, (std::vector<bool>{false, true, false}));
  std::vector<bool> none;
  tickallifnone(none);  // no categories: nothing to tick
  EXPECT_TRUE(none.empty());
}
