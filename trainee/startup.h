// The start-up of dosavo: tables, title window, module table with the
// teachers' tests of the data folder, site options, settings, backgrounds,
// drug lists and the category menu; the Start button shows last.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trainee {

class Dosavo;

// Runs the whole start-up on the folder that core::workdir() names (the
// current folder when empty). Never stops on an error.
void Main(Dosavo& app);

// The test files of a folder: ordinary, not hidden, with the extension
// "vqt" in any mix of capitals. File names are case-sensitive here, so the
// extension is compared without regard to case, as the original platform
// did. Sorted by name, so that the module numbers do not depend on the
// order in which the file system happens to list the folder.
std::vector<std::string> listtestfiles(const std::filesystem::path& folder);

// The start-up error handler: file not found passes silently, any other
// error shows "There was an error number " and its number.
void startuperror(int number);

// The headings and descriptions of the six built-in modules.
void fillbuiltinmodules(Dosavo& app);

}  // namespace trainee
