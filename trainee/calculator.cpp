#include "trainee/calculator.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

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
  engine.reset();
  showreadout();
}

void Calculator::Number_Click(int index) {
  if (index < 0 || index > 9) return;
  engine.digit(static_cast<char>('0' + index));
  showreadout();
}

void Calculator::Decimal_Click() {
  engine.point();
  showreadout();
}

void Calculator::Operator_Click(int index) {
  if (index < 0 || index > 4) return;
  showreadout(engine.operatorkey(ui::toansi(Operator[index]->text())));
  if (index == 4 && app_.questionloaded()) {
    if (QLineEdit* box = app_.question().txtanswer) box->setText(Readout->text());
  }
}

void Calculator::Cancel_Click() {
  engine.cancel();
  showreadout();
}

void Calculator::CancelEntry_Click() {
  engine.cancelentry();
  showreadout();
}

void Calculator::showreadout(CalcEngine::Message message) {
  if (message == CalcEngine::Message::DivideByZero) ui::showbox(this, DIVIDEBYZERO, TITLE, QMessageBox::Warning);
  if (message == CalcEngine::Message::TooLarge) ui::showbox(this, TOOLARGE, TITLE, QMessageBox::Warning);
  Readout->setText(ui::fromansi(engine.readout));
}

void Calculator::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (!event->isAccepted()) return;
  engine.clear();
  showreadout();
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
    // The calculator has no Cancel button, so Escape does nothing: one key
    // never puts away a calculation. The picture in the exercise window
    // puts the calculator away.
    event->accept();
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
