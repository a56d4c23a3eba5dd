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
// A row that offers up to this many doses has each of them checked before
// it is drawn; the doses of a larger one are left to the dose draws.
constexpr double CHECKEDDOSES = 1000;

// A dose that is at least the lowest single dose. The two are worked out
// differently (whole increments, a unit conversion), so a dose that prints
// as the lowest dose may fall a rounding error short of it.
bool atleast(double dose, double lowest) { return dose >= lowest - std::abs(lowest) * 1e-12; }

// The doses one fluid row offers: m whole increments for m = 1 to n, the
// increments that fit in the volume limit.
struct FluidDoses {
  double L = 0, H = 0;    // lowest and highest single dose, in the unit of the highest
  double increment = 0;   // the dose step, in that unit
  double S = 0;           // the row's stock strength, in that unit
  double vol = 0;         // the millilitres that hold it
  double n = 0;           // the number of whole increments in 5 ml (oral) or 3 ml (injection)

  double answer(double D) const { return D / S * vol; }
  // A dose is asked when it lies within the single-dose range, both ends
  // included, and its answer is a positive number of millilitres that a
  // student can type (data such as a volume too small for a double to
  // divide can give 0 or infinity).
  bool askable(double D, double A) const {
    return std::isfinite(A) && A > 0 && D <= H && A / vol * S <= H && atleast(D, L) &&
           dosage::typeable(A);
  }
};

// Row k of state.drug as a fluid preparation; false when it holds no dose
// at all (not a fluid, no strength or volume, no increment, a dose range
// that no increment fits, units the tables do not know).
bool fluiddoses(const CoreState& state, int k, FluidDoses& x) {
  using namespace dosage;
  const drugrecord& d = state.drug;
  const auto kk = static_cast<std::size_t>(k);
  if (d.preptype[kk] < 2 || d.preptype[kk] > 10 || !(d.strength[kk] > 0) || !knownunit(d.strengthunit[kk]) ||
      !(d.volume[kk] > 0) || !std::isfinite(d.volume[kk]))
    return false;
  if (!knownunit(d.doserange[0].unit) || !knownunit(d.doserange[1].unit)) return false;
  x.increment = d.increment;
  x.H = d.doserange[1].amount;
  x.L = lowestdose(state);
  // The smallest dose is one increment: when even that exceeds the highest
  // single dose, or the lowest dose exceeds the highest, no dose will do.
  if (!(x.increment > 0) || !std::isfinite(x.increment) || !(x.increment <= x.H) || !(x.L <= x.H)) return false;
  x.S = stockstrength(state, k);
  if (!std::isfinite(x.S)) return false;
  x.vol = d.volume[kk];
  const double Q = d.preptype[kk] <= 7 ? 5 : 3;
  // A double holds the count whatever the preparation's numbers.
  x.n = std::floor(x.S / x.vol * Q / x.increment);
  return true;
}

}  // namespace

namespace dosage {

bool typeable(double answer) {
  // A cheap test first: the hundredfold answer must be close to a whole number.
  const double hundred = answer * 100;
  if (!(std::abs(hundred - std::round(hundred)) <= 1e-9 * std::max(1.0, std::abs(hundred)))) return false;
  const std::string text = numtext(answer);
  if (text.find_first_of("Ee") != std::string::npos) return false;
  const auto point = text.find('.');
  return point == std::string::npos || text.size() - point - 1 <= 2;
}

bool offersfluiddose(const CoreState& state, int k) {
  FluidDoses x;
  if (!fluiddoses(state, k, x)) return false;
  // A row that cannot hold one increment, or the lowest dose, within its
  // volume limit offers none, whether or not the drug has a lowest dose.
  if (!(x.n >= 1) || !atleast(x.n * x.increment, x.L)) return false;
  if (!(x.n <= CHECKEDDOSES)) return true;
  for (double m = 1; m <= x.n; ++m)
    if (x.askable(m * x.increment, x.answer(m * x.increment))) return true;
  return false;
}

}  // namespace dosage

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

    // The rows that offer a dose to ask; a drug without one is drawn again.
    int candidates[5];
    int count = 0;
    for (int k = 0; k < 5; ++k)
      if (offersfluiddose(state, k)) candidates[count++] = k;
    if (count == 0) continue;
    rng().reseed();
    const int k = candidates[drawn(count) - 1];
    const auto kk = static_cast<std::size_t>(k);
    FluidDoses x;
    fluiddoses(state, k, x);
    const double S = x.S;
    const double vol = x.vol;
    const double n = x.n;

    double D = 0, A = 0;
    bool fits = false;
    for (int draw = 0; draw < MAXDOSEDRAWS && !fits; ++draw) {
      // Int(r x n) + 1, the dose draw, does not reseed; the row holds at
      // least one increment.
      const double r = rng().rnd();
      const double m = std::min(std::floor(r * n) + 1, n);
      D = m * x.increment;
      A = x.answer(D);
      fits = x.askable(D, A);
    }
    if (!fits) continue;

    const int highunit = d.doserange[1].unit;
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
