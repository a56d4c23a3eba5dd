#include "core/listfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"

namespace core {

namespace {
// Bytes read from the file at a time.
constexpr std::size_t CHUNK = 65536;
}  // namespace

ItemReader::ItemReader(const std::string& name) : ItemReader(openread(name), name) {}

ItemReader::ItemReader(int fd, const std::string& name) : fd_(fd) {
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || static_cast<std::uintmax_t>(st.st_size) > MAX_FILE) {
    ::close(fd_);
    fd_ = -1;
    throw FileError(ErrPathFileAccess, name + ": too large for a list file");
  }
  left_ = static_cast<std::size_t>(st.st_size);
}

ItemReader ItemReader::fromtext(std::string text) {
  ItemReader r;
  r.buffer_ = std::move(text);
  return r;
}

ItemReader::ItemReader(ItemReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      left_(other.left_),
      buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      failed_(other.failed_) {}

ItemReader& ItemReader::operator=(ItemReader&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    left_ = other.left_;
    buffer_ = std::move(other.buffer_);
    pos_ = other.pos_;
    failed_ = other.failed_;
  }
  return *this;
}

ItemReader::~ItemReader() {
  if (fd_ >= 0) ::close(fd_);
}

// Reads the next piece of the file into the buffer; false at the end of
// the file. A read that fails (a failing disk), or one that gives more
// than the file's size, leaves the reader at its end and marked failed,
// for item() to report.
bool ItemReader::fill() {
  if (fd_ < 0) return false;
  // One byte more than the file should still hold shows one that holds more.
  const std::size_t want = std::min(CHUNK, left_ + 1);
  buffer_.resize(want);
  pos_ = 0;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data(), want);
    if (got < 0 && errno == EINTR) continue;
    if (got > 0 && static_cast<std::size_t>(got) <= left_) {
      buffer_.resize(static_cast<std::size_t>(got));
      left_ -= static_cast<std::size_t>(got);
      return true;
    }
    // The end of the file, or a read that failed: either way nothing more
    // is read.
    failed_ = got != 0;
    buffer_.clear();
    ::close(fd_);
    fd_ = -1;
    return false;
  }
}

// The next character without taking it; EOF at the end of the file (or
// where the file can no longer be read).
int ItemReader::peek() {
  if (pos_ >= buffer_.size() && !fill()) return std::char_traits<char>::eof();
  return static_cast<unsigned char>(buffer_[pos_]);
}

// A failed read still to be reported is not the end: the next item()
// reports it.
bool ItemReader::eof() { return peek() == std::char_traits<char>::eof() && !failed_; }

std::string ItemReader::item(std::size_t limit) {
  if (peek() == std::char_traits<char>::eof()) {
    if (failed_) {
      failed_ = false;  // reported once; after it the file is at its end
      throw FileError(ErrPathFileAccess, "the file could not be read");
    }
    throw FileError(ErrInputPastEnd, "input past end of file");
  }
  constexpr int END = std::char_traits<char>::eof();
  while (peek() == ' ' || peek() == '\t') next();
  std::string out;
  auto keep = [&](int c) {
    if (out.size() < limit) out += static_cast<char>(c);
  };
  auto separator = [](int c) { return c == END || c == ',' || c == '\r' || c == '\n'; };
  // Takes the separator that ends an item: a comma, or a line end (CR LF,
  // CR or LF).
  auto consumeend = [&] {
    const int c = peek();
    if (c == ',' || c == '\n') {
      next();
    } else if (c == '\r') {
      next();
      if (peek() == '\n') next();
    }
  };
  // A read that fails inside the item fails the item itself.
  auto checkfailure = [&] {
    if (!failed_) return;
    failed_ = false;
    throw FileError(ErrPathFileAccess, "the file could not be read");
  };
  if (peek() == '"') {
    next();
    for (int c = peek(); c != '"'; c = peek()) {
      if (c == END) {
        checkfailure();
        return out;  // an unclosed quote runs to the end
      }
      keep(c);
      next();
    }
    next();
    // Anything between the closing quote and the separator is passed over.
    while (!separator(peek())) next();
    consumeend();
    checkfailure();
    return out;
  }
  for (int c = peek(); !separator(c); c = peek()) {
    keep(c);
    next();
  }
  consumeend();
  checkfailure();
  return rtrim(out);
}

double ItemReader::number() { return val(item()); }

ItemWriter& ItemWriter::text(std::string_view t) {
  if (!first_) line_ += ',';
  line_ += '"';
  line_ += t;
  line_ += '"';
  first_ = false;
  return *this;
}

ItemWriter& ItemWriter::number(long long n) {
  if (!first_) line_ += ',';
  line_ += numtext(n);
  first_ = false;
  return *this;
}

std::string ItemWriter::line() {
  std::string out = line_ + "\r\n";
  line_.clear();
  first_ = true;
  return out;
}

}  // namespace core
