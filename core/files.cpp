#include "core/files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "core/errors.h"

namespace core {

namespace {
// Record numbers are whole numbers of 32 bits at most.
constexpr std::uintmax_t MAX_RECORD_NUMBER = 2147483646;
// The largest file read whole into memory.
constexpr std::uintmax_t MAX_WHOLE_FILE = std::uintmax_t{512} << 20;

std::filesystem::path& folder() {
  static std::filesystem::path f;
  return f;
}

std::string describe(const std::filesystem::path& p) { return p.string(); }
}  // namespace

int errnoerror(int err) {
  switch (err) {
    case ENOENT: return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return ErrPermission;
    case EISDIR:
    case ETXTBSY:
    case EBUSY: return ErrPathFileAccess;
    case ENAMETOOLONG:
    case EINVAL: return ErrBadFileName;
    case ENOTDIR: return ErrPathNotFound;
    default: return ErrPathFileAccess;
  }
}

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

namespace {
[[noreturn]] void throwopenerror(const std::filesystem::path& p, int err) {
  const int number = err == ENOENT ? missingfileerror(p) : errnoerror(err);
  throw FileError(number, describe(p) + ": " + std::strerror(err));
}

// Files of the kernel's own file systems (a process's memory, system
// settings) look like ordinary files but are views of the running system:
// never data.
bool systemfs(const struct statfs& fs) {
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

bool systemview(int fd) {
  struct statfs fs {};
  return ::fstatfs(fd, &fs) == 0 && systemfs(fs);
}

bool ordinary(int fd, struct stat& st) { return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !systemview(fd); }

// Only an ordinary file is read or written: a pipe, a device or a folder
// of that name is refused as a file that cannot be opened, and so is a
// view of the system unless its reads are left to fail by themselves
// (item by item reads report a read that fails part-way).
struct stat requireordinary(int fd, const std::filesystem::path& p, bool allowviews = false) {
  struct stat st {};
  if (allowviews ? ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) : ordinary(fd, st)) return st;
  ::close(fd);
  throw FileError(ErrPathFileAccess, describe(p) + ": not an ordinary file");
}

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

// A file to be read whole: an ordinary file, and no bigger than any data
// file of either program comes near (a bigger one, a sparse one say, is
// refused rather than read into memory).
struct stat requirewhole(int fd, const std::filesystem::path& p) {
  const struct stat st = requireordinary(fd, p);
  if (static_cast<std::uintmax_t>(st.st_size) > MAX_WHOLE_FILE) {
    ::close(fd);
    throw FileError(ErrOverflow, describe(p) + ": too large");
  }
  return st;
}
}  // namespace

int openwhole(const std::string& name) {
  const int fd = openread(name);
  requirewhole(fd, datapath(name));
  return fd;
}

int openread(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throwopenerror(p, errno);
  requireordinary(fd, p, true);
  return fd;
}

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

namespace {
// Bytes a whole-file write may put down before it fails as a full disk
// would; unset in the product.
std::optional<std::size_t>& failafter() {
  static std::optional<std::size_t> bytes;
  return bytes;
}

void writeall(int fd, std::string_view bytes, const std::filesystem::path& p) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t chunk = bytes.size() - done;
    if (failafter()) {
      if (done >= *failafter()) throw FileError(errnoerror(ENOSPC), "write failed: " + describe(p));
      chunk = std::min(chunk, *failafter() - done);
    }
    const ssize_t w = ::write(fd, bytes.data() + done, chunk);
    if (w < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      throw FileError(errnoerror(err), "write failed: " + describe(p) + ": " + std::strerror(err));
    }
    done += static_cast<std::size_t>(w);
  }
}
}  // namespace

void failwholewritesafter(std::optional<std::size_t> bytes) { failafter() = bytes; }

