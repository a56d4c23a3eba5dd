// The start-up of quizwright: tables, the start screen, settings and drug
// lists.
#pragma once

namespace authoring {

class Quizwright;

// Runs the whole start-up on the folder that core::workdir() names (the
// current folder when empty). A missing or unreadable drug list leaves the
// lists empty with one message, so that the drug editor can rebuild them.
void Main(Quizwright& app);

// Reads the drug lists and categories the tool holds from the index files
// again, as start-up does. The drug editor's close calls it after each
// rebuild, so that questions are generated from the drugs as they now are.
void readdruglists(Quizwright& app);

}  // namespace authoring
