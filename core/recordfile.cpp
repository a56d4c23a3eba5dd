// Record files: reads and writes of one record in place, each under a
// lock on the record's bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/errors.h"
#include "core/files.h"
#include "core/filesys.h"

namespace core {

using namespace filesys;

namespace {
// Reads length bytes at offset under a shared lock on them (the one read
// loop of record files); nothing when the file does not hold them whole.
std::optional<std::string> readlocked(int fd, const std::filesystem::path& p, std::uintmax_t offset,
                                      std::size_t length) {
  const RangeLock lock(fd, F_RDLCK, offset, length);
  if (!lock.held()) throwlocked(p);
  std::string bytes(length, '\0');
  const long long got = readfully(fd, bytes.data(), length, static_cast<long long>(offset));
  if (got < 0) {
    const int err = errno;
    throw FileError(ErrPathFileAccess, "read failed: " + describe(p) + ": " + std::strerror(err));
  }
  // Cut short: the file ends before the record does.
  if (static_cast<std::size_t>(got) < length) return std::nullopt;
  return bytes;
}

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
  std::optional<std::string> got;
  try {
    got = readlocked(f.fd, p, offset, length);
  } catch (const FileError&) {
    f.drop();
    throw;
  }
  if (!got) return Quick::Beyond;
  bytes = std::move(*got);
  return Quick::Read;
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
  return readlocked(fd_, path_, offset, length_);
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
