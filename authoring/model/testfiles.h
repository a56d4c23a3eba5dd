// The test editor's file operations that need no window: the File menu's
// list of test files, reading a test file's header and size on opening,
// and saving the test being edited to another file. Every save writes a
// whole new file beside the target and renames it over the target, so the
// old file survives any failure; the file being edited is never replaced
// by a copy of itself.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "authoring/model/testdoc.h"

namespace authoring {

// The caption of listed test file index (from 1): "&1 a.vqt" up to 9, so
// that the digit is the access key, then "10 j.vqt". An ampersand of the
// name is doubled so that it shows as itself.
std::string filemenucaption(int index, const std::string& name);

// The name chosen in the save dialog, with the extension of the chosen
// type (".vqt", or ".txt" for the text type) added when it does not end in
// it, in any capitals. A name ending in ".txt" is a text export whatever
// the type, so it keeps its name too.
std::string withextension(const std::string& name, bool texttype);

// A save name whose last four characters are ".txt" in any capitals is
// written as a text export.
bool istextname(const std::string& name);

// True when both names denote one existing file, whatever their spelling
// (relative or full path, "./", a symbolic or hard link).
bool samefile(const std::string& a, const std::string& b);

// What a test file holds as the editor opens it: the header values (title
// trimmed and cut to 40, description and instructions trimmed, the include
// flag the rounded number of its field) and the whole records after the
// header. The file is only read (a missing file is created empty, as
// opening any record file does). Throws core::FileError when name is not an
// ordinary readable file, or holds more questions than a test can count.
struct OpenedTest {
  TestHeader header;
  std::int16_t numquest = 0;
};
OpenedTest readtestfile(const std::string& name);

// The trial open of the Open dialog's choice: opens the file as a record
// file and closes it (a missing file is created empty). Throws
// core::FileError when that fails.
void trialopen(const std::string& name);

// The trial of a save name: throws core::FileError when no file could be
// written under that name (empty, a folder, a missing folder). Creates nothing.
void checksavename(const std::string& name);

// The saved form of a test: its header and questions 1..numquest, read from
// source (a question beyond the end of source is blank).
std::string testbytes(const std::string& source, long numquest);

// Writes the header and questions 1..numquest of source to target as one
// whole new file, with the records given by number (1 the header) in place
// of source's. Returns false, writing nothing, when target is source
// itself. Throws core::FileError on failure; target is then as it was.
bool savetest(const std::string& source, long numquest, const std::string& target,
              const std::vector<std::pair<long, core::testrecord>>& replaced = {});

}  // namespace authoring
