#include "authoring/model/drugdatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/files.h"
#include "core/text.h"
#include "tests/authoring/model/drugs.h"
#include "tests/core/support.h"

using namespace authoring;
using core::drugrecord;
using drugtest::drug;
using drugtest::records;

namespace {

core::DrugLists categories(int n) {
  std::vector<std::pair<std::string, std::int16_t>> cats;
  for (int k = 1; k <= n; ++k) cats.emplace_back("Cat " + std::to_string(k), static_cast<std::int16_t>(k));
  return drugtest::table(cats);
}

class DrugDatabaseFiles : public testsupport::TempFolder {
 protected:
  // Opens a database of the given records, as the editor does.
  DrugDatabase open(std::initializer_list<int> ks) {
    put("VQDBASE.FIL", records(ks));
    DrugDatabase db;
    db.opendatabase();
    db.readcurrent();
    return db;
  }
};

}  // namespace

TEST_F(DrugDatabaseFiles, CountedAndCutShortRecordsAreBlankOnes) {
  // A record cut short at the end counts (more than half of it is there);
  // a deletion keeps it as a blank record. The counted new record is not
  // written: it stays counted after the deletion, still past the end.
  put("VQDBASE.FIL", records({1, 2, 3}) + std::string(200, 'x'));
  DrugDatabase db;
  db.opendatabase();
  EXPECT_EQ(db.reccount, 4);
  EXPECT_TRUE(db.next());
  db.acceptnew();
  db.currec = 2;
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0}));
  EXPECT_EQ(db.reccount, 4);
  EXPECT_EQ(db.drug.encode(), drug(3).encode());
  // Deleting the counted new record itself leaves the file alone.
  db.last();
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0}));
  EXPECT_EQ(db.reccount, 3);
  // Past the end and saved: appended.
  db.last();
  db.next();
  db.acceptnew();
  db.drug = drug(7);
  db.writecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0, 7}));
  EXPECT_EQ(withoutdrug(records({1, 2}), 7, 2), records({1, 2}));
}

TEST_F(DrugDatabaseFiles, RebuildListsTheNewRecordNumbersAndUsedCategories) {
  DrugDatabase db = open({1, 2, 3, 4, 5, 6});
  db.currec = 2;
  db.deletecurrent();
  db.last();
  db.next();
  db.acceptnew();  // counted, never written: in no list
  core::DrugLists t = categories(7);
  db.rebuild(t);
  EXPECT_EQ(get("vqdbs1.idx"), "5\r\n1,1\r\n2,1\r\n3,2\r\n4,1\r\n5,2\r\n");
  EXPECT_EQ(get("vqdbs2.idx"), "2\r\n3,2\r\n5,2\r\n");
  EXPECT_EQ(get("vqcat.idx"), "2\r\n\"Cat 1               \",1\r\n\"Cat 2               \",2\r\n");
  // Only the categories of the table up to its count are written.
  t.ncategories = 1;
  db.rebuild(t);
  EXPECT_EQ(get("vqcat.idx"), "1\r\n\"Cat 1               \",1\r\n");

  // Records another program added after the count are listed too.
  db = open({1, 2});
  put("VQDBASE.FIL", records({1, 2, 3}));
  db.rebuild(categories(2));
  EXPECT_EQ(get("vqdbs1.idx"), "3\r\n1,1\r\n2,2\r\n3,1\r\n");

  db = open({});
  db.rebuild(categories(0));
  EXPECT_EQ(get("vqdbs1.idx") + get("vqdbs2.idx") + get("vqcat.idx"), "\r\n\r\n0\r\n");
}

