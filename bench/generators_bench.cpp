// One question of each generator, the read of the drug record included. The
// drug questions use the bundled sample database when the build has made it
// (<build>/sample), otherwise a small database written for the run.
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "core/filefaults.h"
#include "core/files.h"
#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

namespace fs = std::filesystem;

namespace {

core::drugrecord drug(const std::string& name, double low, int lowunit, double high, int highunit,
                      double increment, int type, double strength, int unit, double volume,
                      int halve = 0) {
  core::drugrecord d;
  d.genericname = core::fixwidth(name, 30);
  d.doserange[0] = {low, static_cast<std::int16_t>(lowunit)};
  d.doserange[1] = {high, static_cast<std::int16_t>(highunit)};
  d.increment = increment;
  d.preptype[0] = static_cast<std::int16_t>(type);
  d.strength[0] = strength;
  d.strengthunit[0] = static_cast<std::int16_t>(unit);
  d.volume[0] = volume;
  d.volumeunit[0] = 6;
  d.halve[0] = static_cast<std::int16_t>(halve);
  return d;
}

void writeown() {
  const core::drugrecord db[] = {
      drug("Paracetamol", 500, 6, 1, 3, 0, 0, 500, 6, 0),
      drug("Prednisolone", 2.5, 6, 60, 6, 0, 0, 5, 6, 0, 1),
      drug("Amoxycillin", 250, 6, 500, 6, 125, 1, 250, 6, 0),
      drug("Metoprolol", 25, 6, 200, 6, 0, 0, 50, 6, 0),
      drug("Digoxin", 62.5, 7, 250, 7, 0, 0, 62.5, 7, 0, 1),
      drug("Amoxycillin Syrup", 125, 6, 500, 6, 125, 4, 250, 6, 5),
      drug("Gentamicin", 40, 6, 120, 6, 20, 8, 80, 6, 2),
      drug("Morphine", 2.5, 6, 15, 6, 2.5, 9, 10, 6, 1),
      drug("Frusemide", 20, 6, 80, 6, 10, 10, 20, 6, 2),
      drug("Lactulose", 3.35, 3, 6.7, 3, 3.35, 4, 3.35, 3, 5),
  };
  for (long i = 0; i < 10; ++i) core::writedrug(i + 1, db[i]);
}

// A temporary data folder with the core state of one program and the
// record numbers of its tablet and fluid drugs (element 0 unused).
struct BenchFolder {
  fs::path folder;
  core::CoreState state;
  std::vector<std::int16_t> tablets{0}, fluids{0};

