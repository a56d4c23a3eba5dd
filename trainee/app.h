// dosavo, the trainee program: the state of one run and the windows that
// show it. Each window is created on first use and lives until unloaded.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/corestate.h"
#include "core/testfile.h"
#include "trainee/model/session.h"

namespace trainee {

class Frmmain;
class Frmid;
class frmmenu;
class Frmsave;
class Frmquestion;
class Calculator;

// The module table: six built-in modules, then the teachers' tests found at
// start-up, with the run's counts of judged answers per module.
struct ModuleTable : ModuleCounters {
  std::vector<std::string> modheading;
  std::vector<std::string> modintro;
  std::vector<std::string> modfile;
  std::int16_t modcount = 6;
};

// The site options of vqfile.ini, and what the logon sets.
struct SiteOptions {
  bool promptflag = false, askname = false, askid = false, logdate = false, logtime = false;
  bool optpractice = false, optcalcoff = false, optnoshowme = false, recording = false;
  bool optnoprogress = false, optnocorrect = false, optnopass = false, keeplogid = false;
  std::string saveprompt, username, logfile, loginprompt, logfolder, idlistfile;
  std::string userid = std::string(12, ' ');
  std::string starttime, startdate;  // when the last options item was read
  std::string retrymessage;          // the retry question of the Yes/No window
  bool retryflag = false;
};

// Results of the run: the per-module counters live in the module table.
struct ResultsState {
  bool progdirty = false;
  bool saveanswer = false;
  std::string logentry;
};

class Dosavo {
 public:
  Dosavo();
  ~Dosavo();
  Dosavo(const Dosavo&) = delete;
  Dosavo& operator=(const Dosavo&) = delete;

  core::CoreState corestate;
  ModuleTable modules;
  SiteOptions options;
  ResultsState results;
  std::int16_t modnum = 0;
  core::testrecord testbuffer;

  // The windows, created (and their load handlers run) on first use.
  Frmmain& frmmain();
  Frmid& frmid();
  frmmenu& menu();
  Frmquestion& question();
  Calculator& calculator();
  // Whether a window is loaded now, without loading it.
  bool frmmainloaded() const { return !frmmain_.isNull(); }
  bool frmidloaded() const { return !frmid_.isNull(); }
  bool menuloaded() const { return !menu_.isNull(); }
  bool questionloaded() const { return !question_.isNull(); }
  bool calculatorloaded() const { return !calculator_.isNull(); }
  void unloadquestion();
  void unloadcalculator();

  // Ends the program at once. The product quits the application; tests
  // replace it to see that the program would end.
  std::function<void()> endprogram;
  bool ended = false;
  void end();

  // The Yes/No window is loaded afresh at each showing: its background
  // picture is kept here.
  QPixmap frmsavebackground;

  // Shows the settings dialog modally; when it closes, the menu, Yes/No and
  // logon windows take the background that the textured setting chooses.
  void showsettingsdialog(QWidget* parent);
  // The background that the textured setting chooses, given to the menu,
  // Yes/No and logon windows (the menu and logon windows are loaded hidden
  // when they are not loaded yet).
  void applybackgrounds();

 private:
  QPointer<Frmmain> frmmain_;
  QPointer<Frmid> frmid_;
  QPointer<frmmenu> menu_;
  QPointer<Frmquestion> question_;
  QPointer<Calculator> calculator_;
  std::vector<QPointer<QWidget>> unloaded_;  // unloaded, deletion pending
};

// The program's own title, shown by message boxes without a title of their own.
inline const QString APPTITLE = QStringLiteral("Dosavo");

}  // namespace trainee
