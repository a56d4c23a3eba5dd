#include "authoring/frmexam.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeView>

#include "authoring/app.h"
#include "authoring/boxes.h"
#include "authoring/frmstart.h"
#include "authoring/frmtitle.h"
#include "authoring/helptext.h"
#include "authoring/pictures.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/panel.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"

namespace authoring {
namespace {

constexpr int WINDOW_WIDTH = 11520, WINDOW_HEIGHT = 8040;
const std::string KEPT = "The editor still shows the question, so you can try again.";
const std::string REREAD =
    "Another program changed the file, so the editor has read it again; what you typed is still shown, so you can "
    "store it once more.";

QLabel* label(const char* text, QWidget* parent, int left, int top, int width, int height) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  ui::placetw(l, left, top, width, height);
  return l;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent, int left, int top, int width) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  // Enter presses the button that has the focus, as it does in a dialog.
  b->setAutoDefault(true);
  ui::placetw(b, left, top, width, 495);
  return b;
}

// The fixed-pitch font of the two big boxes: Fixedsys where there is one,
// else the system's fixed-pitch font.
QFont boxfont() {
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setFamilies({QStringLiteral("Fixedsys"), f.family()});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPointSize(10);
  return f;
}

constexpr double TITLEPOINTS = 13;

}  // namespace

Frmexam::Frmexam(Quizwright& app, QWidget* parent) : QMainWindow(parent), doc(app.test), app_(app) {
  setObjectName(QStringLiteral("Frmexam"));
  setWindowTitle(QStringLiteral("Dosavo - Test Construction Set"));
  buildmenus();
  buildcontrols();
  installquizwrighthelp(*this, QStringLiteral("editor"));
  Form_Load();
}

