#include "authoring/model/drugform.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/text.h"
#include "tests/authoring/model/drugs.h"

using namespace authoring;
using core::drugrecord;
using drugtest::table;

namespace {

drugrecord paracetamol() {
  drugrecord d;
  d.genericname = core::fixwidth("Paracetamol", 30);
  d.tradename = {core::fixwidth("Panadol", 30), std::string(30, ' ')};
  d.doserange[0] = {0.5, 3};
  d.doserange[1] = {1, 3};
  d.increment = 0.25;
  d.halve = {1, 1, 0, 0, 0};
  d.preptype = {0, 4, -1, 0, 0};
  d.strength = {500, 120, 0, 0, 0};
  d.strengthunit = {6, 6, 6, 6, 6};
  d.volume = {2, 5, 0, 0, 0};
  d.volumeunit = {6, 6, 6, 6, 6};
  d.category = 2;
  return d;
}

std::vector<std::string> texts(const std::vector<Problem>& problems) {
  std::vector<std::string> out;
  for (const auto& p : problems) out.push_back(p.text + "|" + p.title + "|" + (p.blocks ? "blocks" : "warns"));
  return out;
}

const std::string RULE1 = "A drug title must be entered!||blocks";
const std::string RULE2 = "Dose range and increment values must be included!|Drug Database|blocks";
const std::string RULE3 = "All fluid doses must include a volume 'in' value!|Drug Database|blocks";
const std::string RULE4 = "An 'increment value' must be included when using fluid preparations|Drug Databas|warns";
const std::string RULE5 = "At least one dose must be included!|Drug Database|blocks";

}  // namespace

TEST(DrugForm, RecordShownAndReadBack) {
  const auto cats = table({{"Analgesics", 2}});
  const DrugForm f = formof(paracetamol(), cats);
  DrugForm want;
  want.Text1 = "Paracetamol";
  want.Text2 = {"Panadol", ""};
  want.Text3 = {"0.5", "1"};
  want.List1 = {3, 3};
  want.Increment = "0.25";
  want.Check1 = {true, false, false, false, false};  // a fluid row shows no half box
  want.Type = {0, 4, NOSELECTION, 0, 0};
  want.Dose = {"500", "120", "0", "0", "0"};
  want.doseunit = {6, 6, 6, 6, 6};
  want.noof = {"", "5", "", "", ""};  // a solid row's volume is not shown
  want.Cbcategory = "Analgesics";
  EXPECT_EQ(f, want);

  // Read back: what the form hid is gone, the rest is as it was.
  drugrecord back = paracetamol();
  back.halve[1] = 0;
  back.volume[0] = 0;
  EXPECT_EQ(recordof(f, paracetamol(), cats).encode(), back.encode());
  EXPECT_FALSE(recordchanged(f, back, cats));
}

TEST(DrugForm, EveryFieldCountsAsAChangeButTrailingBlanksDoNot) {
  const auto cats = table({{"Analgesics", 2}, {"Antibiotics", 5}});
  const drugrecord saved = recordof(formof(paracetamol(), cats), paracetamol(), cats);
  const std::vector<std::function<void(DrugForm&)>> edits = {
      [](DrugForm& f) { f.Text1 = " Paracetamol"; },
      [](DrugForm& f) { f.Text2[1] = "Tylenol"; },
      [](DrugForm& f) { f.Text3[0] = "0.75"; },
      [](DrugForm& f) { f.List1[1] = 6; },
      [](DrugForm& f) { f.Increment = "0"; },
      [](DrugForm& f) { f.Check1[0] = false; },
      [](DrugForm& f) { f.Type[2] = 1; },
      [](DrugForm& f) { f.Dose[4] = "1"; },
      [](DrugForm& f) { f.doseunit[3] = 7; },
      [](DrugForm& f) { f.noof[1] = "10"; },
      [](DrugForm& f) { f.Cbcategory = "Antibiotics"; },
  };
  for (std::size_t i = 0; i < edits.size(); ++i) {
    DrugForm f = formof(saved, cats);
    edits[i](f);
    EXPECT_TRUE(recordchanged(f, saved, cats)) << "edit " << i;
  }
  DrugForm f = formof(saved, cats);
  f.Text1 += "   ";
  f.Cbcategory += "  ";
  f.Text3[0] = "0.50";  // the same value
  f.noof[0] = "7";      // hidden volume of a solid row, read as it stands
  EXPECT_TRUE(recordchanged(f, saved, cats));
  f.noof[0] = "";
  EXPECT_FALSE(recordchanged(f, saved, cats));
  EXPECT_EQ(recordof(f, saved, cats).genericname, core::fixwidth("Paracetamol", 30));
  // A category text that names no category counts as category 0: emptying
  // the box is a change (though saving keeps the record's own number), while
  // a record whose number the table lacks shows no name and is untouched.
  for (const char* text : {"", "Unknown"}) {
    f.Cbcategory = text;
    EXPECT_TRUE(recordchanged(f, saved, cats)) << text;
    EXPECT_EQ(recordof(f, saved, cats).category, 2) << text;
  }
  drugrecord lost = saved;
  lost.category = 9;
  EXPECT_FALSE(recordchanged(formof(lost, cats), lost, cats));
  const auto blankname = table({{"", 9}});
  EXPECT_FALSE(recordchanged(formof(lost, blankname), lost, blankname));
}

