// The drug database editor: one drug of VQDBASE.FIL at a time in a form of
// boxes and lists, moves between the drugs with a save question before
// each, deletes a drug, and rebuilds the index and category files when it
// closes, reloading the tool's drug lists from them. The rules live in
// DrugForm and DrugDatabase; this window moves its controls to and from them.
#pragma once

#include <QWidget>

#include "authoring/model/drugdatabase.h"
#include "authoring/model/drugform.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace authoring {

class Quizwright;

class frmDrugDatabase : public QWidget {
  Q_OBJECT
 public:
  // Form_Load runs here: the tool's category table is reloaded from
  // vqcat.idx, the database opened on its last record, and the start screen
  // hidden. It is shown again when the window unloads.
  explicit frmDrugDatabase(Quizwright& app, QWidget* parent = nullptr);

  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2[2] = {};
  QLineEdit* Text3[2] = {};
  QComboBox* List1[2] = {};
  QLineEdit* Increment = nullptr;
  QCheckBox* Check1[DRUGROWS] = {};
  QComboBox* Type[DRUGROWS] = {};
  QLineEdit* Dose[DRUGROWS] = {};
  QComboBox* doseunit[DRUGROWS] = {};
  QLabel* Label6[DRUGROWS] = {};   // "in"
  QLineEdit* noof[DRUGROWS] = {};
  QLabel* Label11[DRUGROWS] = {};  // "ml"
  QComboBox* Cbcategory = nullptr;
  QLabel* Recordno = nullptr;
  QPushButton* Command1[4] = {};   // 2 first record, 3 last record
  QToolButton* next[2] = {};       // 0 previous record, 1 next record
  QToolButton* Delete = nullptr;
  QPushButton* Quit = nullptr;

  DrugDatabase db;  // the current record, its number and the count

  // The event handlers.
  void Command1_Click(int index);
  void next_Click(int index);
  void Delete_Click();
  void Type_Click(int index);
  void Quit_Click();

  // Showing the record and reading it back; a new category typed into the
  // category box becomes one in checkcategory alone.
  void showrecord();
  // The record number and the count.
  void showcount();
  void readform();
  void checkcategory();
  DrugForm formvalues() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildcontrols();
  void Form_Load();
  void Form_Unload();
  void showform(const DrugForm& f);
  void showrow(int i, bool fluid);
  // Every move: the category checked, then the save question, the step and
  // the record read, and what they tell shown.
  void moveto(Move to);
  // The Yes/No question before a changed record is left.
  bool askforsave();
  void tell(const std::vector<Problem>& problems);
  // Runs a file operation; a failure is shown and gives false.
  template <typename F>
  bool guarded(const char* what, F&& operation);

  Quizwright& app_;
  core::DrugLists& table_;
  CategoryLoad categories_;  // how the category table was loaded
};

}  // namespace authoring
