#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <limits>
#include <tuple>

#include "authoring/frmdrugdatabase.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/model/generate.h"
#include "authoring/startup.h"
#include "core/drug.h"
#include "core/random.h"
#include "tests/authoring/model/drugs.h"
#include "tests/authoring/tool_fixture.h"

namespace {

using authoring::frmDrugDatabase;
using drugtest::drug;
using drugtest::records;

class DrugEditor : public tooltest::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    writedruglists();
    onmodal = [this](QDialog& d) {
      auto& w = dynamic_cast<authoring::Frmsave&>(d);
      asked.push_back(ui::toansi(w.Label1->text()));
      QTest::mouseClick(w.Command1[yes ? 0 : 1], Qt::LeftButton);
    };
  }
  frmDrugDatabase& open() {
    app->start().show();
    app->start().Label2_Click(1);
    return app->drugdatabase();
  }
  static std::string recordno(const frmDrugDatabase& e) { return ui::toansi(e.Recordno->text()); }
  static std::string name(const frmDrugDatabase& e) { return ui::toansi(e.Text1->text()); }
  static QString items(const QComboBox* c) {
    QStringList all;
    for (int k = 0; k < c->count(); ++k) all << c->itemText(k);
    return all.join(',');
  }

  bool yes = true;  // the answer to the save question
  std::vector<std::string> asked;
};

const std::string CHANGED = "This record has changed. Would you like to save it?";

}  // namespace

TEST_F(DrugEditor, EmptyDatabaseOpensOnABlankRecordWithTheListsFilled) {
  frmDrugDatabase& e = open();
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(app->start().isVisible());
  EXPECT_TRUE(std::filesystem::exists(folder / "VQDBASE.FIL"));
  EXPECT_EQ(e.windowTitle(), "Drug Database");
  EXPECT_EQ(recordno(e), "1 / 1");
  EXPECT_EQ(items(e.Type[4]), "Tablet,Capsule,Solution,Suspension,Syrup,Emulsion,Liquid Forte,Elixir,IM Injection,"
                              "SC Injection,IV Injection");
  EXPECT_EQ(items(e.List1[1]), "kg,hg,dag,g,dg,cg,mg,mcg");
  EXPECT_EQ(items(e.Cbcategory), "Antibiotics,Analgesics");
  // The blank record: every unit on mg, every row a tablet with its half box.
  authoring::DrugForm blank;
  blank.Text3 = {"0", "0"};
  blank.List1 = {6, 6};
  blank.Increment = "0";
  blank.Type = {0, 0, 0, 0, 0};
  blank.Dose = {"0", "0", "0", "0", "0"};
  blank.doseunit = {6, 6, 6, 6, 6};
  EXPECT_EQ(e.formvalues(), blank);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(!e.Check1[i]->isHidden() && e.noof[i]->isHidden() && e.Label6[i]->isHidden());
  EXPECT_EQ(e.Text1->maxLength(), 30);
  QTest::keyClicks(e.Cbcategory, "A name of twenty-five ch.");
  EXPECT_EQ(e.Cbcategory->currentText(), "A name of twenty-fiv");
  QTest::keyClicks(e.Dose[0], "12345678901234");
  EXPECT_EQ(e.Dose[0]->text(), "012345678901");
  EXPECT_EQ(e.Command1[2]->text(), "|");
  EXPECT_EQ(e.Quit->text(), "&Quit");
  EXPECT_FALSE(e.next[0]->icon().isNull());
  EXPECT_FALSE(e.Delete->icon().isNull());
  // Tab goes along the record buttons in their order.
  EXPECT_EQ(e.Command1[2]->nextInFocusChain(), e.next[0]);
  EXPECT_EQ(e.next[0]->nextInFocusChain(), e.next[1]);
  EXPECT_EQ(e.next[1]->nextInFocusChain(), e.Command1[3]);
  EXPECT_EQ(e.Command1[3]->nextInFocusChain(), e.Delete);
  EXPECT_EQ(e.Delete->nextInFocusChain(), e.Quit);
  QApplication::setActiveWindow(&e);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
  QTest::keyClick(&e, Qt::Key_F1);
  QWidget* help = e.findChild<QWidget*>(QStringLiteral("helpwindow"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->findChild<QTextBrowser*>()->toPlainText().contains("The drug database editor shows one drug"));
  EXPECT_TRUE(help->findChild<QTextBrowser*>()->toPlainText().contains(
      "from any box the keys Ctrl+Home, Page Up, Page Down and Ctrl+End do the same"));
  help->close();
  // A name that begins like a listed one stays as typed.
  e.Cbcategory->clearEditText();
  e.Cbcategory->setFocus();
  QTest::keyClicks(e.Cbcategory, "Ant");
  EXPECT_EQ(e.Cbcategory->currentText(), "Ant");

  // The blank record cannot be left forwards: every rule it breaks is shown.
  e.Cbcategory->setEditText("");
  e.Dose[0]->setText("0");
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: A drug title must be entered!",
                                             "Drug Database: Dose range and increment values must be included!",
                                             "Drug Database: At least one dose must be included!"}));
  EXPECT_EQ(recordno(e), "1 / 1");
  EXPECT_TRUE(asked.empty());
  QTest::mouseClick(e.Quit, Qt::LeftButton);
  EXPECT_FALSE(app->drugdatabaseloaded());
  EXPECT_TRUE(app->start().isVisible());
  EXPECT_EQ(read("vqdbs1.idx") + read("vqdbs2.idx") + read("vqcat.idx"), "\r\n\r\n0\r\n");
}

