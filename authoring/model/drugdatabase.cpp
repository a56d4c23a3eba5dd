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

bool CategoryLoad::keepfile() const {
  return error != 0 && promised > 0 && static_cast<int>(lost.size()) == promised;
}

CategoryLoad loadcategorytable(core::DrugLists& table) {
  CategoryLoad load;
  core::loadcategories(table, core::Build::Tool, [&](int e) {
    if (load.error == 0) load.error = e;
  });
  if (load.error == 0) return load;
  // An entry that could not be read whole has no number: it is left out,
  // and the categories after it move up.
  load.promised = std::max<int>(table.ncategories, 0);
  int kept = 0;
  for (int k = 1; k <= load.promised; ++k) {
    const auto from = static_cast<std::size_t>(k);
    if (table.catnum[from] == 0) {
      load.lost.push_back(k);
      continue;
    }
    const auto to = static_cast<std::size_t>(++kept);
    table.catname[to] = table.catname[from];
    table.catnum[to] = table.catnum[from];
  }
  for (auto k = static_cast<std::size_t>(kept) + 1; k < table.catname.size(); ++k) {
    table.catname[k] = std::string(core::CATEGORYWIDTH, ' ');
    table.catnum[k] = 0;
  }
  table.ncategories = static_cast<std::int16_t>(kept);
  return load;
}

std::string categoryfailure(const CategoryLoad& load) {
  const std::string start = "The drug category file " + std::string(core::CATEGORY_FILE) + " could not be read";
  const std::string error = " " + core::errornote(load.error);
  if (load.promised == 0 || load.lost.empty()) return start + error + ". The editor opens with no categories.";
  std::string which;
  for (std::size_t i = 0; i < load.lost.size(); ++i) {
    if (i > 0) which += i + 1 == load.lost.size() ? " and " : ", ";
    which += std::to_string(load.lost[i]);
  }
  const std::size_t kept = static_cast<std::size_t>(load.promised) - load.lost.size();
  std::string text = start + " whole" + error + ": of its " + std::to_string(load.promised) + " categories, " +
                     (load.lost.size() == 1 ? "number " : "numbers ") + which + " in the file could not be read. ";
  if (kept == 0) return text + "The editor opens with no categories, and closing it leaves the file as it is.";
  return text + "The editor keeps the " + std::to_string(kept) + " it could read; drugs keep their category numbers.";
}

std::vector<std::string> categorylist(const core::DrugLists& table) {
  std::vector<std::string> out;
  for (int k = 1; k <= table.ncategories && k < static_cast<int>(table.catname.size()); ++k)
    out.push_back(core::categorycaption(table, k, core::Cut::Trailing));
  return out;
}

Problem filefailure(const std::string& what, const core::FileError& e) {
  // A full disk or a refused write says so, so that the teacher can act on it.
  std::string text = what + " " + core::errornote(e) + ".";
  if (dynamic_cast<const core::FileChanged*>(&e) != nullptr) text += " " + CHANGEDREAD;
  return {text, DRUGTITLE, true, true};
}

void DrugDatabase::stamp() { counted_ = core::filestamp(core::DRUG_DATABASE); }

void DrugDatabase::requirecounted() const {
  if (counted_) core::requireunchanged(core::DRUG_DATABASE, *counted_);
}

void DrugDatabase::opendatabase() {
  const long n = core::drugcount();
  // After the count, which creates a missing file.
  stamp();
  reccount = currec = n == 0 ? 1 : n;
}

void DrugDatabase::readcurrent() {
  drug = core::readdrug(currec);
  read_ = drug;
}

void DrugDatabase::writecurrent() {
  requirecounted();
  core::writedrug(currec, drug);
  stamp();
  read_ = drug;
}

void DrugDatabase::reload() {
  const std::vector<core::drugrecord> records = core::readdatabase();
  stamp();
  const long n = static_cast<long>(records.size());
  const std::string mine = read_.encode();
  long found = 0;
  if (mine != core::drugrecord::blank().encode()) {
    for (long d = 0; found == 0 && d <= std::max(n, currec); ++d)
      for (const long r : {currec - d, currec + d})
        if (found == 0 && r >= 1 && r <= n && records[static_cast<std::size_t>(r - 1)].encode() == mine) found = r;
  }
  savedrecord = found != 0 ? read_ : core::drugrecord::blank();
  read_ = savedrecord;
  reccount = found != 0 ? std::max(n, 1L) : n + 1;
  currec = found != 0 ? found : n + 1;
  unsaved_ = true;
}

void DrugDatabase::shown() {
  if (!unsaved_) savedrecord = drug;
  unsaved_ = false;
}

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
  } catch (const core::FileChanged& e) {
    try {
      reload();
      problems.push_back(filefailure("The drug could not be saved", e));
    } catch (const core::FileError& again) {
      problems.push_back(filefailure("The drug could not be saved and the database could not be read again", again));
    }
    invalid = true;
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
  // never changed first. Records counted past the end of the file (a new
  // one not yet saved) are not written: the file keeps only what it had.
  const std::string bytes = core::readwholefile(core::DRUG_DATABASE);
  try {
    requirecounted();
  } catch (const core::FileChanged&) {
    reload();
    throw;
  }
  constexpr std::size_t L = core::DRUG_RECORD_LENGTH;
  const long onfile = std::min(reccount, static_cast<long>((bytes.size() + L - 1) / L));
  if (currec <= onfile) {
    core::writewholefile(core::DRUG_DATABASE, withoutdrug(bytes, currec, onfile));
    stamp();
  }
  --reccount;
  currec = std::min(currec, reccount);
  if (reccount < 1) reccount = currec = 1;
  readcurrent();
}

void DrugDatabase::rebuild(const core::DrugLists& table, bool keepcategoryfile) const {
  std::vector<core::drugrecord> records = core::readdatabase();
  // Records counted past the end of the file read blank, so they are in no
  // list and mark no category. Records another program added stay listed.
  records.resize(std::max(static_cast<std::size_t>(std::max(reccount, 0L)), records.size()), core::drugrecord::blank());
  const auto n = static_cast<std::size_t>(std::max<int>(table.ncategories, 0)) + 1;
  const std::vector<std::string> names(table.catname.begin(), table.catname.begin() + static_cast<long>(std::min(n, table.catname.size())));
  const std::vector<std::int16_t> numbers(table.catnum.begin(), table.catnum.begin() + static_cast<long>(std::min(n, table.catnum.size())));
  core::IndexTexts texts = core::buildindextexts(records, names, numbers);
  // A category file that could not be read at all is no reason to lose it.
  if (keepcategoryfile) texts.categories = core::readwholefile(core::CATEGORY_FILE);
  core::writeindexfiles(texts);
}

}  // namespace authoring
