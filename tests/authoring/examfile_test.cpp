#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <tuple>

#include <sys/stat.h>

#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/startup.h"
#include "core/askagain.h"
#include "core/drug.h"
#include "core/random.h"
#include "core/ui/panel.h"
#include "tests/authoring/tool_fixture.h"
#include "tests/authoring/twodrugs.h"

namespace {

// The editor on a database of one tablet drug (category "Antibiotics") and
// one fluid drug ("Analgesics"); dialogs answered as each test scripts.
class FileWork : public tooltest::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    writedruglists();
    tooltest::writetwodrugs();
    core::setrng(&seeded);
    onmodal = [this](QDialog& d) { answerdialog(d); };
  }
  void TearDown() override {
    core::setrng(nullptr);
    ToolTest::TearDown();
  }
  void open() {
    authoring::Main(*app);
    app->start().Label2_Click(0);
    exam = &app->exam();
    boxes.clear();
  }
  // A fresh editor, after the folder changed.
  void reopen() {
    app->unloadexam();
    exam = &app->exam();
  }
  std::string status() const { return exam->Label1->text().toStdString(); }
  void tick(int kind) { QTest::mouseClick(exam->Check1[kind], Qt::LeftButton, {}, QPoint(8, 8)); }
  void generate(const QString& count) {
    exam->Text1->setText(count);
    QTest::mouseClick(exam->Cmdgenerate, Qt::LeftButton);
  }
  void answerdialog(QDialog& d) {
    dialogs.push_back(d.windowTitle().toStdString());
    if (auto* files = qobject_cast<QFileDialog*>(&d)) {
      filters.push_back(files->nameFilters());
      if (choose.empty()) return;  // cancelled
      if (!filter.isEmpty()) files->selectNameFilter(filter);
      files->selectFile(QString::fromStdString(choose.front()));
      if (choose.size() > 1) choose.pop_front();
      static_cast<QDialog*>(files)->done(QDialog::Accepted);
    } else if (auto* yesno = qobject_cast<authoring::Frmsave*>(&d)) {
      questions.push_back(yesno->Label1->text().toStdString());
      yesno->Command1_Click(yes ? 0 : 1);
    }
  }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  std::string record(const std::string& bytes, int n) const { return bytes.substr((n - 1) * 2012u, 2012u); }

  core::SystemRandom seeded{21u};
  authoring::Frmexam* exam = nullptr;
  // The names the next file dialogs give, the last one again and again;
  // none cancels.
  std::deque<std::string> choose;
  bool yes = true;     // the answer to the next Yes/No question
  QString filter;      // the file type the next file dialogs choose, if any
  std::vector<std::string> dialogs, questions;
  std::vector<QStringList> filters;
};

const QStringList SAVEFILTERS{"Dosavo Test (vqt) (*.vqt)", "Text File (txt) (*.txt)"};

TEST_F(FileWork, ABatchOnAFreshEditorReplacesItsEmptyQuestion) {
  open();
  generate("5");
  EXPECT_EQ(status(), "5 / 5");
  EXPECT_TRUE(boxes.empty());
  const std::string file = read("test.tmp");
  ASSERT_EQ(file.size(), 6u * 2012u);
  for (int q = 2; q <= 6; ++q) EXPECT_EQ(record(file, q).substr(0, 2), "\r\n") << q;
  // The last question made is shown, complete.
  EXPECT_EQ(ui::toansi(exam->Txtquestion[0]->text()), core::rtrim(record(file, 6).substr(0, 800)));
  EXPECT_FALSE(exam->Label6->isVisible());
  EXPECT_TRUE(exam->mnusave[0]->isVisible());
  EXPECT_TRUE(exam->doc.changed());
}

TEST_F(FileWork, ABatchKeepsTheQuestionTypedBeforeIt) {
  open();
  exam->Txtquestion[0]->setText("First?");
  exam->txtanswer->setText("1");
  QTest::mouseClick(exam->cmdforward[1], Qt::LeftButton);
  exam->Txtquestion[0]->setText("Second?");
  exam->Txtquestion[1]->setText("Because.");
  exam->txtanswer->setText("2");
  generate("1");
  EXPECT_EQ(status(), "3 / 3");
  const std::string file = read("test.tmp");
  ASSERT_EQ(file.size(), 4u * 2012u);
  EXPECT_EQ(record(file, 3), core::testrecord::item("Second?", "Because.", "2").encode());
  EXPECT_EQ(record(file, 4).substr(0, 2), "\r\n");
}