TEST_F(DrugEditor, MissingCategoryFileIsReportedOnceAndTheListStartsEmpty) {
  write("VQDBASE.FIL", records({1, 2}));
  std::filesystem::remove(folder / "vqcat.idx");
  frmDrugDatabase& e = open();
  EXPECT_EQ(boxes, (std::vector<std::string>{"Drug Database: The drug category file vqcat.idx could not be read "
                                             "(error 53: the file was not found). The editor opens with no categories."}));
  EXPECT_EQ(e.Cbcategory->count(), 0);
  EXPECT_EQ(e.Cbcategory->currentText(), "");
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(recordno(e), "1 / 2");
}

TEST_F(DrugEditor, MovesWrapAndOnlyChangedRecordsAreAskedAbout) {
  write("VQDBASE.FIL", records({1, 2, 3}));
  frmDrugDatabase& e = open();
  EXPECT_EQ(recordno(e), "3 / 3");
  EXPECT_EQ(name(e), "Drug 3");
  EXPECT_EQ(e.Cbcategory->currentText(), "Antibiotics");
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "2 / 3");
  EXPECT_EQ(e.Cbcategory->currentText(), "Analgesics");
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "1 / 3");
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "3 / 3");
  QTest::mouseClick(e.Command1[3], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "3 / 3");
  e.Text1->setText("Drug 3   ");  // trailing blanks are no change
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  EXPECT_TRUE(asked.empty());

  // An edit answered No is dropped; one answered Yes is written in place.
  e.Text1->setText("Renamed");
  yes = false;
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "2 / 3");
  e.Text2[0]->setText("Brand");
  yes = true;
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(asked, (std::vector<std::string>{CHANGED, CHANGED}));
  core::drugrecord two = drug(2);
  two.tradename[0] = core::fixwidth("Brand", 30);
  EXPECT_EQ(read("VQDBASE.FIL"), records({1}) + two.encode() + records({3}));
  EXPECT_TRUE(boxes.empty());

  // The record keys work from every kind of box, before a list's own use
  // of Page Up and Page Down, and the buttons' tooltips name them.
  e.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
  // The keyboard stays where it was, but for a new drug, which begins with
  // its name.
  const std::vector<std::tuple<QWidget*, QKeyCombination, const char*, QWidget*>> keys = {
      {e.Text1, Qt::CTRL | Qt::Key_End, "3 / 3", e.Text1},
      {e.Type[0], QKeyCombination(Qt::Key_PageUp), "2 / 3", e.Type[0]},
      {e.Cbcategory, Qt::CTRL | Qt::Key_Home, "1 / 3", e.Cbcategory},
      {e.Dose[2], QKeyCombination(Qt::Key_PageUp), "3 / 3", e.Dose[2]},
      {e.Check1[0], QKeyCombination(Qt::Key_PageDown), "4 / 4", e.Text1},
      {e.Quit, QKeyCombination(Qt::Key_PageUp), "3 / 4", e.Quit},
      {e.Text2[1], Qt::CTRL | Qt::Key_Home, "1 / 4", e.Text2[1]},
  };
  for (const auto& [box, key, shown, after] : keys) {
    box->setFocus();
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
    EXPECT_EQ(recordno(e), shown) << box->objectName().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), after) << box->objectName().toStdString();
  }
  EXPECT_EQ(e.Type[0]->currentText(), "Tablet");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(e.Command1[2]->toolTip(), "First record (Ctrl+Home)");
  EXPECT_EQ(e.next[0]->toolTip(), "Previous record (Page Up)");
  EXPECT_EQ(e.next[1]->toolTip(), "Next record (Page Down)");
  EXPECT_EQ(e.Command1[3]->toolTip(), "Last record (Ctrl+End)");
}

