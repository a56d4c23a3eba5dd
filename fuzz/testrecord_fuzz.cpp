// Arbitrary bytes as a test file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/testfile.h"
#include "core/text.h"
#include "fuzz/fuzzdir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::folder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto r = core::testrecord::decode(bytes);
  if (r.encode() != core::fixwidth(bytes, core::TEST_RECORD_LENGTH)) std::abort();
  r.title();
  r.description();
  r.instructions();
  r.includeflag();

  fuzzing::put("fuzz.vqt", bytes);
  const long questions = core::testquestioncount(size);
  if (questions < 0) std::abort();
  for (long n = 1; n <= questions + 2; ++n) {
    const auto q = core::readtestrecord("fuzz.vqt", n);
    if (n > questions + 1 && q.encode() != core::testrecord::blank().encode()) std::abort();
    core::trim(q.question);
    q.includeflag();
  }
  return 0;
}
