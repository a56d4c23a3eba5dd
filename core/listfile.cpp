#include "core/listfile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"

namespace core {

ItemReader::ItemReader(std::unique_ptr<std::istream> in) : in_(std::move(in)) {}

ItemReader::ItemReader(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  std::error_code ec;
  if (!std::filesystem::exists(p, ec)) throw FileError(missingfileerror(p), p.string());
  if (std::filesystem::is_directory(p, ec)) throw FileError(ErrPathFileAccess, p.string());
  errno = 0;
  auto file = std::make_unique<std::ifstream>(p, std::ios::binary);
  if (!*file) throw FileError(errno == EACCES ? ErrPermission : ErrPathFileAccess, p.string());
  in_ = std::move(file);
}

ItemReader ItemReader::fromtext(std::string text) {
  return ItemReader(std::make_unique<std::istringstream>(std::move(text), std::ios::binary));
}

// The next character without taking it; EOF at the end of the file (or
// where the file can no longer be read).
int ItemReader::peek() const { return in_->rdbuf()->sgetc(); }
void ItemReader::next() { in_->rdbuf()->sbumpc(); }
bool ItemReader::eof() const { return peek() == std::char_traits<char>::eof(); }

std::string ItemReader::item() {
  if (eof()) throw FileError(ErrInputPastEnd, "input past end of file");
  constexpr int END = std::char_traits<char>::eof();
  while (peek() == ' ' || peek() == '\t') next();
  std::string out;
  auto keep = [&](int c) {
    if (out.size() < MAX_ITEM) out += static_cast<char>(c);
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
  if (peek() == '"') {
    next();
    for (int c = peek(); c != '"'; c = peek()) {
      if (c == END) return out;  // an unclosed quote runs to the end
      keep(c);
      next();
    }
    next();
    // Anything between the closing quote and the separator is passed over.
    while (!separator(peek())) next();
    consumeend();
    return out;
  }
  for (int c = peek(); !separator(c); c = peek()) {
    keep(c);
    next();
  }
  consumeend();
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
