#include "core/filefaults.h"
#include "core/files.h"

#include <gtest/gtest.h>

#include "tests/core/support.h"
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <algorithm>
#include <cctype>
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

using testsupport::unprivileged;
using testsupport::errorof;

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
  // A read-only file stays as it was, in a folder that may be written.
  fs::permissions(dir_ / "t.vqt", fs::perms::owner_read);
  const int status =
      unprivileged({dir_, dir_ / "t.vqt"}, [] { return errorof([] { writewholefile("t.vqt", "x"); }) == 70; });
  if (status < 0) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(get("t.vqt"), "new");
}

using testsupport::names;

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
  const int status = unprivileged({dir_ / "ro.fil"}, [] {
    RecordFile f("ro.fil", 240);
    return *f.read(2) == std::string(240, 'r') && errorof([&] { f.write(1, "x"); }) == 70;
  });
  if (status < 0) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(get("ro.fil"), std::string(480, 'r'));
}

// A record write that fails part-way (the disk fills, the file may not be
// written) leaves the file as it was, old length and old bytes, whether it
// appended or replaced a record; the number names the cause.
TEST_F(Folder, RecordWritesThatFailLeaveTheFileAsItWas) {
  struct Row {
    int error, number;
  };
  const std::string old = std::string(2012, 'h') + std::string(2012, 'q');
  for (const Row row : {Row{ENOSPC, 61}, Row{EDQUOT, 61}, Row{EACCES, 70}, Row{EROFS, 70}, Row{EIO, 75}}) {
    SCOPED_TRACE(row.error);
    put("t.vqt", old);
    RecordFile f("t.vqt", 2012);
    WriteFaults faults;
    faults.recordafter = 700;
    faults.error = row.error;
    setwritefaults(faults);
    EXPECT_EQ(errorof([&] { f.write(3, std::string(2012, 'n')); }), row.number);  // an append
    EXPECT_EQ(errorof([&] { f.write(2, std::string(2012, 'n')); }), row.number);  // in place
    setwritefaults({});
    EXPECT_EQ(get("t.vqt"), old);
    f.write(3, "next");
    EXPECT_EQ(f.wholerecords(), 3);
  }
  EXPECT_EQ(errorcause(61), "the disk is full");
  EXPECT_EQ(errorcause(75), "");
}

namespace {
// The names in the folder other than the files given: what a write left.
std::vector<std::string> leftover(const fs::path& dir, const std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const auto& n : names(dir))
    if (std::find(files.begin(), files.end(), n) == files.end()) out.push_back(n);
  return out;
}
}  // namespace

// Each step of replacing a file can fail: the writing, the flush of the
// new file, the rename, the flush of the folder. A single file is then its
// old self (or, once renamed, its new self) and no temporary file stays.
// A set of files is its old set while its note is not yet in place;
// after that it is finished as the new set by tidyworkdir, which a failed
// rename or a kill leaves to do. Either way, no set is ever mixed.
TEST_F(Folder, EveryStepOfReplacingFilesMayFail) {
  const std::vector<std::string> set{"vqdbs1.idx", "vqdbs2.idx", "vqcat.idx"};
  struct Row {
    const char* step;
    WriteFaults faults;
    bool single;   // for one file rather than a set
    bool renewed;  // the new bytes are in place after tidyworkdir
  };
  auto fault = [](int WriteFaults::*step, int nth) {
    WriteFaults f;
    f.*step = nth;
    f.error = ENOSPC;
    return f;
  };
  WriteFaults written;
  written.wholeafter = 3;
  written.error = ENOSPC;
  const std::vector<Row> rows{
      {"write", written, true, false},
      {"flush of the file", fault(&WriteFaults::flushfile, 1), true, false},
      {"rename", fault(&WriteFaults::rename, 1), true, false},
      {"flush of the folder", fault(&WriteFaults::flushfolder, 1), true, true},
      {"write of the set", written, false, false},
      {"flush of the second file", fault(&WriteFaults::flushfile, 2), false, false},
      {"flush of the note", fault(&WriteFaults::flushfile, 4), false, false},
      {"rename of the note", fault(&WriteFaults::rename, 1), false, false},
      {"flush of the folder after the note", fault(&WriteFaults::flushfolder, 1), false, false},
      {"first rename", fault(&WriteFaults::rename, 2), false, false},
      {"second rename", fault(&WriteFaults::rename, 3), false, true},
      {"third rename", fault(&WriteFaults::rename, 4), false, true},
      {"flush of the folder after the renames", fault(&WriteFaults::flushfolder, 2), false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.step);
    for (const auto& n : set) put(n, "old " + n);
    setwritefaults(row.faults);
    const int number = errorof([&] {
      if (row.single) writewholefile(set[0], "new one");
      else writewholefiles({{set[0], "new 1"}, {set[1], "new 2"}, {set[2], "new 3"}});
    });
    setwritefaults({});
    EXPECT_EQ(number, 61);
    if (!row.renewed) {
      EXPECT_EQ(leftover(dir_, set), std::vector<std::string>{});
      EXPECT_EQ(get(set[0]), "old " + set[0]);
      EXPECT_EQ(get(set[2]), "old " + set[2]);
    }
    tidyworkdir();
    EXPECT_EQ(leftover(dir_, set), std::vector<std::string>{});
    if (row.single) {
      EXPECT_EQ(get(set[0]), row.renewed ? "new one" : "old " + set[0]);
    } else {
      const bool n = row.renewed;
      EXPECT_EQ(get(set[0]) + get(set[1]) + get(set[2]),
                n ? "new 1new 2new 3" : "old vqdbs1.idxold vqdbs2.idxold vqcat.idx");
    }
  }
  // With no fault set the folder is really flushed: after a file's rename,
  // and for a set after its note, its renames and the note's removal.
  filecounts() = {};
  writewholefile(set[0], "one");
  EXPECT_EQ(filecounts().folderflushes, 1);
  writewholefiles({{set[0], "new 1"}, {set[1], "new 2"}, {set[2], "new 3"}});
  EXPECT_EQ(filecounts().folderflushes, 4);
}

