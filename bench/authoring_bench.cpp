// The test editor's file work on whole tests: a batch of 99 generated
// questions stored in the working file, opening a 99-question test and
// exporting it as text with every section on. Runs on the bundled sample
// database (<build>/sample).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "authoring/model/generate.h"
#include "authoring/model/testdoc.h"
#include "authoring/model/testfiles.h"
#include "authoring/model/textexport.h"
#include "core/drug.h"
#include "core/files.h"
#include "core/testfile.h"

namespace fs = std::filesystem;

namespace {

struct Folder {
  fs::path folder;
  core::CoreState state;
  bool sample = false;

  Folder() {
    std::string tmpl = (fs::temp_directory_path() / "quizbenchXXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("no temporary folder");
    folder = tmpl;
    const fs::path samplefolder = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "sample";
    std::error_code ec;
    sample = true;
    for (const char* name : {core::DRUG_DATABASE, core::SOLID_INDEX, core::FLUID_INDEX, core::CATEGORY_FILE}) {
      fs::copy_file(samplefolder / name, folder / name, ec);
      if (ec) sample = false;
    }
    core::setworkdir(folder);
    state.build = core::Build::Tool;
    state.tables = core::filledtables();
    core::loaddruglists(state.lists, core::Build::Tool, nullptr);
    // A 99-question test to open and export.
    core::writetestrecord("t99.vqt", 1, core::testrecord::header("Ninety-nine", "All kinds", "Work alone", 1));
    for (long q = 1; q <= 99; ++q)
      core::writetestrecord("t99.vqt", q + 1, core::testrecord::item("\r\nQuestion text", "Solution", "12.5"));
  }
  ~Folder() {
    core::setworkdir({});
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
};

Folder& folder() {
  static Folder f;
  return f;
}

void BM_GenerateBatch99(benchmark::State& bs) {
  Folder& f = folder();
  if (!f.sample) bs.SkipWithError("no sample database: build the sampledata target");
  const auto all = [](int) { return true; };
  for (auto _ : bs) {
    f.state.history = {};
    authoring::TestDocument doc;
    doc.header.untitled();
    doc.writeheader();
    const auto plan = authoring::planbatch("99", doc.numquest, doc.qno, true);
    const auto end = authoring::runbatch(
        doc, plan, {1, 2, 3, 4}, [&](int kind) { return authoring::makequestion(f.state, kind, all); }, [] {});
    if (end.made != 99) bs.SkipWithError("batch cut short");
  }
}
BENCHMARK(BM_GenerateBatch99)->Unit(benchmark::kMillisecond);

void BM_OpenTest99(benchmark::State& bs) {
  Folder& f = folder();
  (void)f;
  for (auto _ : bs) {
    const auto t = authoring::readtestfile("t99.vqt");
    // The last question is shown.
    benchmark::DoNotOptimize(core::readtestrecord("t99.vqt", t.numquest + 1L).question.data());
  }
}
BENCHMARK(BM_OpenTest99)->Unit(benchmark::kMicrosecond);

void BM_ExportText99(benchmark::State& bs) {
  Folder& f = folder();
  (void)f;
  authoring::TextOptions all;
  all.include.fill(true);
  for (auto _ : bs)
    authoring::saveastextfile("t99.txt", "t99.vqt", 99, "Ninety-nine", "All kinds", "Work alone", all);
}
BENCHMARK(BM_ExportText99)->Unit(benchmark::kMicrosecond);

}  // namespace
