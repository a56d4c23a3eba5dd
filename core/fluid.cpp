#include <algorithm>
#include <cmath>

#include "core/convert.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

namespace core {

namespace {
// The most dose draws for one drug before another drug is drawn.
constexpr int MAXDOSEDRAWS = 10000;
}  // namespace

bool fluidquestion(CoreState& state, std::string& question, double& answer,
                   std::string& helptext, std::int16_t& recno, std::int16_t& row) {
  using namespace dosage;
  const SharedTables& t = state.tables;
  const bool tool = state.build == Build::Tool;
  const std::string br(crlf);
  question.clear();
  helptext.clear();
  answer = 0;
  recno = 0;
  row = 0;

  for (int pass = 0; pass < MAXPASSES; ++pass) {
    std::int16_t R = 0;
    const Draw got = drawdrug(state, R);
    if (got == Draw::Failed) return false;
    if (got == Draw::Unusable) continue;
    const drugrecord& d = state.drug;
    const int highunit = d.doserange[1].unit;
    const double increment = d.increment;
    // Doses are whole increments: without a positive increment there is none.
    if (!knownunit(highunit) || !(increment > 0) || !std::isfinite(increment)) continue;

    // Fluid rows of positive strength; a row without a volume holds no dose.
    int candidates[5];
    int count = 0;
    for (int k = 0; k < 5; ++k)
      if (d.preptype[k] >= 2 && d.preptype[k] <= 10 && d.strength[k] > 0 &&
          knownunit(d.strengthunit[k]) && d.volume[k] > 0 && std::isfinite(d.volume[k]))
        candidates[count++] = k;
    if (count == 0) continue;
    rng().reseed();
    const int k = candidates[drawn(count) - 1];
    const auto kk = static_cast<std::size_t>(k);

    const double S = stockstrength(state, k);
    if (!std::isfinite(S)) continue;
    const double H = d.doserange[1].amount;
    const double vol = d.volume[kk];
    const double Q = d.preptype[kk] <= 7 ? 5 : 3;
    // The number of whole increments that fit into Q millilitres; a double
    // holds it whatever the preparation's numbers.
    const double n = std::floor(S / vol * Q / increment);

    // The smallest dose is one increment: when even that exceeds the
    // highest single dose no dose of this drug will do.
    if (!(increment <= H)) continue;
    double D = 0, A = 0;
    bool fits = false;
    for (int draw = 0; draw < MAXDOSEDRAWS && !fits; ++draw) {
      // Int(r x n) + 1, the dose draw, does not reseed (1 when n is 0).
      const double r = rng().rnd();
      const double m = n >= 1 ? std::min(std::floor(r * n) + 1, n) : 1;
      D = m * increment;
      A = D / S * vol;
      // A question is asked only for a dose within the highest single dose
      // and an answer that is a positive number of millilitres (data such
      // as a volume too small for a double to divide can give 0 or
      // infinity).
      fits = std::isfinite(A) && A > 0 && D <= H && A / vol * S <= H;
    }
    if (!fits) continue;

    pickdrugname(state);
    const std::string& N = state.drugname;
    const std::string E = stockexplanation(state, k);
    const auto type = static_cast<std::size_t>(d.preptype[kk]);
    const std::string& P = t.prepname[type];
    const std::string& T = t.preproute[type];
    const std::string& Y = t.prefixsymbol[static_cast<std::size_t>(highunit + 1)];
    const int su = d.strengthunit[kk] + 1;
    const bool abbreviated = state.settings.abbreviations != 0;
    const std::string plural = abbreviated ? ending(state) : "s";
    std::string U = abbreviated ? Y + "g" : t.prefixname[static_cast<std::size_t>(highunit + 1)] + "gram";
    if (D != 1) U += plural;
    std::string V = abbreviated ? t.prefixsymbol[su] + "g" : t.prefixname[su] + "gram";
    if (d.strength[kk] != 1) V += plural;
    const std::string mls = abbreviated ? (tool ? "ml's" : "mls") : "millilitres";
    const std::string W = vol <= 1 ? (abbreviated ? "ml" : "millilitre") : mls;
    const std::string& M = mls;
    const std::string S0 = numtext(d.strength[kk]);
    const std::string Dtext = numtext(D);
    const std::string vtext = numtext(vol);

    question = tool ? br : "";
    question += "A client is ordered " + Dtext + " " + U + " of " + N + " " + T + (tool ? ". " : "." + br);
    question += S0 + " " + V + " in " + vtext + " " + W + " of " + P + " is available." + br;
    question += "How many " + M + " will you administer?";

    const std::string X = " X " + vtext + " ml";
    const std::string G(X.size(), NBSP);
    std::string h;
    h.reserve(question.size() + E.size() + 600);
    h += "The question was:" + (tool ? "" : br) + question + br;
    h += br;
    h += "The formula to use is:" + br;
    h += br;
    h += "Required dose      Stock Volume" + br;
    h += std::string(21, '-') + "  X  " + std::string(20, '-') + br;
    h += "Stock dose" + std::string(21, ' ') + "1" + std::string(7, ' ') + NBSP + br;
    if (!tool) h += br;
    h += "= Volume to be given" + br;
    h += br;
    if (!E.empty()) {
      h += "All units must be the same so the units of the stock dose is first converted to the "
           "units of the required dose: " + br;
      h += E + br;
      h += br;
    }
    h += "The numbers are now placed in the formula:" + br;
    h += br;
    h += Dtext + " " + Y + "g (required dose)" + G + br;
    h += std::string(37, '-') + X + br;
    h += numtext(S) + " " + Y + "g (stock dose)" + G + br;
    h += br;
    h += " = " + numtext(D / S) + " X " + vtext + " = " + numtext(A) + " ml.";
    helptext = std::move(h);

    answer = A;
    recno = R;
    row = static_cast<std::int16_t>(k);
    return true;
  }
  return false;
}

}  // namespace core