TEST_F(FileWork, TheLimitOf99CutsTheCountWithAWarning) {
  open();
  std::string bytes = read("test.tmp");
  for (int q = 1; q <= 97; ++q) bytes += core::testrecord::item("Q", "", "1").encode();
  write("test.tmp", bytes);
  exam->doc.opentest("test.tmp");
  generate("5");
  EXPECT_EQ(exam->Text1->text(), "2");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0],
            "Warning!: A limit of 99 questions has been set for each test. This is to protect students from "
            "unscrupulous tutors who would subject them to the horrors of such a long test and also to minimise the "
            "chances of users running out of hard disk space and memory.");
  EXPECT_EQ(status(), "99 / 99");
  EXPECT_EQ(read("test.tmp").size(), 100u * 2012u);

  boxes.clear();
  const std::string full = read("test.tmp");
  generate("1");
  EXPECT_EQ(exam->Text1->text(), "0");
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(status(), "99 / 99");
  EXPECT_EQ(read("test.tmp"), full);
}

TEST_F(FileWork, OnlyTabletsWithoutATabletCategoryMakeNothing) {
  open();
  for (int i : {0, 2, 3}) tick(i);
  EXPECT_TRUE(exam->Check1[1]->isChecked());
  exam->Lstcategory->item(0)->setSelected(false);  // Antibiotics holds the tablet
  const std::string before = read("test.tmp");
  generate("3");
  EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: Sorry no tablet dosage questions could be constructed "
                                             "using the question categories selected from the menu bar."}));
  EXPECT_EQ(exam->Txtquestion[0]->text(), "");  // no question was made
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_EQ(read("test.tmp"), before);
  // Unticking the only kind ticks all four.
  tick(1);
  for (QCheckBox* c : exam->Check1) EXPECT_TRUE(c->isChecked());
  // Letters and points never reach the count box.
  exam->Text1->clear();
  exam->Text1->setFocus();
  QTest::keyClicks(exam->Text1, "a.1-2");
  EXPECT_EQ(exam->Text1->text(), "12");
}

TEST_F(FileWork, ARepeatedTabletQuestionIsMadeOnceMoreWithOneCandidate) {
  open();
  for (int i : {0, 2, 3}) tick(i);
  // Every draw the same: the kind draw, then the same question every time.
  core::ScriptedRandom same;
  for (int i = 0; i < 100; ++i) same.push(0.5f);
  core::setrng(&same);
  std::vector<std::size_t> draws;
  for (int batch = 0; batch < 3; ++batch) {
    const std::size_t before = same.used();
    generate("1");
    draws.push_back(same.used() - before);
  }
  // The second and third repeat the question just made: with one candidate
  // each is asked four times (twice the bound), the fourth kept.
  EXPECT_EQ(draws, (std::vector<std::size_t>{4, 13, 13}));
  EXPECT_EQ(status(), "3 / 3");
}

TEST_F(FileWork, TheFileMenuListsTheFoldersTests) {
  open();
  EXPECT_FALSE(exam->bar3->isVisible());
  EXPECT_EQ(exam->mnuop.size(), 1u);
  write("b.vqt", "");
  write("a.vqt", "");
  write("notes.txt", "");
  reopen();
  ASSERT_EQ(exam->mnuop.size(), 3u);
  EXPECT_TRUE(exam->bar3->isVisible());
  EXPECT_EQ(exam->mnuop[1]->text(), "&1 a.vqt");
  EXPECT_EQ(exam->mnuop[2]->text(), "&2 b.vqt");
  EXPECT_EQ(exam->mnufile->actions().back(), exam->mnuop[2]);
  for (char c = 'c'; c <= 'j'; ++c) write(std::string(1, c) + ".vqt", "");
  reopen();
  ASSERT_EQ(exam->mnuop.size(), 11u);
  EXPECT_EQ(exam->mnuop[9]->text(), "&9 i.vqt");
  EXPECT_EQ(exam->mnuop[10]->text(), "10 j.vqt");

  // A listed file opens on its last question; a header-only one on 1 / 1.
  write("b.vqt", core::testrecord::header("Bees", "", "", 1).encode() +
                     core::testrecord::item("First", "", "1").encode() +
                     core::testrecord::item("Second", "", "2").encode());
  exam->mnuop[2]->trigger();
  EXPECT_EQ(status(), "2 / 2");
  EXPECT_EQ(exam->Label5->caption(), "Bees");
  EXPECT_EQ(exam->Label7->text(), "File : b.vqt");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Second");
  EXPECT_FALSE(exam->mnusave[1]->isVisible());
  exam->mnuop[1]->trigger();
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_EQ(read("a.vqt"), "");
}

