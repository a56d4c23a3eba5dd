// The test being edited in the test editor, without any window: which file
// it lives in, which question is shown, how many there are, and the reads
// and writes of single records that keep the file equal to what the
// teacher last left. Every store goes to the file at once; nothing stays
// open between two calls.
#pragma once

#include <cstdint>
#include <string>

#include "core/testfile.h"

namespace authoring {

// The untitled test is built in this working file of the current folder.
inline const std::string WORKFILE = "test.tmp";
// Questions are numbered with 16-bit integers.
inline constexpr std::int16_t MAXQUESTIONS = 32767;

// The values of a test's header record, edited by the description dialog.
struct TestHeader {
  std::string testtitle = std::string(40, ' ');
  std::string testdescription = std::string(200, ' ');
  std::string testinstructions = std::string(1000, ' ');
  std::int16_t includeinmenu = 0;

  // The values of a new test: "untitled", blank texts; the include flag is
  // left as it is.
  void untitled();
  core::testrecord record() const;
};

class TestDocument {
 public:
  std::string filename = WORKFILE;
  std::string savename = WORKFILE;
  std::int16_t qno = 1;
  std::int16_t numquest = 1;
  core::testrecord rec;
  bool changed = false;

  // Stores the three texts, trimmed and fitted to their fields, as the
  // record of question qno, whatever they hold. Throws core::FileError.
  void putfile(const std::string& question, const std::string& help, const std::string& answer);
  // Reads the record of question qno into rec (blank beyond the end).
  void getfile();
  // Writes the header record; other records are not touched.
  void puttitle(const TestHeader& header);

  // Each move reads the question it goes to into rec; a read that fails
  // (core::FileError) leaves qno and rec as they were.
  // Question qno - 1, from question 1 the last one.
  void previous();
  // Whether next() can add a question after the last one.
  bool canaddquestion() const { return qno < numquest || numquest < MAXQUESTIONS; }
  // Question qno + 1, read into rec; past the last question an empty
  // question is added and written. Refused (false, nothing changes) when
  // the test already holds the most questions it can.
  bool next();
  // Back or forward ten questions, held within 1 and numquest.
  void backten();
  void forwardten();
  // Removes question qno from the file in one atomic rewrite (the file is
  // untouched if the rewrite fails); the test keeps at least one question.
  // Reads the question now at qno and marks the test changed.
  void deletequestion();

 private:
  void moveto(int q);
};

// The bytes of a test file after removing question q of n: the header and
// the other n - 1 questions, each a whole record (records missing from the
// file are blank; a part record at the end is dropped).
std::string withoutquestion(const std::string& bytes, long q, long n);

}  // namespace authoring
