#include "core/files.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>
#include <fstream>
#include <iterator>

#include "core/drug.h"
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

namespace {
// The names in the folder, hidden ones included: a temporary file left
// behind shows here.
std::vector<std::string> names(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}
}  // namespace

// A symbolic link keeps pointing at its file, which gets the new bytes; a
// link to a missing file and a view of the system are refused; a new file
// has the mode the umask gives, an existing one keeps its own.
TEST_F(Folder, WholeFileWritesKeepLinksAndModes) {
  fs::create_directories(dir_ / "real");
  put("real/t.vqt", "old");
  fs::create_symlink("real/t.vqt", dir_ / "link.vqt");
  writewholefile("link.vqt", "new bytes");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.vqt"));
  EXPECT_EQ(get("real/t.vqt"), "new bytes");
  EXPECT_EQ(names(dir_ / "real"), std::vector<std::string>{"t.vqt"});
  // A chain of links ends at the same file.
  fs::create_symlink("link.vqt", dir_ / "chain.vqt");
  writewholefile("chain.vqt", "third");
  EXPECT_EQ(get("real/t.vqt"), "third");
  EXPECT_TRUE(fs::is_symlink(dir_ / "chain.vqt"));

  fs::create_symlink("real/missing.idx", dir_ / "dangling.idx");
  EXPECT_THROW(writewholefile("dangling.idx", "1"), FileError);
  EXPECT_FALSE(fs::exists(dir_ / "real/missing.idx"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.idx"));
  fs::create_symlink("/proc/self/mem", dir_ / "mem.idx");
  EXPECT_THROW(writewholefile("mem.idx", "1"), FileError);
  EXPECT_TRUE(fs::is_symlink(dir_ / "mem.idx"));

  const mode_t mask = ::umask(027);
  writewholefile("fresh.idx", "1");
  fs::permissions(dir_ / "real/t.vqt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  writewholefile("link.vqt", "fourth");
  ::umask(mask);
  EXPECT_EQ(fs::status(dir_ / "fresh.idx").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(fs::status(dir_ / "real/t.vqt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  // A name as long as a file name may be still gets its temporary file.
  const std::string longname(250, 'n');
  writewholefile(longname, "long");
  EXPECT_EQ(get(longname), "long");
  EXPECT_EQ(names(dir_), (std::vector<std::string>{"chain.vqt", "dangling.idx", "fresh.idx", "link.vqt", "mem.idx",
                                                   longname, "real"}));
}

// Two writers replacing one file at once each use a temporary file of
// their own: the file always ends whole as one of them wrote it, and no
// temporary file stays.
TEST_F(Folder, ConcurrentWholeFileWritersNeverMeet) {
  const std::string a(30000, 'a'), b(20000, 'b');
  std::atomic<int> failures{0};
  auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 100; ++i) {
      try {
        writewholefile("shared.idx", bytes);
      } catch (const FileError&) {
        ++failures;
      }
    }
  };
  std::thread one(writer, std::cref(a)), two(writer, std::cref(b));
  one.join();
  two.join();
  EXPECT_EQ(failures, 0);
  const std::string last = get("shared.idx");
  EXPECT_TRUE(last == a || last == b);
  EXPECT_EQ(names(dir_), std::vector<std::string>{"shared.idx"});
}

// A record file is an ordinary file: a pipe (writable or not), a device or
// a view of the system in its place is refused at once, never waited on
// and never written; nothing is created through a link to a missing file.
TEST_F(Folder, RecordFilesRefuseWhatIsNotAFile) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe.fil").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((dir_ / "readonly.fil").c_str(), 0444), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero.fil");
  fs::create_symlink("/proc/self/mem", dir_ / "mem.fil");
  for (const char* name : {"pipe.fil", "readonly.fil", "zero.fil", "mem.fil"}) {
    SCOPED_TRACE(name);
    try {
      RecordFile f(name, 240);
      ADD_FAILURE() << "opened";
    } catch (const FileError& e) {
      EXPECT_EQ(e.number(), 75);
    }
    EXPECT_THROW(readrecord(name, 240, 1), FileError);
    EXPECT_THROW(readwholefile(name), FileError);
  }
  // A file bigger than any data file (a sparse one here) is refused rather
  // than read into memory, whole or record list by record list.
  put("VQDBASE.FIL", "");
  fs::resize_file(dir_ / "VQDBASE.FIL", std::uintmax_t{600} << 20);
  for (const auto& read : std::vector<std::function<void()>>{[] { readwholefile("VQDBASE.FIL"); }, [] { readdatabase(); }}) {
    try {
      read();
      ADD_FAILURE() << "read";
    } catch (const FileError& e) {
      EXPECT_EQ(e.number(), 6);
    }
  }
  fs::create_symlink("gone/VQ.INI", dir_ / "VQ.INI");
  EXPECT_THROW(RecordFile("VQ.INI", 140), FileError);
  EXPECT_FALSE(fs::exists(dir_ / "gone"));
  // A read-only file is read; a write to it fails with "permission denied".
  put("ro.fil", std::string(480, 'r'));
  fs::permissions(dir_ / "ro.fil", fs::perms::owner_read);
  if (::geteuid() != 0) {
    RecordFile f("ro.fil", 240);
    EXPECT_EQ(*f.read(2), std::string(240, 'r'));
    try {
      f.write(1, "x");
      ADD_FAILURE() << "written";
    } catch (const FileError& e) {
      EXPECT_EQ(e.number(), 70);
    }
  }
  EXPECT_EQ(get("ro.fil"), std::string(480, 'r'));
}
