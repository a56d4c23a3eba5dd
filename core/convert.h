// Metric unit conversion with its explanation.
#pragma once

#include <string>

#include "core/tables.h"

namespace core {

// Converts value from prefix index fromprefix to toprefix (1 kilo .. 8 micro)
// within quantity 1 volume, 2 mass, 3 length. On entry, explanation "short"
// asks for the short form; anything else for the long form. On return it
// holds the explanation.
void convertunits(const SharedTables& t, double value, int fromprefix, int quantity,
                  double& result, int toprefix, std::string& explanation);

// The converted amount alone: value x factor(from) / factor(to), multiplying
// first, as convertunits computes it.
double convertvalue(const SharedTables& t, double value, int fromprefix, int toprefix);

// The sentence that says how many places the decimal point moved.
void decimalmoved(double ratio, std::string& sentence);

}  // namespace core
