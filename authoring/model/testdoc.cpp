#include "authoring/model/testdoc.h"

#include <algorithm>

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

void TestDocument::previous() {
  qno = qno > 1 ? static_cast<std::int16_t>(qno - 1) : numquest;
  getfile();
}

bool TestDocument::next() {
  if (!canaddquestion()) return false;
  if (qno < numquest) {
    ++qno;
    getfile();
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

void TestDocument::backten() {
  qno = static_cast<std::int16_t>(std::max(1, qno - 10));
  getfile();
}

void TestDocument::forwardten() {
  qno = static_cast<std::int16_t>(std::min<int>(numquest, qno + 10));
  getfile();
}

void TestDocument::deletequestion() {
  core::writewholefile(filename, withoutquestion(core::readwholefile(filename), qno, numquest));
  if (numquest > 1) --numquest;
  if (qno > numquest) qno = numquest;
  getfile();
  changed = true;
}

std::string withoutquestion(const std::string& bytes, long q, long n) {
  const std::size_t len = core::TEST_RECORD_LENGTH;
  const std::string blank = core::testrecord::blank().encode();
  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(n, 1L)) * len);
  for (long r = 1; r <= n + 1; ++r) {
    if (r == q + 1) continue;
    const std::size_t at = static_cast<std::size_t>(r - 1) * len;
    out += at + len <= bytes.size() ? bytes.substr(at, len) : blank;
  }
  return out;
}

}  // namespace authoring
