// The results of a run: the results text, the log entry written when the
// run ends, and the retry of a log file that cannot be written.
#pragma once

#include <string>

namespace trainee {

class Dosavo;

// One block per module with answers, in module-number order.
std::string resultstext(const Dosavo& app);
// Appends the log entry when logging is on and there are results, after the
// optional save question. Called when the menu window closes.
void writelog(Dosavo& app);

}  // namespace trainee
