// The notice shown when a test is finished: "Test Completed" and OK. It
// sits at a fixed place relative to the exercise window.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace trainee {

class Dosavo;

class Frmcompleted : public QDialog {
  Q_OBJECT
 public:
  // Form_Load runs here; parent is the exercise window that it is placed by.
  explicit Frmcompleted(Dosavo& app, QWidget* parent = nullptr);

  QLabel* SSPanel1 = nullptr;        // "Test Completed"
  QPushButton* SSCommand1 = nullptr;  // "&OK"

  void Form_Load();
  void SSCommand1_Click();

 private:
  Dosavo& app_;
};

}  // namespace trainee
