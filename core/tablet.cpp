#include <algorithm>
#include <cmath>

#include "core/convert.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

namespace core {

namespace dosage {

int drawn(int n) {
  const int i = drawindex(rng().rnd(), n);
  return std::clamp(i, 1, std::max(n, 1));  // a source that gives r = 1 stays in range
}

Draw drawdrug(CoreState& state, std::int16_t& recno) {
  const auto& lists = state.lists;
  const int count = std::min<int>(lists.nselected, static_cast<int>(lists.selected.size()) - 1);
  if (count < 1) return Draw::Failed;
  rng().reseed();
  recno = lists.selected[static_cast<std::size_t>(drawn(count))];
  if (recno < 1) {
    state.drug = drugrecord::blank();
    return Draw::Unusable;
  }
  state.drug = readdrug(recno);
  return Draw::Drawn;
}

double stockstrength(const CoreState& state, int k) {
  const drugrecord& d = state.drug;
  const auto row = static_cast<std::size_t>(k);
  if (d.strengthunit[row] == d.doserange[1].unit) return d.strength[row];
  return convertvalue(state.tables, d.strength[row], d.strengthunit[row] + 1, d.doserange[1].unit + 1);
}

double lowestdose(const CoreState& state) {
  const drugrecord& d = state.drug;
  if (d.doserange[0].unit == d.doserange[1].unit) return d.doserange[0].amount;
  return convertvalue(state.tables, d.doserange[0].amount, d.doserange[0].unit + 1, d.doserange[1].unit + 1);
}

std::string stockexplanation(const CoreState& state, int k) {
  const drugrecord& d = state.drug;
  const auto row = static_cast<std::size_t>(k);
  if (d.strengthunit[row] == d.doserange[1].unit) return "";
  std::string explanation = "short";
  double stock = 0;
  convertunits(state.tables, d.strength[row], d.strengthunit[row] + 1, 2, stock,
               d.doserange[1].unit + 1, explanation);
  return explanation;
}

std::string ending(const CoreState& state) { return state.build == Build::Tool ? "'s" : "s"; }

}  // namespace dosage

void pickdrugname(CoreState& state) {
  const drugrecord& d = state.drug;
  if (state.settings.genericnames != -1) {
    state.drugname = rtrim(d.genericname);
    return;
  }
  std::string_view names[3] = {d.genericname, {}, {}};
  int count = 1;
  for (const auto& trade : d.tradename)
    if (!rtrim(trade).empty()) names[count++] = trade;
  rng().reseed();
  state.drugname = rtrim(names[dosage::drawn(count) - 1]);
}

bool tabletquestion(CoreState& state, std::string& question, double& answer,
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
    const int lowunit = d.doserange[0].unit;
    const int highunit = d.doserange[1].unit;
    const double H = d.doserange[1].amount;
    // A dose range in an unknown unit or without a positive highest dose
    // admits no dose at all.
    if (!knownunit(lowunit) || !knownunit(highunit) || !(H > 0) || !std::isfinite(H)) continue;

    int candidates[5];
    int count = 0;
    for (int k = 0; k < 5; ++k)
      if ((d.preptype[k] == 0 || d.preptype[k] == 1) && d.strength[k] > 0 &&
          knownunit(d.strengthunit[k]))
        candidates[count++] = k;
    if (count == 0) continue;  // no tablet or capsule: draw another drug
    rng().reseed();
    const int k = candidates[drawn(count) - 1];
    const auto kk = static_cast<std::size_t>(k);

    const double S = stockstrength(state, k);
    const double L = lowestdose(state);
    const double q = std::floor(H / S);
    const int n = q <= 5 ? static_cast<int>(q) : 5;

    rng().reseed();
    const int m = drawn(n);  // 1 when n is 0
    const double D = d.halve[kk] == 1 ? m * S / 2 : m * S;
    const double A = D / S;
    const bool converted = d.strengthunit[kk] != highunit;
    // Both bounds are inclusive; a dose that is not a number is never within.
    if ((!converted && A == 1) || !(A * S >= L && A * S <= H)) continue;

    pickdrugname(state);
    const std::string N = state.drugname;
    const std::string E = stockexplanation(state, k);
    const std::string& P = t.prepname[static_cast<std::size_t>(d.preptype[kk])];
    const std::string& Y = t.prefixsymbol[static_cast<std::size_t>(highunit + 1)];
    const int su = d.strengthunit[kk] + 1;
    const bool abbreviated = state.settings.abbreviations != 0;
    std::string U = abbreviated ? Y + "g" : t.prefixname[static_cast<std::size_t>(highunit + 1)] + "gram";
    const std::string V = abbreviated ? t.prefixsymbol[su] + "g" : t.prefixname[su] + "gram";
    if (D != 1) U += abbreviated ? ending(state) : "s";
    const std::string S0 = numtext(d.strength[kk]);
    const std::string Dtext = numtext(D);

    question = tool ? br : "";
    question += "A client is ordered " + Dtext + " " + U + " of " + N + (tool ? ". " : "." + br);
    question += S0 + " " + V + " " + P + "s are available." + br;
    question += "How many " + P + "s will you give?";

    std::string h;
    h.reserve(question.size() + E.size() + 600);
    h += "The question was:" + (tool ? "" : br) + question + br;
    h += br;
    h += "The formula to use is:" + br;
    h += br;
    h += "Required dose" + br;
    h += std::string(23, '-') + br;
    h += "Stock dose" + br;
    if (!tool) h += br;
    h += "= Number of " + P + "s to be given" + br;
    h += br;
    if (!E.empty()) {
      h += "All units must be the same so the units of the stock dose is first converted to the "
           "units of the required dose: " + br;
      h += E + br;
      h += br;
    }
    h += "The numbers are now placed in the formula:" + br;
    h += br;
    h += Dtext + " " + Y + "g (required dose)" + br;
    h += std::string(37, '-') + br;
    h += numtext(S) + " " + Y + "g (stock dose)" + br;
    h += br;
    h += " = " + numtext(A) + " " + P + "s";
    helptext = std::move(h);

    answer = A;
    recno = R;
    row = static_cast<std::int16_t>(k);
    // The tablet module's drug label: the name and the stock line.
    state.drugname = N + br + br + S0 + " " + t.prefixsymbol[su] + "g " + P + "s";
    return true;
  }
  return false;
}

}  // namespace core
