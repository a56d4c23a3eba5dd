// The settings record: the single 140-byte record of VQ.INI.
#pragma once

#include <cstdint>
#include <string>

namespace core {

inline constexpr std::size_t SETTINGS_RECORD_LENGTH = 140;
inline constexpr const char* SETTINGS_FILE = "VQ.INI";

struct generalsettings {
  // The 120-byte block, carried through unchanged: two 60-character texts.
  std::string block1 = std::string(60, '\0');
  std::string block2 = std::string(60, '\0');
  std::int16_t spare1 = 0, spare2 = 0, spare3 = 0;
  std::int16_t animationsoff = 0;  // 1 = no animation after a correct answer
  std::int16_t textured = 0;       // 1 = textured window backgrounds
  std::int16_t spare4 = 0, spare5 = 0;
  std::int16_t abbreviations = 0;  // -1 = units as symbols
  std::int16_t allmetric = 0;      // -1 = all eight prefixes in conversions
  std::int16_t genericnames = 0;   // -1 = generic and trade names

  std::string encode() const;  // exactly 140 bytes
  static generalsettings decode(const std::string& bytes);
  // The values of Restore Defaults (the block stays as it is).
  void restoredefaults();
};

// Reads record 1 of VQ.INI (created empty when missing); a missing or empty
// file gives the zero state. FileError on failure.
generalsettings readsettings();
// Writes record 1 of VQ.INI. FileError on failure; the file then keeps its
// previous content.
void writesettings(const generalsettings& s);

}  // namespace core