namespace {
// The file a whole-file write replaces: the name itself, or for a symbolic
// link the file the link finally names, so that the link stays and the
// file it names gets the new bytes. A link to a missing file (or a loop of
// links) is refused, as cp refuses to write through a dangling link:
// nothing is created at a place the link's maker may not have meant.
std::filesystem::path replacedfile(const std::filesystem::path& p) {
  struct stat ls {};
  if (::lstat(p.c_str(), &ls) != 0 || !S_ISLNK(ls.st_mode)) return p;
  std::error_code ec;
  auto target = std::filesystem::canonical(p, ec);
  if (ec) throw FileError(ErrPathFileAccess, describe(p) + ": a link to a missing file");
  return target;
}

// Creates a temporary file beside target under a name no other writer
// uses (the process, a counter and the time, made exclusive by O_EXCL),
// with the mode a new file gets (0666 less the umask). Gives the
// descriptor and sets temp to its name; -1 with errno on failure.
int createtemp(const std::filesystem::path& target, std::string& temp) {
  static std::atomic<unsigned long> serial{0};
  // Kept well within the longest file name, whatever the target's length.
  const std::string stem = target.filename().string().substr(0, 180);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string name = "." + stem + "." + std::to_string(::getpid()) + "." +
                             std::to_string(++serial) + "." + std::to_string(now % 1000000) + ".tmp";
    temp = (target.parent_path() / name).string();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// A new file written and flushed beside the file it is to replace.
struct Prepared {
  std::filesystem::path target;
  std::string temp;
};

Prepared prepare(const std::string& name, std::string_view bytes) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = replacedfile(datapath(name));
  // The target must be an ordinary file that may be written: a folder, a
  // pipe, a device or a view of the system is never replaced, and a
  // read-only file stays so.
  struct stat old {};
  const bool exists = ::stat(p.c_str(), &old) == 0;
  if (exists) {
    struct statfs fs {};
    if (!S_ISREG(old.st_mode) || (::statfs(p.c_str(), &fs) == 0 && systemfs(fs)))
      throw FileError(ErrPathFileAccess, describe(p) + ": not an ordinary file");
    if (::access(p.c_str(), W_OK) != 0) {
      const int err = errno;
      throw FileError(errnoerror(err), describe(p) + ": " + std::strerror(err));
    }
  }
  std::string temp;
  const int fd = createtemp(p, temp);
  if (fd < 0) {
    const int err = errno;
    throw FileError(err == ENOENT ? missingfileerror(p) : errnoerror(err), describe(p) + ": " + std::strerror(err));
  }
  bool open = true;
  try {
    // A replaced file keeps its mode and, where allowed, its owner; a new
    // one has the mode the temporary file was created with.
    if (exists) {
      if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // The file keeps the mode it was created with.
      }
      if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only the owner's own groups, or root, may give the file away.
      }
    }
    writeall(fd, bytes, p);
    if (::fsync(fd) != 0) throw FileError(ErrPathFileAccess, "flush failed: " + describe(p));
    open = false;
    if (::close(fd) != 0) throw FileError(ErrPathFileAccess, "close failed: " + describe(p));
  } catch (...) {
    if (open) ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  return {p, temp};
}

void replace(const Prepared& f) {
  if (::rename(f.temp.c_str(), f.target.c_str()) != 0) {
    const int err = errno;
    ::unlink(f.temp.c_str());
    throw FileError(errnoerror(err), describe(f.target) + ": " + std::strerror(err));
  }
  // The rename itself is made lasting by flushing the folder.
  const std::string dir = f.target.parent_path().empty() ? std::string(".") : f.target.parent_path().string();
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}
}  // namespace

void writewholefile(const std::string& name, const std::string& bytes) { writewholefiles({{name, bytes}}); }

void writewholefiles(std::initializer_list<std::pair<std::string, std::string_view>> files) {
  // Every new file is complete on disk before the first old one goes: the
  // new bytes go to temporary files beside the targets, which are flushed
  // and then renamed over them, so each target is either its old file or
  // the new one, never a part of either.
  std::vector<Prepared> ready;
  try {
    for (const auto& [name, bytes] : files) ready.push_back(prepare(name, bytes));
  } catch (...) {
    for (const Prepared& f : ready) ::unlink(f.temp.c_str());
    throw;
  }
  for (std::size_t i = 0; i < ready.size(); ++i) {
    try {
      replace(ready[i]);
    } catch (...) {
      for (std::size_t j = i + 1; j < ready.size(); ++j) ::unlink(ready[j].temp.c_str());
      throw;
    }
  }
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
  const struct stat st = requirewhole(fd, p);
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int err = errno;
      ::close(fd);
      throw FileError(errnoerror(err), "read failed: " + describe(p));
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  ::close(fd);
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

enum class Quick { Read, Beyond, Other };

// The record file read last, kept open between reads, with the identity
// of the file it was opened on.
struct OpenRecordFile {
  std::string path;
  int fd = -1;
  dev_t device = 0;
  ino_t inode = 0;
  void drop() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    path.clear();
  }
  ~OpenRecordFile() { drop(); }
};

OpenRecordFile& lastrecordfile() {
  static OpenRecordFile f;
  return f;
}

