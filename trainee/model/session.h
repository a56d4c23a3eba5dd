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

#include "core/testfile.h"
#include "trainee/model/exercise.h"

namespace trainee {

// The run's counts of judged answers per module, indexed by module number:
// cumulative for the whole run, cleared only by the progress window.
struct ModuleCounters {
  std::vector<std::int16_t> modcorrect, modincorrect, modpassed;
};

// A complete question of a teacher's test, its texts without the blanks
// around them (line breaks at the start stay: the tool's generated
// questions begin with one).
struct TestQuestion {
  std::string question, answer, help;
};

class Session {
 public:
  std::int16_t questno = 0;    // the question shown, from 1; 0 before Start
  std::int16_t testcount = 0;  // question records of the test; 0 in a built-in module
  std::int16_t testrec = 0;    // question records of the test read so far
  std::int16_t ncorrect = 0, nincorrect = 0, npassed = 0;

  // No question yet and nothing counted: the window opens, or ends.
  void clear();
  // Opens a teacher's test: returns its header and counts the question
  // records after it. Throws FileError when the file cannot be read, and
  // then leaves the test without questions.
  core::testrecord opentest(const std::string& file);
  // Moves on to the next question number. False when a test is over (the
  // question after its last). After the 1,000th question the window counts
  // from 1 again with the session's counts cleared; the run's stay.
  bool nextquestion(bool test);
  // The next complete question of the test, read record by record from the
  // one after the last read; blank and incomplete records are skipped. Each
  // record read goes into `buffer`. Nothing when the file holds no further
  // complete question. Throws FileError when a read fails.
  std::optional<TestQuestion> nexttestquestion(const std::string& file, core::testrecord& buffer);
  // Counts a judged answer: the session's counter, the module's, and the
  // flag of unsaved progress. Counts stop at the largest 16-bit value rather
  // than turn negative.
  void count(Verdict verdict, int modnum, ModuleCounters& run, bool& progdirty);
  // The counts the status panel shows; the caller says what the site
  // options leave to be shown.
  StatusCounts status(bool test) const;
};

}  // namespace trainee
