#include "core/files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

std::string numberandcause(int number) {
  const std::string cause = errorcause(number);
  return std::to_string(number) + (cause.empty() ? "" : ": " + cause);
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

// How long a lock is waited for. Our programs hold one for a record's read
// or write, or a whole file's read: far less than this, even on a file
// server. A lock held longer is a program that hangs, and waiting for it
// for ever would hang this one too.
constexpr auto LOCK_WAIT = std::chrono::seconds(3);

// Takes (F_RDLCK shared, F_WRLCK sole) or drops (F_UNLCK) an advisory lock
// on the bytes [start, start + length) of an open file; length 0 runs to
// the end of the file and beyond. These are open file description locks:
// held by the descriptor rather than the process, so two descriptors of
// one program exclude each other as two programs do, and on NFS and SMB
// they are the byte-range locks that the server keeps for every machine.
// The lock is tried again and again, more slowly, until LOCK_WAIT has
// passed; false when it was not had. A file system that keeps no locks at
// all is used without them.
bool lockrange(int fd, short type, std::uintmax_t start, std::uintmax_t length) {
  struct flock l {};
  l.l_type = type;
  l.l_whence = SEEK_SET;
  l.l_start = static_cast<off_t>(start);
  l.l_len = static_cast<off_t>(length);
  const auto deadline = std::chrono::steady_clock::now() + LOCK_WAIT;
  auto pause = std::chrono::microseconds(20);
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &l) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EACCES) return true;  // no locks here (ENOLCK, EINVAL)
    if (type == F_UNLCK || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20000));
  }
}

// A lock held for the life of the object.
class RangeLock {
 public:
  RangeLock(int fd, short type, std::uintmax_t start, std::uintmax_t length)
      : fd_(fd), start_(start), length_(length), held_(lockrange(fd, type, start, length)) {}
  ~RangeLock() {
    if (held_) lockrange(fd_, F_UNLCK, start_, length_);
  }
  RangeLock(const RangeLock&) = delete;
  RangeLock& operator=(const RangeLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_;
  std::uintmax_t start_, length_;
  bool held_;
};

[[noreturn]] void throwlocked(const std::filesystem::path& p) {
  throw LockHeld(p.string() + ": in use by another program for too long");
}

// Only an ordinary file is read or written: a pipe, a device or a folder
// of that name is refused as a file that cannot be opened, and so is a
// view of the system unless the caller allows one (an append, whose
// writes fail by themselves).
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

namespace {
// A shared lock over the whole file, held until the descriptor is closed;
// the file is refused (and closed) when it is not had.
void lockwhole(int fd, const std::filesystem::path& p) {
  if (lockrange(fd, F_RDLCK, 0, 0)) return;
  ::close(fd);
  throwlocked(p);
}
}  // namespace

int openwhole(const std::string& name) {
  const int fd = openread(name);
  requirewhole(fd, datapath(name));
  lockwhole(fd, datapath(name));
  return fd;
}

int openread(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throwopenerror(p, errno);
  requireordinary(fd, p);
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
// The faults the tests put in; none in the product.
WriteFaults& faults() {
  static WriteFaults f;
  return f;
}

// True when this is the step a fault counts down to.
bool faulthere(int& nth) { return nth > 0 && --nth == 0; }

// Writes all bytes at offset (or, when offset is negative, at the file's
// position), each piece cut short where a fault says the disk fills up.
// Gives 0, or the errno of the write that failed.
int putdown(int fd, std::string_view bytes, long long offset, const std::optional<std::size_t>& failafter) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t chunk = bytes.size() - done;
    if (failafter) {
      if (done >= *failafter) return faults().error;
      chunk = std::min(chunk, *failafter - done);
    }
    const ssize_t w = offset < 0 ? ::write(fd, bytes.data() + done, chunk)
                                 : ::pwrite(fd, bytes.data() + done, chunk, static_cast<off_t>(offset) +
                                                                                  static_cast<off_t>(done));
    if (w < 0 && errno == EINTR) continue;
    if (w < 0) return errno;
    if (w == 0) return ENOSPC;
    done += static_cast<std::size_t>(w);
  }
  return 0;
}

