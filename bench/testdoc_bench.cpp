#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "authoring/model/testdoc.h"
#include "core/files.h"

namespace {

namespace fs = std::filesystem;

// A working folder of its own for the length of one benchmark.
struct Folder {
  fs::path dir;
  Folder() {
    dir = fs::temp_directory_path() / ("quizwright_bench_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    core::setworkdir(dir);
  }
  ~Folder() {
    core::setworkdir({});
    fs::remove_all(dir);
  }
};

std::string testof(int questions) {
  std::string bytes = core::testrecord::header("Bench", "", "", 1).encode();
  for (int k = 1; k <= questions; ++k)
    bytes += core::testrecord::item("Question " + std::to_string(k), "Worked solution", "2").encode();
  return bytes;
}

// Deleting question 1 of a 99-question test: the whole rewrite through a
// flushed temporary file and its rename, then the read of the new question 1.
void BM_DeleteQuestion99(benchmark::State& state) {
  Folder folder;
  const std::string bytes = testof(99);
  authoring::TestDocument doc;
  doc.filename = "t.vqt";
  for (auto _ : state) {
    state.PauseTiming();
    core::writewholefile("t.vqt", bytes);
    doc.qno = 1;
    doc.numquest = 99;
    state.ResumeTiming();
    doc.deletequestion();
  }
}
BENCHMARK(BM_DeleteQuestion99)->Unit(benchmark::kMillisecond);

// One store of the shown question and one read of it back.
void BM_StoreQuestion(benchmark::State& state) {
  Folder folder;
  core::writewholefile("t.vqt", testof(20));
  authoring::TestDocument doc;
  doc.filename = "t.vqt";
  doc.numquest = 20;
  doc.qno = 10;
  const std::string question(600, 'q'), help(900, 'h');
  for (auto _ : state) {
    doc.storequestion(question, help, "12.5");
    doc.readquestion();
    benchmark::DoNotOptimize(doc.rec);
  }
}
BENCHMARK(BM_StoreQuestion)->Unit(benchmark::kMicrosecond);

}  // namespace
