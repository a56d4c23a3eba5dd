// Pieces shared by the parts of the file layer (reading, whole-file and
// set writing, record files); not for use outside it.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/filefaults.h"

namespace core::filesys {

// Record numbers are whole numbers of 32 bits at most.
constexpr std::uintmax_t MAX_RECORD_NUMBER = 2147483646;
// The largest file read whole into memory.
constexpr std::uintmax_t MAX_WHOLE_FILE = std::uintmax_t{512} << 20;

WriteFaults& faults();
// True when this is the step a fault counts down to.
bool faulthere(int& nth);

std::string describe(const std::filesystem::path& p);
[[noreturn]] void throwopenerror(const std::filesystem::path& p, int err);
[[noreturn]] void throwlocked(const std::filesystem::path& p);
[[noreturn]] void throwwritefailure(const std::filesystem::path& p, int err);

// A file of the kernel's own file systems (/proc, /sys): never data.
bool systemview(int fd);
bool systemfs(const std::filesystem::path& p);
// An ordinary file that is no view of the system; fills st.
bool ordinary(int fd, struct stat& st);
// Only an ordinary file is read or written: anything else is refused (and
// closed) as a file that cannot be opened, and so is a view of the system
// unless the caller allows one (an append, whose writes fail by themselves).
struct stat requireordinary(int fd, const std::filesystem::path& p, bool allowviews = false);

// openread of a path already resolved in the working folder.
int openpath(const std::filesystem::path& p);

// Reads length bytes at offset (or from the file's position when offset
// is negative), until the end of the file; gives the bytes read, or -1
// with errno when a read fails.
long long readfully(int fd, char* to, std::size_t length, long long offset);
// Writes all bytes at offset (or at the file's position when offset is
// negative), each piece cut short where failafter says the disk fills up;
// 0 or the errno of the write that failed.
int putdown(int fd, std::string_view bytes, long long offset, const std::optional<std::size_t>& failafter);

// Takes (F_RDLCK shared, F_WRLCK sole) or drops (F_UNLCK) an open file
// description lock on [start, start + length) (length 0: to the end and
// beyond), waiting a bounded time; false when it was not had.
bool lockrange(int fd, short type, std::uintmax_t start, std::uintmax_t length);

// A lock held for the life of the object.
class RangeLock {
 public:
  RangeLock(int fd, short type, std::uintmax_t start, std::uintmax_t length)
      : fd_(fd), start_(start), length_(length), held_(lockrange(fd, type, start, length)) {}
  ~RangeLock();
  RangeLock(const RangeLock&) = delete;
  RangeLock& operator=(const RangeLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_;
  std::uintmax_t start_, length_;
  bool held_;
};

// Flushes a folder so that the names made or changed in it last; 0 or the
// errno of the failure.
int syncfolder(const std::filesystem::path& dir);

}  // namespace core::filesys
