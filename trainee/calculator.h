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

 private:
  Dosavo& app_;
};

}  // namespace trainee
