#include "trainee/model/session.h"

#include <algorithm>
#include <limits>

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
  const core::testhead head = core::readtestheader(file);
  testcount = static_cast<std::int16_t>(std::min<long>(head.questions, INT16MAX));
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

std::optional<TestQuestion> Session::nexttestquestion(const std::string& file, core::testrecord& buffer) {
  const long records = core::readtestheader(file).questions;
  while (testrec < records) {
    ++testrec;
    buffer = core::readtestrecord(file, testrec + 1L);
    TestQuestion q{core::trim(buffer.question), core::trim(buffer.answer), core::trim(buffer.help)};
    if (core::questioncomplete(q.question, q.answer)) return q;
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

StatusCounts Session::status(bool test) const {
  return {.questno = questno,
          .testcount = testcount,
          .ncorrect = ncorrect,
          .nincorrect = nincorrect,
          .npassed = npassed,
          .test = test};
}

}  // namespace trainee
