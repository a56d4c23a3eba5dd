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

std::string filemenucaption(int index, const std::string& name) {
  std::string shown;
  for (char c : name) {
    shown += c;
    if (c == '&') shown += '&';
  }
  const std::string number = core::numtext(index);
  return index < 10 ? "&" + number + " " + shown : number + " " + shown;
}

std::string withextension(const std::string& name, bool texttype) {
  if (core::trim(name).empty() || istextname(name)) return name;
  // A dot elsewhere in the name ("Week 2.1") is no extension of ours.
  if (!texttype && name.size() >= 4 && core::upper(name.substr(name.size() - 4)) == ".VQT") return name;
  return name + (texttype ? ".txt" : ".vqt");
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
  const core::testhead head = core::readtestheader(name);
  if (head.questions > std::numeric_limits<std::int16_t>::max())
    throw core::FileError(core::ErrOverflow, name + " holds too many questions");

  OpenedTest t;
  t.header.testtitle = core::fixwidth(head.header.title(), core::TEST_TITLE_WIDTH);
  t.header.testdescription = head.header.description();
  t.header.testinstructions = head.header.instructions();
  const long long flag = core::roundeven(core::val(core::trim(head.header.answer)));
  t.header.includeinmenu = static_cast<std::int16_t>(std::clamp<long long>(
      flag, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  t.numquest = static_cast<std::int16_t>(head.questions);
  return t;
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

bool savetest(const std::string& source, long numquest, const std::string& target,
              const std::vector<std::pair<long, core::testrecord>>& replaced) {
  if (samefile(source, target)) return false;
  std::string bytes = testbytes(source, numquest);
  const std::size_t len = core::TEST_RECORD_LENGTH;
  for (const auto& [n, record] : replaced)
    if (n >= 1 && n <= numquest + 1) bytes.replace(static_cast<std::size_t>(n - 1) * len, len, record.encode());
  core::writewholefile(target, bytes);
  return true;
}

}  // namespace authoring
