#include "authoring/model/textexport.h"

#include <algorithm>

#include "core/files.h"
#include "core/text.h"

namespace authoring {

std::string numberingline(int style, long q) {
  const std::string n = core::numtext(static_cast<long long>(q));
  switch (style) {
    case 1: return "Question " + n + ".";
    case 2: return "Number " + n + ".";
    case 3: return "(" + n + ").";
    case 4: return "No " + n + ".";
    case 5: return n + ".";
    default: return "";
  }
}

std::string buildtextexport(const std::string& title, const std::string& description,
                            const std::string& instructions, const std::vector<core::testrecord>& questions,
                            const TextOptions& options) {
  const std::string br(core::crlf);
  std::string out;
  out.reserve(questions.size() * 4200 + 2000);
  // Every write of a text ends with a line break of its own.
  const auto write = [&](const std::string& text) { out += text + br; };
  const bool numbered = options.numbering >= 1 && options.numbering <= 5;

  if (options.include[0]) write(core::trim(title) + br + br);
  if (options.include[1]) write(core::trim(description) + br + br);
  if (options.include[2]) write(core::trim(instructions) + br + br);
  long q = 0;
  for (const core::testrecord& r : questions) {
    ++q;
    if (numbered) write(numberingline(options.numbering, q));
    write(core::fixwidth(r.question, core::TEST_QUESTION_WIDTH) + br + br);
  }
  write(br);
  if (options.include[3]) {
    write("Answers:" + br);
    q = 0;
    for (const core::testrecord& r : questions)
      write(core::numtext(static_cast<long long>(++q)) + ". " + core::fixwidth(r.answer, core::TEST_ANSWER_WIDTH) + br);
    write(br);
  }
  if (options.include[4]) {
    write("Solutions:" + br);
    q = 0;
    for (const core::testrecord& r : questions) {
      ++q;
      if (numbered) write(numberingline(options.numbering, q));
      write(core::fixwidth(r.help, core::TEST_HELP_WIDTH) + br + br);
    }
    write(br);
  }
  return out;
}

void saveastextfile(const std::string& file, const std::string& source, long numquest, const std::string& title,
                    const std::string& description, const std::string& instructions,
                    const TextOptions& options) {
  const std::string bytes = core::readwholefile(source);
  const std::size_t len = core::TEST_RECORD_LENGTH;
  std::vector<core::testrecord> questions;
  questions.reserve(static_cast<std::size_t>(std::max(numquest, 0L)));
  const std::string blank = core::testrecord::blank().encode();
  for (long r = 2; r <= numquest + 1; ++r)
    questions.push_back(core::testrecord::decode(std::string(core::recordat(bytes, r, len, blank))));
  core::writewholefile(file, buildtextexport(title, description, instructions, questions, options));
}

}  // namespace authoring
