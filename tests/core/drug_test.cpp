#include "core/drug.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/errors.h"
#include "core/filefaults.h"
#include "core/files.h"
#include "core/text.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace core;
namespace fs = std::filesystem;

namespace {

class DrugFiles : public testsupport::TempFolder {};
using testsupport::names;

drugrecord sampledrug() {
  drugrecord d;
  d.genericname = "paracetamol";
  d.tradename = {"Panadolex", ""};
  d.doserange[0] = {0.5, 3};
  d.doserange[1] = {1, 3};
  d.increment = 0.25;
  d.halve = {1, 0, 0, 0, 0};
  d.preptype = {0, 4, -1, 10, 2};
  d.strength = {500, 120, 0, 1.5, 0};
  d.strengthunit = {6, 6, 3, 7, 0};
  d.volume = {0, 5, 0, 2.5, 0};
  d.volumeunit = {6, 6, 6, 6, 6};
  d.category = 3;
  return d;
}

drugrecord withrows(std::vector<std::pair<int, double>> rows, std::int16_t category) {
  drugrecord d;
  d.genericname = "drug";
  std::size_t i = 0;
  for (auto [type, strength] : rows) {
    d.preptype[i] = static_cast<std::int16_t>(type);
    d.strength[i] = strength;
    ++i;
  }
  d.category = category;
  return d;
}

std::int16_t at16(const std::string& s, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(s[at]) |
                                   (static_cast<unsigned char>(s[at + 1]) << 8));
}

}  // namespace

