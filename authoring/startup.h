// The start-up of quizwright: tables, the start screen, settings and drug
// lists.
#pragma once

namespace authoring {

class Quizwright;

// Runs the whole start-up on the folder that core::workdir() names (the
// current folder when empty). A missing or unreadable drug list leaves the
// lists empty with one message, so that the drug editor can rebuild them.
void Main(Quizwright& app);

}  // namespace authoring
