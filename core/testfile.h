// Test files: fixed-length records of 2012 bytes, record 1 the header.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace core {

inline constexpr std::size_t TEST_RECORD_LENGTH = 2012;
inline constexpr std::size_t TEST_QUESTION_WIDTH = 800;
inline constexpr std::size_t TEST_HELP_WIDTH = 1200;
inline constexpr std::size_t TEST_ANSWER_WIDTH = 12;

struct testrecord {
  std::string question = std::string(TEST_QUESTION_WIDTH, ' ');
  std::string help = std::string(TEST_HELP_WIDTH, ' ');
  std::string answer = std::string(TEST_ANSWER_WIDTH, ' ');

  std::string encode() const;  // exactly 2012 bytes, fields padded or cut
  static testrecord decode(const std::string& bytes);
  static testrecord blank() { return {}; }

  // Header fields.
  std::string title() const;         // question, trimmed
  std::string description() const;   // first 200 characters of help, trimmed
  std::string instructions() const;  // last 1000 characters of help, trimmed
  double includeflag() const;        // leading number of answer
  static testrecord header(const std::string& title, const std::string& description,
                           const std::string& instructions, int include);
  static testrecord item(const std::string& question, const std::string& help,
                         const std::string& answer);
};

// Questions in a test file of the given length: whole records after the
// header, never below 0.
long testquestioncount(std::uintmax_t filelength);

// Reads record n of a test file (created empty when missing); a record that
// does not lie wholly within the file reads blank.
testrecord readtestrecord(const std::string& file, long recno);
void writetestrecord(const std::string& file, long recno, const testrecord& r);

// The test files of a folder: ordinary, not hidden, with the extension
// "vqt" in any mix of capitals. File names are case-sensitive here, so the
// extension is compared without regard to case, as the original platform
// did. Sorted by name, so that the order does not depend on the order in
// which the file system happens to list the folder.
std::vector<std::string> listtestfiles(const std::filesystem::path& folder);

}  // namespace core
