// The exercise window "Dosavo - Questions and Exercises": puts the questions
// of one module (built-in or a teacher's test), marks the answers, shows the
// worked solutions and keeps the counts of the session.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/ui/panel.h"
#include "trainee/model/session.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace trainee {

class Dosavo;
class Burette;

class Frmquestion : public QMainWindow {
  Q_OBJECT
 public:
  // Form_Load runs here, for the module app.modnum.
  explicit Frmquestion(Dosavo& app, QWidget* parent = nullptr);
  ~Frmquestion() override;

  // The client area that holds the controls at their design places.
  QWidget* body = nullptr;

  ui::Panel* Lblheading = nullptr;
  ui::Panel* Lblquestion = nullptr;
  QPlainTextEdit* txthelp = nullptr;
  ui::Panel* Lblincorrect = nullptr;
  ui::Panel* Lblcorrect = nullptr;
  QLabel* Imgcalc = nullptr;
  QLineEdit* txtanswer = nullptr;
  QLabel* Image1 = nullptr;
  ui::Panel* Lbldrug = nullptr;
  QPushButton* cmdaccept = nullptr;
  ui::Panel* lblstatus = nullptr;
  QPushButton* cmdstart = nullptr;
  QPushButton* cmdquit = nullptr;
  QPushButton* cmdshowme = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* wanthelp[2] = {};  // 0 "&Yes", 1 "&No"
  QLabel* Image2 = nullptr;
  QLabel* Image3 = nullptr;
  QMenu* ope = nullptr;
  QAction* mhus = nullptr;
  Burette* burette = nullptr;  // IVpan, scriv, timers, counter

  // The state of the window: the question number and counts of the session
  // in `session`, and what the buttons are doing.
  Session session;
  std::int16_t started = 0;  // 0 before Start, -1 after
  int ansstate = 0;          // 0 open, 1 wrong answer shown, 2 right answer shown
  bool ivmodule = false, ivsetrate = false, ivrun = false;
  // The answer of the current question: a number in modules 1 to 6, a text
  // in the tests.
  bool answerisnumber = false;
  double answernumber = 0;
  std::string answertext;
  // The answer written as text, the way the marking compares it.
  std::string answerstring() const;

  // Question sequence and display.
  void Form_Load();
  // Obtains and shows the next question. False when the window has ended
  // (test finished, or no question could be made): the caller then stops
  // at once and does not touch the window again.
  bool makequest();
  void showquestion(const std::string& question);
  void showstatus();
  void enableanswer();
  void terminate();
  void Form_Unload();
  void mhus_Click();

  // The calculator picture.
  void Imgcalc_Click();

  // Answering and marking.
  void cmdStart_Click();
  void checkresponse();
  void cmdaccept_Click();
  void cmdquit_Click();
  void questionhelp();
  void cmdshowme_Click();
  void togglehelpprompt();
  void toggleokprompt();
  void wanthelp_Click(int index);
  void Command1_Click();
  // Key filter of the answer box; KeyAscii = 0 discards the key.
  void txtanswer_KeyPress(int& KeyAscii);

  // The right-answer animation, paced by a timer so that the window stays
  // responsive: about a second from start to end.
  void correctanimation();
  bool animating() const;
  // One timer tick of the animation (several steps of the path).
  void animationstep();
  // Runs the animation to its end at once.
  void finishanimation();
  int animationtop() const { return animstep_; }
  int animationsize() const { return animsize_; }

  // The text of a panel as the window set it (line breaks as stored: CR LF,
  // or CR alone in the status panel).
  static std::string caption(const QWidget* w);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The window's own buttons win their access keys over the menu bar.
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Gives a button the focus and shows it, as if it had been reached with
  // the keyboard: the button that goes on after an answer is the one Enter
  // presses next.
  static void focusbutton(QPushButton* b);
  void setcaption(ui::Panel* label, const std::string& text);
  // The caption of the Start button while it answers.
  QString answercaption() const;
  void buildcontrols();
  bool endtest();
  // Runs read, which reads file; while it fails the student is told and
  // asked whether to try again. False when the student leaves the module:
  // the window has ended.
  bool tryread(const std::string& file, const std::function<void()>& read);
  // Reads the test's header and count; false when the window has ended.
  bool readtest();
  // Tells the user that no question could be made and ends the window.
  bool noquestion(bool fromdrugs = true);
  void testforivon();
  // The calculator picture's focus, keys and click; true when taken.
  bool calcpictureevent(QEvent* event);
  // A site option binds only while results are recorded.
  bool applies(bool option) const;
  const std::string& moduletext(const std::vector<std::string>& texts) const;
  void unload();

  Dosavo& app_;
  QTimer* animtimer_ = nullptr;
  int animstep_ = 0, animsize_ = 0;
  bool unloading_ = false;
  // A button was just pressed by its access key: the key press that follows
  // types nothing into the answer box.
  bool accesskeytaken_ = false;
};

}  // namespace trainee
