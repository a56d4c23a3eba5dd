// A student at the keyboard alone, through the real windows: keys go to the
// window the way the window system delivers them (to the widget that has
// the focus, shortcuts first), and the test reads what the windows show.
// Also: F1 in every window opens the help centred over that window, and
// every window keeps its size and carries the program's icon.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "core/ui/icons.h"
#include "session_fixture.h"
#include "tests/ui/helpsection.h"
#include "trainee/burette.h"
#include "trainee/calculator.h"
#include "trainee/frmcompleted.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"

using exercisetest::Session;
using trainee::Frmquestion;

namespace {

class Keyboard : public Session {
 protected:
  // The window takes the keyboard, as a click on its title bar gives it
  // (the widgets' active window follows the window system's a little later).
  static void activate(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == &w, 500);
  }
  static void press(QWidget& w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(w.windowHandle(), key, modifiers);
  }
  static void type(QWidget& w, const QString& text) {
    for (const QChar c : text) QTest::keyClick(w.windowHandle(), c.toLatin1());
  }
  // The button has the keyboard and shows it: it looks different from the
  // same button without the focus.
  static void expectfocus(QPushButton* b, const char* caption) {
    EXPECT_EQ(b->text(), caption);
    expectmark(b);
  }
  // The widget has the keyboard and shows it.
  static void expectmark(QWidget* w) {
    ASSERT_NE(w, nullptr);
    const std::string name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString();
    EXPECT_TRUE(w->isVisible()) << name;
    ASSERT_TRUE(w->hasFocus()) << name;
    const QImage focused = w->grab().toImage();
    w->clearFocus();
    EXPECT_NE(w->grab().toImage(), focused) << name;
    w->setFocus();
  }
  // A widget whose style shows no focus of its own (a list, a read-only
  // text): a ring just inside its edge shows the keyboard, all round.
  static void expectring(QWidget* w) {
    expectmark(w);
    const QImage focused = w->grab().toImage();
    w->clearFocus();
    const QImage plain = w->grab().toImage();
    w->setFocus();
    ASSERT_EQ(focused.size(), plain.size());
    int edge = 0, changed = 0;
    for (int y = 0; y < focused.height(); ++y)
      for (int x = 0; x < focused.width(); ++x) {
        if (x >= 2 && y >= 2 && x < focused.width() - 2 && y < focused.height() - 2) continue;
        ++edge;
        if (focused.pixel(x, y) != plain.pixel(x, y)) ++changed;
      }
    EXPECT_GT(changed, edge / 2) << w->objectName().toStdString();
  }
  static void expectanswerbox(Frmquestion& q) {
    EXPECT_TRUE(q.txtanswer->isVisible());
    EXPECT_TRUE(q.txtanswer->hasFocus());
    EXPECT_EQ(q.txtanswer->text(), "");
  }
  static QString status(Frmquestion& q) { return q.lblstatus->text().section('\n', 0, 0); }
};

// The volume a student works out from the fluid question on the screen:
// ordered dose / stock dose x stock volume.
double fluidanswer(const QString& shown) {
  static const QRegularExpression ordered(QStringLiteral("ordered ([0-9.]+) (?:mg|milligrams)"));
  static const QRegularExpression stock(QStringLiteral("([0-9.]+) (?:mg|milligrams) in ([0-9.]+) (?:ml|millilitres)"));
  const auto dose = ordered.match(shown);
  const auto strength = stock.match(shown);
  if (!dose.hasMatch() || !strength.hasMatch()) return -1;
  return dose.captured(1).toDouble() / strength.captured(1).toDouble() * strength.captured(2).toDouble();
}

}  // namespace

