// The on-screen calculator's window: its keys, the keys and clicks that
// reach the engine, the messages it tells, and "=" filling the exercise
// window's answer box. The calculation itself is the engine's (model tests).
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ui/messages.h"
#include "trainee/app.h"
#include "trainee/calculator.h"
#include "trainee/frmquestion.h"

namespace {

using trainee::Calculator;

struct Message {
  QString title, text;
  QMessageBox::Icon icon;
};

class CalculatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::setmessagehook([this](const QString& title, const QString& text, QMessageBox::Icon icon) {
      messages.push_back({title, text, icon});
    });
    app.modnum = 3;
    box = app.question().txtanswer;
    ASSERT_NE(box, nullptr);
    box->setText(QStringLiteral("Answer"));
    calc = &app.calculator();
  }
  void TearDown() override { ui::setmessagehook(nullptr); }

  // Presses the keys of a sequence such as "1 . 5 + 2 =" through the click
  // handlers; a token of several digits presses each digit.
  void keys(const std::string& sequence) {
    std::istringstream in(sequence);
    std::string k;
    while (in >> k) {
      if (k == "C") calc->Cancel_Click();
      else if (k == "CE") calc->CancelEntry_Click();
      else if (k == ".") calc->Decimal_Click();
      else if (k == "/") calc->Operator_Click(0);
      else if (k == "+") calc->Operator_Click(1);
      else if (k == "X") calc->Operator_Click(2);
      else if (k == "-") calc->Operator_Click(3);
      else if (k == "=") calc->Operator_Click(4);
      else
        for (char d : k) {
          ASSERT_TRUE(d >= '0' && d <= '9') << k;
          calc->Number_Click(d - '0');
        }
    }
  }
  QString readout() const { return calc->Readout->text(); }
  QString answerbox() const { return box->text(); }

  trainee::Dosavo app;
  Calculator* calc = nullptr;
  QLineEdit* box = nullptr;
  std::vector<Message> messages;
};

TEST_F(CalculatorTest, WindowKeysAndReadoutAsDesigned) {
  EXPECT_EQ(calc->windowTitle(), "Calculator");
  EXPECT_FALSE(calc->isModal());
  EXPECT_EQ(readout(), "0.");
  EXPECT_EQ(calc->Readout->geometry().size(), QSize(200, 25));  // 3000 x 375 twips
  const char* digits = "0123456789";
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(calc->Number[i]->text(), QString(QChar(digits[i])));
    EXPECT_EQ(calc->Number[i]->height(), 32);
    EXPECT_EQ(calc->Number[i]->width(), i == 0 ? 73 : 32);
  }
  const char* ops[5] = {"/", "+", "X", "-", "="};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(calc->Operator[i]->text(), ops[i]);
  EXPECT_EQ(calc->Operator[4]->width(), 73);
  EXPECT_EQ(calc->Decimal->text(), ".");
  EXPECT_EQ(calc->Cancel->text(), "C");
  EXPECT_EQ(calc->CancelEntry->text(), "CE");
  // Four rows: 7 8 9 C CE / 4 5 6 + - / 1 2 3 X / / 0 . =
  EXPECT_EQ(calc->Number[7]->y(), calc->CancelEntry->y());
  EXPECT_EQ(calc->Number[4]->y(), calc->Operator[3]->y());
  EXPECT_EQ(calc->Number[1]->y(), calc->Operator[0]->y());
  EXPECT_EQ(calc->Number[0]->y(), calc->Operator[4]->y());
  EXPECT_LT(calc->Number[7]->y(), calc->Number[4]->y());
  EXPECT_LT(calc->Number[4]->y(), calc->Number[1]->y());
  EXPECT_LT(calc->Number[1]->y(), calc->Number[0]->y());
  EXPECT_LT(calc->Readout->geometry().bottom(), calc->Number[7]->y());
  EXPECT_EQ(calc->engine.lastkey, "NONE");
}

