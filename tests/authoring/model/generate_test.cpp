#include <gtest/gtest.h>

#include "tests/core/support.h"

#include "authoring/model/generate.h"
#include "core/askagain.h"
#include "core/generators.h"
#include "core/text.h"
#include "tests/authoring/twodrugs.h"

using namespace authoring;

namespace {

// A tool's core state on a database of one tablet drug (category 1) and
// one fluid drug (category 2).
class Generation : public testsupport::TempFolder {
 protected:
  core::CoreState state;
  TestDocument doc;
  std::int16_t& numquest = doc.numquest;
  std::int16_t& qno = doc.qno;
  std::vector<core::testrecord> stored;
  std::vector<std::int16_t> storedat;

  void SetUp() override {
    TempFolder::SetUp();
    state.build = core::Build::Tool;
    state.tables = core::filledtables();
    tooltest::writetwodrugs();
    auto& l = state.lists;
    l.ncategories = 2;
    l.catname = {"", core::fixwidth("Analgesics", 20), core::fixwidth("Antibiotics", 20)};
    l.catnum = {0, 1, 2};
    l.ntablets = 1;
    l.tabrec = {0, 1};
    l.tabcat = {0, 1};
    l.nfluids = 1;
    l.fluidrec = {0, 2};
    l.fluidcat = {0, 2};
  }
  BatchEnd run(const std::string& box, std::vector<int> kinds, std::function<bool(int)> ticked, bool fresh) {
    const BatchPlan plan = planbatch(box, numquest, qno, fresh);
    return runbatch(
        doc, plan, kinds, [&](int kind) { return makequestion(state, kind, ticked); },
        [&] {
          stored.push_back(doc.rec);
          storedat.push_back(qno);
        });
  }
  static bool all(int) { return true; }
};

TEST_F(Generation, TheKindIsDrawnFirstAndTheQuestionIsStoredAsTheBoxesHoldIt) {
  // 0.1 of two kinds picks the first (metric); then litres to millilitres, 250.
  testsupport::Script s{0.1f, 0.0f, 0.0f, 0.5f, 0.002495f};
  numquest = 4;
  qno = 2;
  const BatchEnd end = run("1", {1, 4}, all, false);
  ASSERT_EQ(end.made, 1);
  EXPECT_EQ(numquest, 5);
  EXPECT_EQ(qno, 5);
  EXPECT_EQ(stored[0].question, core::fixwidth("\r\nConvert 0.25 litres to millilitres.", 800));
  EXPECT_EQ(stored[0].answer, core::fixwidth("250", 12));
  EXPECT_EQ(stored[0].help.substr(0, 38), "To convert 0.25 litres to millilitres\r");
  EXPECT_EQ(s.random.left(), 0u);
}

TEST_F(Generation, TheDropRateQuestionIsGivenItsLeadingLineBreak) {
  testsupport::Seeded seeded(5u);
  run("1", {4}, all, true);
  ASSERT_EQ(stored.size(), 1u);
  // The same draws straight from the generator: the kind draw, then the question.
  core::SystemRandom again(5u);
  core::setrng(&again);
  core::rng().rnd();
  std::string question, help;
  double answer = 0;
  std::int16_t volume = 0, factor = 0;
  float hours = 0;
  ASSERT_TRUE(core::ivquestion(question, answer, volume, hours, factor, help));
  EXPECT_NE(question.substr(0, 2), "\r\n");
  EXPECT_EQ(stored[0].question, core::fixwidth("\r\n" + question, 800));
  EXPECT_EQ(stored[0].answer, core::fixwidth(core::numtext(answer), 12));
}

TEST_F(Generation, QuestionsMadeBeforeAFailureStay) {
  // A tablet question, then a fluid one without candidate.
  testsupport::Script s{0.1f, 0.0f, 0.0f, 0.5f, 0.9f};
  numquest = qno = 3;
  const BatchEnd end = run("4", {2, 3}, [](int c) { return c == 1; }, false);
  EXPECT_EQ(end.message,
            "Sorry no fluid dosage questions could be constructed using the question categories selected from the "
            "menu bar.");
  EXPECT_EQ(end.made, 1);
  EXPECT_EQ(numquest, 4);
  EXPECT_EQ(qno, 4);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(core::trim(stored[0].question).substr(0, 44), "\r\nA client is ordered 1 gram of Paracetamol.");
}

TEST(BatchPlan, CountBoxAndTheLimitOf99) {
  struct Case {
    std::string box;
    std::int16_t numquest, qno;
    bool fresh;
    long count;
    bool cut;
    std::int16_t start;
  };
  const Case cases[] = {
      {"", 1, 1, true, 1, false, 0},     {"0", 1, 1, true, 1, false, 0},  {" 5", 1, 1, true, 5, false, 0},
      {"5", 1, 1, false, 5, false, 1},   {"5", 2, 1, true, 5, false, 2},  {"5", 97, 40, false, 2, true, 97},
      {"5", 99, 99, false, 0, true, 99}, {"1", 98, 98, false, 1, false, 98},
      {"99", 1, 1, true, 99, false, 0},  {"2 3", 1, 1, true, 23, false, 0},
  };
  for (const Case& c : cases) {
    const BatchPlan p = planbatch(c.box, c.numquest, c.qno, c.fresh);
    EXPECT_EQ(p.count, c.count) << c.box << " " << c.numquest;
    EXPECT_EQ(p.cut, c.cut) << c.box << " " << c.numquest;
    EXPECT_EQ(p.numquest, c.start) << c.box << " " << c.numquest;
  }
}

}  // namespace