TEST_F(DrugEditor, FluidRowNeedsItsVolumeAndWarnsTwiceWithoutIncrement) {
  write("VQDBASE.FIL", records({1}));
  frmDrugDatabase& e = open();
  // Tablet to Syrup by the keyboard: the volume appears, the half box goes.
  for (int k = 0; k < 4; ++k) QTest::keyClick(e.Type[0], Qt::Key_Down);
  EXPECT_EQ(e.Type[0]->currentText(), "Syrup");
  EXPECT_FALSE(e.noof[0]->isHidden());
  EXPECT_FALSE(e.Label11[0]->isHidden());
  EXPECT_TRUE(e.Check1[0]->isHidden());
  e.Dose[0]->setText("5");
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Drug Database: All fluid doses must include a volume 'in' value!"}));
  EXPECT_EQ(recordno(e), "1 / 1");
  EXPECT_EQ(read("VQDBASE.FIL"), records({1}));
  EXPECT_EQ(e.noof[0]->text(), "0");
  // The refused form is now the reference: leaving it again asks nothing,
  // and the record comes back from the file.
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(e.Type[0]->currentText(), "Tablet");

  // With a volume and no increment: saved after the warning, which the step
  // past the end shows once more.
  boxes.clear();
  e.Type[0]->setCurrentIndex(4);
  e.Type_Click(0);
  e.Dose[0]->setText("5");
  e.noof[0]->setText("5");
  e.Increment->setText("");
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  const std::string WARNING =
      "Drug Databas: An 'increment value' must be included when using fluid preparations";
  EXPECT_EQ(boxes, (std::vector<std::string>{WARNING, WARNING}));
  EXPECT_EQ(recordno(e), "2 / 2");
  EXPECT_EQ(name(e), "");
  core::drugrecord syrup = drug(1);
  syrup.preptype[0] = 4;
  syrup.strength[0] = 5;
  syrup.volume[0] = 5;
  syrup.increment = 0;
  EXPECT_EQ(read("VQDBASE.FIL"), syrup.encode());
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_EQ(recordno(e), "1 / 2");

  // Back to Tablet: the volume is hidden but still read.
  e.Type[0]->setCurrentIndex(0);
  e.Type_Click(0);
  EXPECT_TRUE(e.noof[0]->isHidden());
  EXPECT_FALSE(e.Check1[0]->isHidden());
  EXPECT_EQ(e.noof[0]->text(), "5");
  e.readform();
  EXPECT_EQ(e.db.drug.volume[0], 5);
}