// At start-up only temporary files of our own naming, written on this
// machine by a process that has gone, are removed; a set whose renames
// were cut off is finished from its note.
TEST_F(Folder, TidyingRemovesOnlyTheTemporaryFilesOfWritersThatAreGone) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  std::string mark;
  for (const char* c = host; *c != '\0' && mark.size() < 32; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c)) || *c == '-') mark += *c;
  auto temp = [&](const std::string& target, long pid, const std::string& on) {
    return "." + target + ".~" + on + "~" + std::to_string(pid) + "~7.tmp";
  };
  const std::vector<std::string> kept{temp("a.vqt", ::getpid(), mark), temp("a.vqt", gone, "elsewhere"),
                                      ".a.vqt.~" + mark + "~x~7.tmp", "a.vqt.~" + mark + "~1~7.tmp",
                                      "VQDBASE.TMP", "test.tmp", ".hidden"};
  for (const auto& n : kept) put(n, "keep");
  put(temp("a.vqt", gone, mark), "stale");
  put(temp("VQDBASE.FIL", gone, mark), "stale");
  // A set cut off after its first rename: the note names the new files.
  put("vqdbs1.idx", "new 1");
  put("vqdbs2.idx", "old 2");
  put("vqcat.idx", "old 3");
  put(temp("vqdbs2.idx", gone, mark), "new 2");
  put(temp("vqcat.idx", gone, "elsewhere"), "new 3");
  put(".vqdbs1.idx.set", "vqdbs1.idx\n" + temp("vqdbs1.idx", gone, mark) + "\nvqdbs2.idx\n" +
                             temp("vqdbs2.idx", gone, mark) + "\nvqcat.idx\n" + temp("vqcat.idx", gone, "elsewhere") +
                             "\n../x\n.../x.tmp\nVQDBASE.FIL\nVQDBASE.TMP\n");
  tidyworkdir();
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"vqcat.idx", "vqdbs1.idx", "vqdbs2.idx"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(dir_), expected);
  EXPECT_EQ(get("vqdbs1.idx") + get("vqdbs2.idx") + get("vqcat.idx"), "new 1new 2new 3");
  EXPECT_EQ(get("VQDBASE.TMP"), "keep");

  // A note is followed only to regular new files of our naming, each for
  // the list it names; a rename that fails keeps the note and the new
  // files for the next start; a writer that kill may not ask about
  // (another user's running process) keeps its file.
  struct Row {
    const char* what;
    std::string second;  // the new file named for vqdbs2.idx
    char kind;           // f file, l link, d folder
    int failingrename;
    int processerror;
    bool renewed;        // vqdbs2.idx is new after the first start
    bool kept;           // the file named stays after it
  };
  const std::string ours = temp("vqdbs2.idx", gone, mark);
  const std::vector<Row> rows{
      {"a new file", ours, 'f', 0, 0, true, false},
      {"a link", ours, 'l', 0, 0, false, true},
      {"a folder", ours, 'd', 0, 0, false, true},
      {"not of our naming", ".vqdbs2.idx.~" + mark + "~12~x.tmp", 'f', 0, 0, false, true},
      {"the new file of another list", temp("vqcat.idx", gone, mark), 'f', 0, 0, false, false},
      {"a rename that fails", ours, 'f', 2, 0, false, true},
      {"another user's writer", ours, 'f', 0, EPERM, true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    for (const auto& n : names(dir_)) fs::remove_all(dir_ / n);
    put("vqdbs1.idx", "old 1");
    put("vqdbs2.idx", "old 2");
    put(temp("vqdbs1.idx", gone, mark), "new 1");
    if (row.kind == 'f') put(row.second, "new 2");
    if (row.kind == 'l') {
      put("elsewhere", "new 2");
      fs::create_symlink("elsewhere", dir_ / row.second);
    }
    if (row.kind == 'd') fs::create_directory(dir_ / row.second);
    put(".vqdbs1.idx.set", "vqdbs1.idx\n" + temp("vqdbs1.idx", gone, mark) + "\nvqdbs2.idx\n" + row.second + "\n");
    put(temp("a.vqt", gone, mark), "stale");
    WriteFaults f;
    f.rename = row.failingrename;
    f.processerror = row.processerror;
    setwritefaults(f);
    tidyworkdir();
    setwritefaults({});
    EXPECT_EQ(get("vqdbs1.idx"), "new 1");
    EXPECT_EQ(get("vqdbs2.idx"), row.renewed ? "new 2" : "old 2");
    EXPECT_EQ(fs::exists(fs::symlink_status(dir_ / row.second)), row.kept);
    EXPECT_EQ(fs::exists(dir_ / ".vqdbs1.idx.set"), row.failingrename != 0);
    EXPECT_EQ(fs::exists(dir_ / temp("a.vqt", gone, mark)), row.processerror == EPERM);
    if (row.failingrename != 0) {
      tidyworkdir();  // the next start finishes the set
      EXPECT_EQ(get("vqdbs2.idx"), "new 2");
      EXPECT_FALSE(fs::exists(dir_ / ".vqdbs1.idx.set"));
    }
  }
}