TEST_F(FileWork, SaveAsCopiesTheTestAndEditsTheCopyInPlace) {
  open();
  generate("3");
  choose = {path("x.vqt")};
  exam->mnusave[0]->trigger();
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Save Drug Test"}));
  EXPECT_EQ(filters, (std::vector<QStringList>{SAVEFILTERS}));
  const std::string saved = read("x.vqt");
  EXPECT_EQ(saved.size(), 8048u);
  EXPECT_EQ(saved, read("test.tmp").substr(0, 8048));
  EXPECT_EQ(exam->Label7->text().toStdString(), "File : " + path("x.vqt"));
  EXPECT_EQ(status(), "3 / 3");
  EXPECT_TRUE(exam->mnusave[1]->isVisible());
  EXPECT_FALSE(exam->doc.changed());

  // Save Test stores the shown question in x.vqt.
  exam->txtanswer->setText("42");
  exam->mnusave[1]->trigger();
  EXPECT_EQ(read("x.vqt").substr(3 * 2012 + 2000, 12), core::fixwidth("42", 12));

  // The file being edited under another spelling: nothing happens.
  std::filesystem::create_symlink(folder / "x.vqt", folder / "link.vqt");
  const std::string before = read("x.vqt");
  choose = {path("link.vqt")};
  exam->mnusave[0]->trigger();
  EXPECT_EQ(read("x.vqt"), before);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.vqt"));
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(boxes.empty());

  // Overwriting another test asks first; No keeps it, Yes replaces it whole.
  write("y.vqt", "old");
  choose = {path("y.vqt")};
  yes = false;
  exam->mnusave[0]->trigger();
  EXPECT_EQ(questions, (std::vector<std::string>{"The file " + path("y.vqt") + " already exists. Would you like to use this file"}));
  EXPECT_EQ(read("y.vqt"), "old");
  yes = true;
  exam->mnusave[0]->trigger();
  EXPECT_EQ(read("y.vqt"), before);
  EXPECT_EQ(exam->doc.filename, path("y.vqt"));

  // A name that does not end in the chosen type's extension gets it; a
  // dot elsewhere in the name is part of the name.
  for (const auto& [type, typed, written] :
       std::vector<std::tuple<QString, std::string, std::string>>{{"", "year1", "year1.vqt"},
                                                                  {SAVEFILTERS[1], "year1", "year1.txt"},
                                                                  {SAVEFILTERS[1], "notes.bak", "notes.bak.txt"},
                                                                  {"", "Week 2.1", "Week 2.1.vqt"}}) {
    filter = type;
    choose = {path(typed)};
    exam->mnusave[0]->trigger();
    EXPECT_TRUE(std::filesystem::exists(folder / written)) << written;
    EXPECT_FALSE(written == typed + ".vqt" && std::filesystem::exists(folder / typed)) << typed;
  }
  EXPECT_EQ(read("year1.vqt"), before);
  EXPECT_EQ(read("year1.txt").substr(0, 10), "untitled\r\n");
  EXPECT_EQ(read("notes.bak.txt").substr(0, 10), "untitled\r\n");
  EXPECT_EQ(read("Week 2.1.vqt"), before);
  EXPECT_EQ(exam->doc.filename, path("Week 2.1.vqt"));

  // From an earlier question, Save As writes the question in the boxes into
  // the copy, even when the test's own file cannot be written (a full
  // disk), and the editor shows the copy's last question.
  QTest::mouseClick(exam->cmdforward[0], Qt::LeftButton);
  QTest::mouseClick(exam->cmdforward[0], Qt::LeftButton);
  exam->txtanswer->setText("7");
  core::setwritefaults({.wholeafter = {}, .recordafter = 0, .error = ENOSPC});
  filter.clear();
  choose = {path("copy.vqt")};
  exam->mnusave[0]->trigger();
  core::setwritefaults({});
  EXPECT_EQ(read("Week 2.1.vqt"), before);
  EXPECT_EQ(read("copy.vqt"), before.substr(0, 2 * 2012 - 12) + core::fixwidth("7", 12) + before.substr(2 * 2012));
  EXPECT_EQ(status(), "3 / 3");
  EXPECT_EQ(exam->Txtquestion[0]->text().toStdString(), core::rtrim(record(before, 4).substr(0, 800)));
}

