#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/frmstart.h"
#include "authoring/frmtitle.h"
#include "authoring/startup.h"
#include "core/ui/panel.h"
#include "core/ui/settingsdialog.h"
#include "tests/authoring/model/records.h"
#include "tests/authoring/tool_fixture.h"

namespace {

using recordtext::blanks;
using recordtext::item;
using recordtext::UNTITLED;

class Editor : public tooltest::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    writedruglists();
    authoring::Main(*app);
    app->start().Label2_Click(0);
    exam = &app->exam();
  }
  std::string status() const { return exam->Label1->text().toStdString(); }
  bool navigationshown() const {
    return exam->cmdforward[0]->isVisible() && exam->cmdforward[1]->isVisible() &&
           exam->Command2[0]->isVisible() && exam->Command2[1]->isVisible();
  }
  bool navigationhidden() const {
    return !exam->cmdforward[0]->isVisible() && !exam->cmdforward[1]->isVisible() &&
           !exam->Command2[0]->isVisible() && !exam->Command2[1]->isVisible();
  }
  // Types a text key by key; a line break is the Enter key.
  void type(QWidget* box, const QString& text) {
    box->setFocus();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(box, Qt::Key_Return);
      QTest::keyClicks(box, lines[i]);
    }
  }
  // Types a whole question and moves on with the next button, from the
  // keyboard (Enter on the focused button).
  void question(const QString& q, const QString& a) {
    type(exam->Txtquestion[0], q);
    type(exam->txtanswer, a);
    exam->cmdforward[1]->setFocus();
    QTest::keyClick(exam->cmdforward[1], Qt::Key_Return);
  }
  authoring::Frmexam* exam = nullptr;
};