void Frmexam::buildcontrols() {
  auto* area = new QWidget(this);
  area->setFixedSize(ui::px(WINDOW_WIDTH), ui::px(WINDOW_HEIGHT));
  setCentralWidget(area);

  Label5 = new ui::Panel(QStringLiteral("New Test"), area);
  Label5->setObjectName(QStringLiteral("Label5"));
  QFont titlefont = Label5->font();
  titlefont.setPointSizeF(TITLEPOINTS);
  titlefont.setBold(true);
  Label5->setFont(titlefont);
  ui::placetw(Label5, 120, 120, 7320, 495);
  // A long title is set smaller on one line rather than wrapped or cut.
  Label5->setWordWrap(false);
  Label7 = new NameLabel(NameLabel::Fit::elide, area);
  Label7->setText(QStringLiteral("File : "));
  ui::placetw(Label7, 120, 690, 7320, 285);
  Label7->setObjectName(QStringLiteral("Label7"));

  static const char* boxcaptions[3] = {"Question:", "Help / Solution:", "Answer:"};
  static const int boxtop[3] = {1020, 3780, 6660};
  for (int i = 0; i < 3; ++i) {
    Lbltext[i] = label(boxcaptions[i], area, 120, boxtop[i], i == 2 ? 900 : 2400, 285);
  }
  Lblquestionno = label("Question No:", area, 4800, 1020, 1320, 285);
  Lblquestionno->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1 = label("0 / 0", area, 6180, 1020, 1260, 285);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);

  const int limits[2] = {800, 1200};
  const int heights[2] = {2400, 2400};
  for (int i = 0; i < 2; ++i) {
    Txtquestion[i] = new TextBox(limits[i], area);
    Txtquestion[i]->setObjectName(QStringLiteral("Txtquestion_%1").arg(i));
    Txtquestion[i]->setFont(boxfont());
    Txtquestion[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui::placetw(Txtquestion[i], 120, boxtop[i] + 300, 7320, heights[i]);
    Lbltext[i]->setBuddy(Txtquestion[i]);
  }
  txtanswer = new LineBox(12, area);
  txtanswer->setObjectName(QStringLiteral("txtanswer"));
  ui::placetw(txtanswer, 1080, 6600, 2040, 375);
  Lbltext[2]->setBuddy(txtanswer);

  // On one line beside the answer box, up to the frame on the right; a
  // font too wide for that is made smaller rather than wrapped.
  Label6 = label("Question and answer fields must be completed", area, 3240, 6600, 4380, 375);
  Label6->setObjectName(QStringLiteral("Label6"));
  ui::fittext(*Label6);
  QPalette warn = Label6->palette();
  warn.setColor(QPalette::WindowText, QColor(170, 0, 0));
  Label6->setPalette(warn);

  // The row of buttons: back ten, previous, next, forward ten, delete, and
  // the test description.
  Command2[0] = button(QStringLiteral("<< 10"), "Command2_0", area, 120, 7320, 1020);
  cmdforward[0] = button(QString(), "cmdforward_0", area, 1200, 7320, 840);
  cmdforward[1] = button(QString(), "cmdforward_1", area, 2100, 7320, 840);
  Command2[1] = button(QStringLiteral("10 >>"), "Command2_1", area, 3000, 7320, 1020);
  cmdforward[2] = button(QString(), "cmdforward_2", area, 4200, 7320, 840);
  Command1 = button(QStringLiteral("&Test Description"), "Command1", area, 5340, 7320, 2100);
  static const char* tips[3] = {"Previous question", "Next question", "Delete this question"};
  const QPixmap pictures[3] = {previouspicture(), nextpicture(), deletepicture()};
  for (int i = 0; i < 3; ++i) {
    cmdforward[i]->setIcon(QIcon(pictures[i]));
    cmdforward[i]->setIconSize(pictures[i].size());
    cmdforward[i]->setToolTip(QString::fromLatin1(tips[i]));
    cmdforward[i]->setAccessibleName(QString::fromLatin1(tips[i]));
    connect(cmdforward[i], &QPushButton::clicked, this, [this, i] { cmdforward_Click(i); });
  }
  static const char* tentips[2] = {"Back ten questions", "Forward ten questions"};
  for (int i = 0; i < 2; ++i) {
    Command2[i]->setToolTip(QString::fromLatin1(tentips[i]));
    connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
  }
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  // Question creation options, in an etched frame on the right.
  Label4 = label("Question creation options", area, 7680, 120, 3720, 375);
  Label4->setFont(bold);
  auto* frame = new QFrame(area);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  ui::placetw(frame, 7680, 510, 3720, 7305);
  static const char* kinds[4] = {"Metric Conversions", "Tablet Dosages", "Fluid Dosages", "IV Drop Rates"};
  for (int i = 0; i < 4; ++i) {
    Check1[i] = new QCheckBox(QString::fromLatin1(kinds[i]), frame);
    Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
    Check1[i]->setChecked(true);
    ui::placetw(Check1[i], 240, 180 + i * 345, 3240, 330);
  }
  Lblcreate = label("Create", frame, 240, 1680, 660, 330);
  Text1 = new LineBox(2, frame);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setText(QStringLiteral("1"));
  Text1->setAlignment(Qt::AlignRight);
  ui::placetw(Text1, 960, 1650, 480, 375);
  Lblcreate->setBuddy(Text1);
  Label3 = label("Questions", frame, 1560, 1680, 1200, 330);
  Lblcategory = label("Tablet / Fluid Drug Categories:", frame, 240, 2160, 3240, 330);
  Lstcategory = new QListWidget(frame);
  Lstcategory->setObjectName(QStringLiteral("Lstcategory"));
  Lstcategory->setSelectionMode(QAbstractItemView::MultiSelection);
  // The list's style marks the selected categories, not the keyboard.
  ui::showfocusmark(*Lstcategory);
  ui::placetw(Lstcategory, 240, 2490, 3240, 3960);
  Lblcategory->setBuddy(Lstcategory);
  Cmdgenerate = button(QStringLiteral("&Create Question"), "Cmdgenerate", frame, 240, 6600, 3240);
  connect(Cmdgenerate, &QPushButton::clicked, this, [this] { Cmdgenerate_Click(); });
  for (int i = 0; i < 4; ++i) connect(Check1[i], &QCheckBox::clicked, this, [this, i] { Check1_Click(i); });
  Text1->onkeypress = [this](QKeyEvent* e) {
    const std::string typed = ui::toansi(e->text());
    return typed.empty() || Text1_KeyPress(static_cast<unsigned char>(typed[0]));
  };

  // While showquestion1 fills the boxes, their changes wait for it to end.
  for (int i = 0; i < 2; ++i)
    connect(Txtquestion[i], &QPlainTextEdit::textChanged, this, [this] {
      if (!showing_) Txtquestion_Change();
    });
  connect(txtanswer, &QLineEdit::textChanged, this, [this] {
    if (!showing_) txtanswer_Change();
  });
  const KeyPress typed = [this](QKeyEvent*) {
    doc.markchanged();
    return true;
  };
  Txtquestion[0]->onkeypress = typed;
  Txtquestion[1]->onkeypress = typed;
  txtanswer->onkeypress = typed;

  QWidget* order[] = {Txtquestion[0], Txtquestion[1], txtanswer, Command2[0], cmdforward[0], cmdforward[1],
                      Command2[1], cmdforward[2], Command1, Check1[0], Check1[1], Check1[2], Check1[3],
                      Text1, Lstcategory, Cmdgenerate};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  // One file dialog for opening and saving: our own, so that its title and
  // filters are the same everywhere; the overwrite question is the editor's.
  cmdialog1 = new QFileDialog(this);
  cmdialog1->setObjectName(QStringLiteral("cmdialog1"));
  cmdialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  cmdialog1->setFileMode(QFileDialog::AnyFile);
  cmdialog1->resize(ui::px(10800), ui::px(6600));
  // The size, type and date columns show whole; the name takes the rest.
  if (auto* view = cmdialog1->findChild<QTreeView*>()) {
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  installquizwrighthelp(*cmdialog1, QStringLiteral("files"));
}

void Frmexam::buildmenus() {
  mnufile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuopen[0] = mnufile->addAction(QStringLiteral("&New Test"));
  mnuopen[1] = mnufile->addAction(QStringLiteral("&Open Test"));
  mnufile->addSeparator();
  mnusave[0] = mnufile->addAction(QStringLiteral("Save  &As Test"));
  mnusave[1] = mnufile->addAction(QStringLiteral("&Save Test"));
  textfileoptions = mnufile->addMenu(QStringLiteral("Text File &Options"));
  mnutextfileop0 = textfileoptions->addMenu(QStringLiteral("&Numbering Questions"));
  static const char* numbering[6] = {"&No Numbering", "&1 Question [Number].", "&2 Number [Number].",
                                     "&3 ([Number]).", "&4 No. [Number].", "&5 [Number]."};
  for (int i = 0; i < 6; ++i) {
    numbquest[i] = mnutextfileop0->addAction(QString::fromLatin1(numbering[i]));
    numbquest[i]->setCheckable(true);
    numbquest[i]->setChecked(i == 1);
  }
  static const char* sections[5] = {"Include &Title", "Include &Description", "Include &Instructions",
                                    "Include &Answer Key", "Include &Solutions"};
  for (int i = 0; i < 5; ++i) {
    tfop[i] = textfileoptions->addAction(QString::fromLatin1(sections[i]));
    tfop[i]->setCheckable(true);
    tfop[i]->setChecked(i < 4);
  }
  mnufile->addSeparator();
  mnuquit = mnufile->addAction(QStringLiteral("&Quit"));
  bar3 = mnufile->addSeparator();
  bar3->setVisible(false);
  mnuop.push_back(mnufile->addAction(QString()));
  mnuop[0]->setVisible(false);
  for (int i = 0; i < 2; ++i) {
    connect(mnuopen[i], &QAction::triggered, this, [this, i] { mnuopen_Click(i); });
    connect(mnusave[i], &QAction::triggered, this, [this, i] { mnusave_Click(i); });
  }
  // One numbering style is ticked at any time: the handler moves the mark.
  for (int i = 0; i < 6; ++i) connect(numbquest[i], &QAction::triggered, this, [this, i] { numbquest_Click(i); });
  for (int i = 0; i < 5; ++i) {
    connect(tfop[i], &QAction::triggered, this, [this, i] {
      // The menu has already turned the mark over; the handler does that.
      tfop[i]->setChecked(!tfop[i]->isChecked());
      tfop_Click(i);
    });
  }
  connect(mnuquit, &QAction::triggered, this, [this] { mnuquit_Click(); });

  mnuedit = menuBar()->addMenu(QStringLiteral("&Edit"));
  static const char* edits[3] = {"Cu&t", "&Copy", "&paste"};
  for (int i = 0; i < 3; ++i) {
    copy[i] = mnuedit->addAction(QString::fromLatin1(edits[i]));
    connect(copy[i], &QAction::triggered, this, [this, i] { copy_Click(i); });
  }

  mnuoptions = menuBar()->addMenu(QStringLiteral("&Options"));
  mnuch = mnuoptions->addAction(QStringLiteral("&Change General Settings"));
  connect(mnuch, &QAction::triggered, this, [this] { mnuch_Click(); });
}

// ---- procedures ---------------------------------------------------------------

void Frmexam::buttonstatus() {
  showtitle();
  Label7->setText(QStringLiteral("File : ") + ui::fromfilename(doc.filename));
  Label1->setText(QStringLiteral("%1 / %2").arg(doc.qno).arg(doc.numquest));
  const Boxes shown = boxtexts();
  const bool whole = core::questioncomplete(shown.question, shown.answer);
  Label6->setVisible(!whole);
  QWidget* had = focusWidget();
  for (QWidget* w : {cmdforward[0], cmdforward[1], Command2[0], Command2[1]}) w->setVisible(whole);
  // A button that goes while it has the keyboard hands it to the question,
  // never on to the delete button.
  if (had != nullptr && had->isHidden()) Txtquestion[0]->setFocus();
  mnusave[0]->setVisible(doc.cansave(whole));
  mnusave[1]->setVisible(savetestoffered_);
}

void Frmexam::showtitle() {
  Label5->setCaption(ui::fromansi(core::trim(doc.header.testtitle)));
  ui::fittext(*Label5);
}

Boxes Frmexam::boxtexts() const {
  return {ui::toansi(Txtquestion[0]->text()), ui::toansi(Txtquestion[1]->text()), ui::toansi(txtanswer->text())};
}

void Frmexam::filefailed(const std::string& what, const core::FileError& e, std::string after) {
  // The name is spelt as the file system spells it; the message is text of
  // the program's own code page.
  const std::string name = ui::toansi(ui::fromfilename(core::datapath(doc.filename).string()));
  if (dynamic_cast<const core::FileChanged*>(&e) != nullptr) {
    try {
      doc.reload();
      after = REREAD;
    } catch (const core::FileError& again) {
      after = "It could not be read again " + core::errornote(again) + ". " + KEPT;
    }
    buttonstatus();
  }
  showmessage(this, what + " the test file " + name + " " + core::errornote(e) + ". " + after);
}

bool Frmexam::putfile() {
  try {
    const Boxes shown = boxtexts();
    doc.storequestion(shown.question, shown.help, shown.answer);
    return true;
  } catch (const core::FileError& e) {
    filefailed("The question could not be written to", e, KEPT);
    return false;
  }
}

void Frmexam::getfile() {
  try {
    doc.readquestion();
  } catch (const core::FileError& e) {
    doc.rec = core::testrecord::blank();
    filefailed("The question could not be read from", e, "It is shown empty.");
  }
}

void Frmexam::showquestion1() {
  // The three boxes change as one: a status worked out between two of
  // them would mix two questions.
  showing_ = true;
  Txtquestion[0]->setText(ui::fromansi(core::rtrim(doc.rec.question)));
  Txtquestion[1]->setText(ui::fromansi(core::rtrim(doc.rec.help)));
  txtanswer->setText(ui::fromansi(core::rtrim(doc.rec.answer)));
  showing_ = false;
  Txtquestion_Change();
}

bool Frmexam::puttitle() {
  try {
    doc.writeheader();
    return true;
  } catch (const core::FileError& e) {
    filefailed("The test description could not be written to", e,
               "The description is kept and written again when the dialog next closes.");
    return false;
  }
}

// ---- handlers -----------------------------------------------------------------

void Frmexam::Txtquestion_Change() {
  const Boxes shown = boxtexts();
  doc.showing(core::questioncomplete(shown.question, shown.answer));
  buttonstatus();
}

void Frmexam::Form_Load() {
  ui::fixedwindow(*this, sizeHint());
  ui::centreform(*this);
  updatefilelist();
  Lstcategory->clear();
  const auto& lists = app_.corestate.lists;
  for (int k = 1; k <= lists.ncategories; ++k)
    Lstcategory->addItem(ui::fromansi(core::categorycaption(lists, k)));
  Lstcategory->selectAll();
  doc.untitled();
  puttitle();
  buttonstatus();
  app_.start().hide();
}

bool Frmexam::Form_Unload() {
  if (!savetruefalse()) return false;
  TestDocument::discardworkfile();
  app_.start().show();
  return true;
}

void Frmexam::closeEvent(QCloseEvent* event) {
  // Closing goes on unless the offered save failed: then the window stays
  // open with the working file whole, so the teacher can save elsewhere.
  if (!Form_Unload()) {
    event->ignore();
    return;
  }
  event->accept();
  app_.unloadexam();
}

void Frmexam::cmdforward_Click(int index) {
  if (!putfile()) return;
  try {
    if (index == 0) {
      doc.previous();
    } else if (index == 1) {
      if (!doc.next()) {
        showmessage(this, "A test holds at most " + core::numtext(static_cast<int>(MAXQUESTIONS)) +
                              " questions: no question can be added after this one.");
        buttonstatus();
        return;
      }
    } else {
      doc.deletequestion();
    }
  } catch (const core::FileError& e) {
    if (index == 2) filefailed("The question was not deleted: could not rewrite", e, "The test file is as it was.");
    else if (index == 0) filefailed("The previous question could not be read from", e, KEPT);
    else filefailed("The next question could not be read from or added to", e, KEPT);
    buttonstatus();
    return;
  }
  showquestion1();
  buttonstatus();
  // The keyboard goes back to the question, never on to the delete button.
  Txtquestion[0]->setFocus();
}

void Frmexam::Command2_Click(int index) {
  if (!putfile()) return;
  try {
    if (index == 0) doc.backten(); else doc.forwardten();
  } catch (const core::FileError& e) {
    filefailed("The question could not be read from", e, KEPT);
    buttonstatus();
    return;
  }
  showquestion1();
  buttonstatus();
  Txtquestion[0]->setFocus();
}

void Frmexam::Command1_Click() {
  {
    Frmtitle dialog(*this, this);
    ui::runmodal(dialog);
  }
  // The editor takes the keyboard back, so that its menu keys work at once.
  activateWindow();
  puttitle();
  buttonstatus();
}

void Frmexam::copy_Click(int index) {
  // The window's own active control, which a menu does not take away.
  QWidget* active = focusWidget();
  if (active == nullptr) return;
  QClipboard* clipboard = QApplication::clipboard();
  if (auto* box = qobject_cast<TextBox*>(active)) {
    QTextCursor selection = box->textCursor();
    if (index == 2) {
      box->pastetext(clipboard->text());
      return;
    }
    clipboard->clear();
    clipboard->setText(ui::crlftext(selection.selectedText()));
    if (index == 0) {
      selection.removeSelectedText();
      box->setTextCursor(selection);
    }
  } else if (auto* line = qobject_cast<QLineEdit*>(active)) {
    if (index == 2) {
      line->insert(clipboard->text());
      return;
    }
    clipboard->clear();
    clipboard->setText(line->selectedText());
    if (index == 0) line->insert(QString());
  }
}

void Frmexam::mnuch_Click() {
  app_.showsettingsdialog(this);
  activateWindow();
}

void Frmexam::mnuquit_Click() { close(); }

}  // namespace authoring