TEST_F(FileWork, TheUntitledTestItselfAndACancelledDialogLeaveEverything) {
  open();
  generate("2");
  const std::string work = read("test.tmp");
  // The working file's own name is no test file's: the test is saved as a
  // new test beside it, the working file left as it was.
  choose = {path("test.tmp")};
  exam->mnusave[0]->trigger();
  EXPECT_EQ(read("test.tmp"), work);
  EXPECT_EQ(read("test.tmp.vqt"), work.substr(0, 3 * 2012));
  EXPECT_EQ(exam->doc.filename, path("test.tmp.vqt"));
  EXPECT_FALSE(exam->doc.changed());
  exam->mnuopen[0]->trigger();
  generate("2");

  // A cancelled Save dialog, a cancelled Open dialog and a text export
  // (which does not hold the question in the boxes) leave the test unsaved.
  exam->doc.markchanged();
  choose.clear();
  exam->mnusave[0]->trigger();
  EXPECT_TRUE(exam->doc.changed());
  exam->mnuopen[1]->trigger();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 7);  // nothing new
  EXPECT_EQ(exam->doc.filename, "test.tmp");
  choose = {path("print.txt")};
  exam->mnusave[0]->trigger();
  EXPECT_TRUE(exam->doc.changed());
  // So quitting asks; Yes and a cancelled dialog keep the editor open.
  choose.clear();
  EXPECT_FALSE(exam->close());
  yes = false;
  EXPECT_TRUE(exam->close());
  EXPECT_EQ(questions, std::vector<std::string>(2, "This test has not been saved. Would you like to save it now?"));
}

