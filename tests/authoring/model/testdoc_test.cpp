#include "authoring/model/testdoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "authoring/model/drugdatabase.h"
#include "core/files.h"
#include "core/text.h"
#include "tests/authoring/model/drugs.h"
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

  // The description dialog's values: blanks at both ends go (line breaks
  // stay), each text fitted to its field.
  h.take("  Week 3  ", " About doses ", "\r\nRead.\r\n ", false);
  EXPECT_EQ(h.testtitle, core::fixwidth("Week 3", 40));
  EXPECT_EQ(h.testdescription, core::fixwidth("About doses", 200));
  EXPECT_EQ(h.testinstructions, core::fixwidth("\r\nRead.\r\n", 1000));
  EXPECT_EQ(h.includeinmenu, 0);
  h.take(std::string(45, 'T'), std::string(250, 'd'), "i", true);
  EXPECT_EQ(h.record().encode(), item(std::string(40, 'T'), std::string(200, 'd') + "i", "1"));
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
  EXPECT_TRUE(doc.changed());

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
  EXPECT_FALSE(doc.changed());
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

namespace {
// One editor's turn that another program's change may refuse: nothing is
// written, and the editor counts the file again. 1 when refused.
template <typename Editor, typename Step>
int refused(Editor& e, Step step) {
  try {
    step();
  } catch (const core::FileChanged&) {
    e.reload();
    return 1;
  }
  return 0;
}

// The drug editor leaves the record shown with the form holding typed,
// answering Yes to saving, and shows the next one as the window does.
int leavedrug(authoring::DrugDatabase& db, authoring::Move to, const core::drugrecord& typed) {
  const core::DrugLists t = drugtest::table({{"Cat 1", 1}, {"Cat 2", 2}});
  const auto told = db.leave(to, authoring::formof(typed, t), t, [] { return true; });
  for (const auto& p : told)
    EXPECT_EQ(p.text, "The drug could not be saved (error 75: another program changed the file). " + authoring::CHANGEDREAD);
  db.drug = authoring::recordof(authoring::formof(db.drug, t), db.drug, t);
  db.shown();
  return static_cast<int>(told.size());
}
core::drugrecord gentamicin() {
  core::drugrecord d = drugtest::drug(10);
  d.genericname = core::fixwidth("Gentamicin", 30);
  return d;
}
}  // namespace

// Two teachers on one folder, each editor counting the file as it last
// read or wrote it. A write by record number into a file the other has
// changed since is refused and the file counted again, so the typed work
// lands on its own record on the next try: no question or drug is lost,
// none is written blank or as NUL bytes.
TEST_F(Document, TwoEditorsOnOneFolderLoseNothing) {
  auto questions = [](std::initializer_list<int> ks) {
    std::string out = UNTITLED;
    for (int k : ks) out += item("Q" + std::to_string(k), "", std::to_string(k));
    return out;
  };
  auto at = [](int q) {
    TestDocument d;
    d.opentest("t.vqt");
    d.qno = static_cast<std::int16_t>(q);
    d.readquestion();
    return d;
  };
  auto drugat = [](long r) {
    authoring::DrugDatabase db;
    db.opendatabase();
    db.currec = r;
    db.readcurrent();
    db.shown();
    return db;
  };
  const std::string twelve = drugtest::records({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  struct Row {
    const char* order;
    const char* file;
    std::string before;
    std::function<int()> run;  // the turns; gives the number refused
    std::string after;
  };
  const std::vector<Row> rows = {
      {"A deletes question 2 while B stores its question 3", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = at(2), b = at(3);
         a.deletequestion();
         const int n = refused(b, [&] { b.storequestion("Q3 edited", "", "3"); });
         return n + refused(b, [&] { b.storequestion("Q3 edited", "", "3"); });
       },
       questions({1}) + item("Q3 edited", "", "3") + item("Q4", "", "4") + item("Q5", "", "5")},
      {"both add a question", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = at(5), b = at(5);
         a.next();
         a.storequestion("A6", "", "6");
         const int n = refused(b, [&] { b.next(); });
         return n + refused(b, [&] {
                  b.next();  // A's question, read
                  b.next();
                  b.storequestion("B7", "", "7");
                });
       },
       questions({1, 2, 3, 4, 5}) + item("A6", "", "6") + item("B7", "", "7")},
      {"B, still counting five, deletes question 1 after A deleted question 5", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = at(5), b = at(1);
         a.deletequestion();
         const int n = refused(b, [&] { b.deletequestion(); });
         return n + refused(b, [&] { b.deletequestion(); });
       },
       questions({2, 3, 4})},
      {"A deletes drug 3 and B saves record 10", "VQDBASE.FIL", twelve,
       [&] {
         authoring::DrugDatabase a = drugat(3), b = drugat(10);
         a.deletecurrent();
         const int n = leavedrug(b, authoring::Move::Next, gentamicin());
         return n + leavedrug(b, authoring::Move::Next, gentamicin());
       },
       drugtest::records({1, 2, 4, 5, 6, 7, 8, 9}) + gentamicin().encode() + drugtest::records({11, 12})},
      {"B appends a drug after A deleted drug 3", "VQDBASE.FIL", twelve,
       [&] {
         authoring::DrugDatabase a = drugat(3), b = drugat(12);
         int n = leavedrug(b, authoring::Move::Next, drugtest::drug(12));  // to a new record, 13
         a.deletecurrent();
         n += leavedrug(b, authoring::Move::Previous, drugtest::drug(13));
         EXPECT_EQ(b.reccount, 12);
         n += leavedrug(b, authoring::Move::Previous, drugtest::drug(13));
         return n;
       },
       drugtest::records({1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.order);
    put(row.file, row.before);
    EXPECT_EQ(row.run(), 1);
    EXPECT_EQ(get(row.file), row.after);
    fs::remove(dir_ / row.file);
  }
}
