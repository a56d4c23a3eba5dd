// One session of the exercise window without a window: the question number
// and the counts of the session, the fresh start after 1,000 questions, the
// walk through a teacher's test record by record, and the run's per-module
// counters and flag of unsaved progress that each judged answer moves.
// Standard C++ only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/testfile.h"
#include "trainee/model/exercise.h"

namespace trainee {

// The run's counts of judged answers per module, indexed by module number:
// cumulative for the whole run, cleared only by the progress window.
struct ModuleCounters {
  std::vector<std::int16_t> modcorrect, modincorrect, modpassed;
};

class Session {
 public:
  std::int16_t questno = 0;    // the question shown, from 1; 0 before Start
  std::int16_t testcount = 0;  // question records of the test; 0 in a built-in module
  std::int16_t testrec = 0;    // question records of the test read so far
  // The test file could not be read when it was opened: Start reads it
  // again before the first question.
  bool testunread = false;
  std::int16_t ncorrect = 0, nincorrect = 0, npassed = 0;

  // No question yet and nothing counted: the window opens, or ends.
  void clear();
  // Opens a teacher's test: returns its header and counts the question
  // records after it. Throws FileError when the file cannot be read, and
  // then leaves the test without questions and marked unread.
  core::testrecord opentest(const std::string& file);
  // Moves on to the next question number. False when a test is over (the
  // question after its last). After the 1,000th question the window counts
  // from 1 again with the session's counts cleared; the run's stay.
  bool nextquestion(bool test);
  // The next complete question of the test, read record by record from the
  // one after the last read (the file's length is taken afresh: a teacher
  // may have added or removed questions); blank and incomplete records are
  // skipped. Nothing when the file holds no further complete question: the
  // test is over. Throws FileError when a read fails; testrec then counts
  // only the records read before the failure, so that trying again reads
  // the failed one again.
  std::optional<core::testrecord> nexttestquestion(const std::string& file);
  // Counts a judged answer: the session's counter, the module's, and the
  // flag of unsaved progress. Counts stop at the largest 16-bit value rather
  // than turn negative.
  void count(Verdict verdict, int modnum, ModuleCounters& run, bool& progdirty);
  // The counts the status panel shows; the caller says what the site
  // options leave to be shown.
  StatusCounts status(bool test) const;
};

// What the student is told when a file of the module cannot be read: which
// file and why, then the way on: the question whether to try again (No
// leaves the module), or, in place of a test's introduction, the buttons
// that try again and leave.
inline constexpr const char* TRYAGAIN = " Would you like to try again? No leaves this module.";
inline constexpr const char* STARTAGAIN =
    " Click the \"Start\" button below to try again, or \"Quit\" to leave this module.";
std::string readfailure(const std::string& file, const core::FileError& e, const char* wayon = TRYAGAIN);

}  // namespace trainee
