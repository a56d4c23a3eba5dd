#include "core/drug.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

std::string drugrecord::encode() const {
  std::string out;
  out.reserve(DRUG_RECORD_LENGTH);
  out += genericname.view();
  out += tradename[0].view();
  out += tradename[1].view();
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

namespace {

// Little-endian unpacking; on a little-endian host a plain copy.
template <typename T, typename U>
T getle(const char* in) {
  U u = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&u, in, sizeof u);
  } else {
    for (std::size_t i = 0; i < sizeof u; ++i) u |= static_cast<U>(static_cast<unsigned char>(in[i])) << (8 * i);
  }
  return std::bit_cast<T>(u);
}

std::int16_t get16(const char* in) { return getle<std::int16_t, std::uint16_t>(in); }
double getdouble(const char* in) { return getle<double, std::uint64_t>(in); }

// Fills a record from the 240 bytes at in.
void decodeinto(const char* in, drugrecord& d) {
  d.genericname.assign(in, 30);
  d.tradename[0].assign(in + 30, 30);
  d.tradename[1].assign(in + 60, 30);
  const char* at = in + 90;
  for (auto& q : d.doserange) {
    q.amount = getdouble(at);
    q.unit = get16(at + 8);
    at += 10;
  }
  d.increment = getdouble(at);
  at += 8;
  for (auto& v : d.halve) { v = get16(at); at += 2; }
  for (auto& v : d.preptype) { v = get16(at); at += 2; }
  for (auto& v : d.strength) { v = getdouble(at); at += 8; }
  for (auto& v : d.strengthunit) { v = get16(at); at += 2; }
  for (auto& v : d.volume) { v = getdouble(at); at += 8; }
  for (auto& v : d.volumeunit) { v = get16(at); at += 2; }
  d.category = get16(at);
}

}  // namespace

drugrecord drugrecord::decode(const std::string& bytes) {
  drugrecord d;
  if (bytes.size() >= DRUG_RECORD_LENGTH) {
    decodeinto(bytes.data(), d);
  } else {
    std::string in = bytes;
    in.resize(DRUG_RECORD_LENGTH, '\0');
    decodeinto(in.data(), d);
  }
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
  // Opening the database creates it when it is missing; then the file is
  // read straight through in large pieces, each decoded as it comes, so
  // that no copy of the whole file is held beside the records.
  std::error_code ec;
  if (!std::filesystem::exists(datapath(DRUG_DATABASE), ec)) touchappend(DRUG_DATABASE);
  const int fd = openwhole(DRUG_DATABASE);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    throw FileError(ErrPathFileAccess, std::string(DRUG_DATABASE) + ": cannot be read");
  }
  // Records not wholly in the file (a piece at its end, or what the file
  // lost while it was read) stay blank, as a single read gives them.
  std::vector<drugrecord> out(static_cast<std::size_t>(drugrecordcount(static_cast<std::uintmax_t>(st.st_size))));
  constexpr std::size_t PIECE = DRUG_RECORD_LENGTH * 128;
  std::array<char, PIECE> buffer;
  std::size_t held = 0, next = 0;
  while (next < out.size()) {
    const ssize_t got = ::read(fd, buffer.data() + held, PIECE - held);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int err = errno;
      ::close(fd);
      throw FileError(ErrPathFileAccess, std::string(DRUG_DATABASE) + ": read failed: " + std::strerror(err));
    }
    if (got == 0) break;
    held += static_cast<std::size_t>(got);
    std::size_t at = 0;
    for (; at + DRUG_RECORD_LENGTH <= held && next < out.size(); at += DRUG_RECORD_LENGTH)
      decodeinto(buffer.data() + at, out[next++]);
    // A record split between two pieces is kept for the next.
    std::memmove(buffer.data(), buffer.data() + at, held - at);
    held -= at;
  }
  ::close(fd);
  return out;
}

void writedatabase(const std::vector<drugrecord>& records) {
  std::string bytes;
  bytes.reserve(records.size() * DRUG_RECORD_LENGTH);
  for (const auto& d : records) bytes += d.encode();
  writewholefile(DRUG_DATABASE, bytes);
}

bool issolidrow(const drugrecord& d, int row) {
  return !isfluidtype(d.preptype[static_cast<std::size_t>(row)]) && d.strength[static_cast<std::size_t>(row)] > 0;
}

bool isfluidrow(const drugrecord& d, int row) {
  return isfluidtype(d.preptype[static_cast<std::size_t>(row)]) && d.strength[static_cast<std::size_t>(row)] > 0;
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
  void open(OpenSet::File file, const std::string& name) {
    try {
      if (file.fd < 0) throw FileError(file.error, name);
      reader_ = std::make_unique<ItemReader>(file.fd, name);
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

constexpr auto TOOL_CATEGORIES = static_cast<std::size_t>(MAXCATEGORIES);
constexpr std::size_t CATEGORY_NAME_WIDTH = CATEGORYWIDTH;

}  // namespace

std::string categorycaption(const DrugLists& lists, int k, Cut cut) {
  if (k < 1 || static_cast<std::size_t>(k) >= lists.catname.size()) return {};
  const std::string& name = lists.catname[static_cast<std::size_t>(k)];
  return cut == Cut::Both ? trim(name) : rtrim(name);
}

DrugLists emptydruglists(Build build) {
  DrugLists lists;
  if (build == Build::Tool) {
    lists.catname.assign(TOOL_CATEGORIES + 1, std::string(CATEGORY_NAME_WIDTH, ' '));
    lists.catnum.assign(TOOL_CATEGORIES + 1, 0);
  }
  return lists;
}

namespace {
// The three list files, opened together so that they are one rebuild's.
OpenSet openlistfiles() { return openset({SOLID_INDEX, FLUID_INDEX, CATEGORY_FILE}); }

void readcategories(ListSource& cats, DrugLists& lists, Build build) {
  lists.ncategories = 0;
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
}  // namespace

void loaddruglists(DrugLists& lists, Build build, const std::function<void(int)>& onerror) {
  // The three files are one rebuild's: the old ones, or the new ones that
  // the tool's note names when its rebuild was cut off.
  OpenSet set = openlistfiles();
  lists = DrugLists{};
  ListSource solid(onerror), fluid(onerror);
  solid.open(set.take(0), SOLID_INDEX);
  fluid.open(set.take(1), FLUID_INDEX);
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
  ListSource cats(onerror);
  cats.open(set.take(2), CATEGORY_FILE);
  readcategories(cats, lists, build);
}

void loadcategories(DrugLists& lists, Build build, const std::function<void(int)>& onerror) {
  OpenSet set = openlistfiles();
  ListSource cats(onerror);
  cats.open(set.take(2), CATEGORY_FILE);
  readcategories(cats, lists, build);
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
