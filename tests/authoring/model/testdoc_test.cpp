#include "authoring/model/testdoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/errors.h"
#include "core/files.h"
#include "tests/authoring/model/records.h"
#include "tests/core/support.h"

namespace {

using authoring::TestDocument;
using authoring::TestHeader;
namespace fs = std::filesystem;

using recordtext::blanks;
using recordtext::item;
using recordtext::UNTITLED;

class Document : public testsupport::TempFolder {
 protected:
  // A test file of n questions "Q1" … "Qn" with answers "1" … "n", open in
  // the document at question 1.
  std::string build(int n) {
    std::string bytes = UNTITLED;
    for (int k = 1; k <= n; ++k) bytes += item("Q" + std::to_string(k), "", std::to_string(k));
    put("t.vqt", bytes);
    doc.opentest("t.vqt");
    doc.qno = 1;
    doc.readquestion();
    return bytes;
  }
  TestDocument doc;
};

TEST_F(Document, HeaderAndQuestionsAreWrittenAsWholeRecords) {
  TestHeader& h = doc.header;
  h.untitled();
  doc.writeheader();
  EXPECT_EQ(get("test.tmp"), UNTITLED);
  // Blanks at both ends go, line breaks and Windows-1252 letters stay; every
  // store of question 1 is record 2, whatever the boxes hold.
  doc.storequestion("  Dose \xB5g?\r\nTwo lines ", "\r\nStep 1 ", " 2.5 ");
  EXPECT_EQ(get("test.tmp"), UNTITLED + item("Dose \xB5g?\r\nTwo lines", "\r\nStep 1", "2.5"));
  doc.storequestion("", "", "");
  EXPECT_EQ(get("test.tmp"), UNTITLED + item(""));

  // A long title keeps its first 40 characters after the leading blanks; the
  // instructions always start at character 201; the flag is "1".
  h.testtitle = "   " + std::string(45, 'T');
  h.testdescription = "Short";
  h.testinstructions = std::string(600, 'i');
  h.includeinmenu = 1;
  doc.writeheader();
  EXPECT_EQ(get("test.tmp"), item(std::string(40, 'T'), "Short" + blanks(195) + std::string(600, 'i'), "1") +
                                 item(""));
  doc.readquestion();
  EXPECT_EQ(doc.rec.encode(), item(""));
}

TEST_F(Document, NavigationStaysWithinTheTest) {
  const std::string five = build(5);
  doc.previous();  // from question 1 to the last
  EXPECT_EQ(doc.qno, 5);
  EXPECT_EQ(doc.rec.encode(), item("Q5", "", "5"));
  // Next on the last question writes an empty question 6.
  ASSERT_TRUE(doc.next());
  EXPECT_EQ(doc.qno, 6);
  EXPECT_EQ(doc.numquest, 6);
  EXPECT_EQ(get("t.vqt"), five + item(""));
  EXPECT_EQ(doc.rec.encode(), item(""));
  doc.qno = 2;
  ASSERT_TRUE(doc.next());
  EXPECT_EQ(doc.rec.encode(), item("Q3", "", "3"));

  build(99);
  doc.qno = 7;
  doc.backten();
  EXPECT_EQ(doc.qno, 1);
  doc.backten();
  EXPECT_EQ(doc.qno, 1);
  doc.forwardten();
  EXPECT_EQ(doc.qno, 11);
  EXPECT_EQ(doc.rec.encode(), item("Q11", "", "11"));
  doc.qno = 95;
  doc.forwardten();
  EXPECT_EQ(doc.qno, 99);
  EXPECT_EQ(doc.rec.encode(), item("Q99", "", "99"));
  EXPECT_EQ(fs::file_size(dir_ / "t.vqt"), 201200u);

  // The question count is 16-bit: past question 32767 nothing is added.
  doc.qno = doc.numquest = authoring::MAXQUESTIONS;
  EXPECT_FALSE(doc.canaddquestion());
  EXPECT_FALSE(doc.next());
  EXPECT_EQ(doc.qno, 32767);
  EXPECT_EQ(fs::file_size(dir_ / "t.vqt"), 201200u);
}

TEST_F(Document, DeletingRewritesTheFileWithoutTheQuestion) {
  const std::string head = UNTITLED;
  auto q = [](int k) { return item("Q" + std::to_string(k), "", std::to_string(k)); };
  build(5);
  doc.qno = 3;
  doc.deletequestion();
  EXPECT_EQ(get("t.vqt"), head + q(1) + q(2) + q(4) + q(5));
  EXPECT_EQ(doc.qno, 3);
  EXPECT_EQ(doc.numquest, 4);
  EXPECT_EQ(doc.rec.encode(), q(4));
  EXPECT_TRUE(doc.changed);

  build(5);
  doc.qno = 5;
  doc.deletequestion();
  EXPECT_EQ(get("t.vqt"), head + q(1) + q(2) + q(3) + q(4));
  EXPECT_EQ(doc.qno, 4);
  EXPECT_EQ(doc.numquest, 4);

  // The only question: the file keeps its header, the test one empty question.
  build(1);
  doc.deletequestion();
  EXPECT_EQ(get("t.vqt"), head);
  EXPECT_EQ(doc.qno, 1);
  EXPECT_EQ(doc.numquest, 1);
  EXPECT_EQ(doc.rec.encode(), item(""));
  // Nothing but the test file is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  // A trailing part record is dropped; records the file lacks come back blank.
  EXPECT_EQ(authoring::withoutquestion(head + q(1) + q(2) + "xyz", 1, 2), head + q(2));
  EXPECT_EQ(authoring::withoutquestion(head + q(1), 1, 3), head + item("") + item(""));
}

TEST_F(Document, ADeletionThatFailsPartWayLeavesTheTestWhole) {
  const std::string bytes = build(5);
  doc.qno = 2;
  core::failwholewritesafter(3 * 2012 + 100);
  EXPECT_THROW(doc.deletequestion(), core::FileError);
  core::failwholewritesafter(std::nullopt);
  EXPECT_EQ(get("t.vqt"), bytes);
  EXPECT_EQ(doc.qno, 2);
  EXPECT_EQ(doc.numquest, 5);
  EXPECT_FALSE(doc.changed);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  doc.rec = core::testrecord::blank();

  // A move whose read fails stays on the question shown.
  doc.filename = "sub";
  fs::create_directories(dir_ / "sub");
  for (auto move : {&TestDocument::previous, &TestDocument::backten, &TestDocument::forwardten}) {
    EXPECT_THROW((doc.*move)(), core::FileError);
    EXPECT_EQ(doc.qno, 2);
  }
  EXPECT_EQ(doc.rec.encode(), item(""));

  // A store into a folder that is gone fails with its number and writes nothing.
  doc.filename = (dir_ / "gone" / "t.vqt").string();
  try {
    doc.storequestion("Q", "", "1");
    ADD_FAILURE();
  } catch (const core::FileError& e) {
    EXPECT_EQ(e.number(), 76);
  }
}

}  // namespace
