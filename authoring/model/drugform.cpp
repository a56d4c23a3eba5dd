#include "authoring/model/drugform.h"

#include <algorithm>

#include "core/text.h"

namespace authoring {

namespace {

int listcode(int code, int count) { return code >= 0 && code < count ? code : NOSELECTION; }

std::string number(double v) { return core::numtext(v); }

std::size_t lastcount(const core::DrugLists& table) {
  const auto n = static_cast<std::size_t>(std::max<int>(table.ncategories, 0));
  return std::min({n, table.catname.size() - 1, table.catnum.size() - 1});
}

// The table entry (from 1) of the last category of that name, or 0.
std::size_t lastmatch(const std::string& name, const core::DrugLists& table) {
  std::size_t found = 0;
  for (std::size_t k = 1; k <= lastcount(table); ++k)
    if (samename(table.catname[k], name)) found = k;
  return found;
}

}  // namespace

bool samename(std::string_view a, std::string_view b) { return core::rtrim(a) == core::rtrim(b); }

std::string categoryname(const core::DrugLists& table, int number) {
  std::string name;
  for (std::size_t k = 1; k <= lastcount(table); ++k)
    if (number != 0 && table.catnum[k] == number)
      name = core::categorycaption(table, static_cast<int>(k), core::Cut::Trailing);
  return name;
}

DrugForm formof(const core::drugrecord& d, const core::DrugLists& table) {
  DrugForm f;
  f.Text1 = core::rtrim(d.genericname);
  for (std::size_t i = 0; i < 2; ++i) {
    f.Text2[i] = core::rtrim(d.tradename[i]);
    f.Text3[i] = number(d.doserange[i].amount);
    f.List1[i] = listcode(d.doserange[i].unit, core::UNITCOUNT);
  }
  f.Increment = number(d.increment);
  for (std::size_t i = 0; i < DRUGROWS; ++i) {
    f.Check1[i] = d.halve[i] == 1;
    f.Type[i] = listcode(d.preptype[i], core::TYPECOUNT);
    f.Dose[i] = number(d.strength[i]);
    f.doseunit[i] = listcode(d.strengthunit[i], core::UNITCOUNT);
    f.noof[i] = number(d.volume[i]);
    if (core::isfluidtype(f.Type[i]))
      f.Check1[i] = false;
    else
      f.noof[i].clear();
  }
  if (f.Text1.empty()) {
    f.List1.fill(core::MILLIGRAMS);
    f.doseunit.fill(core::MILLIGRAMS);
  }
  f.Cbcategory = categoryname(table, d.category);
  return f;
}

core::drugrecord recordof(const DrugForm& f, core::drugrecord d, const core::DrugLists& table) {
  d.genericname = core::fixwidth(core::rtrim(f.Text1), 30);
  for (std::size_t i = 0; i < 2; ++i) {
    d.tradename[i] = core::fixwidth(core::rtrim(f.Text2[i]), 30);
    d.doserange[i].amount = core::val(f.Text3[i]);
    d.doserange[i].unit = static_cast<std::int16_t>(f.List1[i]);
  }
  d.increment = core::val(f.Increment);
  for (std::size_t i = 0; i < DRUGROWS; ++i) {
    d.halve[i] = f.Check1[i] ? 1 : 0;
    d.preptype[i] = static_cast<std::int16_t>(f.Type[i]);
    d.strength[i] = core::val(f.Dose[i]);
    d.strengthunit[i] = static_cast<std::int16_t>(f.doseunit[i]);
    d.volume[i] = core::val(f.noof[i]);
    d.volumeunit[i] = core::MILLIGRAMS;  // volumes are always millilitres
  }
  if (const std::size_t k = lastmatch(f.Cbcategory, table)) d.category = table.catnum[k];
  return d;
}

bool recordchanged(const DrugForm& f, const core::drugrecord& saved, const core::DrugLists& table) {
  if (!samename(f.Text1, saved.genericname)) return true;
  for (std::size_t i = 0; i < 2; ++i)
    if (!samename(f.Text2[i], saved.tradename[i])) return true;
  for (std::size_t i = 0; i < 2; ++i)
    if (core::val(f.Text3[i]) != saved.doserange[i].amount || f.List1[i] != saved.doserange[i].unit) return true;
  if (core::val(f.Increment) != saved.increment) return true;
  for (std::size_t i = 0; i < DRUGROWS; ++i) {
    if ((f.Check1[i] ? 1 : 0) != saved.halve[i] || f.Type[i] != saved.preptype[i]) return true;
    if (core::val(f.Dose[i]) != saved.strength[i] || f.doseunit[i] != saved.strengthunit[i]) return true;
    if (core::val(f.noof[i]) != saved.volume[i]) return true;
  }
  // The category is the number of the last entry of the text's name, 0 when
  // none has it. A saved number that the table lacks was shown as an empty
  // text, so it counts as 0 too: a record left untouched is no change.
  const std::size_t k = lastmatch(f.Cbcategory, table);
  bool known = false;
  for (std::size_t j = 1; j <= lastcount(table); ++j) known = known || table.catnum[j] == saved.category;
  return (k != 0 ? table.catnum[k] : 0) != (known ? saved.category : 0);
}

std::vector<Problem> validate(const DrugForm& f) {
  std::vector<Problem> out;
  if (core::rtrim(f.Text1).empty()) out.push_back({"A drug title must be entered!", "", true});
  if (core::val(f.Text3[0]) == 0 || core::val(f.Text3[1]) == 0)
    out.push_back({"Dose range and increment values must be included!", DRUGTITLE, true});
  bool fluidwithvolume = false;
  for (std::size_t i = 0; i < DRUGROWS; ++i) {
    if (!core::isfluidtype(f.Type[i])) continue;
    if (core::val(f.noof[i]) == 0)
      out.push_back({"All fluid doses must include a volume 'in' value!", DRUGTITLE, true});
    else if (core::val(f.noof[i]) > 0)
      fluidwithvolume = true;
  }
  if (fluidwithvolume && core::val(f.Increment) == 0)
    out.push_back({"An 'increment value' must be included when using fluid preparations", "Drug Databas", false});
  if (std::all_of(f.Dose.begin(), f.Dose.end(), [](const std::string& t) { return core::val(t) == 0; }))
    out.push_back({"At least one dose must be included!", DRUGTITLE, true});
  return out;
}

bool blocking(const std::vector<Problem>& problems) {
  return std::any_of(problems.begin(), problems.end(), [](const Problem& p) { return p.blocks; });
}

CategoryOutcome addcategory(const std::string& text, std::vector<std::string>& list, core::DrugLists& table) {
  const std::string name = core::rtrim(text);
  if (name.empty()) return CategoryOutcome::Known;
  if (std::any_of(list.begin(), list.end(), [&](const std::string& entry) { return samename(entry, name); }))
    return CategoryOutcome::Known;
  // The table holds 50 categories; a further one would have no entry.
  if (table.ncategories >= core::MAXCATEGORIES) return CategoryOutcome::Refused;
  const auto k = static_cast<std::size_t>(std::max<int>(table.ncategories, 0)) + 1;
  // Numbers dropped from the category file are given out again: the
  // smallest number that no other entry of the table has.
  const auto taken = [&](std::int16_t n) {
    for (std::size_t j = 1; j < k && j < table.catnum.size(); ++j)
      if (table.catnum[j] == n) return true;
    return false;
  };
  std::int16_t n = 1;
  while (taken(n)) ++n;
  if (table.catname.size() <= k) table.catname.resize(k + 1, std::string(core::CATEGORYWIDTH, ' '));
  if (table.catnum.size() <= k) table.catnum.resize(k + 1, 0);
  list.push_back(name);
  table.ncategories = static_cast<std::int16_t>(k);
  table.catname[k] = core::fixwidth(name, core::CATEGORYWIDTH);
  table.catnum[k] = n;
  return CategoryOutcome::Created;
}

Problem categorymessage(CategoryOutcome outcome) {
  if (outcome == CategoryOutcome::Refused)
    return {"There can be no more than 50 drug categories. This drug keeps its category.", DRUGTITLE, true};
  return {"You have created a new category for this drug", DRUGTITLE, false};
}

}  // namespace authoring
