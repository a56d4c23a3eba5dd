#include <gtest/gtest.h>

#include "tests/core/support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

#include "core/askagain.h"
#include "core/convert.h"
#include "core/files.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

using namespace core;

namespace {

using testsupport::Script;
using testsupport::Seeded;

struct Row {
  int type;
  double strength;
  int unit;
  double volume;
};

drugrecord makedrug(const std::string& name, double high, int highunit, double increment,
                    std::initializer_list<Row> rows, std::string trade0 = "") {
  drugrecord d;
  d.genericname = fixwidth(name, 30);
  d.tradename = {fixwidth(trade0, 30), fixwidth("", 30)};
  d.doserange[0] = {0, static_cast<std::int16_t>(highunit)};
  d.doserange[1] = {high, static_cast<std::int16_t>(highunit)};
  d.increment = increment;
  int k = 0;
  for (const Row& r : rows) {
    d.preptype[k] = static_cast<std::int16_t>(r.type);
    d.strength[k] = r.strength;
    d.strengthunit[k] = static_cast<std::int16_t>(r.unit);
    d.volume[k] = r.volume;
    d.volumeunit[k] = 6;
    ++k;
  }
  return d;
}

constexpr int MG = 6, G = 3;

class FluidTest : public testsupport::TempFolder {
 protected:
  CoreState state;
  std::string question, helptext;
  double answer = -1;
  std::int16_t recno = -1, row = -1;

  void SetUp() override {
    TempFolder::SetUp();
    state.tables = filledtables();
    const drugrecord db[] = {
        // 1: a tablet row, never used here, and a syrup of 250 mg in 5 ml
        makedrug("Amoxycillin", 500, MG, 125, {{0, 500, MG, 0}, {4, 250, MG, 5}}),
        // 2: an intramuscular injection, dosed in grams
        makedrug("Cefazolin", 1, G, 0.125, {{8, 250, MG, 5}}),
        // 3: a highest dose below two increments
        makedrug("Chloral", 200, MG, 125, {{4, 250, MG, 5}}),
        // 4: no increment
        makedrug("Noincrement", 500, MG, 0, {{4, 250, MG, 5}}),
        // 5: no volume
        makedrug("Novolume", 500, MG, 125, {{2, 250, MG, 0}}),
        // 6: even one increment is above the highest dose
        makedrug("Toosmall", 100, MG, 125, {{2, 250, MG, 5}}),
        // 7: a strength of 1 in 1 ml, liquid forte, an IV and an SC injection
        makedrug("Morphine", 15, MG, 2.5, {{6, 1, MG, 1}, {10, 10, MG, 1}, {9, 15, MG, 1}}),
    };
    for (long i = 0; i < 7; ++i) writedrug(i + 1, db[i]);
  }
  void select(std::initializer_list<std::int16_t> records) {
    state.lists.selected = {0};
    for (auto r : records) state.lists.selected.push_back(r);
    state.lists.nselected = static_cast<std::int16_t>(records.size());
  }
  bool make() { return fluidquestion(state, question, answer, helptext, recno, row); }
};

const std::string nbsp7(7, NBSP);

}  // namespace

