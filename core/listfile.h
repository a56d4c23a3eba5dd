// Text list files read and written item by item.
//
// Reading: blanks before an item are skipped; an item ends at a comma or at
// the end of a line; an item in double quotes runs to the closing quote and
// keeps commas and blanks. An empty line read as a number gives 0.
// Writing: items joined by one comma, texts in double quotes (no escape),
// numbers as bare decimal integers, lines ended by carriage return and line feed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// The file is read as the items are taken, in little memory. An item is
// kept to its first characters up to a limit; the rest of a longer one is
// passed over.
class ItemReader {
 public:
  // The longest item kept unless the caller asks for less.
  static constexpr std::size_t MAX_ITEM = 4096;
  // The largest list file read: several times what the largest of them
  // holds (32,767 index entries or categories, a school's ID list), so
  // that a huge file cannot hold a program up item by item.
  static constexpr std::size_t MAX_FILE = std::size_t{4} << 20;

  // Opens the file without waiting (a pipe of that name never blocks);
  // FileError 53 when it is missing (76 when its folder is missing too),
  // 75 when it is not an ordinary file (a view of the system such as /proc
  // included) or is larger than MAX_FILE, another number when it cannot be
  // opened for reading. A file that gives more bytes than its size said
  // when it was opened is no ordinary file either: its reads fail there.
  explicit ItemReader(const std::string& name);
  // Reads a file already open for reading, which the reader now owns and
  // closes (also when it is refused as too large).
  ItemReader(int fd, const std::string& name);
  // Reads from a text already in memory.
  static ItemReader fromtext(std::string text);
  ItemReader(ItemReader&& other) noexcept;
  ItemReader& operator=(ItemReader&& other) noexcept;
  ItemReader(const ItemReader&) = delete;
  ItemReader& operator=(const ItemReader&) = delete;
  ~ItemReader();

  // At the end of the file. After a read of the file fails, the next
  // item() reports the failure and the reader is at its end.
  bool eof();
  // The next item, kept to its first limit characters; FileError 62 when
  // the file is at its end, 75 when a read of the file fails (after which
  // the reader is at its end).
  std::string item(std::size_t limit = MAX_ITEM);
  // The next item read as a number (its leading number; empty gives 0).
  double number();

 private:
  ItemReader() = default;
  int peek();
  void next() { ++pos_; }
  bool fill();
  int fd_ = -1;
  std::size_t left_ = 0;  // bytes the file may still give
  std::string buffer_;
  std::size_t pos_ = 0;
  bool failed_ = false;
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
