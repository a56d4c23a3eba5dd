#include <gtest/gtest.h>

#include "tests/core/support.h"

#include <sys/stat.h>

#include "authoring/model/testfiles.h"
#include "core/errors.h"
#include "core/testfile.h"
#include "core/text.h"

using namespace authoring;

namespace {

class TestFiles : public testsupport::TempFolder {
 protected:
  std::string header = core::testrecord::header("Doses", "Five questions", "Work alone", 1).encode();
  std::string item(const std::string& q) { return core::testrecord::item(q, "Help " + q, q).encode(); }
  // A header and five questions.
  std::string five() { return header + item("Q1") + item("Q2") + item("Q3") + item("Q4") + item("Q5"); }
};

TEST_F(TestFiles, ASaveHoldsTheHeaderAndExactlyTheTestsQuestions) {
  put("test.tmp", five());
  ASSERT_TRUE(savetest("test.tmp", 3, "x.vqt"));
  EXPECT_EQ(get("x.vqt").size(), 8048u);
  EXPECT_EQ(get("x.vqt"), header + item("Q1") + item("Q2") + item("Q3"));
  // An existing test is replaced whole; a question not yet stored is blank.
  put("y.vqt", std::string(50000, 'z'));
  ASSERT_TRUE(savetest("test.tmp", 6, "y.vqt"));
  EXPECT_EQ(get("y.vqt"), five() + core::testrecord::blank().encode());
  EXPECT_EQ(get("test.tmp"), five());

  // A write that fails part-way leaves the old test whole.
  put("z.vqt", "old test");
  core::failwholewritesafter(3000);
  EXPECT_THROW(savetest("test.tmp", 3, "z.vqt"), core::FileError);
  core::failwholewritesafter(std::nullopt);
  EXPECT_EQ(get("z.vqt"), "old test");
}

TEST_F(TestFiles, NewTestThenASavedOneQuestionTestIsEditedInPlace) {
  put("test.tmp", five());
  TestDocument doc;
  doc.filename = "other.vqt";
  doc.numquest = doc.qno = 5;
  doc.markchanged();
  doc.header.includeinmenu = 1;
  doc.newtest();
  EXPECT_EQ(doc.filename, "test.tmp");
  EXPECT_EQ(doc.savename, "test.tmp");
  EXPECT_EQ(doc.numquest, 1);
  EXPECT_EQ(doc.qno, 1);
  EXPECT_FALSE(doc.changed());
  EXPECT_EQ(doc.header.testtitle, core::fixwidth("untitled", 40));
  EXPECT_EQ(doc.header.includeinmenu, 0);
  const std::string untitled = core::testrecord::header("untitled", "", "", 0).encode();
  EXPECT_EQ(get("test.tmp").substr(0, 2012), untitled);

  doc.savename = (dir_ / "one.vqt").string();
  doc.savefile({"One", "Help", "1"});
  EXPECT_EQ(get("one.vqt"), untitled + core::testrecord::item("One", "Help", "1").encode());
  EXPECT_EQ(doc.filename, doc.savename);
  EXPECT_EQ(doc.qno, 1);
  doc.storequestion("Uno", "Help", "1");
  EXPECT_EQ(get("one.vqt"), untitled + core::testrecord::item("Uno", "Help", "1").encode());
  // Saving onto itself by another spelling changes nothing.
  doc.savename = "./one.vqt";
  doc.savefile({"Uno", "Help", "1"});
  EXPECT_EQ(doc.filename, (dir_ / "one.vqt").string());
  EXPECT_EQ(get("one.vqt").size(), 4024u);
}

TEST_F(TestFiles, SavingOntoTheFileBeingEditedUnderAnotherSpellingLeavesItIntact) {
  put("x.vqt", five());
  std::filesystem::create_symlink(dir_ / "x.vqt", dir_ / "link.vqt");
  std::filesystem::create_hard_link(dir_ / "x.vqt", dir_ / "hard.vqt");
  std::filesystem::create_directory(dir_ / "sub");
  for (const std::string& other :
       {std::string("x.vqt"), (dir_ / "x.vqt").string(), std::string("./x.vqt"), std::string("sub/../x.vqt"),
        std::string("link.vqt"), std::string("hard.vqt")}) {
    EXPECT_TRUE(samefile("x.vqt", other)) << other;
    EXPECT_FALSE(savetest("x.vqt", 2, other)) << other;
    EXPECT_EQ(get("x.vqt"), five()) << other;
  }
  EXPECT_FALSE(samefile("x.vqt", "X.vqt"));
  EXPECT_FALSE(samefile("x.vqt", "missing.vqt"));
}

TEST_F(TestFiles, OpeningReadsTheHeaderAndCountsWholeRecordsOnly) {
  put("odd.vqt", five() + "trailing part");
  OpenedTest t = readtestfile("odd.vqt");
  EXPECT_EQ(t.header.testtitle, core::fixwidth("Doses", 40));
  EXPECT_EQ(t.header.testdescription, "Five questions");
  EXPECT_EQ(t.header.testinstructions, "Work alone");
  EXPECT_EQ(t.header.includeinmenu, 1);
  EXPECT_EQ(t.numquest, 5);
  // The editor shows the last question; saving name and changed stay.
  TestDocument doc;
  doc.savename = "kept";
  doc.markchanged();
  doc.opentest("odd.vqt");
  EXPECT_EQ(doc.header.testtitle, t.header.testtitle);
  EXPECT_EQ(doc.filename, "odd.vqt");
  EXPECT_EQ(doc.qno, 5);
  EXPECT_EQ(doc.numquest, 5);
  EXPECT_EQ(core::trim(doc.rec.question), "Q5");
  EXPECT_EQ(doc.savename, "kept");
  EXPECT_TRUE(doc.changed());
  EXPECT_EQ(get("odd.vqt"), five() + "trailing part");

  // Garbage: a 60-character title is cut to 40, a flag of 2.5 rounds to 2.
  std::string garbage = std::string(5, ' ') + std::string(60, '\xE9') + std::string(735, ' ');
  garbage += std::string(1200, '\x01') + "2.5xyz" + std::string(6, ' ');
  put("garbage.vqt", garbage);
  t = readtestfile("garbage.vqt");
  EXPECT_EQ(t.header.testtitle, std::string(40, '\xE9'));
  EXPECT_EQ(t.header.includeinmenu, 2);
  EXPECT_EQ(t.numquest, 0);
  EXPECT_EQ(t.header.testdescription, std::string(200, '\x01'));
  // The flag is the rounded number of its field, halves to even.
  for (const auto& [field, flag] : std::vector<std::pair<std::string, int>>{
           {"1.5", 2}, {"0.6", 1}, {"2.5", 2}, {" 0.4", 0}, {"1", 1}, {"x1", 0}}) {
    put("flag.vqt", core::testrecord::header("F", "", "", 0).encode().substr(0, 2000) + core::fixwidth(field, 12));
    EXPECT_EQ(readtestfile("flag.vqt").header.includeinmenu, flag) << field;
  }

  put("empty.vqt", "");
  t = readtestfile("empty.vqt");
  EXPECT_EQ(t.header.testtitle, std::string(40, ' '));
  EXPECT_EQ(t.numquest, 0);
  EXPECT_EQ(get("empty.vqt"), "");

  // A header-only test shows one empty question, 1 / 1.
  put("header.vqt", header);
  t = readtestfile("header.vqt");
  EXPECT_EQ(t.numquest, 0);
  doc.opentest("header.vqt");
  EXPECT_EQ(doc.qno, 1);
  EXPECT_EQ(doc.numquest, 1);
  EXPECT_EQ(doc.rec.encode(), core::testrecord::blank().encode());
  EXPECT_EQ(get("header.vqt"), header);
}

TEST_F(TestFiles, WhatIsNotATestFileIsRefusedAndLeftAlone) {
  std::filesystem::create_directory(dir_ / "folder.vqt");
  EXPECT_THROW(readtestfile("folder.vqt"), core::FileError);
  ASSERT_EQ(::mkfifo((dir_ / "pipe.vqt").c_str(), 0644), 0);
  EXPECT_THROW(readtestfile("pipe.vqt"), core::FileError);  // never waits for a writer
  EXPECT_THROW(readtestfile(""), core::FileError);
  // More questions than a test can count.
  {
    std::ofstream big(dir_ / "big.vqt", std::ios::binary);
    big.seekp(static_cast<std::streamoff>(32769) * 2012 - 1);
    big.put(' ');
  }
  EXPECT_THROW(readtestfile("big.vqt"), core::FileError);
  // Exactly as many as it can count opens.
  std::filesystem::resize_file(dir_ / "big.vqt", static_cast<std::uintmax_t>(32768) * 2012);
  EXPECT_EQ(readtestfile("big.vqt").numquest, 32767);

  // The Open dialog's trial creates a missing file; the save trial creates nothing.
  trialopen("new.vqt");
  EXPECT_EQ(get("new.vqt"), "");
  EXPECT_THROW(trialopen("folder.vqt"), core::FileError);
  EXPECT_NO_THROW(checksavename("fresh.vqt"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "fresh.vqt"));
  EXPECT_THROW(checksavename("  "), core::FileError);
  EXPECT_THROW(checksavename("folder.vqt"), core::FileError);
  EXPECT_THROW(checksavename("nofolder/a.vqt"), core::FileError);
}

TEST(FileMenu, CaptionsAndTextNames) {
  EXPECT_EQ(filemenucaption(9, "R&D.vqt"), "&9 R&&D.vqt");
  EXPECT_EQ(filemenucaption(10, "j.vqt"), "10 j.vqt");
  for (const char* name : {"a.txt", "a.tXt"}) EXPECT_TRUE(istextname(name)) << name;
  for (const char* name : {"a.vqt", "atxt", "a.txt "}) EXPECT_FALSE(istextname(name)) << name;
  // The save dialog's type gives a name without an extension its own.
  EXPECT_EQ(withextension("year1", false), "year1.vqt");
  EXPECT_EQ(withextension("/t/year1", true), "/t/year1.txt");
  EXPECT_EQ(withextension("dir.d/year1", false), "dir.d/year1.vqt");
  // Only the type's own extension counts: a dot elsewhere is part of the name.
  EXPECT_EQ(withextension("year1.bak", true), "year1.bak.txt");
  EXPECT_EQ(withextension("Week 2.1", false), "Week 2.1.vqt");
  EXPECT_EQ(withextension("week.VQT", false), "week.VQT");
  EXPECT_EQ(withextension("week.vqt", true), "week.vqt.txt");
  EXPECT_EQ(withextension("notes.TXT", false), "notes.TXT");
  EXPECT_EQ(withextension("", false), "");
}

}  // namespace
