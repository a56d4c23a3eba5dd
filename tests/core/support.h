// Shared pieces of the core tests: scripted and seeded draws, and a fresh
// working folder for each test.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

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

// A sole lock on bytes [start, start + length) of a file (0: to the end),
// held for the life of the object through a descriptor of its own, as a
// program that hangs while it writes holds it: the lock of one descriptor
// keeps out every other, in this process as in any other, so each read or
// write of those bytes waits its whole time and then fails, every time.
class HeldLock {
 public:
  HeldLock(const std::filesystem::path& file, off_t start, off_t length)
      : fd_(::open(file.c_str(), O_RDWR | O_CLOEXEC)) {
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = start;
    l.l_len = length;
    held_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &l) == 0;
  }
  ~HeldLock() { release(); }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;
  bool held() const { return held_; }
  void release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    held_ = false;
  }

 private:
  int fd_;
  bool held_ = false;
};
// Runs check in a child process as an unprivileged user: as nobody, to
// whom the paths are given, when the tests run as root (for whom no file
// is read-only), else as the user. Gives the child's exit status: 0 when
// check held, 1 when it did not, 2 when it threw, -1 when there is no user
// to drop to.
inline int unprivileged(const std::vector<std::filesystem::path>& give, const std::function<bool()>& check) {
  const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
  if (::geteuid() == 0 && nobody == nullptr) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    if (nobody != nullptr) {
      for (const auto& p : give)
        if (::chown(p.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) ::_exit(3);
      if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(3);
    }
    int status = 2;
    try {
      status = check() ? 0 : 1;
    } catch (...) {
    }
    ::_exit(status);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
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
