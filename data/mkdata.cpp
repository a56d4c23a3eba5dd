// Builds the sample data files from their readable sources:
//   mkdata <drugs.txt> <test source> <output folder> <test file name>
// writes VQDBASE.FIL, vqdbs1.idx, vqdbs2.idx and vqcat.idx from the drug
// list, and the sample test file from the test source. Every drug is
// checked to admit at least one tablet or fluid question; any fault in the
// sources stops the build with a message naming the line.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/corestate.h"
#include "core/drug.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/generators.h"
#include "core/tables.h"
#include "core/testfile.h"
#include "core/text.h"

namespace {

struct SourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<std::string> readlines(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SourceError("cannot read " + file);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream s(line);
  std::vector<std::string> out;
  std::string w;
  while (s >> w) out.push_back(w);
  return out;
}

std::string rest(const std::string& line, const std::string& keyword) {
  return core::trim(line.substr(line.find(keyword) + keyword.size()));
}

const std::map<std::string, std::int16_t> UNITS = {{"kg", 0}, {"hg", 1}, {"dag", 2}, {"g", 3},
                                                   {"dg", 4}, {"cg", 5}, {"mg", 6}, {"mcg", 7}};
const std::map<std::string, std::int16_t> TYPES = {
    {"tablet", 0},   {"capsule", 1}, {"solution", 2}, {"suspension", 3}, {"syrup", 4}, {"emulsion", 5},
    {"forte", 6},    {"elixir", 7},  {"im", 8},       {"sc", 9},         {"iv", 10}};

// A source number is digits with at most one point and nothing else, so a
// slip such as "5OO" stops the build; its value is then read by the core's
// own number reading.
bool isdecimal(const std::string& text, bool point) {
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && point) point = false;
    else return false;
  }
  return digit;
}

double amount(const std::string& text) {
  const double v = isdecimal(text, true) ? core::val(text) : 0;
  if (!(v > 0)) throw SourceError("bad amount '" + text + "'");
  return v;
}

// A category number: 1 to 32767.
int categorynumber(const std::string& text) {
  const double v = isdecimal(text, false) && text.size() <= 5 ? core::val(text) : 0;
  if (!(v >= 1 && v <= 32767)) throw SourceError("category numbers are 1 to 32767, not '" + text + "'");
  return static_cast<int>(v);
}

std::string linetext(std::size_t n) { return core::numtext(static_cast<long long>(n)); }

std::int16_t unit(const std::string& text) {
  const auto it = UNITS.find(text);
  if (it == UNITS.end()) throw SourceError("unknown unit '" + text + "'");
  return it->second;
}

struct Database {
  std::vector<std::string> catname{""};
  std::vector<std::int16_t> catnum{0};
  std::vector<core::drugrecord> drugs;
  std::vector<std::size_t> lineof;  // source line of each drug
  std::vector<int> rows;            // preparations given per drug
};

