// Arbitrary bytes as a drug database and as the three list files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/drug.h"
#include "core/errors.h"
#include "fuzz/fuzzdir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::folder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Decoding keeps every byte of a record.
  const core::drugrecord d = core::drugrecord::decode(bytes);
  std::string padded = bytes.substr(0, core::DRUG_RECORD_LENGTH);
  padded.resize(core::DRUG_RECORD_LENGTH, '\0');
  if (d.encode() != padded) std::abort();

  // As a database: every record reads, whole or blank, and the index texts
  // of what was read load back without a failure.
  fuzzing::put(core::DRUG_DATABASE, bytes);
  const long count = core::drugcount();
  for (long n = 1; n <= count + 1; ++n) core::readdrug(n);
  const auto db = core::readdatabase();
  if (static_cast<long>(db.size()) != count) std::abort();
  const auto texts = core::buildindextexts(db, {"", "One", "Two \"quoted\""}, {0, 1, 2});
  core::writeindexfiles(texts);
  core::DrugLists lists;
  int failures = 0;
  core::loaddruglists(lists, core::Build::Trainee, [&](int) { ++failures; });
  if (failures != 0 && count <= 32767) std::abort();

  // As the three list files, split at the first two bytes 0xFF.
  std::size_t a = bytes.find('\xFF');
  std::size_t b = a == std::string::npos ? std::string::npos : bytes.find('\xFF', a + 1);
  fuzzing::put(core::SOLID_INDEX, bytes.substr(0, a));
  fuzzing::put(core::FLUID_INDEX, a == std::string::npos ? "" : bytes.substr(a + 1, b - a - 1));
  fuzzing::put(core::CATEGORY_FILE, b == std::string::npos ? "" : bytes.substr(b + 1));
  for (auto build : {core::Build::Trainee, core::Build::Tool}) {
    core::loaddruglists(lists, build, [](int) {});
    if (lists.tabrec.size() != static_cast<std::size_t>(lists.ntablets) + 1) std::abort();
    if (lists.fluidrec.size() != static_cast<std::size_t>(lists.nfluids) + 1) std::abort();
    if (lists.catname.size() < static_cast<std::size_t>(lists.ncategories) + 1) std::abort();
  }
  return 0;
}
