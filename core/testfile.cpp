#include "core/testfile.h"

#include <algorithm>
#include <system_error>

#include "core/files.h"
#include "core/text.h"

namespace core {

std::string testrecord::encode() const {
  std::string out;
  out.reserve(TEST_RECORD_LENGTH);
  out += fixwidth(question, TEST_QUESTION_WIDTH);
  out += fixwidth(help, TEST_HELP_WIDTH);
  out += fixwidth(answer, TEST_ANSWER_WIDTH);
  return out;
}

testrecord testrecord::decode(const std::string& bytes) {
  const std::string in = fixwidth(bytes, TEST_RECORD_LENGTH);
  testrecord r;
  r.question = in.substr(0, TEST_QUESTION_WIDTH);
  r.help = in.substr(TEST_QUESTION_WIDTH, TEST_HELP_WIDTH);
  r.answer = in.substr(TEST_QUESTION_WIDTH + TEST_HELP_WIDTH, TEST_ANSWER_WIDTH);
  return r;
}

std::string testrecord::title() const { return trim(question); }

std::string testrecord::description() const {
  return trim(std::string_view(help).substr(0, std::min(help.size(), TEST_DESCRIPTION_WIDTH)));
}

std::string testrecord::instructions() const {
  if (help.size() <= TEST_DESCRIPTION_WIDTH) return std::string();
  return trim(std::string_view(help).substr(TEST_DESCRIPTION_WIDTH, TEST_INSTRUCTIONS_WIDTH));
}

double testrecord::includeflag() const { return val(answer); }

testrecord testrecord::header(const std::string& title, const std::string& description,
                              const std::string& instructions, int include) {
  testrecord r;
  // The title is held in a 40-character field: a longer one is cut.
  r.question = fixwidth(fixwidth(trim(title), TEST_TITLE_WIDTH), TEST_QUESTION_WIDTH);
  r.help = fixwidth(description, TEST_DESCRIPTION_WIDTH) + fixwidth(instructions, TEST_INSTRUCTIONS_WIDTH);
  r.answer = fixwidth(numtext(include), TEST_ANSWER_WIDTH);
  return r;
}

testrecord testrecord::item(const std::string& question, const std::string& help,
                            const std::string& answer) {
  testrecord r;
  r.question = fixwidth(trim(question), TEST_QUESTION_WIDTH);
  r.help = fixwidth(trim(help), TEST_HELP_WIDTH);
  r.answer = fixwidth(trim(answer), TEST_ANSWER_WIDTH);
  return r;
}

long testquestioncount(std::uintmax_t filelength) {
  const std::uintmax_t records = filelength / TEST_RECORD_LENGTH;
  return records == 0 ? 0 : static_cast<long>(records - 1);
}

bool questioncomplete(const std::string& question, const std::string& answer) {
  return !trim(question).empty() && !trim(answer).empty();
}

testhead readtestheader(const std::string& file) {
  RecordFile f(file, TEST_RECORD_LENGTH);
  testhead h;
  if (const auto bytes = f.read(1)) h.header = testrecord::decode(*bytes);
  h.questions = std::max(0L, f.wholerecords() - 1);
  return h;
}

testrecord readtestrecord(const std::string& file, long recno) {
  const auto bytes = readrecord(file, TEST_RECORD_LENGTH, recno);
  return bytes ? testrecord::decode(*bytes) : testrecord::blank();
}

void writetestrecord(const std::string& file, long recno, const testrecord& r) {
  RecordFile f(file, TEST_RECORD_LENGTH);
  f.write(recno, r.encode());
}

std::vector<std::string> listtestfiles(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path where = folder.empty() ? fs::path(".") : folder;
  fs::directory_iterator it(where, ec);
  if (ec) return names;
  // Stepped with an error code: a folder whose listing fails part-way
  // gives the tests listed so far.
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const fs::directory_entry& entry = *it;
    std::error_code fec;
    if (!entry.is_regular_file(fec)) continue;
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden
    if (name.size() < 4) continue;
    if (core::upper(name.substr(name.size() - 4)) != ".VQT") continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace core
