#include <gtest/gtest.h>

#include "tests/core/support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include <sys/stat.h>

#include "core/convert.h"
#include "core/errors.h"
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
  int halve = 0;
  double volume = 0;
};

drugrecord makedrug(const std::string& name, double low, int lowunit, double high, int highunit,
                    std::initializer_list<Row> rows, std::string trade0 = "", std::string trade1 = "") {
  drugrecord d;
  d.genericname = fixwidth(name, 30);
  d.tradename = {fixwidth(trade0, 30), fixwidth(trade1, 30)};
  d.doserange[0] = {low, static_cast<std::int16_t>(lowunit)};
  d.doserange[1] = {high, static_cast<std::int16_t>(highunit)};
  int k = 0;
  for (const Row& r : rows) {
    d.preptype[k] = static_cast<std::int16_t>(r.type);
    d.strength[k] = r.strength;
    d.strengthunit[k] = static_cast<std::int16_t>(r.unit);
    d.halve[k] = static_cast<std::int16_t>(r.halve);
    d.volume[k] = r.volume;
    d.volumeunit[k] = 6;
    ++k;
  }
  return d;
}

constexpr int MG = 6, G = 3, MCG = 7;

// A fresh working folder with a small drug database.
class TabletTest : public testsupport::TempFolder {
 protected:
  CoreState state;
  std::string question, helptext;
  double answer = -1;
  std::int16_t recno = -1, row = -1;

  void SetUp() override {
    TempFolder::SetUp();
    state.tables = filledtables();
    const drugrecord db[] = {
        // 1: dosed in grams, a 500 mg tablet
        makedrug("Paracetamol", 250, MG, 1, G, {{0, 500, MG}}, "Panadol"),
        // 2: halvable 5 mg tablet
        makedrug("Prednisolone", 2.5, MG, 60, MG, {{0, 5, MG, 1}}),
        // 3: capsules beside a syrup row that a tablet question never uses
        makedrug("Amoxycillin", 250, MG, 500, MG, {{4, 250, MG, 0, 5}, {1, 250, MG}, {1, 500, MG}},
                 "Amoxil"),
        // 4: every strength above the highest dose, not halvable
        makedrug("Toolarge", 100, MG, 200, MG, {{0, 500, MG}}),
        // 5: nothing but rows of strength 0 or fluid rows
        makedrug("Empty", 1, MG, 10, MG, {{0, 0, MG}, {1, 0, MG}, {3, 10, MG, 0, 5}}),
        // 6: a micrograms tablet of a drug dosed in milligrams
        makedrug("Digoxin", 0.0625, MG, 0.25, MG, {{0, 62.5, MCG, 1}, {0, 250, MCG}}, "Lanoxin"),
        // 7: up to five tablets
        makedrug("Metoprolol", 25, MG, 250, MG, {{0, 50, MG}}),
    };
    for (long i = 0; i < 7; ++i) writedrug(i + 1, db[i]);
  }
  void select(std::initializer_list<std::int16_t> records) {
    state.lists.selected = {0};
    for (auto r : records) state.lists.selected.push_back(r);
    state.lists.nselected = static_cast<std::int16_t>(records.size());
  }
  bool make() { return tabletquestion(state, question, answer, helptext, recno, row); }
};

const std::string conversion =
    "To convert 500 milligrams to grams\r\n"
    "the computer used the following formula:\r\n"
    "\r\n"
    "500 milligrams X 0.001 = 0.5 grams";

}  // namespace