TEST(DrugRecord, LayoutPutsEveryFieldAtItsOffset) {
  const std::string b = sampledrug().encode();
  ASSERT_EQ(b.size(), 240u);
  EXPECT_EQ(b.substr(0, 30), "paracetamol" + std::string(19, ' '));
  EXPECT_EQ(b.substr(30, 30), "Panadolex" + std::string(21, ' '));
  EXPECT_EQ(b.substr(60, 30), std::string(30, ' '));
  // 0.5 as binary64 little-endian: 00 00 00 00 00 00 E0 3F
  EXPECT_EQ(b.substr(90, 8), std::string("\0\0\0\0\0\0\xE0\x3F", 8));
  EXPECT_EQ(at16(b, 98), 3);
  EXPECT_EQ(b.substr(100, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
  EXPECT_EQ(at16(b, 118), 1);
  EXPECT_EQ(at16(b, 128), 0);
  EXPECT_EQ(at16(b, 130), 4);
  EXPECT_EQ(at16(b, 132), -1);
  EXPECT_EQ(b.substr(132, 2), "\xFF\xFF");
  EXPECT_EQ(at16(b, 178), 6);
  EXPECT_EQ(at16(b, 182), 3);
  EXPECT_EQ(at16(b, 228), 6);
  EXPECT_EQ(at16(b, 238), 3);
  // A longer name is cut to its width.
  drugrecord longname;
  longname.genericname = std::string(35, 'x');
  EXPECT_EQ(longname.encode().substr(0, 31), std::string(30, 'x') + " ");
}

TEST_F(DrugFiles, RecordWrittenAndReadBackKeepsEveryField) {
  const drugrecord d = sampledrug();
  writedrug(1, drugrecord::blank());
  writedrug(2, d);  // count + 1 appends
  EXPECT_EQ(fs::file_size(dir_ / "VQDBASE.FIL"), 480u);
  const drugrecord r = readdrug(2);
  EXPECT_EQ(r.genericname, "paracetamol" + std::string(19, ' '));
  EXPECT_EQ(r.tradename[0], "Panadolex" + std::string(21, ' '));
  EXPECT_EQ(r.tradename[1], std::string(30, ' '));
  EXPECT_EQ(r.doserange[0].amount, 0.5);
  EXPECT_EQ(r.doserange[0].unit, 3);
  EXPECT_EQ(r.doserange[1].amount, 1);
  EXPECT_EQ(r.increment, 0.25);
  EXPECT_EQ(r.halve, d.halve);
  EXPECT_EQ(r.preptype, d.preptype);
  EXPECT_EQ(r.strength, d.strength);
  EXPECT_EQ(r.strengthunit, d.strengthunit);
  EXPECT_EQ(r.volume, d.volume);
  EXPECT_EQ(r.volumeunit, d.volumeunit);
  EXPECT_EQ(r.category, 3);
  EXPECT_EQ(r.encode(), d.encode());
  // Rewriting a record replaces it in place.
  drugrecord e = d;
  e.category = 9;
  writedrug(1, e);
  EXPECT_EQ(readdrug(1).category, 9);
  EXPECT_EQ(readdrug(2).category, 3);
  EXPECT_EQ(drugcount(), 2);
  // The whole database replaced: a shorter one leaves no record behind.
  writedatabase({e});
  EXPECT_EQ(drugcount(), 1);
  ASSERT_EQ(readdatabase().size(), 1u);
  EXPECT_EQ(readdatabase()[0].encode(), e.encode());
}

TEST_F(DrugFiles, ReadingBeyondTheEndGivesTheBlankRecord) {
  for (int i = 1; i <= 6; ++i) writedrug(i, sampledrug());
  const drugrecord r = readdrug(7);
  EXPECT_EQ(r.genericname, std::string(30, ' '));
  EXPECT_EQ(r.tradename[0], std::string(30, ' '));
  EXPECT_EQ(r.doserange[0].amount, 0);
  EXPECT_EQ(r.doserange[1].amount, 0);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(r.preptype[k], 0);
    EXPECT_EQ(r.strength[k], 0);
  }
  EXPECT_EQ(r.category, 0);
  // A partial last record reads blank too.
  put("VQDBASE.FIL", get("VQDBASE.FIL") + std::string(100, 'z'));
  EXPECT_EQ(readdrug(7).category, 0);
  EXPECT_EQ(readdrug(6).category, 3);
}

TEST_F(DrugFiles, MissingDatabaseIsCreatedEmpty) {
  EXPECT_EQ(readdrug(1).encode(), drugrecord::blank().encode());
  EXPECT_TRUE(fs::exists(dir_ / "VQDBASE.FIL"));
  EXPECT_EQ(fs::file_size(dir_ / "VQDBASE.FIL"), 0u);
  EXPECT_TRUE(readdatabase().empty());
}

TEST_F(DrugFiles, WholeDatabaseReadInOneGoMatchesSingleReads) {
  // Enough records that the file is read in more than one piece.
  drugrecord d = sampledrug();
  std::vector<drugrecord> written;
  for (int i = 1; i <= 1200; ++i) {
    d.category = static_cast<std::int16_t>(i);
    d.strength[1] = i / 8.0;
    written.push_back(d);
  }
  writedatabase(written);
  // Half a record and one byte more counts as a further record, which reads blank.
  put("VQDBASE.FIL", get("VQDBASE.FIL") + std::string(121, 'z'));
  const auto all = readdatabase();
  ASSERT_EQ(all.size(), 1201u);
  for (long i = 1; i <= 1201; ++i) ASSERT_EQ(all[static_cast<std::size_t>(i - 1)].encode(), readdrug(i).encode()) << i;
  EXPECT_EQ(all[1199].category, 1200);
  EXPECT_EQ(all[1200].encode(), drugrecord::blank().encode());
}

TEST_F(DrugFiles, WholeDatabaseReadOfAFolderOrPipe) {
  fs::create_directory(dir_ / "VQDBASE.FIL");
  try {
    readdatabase();
    ADD_FAILURE() << "a folder read as a database";
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), ErrPathFileAccess);
  }
  fs::remove(dir_ / "VQDBASE.FIL");
  ASSERT_EQ(::mkfifo((dir_ / "VQDBASE.FIL").c_str(), 0600), 0);
  try {  // no writer: refused at once rather than waited for
    readdatabase();
    ADD_FAILURE() << "a pipe read as a database";
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), ErrPathFileAccess);
  }
}

TEST(DrugRecord, CountRoundsToNearestHalvesToEven) {
  EXPECT_EQ(drugrecordcount(0), 0);
  EXPECT_EQ(drugrecordcount(119), 0);
  EXPECT_EQ(drugrecordcount(120), 0);  // 0.5 -> 0
  EXPECT_EQ(drugrecordcount(121), 1);
  EXPECT_EQ(drugrecordcount(240), 1);
  EXPECT_EQ(drugrecordcount(360), 2);  // 1.5 -> 2
  EXPECT_EQ(drugrecordcount(600), 2);  // 2.5 -> 2
  EXPECT_EQ(drugrecordcount(601), 3);
}

TEST(DrugRecord, DecodeOfShortInputFillsWithZeros) {
  const drugrecord d = drugrecord::decode("abc");
  EXPECT_EQ(d.genericname, std::string("abc") + std::string(27, '\0'));
  EXPECT_EQ(d.category, 0);
  EXPECT_EQ(d.encode().size(), 240u);
}

