// Test file records as the file holds them, for comparing whole files.
#pragma once

#include <string>

namespace recordtext {

inline std::string blanks(std::size_t n) { return std::string(n, ' '); }
// A record of the three fields, each padded with blanks.
inline std::string item(const std::string& q, const std::string& help = "", const std::string& a = "") {
  return q + blanks(800 - q.size()) + help + blanks(1200 - help.size()) + a + blanks(12 - a.size());
}
// The header of a new test.
inline const std::string UNTITLED = item("untitled", "", "0");

}  // namespace recordtext
