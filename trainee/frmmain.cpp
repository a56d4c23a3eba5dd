#include "trainee/frmmain.h"

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QPalette>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "core/ui/twips.h"
#include "core/ui/messages.h"
#include "trainee/app.h"
#include "trainee/frmid.h"
#include "trainee/frmmenu.h"
#include "trainee/helptext.h"
#include "core/ui/panel.h"

namespace trainee {

Frmmain::Frmmain(Dosavo& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
  setObjectName(QStringLiteral("Frmmain"));
  setWindowTitle(QStringLiteral(" Dosavo"));
  ui::fixedwindow(*this, QSize(ui::px(6375), ui::px(3600)));

  SSPanel1 = new ui::Panel(QStringLiteral("Dosavo"), this);
  SSPanel1->setheading(28);
  ui::placetw(SSPanel1, 240, 240, 5895, 855);

  SSPanel2 = new ui::Panel(QStringLiteral("v 5.0 32bit"), this);
  ui::placetw(SSPanel2, 240, 1140, 5895, 375);

  for (int i = 1; i >= 0; --i) {
    Label3[i] = new QLabel(this);
    Label3[i]->setAlignment(Qt::AlignCenter);
    ui::placetw(Label3[i], 240, i == 1 ? 1680 : 2010, 5895, 315);
  }
  QFont lines = Label3[1]->font();
  lines.setBold(true);
  Label3[0]->setFont(lines);
  Label3[1]->setFont(lines);

  Label2 = new ui::Panel(QStringLiteral("Version 5.0"), this);
  ui::placetw(Label2, 240, 2520, 2895, 735);

  Command1 = new QPushButton(QStringLiteral("&Start"), this);
  ui::placetw(Command1, 4320, 2640, 1815, 495);
  Command1->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  Timer1 = new QTimer(this);
  Timer1->setInterval(4000);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  installdosavohelp(*this, QStringLiteral("starting"));
  Form_Load();
}

void Frmmain::Form_Load() {
  ui::centreform(*this);
  Timer1->start();
}

void Frmmain::Timer1_Timer() {
  if (!flag_) {
    Label2->setVisible(true);
    Label3[1]->setText(QStringLiteral("Practical assistance and exercises in ..."));
    Label3[0]->setText(QStringLiteral("Metric conversions Drug Dosage IV Calculations"));
    Label2->setCaption(QStringLiteral("Press the [F1] key\rfor help."));
  } else {
    Label3[1]->setText(QStringLiteral("A self-paced learning tool..."));
    Label3[0]->setText(QStringLiteral("for nurses and other health professionals"));
  }
  flag_ = !flag_;
}

void Frmmain::Command1_Click() {
  Timer1->stop();
  const auto& o = app_.options;
  if (o.recording && (o.askid || o.askname)) {
    // The logon window shows the menu itself; the title window stays.
    ui::runmodal(app_.frmid());
    return;
  }
  if (o.recording) app_.menu().setWindowTitle(QStringLiteral("Dosavo - Recording Session Results"));
  ui::showactive(app_.menu());
  hide();
}

void Frmmain::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && Command1->isVisible() &&
      Command1->isEnabled()) {
    Command1->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Frmmain::closeEvent(QCloseEvent* event) {
  // Before the menu is open this ends the program at once; after a logon,
  // with the menu open, the run is left as the menu leaves it.
  event->accept();
  endfromoutside(app_);
}

}  // namespace trainee
