#include "core/convert.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"

namespace core {
namespace {

constexpr std::size_t LINEWIDTH = 40;  // the scale and the marker line

std::string unitname(const SharedTables& t, int prefix, int quantity) {
  return t.prefixname[prefix] + t.baseunit[quantity];
}

// Position of a prefix on the ladder of the metric scale: kilo .. milli keep
// their index, micro stands three steps below milli.
int ladder(int prefix) { return prefix == 8 ? 10 : prefix; }

std::string metricscale(const std::string& s) {
  std::string line;
  line += NBSP;
  line += "k" + s + "  h" + s + "  da" + s + " " + s + "   d" + s + "  c" + s + "  m" + s + "  -   -   ";
  line += MICRO;
  line += s;
  line += NBSP;
  return line;
}

// A star under the given unit, a number under each step taken and the total
// under the desired unit.
std::string markerline(int from, int to) {
  const int pf = ladder(from);
  const int pt = ladder(to);
  const int n = std::abs(pt - pf);
  std::string line(static_cast<std::size_t>(4 * std::min(pf, pt) - 4), NBSP);
  if (pf < pt) {
    line += " * > ";
    for (int k = 1; k < n; ++k) line += numtext(k) + " > ";
    line += numtext(n) + "*";
  } else if (pf > pt) {
    line += "*" + numtext(n);
    for (int k = 1; k < n; ++k) line += " < " + numtext(n - k);
    line += " < * ";
  }
  if (line.size() < LINEWIDTH) line.append(LINEWIDTH - line.size(), NBSP);
  return line;
}

}  // namespace

double convertvalue(const SharedTables& t, double value, int fromprefix, int toprefix) {
  return value * prefixvalue(t, fromprefix) / prefixvalue(t, toprefix);
}

void convertunits(const SharedTables& t, double value, int fromprefix, int quantity,
                  double& result, int toprefix, std::string& explanation) {
  const bool shortform = explanation == "short";
  const double fromfactor = prefixvalue(t, fromprefix);
  const double tofactor = prefixvalue(t, toprefix);
  result = value * fromfactor / tofactor;
  const double ratio = fromfactor / tofactor;
  const std::string from = unitname(t, fromprefix, quantity) + "s";
  const std::string to = unitname(t, toprefix, quantity) + "s";
  const std::string amount = numtext(value);
  const std::string br(crlf);

  std::string e;
  e.reserve(shortform ? 160 : 900);
  e += "To convert " + amount + " " + from + " to " + to + br;
  e += "the computer used the following formula:" + br;
  e += br;
  e += amount + " " + from + " X " + numtext(ratio) + " = " + numtext(result) + " " + to;
  if (shortform) {
    explanation = std::move(e);
    return;
  }
  std::string sentence;
  decimalmoved(ratio, sentence);
  const std::string rule(45, '-');
  e += br;
  e += br;
  e += sentence + br;
  e += br;
  e += rule + br;
  e += "To work out how many decimal places to move:" + br;
  e += "1. Write the metric scale" + br;
  e += "2. Identify the two units in the problem" + br;
  e += "3. Count the number of units from the unit given to the unit desired" + br;
  e += "4. Move the decimal point the number of places from the given unit to the desired unit" + br;
  e += br;
  e += "For example to convert from " + from + " to " + to + ":" + br;
  e += br;
  e += metricscale(t.basesymbol[quantity]) + br;
  e += markerline(fromprefix, toprefix) + br;
  e += rule;
  explanation = std::move(e);
}

void decimalmoved(double ratio, std::string& sentence) {
  const std::string digits = plaintext(ratio);
  const auto places = std::count(digits.begin(), digits.end(), '0');
  const char* direction = ratio >= 1 ? "right" : "left";
  sentence = "The decimal place has been moved " + numtext(static_cast<long long>(places)) +
             " places to the " + direction + ".";
}

}  // namespace core
