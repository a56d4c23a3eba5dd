// The drug database editor window: its controls, the moves between records,
// deletion and the close. What a control shows and what the form means are
// worked out by DrugForm; the files are changed by DrugDatabase.
#include "authoring/frmdrugdatabase.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QValidator>
#include <algorithm>
#include <vector>

#include "authoring/app.h"
#include "authoring/boxes.h"
#include "authoring/pictures.h"
#include "authoring/frmstart.h"
#include "authoring/helptext.h"
#include "authoring/startup.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/icons.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"

namespace authoring {

namespace {

constexpr int WIDTHTW = 9480;
constexpr int HEIGHTTW = 5610;
constexpr int ROWTOPTW = 2670;
constexpr int ROWSTEPTW = 435;
constexpr int BOXHEIGHTTW = 345;
constexpr int NUMBERLENGTH = 12;
constexpr int NAMELENGTH = 30;

const char* const TYPES[core::TYPECOUNT] = {"Tablet", "Capsule",      "Solution",     "Suspension",   "Syrup", "Emulsion",
                                      "Liquid Forte", "Elixir", "IM Injection", "SC Injection", "IV Injection"};
const char* const UNITS[core::UNITCOUNT] = {"kg", "hg", "dag", "g", "dg", "cg", "mg", "mcg"};

// Limits what can be typed to a number of characters, without cutting a
// longer text that the record itself puts there (a stored number whose
// short form is longer must not change by being shown); such a text may
// still be shortened a character at a time.
class TypedLength : public QValidator {
 public:
  TypedLength(int length, QLineEdit* box) : QValidator(box), length_(length) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text.size(); });
  }
  State validate(QString& input, int&) const override {
    return input.size() > length_ && input.size() > before_ ? Invalid : Acceptable;
  }

 private:
  int length_;
  qsizetype before_ = 0;
};

// Leaves the record keys to the window's shortcuts: a text box would take
// Ctrl+Home and Ctrl+End to move its cursor. An override left unaccepted
// lets the shortcut have the key.
class RecordKeys : public QObject {
 public:
  RecordKeys(std::vector<QKeySequence> keys, QObject* parent) : QObject(parent), keys_(std::move(keys)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
    return std::find(keys_.begin(), keys_.end(), key) != keys_.end();
  }

 private:
  std::vector<QKeySequence> keys_;
};

QLabel* label(QWidget* parent, const char* text, int left, int top, int width, int height = 255,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setAlignment(align);
  ui::placetw(l, left, top, width, height);
  return l;
}

QLineEdit* textbox(QWidget* parent, const QString& name, int left, int top, int width, int length) {
  auto* t = new QLineEdit(parent);
  t->setObjectName(name);
  t->setMaxLength(length);
  ui::placetw(t, left, top, width, BOXHEIGHTTW);
  return t;
}

QLineEdit* numberbox(QWidget* parent, const QString& name, int left, int top, int width) {
  QLineEdit* t = textbox(parent, name, left, top, width, 32767);
  t->setValidator(new TypedLength(NUMBERLENGTH, t));
  t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return t;
}

QComboBox* listbox(QWidget* parent, const QString& name, const char* const* items, int count, int left, int top,
                   int width) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  for (int i = 0; i < count; ++i) c->addItem(QString::fromLatin1(items[i]));
  c->setMaxVisibleItems(count);
  ui::placetw(c, left, top, width, BOXHEIGHTTW);
  return c;
}

std::string ansi(const QLineEdit* box) { return ui::toansi(box->text()); }

}  // namespace

frmDrugDatabase::frmDrugDatabase(Quizwright& app, QWidget* parent)
    : QWidget(parent), app_(app), table_(app.corestate.lists) {
  setObjectName(QStringLiteral("frmDrugDatabase"));
  setWindowTitle(QString::fromLatin1(DRUGTITLE));
  setWindowIcon(ui::programicon(ui::Program::quizwright));
  ui::fixedwindow(*this, QSize(ui::px(WIDTHTW), ui::px(HEIGHTTW)));
  buildcontrols();
  installquizwrighthelp(*this, QStringLiteral("drugs"));
  Form_Load();
}

