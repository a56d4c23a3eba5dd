#include "core/files.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "core/errors.h"

using namespace core;
namespace fs = std::filesystem;

namespace {

class Folder : public testsupport::TempFolder {};

}  // namespace

TEST_F(Folder, RecordsLieAtTheirOffsets) {
  RecordFile f("r.dat", 4);
  EXPECT_TRUE(fs::exists(dir_ / "r.dat"));
  EXPECT_FALSE(f.read(1).has_value());
  f.write(1, "abcd");
  f.write(2, "ef");  // a short record is filled with blanks
  f.write(1, "ABCD");
  EXPECT_EQ(get("r.dat"), "ABCDef  ");
  EXPECT_EQ(f.wholerecords(), 2);
  EXPECT_EQ(*f.read(2), "ef  ");
  EXPECT_FALSE(f.read(3).has_value());
  f.close();
  std::ofstream(dir_ / "r.dat", std::ios::binary | std::ios::app) << "xy";
  RecordFile g("r.dat", 4);
  EXPECT_FALSE(g.read(3).has_value());  // partial record
  EXPECT_EQ(g.wholerecords(), 2);
}

TEST_F(Folder, BadNamesAndRecordNumbers) {
  EXPECT_THROW(RecordFile("", 4), FileError);
  fs::create_directories(dir_ / "sub");
  try {
    RecordFile d("sub", 4);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), 75);
  }
  RecordFile f("r.dat", 4);
  EXPECT_THROW(f.read(0), FileError);
  // A huge record number lies beyond the end; it never wraps to an early record.
  f.write(1, "abcd");
  EXPECT_FALSE(f.read(4611686018427387905L).has_value());
  EXPECT_FALSE(f.read(2147483648L).has_value());
  EXPECT_THROW(f.write(4611686018427387905L, "x"), FileError);
  f.close();
  EXPECT_THROW(f.read(1), FileError);
}

TEST_F(Folder, OneShotReadsAndWholeFileWrites) {
  // A missing file is created empty, as opening a record file does.
  EXPECT_FALSE(readrecord("r.dat", 4, 1).has_value());
  EXPECT_TRUE(fs::exists(dir_ / "r.dat"));
  writewholefile("r.dat", "abcdefghij");
  EXPECT_EQ(*readrecord("r.dat", 4, 2), "efgh");
  EXPECT_FALSE(readrecord("r.dat", 4, 3).has_value());  // partial record
  EXPECT_FALSE(readrecord("r.dat", 4, 2147483648L).has_value());
  // A shorter text replaces the whole file; a record written in between is seen.
  writewholefile("r.dat", "wxyz");
  EXPECT_EQ(get("r.dat"), "wxyz");
  { RecordFile("r.dat", 4).write(2, "1234"); }
  EXPECT_EQ(*readrecord("r.dat", 4, 2), "1234");
  auto errorof = [](const std::function<void()>& op) {
    try {
      op();
    } catch (const FileError& e) {
      return e.number();
    }
    return 0;
  };
  fs::create_directories(dir_ / "sub");
  EXPECT_EQ(errorof([] { readrecord("sub", 4, 1); }), 75);
  EXPECT_EQ(errorof([] { readrecord("r.dat", 4, 0); }), 52);
  EXPECT_EQ(errorof([] { writewholefile("nofolder/x.idx", "1"); }), 76);
  EXPECT_EQ(errorof([] { writewholefile("sub", "1"); }), 75);
  EXPECT_EQ(errorof([] { writewholefile("", "1"); }), 52);
}

TEST_F(Folder, AppendCreatesAndAppends) {
  appendtext("log.txt", "one\r\n");
  appendtext("log.txt", "two\r\n");
  EXPECT_EQ(get("log.txt"), "one\r\ntwo\r\n");
  touchappend("new.txt");
  EXPECT_EQ(filesize("new.txt"), 0u);
  EXPECT_EQ(filesize("log.txt"), 10u);
  // A missing file is "file not found"; a missing folder "path not found".
  try {
    filesize("missing.txt");
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), 53);
  }
  try {
    filesize("nofolder/missing.txt");
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), 76);
  }
  try {
    appendtext("nofolder/log.txt", "x");
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), 76);
  }
  EXPECT_EQ(datapath("/abs/x"), fs::path("/abs/x"));
}

TEST_F(Folder, AnAppendThatFailsPartWayLeavesTheFileAsItWas) {
  appendtext("log.txt", "earlier entry\r\n");
  // A file size limit just beyond the current end makes the next write stop
  // part-way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 25;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(appendtext("log.txt", std::string(100, 'x')), FileError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(get("log.txt"), "earlier entry\r\n");
  appendtext("log.txt", "next\r\n");
  EXPECT_EQ(get("log.txt"), "earlier entry\r\nnext\r\n");
}

TEST_F(Folder, WholeFileWriteThatFailsLeavesTheOldFile) {
  const std::string old(5000, 'o');
  writewholefile("t.vqt", old);
  fs::permissions(dir_ / "t.vqt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A full disk part-way through the new bytes: the old file is whole and
  // no temporary file is left beside it.
  failwholewritesafter(3000);
  try {
    writewholefile("t.vqt", std::string(8000, 'n'));
    ADD_FAILURE() << "the write should have failed";
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), 75);
  }
  failwholewritesafter(std::nullopt);
  EXPECT_EQ(get("t.vqt"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  // A write that succeeds keeps the file's permissions.
  writewholefile("t.vqt", "new");
  EXPECT_EQ(get("t.vqt"), "new");
  EXPECT_EQ(fs::status(dir_ / "t.vqt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A pipe in place of the file is not replaced, and nothing waits on it.
  ASSERT_EQ(::mkfifo((dir_ / "p.idx").c_str(), 0644), 0);
  EXPECT_THROW(writewholefile("p.idx", "1"), FileError);
  EXPECT_TRUE(fs::is_fifo(dir_ / "p.idx"));
  if (::geteuid() != 0) {
    // A read-only file stays as it was.
    fs::permissions(dir_ / "t.vqt", fs::perms::owner_read);
    EXPECT_THROW(writewholefile("t.vqt", "x"), FileError);
    EXPECT_EQ(get("t.vqt"), "new");
  }
}
