#include "trainee/frmmenu.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "core/askagain.h"
#include "core/text.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/frmprogress.h"
#include "trainee/frmquestion.h"
#include "trainee/helptext.h"
#include "core/ui/panel.h"
#include "trainee/results.h"

namespace trainee {

namespace {
// The built-in modules in the order the list shows them.
const char* const LISTORDER[6] = {"Metric Conversions",        "Calculating Tablet Dosages",
                                  "Calculating Fluid Dosages", "Calculating IV Drop Rates",
                                  "IV - Counting Drops",       "IV - Setting The Flow Rate"};
}  // namespace

frmmenu::frmmenu(Dosavo& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName(QStringLiteral("frmmenu"));
  setWindowTitle(QStringLiteral("Dosavo"));

  Options = menuBar()->addMenu(QStringLiteral("&Options"));
  Change = Options->addAction(QStringLiteral("&Change General Settings"));
  connect(Change, &QAction::triggered, this, [this] { Change_Click(); });
  mnuDrugCat = menuBar()->addMenu(QStringLiteral("&Drug Category"));
  // Two items exist at design: "All", shown when there are no categories,
  // and a second one kept hidden until a category needs it.
  addcategoryitem(QStringLiteral("All"));
  addcategoryitem(QString())->setVisible(false);
  hlper = menuBar()->addMenu(QStringLiteral("&Help"));
  Cont = hlper->addAction(QStringLiteral("&Help [F1]"));
  connect(Cont, &QAction::triggered, this, [this] { Cont_Click(); });

  auto* body = new QWidget(this);
  setCentralWidget(body);
  body->setFixedSize(ui::px(6495), ui::px(5160));

  SSPanel1 = new ui::Panel(QStringLiteral("Menu"), body);
  QFont heading = SSPanel1->font();
  heading.setPointSize(16);
  heading.setBold(true);
  SSPanel1->setFont(heading);
  ui::placetw(SSPanel1, 240, 120, 6015, 495);
  SSPanel2 = new ui::Panel(QStringLiteral("Select an exercise from the menu."), body);
  ui::placetw(SSPanel2, 240, 660, 6015, 375);

  Lstmodules = new QListWidget(body);
  for (const char* text : LISTORDER) Lstmodules->addItem(QString::fromLatin1(text));
  ui::placetw(Lstmodules, 240, 1140, 6015, 1995);
  connect(Lstmodules, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) Lstmodules_Click();
  });
  // Clicking the item already current (the first one after loading, whose
  // description is still the hint) is a click too.
  connect(Lstmodules, &QListWidget::itemClicked, this, [this] { Lstmodules_Click(); });
  connect(Lstmodules, &QListWidget::itemDoubleClicked, this, [this] { Lstmodules_DblClick(); });
  Lstmodules->installEventFilter(this);
  // The list's style marks the selected item, not the keyboard.
  ui::showfocusmark(*Lstmodules);

  Lblmoddescript = new ui::Panel(QString(), body);
  Lblmoddescript->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Lblmoddescript->setMargin(4);
  ui::placetw(Lblmoddescript, 240, 3240, 6015, 1095);

  Image3 = new QPushButton(QStringLiteral("Progress"), body);
  ui::placetw(Image3, 240, 4500, 1455, 495);
  connect(Image3, &QPushButton::clicked, this, [this] { Image3_Click(); });
  cmdaccept = new QPushButton(QStringLiteral("&Accept"), body);
  ui::placetw(cmdaccept, 3240, 4500, 1455, 495);
  cmdaccept->setDefault(true);
  connect(cmdaccept, &QPushButton::clicked, this, [this] { cmdaccept_Click(); });
  cmdquit = new QPushButton(QStringLiteral("&Quit"), body);
  ui::placetw(cmdquit, 4800, 4500, 1455, 495);
  connect(cmdquit, &QPushButton::clicked, this, [this] { cmdquit_Click(); });
  // Enter presses the button that has the focus, as it does in a dialog;
  // elsewhere (in the list) Enter starts the module, so Accept shows the
  // default mark whenever no other button has the keyboard.
  for (QPushButton* b : {Image3, cmdaccept, cmdquit}) b->setAutoDefault(true);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || now->window() != this) return;
    auto* button = qobject_cast<QPushButton*>(now);
    cmdaccept->setDefault(button == nullptr || button == cmdaccept);
  });

  installdosavohelp(*this, QStringLiteral("menu"));
  Form_Load();
}

QAction* frmmenu::addcategoryitem(const QString& caption) {
  const int index = static_cast<int>(mnudc.size());
  QAction* a = mnuDrugCat->addAction(caption);
  a->setCheckable(true);
  // Qt has already reversed the check mark when triggered is sent; the
  // handler reverses it itself, so the mark is put back first.
  connect(a, &QAction::triggered, this, [this, a, index](bool checked) {
    a->setChecked(!checked);
    mnudc_Click(index);
  });
  mnudc.push_back(a);
  return a;
}

