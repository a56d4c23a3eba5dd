// The state of the shared core for one run of a program: the start-up
// tables, the settings, the drug lists, the drug of the last question and
// the shared worked-solution text. Each program holds one; a test builds a
// fresh one.
#pragma once

#include <string>

#include "core/drug.h"
#include "core/history.h"
#include "core/settings.h"
#include "core/tables.h"

namespace core {

struct CoreState {
  Build build = Build::Trainee;  // which program's wording the generators use
  SharedTables tables;
  generalsettings settings;
  DrugLists lists;
  drugrecord drug;        // the record last read by a generator
  std::string drugname;   // set by pickdrugname; the tablet label in the trainee program
  std::string helptext;   // the worked solution of the current question
  QuestionHistory history;
};

}  // namespace core
