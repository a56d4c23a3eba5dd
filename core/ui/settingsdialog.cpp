#include "core/ui/settingsdialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "core/errors.h"
#include "core/ui/artwork.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"
#include "core/ui/typing.h"

namespace ui {
namespace {

// Check box index -> field, and the value that shows the box checked.
struct CheckField {
  std::int16_t core::generalsettings::*field;
  std::int16_t on;
};
constexpr CheckField CHECKS[5] = {
    {&core::generalsettings::animationsoff, 1},
    {&core::generalsettings::abbreviations, -1},
    {&core::generalsettings::allmetric, -1},
    {&core::generalsettings::genericnames, -1},
    {&core::generalsettings::textured, 1},
};

const char* const CHECK_CAPTIONS[5] = {
    "Disable animations for correct answers", "Use abbreviations for metric units",
    "Use all metric units for metric conversions", "Use generic and trade names for drugs",
    "Textured background"};

}  // namespace

Default::Default(core::generalsettings& settings, Hooks hooks, QWidget* parent)
    : QDialog(parent), settings_(settings), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("default"));
  setWindowTitle(QStringLiteral("Dosavo - Settings"));
  ignoreescape(*this);  // no Cancel button

  Picture1 = new QLabel(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setPixmap(settingspicture());
  Picture1->setAlignment(Qt::AlignCenter);
  placetw(Picture1, 180, 180, 900, 900);

  Frame2[0] = new QGroupBox(QStringLiteral("Question Construction"), this);
  placetw(Frame2[0], 1200, 120, 5040, 1680);
  Frame2[1] = new QGroupBox(QStringLiteral("Appearance"), this);
  placetw(Frame2[1], 1200, 1920, 5040, 1200);
  for (int i = 0; i < 2; ++i) Frame2[i]->setObjectName(QStringLiteral("Frame2_%1").arg(i));

  // Question construction: abbreviations, all metric units, trade names;
  // appearance: the animation and the background.
  const int frameof[5] = {1, 0, 0, 0, 1};
  const int topof[5] = {360, 360, 780, 1200, 780};
  for (int i = 0; i < 5; ++i) {
    Check1[i] = new QCheckBox(QString::fromLatin1(CHECK_CAPTIONS[i]), Frame2[frameof[i]]);
    Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
    placetw(Check1[i], 240, topof[i], 4680, 360);
  }

  const char* const captions[3] = {"&Use", "&Save", "&Restore Defaults"};
  const int lefts[3] = {1200, 2760, 4320};
  const int widths[3] = {1440, 1440, 1920};
  for (int i = 0; i < 3; ++i) {
    Command1[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
    Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    placetw(Command1[i], lefts[i], 3360, widths[i], 495);
    connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
  }

  // Tab runs down the boxes as they stand on the window, then along the
  // buttons; the keyboard starts at the top box.
  QWidget* order[8] = {Check1[1], Check1[2], Check1[3], Check1[0], Check1[4], Command1[0], Command1[1], Command1[2]};
  for (int i = 0; i + 1 < 8; ++i) setTabOrder(order[i], order[i + 1]);
  Check1[1]->setFocus();

  fixedwindow(*this, QSize(px(6480), px(4080)));
}

Default::~Default() {
  // A dialog destroyed while still loaded has closed too.
  if (loaded_) Form_Unload();
}

void Default::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The box that has the keyboard is ringed from the start, so that one
  // who opened the window from the keyboard sees where Space will act.
  setAttribute(Qt::WA_KeyboardFocusChange);
  if (!event->spontaneous() && !loaded_) Form_Load();
}

void Default::Form_Load() {
  loaded_ = true;
  if (hooks_.onload) hooks_.onload(*this);
  showchecks();
  centreform(*this);
}

void Default::Form_Unload() {
  loaded_ = false;
  if (hooks_.onunload) hooks_.onunload();
}

void Default::done(int r) {
  if (loaded_) Form_Unload();
  QDialog::done(r);
}

void Default::showchecks() {
  for (int i = 0; i < 5; ++i) Check1[i]->setChecked(settings_.*CHECKS[i].field == CHECKS[i].on);
}

void Default::readchecks() {
  for (int i = 0; i < 5; ++i) settings_.*CHECKS[i].field = Check1[i]->isChecked() ? CHECKS[i].on : 0;
}

void Default::savefailed(const std::string& note) {
  const std::string text = std::string("The settings could not be saved in ") + core::SETTINGS_FILE +
                           (note.empty() ? "" : " " + note) +
                           ". The settings chosen are used until the program ends.";
  showbox(this, fromansi(text), windowTitle(), QMessageBox::Warning);
}

void Default::Command1_Click(int index) {
  switch (index) {
    case 0:  // Use
      readchecks();
      accept();
      break;
    case 1:  // Save
      readchecks();
      try {
        core::writesettings(settings_);
      } catch (const core::FileError& e) {
        // The chosen values stay in effect for this run; the user is told
        // that the next run will not have them, and why.
        savefailed(core::errornote(e));
      } catch (const std::exception&) {
        savefailed({});
      }
      accept();
      break;
    case 2:  // Restore Defaults: in effect at once, the dialog stays open
      settings_.restoredefaults();
      showchecks();
      break;
    default:
      break;
  }
}

}  // namespace ui