TEST_F(Editor, FreshWindowAndTheStatusRules) {
  EXPECT_EQ(exam->windowTitle(), "Dosavo - Test Construction Set");
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_EQ(exam->Label7->text(), "File : test.tmp");
  EXPECT_EQ(exam->Label5->caption(), "untitled");
  EXPECT_TRUE(exam->Label6->isVisible());
  EXPECT_EQ(exam->Label6->text(), "Question and answer fields must be completed");
  // On one line, whole; so is a title of 40 wide letters, in a smaller font.
  EXPECT_FALSE(exam->Label6->wordWrap());
  exam->doc.header.testtitle = std::string(40, 'W');
  exam->showtitle();
  for (QLabel* label : {exam->Label6, static_cast<QLabel*>(exam->Label5)})
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
  EXPECT_EQ(exam->Label5->caption(), QString(40, 'W'));
  exam->doc.header.untitled();
  exam->showtitle();
  // The category list shows when it has the keyboard, though all its
  // categories are selected, and so do the two big boxes: a ring of the
  // highlight colour on all four sides, there exactly while the widget has
  // the keyboard. A list that draws no ring fails the check, although its
  // selection changes colour with the focus.
  exam->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(exam));
  auto ringed = [](QWidget* w) {  // the sides drawn in the highlight colour
    const QImage shot = w->grab().toImage();
    const int x = shot.width() / 2, y = shot.height() / 2, r = shot.width() - 2, b = shot.height() - 2;
    int sides = 0;
    for (const QPoint p : {QPoint(1, y), QPoint(x, 1), QPoint(r, y), QPoint(x, b)})
      sides += shot.pixelColor(p) == w->palette().color(QPalette::Active, QPalette::Highlight);
    return sides;
  };
  QListWidget unmarked(exam->Lstcategory->parentWidget());
  unmarked.setGeometry(exam->Lstcategory->geometry());
  unmarked.addItems({"Antibiotics", "Analgesics"});
  unmarked.selectAll();
  unmarked.show();
  for (QWidget* w : std::initializer_list<QWidget*>{&unmarked, exam->Lstcategory, exam->Txtquestion[0],
                                                    exam->Txtquestion[1]}) {
    w->setFocus();
    const int focused = ringed(w);
    exam->txtanswer->setFocus();
    EXPECT_EQ(focused == 4 && ringed(w) < 4, w != &unmarked) << w->objectName().toStdString();
  }
  unmarked.hide();
  EXPECT_TRUE(navigationhidden());
  EXPECT_TRUE(exam->cmdforward[2]->isVisible());
  EXPECT_FALSE(exam->mnusave[0]->isVisible());
  EXPECT_FALSE(exam->mnusave[1]->isVisible());
  EXPECT_FALSE(app->start().isVisible());
  EXPECT_EQ(read("test.tmp"), UNTITLED);
  EXPECT_EQ(exam->Lstcategory->count(), 2);
  EXPECT_EQ(exam->Lstcategory->selectedItems().size(), 2);
  EXPECT_EQ(exam->Lstcategory->item(0)->text(), "Antibiotics");
  for (auto* box : exam->Txtquestion) {
    EXPECT_TRUE(box->font().fixedPitch());
    EXPECT_EQ(box->font().families().value(0), "Fixedsys");
  }

  // The menus and their items, in order.
  QStringList menus;
  for (QAction* a : exam->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Options"}));
  QStringList file;
  for (QAction* a : exam->mnufile->actions()) file << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(file, QStringList({"&New Test", "&Open Test", "-", "Save  &As Test", "&Save Test",
                               "Text File &Options", "-", "&Quit", "-", ""}));
  EXPECT_FALSE(exam->bar3->isVisible());
  EXPECT_EQ(exam->copy[2]->text(), "&paste");
  EXPECT_EQ(exam->mnuch->text(), "&Change General Settings");

  // A question without an answer is incomplete, and a test of one
  // incomplete question holds nothing to save; with both it is whole, and
  // typing marks the test changed.
  type(exam->Txtquestion[0], "How many?");
  EXPECT_TRUE(exam->Label6->isVisible());
  EXPECT_FALSE(exam->doc.changed());
  type(exam->txtanswer, "   ");
  EXPECT_TRUE(navigationhidden());
  type(exam->txtanswer, "2");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "How many?");
  EXPECT_EQ(exam->txtanswer->text(), "   2");
  EXPECT_TRUE(navigationshown());
  EXPECT_FALSE(exam->Label6->isVisible());
  EXPECT_TRUE(exam->mnusave[0]->isVisible());
  EXPECT_TRUE(exam->doc.changed());
  // Emptying the question again hides them and forgets the change.
  exam->Txtquestion[0]->setText(QString());
  EXPECT_TRUE(navigationhidden());
  EXPECT_FALSE(exam->mnusave[0]->isVisible());
  EXPECT_FALSE(exam->doc.changed());
  // A test of exactly two questions, the shown one incomplete, holds the
  // other one: it is offered for saving.
  exam->doc.numquest = 2;
  exam->doc.markchanged();
  exam->Txtquestion_Change();
  EXPECT_TRUE(exam->mnusave[0]->isVisible());
  EXPECT_TRUE(exam->doc.offersave());
  exam->doc.numquest = 1;
  exam->doc.setcurrentfile(exam->doc.filename);
  exam->Txtquestion_Change();

  // The limits: 800 characters, a line break counting two; 12 in the answer.
  exam->Txtquestion[0]->setFocus();
  QTest::keyClicks(exam->Txtquestion[0], QString(798, 'x'));
  QTest::keyClick(exam->Txtquestion[0], Qt::Key_Return);
  QTest::keyClicks(exam->Txtquestion[0], QStringLiteral("yz"));
  EXPECT_EQ(exam->Txtquestion[0]->text(), QString(798, 'x') + "\r\n");
  type(exam->txtanswer, "1234567890123456");
  EXPECT_EQ(exam->txtanswer->text(), "   212345678");
}

