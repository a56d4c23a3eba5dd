#include "authoring/model/testdoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "authoring/model/drugdatabase.h"
#include "core/files.h"
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

namespace {
// One editor's turn that another program's change refuses: nothing is
// written, and the editor counts the file again.
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

// The drug editor showing its current record, as the window does.
core::DrugLists drugcategories() { return drugtest::table({{"Cat 1", 1}, {"Cat 2", 2}}); }
void showdrug(authoring::DrugDatabase& db) {
  db.drug = authoring::recordof(authoring::formof(db.drug, drugcategories()), db.drug, drugcategories());
  db.shown();
}
// Leaves the record shown with the form edited, answering Yes to saving:
// the number of saves refused because another program changed the file.
int leavedrug(authoring::DrugDatabase& db, authoring::Move to, const core::drugrecord& typed) {
  const std::vector<authoring::Problem> told =
      db.leave(to, authoring::formof(typed, drugcategories()), drugcategories(), [] { return true; });
  int changed = 0;
  for (const auto& p : told)
    changed += p.text == "The drug could not be saved (error 75: another program changed the file). " + authoring::CHANGEDREAD;
  EXPECT_EQ(static_cast<int>(told.size()), changed);
  showdrug(db);
  return changed;
}
core::drugrecord named(int k, const std::string& name) {
  core::drugrecord d = drugtest::drug(k);
  d.genericname = core::fixwidth(name, 30);
  return d;
}
}  // namespace

// Two teachers on one folder, each editor counting the file as it last
// read or wrote it. A write by record number into a file the other has
// changed since is refused and the file counted again, so the typed work
// lands on its own record on the next try: no question or drug is lost,
// none is written blank or as NUL bytes.
TEST_F(Document, TwoEditorsOnOneFolderLoseNothing) {
  auto q = [](int k) { return item("Q" + std::to_string(k), "", std::to_string(k)); };
  auto questions = [&](std::initializer_list<int> ks) {
    std::string out = UNTITLED;
    for (int k : ks) out += q(k);
    return out;
  };
  auto opened = [](int at) {
    TestDocument d;
    d.opentest("t.vqt");
    d.qno = static_cast<std::int16_t>(at);
    d.readquestion();
    return d;
  };
  auto database = [](int at) {
    authoring::DrugDatabase db;
    db.opendatabase();
    db.currec = at;
    db.readcurrent();
    showdrug(db);
    return db;
  };
  const std::string edited = item("Q3 edited", "", "3");
  struct Row {
    const char* order;
    const char* file;
    std::string before;
    std::function<int()> run;  // the turns; gives the number refused
    int refused;
    std::string after;
  };
  const std::vector<Row> rows = {
      {"A deletes question 2 while B stores its question 3", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = opened(2), b = opened(3);
         a.deletequestion();
         int n = refused(b, [&] { b.storequestion("Q3 edited", "", "3"); });
         EXPECT_EQ(b.qno, 2);
         EXPECT_EQ(b.numquest, 4);
         n += refused(b, [&] { b.storequestion("Q3 edited", "", "3"); });
         return n;
       },
       1, UNTITLED + q(1) + edited + q(4) + q(5)},
      {"both add a question", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = opened(5), b = opened(5);
         a.next();
         a.storequestion("A6", "", "6");
         int n = refused(b, [&] { b.next(); });
         EXPECT_EQ(b.qno, 5);
         EXPECT_EQ(b.numquest, 6);
         n += refused(b, [&] { b.next(); });  // A's question, read
         EXPECT_EQ(b.rec.encode(), item("A6", "", "6"));
         n += refused(b, [&] {
           b.next();
           b.storequestion("B7", "", "7");
         });
         return n;
       },
       1, questions({1, 2, 3, 4, 5}) + item("A6", "", "6") + item("B7", "", "7")},
      {"B, still counting five, deletes question 1 after A deleted question 5", "t.vqt", questions({1, 2, 3, 4, 5}),
       [&] {
         TestDocument a = opened(5), b = opened(1);
         a.deletequestion();
         int n = refused(b, [&] { b.deletequestion(); });
         EXPECT_EQ(b.qno, 1);
         EXPECT_EQ(b.numquest, 4);
         n += refused(b, [&] { b.deletequestion(); });
         EXPECT_EQ(b.numquest, 3);
         return n;
       },
       1, questions({2, 3, 4})},
      {"A deletes drug 3 and B saves record 10", "VQDBASE.FIL", drugtest::records({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
       [&] {
         authoring::DrugDatabase a = database(3), b = database(10);
         a.deletecurrent();
         int n = leavedrug(b, authoring::Move::Next, named(10, "Gentamicin"));
         EXPECT_EQ(b.currec, 9);
         EXPECT_EQ(b.reccount, 11);
         n += leavedrug(b, authoring::Move::Next, named(10, "Gentamicin"));
         EXPECT_EQ(b.currec, 10);
         return n;
       },
       1, drugtest::records({1, 2, 4, 5, 6, 7, 8, 9}) + named(10, "Gentamicin").encode() + drugtest::records({11, 12})},
      {"B appends a drug after A deleted drug 3", "VQDBASE.FIL", drugtest::records({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
       [&] {
         authoring::DrugDatabase a = database(3), b = database(12);
         int n = leavedrug(b, authoring::Move::Next, drugtest::drug(12));  // a new record, 13
         EXPECT_EQ(b.currec, 13);
         a.deletecurrent();
         n += leavedrug(b, authoring::Move::Previous, drugtest::drug(13));
         EXPECT_EQ(b.currec, 12);
         EXPECT_EQ(b.reccount, 12);
         n += leavedrug(b, authoring::Move::Previous, drugtest::drug(13));
         EXPECT_EQ(b.currec, 11);
         return n;
       },
       1, drugtest::records({1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.order);
    put(row.file, row.before);
    EXPECT_EQ(row.run(), row.refused);
    EXPECT_EQ(get(row.file), row.after);
    fs::remove(dir_ / row.file);
  }
}
