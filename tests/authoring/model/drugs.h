// Drug records and category tables for the drug editor's tests.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/drug.h"
#include "core/text.h"

namespace drugtest {

// Drug k: a 10 mg tablet (doses 5 to 20 mg in steps of 1) of category
// (k - 1) % 2 + 1; an even k has a syrup of 5 mg in 5 ml too.
inline core::drugrecord drug(int k) {
  const bool syrup = k % 2 == 0;
  core::drugrecord d;
  d.genericname = core::fixwidth("Drug " + std::to_string(k), 30);
  d.doserange[0] = {5, 6};
  d.doserange[1] = {20, 6};
  d.increment = 1;
  d.preptype = {0, static_cast<std::int16_t>(syrup ? 4 : 0), 0, 0, 0};
  d.strength = {10, syrup ? 5.0 : 0.0, 0, 0, 0};
  d.strengthunit = {6, 6, 6, 6, 6};
  d.volume = {0, syrup ? 5.0 : 0.0, 0, 0, 0};
  d.volumeunit = {6, 6, 6, 6, 6};
  d.category = static_cast<std::int16_t>((k - 1) % 2 + 1);
  return d;
}

// The bytes of a database of these drugs; 0 stands for the blank record.
inline std::string records(std::initializer_list<int> ks) {
  std::string out;
  for (int k : ks) out += k == 0 ? core::drugrecord::blank().encode() : drug(k).encode();
  return out;
}

// The tool's category table holding these names and numbers.
inline core::DrugLists table(const std::vector<std::pair<std::string, std::int16_t>>& cats) {
  core::DrugLists t = core::emptydruglists(core::Build::Tool);
  for (const auto& [name, number] : cats) {
    ++t.ncategories;
    t.catname[static_cast<std::size_t>(t.ncategories)] = core::fixwidth(name, 20);
    t.catnum[static_cast<std::size_t>(t.ncategories)] = number;
  }
  return t;
}

}  // namespace drugtest