void frmDrugDatabase::buildcontrols() {
  label(this, "Generic Name:", 240, 120, 3135);
  Text1 = textbox(this, QStringLiteral("Text1"), 240, 390, 3135, NAMELENGTH);
  label(this, "Drug Category:", 3600, 120, 3135);
  Cbcategory = new QComboBox(this);
  Cbcategory->setObjectName(QStringLiteral("Cbcategory"));
  Cbcategory->setEditable(true);
  Cbcategory->setInsertPolicy(QComboBox::NoInsert);  // new names go through checkcategory
  Cbcategory->lineEdit()->setMaxLength(static_cast<int>(core::CATEGORYWIDTH));
  // What is typed is the category's name as it stands: completing it to a
  // longer name would make a new category that begins like an old one
  // impossible to type.
  Cbcategory->setCompleter(nullptr);
  ui::placetw(Cbcategory, 3600, 390, 3135, BOXHEIGHTTW);
  label(this, "Record:", 7200, 120, 2040, 255, Qt::AlignCenter);
  Recordno = label(this, "", 7200, 390, 2040, BOXHEIGHTTW, Qt::AlignCenter);
  Recordno->setObjectName(QStringLiteral("Recordno"));
  Recordno->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  label(this, "Trade Names:", 240, 840, 3135);
  for (int i = 0; i < 2; ++i)
    Text2[i] = textbox(this, QStringLiteral("Text2_%1").arg(i), 240 + i * 3360, 1110, 3135, NAMELENGTH);

  label(this, "Single Dose Range:", 240, 1560, 3135);
  for (int i = 0; i < 2; ++i) {
    Text3[i] = numberbox(this, QStringLiteral("Text3_%1").arg(i), 240 + i * 2835, 1830, 1335);
    List1[i] = listbox(this, QStringLiteral("List1_%1").arg(i), UNITS, core::UNITCOUNT, 1650 + i * 2835, 1830, 915);
    if (i == 0) label(this, "to", 2640, 1830, 360, BOXHEIGHTTW, Qt::AlignCenter);
  }
  label(this, "Fluid Increment:", 7200, 1560, 2040);
  Increment = numberbox(this, QStringLiteral("Increment"), 7200, 1830, 2040);

  label(this, "Available in:", 240, 2400, 2175);
  label(this, "Half?", 2490, 2400, 600, 255, Qt::AlignCenter);
  label(this, "Dose:", 3165, 2400, 1335);
  for (int i = 0; i < DRUGROWS; ++i) {
    const int top = ROWTOPTW + i * ROWSTEPTW;
    Type[i] = listbox(this, QStringLiteral("Type_%1").arg(i), TYPES, core::TYPECOUNT, 240, top, 2175);
    connect(Type[i], &QComboBox::activated, this, [this, i] { Type_Click(i); });
    Check1[i] = new QCheckBox(this);
    Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
    Check1[i]->setAccessibleName(QStringLiteral("Half?"));
    ui::placetw(Check1[i], 2685, top, 300, BOXHEIGHTTW);
    Dose[i] = numberbox(this, QStringLiteral("Dose_%1").arg(i), 3165, top, 1335);
    doseunit[i] = listbox(this, QStringLiteral("doseunit_%1").arg(i), UNITS, core::UNITCOUNT, 4575, top, 915);
    Label6[i] = label(this, "in", 5565, top, 360, BOXHEIGHTTW, Qt::AlignCenter);
    noof[i] = numberbox(this, QStringLiteral("noof_%1").arg(i), 6000, top, 1335);
    Label11[i] = label(this, "ml", 7410, top, 450, BOXHEIGHTTW);
  }
  for (QLineEdit* box : {Text3[0], Text3[1], Increment}) box->installEventFilter(this);
  for (int i = 0; i < DRUGROWS; ++i) {
    Dose[i]->installEventFilter(this);
    noof[i]->installEventFilter(this);
  }

  // The record buttons, made in the order of the row so that Tab follows it:
  // first, previous, next, last, then the delete picture.
  auto picturebutton = [this](const QString& objectname, const QPixmap& picture, const char* name, int left) {
    auto* b = new QToolButton(this);
    b->setObjectName(objectname);
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.size());
    b->setAccessibleName(QString::fromLatin1(name));
    b->setToolTip(b->accessibleName());
    b->setFocusPolicy(Qt::StrongFocus);
    ui::placetw(b, left, 4980, 540, 450);
    return b;
  };
  auto barbutton = [this](int i, const char* name, int left) {
    Command1[i] = new QPushButton(QStringLiteral("|"), this);
    Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    QFont bold = Command1[i]->font();
    bold.setBold(true);
    Command1[i]->setFont(bold);
    Command1[i]->setAccessibleName(QString::fromLatin1(name));
    ui::placetw(Command1[i], left, 4980, 300, 450);
    connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
  };
  barbutton(2, "First record", 240);
  next[0] = picturebutton(QStringLiteral("next_0"), previouspicture(), "Previous record", 555);
  next[1] = picturebutton(QStringLiteral("next_1"), nextpicture(), "Next record", 1110);
  barbutton(3, "Last record", 1665);
  for (int i = 0; i < 2; ++i) connect(next[i], &QToolButton::clicked, this, [this, i] { next_Click(i); });
  // The record keys of desktop programs work from every box of the form,
  // so that a drug is saved and the next one reached without a Tab.
  const struct {
    QAbstractButton* button;
    QKeyCombination key;
    const char* shown;  // as the key caps name them
  } keys[] = {{Command1[2], Qt::CTRL | Qt::Key_Home, "Ctrl+Home"},
              {next[0], QKeyCombination(Qt::Key_PageUp), "Page Up"},
              {next[1], QKeyCombination(Qt::Key_PageDown), "Page Down"},
              {Command1[3], Qt::CTRL | Qt::Key_End, "Ctrl+End"}};
  std::vector<QKeySequence> sequences;
  for (const auto& k : keys) {
    k.button->setToolTip(QStringLiteral("%1 (%2)").arg(k.button->accessibleName(), QLatin1String(k.shown)));
    sequences.emplace_back(k.key);
    connect(new QShortcut(sequences.back(), this), &QShortcut::activated, k.button, &QAbstractButton::click);
  }
  auto* leave = new RecordKeys(std::move(sequences), this);
  for (QLineEdit* box : findChildren<QLineEdit*>()) {
    box->installEventFilter(leave);
    storableonly(*box);
  }
  Cbcategory->installEventFilter(leave);  // it hands the override to its text box directly
  Delete = picturebutton(QStringLiteral("Delete"), deletepicture(), "Delete this drug", 4425);
  connect(Delete, &QToolButton::clicked, this, [this] { Delete_Click(); });
  Quit = new QPushButton(QStringLiteral("&Quit"), this);
  Quit->setObjectName(QStringLiteral("Quit"));
  ui::placetw(Quit, 7200, 4980, 2040, 450);
  connect(Quit, &QPushButton::clicked, this, [this] { Quit_Click(); });
}