TEST_F(Editor, AFullBoxRefusesWhatDoesNotFitAndKeepsItsText) {
  authoring::Frmtitle dialog(*exam);
  // Every limited box, full, the cursor at its start: a character that
  // comes from an input method (a dead key, the compose key) does not fit.
  struct Box {
    QWidget* box;
    int limit;
  };
  const Box limited[] = {{exam->Txtquestion[0], 800}, {exam->Txtquestion[1], 1200}, {exam->txtanswer, 12},
                         {dialog.Txttitle, 40},        {dialog.Txtdescription[0], 200}, {dialog.Txtdescription[1], 600}};
  auto textof = [](QWidget* w) {
    if (auto* t = qobject_cast<authoring::TextBox*>(w)) return t->text();
    return qobject_cast<QLineEdit*>(w)->text();
  };
  for (const Box& b : limited) {
    SCOPED_TRACE(b.box->objectName().toStdString());
    QString full;
    for (int i = 0; i < b.limit; ++i) full += QChar('0' + i % 10);
    if (auto* t = qobject_cast<authoring::TextBox*>(b.box)) {
      t->setText(QString());
      t->setFocus();
      t->pastetext(full);
      t->moveCursor(QTextCursor::Start);
    } else {
      auto* line = qobject_cast<QLineEdit*>(b.box);
      line->setText(full);
      line->setCursorPosition(0);
    }
    ASSERT_EQ(textof(b.box), full);
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("\u00e9"));
    QApplication::sendEvent(b.box, &composed);
    EXPECT_EQ(textof(b.box), full);
    QTest::keyClick(b.box, Qt::Key_A);
    EXPECT_EQ(textof(b.box), full);
    // After a refused change the cursor stays where the change began.
    if (auto* t = qobject_cast<authoring::TextBox*>(b.box)) {
      t->moveCursor(QTextCursor::End);
      QApplication::sendEvent(b.box, &composed);
      EXPECT_EQ(t->textCursor().position(), b.limit);
      t->setText("ab");
    } else {
      qobject_cast<QLineEdit*>(b.box)->setText("ab");
    }

    // Alt with a letter that is no access key types nothing, and a character
    // the files cannot hold is refused with a message, typed or composed.
    exam->doc.setcurrentfile(exam->doc.filename);
    boxes.clear();
    QTest::keyClick(b.box, Qt::Key_X, Qt::AltModifier);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u0151"));
    QApplication::sendEvent(b.box, &typed);
    QInputMethodEvent foreign;
    foreign.setCommitString(QString::fromUtf8("x\u0151"));
    QApplication::sendEvent(b.box, &foreign);
    EXPECT_EQ(textof(b.box), "ab");
    EXPECT_FALSE(exam->doc.changed());
    EXPECT_EQ(boxes, std::vector<std::string>(2, "Quizwright: The character \x93?\x94 cannot be stored by Quizwright. "
                                                 "Please type it without that character."));
  }

  // Lone line breaks become two characters once the text is edited: an
  // edit that would make the stored question longer than 800 is refused,
  // so paging on stores the question whole.
  const QString lines = QStringLiteral("line 1234\n").repeated(80);
  auto* box = exam->Txtquestion[0];
  box->setText(lines);
  box->moveCursor(QTextCursor::Start);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->text(), lines);
  exam->txtanswer->setText("1");
  exam->putfile();
  EXPECT_EQ(exam->doc.rec.question, ui::toansi(lines));

  // One short of the limit, at the start: Enter (a line break counts two)
  // and a pasted line break that would fit only in half are refused; what
  // fits of a paste goes in.
  auto* question = exam->Txtquestion[0];
  question->setText(QString(799, 'x'));
  question->moveCursor(QTextCursor::Start);
  QTest::keyClick(question, Qt::Key_Return);
  EXPECT_EQ(question->text(), QString(799, 'x'));
  question->pastetext(QStringLiteral("\r\n"));
  EXPECT_EQ(question->text(), QString(799, 'x'));
  question->pastetext(QStringLiteral("y\r\nz"));
  EXPECT_EQ(question->text(), "y" + QString(799, 'x'));
}