Database readdrugs(const std::string& file) {
  Database db;
  const auto lines = readlines(file);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    const auto w = words(line);
    if (w.empty() || w[0][0] == '#') continue;
    try {
      const std::string& key = w[0];
      const bool indrug = !db.drugs.empty();
      if (key == "drug") {
        const std::string name = rest(line, "drug");
        if (name.empty() || name.size() > 30) throw SourceError("a drug needs a name of 1 to 30 characters");
        core::drugrecord d;
        d.genericname = core::fixwidth(name, 30);
        d.volumeunit = {6, 6, 6, 6, 6};
        db.drugs.push_back(d);
        db.lineof.push_back(n + 1);
        db.rows.push_back(0);
      } else if (key == "category" && !indrug) {
        if (w.size() < 3) throw SourceError("category <number> <name>");
        const int num = categorynumber(w[1]);
        const std::string name = rest(line.substr(line.find(w[1]) + w[1].size()), "");
        if (name.size() > 20 || name.find('"') != std::string::npos)
          throw SourceError("a category name has up to 20 characters and no double quote");
        for (auto c : db.catnum)
          if (c == num) throw SourceError("category " + w[1] + " given twice");
        db.catname.push_back(name);
        db.catnum.push_back(static_cast<std::int16_t>(num));
      } else if (!indrug) {
        throw SourceError("'" + key + "' outside a drug");
      } else if (key == "category") {
        core::drugrecord& d = db.drugs.back();
        if (w.size() != 2) throw SourceError("category <number>");
        d.category = static_cast<std::int16_t>(categorynumber(w[1]));
        bool known = false;
        for (auto c : db.catnum) known = known || (c == d.category && c > 0);
        if (!known) throw SourceError("unknown category " + w[1]);
      } else if (key == "trade") {
        core::drugrecord& d = db.drugs.back();
        const std::string name = rest(line, "trade");
        if (name.size() > 30) throw SourceError("a trade name has up to 30 characters");
        if (core::trim(d.tradename[0]).empty()) d.tradename[0] = core::fixwidth(name, 30);
        else if (core::trim(d.tradename[1]).empty()) d.tradename[1] = core::fixwidth(name, 30);
        else throw SourceError("at most two trade names");
      } else if (key == "dose") {
        if (w.size() != 6 || w[3] != "to") throw SourceError("dose <lowest> <unit> to <highest> <unit>");
        core::drugrecord& d = db.drugs.back();
        d.doserange[0] = {amount(w[1]), unit(w[2])};
        d.doserange[1] = {amount(w[4]), unit(w[5])};
      } else if (key == "increment") {
        if (w.size() != 3) throw SourceError("increment <amount> <unit>");
        core::drugrecord& d = db.drugs.back();
        if (unit(w[2]) != d.doserange[1].unit)
          throw SourceError("the increment is given in the unit of the highest dose (after the dose line)");
        d.increment = amount(w[1]);
      } else if (TYPES.count(key)) {
        core::drugrecord& d = db.drugs.back();
        int& row = db.rows.back();
        if (row >= 5) throw SourceError("at most five preparations");
        if (w.size() < 3) throw SourceError("<type> <strength> <unit> [in <volume> ml] [halve]");
        const auto k = static_cast<std::size_t>(row);
        d.preptype[k] = TYPES.at(key);
        d.strength[k] = amount(w[1]);
        d.strengthunit[k] = unit(w[2]);
        std::size_t i = 3;
        if (d.preptype[k] >= 2) {
          if (w.size() < 6 || w[3] != "in" || w[5] != "ml") throw SourceError("a fluid needs 'in <volume> ml'");
          d.volume[k] = amount(w[4]);
          i = 6;
        }
        for (; i < w.size(); ++i) {
          if (w[i] == "halve" && d.preptype[k] == 0) d.halve[k] = 1;
          else throw SourceError("unexpected '" + w[i] + "'");
        }
        ++row;
      } else {
        throw SourceError("unknown line '" + key + "'");
      }
    } catch (const SourceError& e) {
      throw SourceError(file + ":" + linetext(n + 1) + ": " + e.what());
    }
  }
  return db;
}

// The questions a solid row admits, worked out as the tablet generator
// does: the ordered doses m x strength (or halves) within the dose range.
// A fluid row is checked by the fluid generator's own rule.
int solidquestions(const core::SharedTables& t, const core::drugrecord& d, int row) {
  const auto k = static_cast<std::size_t>(row);
  const int hu = d.doserange[1].unit + 1;
  const bool converted = d.strengthunit[k] != d.doserange[1].unit;
  const double s = converted ? d.strength[k] * core::prefixvalue(t, d.strengthunit[k] + 1) /
                                   core::prefixvalue(t, hu)
                             : d.strength[k];
  const double h = d.doserange[1].amount;
  const double l = d.doserange[0].unit != d.doserange[1].unit
                       ? d.doserange[0].amount * core::prefixvalue(t, d.doserange[0].unit + 1) /
                             core::prefixvalue(t, hu)
                       : d.doserange[0].amount;
  int n = static_cast<int>(std::floor(h / s));
  if (n > 5) n = 5;
  if (n < 1) n = 1;
  int accepted = 0;
  for (int m = 1; m <= n; ++m) {
    const double dose = d.halve[k] == 1 ? m * s / 2 : m * s;
    const double a = dose / s;
    if (!converted && a == 1) continue;
    if (a * s < l || a * s > h) continue;
    ++accepted;
  }
  return accepted;
}

void checkdrugs(const Database& db, const std::string& file) {
  const core::SharedTables t = core::filledtables();
  core::CoreState state;
  state.tables = t;
  for (std::size_t i = 0; i < db.drugs.size(); ++i) {
    const auto& d = db.drugs[i];
    state.drug = d;
    const std::string where = file + ":" + linetext(db.lineof[i]) + ": " + core::trim(d.genericname);
    if (!(d.doserange[0].amount > 0) || !(d.doserange[1].amount > 0))
      throw SourceError(where + ": no dose range");
    if (d.category == 0) throw SourceError(where + ": no category");
    if (db.rows[i] == 0) throw SourceError(where + ": no preparation");
    for (int r = 0; r < db.rows[i]; ++r) {
      const bool solid = core::issolidrow(d, r);
      const bool asked = solid ? solidquestions(t, d, r) > 0 : core::dosage::offersfluiddose(state, r);
      if (!asked)
        throw SourceError(where + ": preparation " + linetext(static_cast<std::size_t>(r + 1)) + " admits no " +
                          (solid ? "tablet question"
                                 : "fluid question (a dose of whole increments within the dose range that fits "
                                   "its volume, with an answer of at most two decimals)"));
    }
  }
}

