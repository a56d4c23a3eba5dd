// Loading the drug lists from index files of 32,767 entries each, and
// reading a whole database of 32,767 records.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/drug.h"
#include "core/files.h"
#include "core/listfile.h"
#include "core/text.h"

namespace {

namespace fs = std::filesystem;

// Writes the three files once into a temporary folder and makes it the
// working folder.
class FullLists {
 public:
  FullLists() {
    dir_ = fs::temp_directory_path() / ("dosavo_drugbench_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    core::setworkdir(dir_);
    core::ItemWriter w;
    std::string solid = w.number(32767).line(), fluid = solid;
    for (long i = 1; i <= 32767; ++i) {
      solid += w.number(i).number(i % 50 + 1).line();
      fluid += w.number(32768 - i).number(i % 7 + 1).line();
    }
    std::string cats = w.number(50).line();
    for (int k = 1; k <= 50; ++k) cats += w.text(core::fixwidth("Category " + std::to_string(k), 20)).number(k).line();
    std::ofstream(dir_ / core::SOLID_INDEX, std::ios::binary) << solid;
    std::ofstream(dir_ / core::FLUID_INDEX, std::ios::binary) << fluid;
    std::ofstream(dir_ / core::CATEGORY_FILE, std::ios::binary) << cats;
  }
  ~FullLists() {
    core::setworkdir({});
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

 private:
  fs::path dir_;
};

void LoadDrugLists(benchmark::State& state, core::Build build) {
  FullLists files;
  core::DrugLists lists;
  int failures = 0;
  for (auto _ : state) {
    core::loaddruglists(lists, build, [&](int) { ++failures; });
    benchmark::DoNotOptimize(lists.tabrec.data());
  }
  if (failures != 0 || lists.ntablets != 32767 || lists.nfluids != 32767) state.SkipWithError("lists did not load");
  state.SetItemsProcessed(state.iterations() * 2 * 32767);
}

// The whole database in one read: 32,767 records, each with five rows.
void ReadDatabase(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / ("dosavo_dbbench_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  core::setworkdir(dir);
  core::drugrecord d;
  d.genericname = core::fixwidth("Paracetamol", 30);
  d.doserange[1] = {1000, 4};
  for (std::size_t k = 0; k < 5; ++k) {
    d.preptype[k] = static_cast<std::int16_t>(k);
    d.strength[k] = 100.0 * static_cast<double>(k + 1);
    d.strengthunit[k] = 4;
  }
  core::writedatabase(std::vector<core::drugrecord>(32767, d));
  std::size_t count = 0;
  for (auto _ : state) {
    const auto all = core::readdatabase();
    count = all.size();
    benchmark::DoNotOptimize(all.data());
  }
  if (count != 32767) state.SkipWithError("database did not read");
  state.SetItemsProcessed(state.iterations() * 32767);
  core::setworkdir({});
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

BENCHMARK(ReadDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadDrugLists, Trainee, core::Build::Trainee)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadDrugLists, Tool, core::Build::Tool)->Unit(benchmark::kMillisecond);
