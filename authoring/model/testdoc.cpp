#include "authoring/model/testdoc.h"

#include <algorithm>
#include <utility>

#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"

namespace authoring {

void TestHeader::untitled() {
  testtitle = core::fixwidth("untitled", 40);
  testdescription = std::string(200, ' ');
  testinstructions = std::string(1000, ' ');
}

core::testrecord TestHeader::record() const {
  return core::testrecord::header(testtitle, testdescription, testinstructions, includeinmenu);
}

void TestDocument::putfile(const std::string& question, const std::string& help, const std::string& answer) {
  rec = core::testrecord::item(question, help, answer);
  core::writetestrecord(filename, qno + 1L, rec);
}

void TestDocument::getfile() {
  if (qno > 0) rec = core::readtestrecord(filename, qno + 1L);
}

void TestDocument::puttitle(const TestHeader& header) { core::writetestrecord(filename, 1, header.record()); }

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
  core::writetestrecord(filename, qno + 2L, empty);
  rec = empty;
  ++qno;
  numquest = qno;
  return true;
}

void TestDocument::backten() { moveto(std::max(1, qno - 10)); }

void TestDocument::forwardten() { moveto(std::min<int>(numquest, qno + 10)); }

void TestDocument::deletequestion() {
  core::writewholefile(filename, withoutquestion(core::readwholefile(filename), qno, numquest));
  if (numquest > 1) --numquest;
  if (qno > numquest) qno = numquest;
  changed = true;
  try {
    getfile();
  } catch (const core::FileError&) {
    // The deletion is done; a question that cannot be read now shows empty.
    rec = core::testrecord::blank();
  }
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