// Each machine gives its temporary files a mark of its own, whatever its
// name; the name of a temporary file gives back its list, mark and writer.
TEST(TempNames, EveryMachineHasAMarkOfItsOwn) {
  const std::string longname(40, 'a');
  const std::vector<std::pair<std::string, std::string>> pairs{
      {"lab.pc1", "labpc1"}, {"lab_pc1", "lab.pc1"}, {longname + "1", longname + "2"}, {"", "_"}, {"a~b", "ab"}};
  for (const auto& [one, two] : pairs) {
    SCOPED_TRACE(one + " / " + two);
    EXPECT_NE(hostmark(one), hostmark(two));
    for (const std::string& host : {one, two}) {
      const std::string name = tempname("vqdbs1.idx", hostmark(host), 4321, 7);
      const auto back = parsetempname(name);
      ASSERT_TRUE(back.has_value()) << name;
      EXPECT_EQ(back->target, "vqdbs1.idx");
      EXPECT_EQ(back->mark, hostmark(host));
      EXPECT_EQ(back->pid, 4321);
    }
  }
  EXPECT_EQ(hostmark("lab.pc1"), "lab_2Epc1");
  // A long list name is cut so that the name stays within a folder's limit.
  EXPECT_LE(tempname(std::string(300, 'x'), hostmark(std::string(64, '.')), 2147483647, 999999999).size(), 255u);
  for (const char* bad : {".a.vqt.~m~x~7.tmp", "a.vqt.~m~1~7.tmp", ".a.vqt.~m~1~7.txt", ".a.vqt~m~1~7.tmp", ".~m~1~7.tmp"})
    EXPECT_FALSE(parsetempname(bad).has_value()) << bad;
}

namespace {
// A writer in another process that stores record 'record' again and again,
// alternately all 'a' and all 'b', while the test reads it; gives its pid.
pid_t recordwriter(const std::string& name, std::size_t length, long record, int rounds) {
  const pid_t child = ::fork();
  if (child == 0) {
    RecordFile f(name, length);
    for (int i = 0; i < rounds; ++i) f.write(record, std::string(length, i % 2 ? 'b' : 'a'));
    ::_exit(0);
  }
  return child;
}

bool uniform(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [&](char c) { return c == bytes.front(); });
}

bool running(pid_t child) {
  int status = 0;
  return ::waitpid(child, &status, WNOHANG) == 0;
}
}  // namespace