TEST_F(DrugDatabaseFiles, CategoryTableReloadsWhatCanBeRead) {
  put("vqcat.idx", "2\r\n\"Analgesics          \",3\r\n\"Antibiotics         \",1\r\n");
  core::DrugLists t = categories(5);
  EXPECT_EQ(loadcategorytable(t).error, 0);
  EXPECT_EQ(t.ncategories, 2);
  EXPECT_EQ(t.catnum[2], 1);
  EXPECT_EQ(categorylist(t), (std::vector<std::string>{"Analgesics", "Antibiotics"}));
  // Damaged files keep the categories read whole, with their numbers, and
  // say which entries were lost; only a file of which nothing could be
  // read is kept as it is by the close.
  const struct {
    const char* file;
    std::vector<std::string> kept;
    std::vector<std::int16_t> numbers;
    bool keepfile;
    std::string told;
  } rows[] = {
      {"5\r\n\"Analgesics          \",3\r\n", {"Analgesics"}, {3}, false,
       "The drug category file vqcat.idx could not be read whole (error 62: the file ends too soon): of its 5 categories, numbers 2, 3, 4 "
       "and 5 in the file could not be read. The editor keeps the 1 it could read; drugs keep their category "
       "numbers."},
      {"2\r\n", {}, {}, true,
       "The drug category file vqcat.idx could not be read whole (error 62: the file ends too soon): of its 2 categories, numbers 1 and 2 "
       "in the file could not be read. The editor opens with no categories, and closing it leaves the file as it "
       "is."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    put("vqcat.idx", row.file);
    t = categories(5);
    const CategoryLoad load = loadcategorytable(t);
    EXPECT_EQ(categorylist(t), row.kept);
    for (std::size_t k = 0; k < row.numbers.size(); ++k) EXPECT_EQ(t.catnum[k + 1], row.numbers[k]);
    EXPECT_EQ(t.catnum[row.numbers.size() + 1], 0);
    EXPECT_EQ(load.keepfile(), row.keepfile);
    EXPECT_EQ(categoryfailure(load), row.told);
    DrugDatabase db = open({1, 2});
    db.rebuild(t, load.keepfile());
    if (row.keepfile) { EXPECT_EQ(get("vqcat.idx"), row.file); }
  }
  std::filesystem::remove(dir_ / "vqcat.idx");
  const CategoryLoad missing = loadcategorytable(t);
  EXPECT_EQ(missing.error, 53);
  EXPECT_FALSE(missing.keepfile());
  EXPECT_EQ(categoryfailure(missing),
            "The drug category file vqcat.idx could not be read (error 53: the file was not found). The editor opens "
            "with no categories.");
}

TEST_F(DrugDatabaseFiles, LeavingARecordAsksOnlyAboutChangesAndStaysWhenRefused) {
  const std::string title = "A drug title must be entered!";
  const std::string volume = "All fluid doses must include a volume 'in' value!";
  const std::string increment = "An 'increment value' must be included when using fluid preparations";
  drugrecord renamed = drug(2);
  renamed.genericname = core::fixwidth("Renamed", 30);
  drugrecord syrup = drug(3);
  syrup.preptype[1] = 4;
  syrup.strength[1] = 5;
  syrup.volume[1] = 5;
  syrup.increment = 0;
  struct Row {
    const char* what;
    std::string before;  // the database
    long from;           // the record shown
    std::function<void(DrugForm&)> edit;
    bool yes;  // the answer to the save question
    Move to;
    std::vector<std::string> told;
    int asked;
    long currec, reccount;
    std::string after;  // the database afterwards
    bool refused = false;
  };
  const auto none = [](DrugForm&) {};
  const std::vector<Row> rows = {
      {"unchanged", records({1, 2, 3}), 1, none, true, Move::Next, {}, 0, 2, 3, records({1, 2, 3})},
      {"dropped", records({1, 2, 3}), 1, [](DrugForm& f) { f.Text1 = "Renamed"; }, false, Move::Previous, {}, 1, 3, 3,
       records({1, 2, 3})},
      {"saved", records({1, 2, 3}), 2, [](DrugForm& f) { f.Text1 = "Renamed"; }, true, Move::First, {}, 1, 1, 3,
       records({1}) + renamed.encode() + records({3})},
      {"refused", records({1, 2, 3}), 2, [](DrugForm& f) { f.Text1 = ""; }, true, Move::Last, {title}, 1, 2, 3,
       records({1, 2, 3}), true},
      {"new record", records({1, 2, 3}), 3, none, true, Move::Next, {}, 0, 4, 4, records({1, 2, 3})},
      {"no new record after a blank one", records({1, 0}), 2, none, true, Move::Next,
       {title, "Dose range and increment values must be included!", "At least one dose must be included!"}, 0, 2, 2,
       records({1, 0})},
      {"warned twice", records({1, 2, 3}), 3,
       [](DrugForm& f) {
         f.Type[1] = 4;
         f.Dose[1] = "5";
         f.noof[1] = "5";
         f.Increment = "";
       },
       true, Move::Next, {increment, increment}, 1, 4, 4, records({1, 2}) + syrup.encode()},
      {"fluid without volume", records({1, 2, 3}), 3, [](DrugForm& f) { f.Type[0] = 2; }, true, Move::Next,
       {volume}, 1, 3, 3, records({1, 2, 3}), true},
  };
  const core::DrugLists t = categories(2);
  for (const Row& row : rows) {
    put("VQDBASE.FIL", row.before);
    DrugDatabase db;
    db.opendatabase();
    db.currec = row.from;
    db.readcurrent();
    DrugForm f = formof(db.drug, t);
    db.drug = db.savedrecord = recordof(f, db.drug, t);
    row.edit(f);
    int asked = 0;
    std::vector<std::string> told;
    for (const Problem& p : db.leave(row.to, f, t, [&] { return ++asked, row.yes; })) told.push_back(p.text);
    EXPECT_EQ(told, row.told) << row.what;
    EXPECT_EQ(asked, row.asked) << row.what;
    EXPECT_EQ(db.currec, row.currec) << row.what;
    EXPECT_EQ(db.reccount, row.reccount) << row.what;
    EXPECT_FALSE(db.invalid) << row.what;
    EXPECT_EQ(get("VQDBASE.FIL"), row.after) << row.what;
    // Refused, the record keeps what the form has; moved, the record read.
    EXPECT_EQ(db.drug.encode(), (row.refused ? recordof(f, drug(static_cast<int>(row.from)), t)
                                             : core::readdrug(db.currec)).encode())
        << row.what;
  }

  // A database that can be neither written nor read keeps the editor where
  // it was, and says why.
  DrugDatabase db = open({1, 2});
  db.savedrecord = db.drug;
  DrugForm f = formof(db.drug, t);
  std::filesystem::remove(dir_ / "VQDBASE.FIL");
  std::filesystem::create_directory(dir_ / "VQDBASE.FIL");
  EXPECT_TRUE(db.leave(Move::First, f, t, [] { return true; }).size() == 1);
  EXPECT_EQ(db.currec, 2);
  f.Text1 = "Kept";
  const std::vector<Problem> told = db.checksave(f, t, [] { return true; });
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, "The drug could not be saved and the database could not be read again (error 75).");
  EXPECT_TRUE(told[0].failed && db.invalid);
  EXPECT_EQ(db.leave(Move::Previous, formof(db.drug, t), t, [] { return false; })[0].text,
            "The drug could not be read (error 75).");
  EXPECT_EQ(db.currec, 2);
  EXPECT_EQ(core::rtrim(db.drug.genericname), "Kept");
}