TEST_F(CalculatorTest, MessagesOfTheEngineAreTold) {
  keys("5 / 0 =");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Can't divide by zero");
  EXPECT_EQ(messages[0].title, "Calculator");
  EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(readout(), "5.");
  EXPECT_EQ(answerbox(), "5.");
  // A result beyond the range of a double is told too.
  keys("C 1" + std::string(200, '0') + " X 1" + std::string(200, '0') + " =");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "The result is too large to display");
  EXPECT_EQ(messages[1].title, "Calculator");
  EXPECT_EQ(messages[1].icon, QMessageBox::Warning);
  EXPECT_EQ(answerbox(), "1" + QString(200, QLatin1Char('0')) + ".");
}

// 5 / - / 0 = : the second "/" stores the lone minus as the first operand,
// the division by zero leaves it there, and the readout and the answer box
// show it.
TEST_F(CalculatorTest, DivisionByZeroAfterALoneMinusShowsTheMinus) {
  calc->show();
  for (QPushButton* k : {calc->Number[5], calc->Operator[0], calc->Operator[3], calc->Operator[0], calc->Number[0],
                         calc->Operator[4]})
    QTest::mouseClick(k, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Can't divide by zero");
  EXPECT_EQ(readout(), "-");
  EXPECT_EQ(answerbox(), "-");
  calc->hide();
}

TEST_F(CalculatorTest, RealClicksOnTheKeys) {
  calc->show();
  QTest::mouseClick(calc->Number[4], Qt::LeftButton);
  QTest::mouseClick(calc->Number[2], Qt::LeftButton);
  QTest::mouseClick(calc->Operator[0], Qt::LeftButton);
  QTest::mouseClick(calc->Number[8], Qt::LeftButton);
  QTest::mouseClick(calc->Operator[4], Qt::LeftButton);
  EXPECT_EQ(readout(), "5.25");
  EXPECT_EQ(answerbox(), "5.25");
  QTest::mouseClick(calc->Cancel, Qt::LeftButton);
  EXPECT_EQ(readout(), "0.");
  QTest::mouseClick(calc->Decimal, Qt::LeftButton);
  QTest::mouseClick(calc->Number[5], Qt::LeftButton);
  QTest::mouseClick(calc->Operator[2], Qt::LeftButton);
  QTest::mouseClick(calc->Operator[3], Qt::LeftButton);
  QTest::mouseClick(calc->Number[6], Qt::LeftButton);
  QTest::mouseClick(calc->CancelEntry, Qt::LeftButton);
  QTest::mouseClick(calc->Number[2], Qt::LeftButton);
  QTest::mouseClick(calc->Operator[4], Qt::LeftButton);
  EXPECT_EQ(readout(), "1");  // 0.5 X 2: the CE dropped the negative entry
  // Escape does nothing (no Cancel button): the calculation stays, and the
  // result stays in the answer box.
  calc->show();
  QTest::keyClick(calc, Qt::Key_Escape);
  EXPECT_TRUE(app.calculatorloaded());
  EXPECT_TRUE(calc->isVisible());
  EXPECT_EQ(readout(), "1");
  EXPECT_EQ(answerbox(), "1");
}

TEST_F(CalculatorTest, ClosingTheWindowStartsAfresh) {
  keys("2 + 3");
  calc->show();
  calc->close();
  EXPECT_EQ(readout(), "0.");
  EXPECT_EQ(calc->engine.operandcount, 0);
  EXPECT_EQ(calc->engine.pendingop, " ");
  // Hiding (the exercise window's end) keeps the calculation.
  keys("2 + 3");
  calc->show();
  calc->hide();
  keys("=");
  EXPECT_EQ(readout(), "5");
}

TEST(CalculatorWithoutExerciseWindow, EqualsWithoutAnswerBox) {
  trainee::Dosavo app;
  Calculator calc(app);
  calc.Number_Click(7);
  calc.Operator_Click(4);
  EXPECT_EQ(calc.Readout->text(), "7.");
  EXPECT_FALSE(app.questionloaded());
}

}  // namespace
