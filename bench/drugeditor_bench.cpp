// The drug editor's two whole-database operations on a database of 32,767
// records: the rebuild of the index and category files when it closes, and
// the deletion of record 1.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "authoring/model/drugdatabase.h"
#include "core/files.h"
#include "core/text.h"

namespace {

namespace fs = std::filesystem;

constexpr long RECORDS = 32767;

// A folder holding a full database (every drug with a tablet row, every
// third one with a syrup row too, in 50 categories), made the working folder.
class FullDatabase {
 public:
  FullDatabase() {
    dir_ = fs::temp_directory_path() / ("dosavo_editorbench_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    core::setworkdir(dir_);
    bytes_.reserve(RECORDS * core::DRUG_RECORD_LENGTH);
    for (long r = 1; r <= RECORDS; ++r) {
      core::drugrecord d;
      d.genericname = core::fixwidth("Drug " + std::to_string(r), 30);
      d.doserange[0] = {1, 6};
      d.doserange[1] = {2, 6};
      d.increment = 0.5;
      d.preptype = {0, static_cast<std::int16_t>(r % 3 == 0 ? 4 : 0), 0, 0, 0};
      d.strength = {10, static_cast<double>(r % 3 == 0 ? 5 : 0), 0, 0, 0};
      d.volume = {0, 5, 0, 0, 0};
      d.volumeunit = {6, 6, 6, 6, 6};
      d.category = static_cast<std::int16_t>(r % 50 + 1);
      bytes_ += d.encode();
    }
    restore();
    table_.catname.assign(51, std::string(20, ' '));
    table_.catnum.assign(51, 0);
    table_.ncategories = 50;
    for (std::size_t k = 1; k <= 50; ++k) {
      table_.catname[k] = core::fixwidth("Category " + std::to_string(k), 20);
      table_.catnum[k] = static_cast<std::int16_t>(k);
    }
  }
  ~FullDatabase() {
    core::setworkdir({});
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void restore() const { core::writewholefile(core::DRUG_DATABASE, bytes_); }
  const core::DrugLists& table() const { return table_; }

 private:
  fs::path dir_;
  std::string bytes_;
  core::DrugLists table_;
};

void BM_IndexRebuild32767(benchmark::State& state) {
  FullDatabase files;
  authoring::DrugDatabase db;
  db.opendatabase();
  for (auto _ : state) db.rebuild(files.table());
  if (db.reccount != RECORDS || core::filesize("vqcat.idx") == 0) state.SkipWithError("no rebuild");
}

void BM_DeleteDrug32767(benchmark::State& state) {
  FullDatabase files;
  authoring::DrugDatabase db;
  for (auto _ : state) {
    state.PauseTiming();
    files.restore();
    db.opendatabase();
    db.first();
    state.ResumeTiming();
    db.deletecurrent();
  }
  if (db.reccount != RECORDS - 1) state.SkipWithError("no deletion");
}

}  // namespace

BENCHMARK(BM_IndexRebuild32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteDrug32767)->Unit(benchmark::kMillisecond);
