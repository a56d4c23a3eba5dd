#include <cmath>

#include "core/convert.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

namespace core {

bool metricquestion(CoreState& state, std::string& question, double& answer, double& amount,
                    Key& /*unused*/, std::string& helptext) {
  using dosage::drawn;
  const SharedTables& t = state.tables;
  const bool tool = state.build == Build::Tool;
  // Without all metric units only the bare unit, milli and micro are asked.
  static constexpr int common[3] = {4, 7, 8};

  rng().reseed();
  const int Z = drawn(3);
  // The explanation is left in the mode text; it never reads "short", so
  // every pass writes the long form.
  std::string mode;
  for (int pass = 0; pass < MAXPASSES; ++pass) {
    rng().reseed();
    int F = 0, T = 0;
    if (state.settings.allmetric != 0) {
      F = drawn(8);
      T = drawn(8);
    } else {
      F = common[drawn(3) - 1];
      T = common[drawn(3) - 1];
    }
    if (T == F) continue;
    rng().reseed();
    const double N = std::floor(static_cast<double>(rng().rnd()) * 100000 + 1);
    const double V = N * prefixvalue(t, T);
    amount = V;
    convertunits(t, V, F, Z, answer, T, mode);
    // An answer of more than 9 characters in its Str form is not asked.
    if (strform(answer).size() > 9) continue;

    const bool abbreviated = state.settings.abbreviations != 0;
    const std::string from = abbreviated ? t.prefixsymbol[F] + t.basesymbol[Z] : t.prefixname[F] + t.baseunit[Z];
    const std::string to = abbreviated ? t.prefixsymbol[T] + t.basesymbol[Z] : t.prefixname[T] + t.baseunit[Z];
    if (tool)
      question = std::string(crlf) + "Convert " + numtext(V) + " " + from + "s to " + to + "s.";
    else
      question = "Convert " + numtext(V) + " " + from + " to " + to + ".";
    helptext = mode;
    return true;
  }
  question.clear();
  helptext.clear();
  return false;
}

}  // namespace core