TEST_F(DrugEditor, DeletingRenumbersAndTheRebuildUsesTheNewNumbers) {
  write("VQDBASE.FIL", records({1, 2, 3, 4, 5}));
  frmDrugDatabase& e = open();
  e.Text1->setText("Edits are not offered for saving");
  QTest::mouseClick(e.Delete, Qt::LeftButton);
  EXPECT_EQ(recordno(e), "4 / 4");
  EXPECT_EQ(name(e), "Drug 4");
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  QTest::mouseClick(e.Delete, Qt::LeftButton);
  EXPECT_EQ(recordno(e), "3 / 3");
  EXPECT_EQ(name(e), "Drug 4");
  EXPECT_EQ(read("VQDBASE.FIL"), records({1, 2, 4}));
  EXPECT_TRUE(asked.empty());
  e.close();
  EXPECT_EQ(read("vqdbs1.idx"), "3\r\n1,1\r\n2,2\r\n3,2\r\n");
  EXPECT_EQ(read("vqdbs2.idx"), "2\r\n2,2\r\n3,2\r\n");

  write("VQDBASE.FIL", records({7}));
  frmDrugDatabase& again = open();
  QTest::mouseClick(again.Delete, Qt::LeftButton);
  EXPECT_EQ(recordno(again), "1 / 1");
  EXPECT_EQ(name(again), "");
  EXPECT_EQ(read("VQDBASE.FIL"), "");
  // A rebuild that breaks off part-way leaves the lists as they were.
  core::failwholewritesafter(1);
  again.close();
  EXPECT_EQ(boxes.back().rfind("Drug Database: The drug lists could not be rebuilt (error ", 0), 0u) << boxes.back();
  EXPECT_EQ(read("vqdbs1.idx"), "3\r\n1,1\r\n2,2\r\n3,2\r\n");

  // A rebuild cut off after its note holds: the editor says so and the
  // tool's lists are the new ones.
  write("VQDBASE.FIL", records({1, 2}));
  frmDrugDatabase& third = open();
  core::WriteFaults f;
  f.rename = 3;  // the note, the first list, then the second fails
  core::setwritefaults(f);
  third.close();
  core::setwritefaults({});
  EXPECT_EQ(boxes.back(), "Drug Database: The drug lists were rebuilt, but could not all be put in place; the tool "
                          "finishes them when it next starts (error 75).") << boxes.back();
  EXPECT_EQ(app->corestate.lists.ntablets, 2);
}

// Another program (a second teacher) deleted a drug: the save and the
// delete are refused and told, the editor counts the file again with the
// typed drug kept, and the next save puts it on its own record.
TEST_F(DrugEditor, AnotherProgramsChangeIsToldAndTheTypedDrugKept) {
  write("VQDBASE.FIL", records({1, 2, 3, 4}));
  frmDrugDatabase& e = open();
  QTest::mouseClick(e.next[0], Qt::LeftButton);  // record 3
  write("VQDBASE.FIL", records({2, 3, 4}));      // record 1 deleted
  const std::string told =
      "Drug Database: The drug could not be saved (error 75: another program changed the file). The editor has read "
      "the database again; what you typed is still shown, so you can save it once more.";
  QTest::mouseClick(e.Delete, Qt::LeftButton);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Drug Database: The drug could not be deleted and the database is as it was (error 75: another "
                      "program changed the file). The editor has read the database again; what you typed is still "
                      "shown, so you can save it once more.");
  EXPECT_EQ(recordno(e), "2 / 3");
  write("VQDBASE.FIL", records({3, 4}));  // and record 2
  e.Text1->setText("Kept");
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  EXPECT_EQ(boxes.back(), told);
  EXPECT_EQ(recordno(e), "1 / 2");
  EXPECT_EQ(name(e), "Kept");
  QTest::mouseClick(e.next[1], Qt::LeftButton);  // asked again, and saved on its own record
  EXPECT_EQ(asked, (std::vector<std::string>{CHANGED, CHANGED}));
  core::drugrecord kept = drug(3);
  kept.genericname = core::fixwidth("Kept", 30);
  EXPECT_EQ(read("VQDBASE.FIL"), kept.encode() + records({4}));
  EXPECT_EQ(recordno(e), "2 / 2");

  // Closing after another program's change asks again and saves the drug
  // on its own record.
  write("VQDBASE.FIL", records({5}) + kept.encode() + records({4}));
  e.Text1->setText("Closed");
  e.close();
  EXPECT_EQ(boxes.back().rfind(told.substr(0, 60), 0), 0u);
  EXPECT_EQ(asked.size(), 4u);
  core::drugrecord closed = drug(4);
  closed.genericname = core::fixwidth("Closed", 30);
  EXPECT_EQ(read("VQDBASE.FIL"), records({5}) + kept.encode() + closed.encode());
}

