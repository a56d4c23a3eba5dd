// The calculator's engine without its window: pocket-calculator entry,
// strict left-to-right evaluation, negative numbers, C and CE, and the
// messages an operator key leaves to be told.
#include "trainee/model/calcengine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using trainee::CalcEngine;

// Presses the keys of a sequence such as "1 . 5 + 2 =" and returns the
// messages, one letter each: Z "Can't divide by zero", L too large. A token
// of several digits presses each digit.
std::string press(CalcEngine& e, const std::string& sequence) {
  std::istringstream in(sequence);
  std::string k, told;
  while (in >> k) {
    CalcEngine::Message m = CalcEngine::Message::None;
    if (k == "C") e.cancel();
    else if (k == "CE") e.cancelentry();
    else if (k == ".") e.point();
    else if (k == "/" || k == "+" || k == "X" || k == "-" || k == "=") m = e.operatorkey(k);
    else
      for (char d : k) e.digit(d);
    if (m == CalcEngine::Message::DivideByZero) told += 'Z';
    if (m == CalcEngine::Message::TooLarge) told += 'L';
  }
  return told;
}

std::string zeros(int n) { return std::string(static_cast<std::size_t>(n), '0'); }
std::string nines(int n) { return std::string(static_cast<std::size_t>(n), '9'); }

TEST(CalcEngine, KeySequencesGiveTheirReadouts) {
  struct Row {
    std::string keys, readout, told;
  };
  const Row rows[] = {
      // digits go in front of the point until the point is pressed
      {"7", "7.", ""},
      {"7 3", "73.", ""},
      {"7 3 . 2 5", "73.25", ""},
      {"7 3 . 2 5 .", "73.25", ""},  // a second point changes nothing
      {"7 3 . 2 5 + . 5", "0.5", ""},
      {"7 3 . 2 5 + . 5 =", "73.75", ""},
      // the exercises' sequences
      {"1 . 5 + 2 =", "3.5", ""},
      {"5 X - 3 =", "-15", ""},
      {"5 - - 3 =", "8", ""},
      {"- 4 =", "-4.", ""},
      {"2 + 3 = 7 + 1 =", "8", ""},
      {"2 + 3 CE 4 =", "6", ""},
      {"2 + X 3 =", "6", ""},
      {"2 + - 3 =", "-1", ""},
      {"12 =", "12.", ""},
      {"1 / 3 =", "0.333333333333333", ""},
      {"2 + 3 X 4 =", "20", ""},
      {"2 + 3 = - 1 =", "4", ""},  // after "=" a minus subtracts from the result
      {"- . 5 X 4 =", "-2", ""},
      {"0 . 1 + 0 . 2 =", "0.3", ""},
      {"4 - 6 =", "-2", ""},
      // division by zero keeps the first operand, and the calculation goes on
      {"5 / 0 =", "5.", "Z"},
      {"5 / 0 = + 1 =", "6", "Z"},
      {"5 / 0 = + 1 = / - 0 =", "6", "ZZ"},  // -0 is zero too
      // C and CE
      {"2 + 3 CE", "0.", ""},
      {"2 + 3 C", "0.", ""},
      {"2 + 3 C 9 - 4 =", "5", ""},  // after C a fresh calculation
      {"1 . CE 2 3 =", "23.", ""},   // CE clears a point typed in the entry
      // a readout of only a minus is taken as it stands and reads as 0
      {"2 + - - 3 =", "-3", ""},
      {"5 X - =", "-", ""},
      {"5 X - = 3 =", "0", ""},
      {"- - 4 =", "-4.", ""},  // at the start a second minus does nothing
      {"5 / - / 0 =", "-", "Z"},
      // results beyond the range of a double: the running result stays
      {"1" + zeros(200) + " X 1" + zeros(200) + " =", "1" + zeros(200) + ".", "L"},
      {"1" + zeros(200) + " X 1" + zeros(200) + " = / 1" + zeros(190) + " =", "10000000000", "L"},
      {"9" + nines(400) + " + 1 =", "9" + nines(400) + ".", "L"},  // typed too large
      {"2 = 9" + nines(400) + " =", "2.", "L"},
      {"9" + nines(400) + " = 5 =", "5", ""},  // a number after "=" replaces it
      {"0 . " + zeros(400) + "1 + 1 =", "1", ""},  // very small is near zero
      {"1" + zeros(20) + " X 3 =", "3E+20", ""},
  };
  for (const Row& r : rows) {
    CalcEngine e;
    const std::string shown = r.keys.size() > 60 ? r.keys.substr(0, 60) + "..." : r.keys;
    EXPECT_EQ(press(e, r.keys), r.told) << shown;
    EXPECT_EQ(e.readout, r.readout) << shown;
  }
}

TEST(CalcEngine, OperandsAndCountsBetweenKeys) {
  CalcEngine e;
  EXPECT_EQ(e.readout, "0.");
  EXPECT_EQ(e.lastkey, "NONE");
  EXPECT_EQ(e.pendingop, " ");
  EXPECT_EQ(e.operandcount, 0);
  press(e, "8 X");
  EXPECT_EQ(std::get<std::string>(e.firstoperand), "8.");
  EXPECT_EQ(e.operandcount, 1);
  EXPECT_EQ(e.lastkey, "OPS");
  EXPECT_EQ(e.pendingop, "X");
  press(e, "-");
  EXPECT_EQ(e.readout, "-");
  EXPECT_EQ(e.lastkey, "NEG");
  EXPECT_EQ(e.pendingop, "X");  // the minus starts a number, not an operation
  press(e, "2 +");
  EXPECT_EQ(std::get<std::string>(e.secondoperand), "-2.");
  EXPECT_EQ(std::get<double>(e.firstoperand), -16.0);
  EXPECT_EQ(e.readout, "-16");
  EXPECT_EQ(e.operandcount, 1);
  // CE keeps the pending operation and the count; C clears them.
  press(e, "3 CE");
  EXPECT_EQ(e.lastkey, "CE");
  EXPECT_EQ(e.pendingop, "+");
  EXPECT_EQ(e.operandcount, 1);
  press(e, "C");
  EXPECT_EQ(e.lastkey, "NONE");
  EXPECT_EQ(e.pendingop, " ");
  EXPECT_EQ(e.operandcount, 0);
  EXPECT_EQ(e.pointentered, 0);
  EXPECT_EQ(std::get<double>(e.firstoperand), 0.0);
  // Closing the window empties the operands as well.
  press(e, "5 X");
  e.clear();
  EXPECT_TRUE(std::holds_alternative<std::monostate>(e.firstoperand));
  EXPECT_EQ(e.readout, "0.");
}

}  // namespace
