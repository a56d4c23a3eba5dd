// The title window " Dosavo": product name, version, two lines of
// description that alternate every 4 seconds, and the Start button.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace ui {
class Panel;
}

namespace trainee {

class Dosavo;

class Frmmain : public QWidget {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit Frmmain(Dosavo& app, QWidget* parent = nullptr);

  ui::Panel* SSPanel1 = nullptr;  // "Dosavo"
  ui::Panel* SSPanel2 = nullptr;  // "v 5.0 32bit"
  ui::Panel* Label2 = nullptr;    // "Version 5.0", later the F1 hint
  QLabel* Label3[2] = {};     // 1 the first line, 0 the second
  QPushButton* Command1 = nullptr;  // "&Start"
  QTimer* Timer1 = nullptr;         // 4000 ms

  void Form_Load();
  void Timer1_Timer();
  void Command1_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter presses Start, the window's one button, once it is shown.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Dosavo& app_;
  bool flag_ = false;  // which text set the next tick shows
};

}  // namespace trainee