void frmmenu::Form_Load() {
  ui::fixedwindow(*this, sizeHint());
  ui::centreform(*this);
  showprogressbutton();
  {
    const QSignalBlocker block(Lstmodules);
    Lstmodules->setCurrentRow(0);
  }
  Lstmodules_Click();
  Lblmoddescript->setCaption(QStringLiteral(
      "Select one of the modules above by double clicking with your mouse or clicking the \"Accept\" button."));
}

void frmmenu::buildcategorymenu() {
  const auto& lists = app_.corestate.lists;
  mnudc[0]->setVisible(true);
  for (int i = 1; i <= lists.ncategories; ++i) {
    if (i - 1 > 1 && static_cast<int>(mnudc.size()) <= i - 1) addcategoryitem(QString());
    QAction* a = mnudc[static_cast<std::size_t>(i - 1)];
    a->setText(ui::fromansi(core::categorycaption(lists, i)));
    a->setChecked(true);
    a->setVisible(true);
  }
}

void frmmenu::findmodule() {
  const auto& m = app_.modules;
  QListWidgetItem* current = Lstmodules->currentItem();
  const std::string text = current != nullptr ? ui::toansi(current->text()) : std::string();
  int n = 1;
  while (n <= m.modcount && n < static_cast<int>(m.modheading.size()) &&
         m.modheading[static_cast<std::size_t>(n)] != text)
    ++n;
  nomatch_ = !(n <= m.modcount && n < static_cast<int>(m.modheading.size()));
  std::string description = text + ":" + "\r";
  if (nomatch_) {
    // Only headings are listed, so this is not expected; the module cannot
    // be started and the current module stays as it was.
    description += "This module is not available.";
  } else {
    app_.modnum = static_cast<std::int16_t>(n);
    const std::string& intro = m.modintro[static_cast<std::size_t>(n)];
    description += intro.empty() ? std::string("This module is not available.") : intro;
  }
  Lblmoddescript->setCaption(ui::fromansi(description));
  // A test's description runs to 200 characters: it is shown whole.
  ui::fittext(*Lblmoddescript);
}

void frmmenu::startmodule() {
  if (nomatch_) return;
  auto& lists = app_.corestate.lists;
  const int modnum = app_.modnum;
  const auto ticked = [this](int i) {
    return static_cast<std::size_t>(i - 1) < mnudc.size() && mnudc[static_cast<std::size_t>(i - 1)]->isChecked();
  };
  if (modnum == 4 && !core::collectcandidates(lists, core::QuestionKind::Tablet, ticked)) {
    ui::showbox(this, QString::fromLatin1(core::NOTABLETS), APPTITLE);
    return;
  }
  if (modnum == 6 && !core::collectcandidates(lists, core::QuestionKind::Fluid, ticked)) {
    ui::showbox(this, QString::fromLatin1(core::NOFLUIDS), APPTITLE);
    return;
  }
  if (modnum < 1 || modnum >= static_cast<int>(app_.modules.modintro.size())) return;
  if (app_.modules.modintro[static_cast<std::size_t>(modnum)].empty()) return;
  ui::showactive(app_.question());
  hide();
}

void frmmenu::showprogressbutton() {
  const auto& o = app_.options;
  Image3->setVisible(app_.results.progdirty && !(o.optnoprogress && o.recording));
}

void frmmenu::Lstmodules_Click() { findmodule(); }

void frmmenu::Lstmodules_DblClick() {
  findmodule();
  startmodule();
}

void frmmenu::cmdaccept_Click() {
  if (app_.modnum == 0) Lstmodules->setCurrentRow(0);
  findmodule();
  startmodule();
}

void frmmenu::mnudc_Click(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= mnudc.size()) return;
  mnudc[static_cast<std::size_t>(index)]->setChecked(!mnudc[static_cast<std::size_t>(index)]->isChecked());
  const auto n = static_cast<std::size_t>(
      std::clamp<int>(app_.corestate.lists.ncategories, 0, static_cast<int>(mnudc.size())));
  std::vector<bool> ticks(n);
  for (std::size_t i = 0; i < n; ++i) ticks[i] = mnudc[i]->isChecked();
  core::tickallifnone(ticks);
  for (std::size_t i = 0; i < n; ++i) mnudc[i]->setChecked(ticks[i]);
}

void frmmenu::Image3_Click() {
  {
    frmprogress window(app_, this);
    ui::runmodal(window);
  }
  if (!app_.results.progdirty) Image3->hide();
}

void frmmenu::Change_Click() { app_.showsettingsdialog(this); }

void frmmenu::Cont_Click() {
  // The Help item does what F1 does: it opens the help viewer.
  showdosavohelp(this, QStringLiteral("menu"));
}

void frmmenu::cmdquit_Click() { close(); }

bool frmmenu::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Lstmodules && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (Lstmodules->currentItem() != nullptr) Lstmodules_DblClick();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmmenu::closeEvent(QCloseEvent* event) {
  event->accept();
  leave();
}

void frmmenu::leave() {
  if (app_.ended) return;
  writelog(app_);
  app_.end();
}

void endfromoutside(Dosavo& app) {
  if (app.menuloaded() && (app.menu().isVisible() || app.questionloaded())) {
    app.menu().leave();
    return;
  }
  app.end();
}

}  // namespace trainee