// From the title window to the fluid module and back to the menu with keys
// only: Enter presses the button that goes on after each answer (Next, Yes,
// the worked solution's OK, or No reached with Shift+Tab), and every next
// question finds the answer box ready.
TEST_F(Keyboard, FluidModuleIsWorkedWithTheKeyboardAlone) {
  writedrugs();
  startprogram();
  trainee::Frmmain& title = app.frmmain();
  activate(title);
  press(title, Qt::Key_Return);  // Start
  trainee::frmmenu& menu = app.menu();
  activate(menu);
  press(menu, Qt::Key_Down);
  press(menu, Qt::Key_Down);
  EXPECT_EQ(menu.Lstmodules->currentItem()->text(), "Calculating Fluid Dosages");
  press(menu, Qt::Key_Return);
  ASSERT_TRUE(app.questionloaded());
  Frmquestion& q = app.question();
  activate(q);
  expectfocus(q.cmdstart, "&Start");

  press(q, Qt::Key_Return);
  expectanswerbox(q);
  double volume = fluidanswer(q.Lblquestion->text());
  ASSERT_GT(volume, 0) << q.Lblquestion->text().toStdString();
  type(q, QString::number(volume, 'f', 2));  // 2.50 for 2.5
  press(q, Qt::Key_Return);
  EXPECT_TRUE(q.Lblcorrect->isVisible());
  expectfocus(q.cmdstart, "&Next");

  press(q, Qt::Key_Return);  // Next
  expectanswerbox(q);
  EXPECT_EQ(status(q), "Question : 2");
  volume = fluidanswer(q.Lblquestion->text());
  type(q, QStringLiteral("99"));
  press(q, Qt::Key_Return);
  EXPECT_EQ(q.Lblincorrect->text(), "You answered 99.\nThe correct answer was " + QString::number(volume) +
                                        ".\nWould you like to see how this was worked out?");
  expectfocus(q.wanthelp[0], "&Yes");
  // Tab runs round what is shown: the picture of the calculator lies under
  // the prompt and is passed by.
  for (int i = 0; i < 4; ++i) {
    press(q, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), q.wanthelp[(i + 1) % 2]) << i;
  }
  EXPECT_FALSE(app.calculatorloaded());
  press(q, Qt::Key_Return);  // Yes: the worked solution
  EXPECT_TRUE(q.txthelp->isVisible());
  EXPECT_TRUE(q.txthelp->toPlainText().startsWith("The question was:\n"));
  expectfocus(q.cmdshowme, "&OK");
  // Tab reaches the solution, ringed, but never the answer box under it:
  // nothing is typed unseen.
  bool read = false;
  for (int i = 0; i < 4; ++i) {
    press(q, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), q.txtanswer) << i;
    if (QApplication::focusWidget() == q.txthelp) {
      read = true;
      expectring(q.txthelp);
    }
    type(q, QStringLiteral("7"));
  }
  EXPECT_TRUE(read);
  EXPECT_EQ(q.txtanswer->text(), "");
  for (int i = 0; i < 4 && !q.cmdshowme->hasFocus(); ++i) press(q, Qt::Key_Tab);
  expectfocus(q.cmdshowme, "&OK");
  press(q, Qt::Key_Return);  // OK: the next question
  expectanswerbox(q);
  EXPECT_EQ(status(q), "Question : 3");

  type(q, QStringLiteral("99"));
  press(q, Qt::Key_Return);
  expectfocus(q.wanthelp[0], "&Yes");
  press(q, Qt::Key_Tab, Qt::ShiftModifier);
  expectfocus(q.wanthelp[1], "&No");
  press(q, Qt::Key_Return);  // No: the next question
  expectanswerbox(q);
  EXPECT_EQ(status(q), "Question : 4");

  press(q, Qt::Key_Tab);  // Answer
  press(q, Qt::Key_Tab);
  expectfocus(q.cmdquit, "&Quit");
  press(q, Qt::Key_Return);
  EXPECT_FALSE(app.questionloaded());
  EXPECT_TRUE(menu.isVisible());
}