TEST(IndexTexts, TabletAndSyrupDrugIsListedInBothFiles) {
  const std::vector<drugrecord> db = {withrows({{1, 0}}, 1),             // no preparation
                                      withrows({{0, 500}, {4, 120}}, 3),  // tablet and syrup
                                      withrows({{8, 10}}, 0)};           // injection, no category
  const auto t = buildindextexts(db, {"", "Analgesics", "Antibiotics", "Cardiovascular"}, {0, 3, 1, 2});
  EXPECT_EQ(t.solid, "1\r\n2,3\r\n");
  EXPECT_EQ(t.fluid, "2\r\n2,3\r\n3,0\r\n");
  // Categories in the order of the table; category 2 is used by no record.
  EXPECT_EQ(t.categories, "2\r\n\"Analgesics          \",3\r\n\"Antibiotics         \",1\r\n");
}

TEST(IndexTexts, StrengthZeroDrugIsInNeitherIndexButKeepsItsCategory) {
  const auto t = buildindextexts({withrows({{0, 0}, {4, 0}}, 5)}, {"", "Misc"}, {0, 5});
  EXPECT_EQ(t.solid, "\r\n");
  EXPECT_EQ(t.fluid, "\r\n");
  EXPECT_EQ(t.categories, "1\r\n\"Misc                \",5\r\n");
}

TEST(IndexTexts, RowWithoutTypeAndPositiveStrengthIsSolid) {
  const auto t = buildindextexts({withrows({{-1, 2}}, 0)}, {""}, {0});
  EXPECT_EQ(t.solid, "1\r\n1,0\r\n");
  EXPECT_EQ(t.fluid, "\r\n");
  EXPECT_EQ(t.categories, "0\r\n");
}

TEST(IndexTexts, CategoryNamesAreExactlyTwentyCharacters) {
  const std::vector<drugrecord> db = {withrows({{0, 1}}, 1), withrows({{0, 1}}, 2),
                                      withrows({{0, 1}}, 5)};
  const auto t = buildindextexts(
      db, {"", "Vitamins", "A very long category name", "Unused", "Quote\"d"}, {0, 1, 2, 4, 5});
  EXPECT_EQ(t.categories,
            "3\r\n\"Vitamins            \",1\r\n\"A very long category\",2\r\n\"Quote'd             \",5\r\n");
}