[[noreturn]] void throwwritefailure(const std::filesystem::path& p, int err) {
  throw FileError(errnoerror(err), "write failed: " + describe(p) + ": " + std::strerror(err));
}

void writeall(int fd, std::string_view bytes, const std::filesystem::path& p) {
  if (const int err = putdown(fd, bytes, -1, faults().wholeafter)) throwwritefailure(p, err);
}

// The steps that make a new file last, each with its fault point.
int syncfile(int fd) {
  if (faulthere(faults().flushfile)) {
    errno = faults().error;
    return -1;
  }
  return ::fsync(fd);
}

// Flushes a folder, so that the names made or changed in it last; 0 or the
// errno of the failure. A folder that cannot be opened to be flushed (on
// some file servers) is left to the server.
int syncfolder(const std::filesystem::path& dir) {
  if (faulthere(faults().flushfolder)) return faults().error;
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return 0;
  int err = 0;
  if (::fsync(dfd) != 0 && errno != EINVAL && errno != EROFS) err = errno;
  ::close(dfd);
  return err;
}

int renamefile(const std::string& from, const std::filesystem::path& to) {
  if (faulthere(faults().rename)) {
    errno = faults().error;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}
}  // namespace

void setwritefaults(const WriteFaults& f) { faults() = f; }
void failwholewritesafter(std::optional<std::size_t> bytes) {
  faults().wholeafter = bytes;
  faults().error = EIO;
}

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

// This machine's name as temporary file names carry it: letters, digits
// and hyphens, at most 32 of them.
const std::string& hostmark() {
  static const std::string mark = [] {
    char buffer[256] = {};
    std::string out;
    if (::gethostname(buffer, sizeof buffer - 1) == 0)
      for (const char* c = buffer; *c != '\0' && out.size() < 32; ++c)
        if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || *c == '-')
          out += *c;
    return out.empty() ? std::string("host") : out;
  }();
  return mark;
}

