#include "core/tables.h"

#include "core/text.h"

namespace core {

void fillpreptables(SharedTables& t) {
  t.prepname = {"tablet", "capsule", "solution", "suspension", "Syrup", "emulsion",
                "liquid forte ", "elixir", "liquid for IM Injection", "liquid for SC Injection",
                "liquid for IV Injection"};
  t.preproute = {"", "", "orally", "orally", "orally", "orally", "orally", "orally",
                 "by intramuscular injection", "by subcutaneous injection", "intravenously"};
}

void fillmetrictables(SharedTables& t) {
  t.crlf = std::string(crlf);
  t.prefixname = {"", "kilo", "hecto", "deka", "", "deci", "centi", "milli", "micro"};
  t.prefixsymbol = {"", "k", "h", "da", "", "d", "c", "m", std::string(1, MICRO)};
  const double factors[9] = {0, 1000, 100, 10, 1, 0.1, 0.01, 0.001, 0.000001};
  t.prefixfactor[0] = "";
  for (int i = 1; i <= 8; ++i) t.prefixfactor[i] = numtext(factors[i]);
  t.basesymbol = {"", "L", "g", "m"};
  t.baseunit = {"", "litre", "gram", "metre"};
}

SharedTables filledtables() {
  SharedTables t;
  fillpreptables(t);
  fillmetrictables(t);
  return t;
}

double prefixvalue(const SharedTables& t, int index) { return val(t.prefixfactor.at(index)); }

Placement centreposition(double screenheight, double screenwidth, double height, double width) {
  const auto half = [](double v) { return static_cast<std::int32_t>(roundeven(v)) / 2; };
  Placement p{};
  p.top = half(screenheight * 0.85) - half(height);
  p.left = half(screenwidth) - half(width);
  return p;
}

}  // namespace core
