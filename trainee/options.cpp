#include "trainee/options.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include "core/errors.h"
#include "core/files.h"
#include "core/listfile.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"
#include "trainee/frmsave.h"

namespace trainee {

namespace {

std::function<void(const std::string&)>& logtestopen() {
  static std::function<void(const std::string&)> open;
  return open;
}

// Whether the item starts with the tag, capitals and small letters alike.
bool hastag(const std::string& upperitem, std::string_view tag) {
  return upperitem.compare(0, tag.size(), tag) == 0;
}

// The rest of the item after the tag, blanks removed at both ends.
std::string tagvalue(const std::string& item, std::string_view tag) {
  return core::trim(std::string_view(item).substr(tag.size()));
}

// Asks the Yes/No window whether to try the denied log file again; true
// for Yes.
bool askretry(Dosavo& app, const std::string& message) {
  app.options.retrymessage = message;
  app.options.retryflag = true;
  {
    Frmsave window(app);
    ui::runmodal(window);
  }
  return app.options.retryflag;
}

enum class LogTest { Opened, Failed, GivenUp };

std::string logprefix(const std::string& logfile) {
  return "Dosavo tryed to access the log file: " + logfile + " which was specified in the vqfile.ini file. ";
}

// Opens the log file for appending (creating it) and closes it again. A
// denied file is tried again at once, silently, up to 1000 times in a row;
// then the user is asked whether to go on trying.
LogTest openlog(Dosavo& app) {
  auto& o = app.options;
  const std::string prefix = logprefix(o.logfile);
  int failures = 0;
  for (;;) {
    try {
      if (logtestopen())
        logtestopen()(o.logfile);
      else
        core::touchappend(o.logfile);
      return LogTest::Opened;
    } catch (const core::LinkRefused&) {
      showmessage(linkrefusal(o.logfile) + " A log file will not be kept. Please change the name of the log file.");
      return LogTest::Failed;
    } catch (const core::FileError& e) {
      const int n = e.number();
      switch (n) {
        case core::ErrBadFileName:
        case core::ErrFileNotFound:
        case core::ErrBadFileMode:
          showmessage(prefix + "Unfortunately the file name is illegal. Please change it.");
          return LogTest::Failed;
        case core::ErrPathNotFound:
          showmessage(prefix + "Unfortunately there is no such path. Please change the name of the log file.");
          return LogTest::Failed;
        case core::ErrPermission:
        case core::ErrPathFileAccess:
          if (++failures <= LOG_SILENT_RETRIES) continue;
          if (askretry(app, prefix + "Access was denied to this file. Would you like to try accessing it again?")) {
            o.retryflag = false;
            failures = 0;
            continue;
          }
          o.recording = false;
          o.retryflag = false;
          return LogTest::GivenUp;
        default:
          showmessage(prefix + "Unfortunately an error occurred trying to access it or create it (Error Number " +
                      core::numtext(n) +
                      "). A log file will not be kept. Please check or delete the vqfile.ini file to correct the "
                      "problem.");
          return LogTest::Failed;
      }
    }
  }
}

}  // namespace

void setlogtestopen(std::function<void(const std::string&)> open) { logtestopen() = std::move(open); }

std::string linkrefusal(const std::string& logfile) {
  return logprefix(logfile) + "Unfortunately it is a symbolic link, which Dosavo does not follow.";
}

std::string useridof(const std::string& id) { return core::fixwidth(id, 12); }

bool safelogid(const std::string& id) {
  return id.find('/') == std::string::npos && id.find('\\') == std::string::npos && id.find("..") == std::string::npos;
}

std::string idlogfile(const std::string& logfolder, const std::string& userid) {
  return logfolder + userid.substr(0, 8) + ".LOG";
}

std::string idlinkrefusal(const std::string& logfile) {
  return "The log file " + logfile + " is a symbolic link, which Dosavo does not follow. Please tell your supervisor.";
}

void readoption(Dosavo& app, const std::string& item) {
  if (readoptionitem(app, item)) stamptime(app);
}

bool readoptionitem(Dosavo& app, const std::string& item) {
  auto& o = app.options;
  const std::string up = core::upper(item);

  if (hastag(up, "<KEEP LOG>")) {
    o.logfile = tagvalue(item, "<KEEP LOG>");
    switch (openlog(app)) {
      case LogTest::GivenUp:
        // The user chose not to try again: the item ends here.
        return false;
      case LogTest::Failed:
        // The failure has been reported once; a log that cannot be opened
        // is not kept, rather than met again when the run ends.
        o.recording = false;
        break;
      case LogTest::Opened:
        try {
          if (core::filesize(o.logfile) > LOG_WARNING_SIZE)
            ui::showbox(nullptr,
                        ui::fromansi("The log file " + o.logfile +
                                     " is getting rather big. You should consider deleting it."),
                        APPTITLE);
        } catch (const core::FileError&) {
          // The file was opened a moment ago; a size that cannot be read
          // just gives no warning.
        }
        if (!o.logfile.empty()) o.recording = true;
        break;
    }
  }
  if (hastag(up, "<PROMPT>")) {
    o.saveprompt = tagvalue(item, "<PROMPT>");
    o.promptflag = true;
  }
  if (hastag(up, "<ID>")) o.askid = true;
  if (hastag(up, "<NAME>")) o.askname = true;
  if (hastag(up, "<DATE>")) o.logdate = true;
  if (hastag(up, "<TIME>")) o.logtime = true;
  if (hastag(up, "<OPTION PRACTICE>")) o.optpractice = true;
  if (hastag(up, "<OPTION CALCULATOR OFF>")) o.optcalcoff = true;
  if (hastag(up, "<OPTION NO SHOWME>")) o.optnoshowme = true;
  if (hastag(up, "<PROGRESS BUTTON DISABLED>")) o.optnoprogress = true;
  if (hastag(up, "<PROMPT LOGIN>")) o.loginprompt = tagvalue(item, "<PROMPT LOGIN>");
  if (hastag(up, "<OPTION NO CORRECT ANSWER>")) o.optnocorrect = true;
  if (hastag(up, "<OPTION NO PASS>")) o.optnopass = true;
  if (hastag(up, "<ID CHECK>")) {
    o.idlistfile = tagvalue(item, "<ID CHECK>");
    try {
      core::ItemReader test(o.idlistfile);
    } catch (const core::FileError&) {
      showmessage("Dosavo tried to access the file " + o.idlistfile +
                  " but could not find it. Please check the vqfile.ini file and ensure that this is the correct path.");
      o.idlistfile.clear();
    }
  }
  if (hastag(up, "<KEEP LOG ID>")) {
    o.askid = true;
    o.recording = true;
    o.keeplogid = true;
    o.logfolder = tagvalue(item, "<KEEP LOG ID>");
  }
  return true;
}

namespace {
std::string timeof(const QTime& time) { return ui::toansi(time.toString(QStringLiteral("HH:mm:ss"))); }

std::string dateof(const QDate& date) {
  // The system's short date form, with the year in full.
  QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QStringLiteral("yyyy"))) format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  return ui::toansi(QLocale::system().toString(date, format));
}
}  // namespace

std::string timetext() { return timeof(QTime::currentTime()); }
std::string datetext() { return dateof(QDate::currentDate()); }

void stamptime(Dosavo& app) { stamptime(app, std::chrono::system_clock::now()); }

void stamptime(Dosavo& app, std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms);
  app.options.starttime = timeof(at.time());
  app.options.startdate = dateof(at.date());
}

void showmessage(const std::string& text) {
  ui::showbox(nullptr, ui::fromansi(text), QStringLiteral("Dosavo Message"));
}

bool idinlist(const std::string& listfile, const std::string& id) {
  core::ItemReader reader(listfile);
  const std::string wanted = core::upper(id);
  while (!reader.eof())
    if (core::upper(core::trim(reader.item())) == wanted) return true;
  return false;
}

}  // namespace trainee
