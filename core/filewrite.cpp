// Whole files and sets of files replaced through temporary files, the
// start-up finishing and tidying of what a cut-off write left, and the
// reading of a set as one replacement left it.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <thread>

#include "core/errors.h"
#include "core/files.h"
#include "core/filesys.h"

namespace core {

using namespace filesys;

// ---- temporary names ---------------------------------------------------------

namespace {
constexpr std::string_view TEMP_END = ".tmp";

bool plainmarkchar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'; }

std::string thishost() {
  char buffer[256] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return std::string();
  return buffer;
}

// The mark that earlier versions gave this machine's temporary files: the
// name's letters, digits and hyphens, at most 32 of them. Their files are
// still known as this machine's.
std::string oldhostmark(const std::string& hostname) {
  std::string out;
  for (const char c : hostname)
    if (out.size() < 32 && plainmarkchar(c)) out += c;
  return out.empty() ? std::string("host") : out;
}

const std::string& ourmark() {
  static const std::string mark = hostmark(thishost());
  return mark;
}

bool digits(std::string_view t) {
  return !t.empty() && t.size() < 10 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}
}  // namespace

std::string hostmark(const std::string& hostname) {
  if (hostname.empty()) return "_";
  std::string out;
  for (const char c : hostname) {
    if (plainmarkchar(c)) {
      out += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "_%02X", static_cast<unsigned char>(c));
      out += hex;
    }
  }
  return out;
}

// "." + the target's name + ".~" + machine mark + "~" + process + "~" +
// counter + ".tmp", so that start-up can tell which machine and process
// wrote one. A long target's name is cut so that the whole stays within
// the longest name a folder holds.
std::string tempname(const std::string& target, const std::string& mark, long pid, unsigned long serial) {
  const std::string tail = ".~" + mark + "~" + std::to_string(pid) + "~" + std::to_string(serial % 1000000000) +
                           std::string(TEMP_END);
  const std::size_t room = NAME_MAX > tail.size() + 1 ? NAME_MAX - tail.size() - 1 : 0;
  return "." + target.substr(0, std::min<std::size_t>(room, 160)) + tail;
}

std::optional<TempName> parsetempname(const std::string& name) {
  if (name.size() < 2 + TEMP_END.size() || name[0] != '.' ||
      name.compare(name.size() - TEMP_END.size(), TEMP_END.size(), TEMP_END) != 0)
    return std::nullopt;
  const std::string body = name.substr(0, name.size() - TEMP_END.size());
  const auto second = body.rfind('~');
  if (second == std::string::npos || second == 0) return std::nullopt;
  const auto first = body.rfind('~', second - 1);
  if (first == std::string::npos || first == 0) return std::nullopt;
  const auto start = body.rfind('~', first - 1);
  if (start == std::string::npos || start < 2 || body[start - 1] != '.') return std::nullopt;
  const std::string counter = body.substr(second + 1), process = body.substr(first + 1, second - first - 1);
  if (!digits(counter) || !digits(process) || first == start + 1) return std::nullopt;
  TempName t;
  t.target = body.substr(1, start - 2);
  t.mark = body.substr(start + 1, first - start - 1);
  t.pid = std::stol(process);
  return t;
}

