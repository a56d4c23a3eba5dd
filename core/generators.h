// The question generators. Each returns the question text, the answer and
// the worked solution (into helptext) through its arguments, together with
// the keys for the repeat check. The texts follow the wording of the
// program that holds the state (state.build).
//
// The generators report false when no question could be made from the
// data (no candidate drug admits a dose within the bounds, a missing or
// empty database): the callers tell the user instead of waiting forever.
#pragma once

#include <cstdint>
#include <string>

#include "core/corestate.h"

namespace core {

// Tablet or capsule dosage. Draws from state.lists.selected(1..nselected).
bool tabletquestion(CoreState& state, std::string& question, double& answer,
                    std::string& helptext, std::int16_t& recno, std::int16_t& row);

// Chooses the drug name shown in the question (state.drugname).
void pickdrugname(CoreState& state);

// Fluid dosage (oral solutions and injections).
bool fluidquestion(CoreState& state, std::string& question, double& answer,
                   std::string& helptext, std::int16_t& recno, std::int16_t& row);

// Metric conversion. unused is never assigned (the callers' third key).
void metricquestion(CoreState& state, std::string& question, double& answer, double& amount,
                    Key& unused, std::string& helptext);

// Intravenous drop rate. volume, hours and dropfactor are the keys.
void ivquestion(std::string& question, double& answer, std::int16_t& volume, float& hours,
                std::int16_t& dropfactor, std::string& helptext);

}  // namespace core
