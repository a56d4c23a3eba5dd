#include "trainee/model/session.h"

#include <algorithm>
#include <limits>

#include "core/drug.h"
#include "core/text.h"

namespace trainee {
namespace {

constexpr std::int16_t INT16MAX = std::numeric_limits<std::int16_t>::max();

void bump(std::int16_t& n) {
  if (n < INT16MAX) ++n;
}

}  // namespace

void Session::clear() { *this = Session(); }

core::testrecord Session::opentest(const std::string& file) {
  testcount = 0;
  testrec = 0;
  testunread = true;
  const core::testhead head = core::readtestheader(file);
  testcount = static_cast<std::int16_t>(std::min<long>(head.questions, INT16MAX));
  testunread = false;
  return head.header;
}

bool Session::nextquestion(bool test) {
  bump(questno);
  if (test && questno == testcount + 1) return false;
  if (questno > 1000) {
    questno = 1;
    ncorrect = npassed = nincorrect = 0;
  }
  return true;
}

std::optional<core::testrecord> Session::nexttestquestion(const std::string& file) {
  const long records = core::readtestheader(file).questions;
  while (testrec < records && testrec < INT16MAX) {
    core::testrecord r = core::readtestrecord(file, testrec + 2L);
    ++testrec;
    if (core::questioncomplete(r.question, r.answer)) return r;
  }
  return std::nullopt;
}

void Session::count(Verdict verdict, int modnum, ModuleCounters& run, bool& progdirty) {
  std::int16_t& session = verdict == Verdict::Pass ? npassed : verdict == Verdict::Right ? ncorrect : nincorrect;
  bump(session);
  if (modnum >= 0) {
    std::vector<std::int16_t>& module = verdict == Verdict::Pass    ? run.modpassed
                                        : verdict == Verdict::Right ? run.modcorrect
                                                                    : run.modincorrect;
    const auto n = static_cast<std::size_t>(modnum);
    if (module.size() <= n) module.resize(n + 1, 0);
    bump(module[n]);
  }
  progdirty = true;
}

std::string readfailure(const std::string& file, const core::FileError& e, const char* wayon) {
  const std::string what = file == core::DRUG_DATABASE ? "The drug database " : "The test file ";
  return what + file + " could not be read " + core::errornote(e) + "." + wayon;
}

StatusCounts Session::status(bool test) const {
  return {.questno = questno,
          .testcount = testcount,
          .ncorrect = ncorrect,
          .nincorrect = nincorrect,
          .npassed = npassed,
          .test = test};
}

}  // namespace trainee