// ---- loading and unloading ---------------------------------------------------

void frmDrugDatabase::Form_Load() {
  ui::centreform(*this);
  categories_ = loadcategorytable(table_);
  if (categories_.error != 0) tell({{categoryfailure(categories_), DRUGTITLE, false}});
  for (const std::string& name : categorylist(table_)) Cbcategory->addItem(ui::fromansi(name));
  guarded("The drug database could not be opened", [this] {
    db.opendatabase();
    db.readcurrent();
  });
  showrecord();
  app_.start().hide();
}

void frmDrugDatabase::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
  app_.unloaddrugdatabase();
}

void frmDrugDatabase::Form_Unload() {
  // The window closes whatever the answer: edits that fail their checks
  // are lost after the messages.
  checkcategory();
  tell(db.checksave(formvalues(), table_, [this] { return askforsave(); }));
  // A save that another program's change refused is offered once more on
  // the record counted afresh, so that closing does not lose the drug.
  if (db.unsaved()) tell(db.checksave(formvalues(), table_, [this] { return askforsave(); }));
  const bool rebuilt = guarded("The drug lists could not be rebuilt", [this] {
    try {
      // Categories typed since then are written all the same.
      db.rebuild(table_, categories_.keepfile() && table_.ncategories == 0);
    } catch (const core::SetUnfinished& e) {
      // The new lists hold: both programs read them from now on.
      tell({filefailure("The drug lists were rebuilt, but could not all be put in place; the tool finishes them when "
                        "it next starts", e)});
    }
  });
  if (rebuilt) readdruglists(app_);
  app_.start().show();
}

void frmDrugDatabase::Quit_Click() { close(); }

template <typename F>
bool frmDrugDatabase::guarded(const char* failure, F&& operation) {
  try {
    operation();
    return true;
  } catch (const core::FileError& e) {
    tell({filefailure(failure, e)});
    return false;
  }
}

void frmDrugDatabase::tell(const std::vector<Problem>& problems) {
  for (const Problem& p : problems)
    ui::showbox(this, ui::fromansi(p.text), p.title.empty() ? APPTITLE : ui::fromansi(p.title),
                p.failed ? QMessageBox::Warning : QMessageBox::NoIcon);
}

bool frmDrugDatabase::askforsave() {
  return app_.askyesno(this, "This record has changed. Would you like to save it?");
}

// ---- the form ------------------------------------------------------------------

