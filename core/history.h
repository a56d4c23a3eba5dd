// The repeat check of generated questions: a ring of recent key sets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace core {

// A key value: empty, a number or a text. Empty equals 0 and the empty
// text; numbers compare by value; texts compare exactly.
class Key {
 public:
  Key() = default;
  Key(double n) : v_(n) {}
  Key(int n) : v_(static_cast<double>(n)) {}
  Key(std::int16_t n) : v_(static_cast<double>(n)) {}
  Key(float n) : v_(static_cast<double>(n)) {}
  Key(std::string s) : v_(std::move(s)) {}
  Key(const char* s) : v_(std::string(s)) {}
  bool empty() const { return std::holds_alternative<std::monostate>(v_); }
  friend bool operator==(const Key& a, const Key& b);

 private:
  std::variant<std::monostate, double, std::string> v_;
};

using KeySet = std::array<Key, 3>;

struct QuestionHistory {
  std::array<std::array<Key, 51>, 3> questionhistory{};
  std::optional<std::int16_t> historypos;  // empty at the start of a run
  // The key set of the previous call, stored or found: the search below the
  // ring position does not reach it.
  std::optional<KeySet> lastasked;
};

// True when the key set was found in the ring (asked before); false when it
// was not found and has just been stored. The slots below the ring position
// are compared, and also the key set of the previous call, so that a
// question never follows itself.
bool askedbefore(QuestionHistory& h, const Key& key1, const Key& key2, const Key& key3);

}  // namespace core