// Temporary files are named "." + the target's name + ".~" + machine + "~"
// + process + "~" + counter + ".tmp", so that start-up can tell which
// machine and process wrote one. Gives the process of such a name written
// on this machine, or 0.
long tempwriter(const std::string& name) {
  constexpr std::string_view END = ".tmp";
  if (name.size() < 2 || name[0] != '.' || name.size() < END.size() ||
      name.compare(name.size() - END.size(), END.size(), END) != 0)
    return 0;
  const std::string body = name.substr(0, name.size() - END.size());
  const auto second = body.rfind('~');
  if (second == std::string::npos || second == 0) return 0;
  const auto first = body.rfind('~', second - 1);
  if (first == std::string::npos) return 0;
  const std::string counter = body.substr(second + 1), process = body.substr(first + 1, second - first - 1);
  auto digits = [](const std::string& t) {
    return !t.empty() && t.size() < 10 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const std::string mark = ".~" + hostmark();
  if (!digits(counter) || !digits(process) || first < mark.size() + 1 ||
      body.compare(first - mark.size(), mark.size(), mark) != 0)
    return 0;
  return std::stol(process);
}

// Creates a temporary file beside target under a name no other writer
// uses (machine, process and a counter, made exclusive by O_EXCL), with
// the mode a new file gets (0666 less the umask). Gives the descriptor and
// sets temp to its name; -1 with errno on failure.
int createtemp(const std::filesystem::path& target, std::string& temp) {
  static std::atomic<unsigned long> serial{0};
  // Kept well within the longest file name, whatever the target's length.
  const std::string stem = target.filename().string().substr(0, 160);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = "." + stem + ".~" + hostmark() + "~" + std::to_string(::getpid()) + "~" +
                             std::to_string(++serial % 1000000000) + ".tmp";
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
    if (syncfile(fd) != 0) {
      const int err = errno;
      throw FileError(errnoerror(err), "flush failed: " + describe(p) + ": " + std::strerror(err));
    }
    open = false;
    if (::close(fd) != 0) throw FileError(ErrPathFileAccess, "close failed: " + describe(p));
  } catch (...) {
    if (open) ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  return {p, temp};
}

// Renames the new file over its target; when that fails the temporary
// file is removed (unless it is kept to finish a set), so the target stays
// its old file.
void putinplace(const Prepared& f, bool keep = false) {
  if (renamefile(f.temp, f.target) != 0) {
    const int err = errno;
    if (!keep) ::unlink(f.temp.c_str());
    throw FileError(errnoerror(err), describe(f.target) + ": " + std::strerror(err));
  }
}

// Makes the renames in the target's folder last; a failure is reported,
// though the new file is in place by then.
void flushfolder(const std::filesystem::path& target) {
  if (const int err = syncfolder(target.parent_path()))
    throw FileError(errnoerror(err), "flush failed: " + describe(target.parent_path()) + ": " + std::strerror(err));
}

// The note of a set of files being replaced, beside the first of them:
// "." + its name + ".set", holding for each file of the set its name and
// the name of the new file that replaces it, each on a line of its own.
constexpr std::string_view NOTE_END = ".set";

std::filesystem::path notefor(const std::filesystem::path& first) {
  return first.parent_path() / ("." + first.filename().string() + std::string(NOTE_END));
}

// The note's text; empty when the set cannot have one (files of several
// folders, or a name with a line break in it).
std::string notetext(const std::vector<Prepared>& set) {
  std::string text;
  for (const Prepared& f : set) {
    const std::string target = f.target.filename().string();
    const std::string temp = std::filesystem::path(f.temp).filename().string();
    if (f.target.parent_path() != set.front().target.parent_path() ||
        target.find('\n') != std::string::npos || temp.find('\n') != std::string::npos)
      return "";
    text += target + "\n" + temp + "\n";
  }
  return text;
}

// Finishes a set from its note: every new file still there is renamed over
// its target, then the note goes. Only a new file of our naming for that
// very target is renamed: a note put there by hand renames nothing else.
// Gives the temporary files it could not rename.
std::vector<std::string> finishset(const std::filesystem::path& note) {
  std::vector<std::string> left;
  std::string text;
  try {
    // A note names a few files: anything much larger is no note of ours.
    const std::string name = std::filesystem::absolute(note).string();
    if (filesize(name) > 65536) return left;
    text = readwholefile(name);
  } catch (const FileError&) {
    return left;
  }
  const auto folder = note.parent_path();
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at));
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    const std::string& target = lines[i];
    const std::string& temp = lines[i + 1];
    const bool ours = temp.size() > target.size() + 7 && temp.compare(0, target.size() + 3, "." + target + ".~") == 0 &&
                      temp.compare(temp.size() - 4, 4, ".tmp") == 0;
    if (target.empty() || target.find('/') != std::string::npos || temp.find('/') != std::string::npos || !ours)
      continue;
    struct stat st {};
    if (::lstat((folder / temp).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::rename((folder / temp).c_str(), (folder / target).c_str()) != 0) left.push_back(temp);
  }
  if (left.empty() && syncfolder(folder) == 0 && ::unlink(note.c_str()) == 0) syncfolder(folder);
  return left;
}
}  // namespace

void writewholefile(const std::string& name, const std::string& bytes) { writewholefiles({{name, bytes}}); }

