#include "trainee/frmid.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/typing.h"
#include "core/ui/twips.h"
#include "trainee/app.h"
#include "trainee/frmmenu.h"
#include "trainee/helptext.h"
#include "trainee/options.h"

namespace trainee {

namespace {
const QString FORMTITLE = QStringLiteral("Please complete the form...");

// The labels keep their designed widths, which were made for a smaller
// font than most desktops use: the font is made smaller until the text
// fits with a little room before the box beside it.
void fitlabel(QLabel* label) {
  QFont font = label->font();
  const int room = label->width() - 6;
  while (QFontMetrics(font).horizontalAdvance(label->text()) > room && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  label->setFont(font);
}
}  // namespace

Frmid::Frmid(Dosavo& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName(QStringLiteral("Frmid"));
  setWindowTitle(QStringLiteral("Logon to Dosavo"));
  setModal(true);

  Txtmsg = new QPlainTextEdit(this);
  // Read-only, ringed while it has the keyboard, as the other windows'
  // texts are.
  ui::readingbox(*Txtmsg);
  Label1 = new QLabel(QStringLiteral("Please Enter Your ID Number:"), this);
  TxtID = new QLineEdit(this);
  Label2 = new QLabel(QStringLiteral("Please Enter Your Name:"), this);
  Txtname = new QLineEdit(this);
  cmdOk[0] = new QPushButton(QStringLiteral("&O.K."), this);
  cmdOk[1] = new QPushButton(QStringLiteral("&Practice"), this);
  cmdOk[0]->setDefault(true);
  // The prompt comes after the boxes and buttons, so that Tab runs from the
  // ID to the name to the buttons.
  setTabOrder(TxtID, Txtname);
  setTabOrder(Txtname, cmdOk[0]);
  setTabOrder(cmdOk[0], cmdOk[1]);
  setTabOrder(cmdOk[1], Txtmsg);
  for (int i = 0; i < 2; ++i)
    connect(cmdOk[i], &QPushButton::clicked, this, [this, i] { cmdOk_Click(i); });

  // Design: the left edges and sizes; the tops are set by the layout.
  place(Txtmsg, 120, 0, 5895, 1095);
  place(Label1, 120, 0, 2655, 285);
  place(TxtID, 2760, 0, 2295, 285);
  place(Label2, 120, 0, 2295, 285);
  place(Txtname, 2520, 0, 3495, 285);
  place(cmdOk[0], 0, 0, 1095, 495);
  place(cmdOk[1], 0, 0, 1455, 495);
  fitlabel(Label1);
  fitlabel(Label2);
  for (QWidget* w : {static_cast<QWidget*>(Txtmsg), static_cast<QWidget*>(Label1),
                     static_cast<QWidget*>(TxtID), static_cast<QWidget*>(Label2),
                     static_cast<QWidget*>(Txtname), static_cast<QWidget*>(cmdOk[1])})
    w->setVisible(false);

  installdosavohelp(*this, QStringLiteral("starting"));
  ui::fixedwindow(*this);
  Form_Load();
}

void Frmid::place(QWidget* w, int left, int top, int width, int height) {
  twips_[w] = QRect(left, top, width, height);
  ui::placetw(w, left, top, width, height);
}

void Frmid::Form_Load() {
  const auto& o = app_.options;
  auto settop = [this](QWidget* w, int top) {
    const QRect r = twips_.value(w);
    place(w, r.x(), top, r.width(), r.height());
  };
  std::int16_t y = 120;
  if (!o.loginprompt.empty()) {
    Txtmsg->setPlainText(ui::fromansi(o.loginprompt));
    settop(Txtmsg, 120);
    Txtmsg->setVisible(true);
    y = 1285;
  }
  if (o.askid) {
    settop(Label1, y);
    settop(TxtID, y);
    Label1->setVisible(true);
    TxtID->setVisible(true);
    y = static_cast<std::int16_t>(y + 370);
  }
  if (o.askname) {
    settop(Label2, y);
    settop(Txtname, y);
    Label2->setVisible(true);
    Txtname->setVisible(true);
    y = static_cast<std::int16_t>(y + 370);
  }
  const int okwidth = twips_.value(cmdOk[0]).width();
  const int practicewidth = twips_.value(cmdOk[1]).width();
  int w = okwidth;
  if (o.optpractice) {
    w = w + 200 + practicewidth;
    cmdOk[1]->setVisible(true);
  }
  // The whole part of half the width less half the button row.
  const int left = static_cast<int>(WIDTHTW / 2.0 - w / 2.0);
  y = static_cast<std::int16_t>(y + 200);
  place(cmdOk[0], left, y, okwidth, twips_.value(cmdOk[0]).height());
  place(cmdOk[1], left + okwidth + 200, y, practicewidth, twips_.value(cmdOk[1]).height());
  // The keyboard starts in the first box asked for.
  if (o.askid) {
    TxtID->setFocus();
  } else if (o.askname) {
    Txtname->setFocus();
  } else {
    cmdOk[0]->setFocus();
  }
  heighttw = y + 1015;
  setFixedSize(ui::px(WIDTHTW), ui::px(heighttw - CAPTIONTW));
  ui::centreform(*this);
}

void Frmid::cmdOk_Click(int index) {
  auto& o = app_.options;
  if (index == 1) {
    // Practice: nothing is logged for the rest of the run.
    o.recording = false;
    handover();
    return;
  }
  // What cannot be stored as typed is refused, rather than kept with a
  // question mark in place of the character.
  if (refuseunstorable(TxtID->text(), "Your ID number") || refuseunstorable(Txtname->text(), "Your name")) return;
  const std::string id = core::trim(ui::toansi(TxtID->text()));
  const std::string name = core::trim(ui::toansi(Txtname->text()));
  if (id.empty() && o.askid) {
    ui::showbox(this, QStringLiteral("You are required to enter a valid ID number"), FORMTITLE);
    return;
  }
  if (name.empty() && o.askname) {
    ui::showbox(this, QStringLiteral("You are required to enter your name"), FORMTITLE);
    return;
  }
  o.userid = useridof(id);
  o.username = name;
  if (!o.idlistfile.empty()) {
    bool found = false;
    try {
      found = idinlist(o.idlistfile, id);
    } catch (const core::FileError&) {
      // The list cannot be read (removed since start-up): the click ends
      // without a message and the window stays open.
      return;
    }
    if (!found) {
      ui::showbox(this, QStringLiteral("Your ID number was not found in the database"), APPTITLE);
      return;
    }
  }
  if (o.keeplogid) {
    // The ID becomes part of a file name in the log folder: a path
    // separator or ".." would put the log somewhere else.
    if (!safelogid(id)) {
      ui::showbox(this, QStringLiteral("Your ID number may not contain \"/\", \"\\\" or \"..\""), FORMTITLE);
      return;
    }
    o.logfile = idlogfile(o.logfolder, o.userid);
    try {
      core::touchappend(o.logfile);
    } catch (const core::LinkRefused&) {
      ui::showbox(this, ui::fromansi(idlinkrefusal(o.logfile)), QStringLiteral("Error ..."));
      return;
    } catch (const core::FileError&) {
      ui::showbox(this,
                  ui::fromansi("There was an error trying to write to " + o.logfile +
                               "Please check your ID and / or the file vqfile.ini"),
                  QStringLiteral("Error ..."));
      return;
    }
  }
  handover();
}

bool Frmid::refuseunstorable(const QString& typed, const char* what) {
  const QString character = ui::unstorable(typed);
  if (character.isEmpty()) return false;
  ui::showbox(this,
              QString::fromLatin1(what) + QStringLiteral(" contains the character \u201C") + character +
                  QStringLiteral("\u201D, which Dosavo cannot store. Please type it without that character."),
              FORMTITLE);
  return true;
}

void Frmid::handover() {
  const auto& o = app_.options;
  std::string caption = "Dosavo  ~ ";
  if (o.recording && o.askid) caption += " User ID: " + o.userid;
  if (o.recording && o.askname) caption += " Name: " + o.username;
  if (!o.recording) caption += "Practice Mode";
  frmmenu& menu = app_.menu();
  menu.setWindowTitle(ui::fromansi(caption));
  // Hiding ends the modal display.
  done(QDialog::Accepted);
  ui::showactive(menu);
}

void Frmid::closeEvent(QCloseEvent* event) {
  // The close box ends the program (after a logon, as the menu ends it).
  event->accept();
  endfromoutside(app_);
}

}  // namespace trainee