namespace {
// The process that wrote a temporary file of our naming on this machine
// (under this machine's mark or the one earlier versions gave it), or 0.
long tempwriter(const std::string& name) {
  const auto t = parsetempname(name);
  if (!t || (t->mark != ourmark() && t->mark != oldhostmark(thishost()))) return 0;
  return t->pid;
}

// True while a process of that number may be running: ours, or another
// user's (which kill may not even ask about).
bool mayberunning(long pid) {
  int err = faults().processerror;
  if (err == 0) err = ::kill(static_cast<pid_t>(pid), 0) == 0 ? 0 : errno;
  return err != ESRCH;
}

// Creates a temporary file beside target under a name no other writer
// uses (machine, process and a counter, made exclusive by O_EXCL), with
// the mode a new file gets (0666 less the umask). Gives the descriptor and
// sets temp to its name; -1 with errno on failure.
int createtemp(const std::filesystem::path& target, std::string& temp) {
  static std::atomic<unsigned long> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = (target.parent_path() / tempname(target.filename().string(), ourmark(), ::getpid(), ++serial)).string();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// ---- replacing a file ----------------------------------------------------------

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

// The steps that make a new file last, each with its fault point.
int syncfile(int fd) {
  if (faulthere(faults().flushfile)) {
    errno = faults().error;
    return -1;
  }
  return ::fsync(fd);
}

int renamefile(const std::string& from, const std::filesystem::path& to) {
  if (faulthere(faults().rename)) {
    errno = faults().error;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
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
    if (!S_ISREG(old.st_mode) || systemfs(p)) throw FileError(ErrPathFileAccess, describe(p) + ": not an ordinary file");
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
    if (const int err = putdown(fd, bytes, -1, faults().wholeafter)) throwwritefailure(p, err);
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

// ---- notes of sets -----------------------------------------------------------

// The note of a set of files being replaced, beside the first of them:
// "." + its name + ".set", holding for each file of the set its name and
// the name of the new file that replaces it, each on a line of its own.
constexpr std::string_view NOTE_END = ".set";
// A note names a few files: anything much larger is no note of ours.
constexpr std::uintmax_t MAX_NOTE = 65536;

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

// Which file a name names: device and inode, or nothing.
struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const Identity&) const = default;
};

Identity identityof(const struct stat& st) { return {st.st_dev, st.st_ino}; }

Identity identityat(const std::filesystem::path& p, bool follow = true) {
  struct stat st {};
  if ((follow ? ::stat(p.c_str(), &st) : ::lstat(p.c_str(), &st)) != 0) return {};
  return identityof(st);
}

// A note as read, held open so that the file it was cannot be mistaken for
// a later one: its identity, and the pairs (target, new file) it names of
// our naming, each new file for its own target; other lines are passed
// over. A note that cannot be read names nothing.
struct Note {
  int fd = -1;
  Identity identity;
  std::vector<std::pair<std::string, std::string>> pairs;
  Note() = default;
  Note(Note&& other) noexcept
      : fd(std::exchange(other.fd, -1)), identity(other.identity), pairs(std::move(other.pairs)) {}
  Note& operator=(Note&&) = delete;
  ~Note() {
    if (fd >= 0) ::close(fd);
  }
  // The new file named for target, or empty.
  std::string tempfor(const std::string& target) const {
    for (const auto& [t, temp] : pairs)
      if (t == target) return temp;
    return {};
  }
};

Note readnote(const std::filesystem::path& path) {
  Note note;
  note.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  // Only a note held open has an identity that no later note can take
  // over; one that cannot be opened (a link, say) is no note of ours and
  // is known by what its name names now.
  if (note.fd < 0) {
    if (errno != ENOENT) note.identity = identityat(path, false);
    return note;
  }
  struct stat st {};
  const bool ok = ordinary(note.fd, st);
  note.identity = identityof(st);
  if (!ok || static_cast<std::uintmax_t>(st.st_size) > MAX_NOTE) return note;
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  const long long got = readfully(note.fd, text.data(), text.size(), 0);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at));
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    const std::string& target = lines[i];
    const std::string& temp = lines[i + 1];
    const auto parsed = parsetempname(temp);
    if (target.empty() || target.find('/') != std::string::npos || temp.find('/') != std::string::npos || !parsed ||
        parsed->target != target)
      continue;
    note.pairs.emplace_back(target, temp);
  }
  return note;
}

// A new file that a note names and that is still there to be renamed: a
// regular file, never a link or anything else put there by hand.
bool newfilethere(const std::filesystem::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Finishes a set from its note: every new file still there is renamed over
// its target, then the note goes. Gives the temporary files it could not
// rename; they and the note stay for the next start.
std::vector<std::string> finishset(const std::filesystem::path& notepath) {
  std::vector<std::string> left;
  const Note note = readnote(notepath);
  if (note.fd < 0) return left;
  const auto folder = notepath.parent_path();
  for (const auto& [target, temp] : note.pairs)
    if (newfilethere(folder / temp) && renamefile((folder / temp).string(), folder / target) != 0)
      left.push_back(temp);
  if (left.empty() && syncfolder(folder) == 0 && ::unlink(notepath.c_str()) == 0) syncfolder(folder);
  return left;
}
}  // namespace