// Test source: "@field" lines start a field, the lines up to the next field
// are its text.
struct Field {
  std::string name, text;
  std::size_t line;
};

std::vector<Field> readfields(const std::string& file) {
  std::vector<Field> fields;
  std::vector<std::string> body;
  auto finish = [&] {
    if (fields.empty()) return;
    while (!body.empty() && core::trim(body.back()).empty()) body.pop_back();
    std::size_t first = 0;
    while (first < body.size() && core::trim(body[first]).empty()) ++first;
    std::string text;
    for (std::size_t i = first; i < body.size(); ++i) {
      if (i > first) text += core::crlf;
      text += body[i];
    }
    fields.back().text = text;
    body.clear();
  };
  const auto lines = readlines(file);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (!line.empty() && line[0] == '#') continue;
    if (!line.empty() && line[0] == '@') {
      finish();
      fields.push_back({core::trim(line.substr(1)), "", n + 1});
      continue;
    }
    if (fields.empty()) {
      if (!core::trim(line).empty()) throw SourceError(file + ":" + linetext(n + 1) + ": text before the first field");
      continue;
    }
    body.push_back(line);
  }
  finish();
  return fields;
}

void writetest(const std::string& source, const std::string& testfile) {
  const auto fields = readfields(source);
  std::string title, description, instructions, include;
  struct Question {
    std::string question, answer, solution;
  };
  std::vector<Question> questions;
  for (const auto& f : fields) {
    const std::string where = source + ":" + linetext(f.line) + ": ";
    auto limit = [&](std::size_t width) {
      if (f.text.size() > width)
        throw SourceError(where + f.name + " is longer than " + linetext(width) + " characters");
    };
    if (f.name == "title") { limit(40); title = f.text; }
    else if (f.name == "include") include = f.text;
    else if (f.name == "description") { limit(200); description = f.text; }
    else if (f.name == "instructions") { limit(1000); instructions = f.text; }
    else if (f.name == "question") { limit(core::TEST_QUESTION_WIDTH); questions.push_back({f.text, "", ""}); }
    else if (f.name == "answer" || f.name == "solution") {
      if (questions.empty()) throw SourceError(where + f.name + " before the first question");
      if (f.name == "answer") { limit(core::TEST_ANSWER_WIDTH); questions.back().answer = f.text; }
      else { limit(core::TEST_HELP_WIDTH); questions.back().solution = f.text; }
    } else {
      throw SourceError(where + "unknown field '" + f.name + "'");
    }
  }
  if (title.empty()) throw SourceError(source + ": the test has no title");
  if (questions.empty()) throw SourceError(source + ": the test has no question");
  for (const auto& q : questions)
    if (core::trim(q.answer).empty()) throw SourceError(source + ": a question without an answer");
  std::filesystem::remove(core::datapath(testfile));
  core::writetestrecord(testfile, 1,
                        core::testrecord::header(title, description, instructions,
                                                 static_cast<int>(core::roundeven(core::val(include)))));
  long rec = 2;
  for (const auto& q : questions)
    core::writetestrecord(testfile, rec++, core::testrecord::item(q.question, q.solution, q.answer));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: mkdata <drugs.txt> <test source> <output folder> <test file name>\n";
    return 2;
  }
  try {
    const Database db = readdrugs(argv[1]);
    if (db.drugs.empty()) throw SourceError(std::string(argv[1]) + ": no drug");
    checkdrugs(db, argv[1]);
    const std::filesystem::path out = argv[3];
    std::filesystem::create_directories(out);
    core::setworkdir(out);
    // The database is written afresh, so that a drug taken out of the
    // source leaves no record behind.
    core::writedatabase(db.drugs);
    core::writeindexfiles(core::buildindextexts(db.drugs, db.catname, db.catnum));
    writetest(argv[2], argv[4]);
    std::cout << "mkdata: " << db.drugs.size() << " drugs, " << db.catnum.size() - 1 << " categories into "
              << out.string() << "\n";
  } catch (const SourceError& e) {
    std::cerr << "mkdata: " << e.what() << "\n";
    return 1;
  } catch (const core::FileError& e) {
    std::cerr << "mkdata: error number " << e.number() << ": " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "mkdata: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
