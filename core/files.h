// The data files, opened by bare name in the working folder: the current
// folder in the product, a fresh temporary folder in the tests.
//
// Who writes what. The tool alone changes the shared files. A test file
// or the drug database is written record by record in place (RecordFile),
// or replaced whole (writewholefile: a temporary file beside it, flushed,
// then renamed over it). The three drug list files are replaced as one set
// (writewholefiles): all new files are written and flushed, then a note
// naming them is put beside them, then they are renamed one by one, then
// the note goes. The trainee program writes only its settings record and
// appends to its logs.
//
// Who reads what. Both programs read record files a record at a time
// (readrecord, RecordFile) and whole (readwholefile, openwhole), and the
// list files item by item; the three drug lists are opened as one set
// (openset), which reads the new files a committed note names, so no
// program ever loads lists of two rebuilds.
//
// Locks. Each record read holds a shared lock on the record's bytes, each
// record write a sole one; a whole-file read holds a shared lock on the
// whole file. A lock not had within a few seconds fails the operation with
// 75; a file system that keeps no locks is used without them. Whole-file
// and set replacements take no lock: a rename is seen whole or not at all.
//
// A cut-off write. A replaced file is its old or its new self; a
// temporary file left by a writer that is gone is removed when the tool
// next starts (tidyworkdir), which also finishes a set whose note lasted:
// its remaining new files are renamed, then the note is removed. Until
// then, readers already take the set from the note.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "core/errors.h"

namespace core {

// The folder that bare file names are resolved in (empty: the current folder).
void setworkdir(const std::filesystem::path& folder);
const std::filesystem::path& workdir();
// A name resolved in the working folder; an absolute name stays as it is.
std::filesystem::path datapath(const std::string& name);
// The error number for a file that does not exist: 53 (file not found) when
// its folder exists, 76 (path not found) when the folder is missing too.
int missingfileerror(const std::filesystem::path& file);

// Opens an existing file for reading without waiting (a pipe never
// blocks) and gives its descriptor, which the caller closes. FileError 53
// when it is missing (76 when its folder is missing too), 75 when it is not
// an ordinary file (a folder, pipe, device or view of the system such as
// /proc), the number of the failure otherwise.
int openread(const std::string& name);
// Opens an existing file to be read whole, in pieces: as openread, and
// what readwholefile refuses (a file larger than any data file) is refused
// too. The descriptor holds a shared lock over the whole file until it is
// closed, so that no record is written while the file is read (75 when the
// lock is not had within a few seconds).
int openwhole(const std::string& name);

// Appends text to a file, creating it when missing (the append mode of the
// log files). The file must be an ordinary file: a pipe or device is refused
// with FileError 75 and a symbolic link with LinkRefused, and no file is
// ever created through a link. Throws FileError with the error number on
// failure.
void appendtext(const std::string& name, const std::string& text);
// Opens a file for appending and closes it again, creating it when missing;
// refuses what appendtext refuses.
void touchappend(const std::string& name);
// Replaces a whole file by the given bytes, creating it when missing. The
// bytes are written to a temporary file in the same folder, flushed to disk
// and renamed over the target, so the target holds either its old bytes or
// all the new ones. Throws FileError with the error number on failure, and
// then the old file is as it was.
// A symbolic link stays a link: the file it names is replaced; a link to
// a missing file is refused. A new file gets the mode the umask allows, a
// replaced one keeps its mode.
void writewholefile(const std::string& name, const std::string& bytes);
// Replaces several files (name, bytes) of one folder as one set: every
// new file is written and flushed before any old one is replaced, so a
// failure while writing leaves all of them as they were. Before the first
// old file goes, a note naming the new files is put beside them; from then
// on the set is replaced whole: a failure or a kill part-way through the
// renames leaves the note, readers take the new files from it, and
// tidyworkdir finishes the set. Such a failure throws SetUnfinished, any
// failure before it a plain FileError.
void writewholefiles(std::initializer_list<std::pair<std::string, std::string_view>> files);
// Start-up care of the working folder after a program was stopped while
// it wrote: sets of files left part-replaced are finished from the new
// files their note names, then the temporary files of our own naming
// whose writer (a process of this machine) is no longer running are
// removed. Nothing else is touched; failures pass silently.
void tidyworkdir();
// A set replaced as far as its note: the new set is committed and is what
// openset reads, but not every new file got its name; the next start-up
// finishes it. The error number is that of the failure.
class SetUnfinished : public FileError {
 public:
  using FileError::FileError;
};

// A set of files of one folder opened to be read, as one replacement of
// the set left them: the old files, or the new ones that a committed note
// names, never some of each. Each file is open (fd) or failed to open
// (error, as openread numbers it); the descriptors close with the object.
class OpenSet {
 public:
  struct File {
    int fd = -1;
    int error = 0;
  };
  OpenSet() = default;
  explicit OpenSet(std::vector<File> files) : files_(std::move(files)) {}
  OpenSet(OpenSet&& other) noexcept : files_(std::move(other.files_)) { other.files_.clear(); }
  OpenSet& operator=(OpenSet&& other) noexcept;
  OpenSet(const OpenSet&) = delete;
  OpenSet& operator=(const OpenSet&) = delete;
  ~OpenSet();
  // Hands file i's descriptor to the caller, who closes it.
  File take(std::size_t i);