TEST_F(FluidTest, SyrupInTheTraineeWording) {
  select({1});
  Script s{0.0f, 0.0f, 0.4f};  // drug, the syrup row, m = 1 of n = 2 (no reseed)
  ASSERT_TRUE(make());
  const std::string q =
      "A client is ordered 125 milligrams of Amoxycillin orally.\r\n"
      "250 milligrams in 5 millilitres of Syrup is available.\r\n"
      "How many millilitres will you administer?";
  EXPECT_EQ(question, q);
  EXPECT_EQ(helptext,
            "The question was:\r\n" + q +
                "\r\n"
                "\r\n"
                "The formula to use is:\r\n"
                "\r\n"
                "Required dose      Stock Volume\r\n"
                "---------------------  X  --------------------\r\n"
                "Stock dose                     1       \xA0\r\n"
                "\r\n"
                "= Volume to be given\r\n"
                "\r\n"
                "The numbers are now placed in the formula:\r\n"
                "\r\n"
                "125 mg (required dose)" + nbsp7 + "\r\n"
                "------------------------------------- X 5 ml\r\n"
                "250 mg (stock dose)" + nbsp7 + "\r\n"
                "\r\n"
                " = 0.5 X 5 = 2.5 ml.");
  EXPECT_EQ(answer, 2.5);
  EXPECT_EQ(recno, 1);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(state.drugname, "Amoxycillin");  // the fluid module keeps the plain name
  EXPECT_EQ(s.random.reseeds(), 2);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST_F(FluidTest, SyrupTwoIncrementsInTheToolWording) {
  state.build = Build::Tool;
  select({1});
  Script s{0.0f, 0.0f, 0.5f};  // m = 2
  ASSERT_TRUE(make());
  const std::string q =
      "\r\nA client is ordered 250 milligrams of Amoxycillin orally. 250 milligrams in 5 "
      "millilitres of Syrup is available.\r\n"
      "How many millilitres will you administer?";
  EXPECT_EQ(question, q);
  EXPECT_EQ(helptext,
            "The question was:" + q +
                "\r\n\r\nThe formula to use is:\r\n\r\nRequired dose      Stock Volume\r\n"
                "---------------------  X  --------------------\r\n"
                "Stock dose                     1       \xA0\r\n"
                "= Volume to be given\r\n\r\nThe numbers are now placed in the formula:\r\n\r\n"
                "250 mg (required dose)" + nbsp7 + "\r\n------------------------------------- X 5 ml\r\n"
                "250 mg (stock dose)" + nbsp7 + "\r\n\r\n = 1 X 5 = 5 ml.");
  EXPECT_EQ(answer, 5);
}

TEST_F(FluidTest, InjectionWithAConversionInBothWordings) {
  const std::string conversion =
      "All units must be the same so the units of the stock dose is first converted to the "
      "units of the required dose: \r\n"
      "To convert 250 milligrams to grams\r\n"
      "the computer used the following formula:\r\n"
      "\r\n"
      "250 milligrams X 0.001 = 0.25 grams\r\n"
      "\r\n";
  const std::string numbers =
      "The numbers are now placed in the formula:\r\n\r\n"
      "0.125 g (required dose)" + nbsp7 + "\r\n------------------------------------- X 5 ml\r\n"
      "0.25 g (stock dose)" + nbsp7 + "\r\n\r\n = 0.5 X 5 = 2.5 ml.";
  select({2});
  {
    state.settings.abbreviations = -1;
    Script s{0.0f, 0.0f, 0.9f};  // n = 1: the dose is always one increment
    ASSERT_TRUE(make());
    const std::string q =
        "A client is ordered 0.125 gs of Cefazolin by intramuscular injection.\r\n"
        "250 mgs in 5 mls of liquid for IM Injection is available.\r\n"
        "How many mls will you administer?";
    EXPECT_EQ(question, q);
    EXPECT_EQ(helptext, "The question was:\r\n" + q +
                            "\r\n\r\nThe formula to use is:\r\n\r\nRequired dose      Stock Volume\r\n"
                            "---------------------  X  --------------------\r\n"
                            "Stock dose                     1       \xA0\r\n\r\n"
                            "= Volume to be given\r\n\r\n" +
                            conversion + numbers);
    EXPECT_EQ(answer, 2.5);
  }
  {
    state.build = Build::Tool;
    Script s{0.0f, 0.0f, 0.9f};
    ASSERT_TRUE(make());
    const std::string q =
        "\r\nA client is ordered 0.125 g's of Cefazolin by intramuscular injection. 250 mg's in 5 "
        "ml's of liquid for IM Injection is available.\r\n"
        "How many ml's will you administer?";
    EXPECT_EQ(question, q);
    EXPECT_EQ(helptext, "The question was:" + q +
                            "\r\n\r\nThe formula to use is:\r\n\r\nRequired dose      Stock Volume\r\n"
                            "---------------------  X  --------------------\r\n"
                            "Stock dose                     1       \xA0\r\n"
                            "= Volume to be given\r\n\r\n" +
                            conversion + numbers);
  }
}

TEST_F(FluidTest, OnlyOneIncrementBelowTheHighestDoseIsRedrawnUntilItComes) {
  select({3});
  Script s{0.0f, 0.0f, 0.9f, 0.7f, 0.2f};
  ASSERT_TRUE(make());
  EXPECT_EQ(answer, 2.5);
  EXPECT_EQ(s.random.left(), 0u);
  EXPECT_EQ(s.random.reseeds(), 2);
}

TEST_F(FluidTest, SingularUnitsOfOneAndTheRoutes) {
  state.settings.abbreviations = -1;
  select({7});
  {
    Script s{0.0f, 0.0f, 0.0f};  // liquid forte 1 mg in 1 ml; n = 2; m = 1
    ASSERT_TRUE(make());
    EXPECT_EQ(question,
              "A client is ordered 2.5 mgs of Morphine orally.\r\n"
              "1 mg in 1 ml of liquid forte  is available.\r\n"
              "How many mls will you administer?");
    EXPECT_NE(helptext.find("2.5 mg (required dose)" + std::string(7, NBSP) + "\r\n" +
                            std::string(37, '-') + " X 1 ml\r\n"),
              std::string::npos);
    EXPECT_EQ(answer, 2.5);
  }
  state.settings.abbreviations = 0;
  {
    Script s{0.0f, 0.5f, 0.0f};  // IV 10 mg in 1 ml: n = Int(10 / 1 x 3 / 2.5) = 12
    ASSERT_TRUE(make());
    EXPECT_EQ(question,
              "A client is ordered 2.5 milligrams of Morphine intravenously.\r\n"
              "10 milligrams in 1 millilitre of liquid for IV Injection is available.\r\n"
              "How many millilitres will you administer?");
    EXPECT_EQ(answer, 0.25);
  }
  {
    Script s{0.0f, 0.9f, 0.12f};  // SC 15 mg in 1 ml: m = 3 of 18
    ASSERT_TRUE(make());
    EXPECT_EQ(question.substr(0, question.find("\r\n")),
              "A client is ordered 7.5 milligrams of Morphine by subcutaneous injection.");
  }
}

// A dose below the lowest single dose, or one whose answer has more than two
// decimals, is drawn again; a row that cannot hold the lowest dose within
// its volume is never drawn, and a drug without a row to ask is drawn again.
TEST_F(FluidTest, DosesThatCannotBeAskedAreDrawnAgain) {
  drugrecord lowest = makedrug("Lowest", 500, MG, 125, {{4, 250, MG, 5}});
  lowest.doserange[0].amount = 250;
  drugrecord thirds = makedrug("Thirds", 30, MG, 10, {{2, 30, MG, 5}});
  drugrecord rows = makedrug("Tworows", 500, MG, 125, {{4, 250, MG, 5}, {8, 250, MG, 1}});
  rows.doserange[0] = {0.3, G};  // 300 mg: the syrup holds at most 250 mg in 5 ml
  drugrecord none = makedrug("Nodose", 30, MG, 20, {{2, 30, MG, 5}});  // 20 mg is 3.33333333333333 ml
  writedrug(8, lowest);
  writedrug(9, thirds);
  writedrug(10, rows);
  writedrug(11, none);
  drugrecord weak = makedrug("Weak", 50, MG, 25, {{4, 10, MG, 5}});  // not one increment in 5 ml
  writedrug(13, weak);  // no lowest dose: 25 mg would be 12.5 ml
  weak.doserange[0].amount = 25;
  writedrug(12, weak);
  const struct {
    std::initializer_list<std::int16_t> drugs;
    std::initializer_list<float> draws;
    std::string ordered;
    double answer;
    std::int16_t recno, row;
  } cases[] = {
      // m = 1 gives 125 mg, below the lowest dose of 250 mg; m = 2 is asked
      {{8}, {0.0f, 0.0f, 0.0f, 0.5f}, "250 milligrams of Lowest orally", 5, 8, 0},
      // 10 and 20 mg of 30 mg in 5 ml are 1.67 and 3.33 ml; 30 mg is 5 ml
      {{9}, {0.0f, 0.0f, 0.0f, 0.4f, 0.9f}, "30 milligrams of Thirds orally", 5, 9, 0},
      // the syrup is passed over: a row draw of 0 takes the injection
      {{10}, {0.0f, 0.0f, 0.4f}, "375 milligrams of Tworows by intramuscular injection", 1.5, 10, 1},
      // no dose of Nodose can be typed: another drug is drawn, without a row draw
      {{11, 1}, {0.0f, 0.9f, 0.0f, 0.0f}, "125 milligrams of Amoxycillin orally", 2.5, 1, 1},
      // nor can a row that holds not even one increment reach the lowest dose
      {{12, 1}, {0.0f, 0.9f, 0.0f, 0.0f}, "125 milligrams of Amoxycillin orally", 2.5, 1, 1},
      // and without a lowest dose such a row is passed over all the same
      {{13, 1}, {0.0f, 0.9f, 0.0f, 0.0f}, "125 milligrams of Amoxycillin orally", 2.5, 1, 1},
  };
  for (const auto& c : cases) {
    select(c.drugs);
    Script s(c.draws);
    ASSERT_TRUE(make()) << c.ordered;
    EXPECT_EQ(question.substr(0, question.find("\r\n")), "A client is ordered " + c.ordered + ".");
    EXPECT_EQ(answer, c.answer) << c.ordered;
    EXPECT_EQ(recno, c.recno) << c.ordered;
    EXPECT_EQ(row, c.row) << c.ordered;
    EXPECT_EQ(s.random.used(), c.draws.size()) << c.ordered;
  }
  select({11});
  Seeded seeded(4u);
  EXPECT_FALSE(make());
}

TEST_F(FluidTest, NoQuestionFromDrugsThatAdmitNoDose) {
  // fluid rows of strength 0 only
  writedrug(8, makedrug("Nostrength", 500, MG, 125, {{4, 0, MG, 5}, {8, 0, MG, 5}}));
  // a tablet drug, as a fluid list from another rebuild may name it
  writedrug(10, makedrug("Atenolol", 50, MG, 25, {{0, 50, MG, 0}}));
  for (std::int16_t bad : {4, 5, 6, 8, 9, 10}) {
    select({bad});
    EXPECT_FALSE(make()) << bad;
    EXPECT_EQ(question, "");
  }
  select({4, 5, 6, 8, 9, 10, 2});
  Seeded seeded(3u);
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(make());
    ASSERT_EQ(recno, 2);
  }
  std::filesystem::remove(dir_ / "VQDBASE.FIL");
  EXPECT_FALSE(make());
}

