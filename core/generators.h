// The question generators. Each returns the question text, the answer and
// the worked solution (into helptext) through its arguments, together with
// the keys for the repeat check. The texts follow the wording of the
// program that holds the state (state.build).
//
// The generators report false when no question could be made from the
// data (no candidate drug admits a dose within the bounds, a missing or
// empty database): the callers tell the user instead of waiting forever.
// A drug record that cannot be read (a lock held too long, a read that
// fails) is no such case: the tablet and fluid generators throw its
// FileError, so that the caller tells the failure as a failure.
// Every retry loop is bounded, so no call can hang; with usable data the
// bounds are never reached.
#pragma once

#include <cstdint>
#include <string>

#include "core/corestate.h"

namespace core {

// Tablet or capsule dosage. Draws from state.lists.selected(1..nselected).
// recno and row are the repeat-check keys (with an empty third key).
bool tabletquestion(CoreState& state, std::string& question, double& answer,
                    std::string& helptext, std::int16_t& recno, std::int16_t& row);

// Chooses the drug name shown in the question (state.drugname) from
// state.drug: the generic name, or with settings.genericnames = -1 one of
// the generic and the non-empty trade names, each equally likely.
void pickdrugname(CoreState& state);

// Fluid dosage (oral solutions and injections).
bool fluidquestion(CoreState& state, std::string& question, double& answer,
                   std::string& helptext, std::int16_t& recno, std::int16_t& row);

// Metric conversion. unused is never assigned (the callers' third key).
// The keys are (answer, amount, unused).
bool metricquestion(CoreState& state, std::string& question, double& answer, double& amount,
                    Key& unused, std::string& helptext);

// Intravenous drop rate, the same in both programs. volume, hours and
// dropfactor are the keys. Every quantity is computed in single precision.
bool ivquestion(std::string& question, double& answer, std::int16_t& volume, float& hours,
                std::int16_t& dropfactor, std::string& helptext);

// The rounding of a drop rate to whole drops per minute: a fraction above
// 0.49 rounds up, any other fraction down. text receives the sentence that
// explains it (empty for a whole number).
void ivrounding(float rate, double& answer, std::string& text);

// The most passes a generator makes before it reports that no question
// could be made.
inline constexpr int MAXPASSES = 1000;

// Pieces shared by the tablet and the fluid generator.
namespace dosage {

enum class Draw { Drawn, Unusable, Failed };
// One pass's drug draw: reseeds, draws a record number from the candidate
// list and reads that record into state.drug. Unusable: a record number
// below 1 (a blank record is used). Failed: no candidates. Throws the
// FileError of a record that cannot be read.
Draw drawdrug(CoreState& state, std::int16_t& recno);
// A unit code of a drug record that the prefix tables know (0 kg .. 7 mcg).
inline bool knownunit(int code) { return code >= 0 && code <= 7; }
// Row k's strength in the unit of the highest dose.
double stockstrength(const CoreState& state, int k);
// The lowest single dose in the unit of the highest dose.
double lowestdose(const CoreState& state);
// Whether row k of state.drug offers a fluid dose to ask: a fluid row with
// at least one dose of whole increments that fits its volume limit, lies
// within the single-dose range and has an answer a student can type. The
// fluid generator draws only such rows.
bool offersfluiddose(const CoreState& state, int k);
// An answer a student can type: written as a number it has at most two
// decimals and no exponent. Marking compares the typed text with the
// stored answer, so any other answer could never be marked right.
bool typeable(double answer);
// The short explanation of that conversion; empty when the units are the
// same. Built only for the accepted question.
std::string stockexplanation(const CoreState& state, int k);
// One uniform draw made into a whole number 1..n, Int(r x n) + 1 (1 when n is 0).
int drawn(int n);
// The plural ending of an abbreviated unit in the tool's wording ("mg's").
std::string ending(const CoreState& state);

}  // namespace dosage

}  // namespace core
