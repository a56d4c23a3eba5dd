#include "authoring/model/drugdatabase.h"

#include <algorithm>
#include <vector>

#include "core/files.h"
#include "core/text.h"

namespace authoring {

std::string withoutdrug(const std::string& bytes, long recno, long reccount) {
  constexpr std::size_t L = core::DRUG_RECORD_LENGTH;
  const std::string blank = core::drugrecord::blank().encode();
  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(reccount - 1, 0L)) * L);
  for (long r = 1; r <= reccount; ++r) {
    if (r != recno) out += core::recordat(bytes, r, L, blank);
  }
  return out;
}

int loadcategorytable(core::DrugLists& table) {
  int first = 0;
  core::loadcategories(table, core::Build::Tool, [&](int e) {
    if (first == 0) first = e;
  });
  if (first != 0) {
    table.ncategories = 0;
    std::fill(table.catname.begin(), table.catname.end(), std::string(20, ' '));
    std::fill(table.catnum.begin(), table.catnum.end(), 0);
  }
  return first;
}

std::string categoryfailure(int error) {
  return "The drug category file " + std::string(core::CATEGORY_FILE) + " could not be read (error " +
         std::to_string(error) + "). The editor opens with no categories.";
}

std::vector<std::string> categorylist(const core::DrugLists& table) {
  std::vector<std::string> out;
  for (int k = 1; k <= table.ncategories && k < static_cast<int>(table.catname.size()); ++k)
    out.push_back(core::categorycaption(table, k, core::Cut::Trailing));
  return out;
}

Problem filefailure(const std::string& what, const core::FileError& e) {
  // A full disk or a refused write says so, so that the teacher can act on it.
  return {what + " (error " + core::numberandcause(e.number()) + ").", DRUGTITLE, true, true};
}

void DrugDatabase::opendatabase() {
  const long n = core::drugcount();
  reccount = currec = n == 0 ? 1 : n;
}

void DrugDatabase::readcurrent() { drug = core::readdrug(currec); }

void DrugDatabase::writecurrent() { core::writedrug(currec, drug); }

std::vector<Problem> DrugDatabase::validaterecord(const DrugForm& form) {
  std::vector<Problem> problems = validate(form);
  invalid = blocking(problems);
  return problems;
}

std::vector<Problem> DrugDatabase::checksave(const DrugForm& form, const core::DrugLists& table,
                                             const std::function<bool()>& wantsave) {
  drug = recordof(form, drug, table);
  invalid = false;
  if (!recordchanged(form, savedrecord, table) || !wantsave()) return {};
  std::vector<Problem> problems = validaterecord(form);
  if (invalid) return problems;
  try {
    writecurrent();
  } catch (const core::FileError& e) {
    // A record that cannot be written is not left as if it had been.
    problems.push_back(filefailure("The drug could not be saved", e));
    invalid = true;
  }
  return problems;
}

std::vector<Problem> DrugDatabase::leave(Move to, const DrugForm& form, const core::DrugLists& table,
                                         const std::function<bool()>& wantsave) {
  std::vector<Problem> problems = checksave(form, table, wantsave);
  if (invalid) {
    invalid = false;
    return problems;
  }
  const long from = currec, counted = reccount;
  switch (to) {
    case Move::First: first(); break;
    case Move::Last: last(); break;
    case Move::Previous: previous(); break;
    case Move::Next:
      if (next()) {
        const std::vector<Problem> again = validaterecord(form);
        problems.insert(problems.end(), again.begin(), again.end());
        if (invalid)
          refusenew();
        else
          acceptnew();
      }
      break;
  }
  try {
    readcurrent();
  } catch (const core::FileError& e) {
    // Showing one record under the number of another would let a later
    // save write it there.
    problems.push_back(filefailure("The drug could not be read", e));
    currec = from;
    reccount = counted;
  }
  invalid = false;
  return problems;
}

void DrugDatabase::deletecurrent() {
  // The new database is complete before it replaces the old one, which is
  // never changed first.
  core::writewholefile(core::DRUG_DATABASE, withoutdrug(core::readwholefile(core::DRUG_DATABASE), currec, reccount));
  --reccount;
  currec = std::min(currec, reccount);
  if (reccount < 1) reccount = currec = 1;
  readcurrent();
}

void DrugDatabase::rebuild(const core::DrugLists& table) const {
  std::vector<core::drugrecord> records = core::readdatabase();
  // Records counted past the end of the file read blank, so they are in no
  // list and mark no category.
  records.resize(static_cast<std::size_t>(std::max(reccount, 0L)), core::drugrecord::blank());
  const auto n = static_cast<std::size_t>(std::max<int>(table.ncategories, 0)) + 1;
  const std::vector<std::string> names(table.catname.begin(), table.catname.begin() + static_cast<long>(std::min(n, table.catname.size())));
  const std::vector<std::int16_t> numbers(table.catnum.begin(), table.catnum.begin() + static_cast<long>(std::min(n, table.catnum.size())));
  core::writeindexfiles(core::buildindextexts(records, names, numbers));
}

}  // namespace authoring
