#include "trainee/model/testreading.h"

#include <cstdint>

#include "core/drug.h"
#include "core/files.h"
#include "core/text.h"

namespace trainee {

TestIntro readtestintro(const std::string& file) {
  TestIntro intro;
  intro.header = core::readtestrecord(file, 1);
  intro.questions = core::testquestioncount(core::filesize(file));
  return intro;
}

std::optional<core::testrecord> nexttestquestion(const std::string& file, std::int16_t& testrec) {
  // The file's length now: a teacher may have added or removed questions
  // since the last one was read.
  const long records = core::testquestioncount(core::filesize(file));
  while (testrec < records && testrec < INT16_MAX) {
    core::testrecord r = core::readtestrecord(file, testrec + 2L);
    ++testrec;
    if (!core::trim(r.question).empty() && !core::trim(r.answer).empty()) return r;
  }
  return std::nullopt;
}

std::string readfailure(const std::string& file, const core::FileError& e, const char* wayon) {
  const std::string what = file == core::DRUG_DATABASE ? "The drug database " : "The test file ";
  return what + file + " could not be read " + core::errornote(e) + "." + wayon;
}

}  // namespace trainee
