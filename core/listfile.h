// Text list files read and written item by item.
//
// Reading: blanks before an item are skipped; an item ends at a comma or at
// the end of a line; an item in double quotes runs to the closing quote and
// keeps commas and blanks. An empty line read as a number gives 0.
// Writing: items joined by one comma, texts in double quotes (no escape),
// numbers as bare decimal integers, lines ended by carriage return and line feed.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The file is read as the items are taken, so a file of any size is read
// in little memory. An item is kept to its first MAX_ITEM characters; the
// rest of a longer one is passed over.
class ItemReader {
 public:
  static constexpr std::size_t MAX_ITEM = 65536;

  // Opens the file; FileError 53 when it is missing (76 when its folder is
  // missing too), another number when it cannot be read.
  explicit ItemReader(const std::string& name);
  // Reads from a text already in memory.
  static ItemReader fromtext(std::string text);

  bool eof() const;
  // The next item; FileError 62 when the file is at its end.
  std::string item();
  // The next item read as a number (its leading number; empty gives 0).
  double number();

 private:
  explicit ItemReader(std::unique_ptr<std::istream> in);
  int peek() const;
  void next();
  std::unique_ptr<std::istream> in_;
};

// One line of items: texts quoted, numbers bare, joined by commas, ended by CR LF.
class ItemWriter {
 public:
  ItemWriter& text(std::string_view t);
  ItemWriter& number(long long n);
  // The finished line with its line end; the writer starts a new line.
  std::string line();

 private:
  std::string line_;
  bool first_ = true;
};

}  // namespace core