DrugForm frmDrugDatabase::formvalues() const {
  DrugForm f;
  f.Text1 = ansi(Text1);
  for (int i = 0; i < 2; ++i) {
    f.Text2[static_cast<std::size_t>(i)] = ansi(Text2[i]);
    f.Text3[static_cast<std::size_t>(i)] = ansi(Text3[i]);
    f.List1[static_cast<std::size_t>(i)] = List1[i]->currentIndex();
  }
  f.Increment = ansi(Increment);
  for (int i = 0; i < DRUGROWS; ++i) {
    const auto r = static_cast<std::size_t>(i);
    f.Check1[r] = Check1[i]->isChecked();
    f.Type[r] = Type[i]->currentIndex();
    f.Dose[r] = ansi(Dose[i]);
    f.doseunit[r] = doseunit[i]->currentIndex();
    f.noof[r] = ansi(noof[i]);
  }
  f.Cbcategory = ui::toansi(Cbcategory->currentText());
  return f;
}

void frmDrugDatabase::showform(const DrugForm& f) {
  Text1->setText(ui::fromansi(f.Text1));
  for (int i = 0; i < 2; ++i) {
    Text2[i]->setText(ui::fromansi(f.Text2[static_cast<std::size_t>(i)]));
    Text3[i]->setText(ui::fromansi(f.Text3[static_cast<std::size_t>(i)]));
    List1[i]->setCurrentIndex(f.List1[static_cast<std::size_t>(i)]);
  }
  Increment->setText(ui::fromansi(f.Increment));
  for (int i = 0; i < DRUGROWS; ++i) {
    const auto r = static_cast<std::size_t>(i);
    Check1[i]->setChecked(f.Check1[r]);
    Type[i]->setCurrentIndex(f.Type[r]);
    Dose[i]->setText(ui::fromansi(f.Dose[r]));
    doseunit[i]->setCurrentIndex(f.doseunit[r]);
    noof[i]->setText(ui::fromansi(f.noof[r]));
    showrow(i, core::isfluidtype(f.Type[r]));
  }
  Cbcategory->setEditText(ui::fromansi(f.Cbcategory));
}

void frmDrugDatabase::showrow(int i, bool fluid) {
  Check1[i]->setVisible(!fluid);
  for (QWidget* w : {static_cast<QWidget*>(Label6[i]), static_cast<QWidget*>(noof[i]), static_cast<QWidget*>(Label11[i])})
    w->setVisible(fluid);
}

void frmDrugDatabase::showrecord() {
  showform(formof(db.drug, table_));
  showcount();
  readform();
  db.shown();
}

void frmDrugDatabase::showcount() { Recordno->setText(QStringLiteral("%1 / %2").arg(db.currec).arg(db.reccount)); }

void frmDrugDatabase::readform() { db.drug = recordof(formvalues(), db.drug, table_); }

void frmDrugDatabase::checkcategory() {
  std::vector<std::string> list;
  for (int k = 0; k < Cbcategory->count(); ++k) list.push_back(ui::toansi(Cbcategory->itemText(k)));
  const CategoryOutcome outcome = addcategory(ui::toansi(Cbcategory->currentText()), list, table_);
  if (outcome == CategoryOutcome::Known) return;
  const QString typed = Cbcategory->currentText();
  if (outcome == CategoryOutcome::Created) {
    Cbcategory->addItem(ui::fromansi(list.back()));
    Cbcategory->setEditText(typed);
  } else {
    // Refused: the box goes back to the record's own category.
    Cbcategory->setEditText(ui::fromansi(categoryname(table_, db.drug.category)));
  }
  tell({categorymessage(outcome)});
}

// ---- moving ------------------------------------------------------------------

void frmDrugDatabase::moveto(Move to) {
  checkcategory();
  const long counted = db.reccount;
  tell(db.leave(to, formvalues(), table_, [this] { return askforsave(); }));
  showrecord();
  // A new drug is typed from its name on, wherever the keyboard was.
  if (db.reccount > counted) Text1->setFocus();
}

void frmDrugDatabase::Command1_Click(int index) { moveto(index == 2 ? Move::First : Move::Last); }

void frmDrugDatabase::next_Click(int index) { moveto(index == 0 ? Move::Previous : Move::Next); }

void frmDrugDatabase::Delete_Click() {
  if (!guarded("The drug could not be deleted and the database is as it was", [this] { db.deletecurrent(); })) {
    // The form keeps what was typed; the count may have been read again.
    showcount();
    return;
  }
  showrecord();
}

void frmDrugDatabase::Type_Click(int index) { showrow(index, core::isfluidtype(Type[index]->currentIndex())); }

bool frmDrugDatabase::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    // Only a typed character is filtered; movement and editing keys pass,
    // the Delete key too, whose text is the character 127.
    if (typed.size() == 1 && typed[0].isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      const std::string code = ui::toansi(typed);
      if (!code.empty() && core::testkey(static_cast<unsigned char>(code[0])) == 0) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace authoring
