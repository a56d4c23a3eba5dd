// The exercise window's rules without a window: how a typed answer is
// marked against the stored one, the message after a wrong answer, and the
// questions of the two burette modules. Standard C++ only, like the core.
#pragma once

#include <string>
#include <string_view>

namespace trainee {

enum class Verdict { Pass, Right, Wrong };

struct Marking {
  Verdict verdict = Verdict::Pass;
  // Burette modules: the count or rate was near enough to the right one, so
  // the answer box is to show the right value in place of the typed one.
  bool nearenough = false;
  std::string ans;     // the answer as judged ("You answered ...")
  std::string answer;  // the stored answer as the messages show it
};

// Marks the text of the answer box against the stored answer of the
// current question, written as text: a number's short form in modules 1 to
// 6, the test record's trimmed answer in a teacher's test (7 and up).
// Blanks around the answer do not count, and the box's own "Answer" is no
// answer: both are a pass. Modules 1 to 6 compare numbers in their short
// form (2.50 is 2.5, "1 000" is 1000, "2,5" is 2); module 1 takes a count
// within 4 of the right one, module 2 a rate within 2. Tests compare texts
// in capitals, and then show both in capitals.
Marking markanswer(std::string_view typed, const std::string& stored, int modnum);

// The wrong-answer message; with a worked solution it asks whether to see it.
std::string wrongmessage(const Marking& m, bool hasworkedsolution);

// The status panel's text, lines broken by a CR alone: before any answer
// the first question's note, then the question number (with the test's
// total) and the counts the site options leave to be shown. Empty before
// the first question.
struct StatusCounts {
  int questno = 0, testcount = 0;
  int ncorrect = 0, nincorrect = 0, npassed = 0;
  bool test = false;        // a teacher's test rather than a built-in module
  bool showcounts = true;   // right and wrong answers
  bool showpassed = true;   // passes
};
std::string statustext(const StatusCounts& c);

// A question of module 1 (counting drops) or 2 (setting the flow rate),
// built for one random draw 0 <= r < 1: a rate of 20 to 68 drops a minute,
// always even.
struct BuretteQuestion {
  double answer = 0;
  std::string question, helptext;
};
BuretteQuestion burettequestion(int modnum, float r);

}  // namespace trainee
