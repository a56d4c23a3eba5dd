// The drug database of the generation tests: record 1 a tablet drug of
// category 1, record 2 a syrup of category 2, written into the working
// folder.
#pragma once

#include "core/drug.h"
#include "core/text.h"

namespace tooltest {

inline void writetwodrugs() {
  core::drugrecord tab;
  tab.genericname = core::fixwidth("Paracetamol", 30);
  tab.doserange[0] = {250, 6};
  tab.doserange[1] = {1, 3};
  tab.strength[0] = 500;
  tab.strengthunit[0] = 6;
  tab.category = 1;
  core::writedrug(1, tab);
  core::drugrecord syrup;
  syrup.genericname = core::fixwidth("Amoxycillin", 30);
  syrup.doserange[0] = {125, 6};
  syrup.doserange[1] = {500, 6};
  syrup.increment = 125;
  syrup.preptype[0] = 4;
  syrup.strength[0] = 250;
  syrup.strengthunit[0] = 6;
  syrup.volume[0] = 5;
  syrup.volumeunit[0] = 6;
  syrup.category = 2;
  core::writedrug(2, syrup);
}

}  // namespace tooltest