TEST_F(Editor, NextPreviousTenStepsAndDeleteKeepTheFileAsLeft) {
  question("Q1", "1");
  EXPECT_EQ(status(), "2 / 2");
  EXPECT_TRUE(navigationhidden());
  EXPECT_EQ(exam->focusWidget(), exam->Txtquestion[0]);
  EXPECT_EQ(read("test.tmp"), UNTITLED + item("Q1", "", "1") + item(""));
  question("Q2", "2");
  question("Q3", "3");
  EXPECT_EQ(status(), "4 / 4");
  type(exam->Txtquestion[1], "Worked\nout");
  QTest::mouseClick(exam->cmdforward[0], Qt::LeftButton);  // previous stores the incomplete question
  EXPECT_EQ(status(), "3 / 4");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3");
  EXPECT_EQ(read("test.tmp"), UNTITLED + item("Q1", "", "1") + item("Q2", "", "2") + item("Q3", "", "3") +
                                  item("", "Worked\r\nout"));
  exam->doc.qno = 1;
  exam->getfile();
  exam->showquestion1();
  QTest::mouseClick(exam->cmdforward[0], Qt::LeftButton);  // from 1 to the last
  EXPECT_EQ(status(), "4 / 4");
  EXPECT_EQ(exam->Txtquestion[1]->text(), "Worked\r\nout");
  QTest::mouseClick(exam->cmdforward[2], Qt::LeftButton);  // delete the last
  EXPECT_EQ(status(), "3 / 3");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3");
  QTest::mouseClick(exam->Command2[0], Qt::LeftButton);
  EXPECT_EQ(status(), "1 / 3");
  QTest::mouseClick(exam->Command2[1], Qt::LeftButton);
  EXPECT_EQ(status(), "3 / 3");
  exam->doc.qno = 2;
  exam->getfile();
  exam->showquestion1();
  QTest::mouseClick(exam->cmdforward[2], Qt::LeftButton);
  EXPECT_EQ(status(), "2 / 2");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3");
  EXPECT_EQ(read("test.tmp"), UNTITLED + item("Q1", "", "1") + item("Q3", "", "3"));
  EXPECT_TRUE(boxes.empty());

  // Closing deletes the working file and brings the start screen back.
  exam->mnuquit->trigger();
  EXPECT_FALSE(std::filesystem::exists(folder / "test.tmp"));
  EXPECT_TRUE(app->start().isVisible());
  EXPECT_FALSE(app->examloaded());
}

TEST_F(Editor, FailedWritesAreReportedAndTheEditorGoesOn) {
  question("Q1", "1");
  question("Q2", "2");
  type(exam->Txtquestion[0], "Q3");
  type(exam->txtanswer, "3");
  // A rewrite that fails part-way: the file and the editor are as they were.
  core::failwholewritesafter(5000);
  QTest::mouseClick(exam->cmdforward[2], Qt::LeftButton);
  core::failwholewritesafter(std::nullopt);
  const std::string path = (folder / "test.tmp").string();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Quizwright: The question was not deleted: could not rewrite the test file " + path +
                          " (error 75). The test file is as it was.");
  EXPECT_EQ(read("test.tmp"), UNTITLED + item("Q1", "", "1") + item("Q2", "", "2") + item("Q3", "", "3"));
  EXPECT_EQ(status(), "3 / 3");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3");

  // A store into a folder that has gone: the message names the file and the
  // question stays on screen.
  const std::string gone = (folder / "gone" / "t.vqt").string();
  exam->doc.filename = gone;
  QTest::mouseClick(exam->cmdforward[0], Qt::LeftButton);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], "Quizwright: The question could not be written to the test file " + gone +
                          " (error 76: the folder was not found). The editor still shows the question, so you can try again.");
  EXPECT_EQ(status(), "3 / 3");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3");
  exam->Command1_Click();  // the header too
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2].substr(0, 60), "Quizwright: The test description could not be written to the");

  // Next on question 32767 adds nothing and says why.
  exam->doc.filename = "test.tmp";
  exam->doc.qno = exam->doc.numquest = 32767;
  QTest::mouseClick(exam->cmdforward[1], Qt::LeftButton);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[3], "Quizwright: A test holds at most 32767 questions: no question can be added after this one.");
  EXPECT_EQ(status(), "32767 / 32767");

  // On a full disk, Next on the last question says so, and the test file
  // is as it was: no part of a record is left at its end.
  exam->doc.qno = exam->doc.numquest = 3;
  const std::string before = read("test.tmp");
  core::WriteFaults full;
  full.recordafter = 100;
  full.error = ENOSPC;
  core::setwritefaults(full);
  QTest::mouseClick(exam->cmdforward[1], Qt::LeftButton);
  core::setwritefaults({});
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(boxes[4], "Quizwright: The question could not be written to the test file " + path +
                          " (error 61: the disk is full). The editor still shows the question, so you can try "
                          "again.");
  EXPECT_EQ(read("test.tmp"), before);
}

