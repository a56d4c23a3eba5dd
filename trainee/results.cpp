// The results of a run: the results text shown by the progress window, and
// the log entry appended to the log file when the run ends.
#include "trainee/results.h"

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "trainee/app.h"
#include "trainee/frmsave.h"
#include "trainee/options.h"

namespace trainee {

namespace {

std::int16_t countof(const std::vector<std::int16_t>& counts, std::size_t n) {
  return n < counts.size() ? counts[n] : std::int16_t{0};
}

// A count right-aligned in three characters (a longer count is written whole).
std::string field(std::int16_t count) { return core::rightalign(core::numtext(count), 3); }

}  // namespace

std::string resultstext(const Dosavo& app) {
  std::string text;
  const auto& m = app.modules;
  for (std::size_t n = 1; n <= static_cast<std::size_t>(m.modcount > 0 ? m.modcount : 0); ++n) {
    const auto c = countof(m.modcorrect, n), i = countof(m.modincorrect, n), p = countof(m.modpassed, n);
    if (c == 0 && i == 0 && p == 0) continue;
    text += core::crlf;
    if (n < m.modheading.size()) text += m.modheading[n];
    text += core::crlf;
    text += "Correct [" + field(c) + "]  Incorrect [" + field(i) + "]  ";
    if (p > 0) text += "Passed  [" + field(p) + "]";
    text += core::crlf;
  }
  return text;
}

void writelog(Dosavo& app) {
  auto& o = app.options;
  auto& r = app.results;
  if (!o.recording || !r.progdirty) return;

  std::string entry;
  if (o.askname) entry += "User Name: " + o.username + std::string(core::crlf);
  if (o.askid) entry += "User ID: " + core::fixwidth(o.userid, 12) + std::string(core::crlf);
  if (o.logdate) entry += "Date: " + o.startdate + std::string(core::crlf);
  if (o.logtime) entry += "Time: " + o.starttime + " - " + timetext() + std::string(core::crlf);
  entry += resultstext(app);
  r.logentry = entry;

  r.saveanswer = true;
  o.retryflag = false;
  if (o.promptflag) {
    Frmsave dialog(app);
    ui::runmodal(dialog);
    if (app.ended) return;  // No to the save question ended the program
  }
  if (!r.saveanswer) return;

  // The whole entry, hyphen line and closing empty line go to the file in one
  // write, so that it is either appended whole or not at all, and nothing
  // already in the log is touched.
  const std::string block = entry + std::string(core::crlf) + std::string(30, '-') +
                            std::string(core::crlf) + std::string(core::crlf);
  int errors = 0;
  for (;;) {
    try {
      core::appendtext(o.logfile, block);
      return;
    } catch (const core::LinkRefused&) {
      // A link put in place of the log is never written through, and
      // trying again would not change it.
      showmessage(linkrefusal(o.logfile) + " Your results have not been saved.");
      o.recording = false;
      return;
    } catch (const std::exception&) {
      ++errors;
      if (errors <= 1000) continue;
      o.retrymessage = "Dosavo tryed to access the log file: " + o.logfile +
                       " which was specified in the vqfile.ini file. " +
                       "Access was denied to this file. Would you like to try accessing it again?";
      o.retryflag = true;
      {
        Frmsave dialog(app);
        ui::runmodal(dialog);
      }
      if (o.retryflag) {
        errors = 0;
        o.retryflag = false;
        continue;
      }
      o.recording = false;
      o.retryflag = false;
      return;
    }
  }
}

}  // namespace trainee