TEST_F(FileWork, LeavingAnUnsavedTestOffersToSaveIt) {
  open();
  QTest::keyClicks(exam->Txtquestion[0], "Dose?");
  QTest::keyClicks(exam->txtanswer, "5");
  ASSERT_TRUE(exam->doc.changed());
  yes = false;
  exam->mnuopen[0]->trigger();  // New Test
  EXPECT_EQ(questions, (std::vector<std::string>{"This test has not been saved. Would you like to save it now?"}));
  EXPECT_TRUE(dialogs.size() == 1);  // No: no save dialog
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "");
  EXPECT_EQ(exam->Label5->caption(), "untitled");
  EXPECT_EQ(record(read("test.tmp"), 1), core::testrecord::header("untitled", "", "", 0).encode());

  // Opening through the dialog: Yes saves the typed test first.
  QTest::keyClicks(exam->Txtquestion[0], "Dose?");
  QTest::keyClicks(exam->txtanswer, "5");
  write("b.vqt", core::testrecord::header("Bees", "", "", 1).encode());
  yes = true;
  choose = {path("b.vqt"), path("typed.vqt")};
  filters.clear();
  exam->mnuopen[1]->trigger();  // the open dialog, then the save dialog
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(filters, (std::vector<QStringList>{{"Dosavo Files (*.vqt)"}, SAVEFILTERS}));
  EXPECT_EQ(read("typed.vqt"), core::testrecord::header("untitled", "", "", 0).encode() +
                                   core::testrecord::item("Dose?", "", "5").encode());
  EXPECT_EQ(exam->doc.filename, path("b.vqt"));
  EXPECT_EQ(exam->Label5->caption(), "Bees");
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_TRUE(exam->mnusave[1]->isVisible());

  // A folder or a missing folder is refused as an illegal name.
  for (const std::string& bad : {path("nofolder/z.vqt"), path("dir.vqt")}) {
    std::filesystem::create_directory(folder / "dir.vqt");
    boxes.clear();
    choose = {bad};
    exam->mnuopen[1]->trigger();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: Illegal file name"})) << bad;
    // After a Save dialog, the Open dialog has its own title again.
    EXPECT_EQ(dialogs.back(), "Open Test");
    EXPECT_EQ(exam->doc.filename, path("b.vqt"));
  }
  boxes.clear();
  choose = {path("nofolder/z.vqt")};
  exam->mnusave[0]->trigger();
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "Quizwright: The file name that you entered was illegal. The file was not saved."}));
  // A save to a full disk or a folder that may not be written is not
  // blamed on the name, and says the cause with the number.
  const struct {
    const char* name;
    int error;
    std::string told;
  } failures[] = {
      {"full.txt", ENOSPC, "The file " + path("full.txt") + " could not be written (error 61: the disk is full)."},
      {"full.txt", EROFS,
       "The file " + path("full.txt") + " could not be written (error 70: writing is not allowed there)."},
      {"full.vqt", ENOSPC, "The test could not be saved to the file " + path("full.vqt") + " (error 61: the disk is full)."},
  };
  for (const auto& f : failures) {
    boxes.clear();
    choose = {path(f.name)};
    core::WriteFaults faults;
    faults.wholeafter = 10;
    faults.error = f.error;
    core::setwritefaults(faults);
    exam->mnusave[0]->trigger();
    core::setwritefaults({});
    EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: " + f.told + " The file was not saved."})) << f.name;
    EXPECT_EQ(exam->doc.filename, path("b.vqt"));
  }
}

TEST_F(FileWork, DeletingTheNewQuestionKeepsTheSavePrompt) {
  open();
  exam->Txtquestion[0]->setFocus();
  QTest::keyClicks(exam->Txtquestion[0], "Dose?");
  QTest::keyClicks(exam->txtanswer, "5");
  QTest::mouseClick(exam->cmdforward[1], Qt::LeftButton);
  exam->cmdforward[2]->setFocus();
  QTest::keyClick(exam->cmdforward[2], Qt::Key_Space);  // delete the new empty question
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Dose?");
  EXPECT_TRUE(exam->doc.changed());
  // The keyboard is on the question, so a second Space deletes nothing.
  EXPECT_EQ(exam->focusWidget(), exam->Txtquestion[0]);
  yes = false;
  exam->close();
  EXPECT_EQ(questions, (std::vector<std::string>{"This test has not been saved. Would you like to save it now?"}));
}

TEST_F(FileWork, TheKeyboardGoesToTheQuestionAfterNewOpenAndABatch) {
  write("b.vqt", core::testrecord::header("Bees", "", "", 1).encode() + core::testrecord::item("One", "", "1").encode());
  open();
  const std::vector<std::function<void()>> steps = {
      [&] { exam->mnuopen[0]->trigger(); }, [&] { exam->mnuop[1]->trigger(); }, [&] { generate("2"); },
      [&] { QTest::mouseClick(exam->Command2[0], Qt::LeftButton); }};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    exam->cmdforward[2]->setFocus();
    steps[i]();
    EXPECT_EQ(exam->focusWidget(), exam->Txtquestion[0]) << i;
  }
  // Typing into an opened, named test and leaving it asks nothing: every
  // store already went into its file.
  exam->mnuop[1]->trigger();
  QTest::keyClicks(exam->Txtquestion[0], " more");
  EXPECT_TRUE(exam->doc.changed());
  exam->mnuopen[0]->trigger();
  exam->mnuop[1]->trigger();
  QTest::keyClicks(exam->txtanswer, "0");
  exam->close();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(dialogs.size(), 0u);
}