TEST_F(DrugEditor, FailedWritesLeaveTheDatabaseAndTheEditorAsTheyWere) {
  write("VQDBASE.FIL", records({1, 2, 3, 4}));
  frmDrugDatabase& e = open();
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  core::failwholewritesafter(300);  // the new database breaks off part-way
  QTest::mouseClick(e.Delete, Qt::LeftButton);
  core::failwholewritesafter(std::nullopt);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Drug Database: The drug could not be deleted and the database is as it was (error ", 0), 0u)
      << boxes[0];
  EXPECT_EQ(read("VQDBASE.FIL"), records({1, 2, 3, 4}));
  EXPECT_EQ(recordno(e), "1 / 4");
  EXPECT_EQ(name(e), "Drug 1");
  std::vector<std::string> left;
  for (const auto& f : std::filesystem::directory_iterator(folder)) left.push_back(f.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"VQDBASE.FIL", "vqcat.idx", "vqdbs1.idx", "vqdbs2.idx"}));

  // An edit that cannot be written keeps the editor on it; the message
  // names the cause where there is one.
  e.Text1->setText("Full");
  core::setwritefaults({.wholeafter = {}, .recordafter = 0, .error = ENOSPC});
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  core::setwritefaults({});
  EXPECT_EQ(boxes.back(), "Drug Database: The drug could not be saved (error 61: the disk is full).");
  e.Text1->setText("Kept");
  std::filesystem::remove(folder / "VQDBASE.FIL");
  std::filesystem::create_directory(folder / "VQDBASE.FIL");
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  EXPECT_EQ(boxes.back(),
            "Drug Database: The drug could not be saved and the database could not be read again (error 75).");
  EXPECT_EQ(recordno(e), "1 / 4");
  EXPECT_EQ(name(e), "Kept");
}

