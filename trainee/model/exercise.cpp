#include "trainee/model/exercise.h"

#include <cmath>

#include "core/random.h"
#include "core/text.h"

namespace trainee {

Marking markanswer(std::string_view typed, const std::string& stored, int modnum) {
  Marking m;
  m.answer = stored;
  std::string box(typed);
  if (modnum == 1 || modnum == 2) {
    const double tolerance = modnum == 1 ? 5 : 3;
    if (std::fabs(core::val(box) - core::val(stored)) < tolerance) {
      m.nearenough = true;
      box = stored;
    }
  }
  m.ans = core::trim(box);
  if (m.ans == "Answer") m.ans.clear();
  if (modnum <= 6) {
    if (!m.ans.empty()) m.ans = core::numtext(core::val(m.ans));
  } else {
    m.ans = core::upper(m.ans);
    m.answer = core::upper(m.answer);
  }
  m.verdict = m.ans.empty() ? Verdict::Pass : m.ans == m.answer ? Verdict::Right : Verdict::Wrong;
  return m;
}

std::string wrongmessage(const Marking& m, bool hasworkedsolution) {
  const std::string crlf(core::crlf);
  std::string message = "You answered " + m.ans + "." + crlf + "The correct answer was " + m.answer + ".";
  if (hasworkedsolution) message += crlf + "Would you like to see how this was worked out?";
  return message;
}

std::string statustext(const StatusCounts& c) {
  using core::CR;
  using core::numtext;
  std::string text;
  if (c.questno == 1 && c.ncorrect < 1) {
    text = c.test ? "This is the first of " + numtext(c.testcount) + " questions."
                  : std::string("This is your first question this session");
  }
  if (c.questno > 1 || c.nincorrect > 0 || c.npassed > 0 || c.ncorrect > 0) {
    text = "Question : " + numtext(c.questno);
    if (c.testcount > 0) text += " / " + numtext(c.testcount);
    text += CR;
    text += CR;
    if (c.showcounts)
      text += "Correct: " + numtext(c.ncorrect) + CR + "Incorrect: " + numtext(c.nincorrect) + CR;
    if (c.showpassed) text += "Passed on: " + numtext(c.npassed);
  }
  return text;
}

BuretteQuestion burettequestion(int modnum, float r) {
  const std::string crlf(core::crlf);
  BuretteQuestion b;
  b.answer = static_cast<double>(2 * core::Int(r * 25.0f) + 20);
  const std::string rate = core::numtext(b.answer);
  if (modnum == 1) {
    b.question = "Observe the giving set on the right" + crlf + "and count the number of drops" + crlf +
                 "given over one minute" + crlf + "i.e. calulate the current rate of flow.";
    b.helptext = crlf + "The giving set on the right is delivering " + crlf + rate + " (" + core::PLUSMINUS +
                 "5) drops / minute." + crlf + crlf +
                 "To work out the number of drops per minute through observation, simply count the number "
                 "of drops over a one minute period. If the IV is running sufficiently fast enough, counting "
                 "for 30 seconds and multiplying the result by two should provide an accurate indication of "
                 "the number of drops being delivered over one minute." +
                 crlf + crlf + "The counter to the right will count the number of drops delivered over one minute.";
  } else {
    b.question = "Set the IV to " + rate + " drops per minute." + crlf + crlf +
                 "Use the scroll bars to set the flow and click the accept button when completed.";
    b.helptext = crlf + "Learning how to set an IV takes practice." + crlf +
                 "Over time it becomes easier to estimate the flow rate at a glance. It is a good idea to set "
                 "the IV roughly where you think it should be then time it to see how accurate you are. Adjust "
                 "in small increments upwards or downwards until the timing is correct.";
  }
  return b;
}

}  // namespace trainee
