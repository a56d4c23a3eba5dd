#include "core/settings.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "core/files.h"

using namespace core;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public testsupport::TempFolder {
 protected:
  void TearDown() override {
    std::error_code ec;
    std::filesystem::permissions(dir_ / "VQ.INI", std::filesystem::perms::owner_all, ec);
    TempFolder::TearDown();
  }
  std::string get() { return TempFolder::get("VQ.INI"); }
};

void expectzero(const generalsettings& s) {
  EXPECT_EQ(s.encode(), std::string(140, '\0'));
}

}  // namespace

TEST_F(SettingsFile, MissingFileGivesZeroStateAndLeavesAnEmptyFile) {
  expectzero(readsettings());
  ASSERT_TRUE(fs::exists(dir_ / "VQ.INI"));
  EXPECT_EQ(fs::file_size(dir_ / "VQ.INI"), 0u);
  expectzero(readsettings());  // empty file
  std::ofstream(dir_ / "VQ.INI", std::ios::binary) << std::string(100, 'x');  // shorter than a record
  expectzero(readsettings());
}

TEST_F(SettingsFile, RestoreDefaultsSavedAreExactly140Bytes) {
  generalsettings s;
  s.block1 = std::string(60, 'A');
  s.block2 = "B";
  s.restoredefaults();
  EXPECT_EQ(s.block1, std::string(60, 'A'));  // the block stays
  writesettings(s);
  const std::string b = get();
  ASSERT_EQ(b.size(), 140u);
  EXPECT_EQ(b.substr(0, 60), std::string(60, 'A'));
  EXPECT_EQ(b.substr(60, 60), "B" + std::string(59, '\0'));
  // 170, 72, 229, 0, 1, 31, 0, 0, 0, 0 in bytes 120 to 139.
  EXPECT_EQ(b.substr(120), std::string("\xAA\0\x48\0\xE5\0\0\0\1\0\x1F\0\0\0\0\0\0\0\0\0", 20));
}

TEST_F(SettingsFile, RoundTripKeepsEveryFieldAndTheBlock) {
  generalsettings s;
  for (int i = 0; i < 60; ++i) {
    s.block1[i] = static_cast<char>(i * 4);
    s.block2[i] = static_cast<char>(255 - i);
  }
  s.spare1 = -2;
  s.spare2 = 300;
  s.spare3 = 3;
  s.animationsoff = 1;
  s.textured = 1;
  s.spare4 = 4;
  s.spare5 = -32768;
  s.abbreviations = -1;
  s.allmetric = 1;
  s.genericnames = -1;
  writesettings(s);
  writesettings(s);  // record 1 again: still one record
  EXPECT_EQ(fs::file_size(dir_ / "VQ.INI"), 140u);
  const generalsettings r = readsettings();
  EXPECT_EQ(r.block1, s.block1);
  EXPECT_EQ(r.block2, s.block2);
  EXPECT_EQ(r.spare1, -2);
  EXPECT_EQ(r.spare2, 300);
  EXPECT_EQ(r.spare5, -32768);
  EXPECT_EQ(r.abbreviations, -1);
  EXPECT_EQ(r.allmetric, 1);
  EXPECT_EQ(r.genericnames, -1);
  EXPECT_EQ(r.encode(), s.encode());
  // A longer file keeps its later bytes and only record 1 is read.
  std::ofstream(dir_ / "VQ.INI", std::ios::binary | std::ios::app) << "tail";
  EXPECT_EQ(readsettings().encode(), s.encode());
}

// Run as root the write is made by nobody, to whom the file is given: root
// may write any file.
TEST_F(SettingsFile, ReadOnlyFileFailsToSaveAndKeepsItsContent) {
  generalsettings s;
  s.textured = 1;
  writesettings(s);
  fs::permissions(dir_ / "VQ.INI", fs::perms::owner_read);
  const int status = testsupport::unprivileged({dir_ / "VQ.INI"}, [] {
    generalsettings t;
    t.textured = 0;
    t.allmetric = -1;
    return testsupport::errorof([&] { writesettings(t); }) == ErrPermission && readsettings().textured == 1;
  });
  if (status < 0) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(get(), s.encode());
}