void writewholefiles(std::initializer_list<std::pair<std::string, std::string_view>> files) {
  // Every new file is complete on disk before the first old one goes: the
  // new bytes go to temporary files beside the targets, which are flushed
  // and then renamed over them, so each target is either its old file or
  // the new one, never a part of either.
  std::vector<Prepared> ready;
  auto drop = [&ready](std::size_t from) {
    for (std::size_t j = from; j < ready.size(); ++j) ::unlink(ready[j].temp.c_str());
  };
  try {
    for (const auto& [name, bytes] : files) ready.push_back(prepare(name, bytes));
  } catch (...) {
    drop(0);
    throw;
  }
  if (ready.empty()) return;
  // A set is replaced under a note that names its new files: once the note
  // lasts on disk, the set is as good as replaced, and what a failure or a
  // kill leaves undone tidyworkdir finishes. Before that, a failure leaves
  // every old file.
  const std::string note = ready.size() > 1 ? notetext(ready) : std::string();
  std::filesystem::path notepath;
  if (!note.empty()) {
    notepath = notefor(ready.front().target);
    try {
      putinplace(prepare(std::filesystem::absolute(notepath).string(), note));
      flushfolder(notepath);
    } catch (...) {
      ::unlink(notepath.c_str());
      drop(0);
      throw;
    }
  }
  for (std::size_t i = 0; i < ready.size(); ++i) {
    try {
      putinplace(ready[i], i > 0 && !notepath.empty());
    } catch (...) {
      // Nothing replaced yet: the old set stays whole. Else the note stays
      // with the files still to be renamed.
      if (i == 0 || notepath.empty()) {
        drop(i + 1);
        if (!notepath.empty()) ::unlink(notepath.c_str());
      }
      throw;
    }
  }
  flushfolder(ready.back().target);
  if (!notepath.empty()) {
    ::unlink(notepath.c_str());
    if (syncfolder(notepath.parent_path()) != 0) {
      // The set is whole; a note that comes back after a power cut names
      // no new file any more and is removed at the next start.
    }
  }
}

void tidyworkdir() {
  const std::filesystem::path dir = workdir();
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.empty() ? "." : dir.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name.size() > 1 && name[0] == '.' && name != "..") names.push_back(name);
    }
    ::closedir(d);
  }
  // Sets first: their new files are what the set is finished from.
  std::vector<std::string> kept;
  for (const std::string& name : names)
    if (name.size() > NOTE_END.size() && name.compare(name.size() - NOTE_END.size(), NOTE_END.size(), NOTE_END) == 0) {
      const auto left = finishset(datapath(name));
      kept.insert(kept.end(), left.begin(), left.end());
    }
  for (const std::string& name : names) {
    const long writer = tempwriter(name);
    if (writer <= 0 || std::find(kept.begin(), kept.end(), name) != kept.end()) continue;
    // Only a writer that is gone: a process of that number may be running
    // (ours, or another user's), and then its file stays.
    if (::kill(static_cast<pid_t>(writer), 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    const auto p = datapath(name);
    if (::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(p.c_str());
  }
}

SetState setstate(std::initializer_list<std::string> names) {
  SetState state;
  for (const std::string& name : names) {
    struct stat st {};
    if (::stat(datapath(name).c_str(), &st) == 0)
      state.files.emplace_back(static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino));
    else
      state.files.emplace_back(0, 0);
  }
  struct stat st {};
  state.replacing = names.size() > 0 && ::lstat(notefor(datapath(*names.begin())).c_str(), &st) == 0;
  return state;
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
  lockwhole(fd, p);
  // The size under the lock: a record appended meanwhile is read whole.
  struct stat st {};
  ::fstat(fd, &st);
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
  const RangeLock lock(f.fd, F_RDLCK, offset, length);
  if (!lock.held()) throwlocked(p);
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
  const RangeLock lock(fd_, F_RDLCK, offset, length_);
  if (!lock.held()) throwlocked(path_);
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
  const RangeLock lock(fd_, F_WRLCK, offset, length_);
  if (!lock.held()) throwlocked(path_);
  // What the record's bytes held before, to be put back when the write
  // fails part-way, so that a failed write leaves the file as it was.
  const std::uintmax_t before = size();
  std::string old;
  if (offset < before) {
    old.assign(static_cast<std::size_t>(std::min<std::uintmax_t>(length_, before - offset)), '\0');
    const ssize_t got = ::pread(fd_, old.data(), old.size(), static_cast<off_t>(offset));
    old.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  const int err = putdown(fd_, out, static_cast<long long>(offset), faults().recordafter);
  if (err == 0) return;
  if (!old.empty() && putdown(fd_, old, static_cast<long long>(offset), std::nullopt) != 0) {
    // Nothing more can be done: the failure is reported all the same.
  }
  // A record appended in part is taken off again: the file keeps its old
  // length, and the next write appends whole records.
  if (size() > before && ::ftruncate(fd_, static_cast<off_t>(before)) != 0) {
    // As above.
  }
  throwwritefailure(path_, err);
}

}  // namespace core
