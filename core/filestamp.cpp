#include "core/filestamp.h"

#include <sys/stat.h>

#include "core/errors.h"
#include "core/files.h"

namespace core {

FileStamp filestamp(const std::string& name) {
  struct stat st {};
  if (name.empty() || ::stat(datapath(name).c_str(), &st) != 0) return {};
  return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size)};
}

void requireunchanged(const std::string& name, const FileStamp& counted) {
  if (filestamp(name) != counted) throw FileChanged(datapath(name).string() + ": changed by another program");
}

}  // namespace core
