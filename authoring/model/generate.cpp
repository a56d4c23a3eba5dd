#include "authoring/model/generate.h"

#include <algorithm>

#include "core/askagain.h"
#include "core/drug.h"
#include "core/errors.h"
#include "core/random.h"
#include "core/text.h"

namespace authoring {

bool countkeypasses(int code) { return !((code >= 33 && code <= 47) || (code >= 58 && code <= 127)); }

std::vector<int> tickedkinds(const std::array<bool, 4>& ticked) {
  std::vector<int> kinds;
  for (int i = 0; i < 4; ++i)
    if (ticked[static_cast<std::size_t>(i)]) kinds.push_back(i + 1);
  return kinds;
}

Made makequestion(core::CoreState& state, int questiontype, const std::function<bool(int)>& categoryticked) {
  Made m;
  if (questiontype < 1 || questiontype > 4) return m;
  const auto kind = static_cast<core::QuestionKind>(questiontype);
  if (kind == core::QuestionKind::Tablet || kind == core::QuestionKind::Fluid) {
    if (!core::collectcandidates(state.lists, kind, categoryticked)) {
      m.message = kind == core::QuestionKind::Tablet ? core::NOTABLETS : core::NOFLUIDS;
      return m;
    }
  }
  std::string question;
  double answer = 0;
  bool made = false;
  try {
    made = core::makeunrepeated(state, kind, question, answer);
  } catch (const core::FileError& e) {
    // A drug record that cannot be read is told as the failure it is.
    m.message = "The drug database " + std::string(core::DRUG_DATABASE) + " could not be read " +
                core::errornote(e) + ".";
    return m;
  }
  if (!made) {
    // The data gave no question at all (an unusable database): the same
    // message as when no drug qualifies, since the teacher's remedy is the same.
    if (kind == core::QuestionKind::Tablet) m.message = core::NOTABLETS;
    else if (kind == core::QuestionKind::Fluid) m.message = core::NOFLUIDS;
    else m.message = "No question could be made.";
    return m;
  }
  // The drop-rate text is the same in both programs; the tool's question
  // texts all begin on a new line.
  if (kind == core::QuestionKind::Droprate) question = std::string(core::crlf) + question;
  // As the editor's boxes store it: each field cut to its width, blanks
  // removed at both ends.
  m.rec = core::testrecord::item(core::fixwidth(question, core::TEST_QUESTION_WIDTH),
                                 core::fixwidth(state.helptext, core::TEST_HELP_WIDTH),
                                 core::fixwidth(core::numtext(answer), core::TEST_ANSWER_WIDTH));
  m.made = true;
  return m;
}

BatchPlan planbatch(const std::string& countbox, std::int16_t numquest, std::int16_t qno, bool boxesempty) {
  BatchPlan p;
  const double v = core::val(countbox);
  p.count = v >= 1 && v < 1e9 ? static_cast<long>(v) : 1;
  p.numquest = numquest == 1 && qno == 1 && boxesempty ? 0 : numquest;
  if (p.numquest + p.count > MAXGENERATED) {
    p.count = std::max<long>(0, MAXGENERATED - p.numquest);
    p.cut = true;
  }
  return p;
}

BatchEnd runbatch(TestDocument& doc, const BatchPlan& plan, const std::vector<int>& kinds,
                  const std::function<Made(int kind)>& make, const std::function<void()>& shown) {
  BatchEnd end;
  doc.numquest = plan.numquest;
  for (long i = 0; i < plan.count && !kinds.empty(); ++i) {
    core::rng().reseed();
    const int k = core::drawindex(core::rng().rnd(), static_cast<int>(kinds.size()));
    doc.markchanged();
    const Made m = make(kinds[static_cast<std::size_t>(k - 1)]);
    if (!m.made) {
      end.message = m.message;
      break;
    }
    const std::int16_t before[2] = {doc.numquest, doc.qno};
    if (core::questioncomplete(m.rec.question, m.rec.answer)) {
      ++doc.numquest;
      doc.qno = doc.numquest;
    }
    try {
      doc.storequestion(m.rec.question, m.rec.help, m.rec.answer);
    } catch (...) {
      doc.numquest = std::max<std::int16_t>(before[0], 1);
      doc.qno = before[1];
      throw;
    }
    shown();
    ++end.made;
  }
  if (doc.numquest == 0) doc.numquest = 1;
  return end;
}

}  // namespace authoring
