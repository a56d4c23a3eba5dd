// Paths, error numbers, the checks a file passes before it is used, locks,
// and reading and appending.
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "core/errors.h"
#include "core/files.h"
#include "core/filesys.h"

namespace core {

int errnoerror(int err) {
  switch (err) {
    case ENOENT: return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return ErrPermission;
    case ENOSPC:
    case EDQUOT: return ErrDiskFull;
    case EISDIR:
    case ETXTBSY:
    case EBUSY: return ErrPathFileAccess;
    case ENAMETOOLONG:
    case EINVAL: return ErrBadFileName;
    case ENOTDIR: return ErrPathNotFound;
    default: return ErrPathFileAccess;
  }
}

std::string errorcause(int number) {
  switch (number) {
    case ErrDiskFull: return "the disk is full";
    case ErrPermission: return "writing is not allowed there";
    default: return "";
  }
}

namespace {
std::filesystem::path& folder() {
  static std::filesystem::path f;
  return f;
}
}  // namespace

void setworkdir(const std::filesystem::path& f) { folder() = f; }
const std::filesystem::path& workdir() { return folder(); }

std::filesystem::path datapath(const std::string& name) {
  if (folder().empty()) return std::filesystem::path(name);
  return folder() / std::filesystem::path(name);
}

int missingfileerror(const std::filesystem::path& file) {
  const auto parent = file.parent_path();
  std::error_code ec;
  if (parent.empty() || std::filesystem::is_directory(parent, ec)) return ErrFileNotFound;
  return ErrPathNotFound;
}

namespace filesys {

WriteFaults& faults() {
  static WriteFaults f;
  return f;
}

bool faulthere(int& nth) { return nth > 0 && --nth == 0; }

std::string describe(const std::filesystem::path& p) { return p.string(); }

void throwopenerror(const std::filesystem::path& p, int err) {
  const int number = err == ENOENT ? missingfileerror(p) : errnoerror(err);
  throw FileError(number, describe(p) + ": " + std::strerror(err));
}

void throwlocked(const std::filesystem::path& p) {
  throw LockHeld(p.string() + ": in use by another program for too long");
}

void throwwritefailure(const std::filesystem::path& p, int err) {
  throw FileError(errnoerror(err), "write failed: " + describe(p) + ": " + std::strerror(err));
}

namespace {
// Files of the kernel's own file systems (a process's memory, system
// settings) look like ordinary files but are views of the running system:
// never data.
bool systemtype(const struct statfs& fs) {
  switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC: return true;
    default: return false;
  }
}
}  // namespace

bool systemview(int fd) {
  struct statfs fs {};
  return ::fstatfs(fd, &fs) == 0 && systemtype(fs);
}

bool systemfs(const std::filesystem::path& p) {
  struct statfs fs {};
  return ::statfs(p.c_str(), &fs) == 0 && systemtype(fs);
}

bool ordinary(int fd, struct stat& st) { return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !systemview(fd); }

struct stat requireordinary(int fd, const std::filesystem::path& p, bool allowviews) {
  struct stat st {};
  if (allowviews ? ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) : ordinary(fd, st)) return st;
  ::close(fd);
  throw FileError(ErrPathFileAccess, describe(p) + ": not an ordinary file");
}

long long readfully(int fd, char* to, std::size_t length, long long offset) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got = offset < 0 ? ::read(fd, to + done, length - done)
                                   : ::pread(fd, to + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;  // the end of the file
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long long>(done);
}

int putdown(int fd, std::string_view bytes, long long offset, const std::optional<std::size_t>& failafter) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t chunk = bytes.size() - done;
    if (failafter) {
      if (done >= *failafter) return faults().error;
      chunk = std::min(chunk, *failafter - done);
    }
    const ssize_t w = offset < 0 ? ::write(fd, bytes.data() + done, chunk)
                                 : ::pwrite(fd, bytes.data() + done, chunk, static_cast<off_t>(offset + done));
    if (w < 0 && errno == EINTR) continue;
    if (w < 0) return errno;
    if (w == 0) return ENOSPC;
    done += static_cast<std::size_t>(w);
  }
  return 0;
}

namespace {
// How long a lock is waited for. Our programs hold one for a record's read
// or write, or a whole file's read: far less than this, even on a file
// server. A lock held longer is a program that hangs, and waiting for it
// for ever would hang this one too.
constexpr std::chrono::microseconds LOCK_WAIT = std::chrono::seconds(3);
constexpr std::chrono::microseconds FIRST_PAUSE(20), LONGEST_PAUSE(20000);

int setlock(int fd, struct flock& l) {
  if (faults().lockerror != 0) {
    errno = faults().lockerror;
    return -1;
  }
  return ::fcntl(fd, F_OFD_SETLK, &l);
}
}  // namespace

