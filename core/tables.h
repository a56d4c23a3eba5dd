// The small tables of words, symbols and factors that the question texts are
// built from, and the window placement arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace core {

struct SharedTables {
  // Metric prefixes, indexes 1 to 8 (kilo .. micro); index 4 is the bare unit.
  std::array<std::string, 9> prefixname;
  std::array<std::string, 9> prefixsymbol;
  std::array<std::string, 9> prefixfactor;  // the factor as the text of its number
  // Base units, indexes 1 to 3: volume, mass, length.
  std::array<std::string, 4> basesymbol;
  std::array<std::string, 4> baseunit;
  // Preparation names and routes by preparation type 0 to 10.
  std::array<std::string, 11> prepname;
  std::array<std::string, 11> preproute;
  std::string crlf;
};

// Fills prepname and preproute.
void fillpreptables(SharedTables& t);
// Fills crlf, the metric prefix tables and the base unit tables.
void fillmetrictables(SharedTables& t);
// Both of the above.
SharedTables filledtables();

// The factor of a prefix index, read from its text.
double prefixvalue(const SharedTables& t, int index);

// Window placement in twips: top at half of 0.85 of the screen height less
// half the window's height, left at half the screen width less half the
// window's width, each rounded to whole twips (halves to even) and halved
// with truncation. Nothing is clamped.
struct Placement {
  std::int32_t top;
  std::int32_t left;
};
Placement centreposition(double screenheight, double screenwidth, double height, double width);

}  // namespace core
