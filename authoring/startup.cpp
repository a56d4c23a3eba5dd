#include "authoring/startup.h"

#include <filesystem>
#include <string>
#include <vector>

#include "authoring/app.h"
#include "authoring/frmstart.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/tables.h"
#include "core/text.h"

namespace authoring {
namespace {

std::string namelist(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " and " : ", ";
    out += names[i];
  }
  return out;
}

void loadlists(Quizwright& app) {
  const std::vector<std::string> files = {core::SOLID_INDEX, core::FLUID_INDEX, core::CATEGORY_FILE};
  std::vector<std::string> missing;
  for (const std::string& name : files) {
    std::error_code ec;
    if (!std::filesystem::exists(core::datapath(name), ec)) missing.push_back(name);
  }
  int failure = 0;
  if (missing.empty())
    core::loaddruglists(app.corestate.lists, core::Build::Tool, [&failure](int n) {
      if (failure == 0) failure = n;
    });
  if (missing.empty() && failure == 0) return;
  // Half a list is worse than none: the questions would draw from drugs
  // that do not match their categories.
  app.corestate.lists = core::emptydruglists(core::Build::Tool);
  const std::string advice =
      ". The drug lists are empty until the Drug Database editor rebuilds them: open it and close it again.";
  if (!missing.empty()) {
    showmessage(&app.start(), std::string(missing.size() == 1 ? "The drug list file " : "The drug list files ") +
                                  namelist(missing) + (missing.size() == 1 ? " is missing" : " are missing") + advice);
  } else {
    showmessage(&app.start(), "The drug list files " + namelist(files) + " could not be read (error number " +
                                  core::numtext(failure) + ")" + advice);
  }
}

}  // namespace

void readdruglists(Quizwright& app) { loadlists(app); }

void Main(Quizwright& app) {
  core::fillpreptables(app.corestate.tables);
  app.start().show();
  core::fillmetrictables(app.corestate.tables);
  try {
    app.corestate.settings = core::readsettings();
  } catch (const core::FileError& e) {
    showmessage(&app.start(), std::string("The settings file ") + core::SETTINGS_FILE +
                                  " could not be read (error number " + core::numtext(e.number()) +
                                  "). The standard settings are used.");
  }
  // A rebuild of the drug lists cut off by a kill or a failure is finished
  // before they are read, and temporary files left by writers that are
  // gone are removed.
  core::tidyworkdir();
  loadlists(app);
}

}  // namespace authoring
