// The test being edited in the test editor, without any window: which file
// it lives in, its header, which question is shown, how many there are, the
// reads and writes of single records that keep the file equal to what the
// teacher last left, and the whole-test operations of the File menu (New,
// Open, Save As). Every store goes to the file at once; nothing stays open
// between two calls. The window holds the dialogs and the boxes.
#pragma once

#include <cstdint>
#include <string>

#include "authoring/model/textexport.h"
#include "core/filestamp.h"
#include "core/testfile.h"

namespace authoring {

// The untitled test is built in this working file of the current folder.
inline const std::string WORKFILE = "test.tmp";
// Questions are numbered with 16-bit integers.
inline constexpr std::int16_t MAXQUESTIONS = 32767;

// The values of a test's header record, edited by the description dialog.
struct TestHeader {
  std::string testtitle = std::string(core::TEST_TITLE_WIDTH, ' ');
  std::string testdescription = std::string(core::TEST_DESCRIPTION_WIDTH, ' ');
  std::string testinstructions = std::string(core::TEST_INSTRUCTIONS_WIDTH, ' ');
  std::int16_t includeinmenu = 0;

  // The values of a new test: "untitled", blank texts; the include flag is
  // left as it is.
  void untitled();
  // The values as the description dialog's OK takes them: each text
  // without blanks at either end, fitted to its field as the header record
  // holds it.
  void take(const std::string& title, const std::string& description, const std::string& instructions,
            bool include);
  core::testrecord record() const;
};

// What the question, solution and answer boxes hold.
struct Boxes {
  std::string question, help, answer;
};

// What a Save As did. Anything but saved leaves the test unsaved.
struct SaveAsResult {
  enum What { nothing, text, saved, illegalname, notwritten, copyfailed } what = nothing;
  // How a message tells a failed write or copy: "(error 61: the disk is full)".
  std::string note;
};

class TestDocument {
 public:
  std::string filename = WORKFILE;
  std::string savename = WORKFILE;
  std::int16_t qno = 1;
  std::int16_t numquest = 1;
  core::testrecord rec;
  TestHeader header;

  // ---- the file's name and the changed flag
  // Makes name the file being edited, with nothing in it to offer for saving.
  void setcurrentfile(const std::string& name);
  // The untitled test holds work that leaving it must offer to save. Only
  // the document's own members set and clear it.
  bool changed() const { return changed_; }
  // Whether leaving the test must offer to save it.
  bool offersave() const { return filename == WORKFILE && changed_; }
  // The test holds new work: a key typed into a box, a generated question.
  void markchanged() { changed_ = true; }
  // Whether the test can be saved with the question shown complete or not:
  // a test that is one incomplete question holds nothing to save.
  bool cansave(bool complete) const { return complete || numquest >= 2; }
  // The boxes now show a question, complete or not; a test that cannot be
  // saved then has nothing to offer for saving.
  void showing(bool complete);

  // ---- another program's changes
  // Every write by question number (store, add, delete) first checks that
  // the file is still the one this document counted: the same file, of the
  // length it last read or wrote. When another program has replaced,
  // lengthened or shortened it, nothing is written and core::FileChanged is
  // thrown; reload() then counts the file afresh.
  // Reads the file again: the header, the number of questions, and where
  // the question last read or written lies now, which becomes qno. A
  // question no longer in the file (or an empty one) becomes a new question
  // after the last, so that what the boxes hold, stored there, replaces no
  // other question. Throws core::FileError when the file cannot be read.
  void reload();

  // ---- single records
  // Stores the three texts, trimmed and fitted to their fields, as the
  // record of question qno, whatever they hold. Throws core::FileError.
  void storequestion(const std::string& question, const std::string& help, const std::string& answer);
  // Reads the record of question qno into rec (blank beyond the end).
  void readquestion();
  // Writes the header record; other records are not touched.
  void writeheader();

  // ---- moves
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

  // ---- whole tests
  // An untitled test in the working file, question 1 of 1 and empty, with
  // the header of a new test (the include flag left as it is); nothing is
  // written.
  void untitled();
  // New Test: the untitled test in the working file, one empty question,
  // the header of an untitled test (include flag 0) written. Throws
  // core::FileError when the header cannot be written; the document is the
  // new test all the same.
  void newtest();
  // Makes the test file name the test being edited, on its last question
  // (one empty question for a test without any), read whole first. savename
  // and changed stay as they are. Throws core::FileError when name is not a test file
  // that can be read; the document is then as it was.
  void opentest(const std::string& name);
  // Saves the test to savename, with its header and the boxes as the shown
  // question; the file being edited is not written. savename then becomes
  // the file being edited, on its last question. Nothing happens when
  // savename is the file being edited. Throws core::FileError; the
  // document is then unchanged but for savename.
  void savefile(const Boxes& shown);
  // Whether a save under name would replace another existing file (the
  // file being edited, under any spelling, is not another).
  bool replaces(const std::string& name) const;
  // Save As under name (empty: the dialog was cancelled), which may replace
  // another file only when mayreplace is true. A name ending in ".txt"
  // writes the text export and leaves the document on its file; any other
  // name is written from the file's records with the boxes as the shown
  // question (the file being edited is not written) and becomes the file
  // being edited, on its last question. Only such a save clears changed.
  SaveAsResult saveto(const std::string& name, bool mayreplace, const Boxes& shown, const TextOptions& options);
  // Removes the working file as the editor closes; a folder of that name is
  // left alone.
  static void discardworkfile();

 private:
  void moveto(int q);
  bool changed_ = false;
  // Notes the file as it is now, as counted (after a count, or a write
  // that found it as counted).
  void stamp();
  // Throws core::FileChanged when the file counted is no longer as counted.
  void requirecounted() const;
  // Writes record recno of the file after checking that it is the one
  // counted.
  void writerecord(long recno, const core::testrecord& r);

  // The file counted last, by name, and its stamp then. The check applies
  // to that file alone: a document given a file by hand has counted none.
  std::string countedname_;
  core::FileStamp counted_;
};

// The bytes of a test file after removing question q of n: the header and
// the other n - 1 questions, each a whole record (records missing from the
// file are blank; a part record at the end is dropped).
std::string withoutquestion(const std::string& bytes, long q, long n);

}  // namespace authoring
