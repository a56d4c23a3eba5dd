#include "core/listfile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"

namespace core {

ItemReader::ItemReader(const std::string& name) {
  if (name.empty()) throw FileError(ErrBadFileName, "empty file name");
  const auto p = datapath(name);
  std::error_code ec;
  if (!std::filesystem::exists(p, ec)) throw FileError(missingfileerror(p), p.string());
  if (std::filesystem::is_directory(p, ec)) throw FileError(ErrPathFileAccess, p.string());
  std::ifstream in(p, std::ios::binary);
  if (!in) throw FileError(errno == EACCES ? ErrPermission : ErrPathFileAccess, p.string());
  text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ItemReader ItemReader::fromtext(std::string text) {
  ItemReader r;
  r.text_ = std::move(text);
  return r;
}

std::string ItemReader::item() {
  if (eof()) throw FileError(ErrInputPastEnd, "input past end of file");
  const std::size_t n = text_.size();
  while (pos_ < n && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  std::string out;
  auto endofline = [&](std::size_t i) { return text_[i] == '\r' || text_[i] == '\n'; };
  // Consumes the separator that ends an item: a comma, or a line end
  // (CR LF, CR or LF).
  auto consumeend = [&] {
    if (pos_ >= n) return;
    if (text_[pos_] == ',') {
      ++pos_;
    } else if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < n && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    }
  };
  if (pos_ < n && text_[pos_] == '"') {
    ++pos_;
    const std::size_t close = text_.find('"', pos_);
    if (close == std::string::npos) {
      out = text_.substr(pos_);
      pos_ = n;
      return out;
    }
    out = text_.substr(pos_, close - pos_);
    pos_ = close + 1;
    // Anything between the closing quote and the separator is passed over.
    while (pos_ < n && text_[pos_] != ',' && !endofline(pos_)) ++pos_;
    consumeend();
    return out;
  }
  const std::size_t start = pos_;
  while (pos_ < n && text_[pos_] != ',' && !endofline(pos_)) ++pos_;
  out = rtrim(std::string_view(text_).substr(start, pos_ - start));
  consumeend();
  return out;
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
