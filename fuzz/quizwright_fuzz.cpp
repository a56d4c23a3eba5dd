// Arbitrary bytes as the files the teachers' tool opens: a test file
// opened, edited, saved and exported; the same bytes as the drug database
// and the category file, each record shown in the drug form, read back,
// checked and deleted, and the lists rebuilt. The first byte picks the
// export's options and the question moved to.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "authoring/model/drugdatabase.h"
#include "authoring/model/drugform.h"
#include "authoring/model/testdoc.h"
#include "authoring/model/testfiles.h"
#include "authoring/model/textexport.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/testfile.h"
#include "fuzz/fuzzdir.h"

namespace {

void testfile(const std::string& bytes, unsigned choice) {
  fuzzing::put("f.vqt", bytes);
  const authoring::OpenedTest opened = authoring::readtestfile("f.vqt");
  if (opened.numquest != core::testquestioncount(bytes.size())) std::abort();
  authoring::TestDocument doc;
  doc.opentest("f.vqt");
  const authoring::TestHeader& header = doc.header;
  if (doc.qno < 1 || doc.qno > doc.numquest) std::abort();

  // Saved, the test is its header and exactly its questions.
  if (!authoring::savetest("f.vqt", doc.numquest, "g.vqt")) std::abort();
  const std::string saved = core::readwholefile("g.vqt");
  if (saved.size() != static_cast<std::size_t>(doc.numquest + 1) * core::TEST_RECORD_LENGTH) std::abort();
  if (bytes.size() >= core::TEST_RECORD_LENGTH && saved.compare(0, core::TEST_RECORD_LENGTH, bytes, 0, core::TEST_RECORD_LENGTH) != 0)
    std::abort();

  authoring::TextOptions options;
  options.numbering = static_cast<int>(choice % 6);
  for (std::size_t i = 0; i < options.include.size(); ++i) options.include[i] = ((choice >> (i + 3)) & 1) != 0;
  authoring::saveastextfile("f.txt", "f.vqt", doc.numquest, header.testtitle, header.testdescription,
                            header.testinstructions, options);

  // The header written back reads as it was read.
  doc.filename = "g.vqt";
  doc.writeheader();
  const authoring::OpenedTest again = authoring::readtestfile("g.vqt");
  if (again.header.testtitle != header.testtitle || again.header.includeinmenu != header.includeinmenu ||
      again.header.testdescription != header.testdescription ||
      again.header.testinstructions != header.testinstructions)
    std::abort();

  doc.qno = static_cast<std::int16_t>(1 + choice % static_cast<unsigned>(doc.numquest));
  doc.previous();
  doc.next();
  const std::int16_t before = doc.numquest;
  doc.deletequestion();
  if (doc.numquest != (before > 1 ? before - 1 : 1)) std::abort();
  if (core::testquestioncount(core::filesize("g.vqt")) != before - 1) std::abort();
}

void drugfiles(const std::string& bytes) {
  fuzzing::put(core::DRUG_DATABASE, bytes);
  fuzzing::put(core::CATEGORY_FILE, bytes);
  core::DrugLists table = core::emptydruglists(core::Build::Tool);
  authoring::loadcategorytable(table);
  std::vector<std::string> list = authoring::categorylist(table);

  authoring::DrugDatabase db;
  db.opendatabase();
  for (long r = 1; r <= db.reccount && r <= 20; ++r) {
    db.currec = r;
    db.readcurrent();
    const authoring::DrugForm form = authoring::formof(db.drug, table);
    authoring::validate(form);
    const core::drugrecord back = authoring::recordof(form, db.drug, table);
    authoring::formof(back, table);
    authoring::recordchanged(form, db.drug, table);
    authoring::addcategory(form.Cbcategory + "x", list, table);
  }
  db.currec = 1;
  db.deletecurrent();
  db.rebuild(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::folder();
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    testfile(bytes, choice);
    drugfiles(bytes);
  } catch (const core::FileError&) {
    // Ordinary files in a private folder: no operation may fail here.
    std::abort();
  }
  return 0;
}
