// One new question of a kind, put to the repeat check: while the check
// finds it among the recent questions the generator is asked again. Both
// programs make every generated question through it.
#pragma once

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>

#include "core/corestate.h"

namespace core {

enum class QuestionKind { Metric = 1, Tablet = 2, Fluid = 3, Droprate = 4 };

// Questions that the repeat check keeps refusing are used after this many
// further tries, so that no kind can ask forever.
inline constexpr int MAXREPEATS = 1000;

// Makes a question of the kind into question and answer (the worked
// solution into state.helptext) and keeps asking again while it repeats a
// recent one. Tablet and fluid questions draw from state.lists.selected and
// are asked at most nselected + 1 times: the question of the last try is
// used even when it repeats a recent one, but not when it repeats the one
// asked last; then up to as many tries again look for another. Metric and
// drop-rate questions are bound by MAXREPEATS + 1 tries the same way. False
// when the generator could make no question at all; the caller tells the
// user. Throws FileError when a drug record cannot be read.
bool makeunrepeated(CoreState& state, QuestionKind kind, std::string& question, double& answer);

// What each program says when a tablet or fluid question has no candidate.
inline constexpr const char* NOTABLETS =
    "Sorry no tablet dosage questions could be constructed using the question categories selected from the "
    "menu bar.";
inline constexpr const char* NOFLUIDS =
    "Sorry no fluid dosage questions could be constructed using the question categories selected from the "
    "menu bar.";

// Fills lists.selected(1..nselected) with the record numbers of the tablet
// (or fluid) index entries whose category is ticked: grouped by category in
// category order, within a category in index order. ticked(i) tells whether
// category i (1..ncategories) is chosen. False when no drug qualifies.
bool collectcandidates(DrugLists& lists, QuestionKind kind, const std::function<bool(int)>& ticked);

// A choice of question kinds or drug categories is never left empty: when
// none of the ticks is set, all are.
template <class Ticks>
void tickallifnone(Ticks& ticked) {
  if (std::none_of(std::begin(ticked), std::end(ticked), [](bool t) { return t; }))
    std::fill(std::begin(ticked), std::end(ticked), true);
}

}  // namespace core