// These are open file description locks: held by the descriptor rather
// than the process, so two descriptors of one program exclude each other
// as two programs do, and on NFS and SMB they are the byte-range locks that
// the server keeps for every machine. The lock is tried again and again,
// more slowly, for LOCK_WAIT at most. A file system that
// keeps no locks at all (ENOLCK, EINVAL) is used without them.
bool lockrange(int fd, short type, std::uintmax_t start, std::uintmax_t length) {
  struct flock l {};
  l.l_type = type;
  l.l_whence = SEEK_SET;
  l.l_start = static_cast<off_t>(start);
  l.l_len = static_cast<off_t>(length);
  // The wait ends when its pauses add up to LOCK_WAIT, or sooner on the
  // clock when sleeps run over on a busy machine.
  const auto deadline = std::chrono::steady_clock::now() + LOCK_WAIT;
  std::chrono::microseconds waited(0), pause = FIRST_PAUSE;
  for (;;) {
    if (setlock(fd, l) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EACCES) return true;  // no locks here
    if (type == F_UNLCK || waited >= LOCK_WAIT) return false;
    if (!faults().sleeplesswaits && std::chrono::steady_clock::now() >= deadline) return false;
    pause = std::min(pause, LOCK_WAIT - waited);
    ++filecounts().lockpauses;
    filecounts().lockwaited += pause;
    if (!faults().sleeplesswaits) std::this_thread::sleep_for(pause);
    waited += pause;
    pause = std::min(pause * 2, LONGEST_PAUSE);
  }
}

RangeLock::~RangeLock() {
  if (held_) lockrange(fd_, F_UNLCK, start_, length_);
}

int syncfolder(const std::filesystem::path& dir) {
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened to be flushed (on some file servers) is
  // left to the server, and so is one the server cannot flush.
  if (dfd < 0) return 0;
  int err = 0;
  if (faulthere(faults().flushfolder)) {
    err = faults().error;
  } else if (::fsync(dfd) != 0) {
    err = errno;
  } else {
    ++filecounts().folderflushes;
  }
  ::close(dfd);
  return err == EINVAL || err == EROFS ? 0 : err;
}

}  // namespace filesys

using namespace filesys;

void setwritefaults(const WriteFaults& f) { faults() = f; }
void failwholewritesafter(std::optional<std::size_t> bytes) {
  faults().wholeafter = bytes;
  faults().error = EIO;
}
FileCounts& filecounts() {
  static FileCounts counts;
  return counts;
}

namespace {
// A file to be read whole: an ordinary file, and no bigger than any data
// file of either program comes near (a bigger one, a sparse one say, is
// refused rather than read into memory). It holds a shared lock over the
// whole file until it is closed; the file is refused (and closed) when the
// lock is not had.
void requirewhole(int fd, const std::filesystem::path& p) {
  const struct stat st = requireordinary(fd, p);
  if (static_cast<std::uintmax_t>(st.st_size) > MAX_WHOLE_FILE) {
    ::close(fd);
    throw FileError(ErrOverflow, describe(p) + ": too large");
  }
  if (lockrange(fd, F_RDLCK, 0, 0)) return;
  ::close(fd);
  throwlocked(p);
}
}  // namespace

int filesys::openpath(const std::filesystem::path& p) {
  const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throwopenerror(p, errno);
  requireordinary(fd, p);
  return fd;
}

int openread(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  return openpath(datapath(name));
}

int openwhole(const std::string& name) {
  const int fd = openread(name);
  requirewhole(fd, datapath(name));
  return fd;
}

std::string readwholefile(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  // Not blocking: a pipe of that name must not wait for a writer.
  const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT) return std::string();
    throw FileError(errnoerror(err), describe(p) + ": " + std::strerror(err));
  }
  requirewhole(fd, p);
  // The size under the lock: a record appended meanwhile is read whole.
  struct stat st {};
  ::fstat(fd, &st);
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  const long long got = readfully(fd, bytes.data(), bytes.size(), -1);
  const int err = errno;
  ::close(fd);
  if (got < 0) throw FileError(errnoerror(err), "read failed: " + describe(p));
  bytes.resize(static_cast<std::size_t>(got));  // the file may have shrunk meanwhile
  return bytes;
}

std::uintmax_t filesize(const std::string& name) {
  struct stat st {};
  const auto p = datapath(name);
  if (::stat(p.c_str(), &st) != 0) {
    const int err = errno;
    throw FileError(err == ENOENT ? missingfileerror(p) : errnoerror(err), describe(p));
  }
  return static_cast<std::uintmax_t>(st.st_size);
}

namespace {
// Opens for appending with the open(2) call so that the error number is
// known; an empty name is an illegal file name. A final symbolic link is
// never followed, so no entry goes into a file the link points at and no
// file is created through a dangling link. Opening does not wait for a
// reader of a pipe.
int openappend(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  const int fd = ::open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int err = errno;
    if (err == ELOOP) throw LinkRefused(describe(p) + " is a symbolic link");
    throw FileError(errnoerror(err), describe(p) + ": " + std::strerror(err));
  }
  requireordinary(fd, p, true);
  return fd;
}
}  // namespace

void appendtext(const std::string& name, const std::string& text) {
  const int fd = openappend(name);
  struct stat before {};
  const bool sized = ::fstat(fd, &before) == 0;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t w = ::write(fd, text.data() + done, text.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      // A text written only in part (a full disk) is taken out again, so
      // that a retry does not leave a fragment before the whole text. The
      // file is cut back only while nothing but our bytes came after its
      // old end, so that another station's entry is never touched.
      struct stat now {};
      if (done > 0 && sized && ::fstat(fd, &now) == 0 &&
          static_cast<std::uintmax_t>(now.st_size) == static_cast<std::uintmax_t>(before.st_size) + done) {
        if (::ftruncate(fd, before.st_size) != 0) {
          // Nothing more can be done: the failure is reported all the same.
        }
      }
      ::close(fd);
      throw FileError(errnoerror(err), std::strerror(err));
    }
    done += static_cast<std::size_t>(w);
  }
  if (::close(fd) != 0) throw FileError(ErrPathFileAccess, "close failed");
}

void touchappend(const std::string& name) { ::close(openappend(name)); }

}  // namespace core
