#include "core/listfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/errors.h"
#include "core/files.h"
#include "tests/core/support.h"

using namespace core;
namespace fs = std::filesystem;

using testsupport::errorof;

TEST(ItemReading, QuotedItemsKeepCommasAndBlanks) {
  auto r = ItemReader::fromtext("  \"a, b  \" , 12,x y  \r\n\"last\"");
  EXPECT_EQ(r.item(), "a, b  ");
  EXPECT_EQ(r.number(), 12);
  EXPECT_EQ(r.item(), "x y");
  EXPECT_EQ(r.item(), "last");
  EXPECT_TRUE(r.eof());
  EXPECT_EQ(errorof([&] { r.item(); }), 62);
}

TEST(ItemReading, EmptyLineAsNumberIsZero) {
  auto r = ItemReader::fromtext("\r\n3\r\n\n4,5\r\n");
  EXPECT_EQ(r.number(), 0);
  EXPECT_EQ(r.number(), 3);
  EXPECT_EQ(r.number(), 0);  // LF alone ends a line too
  EXPECT_EQ(r.number(), 4);
  EXPECT_EQ(r.number(), 5);
  EXPECT_TRUE(r.eof());
}

TEST(ItemReading, UnclosedQuoteRunsToTheEnd) {
  auto r = ItemReader::fromtext("\"open, text\r\nmore");
  EXPECT_EQ(r.item(), "open, text\r\nmore");
  EXPECT_TRUE(r.eof());
  auto s = ItemReader::fromtext("\"q\"junk,7");
  EXPECT_EQ(s.item(), "q");
  EXPECT_EQ(s.number(), 7);
}

TEST(ItemReading, FilesMissingAndEmpty) {
  const fs::path dir = fs::temp_directory_path() / ("dosavo_list_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  setworkdir(dir);
  EXPECT_EQ(errorof([] { ItemReader r("nothere.ini"); }), 53);
  EXPECT_EQ(errorof([] { ItemReader r("nofolder/nothere.ini"); }), 76);
  std::ofstream(dir / "empty.ini").close();
  ItemReader e("empty.ini");
  EXPECT_EQ(errorof([&] { e.item(); }), 62);
  EXPECT_EQ(errorof([] { ItemReader r(""); }), 52);
  setworkdir({});
  fs::remove_all(dir);
}

TEST(ItemReading, LargeFileIsReadAsTheItemsAreTaken) {
  const fs::path dir = fs::temp_directory_path() / ("dosavo_listlarge_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  setworkdir(dir);
  {
    std::ofstream out(dir / "big.idx", std::ios::binary);
    out << "100000\r\n";
    for (int i = 1; i <= 100000; ++i) out << i << ',' << i % 7 << "\r\n";
    // Items longer than any list file holds are kept to their first
    // MAX_ITEM characters, and the item after them still reads.
    out << std::string(ItemReader::MAX_ITEM + 10, 'x') << ",\"" << std::string(ItemReader::MAX_ITEM + 5, 'q')
        << "\",last";
  }
  ItemReader r("big.idx");
  ASSERT_EQ(r.number(), 100000);
  bool same = true;
  for (int i = 1; i <= 100000; ++i) same = same && r.number() == i && r.number() == i % 7;
  EXPECT_TRUE(same);
  EXPECT_EQ(r.item(), std::string(ItemReader::MAX_ITEM, 'x'));
  EXPECT_EQ(r.item(), std::string(ItemReader::MAX_ITEM, 'q'));
  EXPECT_EQ(r.item(), "last");
  EXPECT_TRUE(r.eof());
  EXPECT_EQ(errorof([&] { r.item(); }), 62);
  setworkdir({});
  fs::remove_all(dir);
}

// A pipe, device, view of the system or file larger than any list file is
// refused at once (75) and never waited on; a read that fails (here: a
// file giving more than its size) is reported once by 75, after which the
// file is at its end.
TEST(ItemReading, PipesDevicesAndFailingReads) {
  const fs::path dir = fs::temp_directory_path() / ("dosavo_listhostile_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  setworkdir(dir);
  ASSERT_EQ(::mkfifo((dir / "pipe.idx").c_str(), 0644), 0);
  fs::create_symlink("/proc/self/mem", dir / "mem.idx");
  fs::create_symlink("/proc/self/status", dir / "status.idx");
  std::ofstream(dir / "huge.idx").close();
  fs::resize_file(dir / "huge.idx", std::uintmax_t{4} << 30);  // sparse
  for (const char* name : {"pipe.idx", "/dev/zero", "/dev", "mem.idx", "status.idx", "huge.idx"})
    EXPECT_EQ(errorof([name] { ItemReader r(name); }), 75) << name;
  std::ofstream(dir / "grows.idx", std::ios::binary) << "1,2";
  ItemReader r("grows.idx");
  std::ofstream(dir / "grows.idx", std::ios::binary | std::ios::app) << std::string(100, '3');
  EXPECT_FALSE(r.eof());
  EXPECT_EQ(errorof([&] { r.item(); }), 75);
  EXPECT_TRUE(r.eof());
  EXPECT_EQ(errorof([&] { r.item(); }), 62);
  // Each item is kept to the limit its reader asks for.
  auto k = ItemReader::fromtext("\"" + std::string(30, 'n') + "\",7\r\n");
  EXPECT_EQ(k.item(20), std::string(20, 'n'));
  EXPECT_EQ(k.number(), 7);
  setworkdir({});
  fs::remove_all(dir);
}

TEST(ItemWriting, QuotedTextsBareNumbersCrLf) {
  ItemWriter w;
  EXPECT_EQ(w.text("Analgesics  ").number(3).line(), "\"Analgesics  \",3\r\n");
  EXPECT_EQ(w.number(12).number(-1).line(), "12,-1\r\n");
  EXPECT_EQ(w.line(), "\r\n");
  // What is written reads back item for item.
  auto r = ItemReader::fromtext(w.text("a,b").number(7).line());
  EXPECT_EQ(r.item(), "a,b");
  EXPECT_EQ(r.number(), 7);
}
