#include "authoring/model/drugdatabase.h"

#include <gtest/gtest.h>

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
  // a deletion keeps it, and the counted new record, as blank records.
  put("VQDBASE.FIL", records({1, 2, 3}) + std::string(200, 'x'));
  DrugDatabase db;
  db.opendatabase();
  EXPECT_EQ(db.reccount, 4);
  EXPECT_TRUE(db.next());
  db.acceptnew();
  db.currec = 2;
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0, 0}));
  EXPECT_EQ(db.drug.encode(), drug(3).encode());
  // Past the end and saved: appended.
  db.last();
  db.next();
  db.acceptnew();
  db.drug = drug(7);
  db.writecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0, 0, 7}));
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

  db = open({});
  db.rebuild(categories(0));
  EXPECT_EQ(get("vqdbs1.idx") + get("vqdbs2.idx") + get("vqcat.idx"), "\r\n\r\n0\r\n");
}

TEST_F(DrugDatabaseFiles, CategoryTableReloadsOrStartsEmpty) {
  put("vqcat.idx", "2\r\n\"Analgesics          \",3\r\n\"Antibiotics         \",1\r\n");
  core::DrugLists t = categories(5);
  EXPECT_EQ(loadcategorytable(t), 0);
  EXPECT_EQ(t.ncategories, 2);
  EXPECT_EQ(t.catnum[2], 1);
  EXPECT_EQ(categorylist(t), (std::vector<std::string>{"Analgesics", "Antibiotics"}));
  // Shorter than its count: nothing of it is kept.
  put("vqcat.idx", "3\r\n\"Analgesics          \",3\r\n");
  EXPECT_EQ(loadcategorytable(t), 62);
  EXPECT_EQ(t.ncategories, 0);
  EXPECT_EQ(t.catnum[1], 0);
  EXPECT_TRUE(categorylist(t).empty());
  std::filesystem::remove(dir_ / "vqcat.idx");
  EXPECT_EQ(loadcategorytable(t), 53);
  EXPECT_EQ(categoryfailure(53),
            "The drug category file vqcat.idx could not be read (error 53). The editor opens with no categories.");
}