TEST_F(DrugEditor, NewCategoryTakesTheFreeNumberAndIsKeptOnlyWhenSaved) {
  write("vqcat.idx", "3\r\n\"" + core::fixwidth("One", 20) + "\",1\r\n\"" + core::fixwidth("Two", 20) + "\",2\r\n\"" +
                         core::fixwidth("Four", 20) + "\",4\r\n");
  core::drugrecord four = drug(2);
  four.category = 4;
  write("VQDBASE.FIL", records({1, 2}) + four.encode());
  frmDrugDatabase& e = open();
  EXPECT_EQ(e.Cbcategory->currentText(), "Four");
  e.Cbcategory->setEditText("Opioids");
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Drug Database: You have created a new category for this drug"}));
  EXPECT_EQ(e.Cbcategory->count(), 4);
  EXPECT_EQ(app->corestate.lists.catnum[4], 3);
  // A full table refuses another; the box goes back to the record's own.
  auto& table = app->corestate.lists;
  for (std::int16_t k = 5; k <= 50; ++k) table.catnum[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(k + 10);
  table.ncategories = 50;
  e.Cbcategory->setEditText("Fifty-first");
  QTest::mouseClick(e.Command1[3], Qt::LeftButton);
  EXPECT_EQ(boxes.back(), "Drug Database: There can be no more than 50 drug categories. This drug keeps its category.");
  EXPECT_EQ(asked.size(), 1u);  // record 1 kept its category: nothing to save
  EXPECT_EQ(recordno(e), "3 / 3");
  table.ncategories = 4;
  boxes.clear();
  // A category typed on a record that is not saved is dropped on closing.
  e.Cbcategory->setEditText("Unsaved");
  yes = false;
  e.close();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(read("vqcat.idx"), "3\r\n\"One                 \",1\r\n\"Two                 \",2\r\n"
                               "\"Opioids             \",3\r\n");
  EXPECT_EQ(read("vqdbs1.idx"), "3\r\n1,1\r\n2,2\r\n3,3\r\n");
}

TEST_F(DrugEditor, NumberBoxesTakeOnlyDigitsPointAndBlank) {
  frmDrugDatabase& e = open();
  for (QLineEdit* box : {e.Text3[0], e.Increment, e.Dose[2], e.noof[1]}) {
    const std::vector<std::pair<const char*, const char*>> typed = {{"2.5", "2.5"}, {"-5", "5"}, {"1/2", "12"},
                                                                     {"1e3 mg", "13 "}};
    for (const auto& [keys, kept] : typed) {
      box->clear();
      QTest::keyClicks(box, QString::fromLatin1(keys));
      EXPECT_EQ(box->text(), QString::fromLatin1(kept)) << keys;
    }
  }
  // A stored number longer than what can be typed is shown whole and may be
  // shortened, but not lengthened.
  e.Dose[0]->setText("0.000123456789012345");
  QTest::keyClick(e.Dose[0], Qt::Key_End);
  QTest::keyClick(e.Dose[0], Qt::Key_Backspace);
  QTest::keyClick(e.Dose[0], Qt::Key_Backspace);
  QTest::keyClicks(e.Dose[0], "7");
  EXPECT_EQ(e.Dose[0]->text(), "0.0001234567890123");
  QTest::keyClick(e.Dose[0], Qt::Key_Home);
  // The Delete key of a real keyboard carries the character 127.
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
  QApplication::sendEvent(e.Dose[0], &del);
  EXPECT_EQ(e.Dose[0]->text(), ".0001234567890123");
  e.Text1->clear();
  QTest::keyClicks(e.Text1, "co-trimoxazole 1/2");
  EXPECT_EQ(name(e), "co-trimoxazole 1/2");

  // No box types a letter with Alt, and none takes a character that the
  // database cannot hold: it is refused with a message.
  for (QLineEdit* box : {e.Text1, e.Text2[1], e.Dose[0], e.Cbcategory->lineEdit()}) {
    SCOPED_TRACE(box->objectName().toStdString());
    box->setText("12");
    boxes.clear();
    QTest::keyClick(box, Qt::Key_X, Qt::AltModifier);
    QInputMethodEvent foreign;
    foreign.setCommitString(QString::fromUtf8("\u0151"));
    QApplication::sendEvent(box, &foreign);
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: The character \x93?\x94 cannot be stored by Quizwright. "
                                               "Please type it without that character."}));
  }
}

