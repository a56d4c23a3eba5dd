// The text export of a test, for printing: title, description and
// instructions, the questions under the chosen numbering, an answer key and
// the worked solutions, each section switched on or off.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/testfile.h"

namespace authoring {

// The File menu's export settings, which last for the run.
struct TextOptions {
  int numbering = 1;  // 0 none, 1 "Question 1.", 2 "Number 1.", 3 "(1).", 4 "No 1.", 5 "1."
  // Title, description, instructions, answer key, solutions.
  std::array<bool, 5> include{true, true, true, true, false};
};

// The line written before question q in the chosen style; empty for style 0.
std::string numberingline(int style, long q);

// The whole export. Each question field, answer and solution is written
// whole, trailing blanks included; every line ends in CR LF.
std::string buildtextexport(const std::string& title, const std::string& description,
                            const std::string& instructions, const std::vector<core::testrecord>& questions,
                            const TextOptions& options);

// Exports questions 1..numquest of the test file source (a question beyond
// the end of the file is blank) to file, written whole beside it and
// renamed over it. Throws core::FileError on failure; file is then as it was.
void saveastextfile(const std::string& file, const std::string& source, long numquest, const std::string& title,
                    const std::string& description, const std::string& instructions,
                    const TextOptions& options);

}  // namespace authoring