TEST_F(DrugFiles, IndexFilesLoadBackInBothBuilds) {
  const std::vector<drugrecord> db = {withrows({{0, 1}}, 1), withrows({{2, 1}}, 2),
                                      withrows({{0, 1}, {9, 1}}, 5)};
  writeindexfiles(buildindextexts(db, {"", "Vitamins", "Analgesics", "Respiratory"}, {0, 1, 2, 5}));
  EXPECT_EQ(get("vqcat.idx"),
            "3\r\n\"Vitamins            \",1\r\n\"Analgesics          \",2\r\n\"Respiratory         \",5\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(l.ntablets, 2);
  EXPECT_EQ(l.tabrec, (std::vector<std::int16_t>{0, 1, 3}));
  EXPECT_EQ(l.tabcat, (std::vector<std::int16_t>{0, 1, 5}));
  EXPECT_EQ(l.nfluids, 2);
  EXPECT_EQ(l.fluidrec, (std::vector<std::int16_t>{0, 2, 3}));
  EXPECT_EQ(l.fluidcat, (std::vector<std::int16_t>{0, 2, 5}));
  EXPECT_EQ(l.selected.size(), 3u);
  EXPECT_EQ(l.ncategories, 3);
  EXPECT_EQ(l.catname, (std::vector<std::string>{"", "Vitamins", "Analgesics", "Respiratory"}));
  EXPECT_EQ(l.catnum, (std::vector<std::int16_t>{0, 1, 2, 5}));

  loaddruglists(l, Build::Tool, [&](int e) { errors.push_back(e); });
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(l.catname.size(), 51u);
  ASSERT_EQ(l.catnum.size(), 51u);
  EXPECT_EQ(l.catname[1], "Vitamins            ");
  EXPECT_EQ(l.catname[4], std::string(20, ' '));
  EXPECT_EQ(l.catnum[3], 5);
}

// Both programs show a category by the same name, whatever blanks its file
// entry carries at either end.
TEST_F(DrugFiles, CategoryCaptionsAreTheSameInBothBuilds) {
  put("vqcat.idx", "2\r\n\"  Cardiac           \",3\r\n\"Vitamins\",1\r\n");
  for (Build build : {Build::Trainee, Build::Tool}) {
    DrugLists l;
    loadcategories(l, build, [](int) {});
    EXPECT_EQ(categorycaption(l, 1), "Cardiac");
    EXPECT_EQ(categorycaption(l, 1, Cut::Trailing), "  Cardiac");
    EXPECT_EQ(categorycaption(l, 2), "Vitamins");
    EXPECT_EQ(categorycaption(l, 0), "");
    EXPECT_EQ(categorycaption(l, 51), "");
  }
}

TEST_F(DrugFiles, NoSolidDrugLoadsAsNoTablets) {
  writeindexfiles(buildindextexts({withrows({{3, 1}}, 0)}, {""}, {0}));
  EXPECT_EQ(get("vqdbs1.idx"), "\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(l.ntablets, 0);
  EXPECT_EQ(l.tabrec.size(), 1u);
  EXPECT_EQ(l.nfluids, 1);
  EXPECT_EQ(l.ncategories, 0);
}

TEST_F(DrugFiles, MissingFilesFailAtTheOpenAndAtTheCount) {
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(errors, (std::vector<int>{53, 53, 52, 52, 53, 52}));
  EXPECT_EQ(l.ntablets, 0);
  EXPECT_EQ(l.nfluids, 0);
  EXPECT_EQ(l.ncategories, 0);
  EXPECT_EQ(l.catname.size(), 1u);
  // A note that names no new file changes nothing: each failure is
  // reported once.
  put(".vqdbs1.idx.set", "");
  errors.clear();
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(errors, (std::vector<int>{53, 53, 52, 52, 53, 52}));
}

TEST_F(DrugFiles, MissingSolidIndexDoesNotTakeTheFluidEntries) {
  put("vqdbs2.idx", "2\r\n4,1\r\n7,2\r\n");
  put("vqcat.idx", "0\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(errors, (std::vector<int>{53, 52}));
  EXPECT_EQ(l.ntablets, 0);
  EXPECT_EQ(l.tabrec, (std::vector<std::int16_t>{0}));
  EXPECT_EQ(l.nfluids, 2);
  EXPECT_EQ(l.fluidrec, (std::vector<std::int16_t>{0, 4, 7}));
}

// However a rebuild meets a load, the load gets the three files of one
// rebuild and writes nothing: a rebuild made or cut off after its note
// between the reads of two files, or before the load with no start-up of
// the tool since. A set replaced at every read fails with 75 rather than
// load a mixed set.
TEST_F(DrugFiles, ListsLoadedWhileTheyAreRebuiltComeFromOneRebuild) {
  const std::string a = "\"" + fixwidth("A", 20) + "\",1\r\n", b = "\"" + fixwidth("B", 20) + "\",2\r\n",
                    c = "\"" + fixwidth("C", 20) + "\",3\r\n";
  const std::vector<IndexTexts> sets{{"1\r\n1,1\r\n", "2\r\n2,1\r\n3,1\r\n", "1\r\n" + a},
                                     {"2\r\n1,2\r\n4,2\r\n", "1\r\n2,2\r\n", "2\r\n" + a + b},
                                     {"3\r\n1,3\r\n2,3\r\n5,3\r\n", "\r\n", "3\r\n" + a + b + c}};
  // Which of the sets a load gave (1 to 3), or 0 for a mix.
  auto which = [](const DrugLists& l) {
    for (int n = 1; n <= 3; ++n)
      if (l.ntablets == n && l.nfluids == 3 - n && l.ncategories == n) return n;
    return 0;
  };
  // A rebuild to set n, cut off by a failing nth rename (0: none) when the
  // note and the renames before it are done.
  auto rebuild = [&](int n, int failingrename) {
    WriteFaults f;
    f.rename = failingrename;
    setwritefaults(f);
    try {
      writeindexfiles(sets[static_cast<std::size_t>(n - 1)]);
    } catch (const FileError&) {
    }
    setwritefaults({});
  };
  struct Row {
    const char* when;
    int step;  // the read after which the hook rebuilds (0 the note's); -1: before the load
    std::vector<std::pair<int, int>> rebuilds;  // set and failing rename
    bool everyread;                   // the hook rebuilds at every read
    int loaded;
  };
  const std::vector<Row> rows{
      {"no rebuild", -1, {}, false, 1},
      {"cut off at its first rename", -1, {{2, 2}}, false, 1},
      {"cut off at its second rename", -1, {{2, 3}}, false, 2},
      {"cut off at its third rename", -1, {{2, 4}}, false, 2},
      {"cut off at the last flush", -1, {}, false, 2},
      {"cut off after the note was read", 0, {{2, 3}}, false, 2},
      {"made after the note was read", 0, {{2, 0}}, false, 2},
      {"made after the first read", 1, {{2, 0}}, false, 2},
      {"made after the second read", 2, {{2, 0}}, false, 2},
      {"made after the third read", 3, {{2, 0}}, false, 2},
      {"cut off after the first read", 1, {{2, 3}}, false, 2},
      {"cut off after the third read", 3, {{2, 4}}, false, 2},
      {"two made after the first read", 1, {{2, 0}, {3, 0}}, false, 3},
      {"two made after the second read", 2, {{3, 0}, {2, 0}}, false, 2},
      {"made at every read", 1, {}, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.when);
    for (const auto& n : names(dir_)) fs::remove(dir_ / n);
    writeindexfiles(sets[0]);
    if (std::string(row.when) == "cut off at the last flush") {
      WriteFaults f;
      f.flushfolder = 2;
      setwritefaults(f);
      EXPECT_THROW(writeindexfiles(sets[1]), SetUnfinished);
      setwritefaults({});
    }
    int rebuilt = 0;
    if (row.step < 0) {
      for (auto [n, failing] : row.rebuilds) rebuild(n, failing);
    } else {
      setsetreadhook([&](int step) {
        if (row.everyread) {
          // A new file renamed over the first: what each rebuild does to it.
          put("new", sets[0].solid);
          fs::rename(dir_ / "new", dir_ / "vqdbs1.idx");
        }
        else if (step == row.step && rebuilt++ == 0)
          for (auto [n, failing] : row.rebuilds) rebuild(n, failing);
      });
    }
    const auto before = names(dir_);
    std::vector<int> errors;
    DrugLists l;
    loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
    setsetreadhook(nullptr);
    EXPECT_EQ(which(l), row.loaded);
    EXPECT_EQ(errors, (row.everyread ? std::vector<int>{75, 75, 75} : std::vector<int>{}));
    if (row.step < 0) {
      EXPECT_EQ(names(dir_), before);  // the load wrote nothing
    }
  }
}

// Each missing entry fails, but only the first failure of each file is
// reported: the rest of the file loads on silently.
TEST_F(DrugFiles, CountLargerThanEntriesIsReportedOncePerFile) {
  put("vqdbs1.idx", "3\r\n4,1\r\n");
  put("vqdbs2.idx", "2\r\n5\r\n");  // second item of the first entry missing too
  put("vqcat.idx", "3\r\n\"Analgesics          \",1\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(errors, (std::vector<int>{62, 62, 62}));
  EXPECT_EQ(l.tabrec, (std::vector<std::int16_t>{0, 4, 0, 0}));
  EXPECT_EQ(l.tabcat, (std::vector<std::int16_t>{0, 1, 0, 0}));
  EXPECT_EQ(l.fluidrec, (std::vector<std::int16_t>{0, 5, 0}));
  EXPECT_EQ(l.fluidcat, (std::vector<std::int16_t>{0, 0, 0}));
  EXPECT_EQ(l.catname, (std::vector<std::string>{"", "Analgesics", "", ""}));
  EXPECT_EQ(l.catnum, (std::vector<std::int16_t>{0, 1, 0, 0}));
}

TEST_F(DrugFiles, OutOfRangeCountsAreRefused) {
  put("vqdbs1.idx", "-4\r\n");
  put("vqdbs2.idx", "99999\r\n1,1\r\n");
  put("vqcat.idx", "0\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(errors, (std::vector<int>{6, 9}));
  EXPECT_EQ(l.ntablets, 0);
  EXPECT_EQ(l.nfluids, 0);
}

TEST_F(DrugFiles, ToolKeepsAtMostFiftyCategories) {
  std::string cat = "60\r\n";
  for (int k = 1; k <= 60; ++k) cat += "\"C" + std::to_string(k) + "\"," + std::to_string(k) + "\r\n";
  put("vqcat.idx", cat);
  put("vqdbs1.idx", "\r\n");
  put("vqdbs2.idx", "\r\n");
  std::vector<int> errors;
  DrugLists l;
  loaddruglists(l, Build::Tool, [&](int e) { errors.push_back(e); });
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(l.ncategories, 50);
  EXPECT_EQ(l.catname[50], "C50" + std::string(17, ' '));
  loaddruglists(l, Build::Trainee, [&](int e) { errors.push_back(e); });
  EXPECT_EQ(l.ncategories, 60);
  EXPECT_EQ(l.catname[60], "C60");
}