// ---- writing -------------------------------------------------------------------

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
  // lasts on disk, the set is as good as replaced (readers take the new
  // files from it), and what a failure or a kill leaves undone tidyworkdir
  // finishes. Before that, a failure leaves every old file.
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
  try {
    for (std::size_t i = 0; i < ready.size(); ++i) {
      try {
        putinplace(ready[i], i > 0 && !notepath.empty());
      } catch (...) {
        // Nothing replaced yet: the old set stays whole. Else the note stays
        // with the files still to be renamed.
        if (i == 0 || notepath.empty()) {
          drop(i + 1);
          if (!notepath.empty()) ::unlink(notepath.c_str());
          notepath.clear();
        }
        throw;
      }
    }
    flushfolder(ready.back().target);
  } catch (const FileError& e) {
    if (notepath.empty()) throw;
    throw SetUnfinished(e.number(), e.what());
  }
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
    if (writer <= 0 || std::find(kept.begin(), kept.end(), name) != kept.end() || mayberunning(writer)) continue;
    const auto p = datapath(name);
    if (newfilethere(p)) ::unlink(p.c_str());
  }
}

// ---- reading a set -------------------------------------------------------------

namespace {
std::function<void(int)>& setreadhook() {
  static std::function<void(int)> hook;
  return hook;
}

// Tries to open a set before giving up; each try fails only when another
// program renamed one of its files during the try.
constexpr int SET_TRIES = 100;
}  // namespace

void setsetreadhook(std::function<void(int)> hook) { setreadhook() = std::move(hook); }

OpenSet& OpenSet::operator=(OpenSet&& other) noexcept {
  if (this != &other) {
    for (File& f : files_)
      if (f.fd >= 0) ::close(f.fd);
    files_ = std::move(other.files_);
    other.files_.clear();
  }
  return *this;
}

OpenSet::~OpenSet() {
  for (File& f : files_)
    if (f.fd >= 0) ::close(f.fd);
}

OpenSet::File OpenSet::take(std::size_t i) {
  if (i >= files_.size()) return {-1, ErrBadFileName};
  return std::exchange(files_[i], File{-1, files_[i].error});
}

// A set is read as one replacement left it. While a committed note is
// there, each file is its new file (still under its temporary name, or
// renamed already); without one, each file is the one its name names.
// Every file is held open while the names and the note are looked at
// again: when each name (or its new file's name) still names the file
// that was opened, and the note is the one read at first, all the files
// were the set at one moment, and at that moment no note was being
// carried out other than the one followed. Files held open cannot be
// removed and their inodes reused, so the comparison is exact.
OpenSet openset(const std::vector<std::string>& names) {
  if (names.empty()) return OpenSet();
  const std::filesystem::path notepath = notefor(datapath(names.front()));
  const std::filesystem::path folder = notepath.parent_path();
  for (int attempt = 1; attempt <= SET_TRIES; ++attempt) {
    const Note note = readnote(notepath);
    if (setreadhook()) setreadhook()(0);
    std::vector<OpenSet::File> files;
    std::vector<Identity> opened;
    std::vector<std::filesystem::path> newfiles;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string temp = note.tempfor(datapath(names[i]).filename().string());
      newfiles.push_back(temp.empty() ? std::filesystem::path() : folder / temp);
      const bool fromnote = !temp.empty() && newfilethere(newfiles.back());
      const std::filesystem::path path = fromnote ? newfiles.back() : datapath(names[i]);
      OpenSet::File f;
      try {
        f.fd = openpath(path);
        struct stat st {};
        ::fstat(f.fd, &st);
        opened.push_back(identityof(st));
      } catch (const FileError& e) {
        f.error = e.number();
        opened.push_back(identityat(path));
      }
      files.push_back(f);
      if (setreadhook()) setreadhook()(static_cast<int>(i + 1));
    }
    OpenSet set(std::move(files));
    bool same = identityat(notepath, false) == note.identity;
    for (std::size_t i = 0; same && i < names.size(); ++i)
      same = identityat(datapath(names[i])) == opened[i] ||
             (!newfiles[i].empty() && opened[i] != Identity{} && identityat(newfiles[i]) == opened[i]);
    if (same) return set;
    if (attempt > 10) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Replaced again and again while it was read: no set is had.
  return OpenSet(std::vector<OpenSet::File>(names.size(), OpenSet::File{-1, ErrPathFileAccess}));
}

}  // namespace core
