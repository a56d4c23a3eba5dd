// The start-up of dosavo: tables, title window, module table with the
// teachers' tests of the data folder, site options, settings, backgrounds,
// drug lists and the category menu; the Start button shows last.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/testfile.h"

namespace trainee {

class Dosavo;

// Runs the whole start-up on the folder that core::workdir() names (the
// current folder when empty). Never stops on an error.
void Main(Dosavo& app);

using core::listtestfiles;

// The start-up error handler: file not found passes silently, any other
// error shows "There was an error number " and its number.
void startuperror(int number);

// The headings and descriptions of the six built-in modules.
void fillbuiltinmodules(Dosavo& app);

}  // namespace trainee
