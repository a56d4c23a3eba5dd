// Data files are opened by bare name in the working folder: the current
// folder in the product, a fresh temporary folder in the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace core {

// The folder that bare file names are resolved in (empty: the current folder).
void setworkdir(const std::filesystem::path& folder);
const std::filesystem::path& workdir();
// A name resolved in the working folder; an absolute name stays as it is.
std::filesystem::path datapath(const std::string& name);
// The error number for a file that does not exist: 53 (file not found) when
// its folder exists, 76 (path not found) when the folder is missing too.
int missingfileerror(const std::filesystem::path& file);

// Appends text to a file, creating it when missing (the append mode of the
// log files). Throws FileError with the error number on failure.
void appendtext(const std::string& name, const std::string& text);
// Opens a file for appending and closes it again, creating it when missing.
void touchappend(const std::string& name);
// Replaces a whole file by the given bytes, creating it when missing.
// Throws FileError with the error number on failure.
void writewholefile(const std::string& name, const std::string& bytes);
// Size in bytes of an existing file; FileError when it cannot be read.
std::uintmax_t filesize(const std::string& name);

// Reads record n of a record file in one go: open, read, close, as
// RecordFile does (a missing file is created empty; a record not wholly in
// the file gives nothing), the ordinary case without a stream. Each call
// opens the file afresh, so a change between two reads is always seen.
std::optional<std::string> readrecord(const std::string& name, std::size_t length, long record);
// Reads the whole of a record file in one go, opened as RecordFile opens it:
// a missing file is created empty first, a folder of that name fails with
// error 75, and anything but an ordinary file (a pipe) reads as empty
// without waiting. Throws FileError with the error number on failure.
std::string readrecordfile(const std::string& name);

// A random-access file of fixed-length records. Record n (from 1) lies at
// byte (n - 1) x length. Opening a missing file creates it empty; reading a
// record that does not lie wholly within the file gives nothing (the caller
// uses a blank record); writing the record after the last one appends it.
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
  std::fstream file_;
};

}  // namespace core
