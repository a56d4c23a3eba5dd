// Arbitrary bytes as VQ.INI.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/settings.h"
#include "fuzz/fuzzdir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::folder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto d = core::generalsettings::decode(bytes);
  std::string padded = bytes.substr(0, core::SETTINGS_RECORD_LENGTH);
  padded.resize(core::SETTINGS_RECORD_LENGTH, '\0');
  if (d.encode() != padded) std::abort();

  fuzzing::put(core::SETTINGS_FILE, bytes);
  const auto s = core::readsettings();
  const std::string expected =
      size >= core::SETTINGS_RECORD_LENGTH ? padded : std::string(core::SETTINGS_RECORD_LENGTH, '\0');
  if (s.encode() != expected) std::abort();
  core::writesettings(s);
  if (core::readsettings().encode() != expected) std::abort();
  return 0;
}
