#include "authoring/model/drugdatabase.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "core/text.h"
#include "tests/core/support.h"

using namespace authoring;
using core::drugrecord;

namespace {

// Record k: a tablet drug of category k, and a fluid one too when k is even.
drugrecord drug(int k) {
  drugrecord d;
  d.genericname = core::fixwidth("Drug " + std::to_string(k), 30);
  d.doserange[0] = {1, 6};
  d.doserange[1] = {2, 6};
  d.preptype = {0, static_cast<std::int16_t>(k % 2 == 0 ? 4 : 0), 0, 0, 0};
  d.strength = {10, static_cast<double>(k % 2 == 0 ? 5 : 0), 0, 0, 0};
  d.volume = {0, 5, 0, 0, 0};
  d.volumeunit = {6, 6, 6, 6, 6};
  d.category = static_cast<std::int16_t>(k);
  return d;
}

std::string records(std::initializer_list<int> ks) {
  std::string out;
  for (int k : ks) out += k == 0 ? drugrecord::blank().encode() : drug(k).encode();
  return out;
}

core::DrugLists categories(int n) {
  core::DrugLists t;
  t.catname.assign(51, std::string(20, ' '));
  t.catnum.assign(51, 0);
  t.ncategories = static_cast<std::int16_t>(n);
  for (int k = 1; k <= n; ++k) {
    t.catname[static_cast<std::size_t>(k)] = core::fixwidth("Cat " + std::to_string(k), 20);
    t.catnum[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(k);
  }
  return t;
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

TEST_F(DrugDatabaseFiles, OpensOnTheLastRecordOrOneBlankOne) {
  DrugDatabase db = open({1, 2, 3});
  EXPECT_EQ(db.currec, 3);
  EXPECT_EQ(db.reccount, 3);
  EXPECT_EQ(db.drug.encode(), drug(3).encode());
  db = open({});
  EXPECT_EQ(db.currec, 1);
  EXPECT_EQ(db.reccount, 1);
  EXPECT_EQ(db.drug.encode(), drugrecord::blank().encode());
  std::filesystem::remove(dir_ / "VQDBASE.FIL");
  db.opendatabase();  // a missing database is created empty
  EXPECT_EQ(db.reccount, 1);
  EXPECT_EQ(get("VQDBASE.FIL"), "");
}

TEST_F(DrugDatabaseFiles, MovingWrapsAndStepsPastTheEnd) {
  DrugDatabase db = open({1, 2, 3});
  db.first();
  db.previous();
  EXPECT_EQ(db.currec, 3);
  EXPECT_TRUE(db.next());
  db.acceptnew();
  EXPECT_EQ(db.reccount, 4);
  db.readcurrent();
  EXPECT_EQ(db.drug.encode(), drugrecord::blank().encode());
  db.previous();
  EXPECT_EQ(db.currec, 3);
  EXPECT_EQ(db.reccount, 4);
  db.last();
  EXPECT_TRUE(db.next());
  db.refusenew();
  EXPECT_EQ(db.currec, 4);
  // The new record is written only when it is saved: then it is appended.
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 2, 3}));
  db.drug = drug(7);
  db.writecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 2, 3, 7}));
}

TEST_F(DrugDatabaseFiles, DeletingRewritesTheWholeDatabase) {
  DrugDatabase db = open({1, 2, 3, 4, 5});
  db.currec = 3;
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 2, 4, 5}));
  EXPECT_EQ(db.currec, 3);
  EXPECT_EQ(db.reccount, 4);
  EXPECT_EQ(db.drug.encode(), drug(4).encode());
  db.last();
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 2, 4}));
  EXPECT_EQ(db.currec, 3);
  EXPECT_EQ(db.drug.encode(), drug(4).encode());

  db = open({9});
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), "");
  EXPECT_EQ(db.currec, 1);
  EXPECT_EQ(db.reccount, 1);
  EXPECT_EQ(db.drug.encode(), drugrecord::blank().encode());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "VQDBASE.TMP"));
}

TEST_F(DrugDatabaseFiles, DeletingKeepsCountedAndCutShortRecordsAsBlankOnes) {
  // A record cut short at the end counts (more than half of it is there)
  // and is kept as a blank record; so is the counted new record.
  put("VQDBASE.FIL", records({1, 2, 3}) + std::string(200, 'x'));
  DrugDatabase db;
  db.opendatabase();
  EXPECT_EQ(db.reccount, 4);
  db.next();
  db.acceptnew();
  db.currec = 2;
  db.deletecurrent();
  EXPECT_EQ(get("VQDBASE.FIL"), records({1, 3, 0, 0}));
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
  EXPECT_EQ(get("vqdbs1.idx"), "5\r\n1,1\r\n2,3\r\n3,4\r\n4,5\r\n5,6\r\n");
  EXPECT_EQ(get("vqdbs2.idx"), "2\r\n3,4\r\n5,6\r\n");
  EXPECT_EQ(get("vqcat.idx"),
            "5\r\n\"Cat 1               \",1\r\n\"Cat 3               \",3\r\n\"Cat 4               \",4\r\n"
            "\"Cat 5               \",5\r\n\"Cat 6               \",6\r\n");
  // Only the categories of the table up to its count are written.
  t.ncategories = 3;
  db.rebuild(t);
  EXPECT_EQ(get("vqcat.idx"), "2\r\n\"Cat 1               \",1\r\n\"Cat 3               \",3\r\n");

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
