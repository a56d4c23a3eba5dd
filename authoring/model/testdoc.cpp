#include "authoring/model/testdoc.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "authoring/model/testfiles.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"

namespace authoring {

void TestHeader::untitled() {
  testtitle = core::fixwidth("untitled", core::TEST_TITLE_WIDTH);
  testdescription = std::string(core::TEST_DESCRIPTION_WIDTH, ' ');
  testinstructions = std::string(core::TEST_INSTRUCTIONS_WIDTH, ' ');
}

void TestHeader::take(const std::string& title, const std::string& description, const std::string& instructions,
                      bool include) {
  includeinmenu = include ? 1 : 0;
  const core::testrecord r =
      core::testrecord::header(title, core::trim(description), core::trim(instructions), includeinmenu);
  testtitle = r.question.substr(0, core::TEST_TITLE_WIDTH);
  testdescription = r.help.substr(0, core::TEST_DESCRIPTION_WIDTH);
  testinstructions = r.help.substr(core::TEST_DESCRIPTION_WIDTH, core::TEST_INSTRUCTIONS_WIDTH);
}

core::testrecord TestHeader::record() const {
  return core::testrecord::header(testtitle, testdescription, testinstructions, includeinmenu);
}

void TestDocument::setcurrentfile(const std::string& name) {
  filename = name;
  changed_ = false;
}

void TestDocument::showing(bool complete) {
  if (!cansave(complete)) changed_ = false;
}

void TestDocument::stamp() {
  countedname_ = filename;
  counted_ = core::filestamp(filename);
}

void TestDocument::requirecounted() const {
  if (countedname_ == filename) core::requireunchanged(filename, counted_);
}

void TestDocument::writerecord(long recno, const core::testrecord& r) {
  requirecounted();
  core::writetestrecord(filename, recno, r);
  stamp();
}

void TestDocument::reload() {
  // Noted before the file is read: a change made meanwhile is found at the
  // next write.
  stamp();
  const std::string bytes = core::readwholefile(filename);
  const OpenedTest opened = readtestfile(filename);
  if (!counted_.exists) stamp();  // a missing file was created empty by the read
  header = opened.header;
  const long n = opened.numquest;
  // The record read or written last, nearest to where it was.
  const std::string mine = rec.encode();
  const std::string blank = core::testrecord::blank().encode();
  long found = 0;
  if (mine != blank) {
    for (long d = 0; found == 0 && d <= std::max<long>(n, qno); ++d)
      for (const long q : {qno - d, qno + d})
        if (found == 0 && q >= 1 && q <= n && core::recordat(bytes, q + 1, core::TEST_RECORD_LENGTH, blank) == mine)
          found = q;
  }
  if (found != 0) {
    numquest = static_cast<std::int16_t>(std::max<long>(n, 1));
    qno = static_cast<std::int16_t>(found);
  } else {
    numquest = qno = static_cast<std::int16_t>(std::min<long>(n + 1, MAXQUESTIONS));
    rec = core::testrecord::blank();
  }
}

void TestDocument::storequestion(const std::string& question, const std::string& help, const std::string& answer) {
  core::testrecord r = core::testrecord::item(question, help, answer);
  writerecord(qno + 1L, r);
  rec = std::move(r);
}

void TestDocument::readquestion() {
  if (qno > 0) rec = core::readtestrecord(filename, qno + 1L);
}

void TestDocument::writeheader() {
  // The header never moves, so it is written whatever another program did;
  // the file counts as counted afterwards only when it was before.
  const bool counted = countedname_ == filename && core::filestamp(filename) == counted_;
  core::writetestrecord(filename, 1, header.record());
  if (counted) stamp();
}

void TestDocument::moveto(int q) {
  // Read first: a read that fails leaves the question shown as it was.
  core::testrecord r = core::readtestrecord(filename, q + 1L);
  rec = std::move(r);
  qno = static_cast<std::int16_t>(q);
}

void TestDocument::previous() { moveto(qno > 1 ? qno - 1 : numquest); }

bool TestDocument::next() {
  if (!canaddquestion()) return false;
  if (qno < numquest) {
    moveto(qno + 1);
    return true;
  }
  // The empty question is on disk before the count takes it in.
  const core::testrecord empty = core::testrecord::blank();
  writerecord(qno + 2L, empty);
  rec = empty;
  ++qno;
  numquest = qno;
  return true;
}

void TestDocument::backten() { moveto(std::max(1, qno - 10)); }

void TestDocument::forwardten() { moveto(std::min<int>(numquest, qno + 10)); }

void TestDocument::deletequestion() {
  const std::string bytes = core::readwholefile(filename);
  requirecounted();
  core::writewholefile(filename, withoutquestion(bytes, qno, numquest));
  stamp();
  if (numquest > 1) --numquest;
  if (qno > numquest) qno = numquest;
  try {
    readquestion();
  } catch (const core::FileError&) {
    // The deletion is done; a question that cannot be read now shows empty.
    rec = core::testrecord::blank();
  }
  changed_ = true;
}

void TestDocument::untitled() {
  rec = core::testrecord::blank();
  setcurrentfile(WORKFILE);
  stamp();
  numquest = 1;
  qno = 1;
  savename = WORKFILE;
  header.untitled();
}

void TestDocument::newtest() {
  untitled();
  header.includeinmenu = 0;
  writeheader();
}

void TestDocument::opentest(const std::string& name) {
  const core::FileStamp counted = core::filestamp(name);
  const OpenedTest opened = readtestfile(name);
  // The question to show is read before anything changes: a read that
  // fails leaves the editor on the test it had.
  TestDocument next = *this;
  // changed stays: only the untitled test is ever offered for saving.
  next.filename = name;
  next.numquest = opened.numquest;
  next.qno = next.numquest;
  if (next.numquest == 0) next.numquest = next.qno = 1;
  next.readquestion();
  next.header = opened.header;
  // A missing file was created empty by the read.
  next.countedname_ = name;
  next.counted_ = counted.exists ? counted : core::filestamp(name);
  *this = std::move(next);
}

void TestDocument::savefile(const Boxes& shown) {
  // The header and the shown question come from memory, so that a test
  // whose own file cannot be written (a read-only folder, a full disk) can
  // still be saved elsewhere.
  const core::testrecord question = core::testrecord::item(shown.question, shown.help, shown.answer);
  // The last question is shown next: read before anything is written.
  core::testrecord last = qno == numquest ? question : core::readtestrecord(filename, numquest + 1L);
  if (!savetest(filename, numquest, savename, {{1, header.record()}, {qno + 1L, question}})) return;
  setcurrentfile(savename);
  stamp();
  qno = numquest;
  rec = std::move(last);
}

bool TestDocument::replaces(const std::string& name) const {
  const std::string f = core::trim(name);
  if (f.empty() || f == filename || samefile(f, filename)) return false;
  std::error_code ec;
  return std::filesystem::exists(core::datapath(f), ec);
}

SaveAsResult TestDocument::saveto(const std::string& name, bool mayreplace, const Boxes& shown,
                                  const TextOptions& options) {
  // The test stays unsaved (changed as it was) unless it is saved as a
  // test file below: a cancelled dialog, a declined overwrite, a text
  // export (which holds no question still in the boxes) and a failure keep
  // it on offer.
  SaveAsResult r;
  const std::string f = core::trim(name);
  // The file being edited under any spelling: nothing more to do.
  if (f.empty() || f == filename || samefile(f, filename)) return r;
  if (!mayreplace && replaces(name)) return r;
  try {
    checksavename(name);
    if (istextname(name)) {
      saveastextfile(name, filename, numquest, header.testtitle, header.testdescription, header.testinstructions,
                     options);
      r.what = SaveAsResult::text;
      return r;
    }
  } catch (const core::FileError& e) {
    // A full disk or a folder that may not be written is no fault of the name.
    const bool unwritable = e.number() == core::ErrDiskFull || e.number() == core::ErrPermission;
    r.what = unwritable ? SaveAsResult::notwritten : SaveAsResult::illegalname;
    r.note = core::errornote(e);
    return r;
  }
  try {
    savename = name;
    savefile(shown);
    r.what = SaveAsResult::saved;
  } catch (const core::FileError& e) {
    r.what = SaveAsResult::copyfailed;
    r.note = core::errornote(e);
  }
  return r;
}

void TestDocument::discardworkfile() {
  std::error_code ec;
  const std::filesystem::path work = core::datapath(WORKFILE);
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(work, ec))) std::filesystem::remove(work, ec);
}

std::string withoutquestion(const std::string& bytes, long q, long n) {
  const std::size_t len = core::TEST_RECORD_LENGTH;
  const std::string blank = core::testrecord::blank().encode();
  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(n, 1L)) * len);
  for (long r = 1; r <= n + 1; ++r) {
    if (r != q + 1) out += core::recordat(bytes, r, len, blank);
  }
  return out;
}

}  // namespace authoring