TEST_F(TabletTest, ConversionParagraphInTheTraineeWording) {
  select({1});
  Script s{0.0f, 0.0f, 0.5f};  // drug, row, m = 2
  ASSERT_TRUE(make());
  const std::string q =
      "A client is ordered 1 gram of Paracetamol.\r\n"
      "500 milligram tablets are available.\r\n"
      "How many tablets will you give?";
  EXPECT_EQ(question, q);
  EXPECT_EQ(helptext,
            "The question was:\r\n" + q +
                "\r\n"
                "\r\n"
                "The formula to use is:\r\n"
                "\r\n"
                "Required dose\r\n"
                "-----------------------\r\n"
                "Stock dose\r\n"
                "\r\n"
                "= Number of tablets to be given\r\n"
                "\r\n"
                "All units must be the same so the units of the stock dose is first converted to "
                "the units of the required dose: \r\n" +
                conversion +
                "\r\n"
                "\r\n"
                "The numbers are now placed in the formula:\r\n"
                "\r\n"
                "1 g (required dose)\r\n"
                "-------------------------------------\r\n"
                "0.5 g (stock dose)\r\n"
                "\r\n"
                " = 2 tablets");
  EXPECT_EQ(answer, 2);
  EXPECT_EQ(recno, 1);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(state.drugname, "Paracetamol\r\n\r\n500 mg tablets");
  EXPECT_EQ(state.drug.genericname, fixwidth("Paracetamol", 30));
  EXPECT_EQ(s.random.reseeds(), 3);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST_F(TabletTest, ConversionParagraphInTheToolWordingWithAbbreviations) {
  state.build = Build::Tool;
  state.settings.abbreviations = -1;
  select({1});
  Script s{0.0f, 0.0f, 0.0f};  // m = 1: half a gram, one tablet after the conversion
  ASSERT_TRUE(make());
  const std::string q =
      "\r\nA client is ordered 0.5 g's of Paracetamol. 500 mg tablets are available.\r\n"
      "How many tablets will you give?";
  EXPECT_EQ(question, q);
  EXPECT_EQ(helptext,
            "The question was:" + q +
                "\r\n"
                "\r\n"
                "The formula to use is:\r\n"
                "\r\n"
                "Required dose\r\n"
                "-----------------------\r\n"
                "Stock dose\r\n"
                "= Number of tablets to be given\r\n"
                "\r\n"
                "All units must be the same so the units of the stock dose is first converted to "
                "the units of the required dose: \r\n" +
                conversion +
                "\r\n"
                "\r\n"
                "The numbers are now placed in the formula:\r\n"
                "\r\n"
                "0.5 g (required dose)\r\n"
                "-------------------------------------\r\n"
                "0.5 g (stock dose)\r\n"
                "\r\n"
                " = 1 tablets");
  EXPECT_EQ(answer, 1);
}

TEST_F(TabletTest, FullNamesInTheToolWordingKeepThePlainPlural) {
  state.build = Build::Tool;
  select({1});
  Script s{0.0f, 0.0f, 0.0f};
  ASSERT_TRUE(make());
  EXPECT_EQ(question,
            "\r\nA client is ordered 0.5 grams of Paracetamol. 500 milligram tablets are "
            "available.\r\nHow many tablets will you give?");
}

TEST_F(TabletTest, HalvableTabletAndARejectedSingleTablet) {
  select({2});
  // m = 2 gives one whole tablet without a conversion: drawn again; then m = 3
  Script s{0.0f, 0.0f, 0.2f, 0.0f, 0.0f, 0.4f};
  ASSERT_TRUE(make());
  const std::string q =
      "A client is ordered 7.5 milligrams of Prednisolone.\r\n"
      "5 milligram tablets are available.\r\n"
      "How many tablets will you give?";
  EXPECT_EQ(question, q);
  EXPECT_EQ(helptext,
            "The question was:\r\n" + q +
                "\r\n\r\nThe formula to use is:\r\n\r\nRequired dose\r\n-----------------------\r\n"
                "Stock dose\r\n\r\n= Number of tablets to be given\r\n\r\n"
                "The numbers are now placed in the formula:\r\n\r\n"
                "7.5 mg (required dose)\r\n-------------------------------------\r\n"
                "5 mg (stock dose)\r\n\r\n = 1.5 tablets");
  EXPECT_EQ(answer, 1.5);
  EXPECT_EQ(s.random.reseeds(), 6);
  EXPECT_EQ(state.drugname, "Prednisolone\r\n\r\n5 mg tablets");
}

TEST_F(TabletTest, HalfATabletWithAbbreviations) {
  state.settings.abbreviations = -1;
  select({2});
  Script s{0.0f, 0.0f, 0.0f};
  ASSERT_TRUE(make());
  EXPECT_EQ(question,
            "A client is ordered 2.5 mgs of Prednisolone.\r\n5 mg tablets are available.\r\n"
            "How many tablets will you give?");
  EXPECT_EQ(answer, 0.5);
}

TEST_F(TabletTest, CapsulesAndTradeNames) {
  state.settings.genericnames = -1;
  state.settings.abbreviations = -1;
  select({1, 3});
  // the second drug; the first of its two capsule rows (the syrup row is
  // never a candidate); m = 2; the trade name
  Script s{0.5f, 0.0f, 0.5f, 0.5f};
  ASSERT_TRUE(make());
  EXPECT_EQ(question,
            "A client is ordered 500 mgs of Amoxil.\r\n250 mg capsules are available.\r\n"
            "How many capsules will you give?");
  EXPECT_EQ(recno, 3);
  EXPECT_EQ(row, 1);
  EXPECT_NE(helptext.find("\r\n = 2 capsules"), std::string::npos);
  EXPECT_EQ(state.drugname, "Amoxil\r\n\r\n250 mg capsules");
  EXPECT_EQ(s.random.reseeds(), 4);
}

TEST_F(TabletTest, MicrogramTabletsOfAMilligramDose) {
  select({6});
  // the halvable 62.5 mcg row; m = 1 is half the lowest dose: drawn again;
  // m = 2 is one tablet, allowed after a conversion, and exactly the lowest dose
  Script s{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.25f};
  ASSERT_TRUE(make());
  EXPECT_EQ(question,
            "A client is ordered 0.0625 milligrams of Digoxin.\r\n62.5 microgram tablets are "
            "available.\r\nHow many tablets will you give?");
  EXPECT_NE(helptext.find("the units of the required dose: \r\nTo convert 62.5 micrograms to "
                          "milligrams\r\n"),
            std::string::npos);
  EXPECT_NE(helptext.find("\r\n62.5 micrograms X 0.001 = 0.0625 milligrams\r\n\r\nThe numbers"),
            std::string::npos);
  EXPECT_NE(helptext.find("\r\n0.0625 mg (stock dose)\r\n\r\n = 1 tablets"), std::string::npos);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(s.random.left(), 0u);
}

TEST(PickDrugName, GenericOrAnyNonEmptyTradeName) {
  CoreState state;
  state.drug.genericname = fixwidth("Frusemide", 30);
  state.drug.tradename = {fixwidth("", 30), fixwidth("Lasix", 30)};
  {
    Script s{0.9f};
    pickdrugname(state);
    EXPECT_EQ(state.drugname, "Frusemide");
    EXPECT_EQ(s.random.used(), 0u);  // without trade names on, nothing is drawn
  }
  state.settings.genericnames = -1;
  {
    Script s{0.49f, 0.5f};
    pickdrugname(state);
    EXPECT_EQ(state.drugname, "Frusemide");
    pickdrugname(state);
    EXPECT_EQ(state.drugname, "Lasix");
    EXPECT_EQ(s.random.reseeds(), 2);
  }
  state.drug.tradename = {fixwidth("", 30), fixwidth("", 30)};
  {
    Script s{0.99f};
    pickdrugname(state);
    EXPECT_EQ(state.drugname, "Frusemide");
    EXPECT_EQ(s.random.used(), 1u);
  }
  state.drug.tradename = {fixwidth("Uremide", 30), fixwidth("Lasix", 30)};
  {
    Script s{0.0f, 0.34f, 0.67f};
    std::string names;
    for (int i = 0; i < 3; ++i) {
      pickdrugname(state);
      names += state.drugname + "|";
    }
    EXPECT_EQ(names, "Frusemide|Uremide|Lasix|");
  }
}

TEST_F(TabletTest, NoQuestionFromDrugsThatAdmitNoDose) {
  select({4});
  EXPECT_FALSE(make());  // every dose above the highest
  select({5});
  EXPECT_FALSE(make());  // no tablet or capsule of positive strength
  select({9});
  EXPECT_FALSE(make());  // past the end of the database: a blank record
  select({0, -3});
  EXPECT_FALSE(make());
  select({});
  EXPECT_FALSE(make());
  EXPECT_EQ(question, "");
  EXPECT_EQ(helptext, "");
}

TEST_F(TabletTest, NoQuestionFromAMissingDatabase) {
  std::filesystem::remove(dir_ / "VQDBASE.FIL");
  select({1, 2});
  EXPECT_FALSE(make());
  EXPECT_TRUE(std::filesystem::exists(dir_ / "VQDBASE.FIL"));  // created empty
  EXPECT_EQ(std::filesystem::file_size(dir_ / "VQDBASE.FIL"), 0u);
}

TEST_F(TabletTest, TheRecordIsReadAfreshForEveryQuestion) {
  select({2});
  {
    Script s{0.0f, 0.0f, 0.0f};
    ASSERT_TRUE(make());
    EXPECT_EQ(question.substr(0, question.find("\r\n")),
              "A client is ordered 2.5 milligrams of Prednisolone.");
  }
  // The database changes between two questions: the next one uses the new record.
  writedrug(2, makedrug("Prednisone", 5, MG, 50, MG, {{0, 25, MG, 1}}));
  {
    Script s{0.0f, 0.0f, 0.0f};
    ASSERT_TRUE(make());
    EXPECT_EQ(question.substr(0, question.find("\r\n")),
              "A client is ordered 12.5 milligrams of Prednisone.");
    EXPECT_EQ(state.drugname, "Prednisone\r\n\r\n25 mg tablets");
  }
  // A database that can only be read still gives questions.
  std::filesystem::permissions(dir_ / "VQDBASE.FIL", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  {
    Script s{0.0f, 0.0f, 0.0f};
    EXPECT_TRUE(make());
  }
  std::filesystem::permissions(dir_ / "VQDBASE.FIL", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  // A record number far past any file finds no record.
  select({32767});
  EXPECT_FALSE(make());
}

// A database that cannot be read is a failure, told by its error, never
// "no question": a folder or pipe in its place, a record another program
// keeps locked (the read waits its time, then gives up).
TEST_F(TabletTest, ADatabaseThatCannotBeReadIsAFailureNotNoQuestion) {
  const struct {
    const char* kind;
    bool lockheld;
  } rows[] = {{"record locked", true}, {"folder", false}, {"pipe", false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.kind);
    select({1, 2});
    std::unique_ptr<testsupport::HeldLock> lock;
    if (std::string(r.kind) == "record locked") {
      lock = std::make_unique<testsupport::HeldLock>(dir_ / "VQDBASE.FIL", 0, 0);
      ASSERT_TRUE(lock->held());
    } else {
      std::filesystem::remove(dir_ / "VQDBASE.FIL");
      if (std::string(r.kind) == "folder") std::filesystem::create_directory(dir_ / "VQDBASE.FIL");
      // A pipe of that name has no records, and reading it never waits for a writer.
      else ASSERT_EQ(mkfifo((dir_ / "VQDBASE.FIL").c_str(), 0644), 0);
    }
    try {
      make();
      ADD_FAILURE() << "no failure";
    } catch (const FileError& e) {
      EXPECT_EQ(e.number(), 75);
      EXPECT_EQ(dynamic_cast<const LockHeld*>(&e) != nullptr, r.lockheld);
    }
    EXPECT_EQ(question, "");
    lock.reset();
    std::filesystem::remove(dir_ / "VQDBASE.FIL");
  }
}

TEST_F(TabletTest, AnUnusableDrugIsPassedOver) {
  select({4, 5, 9, 2});
  Seeded seeded(5u);
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(make());
    ASSERT_EQ(recno, 2);
  }
}

TEST_F(TabletTest, ManyDrawsKeepAnswersAndDosesWithinBounds) {
  select({1, 2, 3, 4, 5, 6, 7});
  Seeded seeded(424242u);
  std::map<double, int> answers;
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(make());
    const drugrecord& d = state.drug;
    const auto k = static_cast<std::size_t>(row);
    ASSERT_TRUE(d.preptype[k] == 0 || d.preptype[k] == 1);
    const int high = d.doserange[1].unit + 1;
    const double S = convertvalue(state.tables, d.strength[k], d.strengthunit[k] + 1, high);
    const double L = convertvalue(state.tables, d.doserange[0].amount, d.doserange[0].unit + 1, high);
    ASSERT_GE(answer, 0.5);
    ASSERT_LE(answer, 5);
    ASSERT_EQ(answer * 2, std::floor(answer * 2));
    if (d.halve[k] != 1) {
      ASSERT_EQ(answer, std::floor(answer));
    }
    if (answer == 1) {
      ASSERT_NE(d.strengthunit[k], d.doserange[1].unit);  // one tablet only after a conversion
    }
    ASSERT_GE(answer * S, L * (1 - 1e-12));
    ASSERT_LE(answer * S, d.doserange[1].amount * (1 + 1e-12));
    ++answers[answer];
  }
  EXPECT_EQ(answers.size(), 8u);  // 0.5, 1, 1.5, 2, 2.5, 3, 4, 5
}
