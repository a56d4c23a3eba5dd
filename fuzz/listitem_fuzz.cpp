// Reads items and numbers from arbitrary text until its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "core/listfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  auto reader = core::ItemReader::fromtext(text);
  std::size_t reads = 0;
  bool asnumber = size > 0 && (data[0] & 1);
  while (!reader.eof()) {
    if (asnumber) reader.number();
    else reader.item();
    asnumber = !asnumber;
    // Every read takes at least one character.
    if (++reads > size + 1) std::abort();
  }
  try {
    reader.item();
    std::abort();  // reading at the end must fail
  } catch (const core::FileError& e) {
    if (e.number() != core::ErrInputPastEnd) std::abort();
  }
  return 0;
}
