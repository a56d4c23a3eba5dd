// The site options file vqfile.ini: one item at a time sets the option
// globals, and the log file and ID list file are tested as soon as their
// tags are read, so that a wrong path is reported during start-up.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace trainee {

class Dosavo;

inline constexpr const char* OPTIONS_FILE = "vqfile.ini";
// Log files above this size draw a warning at start-up.
inline constexpr unsigned long LOG_WARNING_SIZE = 64000;
// Silent repeats of a denied log file open before the user is asked.
inline constexpr int LOG_SILENT_RETRIES = 1000;

// Processes one item of the options file (blanks already removed at both ends).
void readoption(Dosavo& app, const std::string& item);
// readoption without its time stamp: true when the item went on to it (an
// item whose log the user gave up on ends before it). Start-up stamps the
// time once, for the last item, instead of formatting it for every item.
bool readoptionitem(Dosavo& app, const std::string& item);
// Sets starttime and startdate to now, or to the given moment.
void stamptime(Dosavo& app);
void stamptime(Dosavo& app, std::chrono::system_clock::time_point when);
// The clock time and date in the form the log entry uses.
std::string timetext();
std::string datetext();
// The sentence that refuses a log file which is a symbolic link.
std::string linkrefusal(const std::string& logfile);
// A message box with the title "Dosavo Message".
void showmessage(const std::string& text);

// The logon's rules for a typed ID (blanks at both ends removed).
// The user ID kept for the run: the first 12 characters, blank-padded.
std::string useridof(const std::string& id);
// Whether the ID may name a per-ID log file: a path separator or ".."
// would put the log somewhere other than the log folder.
bool safelogid(const std::string& id);
// The per-ID log file: the log folder (which ends with its own separator),
// the first 8 characters of the padded user ID, then ".LOG".
std::string idlogfile(const std::string& logfolder, const std::string& userid);
// The sentence that refuses a per-ID log file which is a symbolic link.
std::string idlinkrefusal(const std::string& logfile);

// Whether the ID list file holds the ID: an item matches when, with blanks
// removed at both ends, it equals the ID in any mix of capitals. Reading
// stops at the first match. FileError when the file cannot be read.
bool idinlist(const std::string& listfile, const std::string& id);

// The open of the log test: opens the log file for appending (creating it)
// and closes it, throwing core::FileError on failure. Tests replace it to
// meet failures that their machine cannot produce (nullptr restores it).
void setlogtestopen(std::function<void(const std::string&)> open);

}  // namespace trainee
