// File and data failures carry fixed numbers, which messages show and
// handlers test ("There was an error number 62").
#pragma once

#include <stdexcept>
#include <string>

namespace core {

enum ErrorNumber : int {
  ErrOverflow = 6,
  ErrSubscript = 9,
  ErrTypeMismatch = 13,
  ErrBadFileName = 52,  // bad file name or number; also reading a file that is not open
  ErrFileNotFound = 53,
  ErrBadFileMode = 54,
  ErrDiskFull = 61,  // a full disk, or the user's quota used up
  ErrInputPastEnd = 62,
  ErrPermission = 70,
  ErrPathFileAccess = 75,
  ErrPathNotFound = 76,
};

class FileError : public std::runtime_error {
 public:
  FileError(int number, const std::string& what)
      : std::runtime_error(what), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// A log file that is a symbolic link: it is refused rather than followed,
// since a link could send one student's entry into another's file.
class LinkRefused : public FileError {
 public:
  explicit LinkRefused(const std::string& what) : FileError(ErrPathFileAccess, what) {}
};

// A lock that another program held for longer than a read or write waits
// for: a writer that hangs, a backup tool. Trying again later may succeed.
class LockHeld : public FileError {
 public:
  explicit LockHeld(const std::string& what) : FileError(ErrPathFileAccess, what) {}
};

// A write by record number refused because the file is no longer the one
// that was counted: another program replaced, lengthened or shortened it
// since. Nothing was written; the file is to be read again.
class FileChanged : public FileError {
 public:
  explicit FileChanged(const std::string& what) : FileError(ErrPathFileAccess, what) {}
};

// The error number for a failed file operation, from the system's errno:
// a full disk or quota 61, a refusal (permission, a read-only disk) 70.
int errnoerror(int err);

// What the user can do about a failure of that number, for a message:
// "the disk is full" for 61, "writing is not allowed there" for 70, empty
// for the rest.
std::string errorcause(int number);
// What a message puts after the operation that failed: the number and its
// cause in brackets, "(error 61: the disk is full)", "(error 62: the file
// ends too soon)". For a failure the number alone does not tell (a lock
// held too long, a file another program changed), the cause is the
// failure's own.
std::string errornote(int number);
std::string errornote(const FileError& e);

}  // namespace core
