#include "authoring/frmtitle.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/helptext.h"
#include "core/text.h"
#include "core/ui/panel.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"

namespace authoring {

Frmtitle::Frmtitle(Frmexam& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("Frmtitle"));
  setWindowTitle(QStringLiteral("Test Description"));
  setModal(true);
  ui::fixedwindow(*this, QSize(ui::px(8775), ui::px(5760)));

  Label7 = new QLabel(this);
  // An etched frame, visible on every side.
  Label7->setFrameStyle(QFrame::Box | QFrame::Sunken);
  ui::placetw(Label7, 360, 240, 8055, 4455);

  static const char* captions[3] = {"Title for test", "A brief description of the test:", "Test Instructions:"};
  static const int places[3][4] = {{1680, 360, 1575, 375}, {480, 1080, 5895, 375}, {480, 2400, 4215, 375}};
  for (int i = 0; i < 3; ++i) {
    Label8[i] = new QLabel(QString::fromLatin1(captions[i]), this);
    Label8[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::placetw(Label8[i], places[i][0], places[i][1], places[i][2], places[i][3]);
  }
  Txttitle = new QLineEdit(this);
  Txttitle->setObjectName(QStringLiteral("Txttitle"));
  Txttitle->setMaxLength(static_cast<int>(core::TEST_TITLE_WIDTH));
  storableonly(*Txttitle);
  ui::placetw(Txttitle, 1680, 600, 5295, 495);

  Txtdescription[0] = new TextBox(static_cast<int>(core::TEST_DESCRIPTION_WIDTH), this);
  Txtdescription[0]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Txtdescription[0]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui::placetw(Txtdescription[0], 480, 1320, 7815, 975);
  // Enter does nothing in the description: it stays one paragraph.
  Txtdescription[0]->onkeypress = [](QKeyEvent* event) {
    return event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter;
  };
  Txtdescription[1] = new TextBox(600, this);
  Txtdescription[1]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ui::placetw(Txtdescription[1], 480, 2640, 7815, 1455);
  for (int i = 0; i < 2; ++i) Txtdescription[i]->setObjectName(QStringLiteral("Txtdescription_%1").arg(i));
  Label8[0]->setBuddy(Txttitle);
  Label8[1]->setBuddy(Txtdescription[0]);
  Label8[2]->setBuddy(Txtdescription[1]);

  Check1 = new QCheckBox(QStringLiteral("Include this test in Dosavo menu"), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  ui::placetw(Check1, 2760, 4200, 3375, 375);

  static const char* buttons[2] = {"&OK", "&Cancel"};
  for (int i = 0; i < 2; ++i) {
    cmdtitleaccept[i] = new QPushButton(QString::fromLatin1(buttons[i]), this);
    cmdtitleaccept[i]->setObjectName(QStringLiteral("cmdtitleaccept_%1").arg(i));
    // Enter presses OK from the fields, and the button that has the focus.
    cmdtitleaccept[i]->setAutoDefault(true);
    cmdtitleaccept[i]->setDefault(i == 0);
    ui::placetw(cmdtitleaccept[i], 2520 + i * 2040, 4920, 1695, 495);
    connect(cmdtitleaccept[i], &QPushButton::clicked, this, [this, i] { cmdtitleaccept_Click(i); });
  }
  installquizwrighthelp(*this, QStringLiteral("description"));
  Form_Load();
}

void Frmtitle::Form_Load() {
  ui::centreform(*this);
  const TestHeader& h = editor_.doc.header;
  Txttitle->setText(ui::fromansi(core::trim(h.testtitle)));
  Txtdescription[0]->setText(ui::fromansi(core::trim(h.testdescription)));
  Txtdescription[1]->setText(ui::fromansi(core::trim(h.testinstructions)));
  Check1->setChecked(h.includeinmenu != 0);
}

void Frmtitle::cmdtitleaccept_Click(int index) {
  if (index == 0) {
    // The editor's title follows when it refreshes its captions.
    editor_.doc.header.take(ui::toansi(Txttitle->text()), ui::toansi(Txtdescription[0]->text()),
                            ui::toansi(Txtdescription[1]->text()), Check1->isChecked());
    accept();
    return;
  }
  reject();
}

}  // namespace authoring
