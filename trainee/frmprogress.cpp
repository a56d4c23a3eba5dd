// The progress window: shows the results text and clears the counters.
#include "trainee/frmprogress.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/ui/artwork.h"
#include "core/ui/focusmark.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "core/ui/typing.h"
#include "trainee/app.h"
#include "trainee/frmmenu.h"
#include "trainee/helptext.h"
#include "trainee/results.h"

namespace trainee {

frmprogress::frmprogress(Dosavo& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle(QStringLiteral("Progress this session"));
  setModal(true);
  ui::fixedwindow(*this, QSize(ui::px(6495), ui::px(3495)));

  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  ui::readingbox(*Text1);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The counts stand right-aligned in blanks: in letters of one width the
  // brackets of one column line up from module to module.
  Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ui::placetw(Text1, 240, 120, 6015, 2415);

  Command1 = new QPushButton(QStringLiteral("&OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  ui::placetw(Command1, 1440, 2760, 1335, 495);
  Command1->setDefault(true);
  Command2 = new QPushButton(QStringLiteral("&Clear"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  ui::placetw(Command2, 3720, 2760, 1335, 495);
  // The keyboard starts on OK; the results text, there to be read, comes
  // after the buttons.
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, Text1);
  Command1->setFocus();
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  installdosavohelp(*this, QStringLiteral("progress"));
  ui::ignoreescape(*this);  // no Cancel button

  Form_Load();
}

void frmprogress::Form_Load() {
  ui::centreform(*this);
  if (app_.menuloaded()) ui::setbackground(*this, ui::backgroundof(app_.menu()));
  Text1->setPlainText(ui::showntext(resultstext(app_)));
}

void frmprogress::Command1_Click() { done(QDialog::Accepted); }

void frmprogress::Command2_Click() {
  auto& m = app_.modules;
  for (int n = 1; n <= m.modcount; ++n) {
    if (static_cast<std::size_t>(n) < m.modcorrect.size()) m.modcorrect[n] = 0;
    if (static_cast<std::size_t>(n) < m.modpassed.size()) m.modpassed[n] = 0;
    if (static_cast<std::size_t>(n) < m.modincorrect.size()) m.modincorrect[n] = 0;
  }
  app_.results.progdirty = false;
  if (app_.menuloaded()) app_.menu().Image3->setVisible(false);
  done(QDialog::Accepted);
}

}  // namespace trainee