TEST_F(DrugEditor, GarbageAndFullDatabasesAreShownMovedThroughAndRebuilt) {
  // Two records of noise and more than half a third one.
  std::string noise;
  std::uint32_t x = 12345;
  for (int i = 0; i < 2 * 240 + 130; ++i) {
    x = x * 1664525u + 1013904223u;
    noise += static_cast<char>(x >> 24);
  }
  core::drugrecord odd = drug(1);
  odd.doserange[0].amount = std::numeric_limits<double>::quiet_NaN();
  odd.increment = 1e300;
  odd.preptype = {11, -1, 300, 4, -7};
  odd.strengthunit = {8, -1, 6, 6, 99};
  odd.strength = {1, 2, 3, 1.5e-200, 5};
  odd.genericname = core::fixwidth("\xC9ther \x81\xFF", 30);
  write("VQDBASE.FIL", odd.encode() + noise);
  frmDrugDatabase& e = open();
  EXPECT_EQ(recordno(e), "4 / 4");
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  EXPECT_EQ(e.Type[0]->currentIndex(), -1);
  EXPECT_EQ(e.Type[3]->currentText(), "Syrup");
  EXPECT_EQ(e.doseunit[0]->currentIndex(), -1);
  EXPECT_EQ(e.Text3[0]->text(), "NaN");
  EXPECT_EQ(e.Dose[3]->text(), "1.5E-200");
  for (int k = 0; k < 4; ++k) QTest::mouseClick(e.next[1], Qt::LeftButton);
  QTest::mouseClick(e.next[0], Qt::LeftButton);
  EXPECT_TRUE(asked.empty());
  e.close();
  EXPECT_EQ(read("VQDBASE.FIL"), odd.encode() + noise);
  EXPECT_NE(read("vqdbs1.idx").find("\r\n1,1\r\n"), std::string::npos);

  std::string full;
  for (int k = 1; k <= 32767; ++k) full += drug(k % 2 + 1).encode();
  write("VQDBASE.FIL", full);
  frmDrugDatabase& big = open();
  EXPECT_EQ(recordno(big), "32767 / 32767");
  QTest::mouseClick(big.Command1[2], Qt::LeftButton);
  QTest::mouseClick(big.next[0], Qt::LeftButton);
  EXPECT_EQ(recordno(big), "32767 / 32767");
  QTest::mouseClick(big.Delete, Qt::LeftButton);
  EXPECT_EQ(recordno(big), "32766 / 32766");
  big.close();
  EXPECT_EQ(read("vqdbs1.idx").substr(0, 7), "32766\r\n");
  EXPECT_EQ(read("VQDBASE.FIL").size(), 32766u * 240);
}

TEST_F(DrugEditor, ClosingReloadsTheToolsListsSoANewCategoryGeneratesAtOnce) {
  // The lists of start-up name record 1 (Drug 1, Antibiotics) as the tablet.
  write("VQDBASE.FIL", records({1, 2}));
  authoring::Main(*app);
  frmDrugDatabase& e = open();
  QTest::mouseClick(e.Command1[2], Qt::LeftButton);
  QTest::mouseClick(e.Delete, Qt::LeftButton);  // Drug 2 is record 1 now
  QTest::mouseClick(e.next[1], Qt::LeftButton);
  ASSERT_EQ(recordno(e), "2 / 2");
  e.Text1->setText("Newdrug");
  e.Text3[0]->setText("5");
  e.Text3[1]->setText("20");
  e.Dose[0]->setText("10");
  e.Cbcategory->setEditText("Opioids");
  QTest::mouseClick(e.Quit, Qt::LeftButton);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Drug Database: You have created a new category for this drug"}));
  EXPECT_EQ(asked, (std::vector<std::string>{CHANGED}));

  // The tool holds what the files now say: Antibiotics is gone with Drug 1,
  // and the tablets are records 1 and 2.
  const core::DrugLists& lists = app->corestate.lists;
  ASSERT_EQ(lists.ncategories, 2);
  EXPECT_EQ(lists.catname[2], core::fixwidth("Opioids", 20));
  EXPECT_EQ(lists.catnum[2], 3);
  EXPECT_EQ(lists.tabrec, (std::vector<std::int16_t>{0, 1, 2}));
  EXPECT_EQ(lists.tabcat, (std::vector<std::int16_t>{0, 2, 3}));
  core::SystemRandom seeded{7u};
  core::setrng(&seeded);
  const authoring::Made made = authoring::makequestion(app->corestate, 2, [](int k) { return k == 2; });
  ASSERT_TRUE(made.made) << made.message;
  EXPECT_NE(made.rec.question.find("Newdrug"), std::string::npos) << made.rec.question;
  // Analgesics draws Drug 2 under its new record number.
  const authoring::Made moved = authoring::makequestion(app->corestate, 2, [](int k) { return k == 1; });
  core::setrng(nullptr);
  EXPECT_NE(moved.rec.question.find("Drug 2"), std::string::npos) << moved.rec.question;
}
