#include "trainee/calculator.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/frmquestion.h"
#include "trainee/helptext.h"

namespace trainee {
namespace {

const QString TITLE = QStringLiteral("Calculator");
const QString DIVIDEBYZERO = QStringLiteral("Can't divide by zero");
const QString TOOLARGE = QStringLiteral("The result is too large to display");

// Key grid: five columns and four rows of 480-twip keys, 615 twips apart,
// under the readout.
constexpr int KEY = 480;
constexpr int WIDEKEY = 1095;
constexpr int PITCH = 615;
constexpr int KEYLEFT = 150;
constexpr int KEYTOP = 615;
constexpr int WINDOWWIDTH = 3240;
constexpr int WINDOWHEIGHT = KEYTOP + 3 * PITCH + KEY + 120;

int keyleft(int column) { return KEYLEFT + column * PITCH; }
int keytop(int row) { return KEYTOP + row * PITCH; }

enum class Reading { number, notnumber, toolarge };

// An operand read as a number. Empty reads as 0; a text is the readout as
// it stood, read the way a typed number is read. A text without a digit
// (a readout holding only a minus sign) is not a number and reads as 0; a
// typed number beyond the range of a double is too large to calculate with.
Reading readoperand(const QVariant& operand, double& value) {
  value = 0;
  if (!operand.isValid() || operand.isNull()) return Reading::number;
  if (operand.typeId() == QMetaType::Double) {
    value = operand.toDouble();
    return std::isfinite(value) ? Reading::number : Reading::toolarge;
  }
  const QString text = operand.toString().trimmed();
  bool digit = false;
  for (const QChar c : text)
    if (c.isDigit()) digit = true;
  if (!digit) return Reading::notnumber;
  bool ok = false;
  const double whole = QLocale::c().toDouble(text, &ok);
  if (std::isinf(whole)) {
    value = whole;
    return Reading::toolarge;
  }
  value = core::val(ui::toansi(text));
  return Reading::number;
}

// The readout's text for an operand: a computed number in its short form
// (no trailing point), a text as it stood.
QString operandtext(const QVariant& operand) {
  if (operand.typeId() == QMetaType::Double) return ui::fromansi(core::numtext(operand.toDouble()));
  if (!operand.isValid() || operand.isNull()) return QStringLiteral("0");
  return operand.toString();
}

QPushButton* key(const QString& caption, QWidget* parent, int column, int row, int width = KEY) {
  auto* b = new QPushButton(caption, parent);
  b->setAutoDefault(false);
  b->setDefault(false);
  b->setFocusPolicy(Qt::TabFocus);
  ui::placetw(b, keyleft(column), keytop(row), width, KEY);
  return b;
}

}  // namespace

Calculator::Calculator(Dosavo& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle(TITLE);
  setModal(false);
  ui::fixedwindow(*this, QSize(ui::px(WINDOWWIDTH), ui::px(WINDOWHEIGHT)));

  Readout = new QLabel(QStringLiteral("0."), this);
  Readout->setObjectName(QStringLiteral("Readout"));
  Readout->setTextFormat(Qt::PlainText);
  Readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Readout->setAutoFillBackground(true);
  QPalette pal = Readout->palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  Readout->setPalette(pal);
  Readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ui::placetw(Readout, 120, 120, 3000, 375);

  // Row 1: 7 8 9 C CE
  Number[7] = key(QStringLiteral("7"), this, 0, 0);
  Number[8] = key(QStringLiteral("8"), this, 1, 0);
  Number[9] = key(QStringLiteral("9"), this, 2, 0);
  Cancel = key(QStringLiteral("C"), this, 3, 0);
  CancelEntry = key(QStringLiteral("CE"), this, 4, 0);
  // Row 2: 4 5 6 + -
  Number[4] = key(QStringLiteral("4"), this, 0, 1);
  Number[5] = key(QStringLiteral("5"), this, 1, 1);
  Number[6] = key(QStringLiteral("6"), this, 2, 1);
  Operator[1] = key(QStringLiteral("+"), this, 3, 1);
  Operator[3] = key(QStringLiteral("-"), this, 4, 1);
  // Row 3: 1 2 3 X /
  Number[1] = key(QStringLiteral("1"), this, 0, 2);
  Number[2] = key(QStringLiteral("2"), this, 1, 2);
  Number[3] = key(QStringLiteral("3"), this, 2, 2);
  Operator[2] = key(QStringLiteral("X"), this, 3, 2);
  Operator[0] = key(QStringLiteral("/"), this, 4, 2);
  // Row 4: 0 (wide) . = (wide)
  Number[0] = key(QStringLiteral("0"), this, 0, 3, WIDEKEY);
  Decimal = key(QStringLiteral("."), this, 2, 3);
  Operator[4] = key(QStringLiteral("="), this, 3, 3, WIDEKEY);

  for (int i = 0; i < 10; ++i) connect(Number[i], &QPushButton::clicked, this, [this, i] { Number_Click(i); });
  for (int i = 0; i < 5; ++i) connect(Operator[i], &QPushButton::clicked, this, [this, i] { Operator_Click(i); });
  connect(Decimal, &QPushButton::clicked, this, &Calculator::Decimal_Click);
  connect(Cancel, &QPushButton::clicked, this, &Calculator::Cancel_Click);
  connect(CancelEntry, &QPushButton::clicked, this, &Calculator::CancelEntry_Click);
  installdosavohelp(*this, QStringLiteral("calculator"));

  Form_Load();
}

void Calculator::Form_Load() {
  pointentered = 0;
  operandcount = 0;
  lastkey = QStringLiteral("NONE");
  pendingop = QStringLiteral(" ");
  Readout->setText(QStringLiteral("0."));
}

void Calculator::Number_Click(int index) {
  if (index < 0 || index > 9) return;
  const QString digit = Number[index]->text();
  if (lastkey != QLatin1String("NUMS")) {
    // A new number begins.
    Readout->setText(QStringLiteral("."));
    pointentered = 0;
  }
  if (pointentered) {
    Readout->setText(Readout->text() + digit);
  } else {
    // Digits before the point go in front of it, as on a pocket calculator.
    const QString text = Readout->text();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    Readout->setText((point < 0 ? text : text.left(point)) + digit + QLatin1Char('.'));
  }
  if (lastkey == QLatin1String("NEG")) Readout->setText(QLatin1Char('-') + Readout->text());
  lastkey = QStringLiteral("NUMS");
}

void Calculator::Decimal_Click() {
  if (lastkey == QLatin1String("NEG"))
    Readout->setText(QStringLiteral("-0."));
  else if (lastkey != QLatin1String("NUMS"))
    Readout->setText(QStringLiteral("0."));
  pointentered = -1;
  lastkey = QStringLiteral("NUMS");
}

void Calculator::Operator_Click(int index) {
  if (index < 0 || index > 4) return;
  const QString op = Operator[index]->text();
  const QString current = Readout->text();
  const bool minus = op == QLatin1String("-");

  if (lastkey == QLatin1String("NUMS")) ++operandcount;

  if (operandcount == 0) {
    // No number yet: a minus starts a negative number.
    if (minus && lastkey != QLatin1String("NEG")) {
      Readout->setText(QLatin1Char('-') + Readout->text());
      lastkey = QStringLiteral("NEG");
    }
  } else if (operandcount == 1) {
    // The readout is taken as it stands, even when it holds only the minus
    // sign that began a negative number (an evaluation reads that as 0).
    firstoperand = current;
    // A minus right after an operator starts a negative second number;
    // after "=" it subtracts from the result.
    if (lastkey != QLatin1String("NUMS") && minus && pendingop != QLatin1String("=")) {
      Readout->setText(QStringLiteral("-"));
      lastkey = QStringLiteral("NEG");
    }
  } else {
    evaluate(current);
  }

  if (lastkey != QLatin1String("NEG")) {
    lastkey = QStringLiteral("OPS");
    pendingop = op;
  }

  if (index == 4 && app_.questionloaded()) {
    if (QLineEdit* box = app_.question().txtanswer) box->setText(Readout->text());
  }
}

// Applies the pending operator to the running result and the number just
// typed; strictly left to right.
void Calculator::evaluate(const QString& current) {
  secondoperand = current;
  double first = 0, second = 0;
  const Reading a = readoperand(firstoperand, first);
  const Reading b = readoperand(secondoperand, second);
  bool toolarge = b == Reading::toolarge;
  bool computed = true;
  double result = 0;
  if (pendingop == QLatin1String("+")) {
    result = first + second;
  } else if (pendingop == QLatin1String("-")) {
    result = first - second;
  } else if (pendingop == QLatin1String("X")) {
    result = first * second;
  } else if (pendingop == QLatin1String("/")) {
    if (second == 0) {
      ui::showbox(this, DIVIDEBYZERO, TITLE, QMessageBox::Warning);
      computed = false;
      toolarge = false;
    } else {
      result = first / second;
    }
  } else if (pendingop == QLatin1String("=")) {
    // A number typed after "=" replaces the result.
    result = second;
  } else {
    computed = false;  // no operator pending: the result stays
    toolarge = false;
  }
  if (computed) {
    // After "=" the new number replaces the result, whatever the result was.
    if (a == Reading::toolarge && pendingop != QLatin1String("=")) toolarge = true;
    if (toolarge || !std::isfinite(result)) {
      // Beyond the range of a double: the result stays as it was.
      ui::showbox(this, TOOLARGE, TITLE, QMessageBox::Warning);
    } else {
      firstoperand = result + 0.0;  // a result of minus zero shows as 0
    }
  }
  Readout->setText(operandtext(firstoperand));
  operandcount = 1;
}

void Calculator::Cancel_Click() {
  Readout->setText(QStringLiteral("0."));
  firstoperand = 0.0;
  secondoperand = 0.0;
  Form_Load();
}

void Calculator::CancelEntry_Click() {
  Readout->setText(QStringLiteral("0."));
  pointentered = 0;
  lastkey = QStringLiteral("CE");
}

void Calculator::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (!event->isAccepted()) return;
  firstoperand = QVariant();
  secondoperand = QVariant();
  Form_Load();
}