TEST(DrugForm, ValidationGivesEveryFailingRuleInOrder) {
  const DrugForm blank = formof(drugrecord::blank(), table({}));
  EXPECT_EQ(texts(validate(blank)), (std::vector<std::string>{RULE1, RULE2, RULE5}));

  DrugForm f = formof(paracetamol(), table({}));
  EXPECT_TRUE(validate(f).empty());
  // A dose range from 0 is refused although the increment is there.
  f.Text3[0] = "0";
  EXPECT_EQ(texts(validate(f)), (std::vector<std::string>{RULE2}));
  f.Text3[0] = "0.5";
  // Tablet to Syrup with a dose of 5 and no volume, in two rows.
  f.Type[0] = 4;
  f.Type[3] = 2;
  f.Dose[3] = "5";
  EXPECT_EQ(texts(validate(f)), (std::vector<std::string>{RULE3, RULE3}));
  EXPECT_TRUE(blocking(validate(f)));
  // With volumes and no increment only the warning is left.
  f.noof[0] = "5";
  f.noof[3] = "5";
  f.Increment = "";
  EXPECT_EQ(texts(validate(f)), (std::vector<std::string>{RULE4}));
  EXPECT_FALSE(blocking(validate(f)));
  // A dose in a row without a type is a dose.
  DrugForm g = formof(paracetamol(), table({}));
  g.Dose = {"0", "0", "2.5mg", "", "0"};
  g.Type = {NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION};
  EXPECT_TRUE(validate(g).empty());

  // Two rules failing at once are told in the order of the rules: the
  // paracetamol syrup without its volume, or without an increment, and no
  // dose in any row.
  const std::vector<std::pair<std::function<void(DrugForm&)>, std::vector<std::string>>> both = {
      {[](DrugForm& h) { h.noof[1] = ""; }, {RULE3, RULE5}},
      {[](DrugForm& h) { h.Increment = "0"; }, {RULE4, RULE5}},
  };
  for (std::size_t i = 0; i < both.size(); ++i) {
    DrugForm h = formof(paracetamol(), table({}));
    h.Dose = {"0", "", "0", "0", "0"};
    both[i].first(h);
    EXPECT_EQ(texts(validate(h)), both[i].second) << "row " << i;
  }
}

TEST(DrugForm, NewCategoriesTakeTheSmallestFreeNumber) {
  core::DrugLists t = table({});
  std::vector<std::string> list;
  EXPECT_EQ(addcategory("Analgesics  ", list, t), CategoryOutcome::Created);
  EXPECT_EQ(t.ncategories, 1);
  EXPECT_EQ(t.catname[1], core::fixwidth("Analgesics", 20));
  EXPECT_EQ(t.catnum[1], 1);
  EXPECT_EQ(addcategory("Analgesics", list, t), CategoryOutcome::Known);
  EXPECT_EQ(addcategory("", list, t), CategoryOutcome::Known);
  EXPECT_EQ(t.ncategories, 1);

  t = table({{"A", 1}, {"B", 2}, {"D", 4}});
  list = {"A", "B", "D"};
  EXPECT_EQ(addcategory("analgesics", list, t), CategoryOutcome::Created);
  EXPECT_EQ(addcategory("Analgesics", list, t), CategoryOutcome::Created);  // case counts
  EXPECT_EQ(list, (std::vector<std::string>{"A", "B", "D", "analgesics", "Analgesics"}));
  EXPECT_EQ(t.catnum[4], 3);
  EXPECT_EQ(t.catnum[5], 5);
  EXPECT_EQ(categorymessage(CategoryOutcome::Created).text, "You have created a new category for this drug");

  // A 51st category is refused and the record keeps its own.
  t = table({});
  list.clear();
  for (int k = 1; k <= 50; ++k) ASSERT_EQ(addcategory("C" + std::to_string(k), list, t), CategoryOutcome::Created);
  EXPECT_EQ(addcategory("One too many", list, t), CategoryOutcome::Refused);
  EXPECT_EQ(t.ncategories, 50);
  EXPECT_EQ(list.size(), 50u);
  EXPECT_EQ(t.catname.size(), 51u);
  DrugForm f = formof(paracetamol(), t);
  f.Cbcategory = "One too many";
  EXPECT_EQ(recordof(f, paracetamol(), t).category, 2);
}