// Another program (a second teacher) changed the file: the store is
// refused and told, the editor counts the file again and keeps what was
// typed, and the next store puts it on its own question.
TEST_F(Editor, AnotherProgramsChangeIsToldAndTheTypedQuestionKept) {
  question("Q1", "1");
  question("Q2", "2");
  question("Q3", "3");
  exam->cmdforward[0]->click();  // back to question 3
  EXPECT_EQ(status(), "3 / 4");
  write("test.tmp", UNTITLED + item("Q2", "", "2") + item("Q3", "", "3") + item(""));  // question 1 deleted
  exam->Txtquestion[0]->setText("Q3 typed");
  exam->cmdforward[0]->click();
  const std::string path = (folder / "test.tmp").string();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Quizwright: The question could not be written to the test file " + path +
                          " (error 75: another program changed the file). Another program changed the file, so the "
                          "editor has read it again; what you typed is still shown, so you can store it once more.");
  EXPECT_EQ(status(), "2 / 3");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q3 typed");
  exam->cmdforward[0]->click();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(read("test.tmp"), UNTITLED + item("Q2", "", "2") + item("Q3 typed", "", "3") + item(""));
  EXPECT_EQ(status(), "1 / 3");
}

TEST_F(Editor, OddFilesAreShownAndWrittenBackAsTheyStand) {
  // A header of every byte value, Windows-1252 letters in a question, and a
  // part record at the end.
  std::string garbage;
  for (int i = 0; i < 2012; ++i) garbage += static_cast<char>((i * 7 + 1) % 256);
  const std::string q1 = item("Caf\xE9 \x80 5 \xB5g\r\nnext line", "\xA0\x93quoted\x94\xA0", "\xBD");
  const std::string q2 = item("Q2", "", "2");
  write("odd.vqt", garbage + q1 + q2 + "part");
  exam->doc.filename = "odd.vqt";
  exam->doc.numquest = 2;
  exam->getfile();
  exam->showquestion1();
  EXPECT_EQ(exam->Txtquestion[0]->text(), QString::fromUtf8("Caf\u00e9 \u20ac 5 \u00b5g\r\nnext line"));
  EXPECT_EQ(exam->txtanswer->text(), QString::fromUtf8("\u00bd"));
  QTest::mouseClick(exam->cmdforward[1], Qt::LeftButton);
  EXPECT_EQ(read("odd.vqt"), garbage + q1 + q2 + "part");
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Q2");
  QTest::mouseClick(exam->cmdforward[2], Qt::LeftButton);
  EXPECT_EQ(read("odd.vqt"), garbage + q1);
  EXPECT_EQ(status(), "1 / 1");
  EXPECT_TRUE(boxes.empty());

  // Lone CRs and LFs, written elsewhere, stay as they are through every
  // move, a deletion and Save Test, until the teacher edits the box; a
  // field already at its width keeps its end.
  const std::string lone = item("a\rb\nc", std::string(797, 'x') + "\nyz", "1");
  const std::string wide = item(std::string(797, 'x') + "\nyz", "one\rtwo", "2");
  write("lone.vqt", UNTITLED + lone + wide + item("Q3", "", "3"));
  exam->doc.filename = "lone.vqt";
  exam->doc.numquest = 3;
  exam->doc.qno = 1;
  exam->getfile();
  exam->showquestion1();
  for (QPushButton* b : {exam->cmdforward[1], exam->cmdforward[1], exam->cmdforward[0], exam->cmdforward[0]})
    QTest::mouseClick(b, Qt::LeftButton);
  exam->Command2_Click(1);
  exam->mnusave[1]->trigger();
  EXPECT_EQ(read("lone.vqt"), UNTITLED + lone + wide + item("Q3", "", "3"));
  QTest::mouseClick(exam->cmdforward[2], Qt::LeftButton);  // delete question 3
  EXPECT_EQ(read("lone.vqt"), UNTITLED + lone + wide);
  EXPECT_EQ(exam->Txtquestion[1]->text(), "one\rtwo");
  exam->Txtquestion[1]->moveCursor(QTextCursor::End);
  QTest::keyClicks(exam->Txtquestion[1], "!");
  exam->mnusave[1]->trigger();
  EXPECT_EQ(read("lone.vqt"), UNTITLED + lone + item(std::string(797, 'x') + "\nyz", "one\r\ntwo!", "2"));
}

