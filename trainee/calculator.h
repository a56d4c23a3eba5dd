// The on-screen calculator: a four-function pocket calculator evaluating
// strictly left to right, whose "=" also fills the exercise window's answer box.
#pragma once

#include <QDialog>

#include "trainee/model/calcengine.h"

class QLabel;
class QPushButton;

namespace trainee {

class Dosavo;

class Calculator : public QDialog {
  Q_OBJECT
 public:
  explicit Calculator(Dosavo& app, QWidget* parent = nullptr);

  QLabel* Readout = nullptr;
  QPushButton* Number[10] = {};
  QPushButton* Operator[5] = {};  // 0 "/", 1 "+", 2 "X", 3 "-", 4 "="
  QPushButton* Decimal = nullptr;
  QPushButton* Cancel = nullptr;
  QPushButton* CancelEntry = nullptr;

  void Form_Load();
  void Number_Click(int index);
  void Decimal_Click();
  void Operator_Click(int index);
  void Cancel_Click();
  void CancelEntry_Click();

  // The calculation: operands, pending operation and readout text.
  CalcEngine engine;

 protected:
  // Closing the window unloads it: the next showing starts afresh.
  void closeEvent(QCloseEvent* event) override;
  // The first showing puts the window beside the exercise window.
  void showEvent(QShowEvent* event) override;
  // The keyboard presses the keys; Escape does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The readout shows the engine's; a message the engine returns is told.
  void showreadout(CalcEngine::Message message = CalcEngine::Message::None);
  Dosavo& app_;
  bool placed_ = false;
};

}  // namespace trainee
