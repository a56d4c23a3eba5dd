#include "authoring/frmstart.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "authoring/app.h"
#include "authoring/frmdrugdatabase.h"
#include "authoring/frmexam.h"
#include "authoring/helptext.h"
#include "core/ui/artwork.h"
#include "core/ui/panel.h"
#include "core/ui/twips.h"

namespace authoring {
namespace {

// A panel or picture that opens a workbench: by a click, or by Enter or the
// space bar once it has the focus, which it shows by a dotted frame.
template <typename Base>
class Opener : public Base {
 public:
  Opener(QWidget* parent, std::function<void()> open) : Base(QString(), parent), open_(std::move(open)) {
    this->setFocusPolicy(Qt::StrongFocus);
    this->setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (this->rect().contains(event->position().toPoint())) open_();
  }
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space: open_(); return;
      default: Base::keyPressEvent(event);
    }
  }
  void paintEvent(QPaintEvent* event) override {
    Base::paintEvent(event);
    if (!this->hasFocus()) return;
    QPainter g(this);
    QPen pen(this->palette().color(QPalette::WindowText), 1, Qt::DotLine);
    g.setPen(pen);
    g.drawRect(this->rect().adjusted(5, 5, -6, -6));
  }
  void focusInEvent(QFocusEvent* event) override {
    Base::focusInEvent(event);
    this->update();
  }
  void focusOutEvent(QFocusEvent* event) override {
    Base::focusOutEvent(event);
    this->update();
  }

 private:
  std::function<void()> open_;
};

QPixmap startpicture(int index) {
  // The teachers' test paper and the medicine bottle of the module pictures.
  const QPixmap p = ui::modulepicture(index == 0 ? 2 : 4);
  return p.scaled(ui::px(1080), ui::px(1470), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

frmstart::frmstart(Quizwright& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
  setObjectName(QStringLiteral("frmstart"));
  setWindowTitle(QStringLiteral("Dosavo - Quizwright"));
  ui::fixedwindow(*this, QSize(ui::px(7200), ui::px(5400)));

  SSPanel1 = new ui::Panel(QStringLiteral("Quizwright"), this);
  SSPanel1->setheading(26);
  ui::placetw(SSPanel1, 240, 240, 6720, 855);

  static const char* captions[2] = {"Test Construction Set", "Drug Database"};
  for (int i = 0; i < 2; ++i) {
    const int top = 1320 + i * 1680;
    Image1[i] = new Opener<QLabel>(this, [this, i] { Image1_Click(i); });
    Image1[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
    Image1[i]->setPixmap(startpicture(i));
    Image1[i]->setAlignment(Qt::AlignCenter);
    Image1[i]->setFocusPolicy(Qt::NoFocus);
    ui::placetw(Image1[i], 480, top, 1200, 1560);

    Label2[i] = new Opener<ui::Panel>(this, [this, i] { Label2_Click(i); });
    Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    Label2[i]->setCaption(QString::fromLatin1(captions[i]));
    QFont f = Label2[i]->font();
    f.setPointSize(13);
    f.setBold(true);
    Label2[i]->setFont(f);
    ui::placetw(Label2[i], 1920, top + 360, 5040, 840);
  }

  Label3 = new QLabel(this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setWordWrap(true);
  ui::placetw(Label3, 240, 4680, 4800, 495);

  Quit = new QPushButton(QStringLiteral("&Quit"), this);
  Quit->setObjectName(QStringLiteral("Quit"));
  Quit->setAutoDefault(true);  // Enter presses it once it has the focus
  ui::placetw(Quit, 5400, 4680, 1560, 495);
  connect(Quit, &QPushButton::clicked, this, [this] { Quit_Click(); });

  setTabOrder(Label2[0], Label2[1]);
  setTabOrder(Label2[1], Quit);
  Label2[0]->setFocus();
  installquizwrighthelp(*this, QStringLiteral("start"));
  Form_Load();
}

void frmstart::Form_Load() {
  ui::centreform(*this);
  Label3->setText(QStringLiteral("Tests and drug data for the Dosavo trainee program. Press F1 for help."));
}

void frmstart::Label2_Click(int index) {
  if (index == 0) {
    Frmexam& editor = app_.exam();
    editor.show();
    editor.raise();
    editor.activateWindow();
  } else {
    opendrugdatabase();
  }
}

void frmstart::opendrugdatabase() {
  frmDrugDatabase& editor = app_.drugdatabase();
  editor.show();
  editor.raise();
  editor.activateWindow();
}

void frmstart::Quit_Click() { app_.end(); }

void frmstart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Back from a workbench the start screen takes the keyboard, so that it
  // can be used at once without the mouse.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible()) return;
    raise();
    activateWindow();
  });
}

void frmstart::closeEvent(QCloseEvent* event) {
  event->accept();
  app_.end();
}

}  // namespace authoring
