#include "trainee/model/calcengine.h"

#include <charconv>
#include <cmath>

#include "core/text.h"

namespace trainee {
namespace {

enum class Reading { number, notnumber, toolarge };

// An operand read as a number. Empty reads as 0; a text is the readout as
// it stood, read the way a typed number is read. A text without a digit
// (a readout holding only a minus sign) is not a number and reads as 0; a
// typed number beyond the range of a double is too large to calculate with.
Reading readoperand(const Operand& operand, double& value) {
  value = 0;
  if (const double* number = std::get_if<double>(&operand)) {
    value = *number;
    return std::isfinite(value) ? Reading::number : Reading::toolarge;
  }
  const std::string* text = std::get_if<std::string>(&operand);
  if (!text) return Reading::number;
  const std::string t = core::trim(*text);
  bool digit = false, wholedigit = false, point = false;
  for (const char c : t) {
    if (c == '.') point = true;
    if (c >= '0' && c <= '9') digit = true;
    if (c >= '1' && c <= '9' && !point) wholedigit = true;
  }
  if (!digit) return Reading::notnumber;
  // Typed readouts hold a sign, digits and a point: out of range is too
  // large when the whole part is not zero, else merely near zero.
  double whole = 0;
  const char* first = t.data() + (!t.empty() && t[0] == '-' ? 1 : 0);
  const auto res = std::from_chars(first, t.data() + t.size(), whole);
  if (res.ec == std::errc::result_out_of_range && wholedigit) return Reading::toolarge;
  value = core::val(t);
  return Reading::number;
}

// The readout's text for an operand: a computed number in its short form
// (no trailing point), a text as it stood.
std::string operandtext(const Operand& operand) {
  if (const double* number = std::get_if<double>(&operand)) return core::numtext(*number);
  if (const std::string* text = std::get_if<std::string>(&operand)) return *text;
  return "0";
}

}  // namespace

void CalcEngine::reset() {
  pointentered = 0;
  operandcount = 0;
  lastkey = "NONE";
  pendingop = " ";
  readout = "0.";
}

void CalcEngine::digit(char d) {
  if (lastkey != "NUMS") {
    // A new number begins.
    readout = ".";
    pointentered = 0;
  }
  if (pointentered) {
    readout += d;
  } else {
    const std::size_t at = readout.find('.');
    readout = (at == std::string::npos ? readout : readout.substr(0, at)) + d + ".";
  }
  if (lastkey == "NEG") readout = "-" + readout;
  lastkey = "NUMS";
}

void CalcEngine::point() {
  if (lastkey == "NEG")
    readout = "-0.";
  else if (lastkey != "NUMS")
    readout = "0.";
  pointentered = -1;
  lastkey = "NUMS";
}

CalcEngine::Message CalcEngine::operatorkey(const std::string& op) {
  const std::string current = readout;
  const bool minus = op == "-";
  Message message = Message::None;

  if (lastkey == "NUMS") ++operandcount;

  if (operandcount == 0) {
    // No number yet: a minus starts a negative number.
    if (minus && lastkey != "NEG") {
      readout = "-" + readout;
      lastkey = "NEG";
    }
  } else if (operandcount == 1) {
    // The readout is taken as it stands, even when it holds only the minus
    // sign that began a negative number (an evaluation reads that as 0).
    firstoperand = current;
    // A minus right after an operator starts a negative second number;
    // after "=" it subtracts from the result.
    if (lastkey != "NUMS" && minus && pendingop != "=") {
      readout = "-";
      lastkey = "NEG";
    }
  } else {
    message = evaluate(current);
  }

  if (lastkey != "NEG") {
    lastkey = "OPS";
    pendingop = op;
  }
  return message;
}

CalcEngine::Message CalcEngine::evaluate(const std::string& current) {
  secondoperand = current;
  double first = 0, second = 0;
  const Reading a = readoperand(firstoperand, first);
  const Reading b = readoperand(secondoperand, second);
  bool toolarge = b == Reading::toolarge;
  bool computed = true;
  Message message = Message::None;
  double result = 0;
  if (pendingop == "+") {
    result = first + second;
  } else if (pendingop == "-") {
    result = first - second;
  } else if (pendingop == "X") {
    result = first * second;
  } else if (pendingop == "/") {
    if (second == 0) {
      message = Message::DivideByZero;
      computed = false;
      toolarge = false;
    } else {
      result = first / second;
    }
  } else if (pendingop == "=") {
    // A number typed after "=" replaces the result.
    result = second;
  } else {
    computed = false;  // no operator pending: the result stays
    toolarge = false;
  }
  if (computed) {
    // After "=" the new number replaces the result, whatever the result was.
    if (a == Reading::toolarge && pendingop != "=") toolarge = true;
    if (toolarge || !std::isfinite(result)) {
      // Beyond the range of a double: the result stays as it was.
      message = Message::TooLarge;
    } else {
      firstoperand = result + 0.0;  // a result of minus zero shows as 0
    }
  }
  readout = operandtext(firstoperand);
  operandcount = 1;
  return message;
}

void CalcEngine::cancel() {
  firstoperand = 0.0;
  secondoperand = 0.0;
  reset();
}

void CalcEngine::cancelentry() {
  readout = "0.";
  pointentered = 0;
  lastkey = "CE";
}

void CalcEngine::clear() {
  firstoperand = Operand();
  secondoperand = Operand();
  reset();
}

}  // namespace trainee
