// A private working folder for one fuzz target, made once per process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/files.h"

namespace fuzzing {

inline const std::filesystem::path& folder() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "dosavo_fuzz_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    core::setworkdir(pattern);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(core::workdir(), ec);
    });
    return std::filesystem::path(pattern);
  }();
  return dir;
}

inline void put(const std::string& name, const std::string& bytes) {
  std::ofstream out(folder() / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fuzzing
