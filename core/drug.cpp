#include "core/drug.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "core/errors.h"
#include "core/files.h"
#include "core/listfile.h"
#include "core/text.h"

namespace core {

namespace {

// Little-endian packing, independent of the host's byte order.
void put16(std::string& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>((u >> 8) & 0xFF);
}

void putdouble(std::string& out, double v) {
  const auto u = std::bit_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int16_t get16(const std::string& in, std::size_t at) {
  const auto lo = static_cast<unsigned char>(in[at]);
  const auto hi = static_cast<unsigned char>(in[at + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

double getdouble(const std::string& in, std::size_t at) {
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i)
    u |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  return std::bit_cast<double>(u);
}

}  // namespace

std::string drugrecord::encode() const {
  std::string out;
  out.reserve(DRUG_RECORD_LENGTH);
  out += fixwidth(genericname, 30);
  out += fixwidth(tradename[0], 30);
  out += fixwidth(tradename[1], 30);
  for (const auto& q : doserange) {
    putdouble(out, q.amount);
    put16(out, q.unit);
  }
  putdouble(out, increment);
  for (auto v : halve) put16(out, v);
  for (auto v : preptype) put16(out, v);
  for (auto v : strength) putdouble(out, v);
  for (auto v : strengthunit) put16(out, v);
  for (auto v : volume) putdouble(out, v);
  for (auto v : volumeunit) put16(out, v);
  put16(out, category);
  return out;
}

drugrecord drugrecord::decode(const std::string& bytes) {
  std::string in = bytes.substr(0, DRUG_RECORD_LENGTH);
  in.resize(DRUG_RECORD_LENGTH, '\0');
  drugrecord d;
  d.genericname = in.substr(0, 30);
  d.tradename[0] = in.substr(30, 30);
  d.tradename[1] = in.substr(60, 30);
  std::size_t at = 90;
  for (auto& q : d.doserange) {
    q.amount = getdouble(in, at);
    q.unit = get16(in, at + 8);
    at += 10;
  }
  d.increment = getdouble(in, at);
  at += 8;
  for (auto& v : d.halve) { v = get16(in, at); at += 2; }
  for (auto& v : d.preptype) { v = get16(in, at); at += 2; }
  for (auto& v : d.strength) { v = getdouble(in, at); at += 8; }
  for (auto& v : d.strengthunit) { v = get16(in, at); at += 2; }
  for (auto& v : d.volume) { v = getdouble(in, at); at += 8; }
  for (auto& v : d.volumeunit) { v = get16(in, at); at += 2; }
  d.category = get16(in, at);
  return d;
}

drugrecord drugrecord::blank() { return drugrecord{}; }

long drugrecordcount(std::uintmax_t filelength) {
  const std::uintmax_t whole = filelength / DRUG_RECORD_LENGTH;
  const std::uintmax_t rest = filelength % DRUG_RECORD_LENGTH;
  std::uintmax_t n = whole;
  // Exactly half a record rounds to the even neighbour.
  if (rest * 2 > DRUG_RECORD_LENGTH || (rest * 2 == DRUG_RECORD_LENGTH && whole % 2 == 1)) ++n;
  return static_cast<long>(n);
}

drugrecord readdrug(long recno) {
  const auto bytes = readrecord(DRUG_DATABASE, DRUG_RECORD_LENGTH, recno);
  return bytes ? drugrecord::decode(*bytes) : drugrecord::blank();
}

void writedrug(long recno, const drugrecord& d) {
  RecordFile f(DRUG_DATABASE, DRUG_RECORD_LENGTH);
  f.write(recno, d.encode());
}

long drugcount() {
  RecordFile f(DRUG_DATABASE, DRUG_RECORD_LENGTH);
  return drugrecordcount(f.size());
}

std::vector<drugrecord> readdatabase() {
  // Opening the database creates it when it is missing; then the whole
  // file is read at once rather than record by record.
  std::error_code ec;
  if (!std::filesystem::exists(datapath(DRUG_DATABASE), ec)) touchappend(DRUG_DATABASE);
  const std::string bytes = readwholefile(DRUG_DATABASE);
  const long n = drugrecordcount(bytes.size());
  std::vector<drugrecord> out;
  out.reserve(static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * DRUG_RECORD_LENGTH;
    // A record cut short at the end of the file reads blank, as a single read does.
    out.push_back(at + DRUG_RECORD_LENGTH <= bytes.size() ? drugrecord::decode(bytes.substr(at, DRUG_RECORD_LENGTH))
                                                          : drugrecord::blank());
  }
  return out;
}

void writedatabase(const std::vector<drugrecord>& records) {
  std::string bytes;
  bytes.reserve(records.size() * DRUG_RECORD_LENGTH);
  for (const auto& d : records) bytes += d.encode();
  writewholefile(DRUG_DATABASE, bytes);
}

bool issolidrow(const drugrecord& d, int row) {
  return d.preptype[static_cast<std::size_t>(row)] < 2 && d.strength[static_cast<std::size_t>(row)] > 0;
}

bool isfluidrow(const drugrecord& d, int row) {
  return d.preptype[static_cast<std::size_t>(row)] >= 2 && d.strength[static_cast<std::size_t>(row)] > 0;
}

bool issolid(const drugrecord& d) {
  for (int r = 0; r < 5; ++r)
    if (issolidrow(d, r)) return true;
  return false;
}

bool isfluid(const drugrecord& d) {
  for (int r = 0; r < 5; ++r)
    if (isfluidrow(d, r)) return true;
  return false;
}

namespace {

// One list file as the loader sees it: opened or not. Reading from a file
// that could not be opened fails with error 52, as reading from a file
// number that is not open does. Reads give their error number (0 when they
// succeed) rather than throwing. Only the first failure of a file is
// reported: a count far beyond its entries fails once for every missing
// entry, and the rest of the file is loaded on silently. A missing file
// (which start-up passes over without a message) is reported and then its
// first failed read as well.
class ListSource {
 public:
  explicit ListSource(const std::function<void(int)>& onerror) : onerror_(onerror) {}
  // Opens the file; a failure is reported by its number and loading goes
  // on with the next operation.
  void open(const std::string& name) {
    try {
      reader_ = std::make_unique<ItemReader>(name);
    } catch (const FileError& e) {
      if (onerror_) onerror_(e.number());
      if (e.number() != ErrFileNotFound) reported_ = true;
    }
  }
  int item(std::string& out, std::size_t limit = ItemReader::MAX_ITEM) {
    if (!reader_) return ErrBadFileName;
    if (reader_->eof()) return ErrInputPastEnd;
    try {
      out = reader_->item(limit);
    } catch (const FileError& e) {
      return e.number();
    }
    return 0;
  }
  // A number read into a 16-bit integer: rounded (halves to even); a value
  // outside the range is an overflow.
  int number16(std::int16_t& out) {
    std::string text;
    if (const int e = item(text)) return e;
    const double v = val(text);
    if (!(v >= -32768.5 && v <= 32767.5)) return ErrOverflow;
    const long long r = roundeven(v);
    if (r < -32768 || r > 32767) return ErrOverflow;
    out = static_cast<std::int16_t>(r);
    return 0;
  }
  void report(int number) {
    if (number == 0 || reported_) return;
    reported_ = true;
    if (onerror_) onerror_(number);
  }
  void close() { reader_.reset(); }

 private:
  const std::function<void(int)>& onerror_;
  std::unique_ptr<ItemReader> reader_;
  bool reported_ = false;
};

// One read of two numbers, as one entry of an index file: when the first
// fails the second is not read; the entry keeps what was read.
int readpair(ListSource& source, std::int16_t& first, std::int16_t& second) {
  std::int16_t v = 0;
  if (const int e = source.number16(v)) return e;
  first = v;
  if (const int e = source.number16(v)) return e;
  second = v;
  return 0;
}

constexpr std::size_t TOOL_CATEGORIES = 50;
constexpr std::size_t CATEGORY_NAME_WIDTH = 20;

}  // namespace

DrugLists emptydruglists(Build build) {
  DrugLists lists;
  if (build == Build::Tool) {
    lists.catname.assign(TOOL_CATEGORIES + 1, std::string(CATEGORY_NAME_WIDTH, ' '));
    lists.catnum.assign(TOOL_CATEGORIES + 1, 0);
  }
  return lists;
}

void loaddruglists(DrugLists& lists, Build build, const std::function<void(int)>& onerror) {
  lists = DrugLists{};
  ListSource solid(onerror), fluid(onerror);
  solid.open(SOLID_INDEX);
  fluid.open(FLUID_INDEX);
  solid.report(solid.number16(lists.ntablets));
  fluid.report(fluid.number16(lists.nfluids));
  // A negative count cannot size a list: it is out of range and counts as
  // no entry at all.
  for (auto [count, source] : {std::pair{&lists.ntablets, &solid}, std::pair{&lists.nfluids, &fluid}})
    if (*count < 0) {
      *count = 0;
      source->report(ErrSubscript);
    }
  const auto nt = static_cast<std::size_t>(lists.ntablets);
  const auto nf = static_cast<std::size_t>(lists.nfluids);
  lists.selected.assign(std::max(nt, nf) + 1, 0);
  lists.tabrec.assign(nt + 1, 0);
  lists.tabcat.assign(nt + 1, 0);
  lists.fluidrec.assign(nf + 1, 0);
  lists.fluidcat.assign(nf + 1, 0);
  for (std::size_t i = 1; i <= nt; ++i) solid.report(readpair(solid, lists.tabrec[i], lists.tabcat[i]));
  for (std::size_t i = 1; i <= nf; ++i) fluid.report(readpair(fluid, lists.fluidrec[i], lists.fluidcat[i]));
  solid.close();
  fluid.close();
  loadcategories(lists, build, onerror);
}

void loadcategories(DrugLists& lists, Build build, const std::function<void(int)>& onerror) {
  ListSource cats(onerror);
  lists.ncategories = 0;
  cats.open(CATEGORY_FILE);
  cats.report(cats.number16(lists.ncategories));
  if (lists.ncategories < 0) {
    lists.ncategories = 0;
    cats.report(ErrSubscript);
  }
  if (build == Build::Tool) {
    // The tool's table holds 50 categories; further lines are not read.
    if (lists.ncategories > static_cast<std::int16_t>(TOOL_CATEGORIES))
      lists.ncategories = static_cast<std::int16_t>(TOOL_CATEGORIES);
    lists.catname.assign(TOOL_CATEGORIES + 1, std::string(CATEGORY_NAME_WIDTH, ' '));
    lists.catnum.assign(TOOL_CATEGORIES + 1, 0);
  } else {
    lists.catname.assign(static_cast<std::size_t>(lists.ncategories) + 1, std::string());
    lists.catnum.assign(static_cast<std::size_t>(lists.ncategories) + 1, 0);
  }
  const auto nc = static_cast<std::size_t>(lists.ncategories);
  for (std::size_t k = 1; k <= nc; ++k) {
    // A name is 20 characters in the file: a longer one is cut there, so
    // that a file of long names costs no more memory than one of short ones.
    std::string name;
    int e = cats.item(name, CATEGORY_NAME_WIDTH);
    if (e == 0) {
      lists.catname[k] = build == Build::Tool ? fixwidth(name, CATEGORY_NAME_WIDTH) : rtrim(name);
      e = cats.number16(lists.catnum[k]);
    }
    cats.report(e);
  }
  cats.close();
}

namespace {

std::string indextext(const std::vector<drugrecord>& database, bool (*listed)(const drugrecord&)) {
  std::string body;
  long count = 0;
  ItemWriter w;
  for (std::size_t i = 0; i < database.size(); ++i) {
    if (!listed(database[i])) continue;
    ++count;
    body += w.number(static_cast<long long>(i + 1)).number(database[i].category).line();
  }
  std::string out = count > 0 ? w.number(count).line() : w.line();
  return out + body;
}

}  // namespace

IndexTexts buildindextexts(const std::vector<drugrecord>& database,
                           const std::vector<std::string>& catname,
                           const std::vector<std::int16_t>& catnum) {
  IndexTexts t;
  t.solid = indextext(database, issolid);
  t.fluid = indextext(database, isfluid);
  std::string body;
  long count = 0;
  ItemWriter w;
  const std::size_t n = std::min(catname.size(), catnum.size());
  for (std::size_t k = 1; k < n; ++k) {
    // Category numbers start at 1; an unused entry of the table holds 0.
    if (catnum[k] < 1) continue;
    const bool used = std::any_of(database.begin(), database.end(),
                                  [&](const drugrecord& d) { return d.category == catnum[k]; });
    if (!used) continue;
    // A double quote would end the name early when the file is read back,
    // so it is written as a single quote.
    std::string name = fixwidth(catname[k], CATEGORY_NAME_WIDTH);
    std::replace(name.begin(), name.end(), '"', '\'');
    ++count;
    body += w.text(name).number(catnum[k]).line();
  }
  t.categories = w.number(count).line() + body;
  return t;
}

void writeindexfiles(const IndexTexts& texts) {
  // The three files go together: a failure leaves all three as they were,
  // so the lists never disagree with one another.
  writewholefiles({{SOLID_INDEX, texts.solid}, {FLUID_INDEX, texts.fluid}, {CATEGORY_FILE, texts.categories}});
}

}  // namespace core