 private:
  std::vector<File> files_;
};
// Opens the files of a set named as writewholefiles names them, without
// writing anything. Holding every file open while it compares them with
// the names and the note, it tries again while another program replaces
// the set; should that never end, every file fails with 75.
OpenSet openset(const std::vector<std::string>& names);

// The whole of an ordinary file as bytes (a missing file reads as nothing,
// as a record file that is opened and found empty), read under the lock
// openwhole takes. Throws FileError when
// the file cannot be read, is a folder, pipe, device or view of the system
// (/proc), or is larger than any data file (6, overflow).
std::string readwholefile(const std::string& name);
// Size in bytes of an existing file; FileError when it cannot be read.
std::uintmax_t filesize(const std::string& name);

// Reads record n of a record file in one go (with the lock RecordFile
// takes): open, read, close, as RecordFile does (a missing file is created empty; a record not wholly in
// the file gives nothing), the ordinary case without a stream. The last
// file read is kept open between calls; each call still looks the name up
// afresh, so a record written in place by another program is read as it
// now stands, and a file replaced under the same name is opened anew.
std::optional<std::string> readrecord(const std::string& name, std::size_t length, long record);

// A random-access file of fixed-length records. Record n (from 1) lies at
// byte (n - 1) x length. Opening a missing file creates it empty; reading a
// record that does not lie wholly within the file gives nothing (the caller
// uses a blank record); writing the record after the last one appends it.
// Each read and write holds a lock on its record's bytes, shared for a
// read, sole for a write, so that a record read while another program
// writes it is its old or its new version, never parts of both; a lock
// not had within a few seconds fails the read or write (75). A write that
// fails leaves the file as it was: its old bytes and its old length.
// A file that may only be read is opened for reading. The file is opened
// without waiting and must be an ordinary file: a folder, pipe, device or
// view of the system (/proc) is refused with FileError 75, as is a read
// that fails and a link to a missing file (nothing is created through it).
class RecordFile {
 public:
  RecordFile(const std::string& name, std::size_t length);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  std::optional<std::string> read(long record);
  void write(long record, const std::string& bytes);
  std::uintmax_t size();
  // Whole records in the file (length / record length, rounded down).
  long wholerecords() { return static_cast<long>(size() / length_); }
  void close();

 private:
  std::filesystem::path path_;
  std::size_t length_;
  int fd_ = -1;
  bool writable_ = true;
};

}  // namespace core
