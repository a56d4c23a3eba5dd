// The on-screen calculator's engine: the readout, the two operands, the
// pending operation and what each key does to them, evaluated strictly from
// left to right. The dialog passes its key presses here, shows `readout`
// and tells the user the message an operator key returns. Standard C++ only.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace trainee {

// An operand: empty, a computed number, or the readout's text as it stood
// when it was taken.
using Operand = std::variant<std::monostate, double, std::string>;

class CalcEngine {
 public:
  // What an operator key leaves the dialog to tell.
  enum class Message { None, DivideByZero, TooLarge };

  std::string readout = "0.";
  Operand firstoperand;
  Operand secondoperand;
  std::int16_t pointentered = 0;  // flag: true = -1
  std::int16_t operandcount = 0;
  std::string lastkey = "NONE";  // "NONE", "NUMS", "NEG", "OPS", "CE"
  std::string pendingop = " ";   // " ", "/", "+", "X", "-", "="

  // A fresh calculation: readout "0.", no operand counted, nothing pending.
  // The operands keep their values.
  void reset();
  // A digit key ('0' to '9'): digits go in front of the point, as on a
  // pocket calculator, until the point key is pressed.
  void digit(char d);
  void point();
  // An operator key by its caption ("/", "+", "X", "-", "="). With a second
  // operand it applies the pending operation to the running result.
  Message operatorkey(const std::string& op);
  void cancel();       // "C": everything back to nothing
  void cancelentry();  // "CE": the entry only; the pending operation stays
  // Closing the window: the operands are emptied too.
  void clear();

 private:
  Message evaluate(const std::string& current);
};

}  // namespace trainee
