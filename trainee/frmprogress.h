// The progress window "Progress this session": the results text of the run,
// with OK and Clear. Loaded afresh at each showing.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace trainee {

class Dosavo;

class frmprogress : public QDialog {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit frmprogress(Dosavo& app, QWidget* parent = nullptr);

  QPlainTextEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;  // "&OK"
  QPushButton* Command2 = nullptr;  // "&Clear"

  void Form_Load();
  void Command1_Click();
  void Command2_Click();

 private:
  Dosavo& app_;
};

}  // namespace trainee