TEST_F(Editor, EditMenuWorksOnTheTextBoxWithTheFocus) {
  exam->activateWindow();
  QApplication::clipboard()->setText(QStringLiteral("before"));
  type(exam->Txtquestion[0], "Give 5 mL\n");
  exam->doc.setcurrentfile(exam->doc.filename);
  exam->Txtquestion[0]->selectAll();
  exam->copy[1]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "Give 5 mL\r\n");
  exam->copy[0]->trigger();
  EXPECT_EQ(exam->Txtquestion[0]->text(), "");
  exam->copy[2]->trigger();
  exam->copy[2]->trigger();
  EXPECT_EQ(exam->Txtquestion[0]->text(), "Give 5 mL\r\nGive 5 mL\r\n");
  EXPECT_FALSE(exam->doc.changed());
  // In the answer box; pasting keeps to its 12 characters.
  type(exam->txtanswer, "2.5");
  exam->doc.setcurrentfile(exam->doc.filename);
  exam->txtanswer->selectAll();
  exam->copy[0]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "2.5");
  QApplication::clipboard()->setText(QStringLiteral("0123456789ABCDEF"));
  exam->copy[2]->trigger();
  EXPECT_EQ(exam->txtanswer->text(), "0123456789AB");
  EXPECT_FALSE(exam->doc.changed());
  // With the category list or a button active nothing happens.
  exam->Lstcategory->setFocus();
  QApplication::clipboard()->setText(QStringLiteral("kept"));
  for (QAction* a : exam->copy) a->trigger();
  exam->Command1->setFocus();
  for (QAction* a : exam->copy) a->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_EQ(exam->txtanswer->text(), "0123456789AB");
}

