// The drug database VQDBASE.FIL (fixed-length drug records), its two index
// files vqdbs1.idx (solid preparations) and vqdbs2.idx (fluid preparations)
// and the category file vqcat.idx.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace core {

inline constexpr std::size_t DRUG_RECORD_LENGTH = 240;
inline constexpr const char* DRUG_DATABASE = "VQDBASE.FIL";
inline constexpr const char* SOLID_INDEX = "vqdbs1.idx";
inline constexpr const char* FLUID_INDEX = "vqdbs2.idx";
inline constexpr const char* CATEGORY_FILE = "vqcat.idx";

// Unit codes of dose amounts and strengths, in the order of the editor's
// unit lists: 0 kg, 1 hg, 2 dag, 3 g, 4 dg, 5 cg, 6 mg, 7 mcg (code u is
// entry u + 1 of the metric prefix tables, of the gram). A record's volume
// unit is always 6, the milli- prefix: volumes are millilitres.
inline constexpr int UNITCOUNT = 8;
inline constexpr int MILLIGRAMS = 6;

// Preparation types, in the order of the editor's type lists: -1 none
// chosen, 0 Tablet, 1 Capsule, 2 Solution .. 10 IV Injection. A type below 2
// is solid (none chosen included), 2 and above a fluid.
inline constexpr int TYPECOUNT = 11;
inline constexpr int FIRSTFLUIDTYPE = 2;
constexpr bool isfluidtype(int type) { return type >= FIRSTFLUIDTYPE; }

// The tool's category table: 50 names of exactly 20 characters.
inline constexpr int MAXCATEGORIES = 50;
inline constexpr std::size_t CATEGORYWIDTH = 20;

struct dosequantity {
  double amount = 0;
  std::int16_t unit = 0;  // unit code
};

// A text field of a record, held at its width on disk: a longer text is cut,
// a shorter one padded with blanks. It lives inside the record, so a whole
// database of them is read without an allocation per field; it reads as a
// string_view wherever text is wanted.
template <std::size_t N>
class fixedtext {
 public:
  fixedtext() { chars_.fill(' '); }
  fixedtext(std::string_view text) { assign(text.data(), text.size()); }  // NOLINT: converts
  fixedtext(const char* text) : fixedtext(std::string_view(text)) {}       // NOLINT: converts
  fixedtext(const std::string& text) : fixedtext(std::string_view(text)) {}  // NOLINT: converts
  void assign(const char* text, std::size_t n) {
    n = std::min(n, N);
    std::copy_n(text, n, chars_.begin());
    std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(n), chars_.end(), ' ');
  }
  std::string_view view() const { return {chars_.data(), N}; }
  operator std::string_view() const { return view(); }  // NOLINT: reads as text
  std::string str() const { return std::string(view()); }
  friend bool operator==(const fixedtext& a, const fixedtext& b) { return a.chars_ == b.chars_; }
  friend bool operator==(const fixedtext& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const fixedtext& a, const std::string& b) { return a.view() == b; }
  friend bool operator==(const fixedtext& a, const char* b) { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& out, const fixedtext& t) { return out << t.view(); }

 private:
  std::array<char, N> chars_;
};

// One drug: 240 bytes on disk. Texts are held blank-padded to their widths.
struct drugrecord {
  fixedtext<30> genericname;
  std::array<fixedtext<30>, 2> tradename{};
  std::array<dosequantity, 2> doserange{};  // 0 lowest, 1 highest single dose
  double increment = 0;                     // step of fluid doses
  std::array<std::int16_t, 5> halve{};
  std::array<std::int16_t, 5> preptype{};  // preparation type
  std::array<double, 5> strength{};
  std::array<std::int16_t, 5> strengthunit{};
  std::array<double, 5> volume{};
  std::array<std::int16_t, 5> volumeunit{};
  std::int16_t category = 0;

