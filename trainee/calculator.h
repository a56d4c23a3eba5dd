// The on-screen calculator: a four-function pocket calculator evaluating
// strictly left to right, whose "=" also fills the exercise window's answer box.
#pragma once

#include <QDialog>
#include <QString>
#include <QVariant>
#include <cstdint>

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

  // The state of the calculation. The operands are empty, a number (double)
  // or a text (the readout as it stood when it was taken).
  QVariant firstoperand;
  QVariant secondoperand;
  std::int16_t pointentered = 0;  // flag: true = -1
  std::int16_t operandcount = 0;
  QString lastkey = QStringLiteral("NONE");  // "NONE", "NUMS", "NEG", "OPS", "CE"
  QString pendingop = QStringLiteral(" ");   // " ", "/", "+", "X", "-", "="

 protected:
  // Closing the window unloads it: the next showing starts afresh.
  void closeEvent(QCloseEvent* event) override;
  // The first showing puts the window beside the exercise window.
  void showEvent(QShowEvent* event) override;
  // The keyboard presses the keys; Escape puts the calculator away.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void evaluate(const QString& current);
  Dosavo& app_;
  bool placed_ = false;
};

}  // namespace trainee