TEST_F(Editor, DescriptionDialogWritesTheHeaderAfterOkAndCancel) {
  std::function<void(authoring::Frmtitle&)> act;
  std::vector<std::string> loaded;
  onmodal = [&](QDialog& d) {
    auto& t = dynamic_cast<authoring::Frmtitle&>(d);
    loaded.push_back(ui::toansi(t.Txttitle->text()) + "|" + ui::toansi(t.Txtdescription[0]->text()) + "|" +
                     ui::toansi(t.Txtdescription[1]->text()) + "|" + (t.Check1->isChecked() ? "1" : "0"));
    act(t);
  };
  act = [&](authoring::Frmtitle& t) {
    EXPECT_EQ(t.windowTitle(), "Test Description");
    t.Txttitle->clear();
    type(t.Txttitle, "  Tablets week 3  ");
    type(t.Txtdescription[0], "Ten\nquestions ");  // Enter does nothing here
    type(t.Txtdescription[1], "Read each\nquestion.\n");
    QTest::mouseClick(t.Check1, Qt::LeftButton);
    QTest::mouseClick(t.cmdtitleaccept[0], Qt::LeftButton);
  };
  QTest::mouseClick(exam->Command1, Qt::LeftButton);
  const std::string header =
      item("Tablets week 3", "Tenquestions" + blanks(188) + "Read each\r\nquestion.\r\n", "1");
  EXPECT_EQ(read("test.tmp"), header);
  EXPECT_EQ(exam->Label5->caption(), "Tablets week 3");
  EXPECT_EQ(app->test.header.testtitle, core::fixwidth("Tablets week 3", 40));
  EXPECT_FALSE(exam->doc.changed());

  // Cancel, and the close box, after changing everything: nothing changes
  // and the header is written again as it was.
  for (int closebox = 0; closebox < 2; ++closebox) {
    write("test.tmp", "");
    act = [&](authoring::Frmtitle& t) {
      t.Txttitle->setText(QStringLiteral("Other"));
      t.Txtdescription[0]->setText(QStringLiteral("Other"));
      t.Check1->setChecked(false);
      if (closebox) {
        t.close();
      } else {  // Enter on the focused Cancel is Cancel
        t.cmdtitleaccept[1]->setFocus();
        QTest::keyClick(t.cmdtitleaccept[1], Qt::Key_Return);
      }
    };
    exam->Command1_Click();
    EXPECT_EQ(read("test.tmp"), header);
    EXPECT_EQ(exam->Label5->caption(), "Tablets week 3");
  }
  EXPECT_EQ(loaded[1], "Tablets week 3|Tenquestions|Read each\r\nquestion.\r\n|1");

  // The limits: 40, 200 and 600 characters.
  act = [&](authoring::Frmtitle& t) {
    EXPECT_EQ(t.Txttitle->maxLength(), 40);
    t.Txtdescription[0]->setFocus();
    t.Txtdescription[0]->selectAll();
    QTest::keyClicks(t.Txtdescription[0], QString(205, 'd'));
    t.Txtdescription[1]->setText(QString());
    t.Txtdescription[1]->setFocus();
    QTest::keyClicks(t.Txtdescription[1], QString(610, 'i'));
    t.cmdtitleaccept_Click(0);
  };
  exam->Command1_Click();
  EXPECT_EQ(read("test.tmp"), item("Tablets week 3", std::string(200, 'd') + std::string(600, 'i') + blanks(400), "1"));

  // Instructions longer than the box takes, from a test made elsewhere, are
  // kept whole through OK; typing adds nothing to them, deleting shortens them.
  app->test.header.testinstructions = std::string(999, 'j') + "k";
  act = [&](authoring::Frmtitle& t) {
    t.Txtdescription[1]->setFocus();
    t.Txtdescription[1]->moveCursor(QTextCursor::End);
    QTest::keyClicks(t.Txtdescription[1], QStringLiteral("more"));
    QTest::keyClick(t.Txtdescription[1], Qt::Key_Backspace);
    t.cmdtitleaccept_Click(0);
  };
  exam->Command1_Click();
  EXPECT_EQ(read("test.tmp"), item("Tablets week 3", std::string(200, 'd') + std::string(999, 'j') + " ", "1"));
}

TEST_F(Editor, OptionsMenuShowsTheSettingsDialog) {
  onmodal = [](QDialog& d) {
    auto& dialog = dynamic_cast<ui::Default&>(d);
    EXPECT_EQ(dialog.windowTitle(), "Dosavo - Settings");
    dialog.Command1_Click(2);  // Restore Defaults
    dialog.Command1_Click(0);  // Use
  };
  exam->mnuch->trigger();
  EXPECT_EQ(app->corestate.settings.textured, 1);
  EXPECT_EQ(app->corestate.settings.spare1, 170);
  EXPECT_FALSE(std::filesystem::exists(folder / "VQ.INI") && std::filesystem::file_size(folder / "VQ.INI") > 0);
}

}  // namespace
