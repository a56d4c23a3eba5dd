// How the exercise window reads a teacher's test and tells a file that
// cannot be read: a failure is never taken for the end of the test, nor
// for a module without questions. Standard C++ only, like the core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/testfile.h"

namespace trainee {

// What the window shows before a test starts: the header (its instructions)
// and the number of whole records after it. A missing file is created
// empty, as opening any record file does. Throws core::FileError when the
// file cannot be read.
struct TestIntro {
  core::testrecord header;
  long questions = 0;
};
TestIntro readtestintro(const std::string& file);

// The next question of the test after the testrec records already read
// (record 1, the header, not counted): blank records and records with no
// question or no answer are passed over. Nothing when the file holds no
// further complete question: the test is over. Throws core::FileError when
// the file or a record cannot be read; testrec then counts only the records
// read before the failure, so that trying again reads the failed one again.
std::optional<core::testrecord> nexttestquestion(const std::string& file, std::int16_t& testrec);

// What the student is told when a file of the module cannot be read: which
// file and why, then the way on: the question whether to try again (No
// leaves the module), or, in place of a test's introduction, the buttons
// that try again and leave.
inline constexpr const char* TRYAGAIN = " Would you like to try again? No leaves this module.";
inline constexpr const char* STARTAGAIN =
    " Click the \"Start\" button below to try again, or \"Quit\" to leave this module.";
std::string readfailure(const std::string& file, const core::FileError& e, const char* wayon = TRYAGAIN);

}  // namespace trainee