// A record read while another program writes it is either version, never
// a mix: a question, a drug record (both across a page boundary), a large
// record, and whole-file reads of a drug database. A lock held by a
// program that hangs fails the read after a bounded wait.
TEST_F(Folder, ReadsWhileAnotherProgramWritesSeeWholeRecords) {
  struct Row {
    std::size_t length;
    long record;
    int rounds;
  };
  for (const Row row : {Row{2012, 3, 3000}, Row{240, 18, 3000}, Row{std::size_t{1} << 20, 2, 300}}) {
    SCOPED_TRACE(row.length);
    put("r.fil", std::string(row.length * static_cast<std::size_t>(row.record), 'a'));
    const pid_t writer = recordwriter("r.fil", row.length, row.record, row.rounds);
    long reads = 0, torn = 0;
    RecordFile f("r.fil", row.length);
    // At least one read, however soon a busy machine lets the writer end.
    do {
      const auto one = readrecord("r.fil", row.length, row.record);
      const auto two = f.read(row.record);
      torn += !uniform(*one) + !uniform(*two);
      reads += 2;
    } while (running(writer));
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0) << "of " << reads;
  }
  put("VQDBASE.FIL", std::string(240 * 40, 'a'));
  const pid_t writer = recordwriter("VQDBASE.FIL", 240, 18, 3000);
  long torn = 0;
  do {
    const std::string whole = readwholefile("VQDBASE.FIL");
    torn += !uniform(std::string_view(whole).substr(17 * 240, 240));
    const auto database = readdatabase();
    torn += !uniform(database.at(17).genericname.view());
  } while (running(writer));
  EXPECT_EQ(torn, 0);
}

namespace {
// Another program that takes a sole lock on [start, start + length) of a
// file and holds it until it is killed; gives its pid once it holds it.
pid_t holdlock(const fs::path& file, off_t start, off_t length) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t holder = ::fork();
  if (holder == 0) {
    const int fd = ::open(file.c_str(), O_RDWR);
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = start;
    l.l_len = length;
    const char done = ::fcntl(fd, F_OFD_SETLK, &l) == 0 ? 'y' : 'n';
    if (::write(ready[1], &done, 1) != 1) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  char done = 0;
  const bool held = ::read(ready[0], &done, 1) == 1 && done == 'y';
  ::close(ready[0]);
  ::close(ready[1]);
  return held ? holder : -1;
}
}  // namespace

// While another program holds a sole lock, every read and write of the
// bytes it covers waits for it, for three seconds in all, and then fails
// with 75; bytes outside it are read at once. A file system that keeps no
// locks is used without them, and a folder it cannot flush does not fail
// a save.
TEST_F(Folder, ReadsAndWritesWaitForALockHeldByAnotherProgram) {
  using std::chrono::seconds;
  const std::vector<std::pair<const char*, std::function<void()>>> ops{
      {"readrecord 2", [] { readrecord("VQDBASE.FIL", 240, 2); }},
      {"read 2", [] { RecordFile("VQDBASE.FIL", 240).read(2); }},
      {"write 2", [] { RecordFile("VQDBASE.FIL", 240).write(2, "x"); }},
      {"readrecord 3", [] { readrecord("VQDBASE.FIL", 240, 3); }},
      {"read 3", [] { RecordFile("VQDBASE.FIL", 240).read(3); }},
      {"readwholefile", [] { readwholefile("VQDBASE.FIL"); }},
      {"openwhole", [] { ::close(openwhole("VQDBASE.FIL")); }},
      {"readdatabase", [] { readdatabase(); }},
  };
  struct Row {
    const char* held;
    off_t start, length;
    int lockerror;
    std::vector<int> failing;  // the operations above that wait and fail
  };
  const std::vector<Row> rows{
      {"record 2", 240, 240, 0, {0, 1, 2, 5, 6, 7}},
      {"the first byte of record 2", 240, 1, 0, {0, 1, 2, 5, 6, 7}},
      {"the last byte of record 2", 479, 1, 0, {0, 1, 2, 5, 6, 7}},
      {"the first byte of record 3", 480, 1, 0, {3, 4, 5, 6, 7}},
      {"record 2, on a server without locks", 240, 240, ENOLCK, {}},
      {"record 2, on a server that refuses them", 240, 240, EINVAL, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.held);
    put("VQDBASE.FIL", std::string(240 * 3, 'a'));
    const pid_t holder = holdlock(dir_ / "VQDBASE.FIL", row.start, row.length);
    ASSERT_GT(holder, 0);
    WriteFaults f;
    f.sleeplesswaits = true;
    f.lockerror = row.lockerror;
    setwritefaults(f);
    for (std::size_t i = 0; i < ops.size(); ++i) {
      SCOPED_TRACE(ops[i].first);
      const bool fails = std::find(row.failing.begin(), row.failing.end(), static_cast<int>(i)) != row.failing.end();
      filecounts() = {};
      EXPECT_EQ(errorof(ops[i].second), fails ? 75 : 0);
      EXPECT_EQ(filecounts().lockwaited, fails ? seconds(3) : seconds(0));
      EXPECT_EQ(filecounts().lockpauses > 0, fails);
    }
    if (row.lockerror != 0) {
      // Nor does a folder such a server cannot flush fail the save.
      f.flushfolder = 1;
      f.error = row.lockerror == ENOLCK ? EINVAL : EROFS;
      setwritefaults(f);
      EXPECT_EQ(errorof([] { writewholefile("VQDBASE.FIL", "new"); }), 0);
      EXPECT_EQ(get("VQDBASE.FIL"), "new");
    }
    setwritefaults({});
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
  }
}
