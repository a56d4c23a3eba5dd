// The start screen "Dosavo - Quizwright": the two workbenches of the tool,
// each a panel with a picture beside it, and Quit. An open workbench hides
// the start screen; closing the start screen ends the tool.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace ui {
class Panel;
}

namespace authoring {

class Quizwright;

class frmstart : public QWidget {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit frmstart(Quizwright& app, QWidget* parent = nullptr);

  ui::Panel* SSPanel1 = nullptr;  // "Quizwright"
  ui::Panel* Label2[2] = {};      // 0 "Test Construction Set", 1 "Drug Database"
  QLabel* Image1[2] = {};         // the pictures beside them
  QPushButton* Quit = nullptr;    // "&Quit"
  QLabel* Label3 = nullptr;       // the credit line

  void Form_Load();
  void Label2_Click(int index);
  void Image1_Click(int index) { Label2_Click(index); }
  void Quit_Click();
  // Opens the drug database editor.
  void opendrugdatabase();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  Quizwright& app_;
};

}  // namespace authoring