void Calculator::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // The first showing puts the calculator beside the exercise window, kept
  // on the screen.
  if (!app_.questionloaded()) return;
  const QWidget& window = app_.question();
  if (!window.isVisible()) return;
  const QRect beside = window.frameGeometry();
  QPoint at(beside.right() + 8, beside.top());
  if (const QScreen* screen = window.screen()) {
    const QRect room = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    if (at.x() + size.width() > room.right()) at.setX(room.right() - size.width());
    at.setX(std::max(at.x(), room.left()));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - size.height())));
  }
  move(at);
}

void Calculator::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // Escape puts the calculator away, as its picture does, and gives the
    // keyboard back to the answer box, where "=" has left the result.
    event->accept();
    if (!app_.questionloaded()) return;
    Frmquestion& question = app_.question();
    question.Imgcalc_Click();
    ui::showactive(question);
    if (question.txtanswer->isVisible()) question.txtanswer->setFocus(Qt::OtherFocusReason);
    return;
  }
  // The keyboard presses the calculator's keys: digits, the point, + - * x /,
  // = or Enter, C, and Backspace or Delete for CE.
  QPushButton* pressed = nullptr;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      pressed = Operator[4];
      break;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      pressed = CancelEntry;
      break;
    default: {
      // The operator keys' captions by index: "/", "+", "X", "-", "=".
      static const QString operators = QStringLiteral("/+X-=");
      const QString text = event->text();
      const QChar c = text.size() == 1 ? text[0] : QChar();
      if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) pressed = Number[c.unicode() - '0'];
      if (c == QLatin1Char('.')) pressed = Decimal;
      if (c == QLatin1Char('c') || c == QLatin1Char('C')) pressed = Cancel;
      if (c == QLatin1Char('*') || c == QLatin1Char('x')) pressed = Operator[2];
      if (!c.isNull() && operators.contains(c)) pressed = Operator[operators.indexOf(c)];
      break;
    }
  }
  if (pressed != nullptr) {
    pressed->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace trainee
