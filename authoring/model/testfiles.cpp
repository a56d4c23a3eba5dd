#include "authoring/model/testfiles.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

#include "core/errors.h"
#include "core/files.h"
#include "core/testfile.h"
#include "core/text.h"

namespace authoring {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t TITLE_WIDTH = 40;
}

std::string filemenucaption(int index, const std::string& name) {
  std::string shown;
  for (char c : name) {
    shown += c;
    if (c == '&') shown += '&';
  }
  const std::string number = core::numtext(index);
  return index < 10 ? "&" + number + " " + shown : number + " " + shown;
}

bool istextname(const std::string& name) {
  return name.size() >= 4 && core::upper(name.substr(name.size() - 4)) == ".TXT";
}

bool samefile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  const bool same = fs::equivalent(core::datapath(a), core::datapath(b), ec);
  return !ec && same;
}

OpenedTest readtestfile(const std::string& name) {
  if (name.empty()) throw core::FileError(core::ErrBadFileName, "empty file name");
  std::error_code ec;
  const auto status = fs::status(core::datapath(name), ec);
  // A pipe or a device is never a test: it is not read at all.
  if (!ec && fs::exists(status) && !fs::is_regular_file(status))
    throw core::FileError(core::ErrPathFileAccess, name + " is not a file");
  core::RecordFile f(name, core::TEST_RECORD_LENGTH);
  const auto bytes = f.read(1);
  const core::testrecord header = bytes ? core::testrecord::decode(*bytes) : core::testrecord::blank();
  const long records = f.wholerecords();
  f.close();
  const long questions = records > 0 ? records - 1 : 0;
  if (questions > std::numeric_limits<std::int16_t>::max())
    throw core::FileError(core::ErrOverflow, name + " holds too many questions");

  OpenedTest t;
  const std::string title = header.title();
  t.header.testtitle = core::fixwidth(title.substr(0, std::min(title.size(), TITLE_WIDTH)), TITLE_WIDTH);
  t.header.testdescription = header.description();
  t.header.testinstructions = header.instructions();
  const long long flag = core::roundeven(core::val(core::trim(header.answer)));
  t.header.includeinmenu = static_cast<std::int16_t>(std::clamp<long long>(
      flag, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  t.numquest = static_cast<std::int16_t>(questions);
  return t;
}

void opentest(TestDocument& doc, TestHeader& header, const std::string& name, const OpenedTest& opened) {
  // The question to show is read first: a read that fails leaves the
  // editor on the test it had.
  TestDocument next = doc;
  next.filename = name;
  next.numquest = opened.numquest;
  next.qno = next.numquest;
  if (next.numquest == 0) next.numquest = next.qno = 1;
  next.getfile();
  doc = std::move(next);
  header = opened.header;
}

void newtest(TestDocument& doc, TestHeader& header) {
  doc.rec = core::testrecord::blank();
  doc.filename = WORKFILE;
  doc.numquest = 1;
  doc.qno = 1;
  doc.savename = WORKFILE;
  header.untitled();
  header.includeinmenu = 0;
  doc.changed = false;
  doc.puttitle(header);
}

void trialopen(const std::string& name) {
  core::RecordFile f(name, core::TEST_RECORD_LENGTH);
  f.close();
}

void checksavename(const std::string& name) {
  if (core::trim(name).empty()) throw core::FileError(core::ErrBadFileName, "empty file name");
  const fs::path p = core::datapath(name);
  std::error_code ec;
  if (fs::is_directory(p, ec)) throw core::FileError(core::ErrPathFileAccess, name + " is a folder");
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) throw core::FileError(core::ErrPathNotFound, name);
}

std::string testbytes(const std::string& source, long numquest) {
  // No question has the number -1: every record is kept.
  return withoutquestion(core::readwholefile(source), -1, numquest);
}

bool savetest(const std::string& source, long numquest, const std::string& target) {
  if (samefile(source, target)) return false;
  core::writewholefile(target, testbytes(source, numquest));
  return true;
}

void savefile(TestDocument& doc) {
  if (!savetest(doc.filename, doc.numquest, doc.savename)) return;
  doc.filename = doc.savename;
  doc.qno = doc.numquest;
  doc.getfile();
}

}  // namespace authoring
