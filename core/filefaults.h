// For tests only: faults put into the file layer, the counts it keeps of
// its lock waits and folder flushes, a hook into the reading of a set, and
// the temporary names it makes. The product never sets any of these.
#pragma once

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace core {

// Faults put into the file operations that follow, until replaced.
struct WriteFaults {
  // Whole-file writes, and record writes, fail once they have put down
  // this many bytes.
  std::optional<std::size_t> wholeafter, recordafter;
  // The system error that the faults below and above fail with.
  int error = EIO;
  // The nth (from 1) flush of a file, flush of a folder or rename that
  // follows fails; 0: none. A folder flush fails as the system call would,
  // so an error that a folder flush is allowed to give (EINVAL) passes.
  int flushfile = 0, flushfolder = 0, rename = 0;
  // Every lock call answers this error (ENOLCK, EINVAL: a file server
  // that keeps no locks); 0: none.
  int lockerror = 0;
  // The check whether a temporary file's writer still runs answers this
  // error (EPERM: another user's process); 0: the real answer.
  int processerror = 0;
  // A lock wait counts its pauses without sleeping them, so that a test
  // sees the wait's whole length at once.
  bool sleeplesswaits = false;
};
void setwritefaults(const WriteFaults& faults);
// Sets wholeafter alone, failing with an I/O error (nullopt: whole-file
// writes succeed again).
void failwholewritesafter(std::optional<std::size_t> bytes);

// What the file layer has done since the counts were last cleared.
struct FileCounts {
  int lockpauses = 0;                        // pauses of lock waits
  std::chrono::microseconds lockwaited{0};   // their length, added up
  int folderflushes = 0;                     // folders really flushed
};
FileCounts& filecounts();

// Called while a set of files is opened to be read, after its note is
// read (0) and after the nth file (from 1) is opened; a test replaces the
// set there. Empty: none.
void setsetreadhook(std::function<void(int)> hook);

// The mark a machine of that name gives its temporary files: letters,
// digits and hyphens as they are, every other byte as "_" and two hex
// digits, so that two names never share a mark.
std::string hostmark(const std::string& hostname);
// A temporary file's name for target, written by process pid of the
// machine with that mark, and the parts read back from such a name.
std::string tempname(const std::string& target, const std::string& mark, long pid, unsigned long serial);
struct TempName {
  std::string target, mark;
  long pid = 0;
};
std::optional<TempName> parsetempname(const std::string& name);

}  // namespace core