TEST_F(FluidTest, AnAnswerTooLargeForANumberIsNoQuestion) {
  // No highest dose to stop it, and a strength so small that one increment
  // needs more millilitres than a double holds.
  writedrug(8, makedrug("Tiny", INFINITY, MG, 125, {{4, 1e-320, MG, 5}}));
  select({8});
  Seeded seeded(5u);
  EXPECT_FALSE(make());
  EXPECT_EQ(question, "");
}

TEST_F(FluidTest, ManyDrawsKeepDosesWithinTheLimits) {
  select({1, 2, 3, 4, 5, 6, 7});
  Seeded seeded(99u);
  std::set<double> answers;
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(make());
    const drugrecord& d = state.drug;
    const auto k = static_cast<std::size_t>(row);
    ASSERT_GE(d.preptype[k], 2);
    const double S =
        convertvalue(state.tables, d.strength[k], d.strengthunit[k] + 1, d.doserange[1].unit + 1);
    const double dose = answer / d.volume[k] * S;
    ASSERT_GT(answer, 0);
    ASSERT_LE(dose, d.doserange[1].amount);
    ASSERT_LE(answer, d.preptype[k] <= 7 ? 5 : 3);
    const double increments = dose / d.increment;
    ASSERT_NEAR(increments, std::round(increments), 1e-9);
    answers.insert(answer);
  }
  EXPECT_GE(answers.size(), 8u);
}

