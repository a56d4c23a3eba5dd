#include <gtest/gtest.h>

#include "tests/core/support.h"

#include "authoring/model/textexport.h"
#include "core/errors.h"
#include "core/text.h"

using namespace authoring;

namespace {

const std::string BR = "\r\n";

class TextExport : public testsupport::TempFolder {
 protected:
  std::vector<core::testrecord> questions{
      core::testrecord::item("\r\nWhat is 1 + 1?", "Add them.", "2"),
      core::testrecord::item("Name a drug.", "Any will do:\r\naspirin", "aspirin"),
  };
  // The whole fields, as the file holds them.
  std::string q(int i) { return core::fixwidth(questions[i].question, 800); }
  std::string a(int i) { return core::fixwidth(questions[i].answer, 12); }
  std::string h(int i) { return core::fixwidth(questions[i].help, 1200); }
  void writetest(const std::string& name) {
    core::writetestrecord(name, 1, core::testrecord::header("Ignored", "", "", 1));
    core::writetestrecord(name, 2, questions[0]);
    core::writetestrecord(name, 3, questions[1]);
  }
};

TEST_F(TextExport, EverySectionWithQuestionNumbering) {
  TextOptions o;
  o.include[4] = true;
  const std::string expected =
      "Dosage test" + BR + BR + BR +                                //
      "Two questions." + BR + BR + BR +                             //
      "Work alone." + BR + BR + BR +                                //
      "Question 1." + BR + q(0) + BR + BR + BR +                    //
      "Question 2." + BR + q(1) + BR + BR + BR +                    //
      BR + BR +                                                     //
      "Answers:" + BR + BR +                                        //
      "1. " + a(0) + BR + BR + "2. " + a(1) + BR + BR +             //
      BR + BR +                                                     //
      "Solutions:" + BR + BR +                                      //
      "Question 1." + BR + h(0) + BR + BR + BR +                    //
      "Question 2." + BR + h(1) + BR + BR + BR +                    //
      BR + BR;
  EXPECT_EQ(buildtextexport("  Dosage test ", " Two questions.", "Work alone.  ", questions, o), expected);

  // The same bytes from the test file on disk; a question counted but not
  // yet stored is exported blank.
  writetest("t.vqt");
  saveastextfile("t.txt", "t.vqt", 2, "  Dosage test ", " Two questions.", "Work alone.  ", o);
  EXPECT_EQ(get("t.txt"), expected);
  saveastextfile("t.txt", "t.vqt", 3, "", "", "", TextOptions{0, {false, false, false, false, false}});
  EXPECT_EQ(get("t.txt"), q(0) + BR + BR + BR + q(1) + BR + BR + BR + std::string(800, ' ') + BR + BR + BR + BR + BR);
}

TEST_F(TextExport, NoNumberingAndNoSectionsLeavesTheQuestionFieldsAlone) {
  const TextOptions o{0, {false, false, false, false, false}};
  EXPECT_EQ(buildtextexport("T", "D", "I", questions, o), q(0) + BR + BR + BR + q(1) + BR + BR + BR + BR + BR);
}

TEST_F(TextExport, StyleFourHasNoFullStopAfterNoAndTheAnswerKeyKeepsItsOwnNumbers) {
  const TextOptions o{4, {false, false, false, true, true}};
  const std::string expected = "No 1." + BR + q(0) + BR + BR + BR + "No 2." + BR + q(1) + BR + BR + BR + BR + BR +
                               "Answers:" + BR + BR + "1. " + a(0) + BR + BR + "2. " + a(1) + BR + BR + BR + BR +
                               "Solutions:" + BR + BR + "No 1." + BR + h(0) + BR + BR + BR + "No 2." + BR + h(1) +
                               BR + BR + BR + BR + BR;
  EXPECT_EQ(buildtextexport("T", "D", "I", questions, o), expected);
  const std::vector<std::string> lines{"", "Question 12.", "Number 12.", "(12).", "No 12.", "12."};
  for (int style = 0; style <= 5; ++style) EXPECT_EQ(numberingline(style, 12), lines[static_cast<std::size_t>(style)]);
}

TEST_F(TextExport, AFailedExportLeavesTheOldFile) {
  writetest("t.vqt");
  put("old.txt", "old");
  core::failwholewritesafter(10);
  EXPECT_THROW(saveastextfile("old.txt", "t.vqt", 2, "", "", "", TextOptions{}), core::FileError);
  core::failwholewritesafter(std::nullopt);
  EXPECT_EQ(get("old.txt"), "old");
  EXPECT_THROW(saveastextfile("nofolder/x.txt", "t.vqt", 2, "", "", "", TextOptions{}), core::FileError);
}

}  // namespace
