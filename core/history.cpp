#include "core/history.h"

namespace core {

bool operator==(const Key& a, const Key& b) {
  const bool anum = std::holds_alternative<double>(a.v_);
  const bool bnum = std::holds_alternative<double>(b.v_);
  const bool atext = std::holds_alternative<std::string>(a.v_);
  const bool btext = std::holds_alternative<std::string>(b.v_);
  if (a.empty() && b.empty()) return true;
  // An empty value stands for 0 beside a number and for "" beside a text.
  if (a.empty()) return bnum ? std::get<double>(b.v_) == 0 : std::get<std::string>(b.v_).empty();
  if (b.empty()) return anum ? std::get<double>(a.v_) == 0 : std::get<std::string>(a.v_).empty();
  if (anum && bnum) return std::get<double>(a.v_) == std::get<double>(b.v_);
  if (atext && btext) return std::get<std::string>(a.v_) == std::get<std::string>(b.v_);
  return false;  // a number never equals a text
}

bool askedbefore(QuestionHistory& h, const Key& key1, const Key& key2, const Key& key3) {
  auto& slots = h.questionhistory;
  const auto matches = [&](int s) {
    if (s < 0 || s > 50) return false;
    const auto i = static_cast<std::size_t>(s);
    return key1 == slots[0][i] && key2 == slots[1][i] && key3 == slots[2][i];
  };
  // An empty position counts as 0: the whole ring is searched.
  const auto position = [&h] { return h.historypos.value_or(0); };
  bool found = false;
  int i = 0;
  do {
    if (matches(i)) found = true;
    ++i;
    if (i > 50) {
      h.historypos = 0;
      i = 0;
    }
  } while (!found && i != position());
  // The search stops below the position, where the entry of the previous
  // call lies (or, after the position was set back, lay): it is compared
  // too.
  const KeySet keys{key1, key2, key3};
  if (!found && h.lastasked) found = *h.lastasked == keys;
  h.lastasked = keys;
  if (!found) {
    std::int16_t p = static_cast<std::int16_t>(position() + 1);
    // 50 wraps to 0; a position set out of the ring by a caller wraps too.
    if (p >= 50) p = 0;
    h.historypos = p;
    slots[0][p] = key1;
    slots[1][p] = key2;
    slots[2][p] = key3;
  }
  return found;
}

}  // namespace core