TEST_F(FluidTest, GarbledRecordsNeverHangOrCrashEitherGenerator) {
  std::mt19937 bytes(2026u);
  std::vector<std::int16_t> records;
  for (long i = 1; i <= 20; ++i) {
    std::string raw(240, '\0');
    for (auto& c : raw) c = static_cast<char>(bytes() & 0xFF);
    drugrecord d = drugrecord::decode(raw);
    // Some keep plausible types and units so that more of the record is used.
    if (i % 2 == 0) {
      for (int k = 0; k < 5; ++k) {
        d.preptype[k] = static_cast<std::int16_t>(bytes() % 12);
        d.strengthunit[k] = static_cast<std::int16_t>(bytes() % 8);
      }
      d.doserange[0].unit = static_cast<std::int16_t>(bytes() % 8);
      d.doserange[1].unit = static_cast<std::int16_t>(bytes() % 8);
    }
    writedrug(10 + i, d);
    records.push_back(static_cast<std::int16_t>(10 + i));
  }
  state.lists.selected = {0};
  state.lists.selected.insert(state.lists.selected.end(), records.begin(), records.end());
  state.lists.nselected = static_cast<std::int16_t>(records.size());
  Seeded seeded(8u);
  for (int i = 0; i < 20; ++i) {
    if (make()) {
      ASSERT_TRUE(std::isfinite(answer));
      ASSERT_GT(answer, 0);
    }
    if (tabletquestion(state, question, answer, helptext, recno, row)) {
      ASSERT_GE(answer, 0.5);
      ASSERT_LE(answer, 5);
    }
  }
}

