// Shared pieces of the core tests: scripted and seeded draws, and a fresh
// working folder for each test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>

#include "core/errors.h"
#include "core/filefaults.h"
#include "core/files.h"
#include "core/random.h"

namespace testsupport {

// A scripted sequence of draws, installed for the life of the object.
struct Script {
  core::ScriptedRandom random;
  explicit Script(std::initializer_list<float> draws) : random(draws) { core::setrng(&random); }
  ~Script() { core::setrng(nullptr); }
};

// Unscripted draws from a fixed seed, put back when the test ends.
struct Seeded {
  core::SystemRandom random;
  explicit Seeded(unsigned seed) : random(seed) { core::setrng(&random); }
  ~Seeded() { core::setrng(nullptr); }
};

// The number of the FileError that op throws; 0 when it throws none.
inline int errorof(const std::function<void()>& op) {
  try {
    op();
  } catch (const core::FileError& e) {
    return e.number();
  }
  return 0;
}

// The names in the folder, hidden ones included: a temporary file left
// behind shows here.
inline std::vector<std::string> names(const std::filesystem::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// Each test runs in a fresh working folder of its own.
class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("dosavo_" + std::string(info->test_suite_name()) + "_" + std::to_string(::getpid()) + "_" +
            info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    core::setworkdir(dir_);
  }
  void TearDown() override {
    core::setworkdir({});
    std::filesystem::remove_all(dir_);
  }
  void put(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string get(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path dir_;
};

}  // namespace testsupport
