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
// The header record's values: the title in the first 40 characters of the
// question field, the description in the first 200 of the help field, the
// instructions in the 1000 after it.
inline constexpr std::size_t TEST_TITLE_WIDTH = 40;
inline constexpr std::size_t TEST_DESCRIPTION_WIDTH = 200;
inline constexpr std::size_t TEST_INSTRUCTIONS_WIDTH = 1000;

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

// A question is complete when neither its text nor its answer is blank
// (blanks only: a text of line breaks is not blank). Both programs judge a
// test's records by this: the trainee's test walk skips the others, the
// tool's editor will not move on from one.
bool questioncomplete(const std::string& question, const std::string& answer);

// Questions in a test file of the given length: whole records after the
// header, never below 0.
long testquestioncount(std::uintmax_t filelength);

// The header of a test file (blank for a file shorter than one record) and
// the number of whole question records after it. The file is only read (a
// missing one is created empty, as opening any record file does). Throws
// FileError when it is not an ordinary readable file.
struct testhead {
  testrecord header;
  long questions = 0;
};
testhead readtestheader(const std::string& file);

// Reads record n of a test file (created empty when missing); a record that
// does not lie wholly within the file reads blank.
testrecord readtestrecord(const std::string& file, long recno);
void writetestrecord(const std::string& file, long recno, const testrecord& r);

// The test files of a folder: ordinary, not hidden, with the extension
// "vqt" in any mix of capitals: "a.VQT" is listed as "a.vqt" is, although
// the file system tells the two names apart. Sorted by name, so that the order does not depend on the order in
// which the file system happens to list the folder.
std::vector<std::string> listtestfiles(const std::filesystem::path& folder);

}  // namespace core