  std::string encode() const;               // exactly 240 bytes
  static drugrecord decode(const std::string& bytes);  // 240 bytes
  static drugrecord blank();                // texts empty (blank), numbers 0
};

// The number of records of a database file of the given length: length / 240
// rounded to the nearest whole number, halves to the even one.
long drugrecordcount(std::uintmax_t filelength);

// Reads record n of VQDBASE.FIL in the working folder (the file is created
// empty when missing); a record beyond the end is a blank record.
drugrecord readdrug(long recno);
// Writes record n (n = count + 1 appends).
void writedrug(long recno, const drugrecord& d);
// The number of records of VQDBASE.FIL (created empty when missing).
long drugcount();
// Every record of VQDBASE.FIL, record n at index n - 1.
std::vector<drugrecord> readdatabase();
// Replaces VQDBASE.FIL by exactly these records (record n from index n - 1).
void writedatabase(const std::vector<drugrecord>& records);

// The listing rules: a row is a preparation only when its strength is above
// 0; a type below 2 (-1 included) is solid, 2 and above a fluid.
bool issolidrow(const drugrecord& d, int row);
bool isfluidrow(const drugrecord& d, int row);
bool issolid(const drugrecord& d);  // listed in vqdbs1.idx
bool isfluid(const drugrecord& d);  // listed in vqdbs2.idx

// Which program holds the drug lists: the trainee program trims category
// names and sizes the category lists to the count; the tool keeps a table of
// 50 names of exactly 20 characters.
enum class Build { Trainee, Tool };

struct DrugLists {
  std::int16_t ntablets = 0;
  std::vector<std::int16_t> tabrec{0}, tabcat{0};
  std::int16_t nfluids = 0;
  std::vector<std::int16_t> fluidrec{0}, fluidcat{0};
  std::int16_t ncategories = 0;
  std::vector<std::string> catname{""};
  std::vector<std::int16_t> catnum{0};
  std::vector<std::int16_t> selected{0};
  std::int16_t nselected = 0;
};

// The name of category k (from 1) as a program shows it. The trainee's
// menu and the test editor's list show it without blanks at either end;
// the drug editor's category box and its list without the trailing ones
// (the trainee's lists have lost those already, the tool's table keeps 20
// characters). Empty for an entry the lists do not hold.
enum class Cut { Both, Trailing };
std::string categorycaption(const DrugLists& lists, int k, Cut cut = Cut::Both);

// Lists with no drug and no category; the tool's table of 50 blank names.
DrugLists emptydruglists(Build build);

// Loads the two index files and the category file. The first failure of
// each file is handed to onerror with its error number (for a missing file,
// 53 and then its first failed read); loading goes on with the next
// operation, as the start-up handlers expect, and later failures of that
// file pass silently. Category names are kept to their 20 characters.
// The three come from one rebuild, without anything being written: the
// files as the tool last left them whole, or the new files that its note
// names when a rebuild was cut off after the note (core/files.h).
void loaddruglists(DrugLists& lists, Build build, const std::function<void(int)>& onerror);
// The category half of that: reads vqcat.idx into ncategories, catname and
// catnum alone, the drug editor's reload of the tool's category table;
// the file is taken as loaddruglists takes it.
void loadcategories(DrugLists& lists, Build build, const std::function<void(int)>& onerror);

// The three text files for a database, by the listing rules: a drug is in
// vqdbs1.idx when one of its rows has a type below 2 and a strength above 0,
// in vqdbs2.idx when one has a type of 2 or more and a strength above 0; a
// category is in vqcat.idx when some record carries its number, in the order
// of the category table.
struct IndexTexts {
  std::string solid, fluid, categories;
};
IndexTexts buildindextexts(const std::vector<drugrecord>& database,
                           const std::vector<std::string>& catname,
                           const std::vector<std::int16_t>& catnum);
// Writes the three files into the working folder.
void writeindexfiles(const IndexTexts& texts);

}  // namespace core
