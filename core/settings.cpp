#include "core/settings.h"

#include "core/errors.h"
#include "core/files.h"

namespace core {

namespace {

constexpr std::size_t BLOCK_WIDTH = 60;

void put16(std::string& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>((u >> 8) & 0xFF);
}

std::int16_t get16(const std::string& in, std::size_t at) {
  const auto lo = static_cast<unsigned char>(in[at]);
  const auto hi = static_cast<unsigned char>(in[at + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

// The block is opaque: it is cut or filled with zero bytes to its width and
// otherwise kept byte for byte.
std::string blockpart(const std::string& text) {
  std::string out = text.substr(0, BLOCK_WIDTH);
  out.resize(BLOCK_WIDTH, '\0');
  return out;
}

}  // namespace

std::string generalsettings::encode() const {
  std::string out;
  out.reserve(SETTINGS_RECORD_LENGTH);
  out += blockpart(block1);
  out += blockpart(block2);
  for (auto v : {spare1, spare2, spare3, animationsoff, textured, spare4, spare5, abbreviations,
                 allmetric, genericnames})
    put16(out, v);
  return out;
}

generalsettings generalsettings::decode(const std::string& bytes) {
  std::string in = bytes.substr(0, SETTINGS_RECORD_LENGTH);
  in.resize(SETTINGS_RECORD_LENGTH, '\0');
  generalsettings s;
  s.block1 = in.substr(0, BLOCK_WIDTH);
  s.block2 = in.substr(BLOCK_WIDTH, BLOCK_WIDTH);
  std::size_t at = 2 * BLOCK_WIDTH;
  for (std::int16_t* f : {&s.spare1, &s.spare2, &s.spare3, &s.animationsoff, &s.textured, &s.spare4,
                          &s.spare5, &s.abbreviations, &s.allmetric, &s.genericnames}) {
    *f = get16(in, at);
    at += 2;
  }
  return s;
}

void generalsettings::restoredefaults() {
  spare1 = 170;
  spare2 = 72;
  spare3 = 229;
  animationsoff = 0;
  textured = 1;
  spare4 = 31;
  spare5 = 0;
  abbreviations = 0;
  allmetric = 0;
  genericnames = 0;
}

generalsettings readsettings() {
  const auto bytes = readrecord(SETTINGS_FILE, SETTINGS_RECORD_LENGTH, 1);
  return bytes ? generalsettings::decode(*bytes) : generalsettings{};
}

void writesettings(const generalsettings& s) {
  // The record is encoded before the file is touched, and written in one
  // piece, so a failure to open leaves the file as it was.
  const std::string bytes = s.encode();
  RecordFile f(SETTINGS_FILE, SETTINGS_RECORD_LENGTH);
  f.write(1, bytes);
}

}  // namespace core
