#include "core/drug.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/errors.h"
#include "core/files.h"

using namespace core;
namespace fs = std::filesystem;

namespace {

class DrugFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("dosavo_drug_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    setworkdir(dir_);
  }
  void TearDown() override {
    setworkdir({});
    fs::remove_all(dir_);
  }
  void put(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string get(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

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
