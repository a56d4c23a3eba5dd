// Which file a name names, and how long it is: what an editor that writes
// records by number notes when it counts a file's records, so that before
// each such write it can tell whether another program has replaced,
// lengthened or shortened the file since. A record written by number into
// a file counted by someone else lands on the wrong record, or past the end.
#pragma once

#include <cstdint>
#include <string>

namespace core {

struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0, inode = 0, size = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a name (resolved in the working folder) names now;
// a link counts as the file it names. A name that names no file has a stamp
// that exists is false for.
FileStamp filestamp(const std::string& name);

// Throws FileChanged when the file name names is not the one stamped.
void requireunchanged(const std::string& name, const FileStamp& counted);

}  // namespace core