  BenchFolder() {
    std::string tmpl = (fs::temp_directory_path() / "genbenchXXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("no temporary folder");
    folder = tmpl;
    state.tables = core::filledtables();
  }
  ~BenchFolder() {
    core::setworkdir({});
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  void select(const std::vector<std::int16_t>& records) {
    core::setworkdir(folder);
    state.lists.selected = records;
    state.lists.nselected = static_cast<std::int16_t>(records.size() - 1);
  }
};

struct Setup : BenchFolder {
  bool sample = false;

  Setup() {
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    const fs::path samplefolder = exe.parent_path().parent_path() / "sample";
    std::error_code ec;
    if (fs::exists(samplefolder / core::DRUG_DATABASE, ec)) {
      for (const char* name : {core::DRUG_DATABASE, core::SOLID_INDEX, core::FLUID_INDEX, core::CATEGORY_FILE})
        fs::copy_file(samplefolder / name, folder / name, ec);
      sample = !ec;
    }
    core::setworkdir(folder);
    if (sample) {
      core::loaddruglists(state.lists, core::Build::Trainee, nullptr);
      tablets.assign(state.lists.tabrec.begin(), state.lists.tabrec.end());
      fluids.assign(state.lists.fluidrec.begin(), state.lists.fluidrec.end());
    } else {
      writeown();
      tablets = {0, 1, 2, 3, 4, 5};
      fluids = {0, 6, 7, 8, 9, 10};
    }
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

// A full database: 32,767 records (the most a record number can reach),
// the drugs above over and over, every one a candidate. Each question reads
// one record by number from it.
struct FullDatabase : BenchFolder {
  FullDatabase() {
    core::setworkdir(folder);
    writeown();
    std::vector<core::drugrecord> own;
    for (long i = 1; i <= 10; ++i) own.push_back(core::readdrug(i));
    std::vector<core::drugrecord> all;
    for (int i = 0; i < 32767; ++i) {
      all.push_back(own[static_cast<std::size_t>(i % 10)]);
      (i % 10 < 5 ? tablets : fluids).push_back(static_cast<std::int16_t>(i + 1));
    }
    core::writedatabase(all);
  }
};

FullDatabase& full() {
  static FullDatabase f;
  return f;
}

using DrugGenerator = bool (*)(core::CoreState&, std::string&, double&, std::string&, std::int16_t&,
                               std::int16_t&);

// With argument 1, record reads take no lock, as on a file server that
// keeps none: the cost of the locks is the difference from argument 0.
struct Locks {
  explicit Locks(benchmark::State& bs) {
    core::WriteFaults f;
    if (bs.range(0) != 0) f.lockerror = ENOLCK;
    core::setwritefaults(f);
    bs.SetLabel(bs.range(0) != 0 ? "without locks" : "with locks");
  }
  ~Locks() { core::setwritefaults({}); }
};

// Questions one after another from the folder's tablet or fluid drugs.
void questions(benchmark::State& bs, BenchFolder& f, DrugGenerator generator, bool tablet) {
  const Locks locks(bs);
  f.select(tablet ? f.tablets : f.fluids);
  std::string q, h;
  double a = 0;
  std::int16_t r = 0, k = 0;
  for (auto _ : bs) {
    if (!generator(f.state, q, a, h, r, k)) bs.SkipWithError("no question");
    benchmark::DoNotOptimize(h.data());
  }
}

void BM_TabletQuestion(benchmark::State& bs) {
  questions(bs, setup(), core::tabletquestion, true);
  bs.SetLabel(std::string(bs.range(0) != 0 ? "without locks, " : "with locks, ") +
              (setup().sample ? "sample database" : "own database"));
}
BENCHMARK(BM_TabletQuestion)->Arg(0)->Arg(1);

void BM_FluidQuestion(benchmark::State& bs) {
  questions(bs, setup(), core::fluidquestion, false);
  bs.SetLabel(std::string(bs.range(0) != 0 ? "without locks, " : "with locks, ") +
              (setup().sample ? "sample database" : "own database"));
}
BENCHMARK(BM_FluidQuestion)->Arg(0)->Arg(1);

// The record read alone, for comparison.
void BM_ReadDrugRecord(benchmark::State& bs) {
  Setup& s = setup();
  core::setworkdir(s.folder);
  const Locks locks(bs);
  for (auto _ : bs) benchmark::DoNotOptimize(core::readdrug(s.tablets[1]).strength[0]);
}
BENCHMARK(BM_ReadDrugRecord)->Arg(0)->Arg(1);

void BM_QuestionFromFullDatabase(benchmark::State& bs, DrugGenerator generator, bool tablet) {
  questions(bs, full(), generator, tablet);
}
BENCHMARK_CAPTURE(BM_QuestionFromFullDatabase, Tablet32767, core::tabletquestion, true)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_QuestionFromFullDatabase, Fluid32767, core::fluidquestion, false)->Arg(0)->Arg(1);

// Records read one after another across the full database.
void BM_ReadRecordOfFullDatabase(benchmark::State& bs) {
  FullDatabase& f = full();
  core::setworkdir(f.folder);
  const Locks locks(bs);
  long n = 0;
  for (auto _ : bs) benchmark::DoNotOptimize(core::readdrug(++n % 32767 + 1).strength[0]);
}
BENCHMARK(BM_ReadRecordOfFullDatabase)->Arg(0)->Arg(1);

void BM_MetricQuestion(benchmark::State& bs) {
  Setup& s = setup();
  s.state.settings.allmetric = -1;
  std::string q, h;
  double a = 0, v = 0;
  core::Key unused;
  for (auto _ : bs) {
    core::metricquestion(s.state, q, a, v, unused, h);
    benchmark::DoNotOptimize(h.data());
  }
  s.state.settings.allmetric = 0;
}
BENCHMARK(BM_MetricQuestion);

void BM_IvQuestion(benchmark::State& bs) {
  std::string q, h;
  double a = 0;
  std::int16_t v = 0, d = 0;
  float hours = 0;
  for (auto _ : bs) {
    core::ivquestion(q, a, v, hours, d, h);
    benchmark::DoNotOptimize(h.data());
  }
}
BENCHMARK(BM_IvQuestion);

}  // namespace