TEST_F(FileWork, ASaveThatFailsOnClosingKeepsTheEditorAndItsWork) {
  open();
  QTest::keyClicks(exam->Txtquestion[0], "Dose?");
  QTest::keyClicks(exam->txtanswer, "5");
  const std::string typed =
      core::testrecord::header("untitled", "", "", 0).encode() + core::testrecord::item("Dose?", "", "5").encode();
  choose = {path("nofolder/z.vqt")};
  EXPECT_FALSE(exam->close());
  EXPECT_TRUE(exam->isVisible());
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Dose?");
  EXPECT_TRUE(exam->doc.changed());
  // Saved elsewhere the second time, the editor closes.
  choose = {path("kept.vqt")};
  EXPECT_TRUE(exam->close());
  EXPECT_EQ(read("kept.vqt"), typed);
  EXPECT_FALSE(std::filesystem::exists(folder / "test.tmp"));
}

TEST_F(FileWork, APipeIsRefusedAndTheEditorStaysOnItsTest) {
  open();
  generate("2");
  const std::string work = read("test.tmp");
  ASSERT_EQ(::mkfifo((folder / "pipe.vqt").c_str(), 0644), 0);
  yes = false;
  choose = {path("pipe.vqt")};
  exam->mnuopen[1]->trigger();
  EXPECT_EQ(boxes, (std::vector<std::string>{"Quizwright: Illegal file name"}));
  EXPECT_EQ(status(), "2 / 2");
  EXPECT_FALSE(exam->mnusave[1]->isVisible());  // the operation ended
  EXPECT_EQ(read("test.tmp"), work);
  // The dialog answers F1 as every window does.
  const auto keys = exam->cmdialog1->findChildren<QShortcut*>();
  EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](QShortcut* k) { return k->key() == QKeySequence(Qt::Key_F1); }));
}

TEST_F(FileWork, ANameWithAccentsIsTheFileTheTeacherChose) {
  open();
  generate("1");
  const std::string name = "caf\u00e9.vqt";  // as the file system spells it
  choose = {path(name)};
  exam->mnusave[0]->trigger();
  EXPECT_EQ(read(name).size(), 4024u);
  EXPECT_EQ(exam->Label7->text(), QStringLiteral("File : ") + QString::fromStdString(path(name)));
  exam->mnuopen[0]->trigger();  // New Test
  reopen();
  ASSERT_EQ(exam->mnuop.size(), 2u);
  EXPECT_EQ(exam->mnuop[1]->text(), QStringLiteral("&1 caf\u00e9.vqt"));
  const auto files = std::distance(std::filesystem::directory_iterator(folder), {});
  exam->mnuopen[1]->trigger();
  EXPECT_EQ(exam->doc.filename, path(name));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), files);  // nothing new
}

TEST_F(FileWork, TextExportWithTheMenusChoices) {
  open();
  exam->Txtquestion[0]->setText("What?");
  exam->Txtquestion[1]->setText("Because.");
  exam->txtanswer->setText("7");
  exam->putfile();
  exam->numbquest[4]->trigger();
  exam->numbquest[4]->trigger();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(exam->numbquest[i]->isChecked(), i == 4) << i;
  exam->tfop[1]->trigger();
  exam->tfop[2]->trigger();
  exam->tfop[4]->trigger();
  exam->tfop[0]->trigger();
  exam->tfop[0]->trigger();
  const bool marks[5] = {true, false, false, true, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(exam->tfop[i]->isChecked(), marks[i]) << i;

  choose = {path("Out.TXT")};
  exam->mnusave[0]->trigger();
  const std::string br = "\r\n";
  EXPECT_EQ(read("Out.TXT"), "untitled" + br + br + br + "No 1." + br + core::fixwidth("What?", 800) + br + br +
                                 br + br + br + "Answers:" + br + br + "1. " + core::fixwidth("7", 12) + br + br +
                                 br + br + "Solutions:" + br + br + "No 1." + br + core::fixwidth("Because.", 1200) +
                                 br + br + br + br + br);
  // The editor stays on its own file.
  EXPECT_EQ(exam->doc.filename, "test.tmp");
  EXPECT_EQ(exam->doc.savename, "test.tmp");
}

}  // namespace