// The bundled sample database: every fluid drug can be asked, and no
// question orders less than the drug's lowest dose or has an answer of
// more than two decimals, in either program's wording.
TEST_F(FluidTest, SampleDatabaseAsksOnlyDosesWithinTheRangeAndTypeableAnswers) {
  for (const char* name : {DRUG_DATABASE, SOLID_INDEX, FLUID_INDEX, CATEGORY_FILE})
    std::filesystem::copy_file(std::filesystem::path(DOSAVO_SAMPLE_DIR) / name, dir_ / name,
                               std::filesystem::copy_options::overwrite_existing);
  loaddruglists(state.lists, Build::Trainee, nullptr);
  ASSERT_TRUE(collectcandidates(state.lists, QuestionKind::Fluid, [](int) { return true; }));
  std::set<std::int16_t> asked;
  Seeded seeded(2026u);
  for (int i = 0; i < 12000; ++i) {
    state.build = i % 2 ? Build::Tool : Build::Trainee;
    ASSERT_TRUE(make());
    asked.insert(recno);
    const drugrecord& d = state.drug;
    const auto k = static_cast<std::size_t>(row);
    const double S =
        convertvalue(state.tables, d.strength[k], d.strengthunit[k] + 1, d.doserange[1].unit + 1);
    const double L =
        convertvalue(state.tables, d.doserange[0].amount, d.doserange[0].unit + 1, d.doserange[1].unit + 1);
    const double dose = answer / d.volume[k] * S;
    ASSERT_GE(dose, L * (1 - 1e-9)) << question;
    ASSERT_LE(dose, d.doserange[1].amount * (1 + 1e-9)) << question;
    const std::string typed = numtext(answer);
    const auto point = typed.find('.');
    ASSERT_TRUE(point == std::string::npos || typed.size() - point <= 3) << question << " " << typed;
    ASSERT_NE(helptext.find(" = " + typed + " ml."), std::string::npos);
  }
  EXPECT_EQ(asked.size(), static_cast<std::size_t>(state.lists.nselected));
}
