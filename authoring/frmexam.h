// The test editor "Dosavo - Test Construction Set": one question of the
// test at a time in three boxes, the buttons that move through the test and
// delete, the question creation options and the File, Edit and Options
// menus. The test itself (file, header, question number, count, the changed
// flag, the reads and writes of records, New, Open and Save As) is the
// TestDocument `doc`; the window moves the boxes to and from it and holds
// the dialogs.
#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

#include "authoring/model/generate.h"
#include "authoring/model/testdoc.h"
#include "core/errors.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace ui {
class Panel;
}

namespace authoring {

class Quizwright;
class TextBox;
class LineBox;

class Frmexam : public QMainWindow {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit Frmexam(Quizwright& app, QWidget* parent = nullptr);

  TestDocument& doc;  // the tool's test, app.test
  std::vector<std::string> filelist{""};  // listed test files, from 1

  // ---- question boxes and status
  TextBox* Txtquestion[2] = {};  // 0 the question (800), 1 "Help / Solution" (1200)
  LineBox* txtanswer = nullptr;  // 12
  QLabel* Lbltext[3] = {};       // "Question:", "Help / Solution:", "Answer:"
  QLabel* Lblquestionno = nullptr;  // "Question No:"
  QLabel* Label1 = nullptr;         // qno / numquest
  QLabel* Label7 = nullptr;         // "File : " and the file name
  ui::Panel* Label5 = nullptr;      // the test title
  QLabel* Label6 = nullptr;         // "Question and answer fields must be completed"

  // ---- buttons
  QPushButton* cmdforward[3] = {};  // 0 previous, 1 next, 2 delete
  QPushButton* Command2[2] = {};    // 0 back ten, 1 forward ten
  QPushButton* Command1 = nullptr;  // "&Test Description"

  // ---- question creation options
  QLabel* Label4 = nullptr;  // "Question creation options"
  QCheckBox* Check1[4] = {};
  QLabel* Lblcreate = nullptr;  // "Create"
  LineBox* Text1 = nullptr;     // how many questions to create
  QLabel* Label3 = nullptr;     // "Questions"
  QLabel* Lblcategory = nullptr;  // "Tablet / Fluid Drug Categories:"
  QListWidget* Lstcategory = nullptr;
  QPushButton* Cmdgenerate = nullptr;  // "&Create Question"

  // ---- menus
  QMenu* mnufile = nullptr;
  QAction* mnuopen[2] = {};  // "&New Test", "&Open Test"
  QAction* mnusave[2] = {};  // "Save  &As Test", "&Save Test"
  QMenu* textfileoptions = nullptr;  // "Text File &Options"
  QMenu* mnutextfileop0 = nullptr;   // "&Numbering Questions"
  QAction* numbquest[6] = {};
  QAction* tfop[5] = {};
  QAction* mnuquit = nullptr;  // "&Quit"
  QAction* bar3 = nullptr;     // separator before the listed test files
  std::vector<QAction*> mnuop;  // 0 the hidden template, then the listed files
  QMenu* mnuedit = nullptr;
  QAction* copy[3] = {};  // "Cu&t", "&Copy", "&paste"
  QMenu* mnuoptions = nullptr;
  QAction* mnuch = nullptr;  // "&Change General Settings"

  // ---- procedures
  // Sets the captions (the title among them) and the status-dependent
  // controls from the document and the boxes; it changes neither.
  void buttonstatus();
  // Stores the boxes as the shown question; false (after a message naming
  // the file) when the file could not be written.
  bool putfile();
  void getfile();
  // Puts rec into the three boxes as one change of the question shown.
  void showquestion1();
  bool puttitle();
  // Shows the test's title in Label5, its font made smaller as far as a
  // long title of wide letters needs to show whole.
  void showtitle();
  // What the three boxes hold.
  Boxes boxtexts() const;

  // ---- handlers
  void Form_Load();
  // False when the teacher's unsaved test could not be saved: the editor
  // then stays open so that nothing is lost.
  bool Form_Unload();
  // A change of the question, solution or answer box.
  void Txtquestion_Change();
  void txtanswer_Change() { Txtquestion_Change(); }
  void cmdforward_Click(int index);
  void Command2_Click(int index);
  void Command1_Click();
  void copy_Click(int index);
  void mnuch_Click();
  void mnuquit_Click();

  // ---- question generation (frmexamfile.cpp)
  void Cmdgenerate_Click();
  // One question of the kind for the batch; shows why when none can be made.
  Made createquestion(int questiontype);
  void Check1_Click(int index);
  // False discards the key typed into the count box.
  bool Text1_KeyPress(int keyascii);

  // ---- test files and text export (frmexamfile.cpp)
  QFileDialog* cmdialog1 = nullptr;  // one dialog for opening and saving
  void updatefilelist();
  void mnuop_Click(int index);
  void mnuopen_Click(int index);
  // False (after its message) when the file could not be opened as a test.
  bool openfile(const std::string& myfilename);
  // The save prompt for an untitled test. False when the teacher asked for
  // a save and the test is still unsaved (the dialog cancelled, the save
  // failed), so the caller must not leave it.
  bool savetruefalse();
  void mnusave_Click(int index);
  // False when a save was refused or failed (after its message); a
  // cancelled dialog or a declined overwrite is no failure.
  bool saveas();
  void numbquest_Click(int index);
  void tfop_Click(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildcontrols();
  void buildmenus();
  // Reports a file step that failed: what, the file's name, the error
  // number and its cause, then what follows. When another program changed
  // the file, the test is read again (the boxes keep what was typed) and
  // the message says so in place of what follows.
  void filefailed(const std::string& what, const core::FileError& e, std::string after);
  // The Save dialog's choice, with the extension of the chosen type.
  std::string chosensavename();
  // The export settings ticked in the File menu.
  TextOptions textoptions() const;
  Quizwright& app_;
  bool showing_ = false;  // showquestion1 is filling the boxes
  // "&Save Test" is offered once "&Open Test" or "Save  &As Test" was used.
  bool savetestoffered_ = false;
};

}  // namespace authoring
