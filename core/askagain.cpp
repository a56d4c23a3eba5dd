#include "core/askagain.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>

#include "core/generators.h"

namespace core {

bool collectcandidates(DrugLists& lists, QuestionKind kind, const std::function<bool(int)>& ticked) {
  const bool fluids = kind == QuestionKind::Fluid;
  const int count = fluids ? lists.nfluids : lists.ntablets;
  const auto& rec = fluids ? lists.fluidrec : lists.tabrec;
  const auto& cat = fluids ? lists.fluidcat : lists.tabcat;
  const int entries = std::min<int>(count, static_cast<int>(std::min(rec.size(), cat.size())) - 1);
  lists.nselected = 0;
  // A category number met a second time adds nothing: each entry is taken
  // at most once, so the candidates never outgrow their room.
  std::set<std::int16_t> done;
  for (int i = 1; i <= lists.ncategories && static_cast<std::size_t>(i) < lists.catnum.size(); ++i) {
    if (!ticked(i)) continue;
    const std::int16_t number = lists.catnum[static_cast<std::size_t>(i)];
    if (!done.insert(number).second) continue;
    for (int j = 1; j <= entries; ++j) {
      if (cat[static_cast<std::size_t>(j)] != number) continue;
      ++lists.nselected;
      if (lists.selected.size() <= static_cast<std::size_t>(lists.nselected))
        lists.selected.resize(static_cast<std::size_t>(lists.nselected) + 1, 0);
      lists.selected[static_cast<std::size_t>(lists.nselected)] = rec[static_cast<std::size_t>(j)];
    }
  }
  return lists.nselected > 0;
}

bool makeunrepeated(CoreState& state, QuestionKind kind, std::string& question, double& answer) {
  // The question asked last: a tried question with its keys is never used
  // while another can still be made.
  const std::optional<KeySet> before = state.history.lastasked;
  for (int tries = 1;; ++tries) {
    KeySet keys;
    int bound = MAXREPEATS + 1;
    switch (kind) {
      case QuestionKind::Metric: {
        double amount = 0;
        Key unused;
        if (!metricquestion(state, question, answer, amount, unused, state.helptext)) return false;
        keys = {answer, amount, unused};
        break;
      }
      case QuestionKind::Tablet:
      case QuestionKind::Fluid: {
        std::int16_t recno = 0, row = 0;
        const bool made = kind == QuestionKind::Tablet
                              ? tabletquestion(state, question, answer, state.helptext, recno, row)
                              : fluidquestion(state, question, answer, state.helptext, recno, row);
        if (!made) return false;
        keys = {recno, row, Key()};
        if (state.lists.nselected < bound) bound = state.lists.nselected + 1;
        break;
      }
      case QuestionKind::Droprate: {
        std::int16_t volume = 0, dropfactor = 0;
        float hours = 0;
        if (!ivquestion(question, answer, volume, hours, dropfactor, state.helptext)) return false;
        keys = {volume, hours, dropfactor};
        break;
      }
    }
    // The ring compares the key set of the previous call, which after the
    // first try is a refused try: the question asked last is compared here.
    const bool last = before && *before == keys;
    if (!askedbefore(state.history, keys[0], keys[1], keys[2]) && !last) return true;
    // Once the bound is reached the question of this try is used even
    // though the ring holds it (a ring full of every question the
    // candidates allow finds them all), unless it is the one asked last:
    // then up to as many tries again look for another.
    if (tries >= bound && (!last || tries >= 2 * bound)) return true;
  }
}

}  // namespace core