// The ordinary case: an existing ordinary file, read at the record's
// offset. The name is looked up at every read; the descriptor kept from the
// last read is used while the name still names the same file, so a record
// written in place is read as it now stands and a file replaced by a new
// one under the same name is opened afresh. Anything else (a missing file,
// which opening a record file creates; a folder or other thing of that
// name; a file that cannot be opened for reading; a bad record number) is
// left to RecordFile, which gives the same records and the same failures.
Quick quickread(const std::filesystem::path& p, std::size_t length, long record, std::string& bytes) {
  if (record < 1 || length == 0) return Quick::Other;
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return Quick::Other;
  OpenRecordFile& f = lastrecordfile();
  if (f.fd < 0 || f.device != st.st_dev || f.inode != st.st_ino || f.path != p.native()) {
    f.drop();
    // Not blocking: a pipe put in place of the file must not wait for a writer.
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Quick::Other;
    if (!ordinary(fd, st)) {
      ::close(fd);
      return Quick::Other;
    }
    f.fd = fd;
    f.path = p.native();
    f.device = st.st_dev;
    f.inode = st.st_ino;
  }
  const auto index = static_cast<std::uintmax_t>(record - 1);
  const auto offset = index * length;
  if (index > MAX_RECORD_NUMBER || offset + length > static_cast<std::uintmax_t>(st.st_size)) return Quick::Beyond;
  bytes.assign(length, '\0');
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got = ::pread(f.fd, bytes.data() + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int err = errno;
      f.drop();
      throw FileError(ErrPathFileAccess, "read failed: " + p.string() + ": " + std::strerror(err));
    }
    if (got == 0) break;  // cut short: no whole record
    done += static_cast<std::size_t>(got);
  }
  return done == length ? Quick::Read : Quick::Beyond;
}

}  // namespace

std::optional<std::string> readrecord(const std::string& name, std::size_t length, long record) {
  if (!name.empty()) {
    std::string bytes;
    switch (quickread(datapath(name), length, record, bytes)) {
      case Quick::Read: return bytes;
      case Quick::Beyond: return std::nullopt;
      case Quick::Other: break;
    }
  }
  RecordFile f(name, length);
  return f.read(record);
}

namespace {
// Opens a record file for reading and writing, or for reading alone when
// it may not be written. A missing file is created empty, but never
// through a link to a missing file. Not blocking: a pipe of that name
// must not wait for a writer.
int openrecordfile(const std::filesystem::path& p, bool& writable) {
  constexpr int FLAGS = O_NONBLOCK | O_CLOEXEC;
  writable = true;
  int fd = ::open(p.c_str(), O_RDWR | FLAGS);
  if (fd < 0 && errno == ENOENT) {
    fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_EXCL | FLAGS, 0666);
    if (fd < 0 && errno == EEXIST) {
      struct stat ls {};
      if (::lstat(p.c_str(), &ls) == 0 && S_ISLNK(ls.st_mode))
        throw FileError(ErrPathFileAccess, describe(p) + ": a link to a missing file");
      fd = ::open(p.c_str(), O_RDWR | FLAGS);  // made meanwhile by another program
    }
    if (fd < 0) throwopenerror(p, errno);
  }
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)) {
    // A read-only file can still be read.
    writable = false;
    fd = ::open(p.c_str(), O_RDONLY | FLAGS);
  }
  if (fd < 0) throwopenerror(p, errno);
  requireordinary(fd, p);
  return fd;
}
}  // namespace

RecordFile::RecordFile(const std::string& name, std::size_t length)
    : path_(datapath(name)), length_(length) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  fd_ = openrecordfile(path_, writable_);
}

RecordFile::~RecordFile() { close(); }

void RecordFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::uintmax_t RecordFile::size() {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
  return static_cast<std::uintmax_t>(st.st_size);
}

std::optional<std::string> RecordFile::read(long record) {
  if (fd_ < 0) throw FileError(ErrBadFileName, "file not open");
  if (record < 1) throw FileError(ErrBadFileName, "bad record number");
  // A record number so large that its offset is past any file lies beyond
  // the end (and must not wrap round to a small offset).
  if (static_cast<std::uintmax_t>(record - 1) > MAX_RECORD_NUMBER) return std::nullopt;
  const auto offset = static_cast<std::uintmax_t>(record - 1) * length_;
  if (offset + length_ > size()) return std::nullopt;
  std::string bytes(length_, '\0');
  std::size_t done = 0;
  while (done < length_) {
    const ssize_t got = ::pread(fd_, bytes.data() + done, length_ - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int err = errno;
      throw FileError(ErrPathFileAccess, "read failed: " + describe(path_) + ": " + std::strerror(err));
    }
    if (got == 0) return std::nullopt;  // the file shrank meanwhile: no whole record
    done += static_cast<std::size_t>(got);
  }
  return bytes;
}

void RecordFile::write(long record, const std::string& bytes) {
  if (fd_ < 0) throw FileError(ErrBadFileName, "file not open");
  if (record < 1 || static_cast<std::uintmax_t>(record - 1) > MAX_RECORD_NUMBER)
    throw FileError(ErrBadFileName, "bad record number");
  if (!writable_) throw FileError(ErrPermission, "write failed: " + describe(path_) + " is read-only");
  std::string out = bytes;
  out.resize(length_, ' ');
  const auto offset = static_cast<std::uintmax_t>(record - 1) * length_;
  std::size_t done = 0;
  while (done < length_) {
    const ssize_t w = ::pwrite(fd_, out.data() + done, length_ - done, static_cast<off_t>(offset + done));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      const int err = w < 0 ? errno : ENOSPC;
      throw FileError(ErrPermission, "write failed: " + describe(path_) + ": " + std::strerror(err));
    }
    done += static_cast<std::size_t>(w);
  }
}

}  // namespace core