// Alt+O presses the window's own "&OK" (the worked solution's, the prompt's
// after a wrong answer without one) rather than opening the "&Options"
// menu; with no such button shown, it opens the menu.
TEST_F(Keyboard, AltOPressesTheWindowsOwnOkBeforeTheOptionsMenu) {
  writetest({core::testrecord::header("Quiz", "", "", 0), core::testrecord::item("One?", "Help.", "1"),
             core::testrecord::item("Two?", "", "2"), core::testrecord::item("Three?", "", "3")});
  Frmquestion& q = open(7);
  activate(q);
  press(q, Qt::Key_Return);  // Start
  press(q, Qt::Key_S, Qt::AltModifier);  // Show Me
  QTRY_VERIFY_WITH_TIMEOUT(q.txthelp->isVisible(), 1000);
  ASSERT_EQ(q.cmdshowme->text(), "&OK");
  press(q, Qt::Key_O, Qt::AltModifier);
  EXPECT_FALSE(q.ope->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!q.txthelp->isVisible(), 1000);
  EXPECT_EQ(q.session.npassed, 1);  // the empty box was judged
  EXPECT_EQ(q.session.questno, 2);

  type(q, QStringLiteral("5"));
  press(q, Qt::Key_Return);
  ASSERT_TRUE(q.Command1->isVisible());
  press(q, Qt::Key_O, Qt::AltModifier);
  EXPECT_FALSE(q.ope->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!q.Command1->isVisible(), 1000);
  EXPECT_EQ(q.session.questno, 3);

  press(q, Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(q.ope->isVisible());
  QTest::keyClick(q.ope, Qt::Key_Escape);
  EXPECT_FALSE(q.ope->isVisible());
}

// The logon window with a prompt, an ID and a name: the keyboard starts in
// the ID box, Tab goes on to the name, the buttons and last the prompt,
// which takes no keys; Enter logs on; Escape leaves the window as it is.
TEST_F(Keyboard, LogonWithTheKeyboardAlone) {
  startprogram("<KEEP LOG>run.log\r\n<ID>\r\n<NAME>\r\n<PROMPT LOGIN>Welcome to the ward.\r\n");
  onmodal = [](QDialog& d) {
    auto& logon = dynamic_cast<trainee::Frmid&>(d);
    activate(d);
    EXPECT_EQ(logon.Txtmsg->toPlainText(), "Welcome to the ward.");
    press(d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    type(d, QStringLiteral("AB12"));
    press(d, Qt::Key_Tab);
    type(d, QStringLiteral("Jo"));
    EXPECT_EQ(logon.TxtID->text(), "AB12");
    EXPECT_EQ(logon.Txtname->text(), "Jo");
    press(d, Qt::Key_Tab);
    EXPECT_TRUE(logon.cmdOk[0]->hasFocus());
    // The prompt is read-only and ringed while it has the keyboard.
    press(d, Qt::Key_Tab);
    expectring(logon.Txtmsg);
    type(d, QStringLiteral("x"));
    EXPECT_EQ(logon.Txtmsg->toPlainText(), "Welcome to the ward.");
    press(d, Qt::Key_Tab, Qt::ShiftModifier);
    press(d, Qt::Key_Tab, Qt::ShiftModifier);
    press(d, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  };
  trainee::Frmmain& title = app.frmmain();
  activate(title);
  press(title, Qt::Key_Return);  // Start
  ASSERT_EQ(modals, std::vector<std::string>{"trainee::Frmid"});
  trainee::frmmenu& menu = app.menu();
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.windowTitle(), "Dosavo  ~  User ID: AB12         Name: Jo");
  EXPECT_TRUE(boxes.empty());
}

// The progress window and the save question: Tab runs round their buttons
// and their read-only text, and Enter presses the button that has the
// keyboard (OK first, Yes first).
TEST_F(Keyboard, ProgressAndSaveQuestionFromTheKeyboard) {
  startprogram("<KEEP LOG>run.log\r\n<PROMPT>Save your results?\r\n");
  app.frmmain().Command1_Click();
  trainee::frmmenu& menu = app.menu();
  app.modules.modcorrect[4] = 2;
  app.results.progdirty = true;
  menu.showprogressbutton();
  std::vector<QString> seen;
  auto tabround = [&](QDialog& d) {
    seen.clear();
    activate(d);
    // The window looks different at each stop: the keyboard shows wherever
    // it is (a dialog's default button looks as it does with the focus).
    std::vector<QImage> looks;
    for (int i = 0; i < 3; ++i) {
      QWidget* stop = QApplication::focusWidget();
      seen.push_back(stop->objectName());
      looks.push_back(d.grab().toImage());
      for (int j = 0; j < i; ++j) EXPECT_NE(looks[static_cast<std::size_t>(j)], looks.back()) << j << " " << i;
      if (auto* text = qobject_cast<QPlainTextEdit*>(stop)) {
        // The text is there to be read: typing changes nothing.
        const QString before = text->toPlainText();
        type(d, QStringLiteral("zz"));
        press(d, Qt::Key_Backspace);
        EXPECT_EQ(text->toPlainText(), before);
      }
      press(d, Qt::Key_Tab);
    }
    seen.push_back(QApplication::focusWidget()->objectName());
    press(d, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  };
  onmodal = tabround;
  activate(menu);
  menu.Image3->setFocus();
  press(menu, Qt::Key_Return);
  EXPECT_EQ(seen, (std::vector<QString>{"Command1", "Command2", "Text1", "Command1"}));
  EXPECT_TRUE(menu.isVisible());  // OK: back to the menu

  activate(menu);
  for (int i = 0; i < 4 && !menu.cmdquit->hasFocus(); ++i) press(menu, Qt::Key_Tab);
  ASSERT_TRUE(menu.cmdquit->hasFocus());
  press(menu, Qt::Key_Return);  // Quit: the save question
  EXPECT_EQ(seen, (std::vector<QString>{"SSCommand1_0", "SSCommand1_1", "Text1", "SSCommand1_0"}));
  EXPECT_NE(exercisetest::readall(dir.filePath("run.log").toStdString()).find("Calculating Tablet Dosages"),
            std::string::npos);
}

// Tab goes round the menu's stops, and each one shows the keyboard; Accept
// keeps the default mark (Enter starts the module) except while another
// button has the keyboard. With results the Progress button joins the round.
TEST_F(Keyboard, EveryMenuTabStopShowsTheKeyboard) {
  startprogram("");
  app.frmmain().Command1_Click();
  trainee::frmmenu& menu = app.menu();
  const std::vector<std::vector<QWidget*>> rounds = {
      {menu.Lstmodules, menu.cmdaccept, menu.cmdquit},
      {menu.Lstmodules, menu.Image3, menu.cmdaccept, menu.cmdquit}};
  for (std::size_t r = 0; r < rounds.size(); ++r) {
    SCOPED_TRACE(r);
    if (r == 1) {
      app.results.progdirty = true;
      menu.showprogressbutton();
    }
    activate(menu);
    menu.Lstmodules->setFocus();
    for (std::size_t i = 0; i <= rounds[r].size(); ++i) {
      QWidget* stop = rounds[r][i % rounds[r].size()];
      EXPECT_EQ(QApplication::focusWidget(), stop) << i;
      if (stop == menu.Lstmodules) expectring(stop);
      else expectmark(stop);
      const bool otherbutton = qobject_cast<QPushButton*>(stop) != nullptr && stop != menu.cmdaccept;
      EXPECT_EQ(menu.cmdaccept->isDefault(), !otherbutton) << i;
      press(menu, Qt::Key_Tab);
    }
  }
}

// A teacher's test: a wrong answer without worked solution puts the focus on
// OK. The calculator: Shift+Tab from the answer box reaches its picture
// (ringed), Space opens it, typed keys press its keys, Enter gives the result
// to the box; Escape leaves it as it is; back in the exercise window, Space on the
// picture puts it away and Tab reaches the answer box. After the last answer Next leads to the
// completion notice, whose OK Enter presses. The flow-rate module: the
// scroll bar has the keyboard, Tab reaches Accept.
TEST_F(Keyboard, TestCalculatorCompletionAndFlowRateFromTheKeyboard) {
  writetest({core::testrecord::header("Ward quiz", "", "", 2), core::testrecord::item("Unit of mass?", "", "mg"),
             core::testrecord::item("Half of 5?", "It is 2.5.", "2.5")});
  onmodal = [](QDialog& d) {
    EXPECT_EQ(qobject_cast<trainee::Frmcompleted*>(&d)->SSPanel1->text(), "Test Completed");
    activate(d);
    press(d, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  };
  Frmquestion& q = open(7);
  activate(q);
  press(q, Qt::Key_Return);  // Start
  EXPECT_EQ(q.Lblquestion->text(), "Unit of mass?");
  type(q, QStringLiteral("kg"));
  press(q, Qt::Key_Return);
  EXPECT_EQ(q.Lblincorrect->text(), "You answered KG.\nThe correct answer was MG.");
  expectfocus(q.Command1, "&OK");
  press(q, Qt::Key_Return);
  EXPECT_EQ(q.Lblquestion->text(), "Half of 5?");
  expectanswerbox(q);

  const QImage plain = q.Imgcalc->grab().toImage();
  press(q, Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_TRUE(q.Imgcalc->hasFocus());
  EXPECT_NE(q.Imgcalc->grab().toImage(), plain);
  press(q, Qt::Key_Space);
  ASSERT_TRUE(app.calculatorloaded() && app.calculator().isVisible());
  trainee::Calculator& calc = app.calculator();
  activate(calc);
  type(calc, QStringLiteral("7C5/2"));
  EXPECT_EQ(calc.Readout->text(), "2.");
  press(calc, Qt::Key_Return);
  EXPECT_EQ(calc.Readout->text(), "2.5");
  EXPECT_EQ(q.txtanswer->text(), "2.5");
  press(calc, Qt::Key_Escape);  // no Cancel button: the calculator stays as it is
  ASSERT_TRUE(app.calculatorloaded() && calc.isVisible());
  EXPECT_EQ(calc.Readout->text(), "2.5");
  activate(q);  // back to the exercise window, as the window system switches
  ASSERT_TRUE(q.Imgcalc->hasFocus());
  press(q, Qt::Key_Space);  // the picture puts the calculator away
  EXPECT_FALSE(app.calculatorloaded());
  press(q, Qt::Key_Tab);
  EXPECT_TRUE(q.txtanswer->hasFocus());
  EXPECT_EQ(q.Imgcalc->grab().toImage(), plain);
  press(q, Qt::Key_Return);
  expectfocus(q.cmdstart, "&Next");
  press(q, Qt::Key_Return);
  EXPECT_EQ(modals, std::vector<std::string>{"trainee::Frmcompleted"});
  EXPECT_FALSE(app.questionloaded());
  settle();

  draws.push(0.49f);  // a rate of 44 drops a minute
  Frmquestion& flow = open(2);
  activate(flow);
  press(flow, Qt::Key_Return);  // Start
  expectmark(flow.burette->scriv);
  for (int i = 0; i < 6; ++i) press(flow, Qt::Key_Left);
  EXPECT_EQ(flow.burette->scriv->value(), 44);
  EXPECT_EQ(flow.burette->tmrdrip->interval(), 1363);  // the burette drips at the rate the keys set
  press(flow, Qt::Key_Tab);
  expectfocus(flow.cmdaccept, "&Accept");
  press(flow, Qt::Key_Return);
  EXPECT_TRUE(flow.Lblcorrect->isVisible());
  expectfocus(flow.cmdstart, "&Next");
  // Each access key shown belongs to one button: Alt+A accepts the rate.
  draws.push(0.49f);
  press(flow, Qt::Key_Return);  // Next
  QStringList keys;
  for (QPushButton* b : flow.body->findChildren<QPushButton*>())
    if (b->isVisible()) keys << QKeySequence::mnemonic(b->text()).toString();
  EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
  for (int i = 0; i < 6; ++i) press(flow, Qt::Key_Left);
  press(flow, Qt::Key_A, Qt::AltModifier);
  QTRY_VERIFY_WITH_TIMEOUT(flow.Lblcorrect->isVisible(), 1000);
  EXPECT_EQ(flow.session.ncorrect, 2);
}

// Every window of a logged run answers F1 with the help, open at the section
// about that window, centred over it and usable while the window is modal;
// Escape closes the help and gives the keyboard back to that window. None
// can be resized or maximised; each carries dosavo's icon.
TEST_F(Keyboard, EveryWindowAnswersF1AndIsFixedWithTheProgramIcon) {
  writetest({core::testrecord::header("Ward quiz", "About units", "", 1), core::testrecord::item("Unit?", "", "mg")});
  writefile("vqfile.ini", "<KEEP LOG>run.log\r\n<ID>\r\n<PROMPT>\r\n");
  trainee::Main(app);
  boxes.clear();
  // Each window, in the order the run reaches it, and the heading of the
  // help section F1 opens there.
  const std::vector<std::pair<std::string, QString>> sections = {
      {"trainee::Frmmain", "Starting"},           {"trainee::Frmid", "Starting"},
      {"trainee::frmmenu", "The menu"},           {"trainee::frmprogress", "Progress"},
      {"ui::Default", "Settings"},                {"trainee::Frmquestion", "Working an exercise"},
      {"trainee::Calculator", "The calculator"},  {"trainee::Frmcompleted", "Working an exercise"},
      {"trainee::Frmsave", "Finishing"}};
  std::vector<std::string> checked;
  auto check = [&](QWidget& w) {
    SCOPED_TRACE(w.metaObject()->className());
    checked.push_back(w.metaObject()->className());
    activate(w);
    press(w, Qt::Key_F1);
    QWidget* help = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->windowTitle() == "Dosavo Help" && t->isVisible()) help = t;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->findChild<QTextBrowser*>()->toPlainText().startsWith("Dosavo"));
    ASSERT_LT(checked.size(), sections.size() + 1);
    EXPECT_EQ(sections[checked.size() - 1].first, checked.back());
    EXPECT_TRUE(helptest::showssection(help, sections[checked.size() - 1].second));
    EXPECT_EQ(help->parentWidget(), &w);  // usable while w is modal
    EXPECT_LE((help->frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 2);
    press(*help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isActiveWindow());  // the keyboard goes back to the window

    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.windowIcon().pixmap(32).toImage(), ui::programpicture(ui::Program::dosavo, 32).toImage());
  };

  onmodal = [&](QDialog& d) {
    check(d);
    if (auto* logon = qobject_cast<trainee::Frmid*>(&d)) {
      logon->TxtID->setText("AB12");
      logon->cmdOk_Click(0);
    } else if (d.findChild<QPushButton*>("SSCommand1_0") != nullptr) {
      d.findChild<QPushButton*>("SSCommand1_0")->click();  // Yes: save
    }
  };
  check(app.frmmain());
  app.frmmain().Command1_Click();  // the logon window, then the menu
  trainee::frmmenu& menu = app.menu();
  ASSERT_TRUE(menu.isVisible());
  check(menu);
  menu.Image3_Click();   // progress
  menu.Change_Click();   // settings
  menu.Lstmodules->setCurrentRow(6);
  menu.cmdaccept_Click();
  ASSERT_TRUE(app.questionloaded());
  Frmquestion& q = app.question();
  check(q);
  q.cmdStart_Click();
  q.Imgcalc_Click();
  ASSERT_TRUE(app.calculator().isVisible());
  app.calculator().move(200, 150);  // clear of the screen's edges, which the help keeps inside
  check(app.calculator());
  answer(q, "mg");
  q.cmdStart_Click();  // Next: the completion notice
  settle();
  menu.cmdquit_Click();  // the save question
  EXPECT_EQ(checked.size(), sections.size());
  EXPECT_NE(exercisetest::readall(dir.filePath("run.log").toStdString()).find("User ID: AB12"), std::string::npos);
}
