#include "trainee/startup.h"

#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <optional>
#include <system_error>

#include "core/drug.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/listfile.h"
#include "core/settings.h"
#include "core/tables.h"
#include "core/text.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/options.h"

namespace trainee {

void startuperror(int number) {
  if (number == core::ErrFileNotFound) return;
  showmessage("There was an error number " + core::numtext(number));
}

void fillbuiltinmodules(Dosavo& app) {
  auto& m = app.modules;
  m.modheading = {"",
                  "IV - Counting Drops",
                  "IV - Setting The Flow Rate",
                  "Calculating IV Drop Rates",
                  "Calculating Tablet Dosages",
                  "Metric Conversions",
                  "Calculating Fluid Dosages"};
  m.modintro = {
      "",
      "Practise counting the number of drops per minute delivered by a preset IV giving set.",
      "Practise setting an IV to run at a given number of drops per minute.",
      "Practise working out the flow rate or drop rate of an IV.",
      "Practise calculating the number of tablets or capsules to administer when given the dose.",
      "Practise convertion between different metric units of volume and mass.",
      "Practise calculating the volume of medication in solution to administer when given the dose. Includes "
      "questions relating to oral solutions, IV, IM and SC injections."};
  m.modfile.clear();
  m.modcount = 6;
}

namespace {

// Reads the options file item by item, up to and including the first item
// that begins with "///". The time stamp is taken after each item but
// written out once, for the last item that went on to it.
void readoptionsfile(Dosavo& app) {
  std::optional<core::ItemReader> reader;
  try {
    reader.emplace(OPTIONS_FILE);
  } catch (const core::FileError& e) {
    startuperror(e.number());
    return;
  }
  std::optional<std::chrono::system_clock::time_point> stamped;
  for (;;) {
    std::string item;
    try {
      item = core::trim(reader->item());
    } catch (const core::FileError& e) {
      startuperror(e.number());
      if (reader->eof()) break;
      continue;
    }
    if (readoptionitem(app, item)) stamped = std::chrono::system_clock::now();
    if (item.compare(0, 3, "///") == 0 || reader->eof()) break;
  }
  if (stamped) stamptime(app, *stamped);
}

// Lists the tests whose header marks them for the menu as modules 7 and up.
void listtests(Dosavo& app) {
  auto& m = app.modules;
  int t = 0;
  for (const std::string& name : listtestfiles(core::workdir())) {
    // A file that cannot be read leaves a blank header, never the previous
    // file's, and is not listed.
    app.testbuffer = core::testrecord::blank();
    try {
      app.testbuffer = core::readtestheader(name).header;
    } catch (const core::FileError& e) {
      startuperror(e.number());
      continue;
    }
    if (!(app.testbuffer.includeflag() > 0)) continue;
    ++t;
    const auto size = static_cast<std::size_t>(t + 7);
    m.modheading.resize(size);
    m.modintro.resize(size);
    m.modfile.resize(size);
    const auto n = static_cast<std::size_t>(t + 6);
    m.modheading[n] = app.testbuffer.title();
    m.modintro[n] = app.testbuffer.description();
    m.modfile[n] = name;
    app.menu().Lstmodules->addItem(ui::fromansi(m.modheading[n]));
  }
  m.modcount = static_cast<std::int16_t>(t + 6);
}

}  // namespace

void Main(Dosavo& app) {
  // The title window shows while the rest loads; Start appears once the
  // drug lists and the menu are ready.
  core::fillpreptables(app.corestate.tables);
  Frmmain& title = app.frmmain();
  title.show();
  title.Command1->hide();
  core::fillmetrictables(app.corestate.tables);
  fillbuiltinmodules(app);
  // Every site option is off until the options file turns it on.
  app.options = SiteOptions{};
  // From here every failure is reported by startuperror and start-up goes on.
  readoptionsfile(app);
  listtests(app);
  auto& m = app.modules;
  const auto counters = static_cast<std::size_t>(m.modcount) + 1;
  m.modcorrect.assign(counters, 0);
  m.modincorrect.assign(counters, 0);
  m.modpassed.assign(counters, 0);
  try {
    app.corestate.settings = core::readsettings();
  } catch (const core::FileError& e) {
    startuperror(e.number());
  }
  app.applybackgrounds();
  core::loaddruglists(app.corestate.lists, core::Build::Trainee, startuperror);
  app.menu().buildcategorymenu();
  title.Command1->show();
}

}  // namespace trainee
