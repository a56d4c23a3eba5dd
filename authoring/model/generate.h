// Question generation in the test editor: a batch of questions of the
// ticked kinds, each made by the core's generators in the tool's wording
// and appended to the test. Standard C++ only; the window shows the
// messages and the boxes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "authoring/model/testdoc.h"
#include "core/corestate.h"
#include "core/testfile.h"

namespace authoring {

// Generation stops at this many questions in a test.
inline constexpr int MAXGENERATED = 99;
inline constexpr const char* LIMITTITLE = "Warning!";
inline constexpr const char* LIMITTEXT =
    "A limit of 99 questions has been set for each test. This is to protect students from unscrupulous tutors "
    "who would subject them to the horrors of such a long test and also to minimise the chances of users "
    "running out of hard disk space and memory.";

// The count box takes digits, the blank, control keys and codes above 127.
bool countkeypasses(int code);
// The kinds of the ticked boxes in box order (1 metric, 2 tablet, 3 fluid,
// 4 drop rate).
std::vector<int> tickedkinds(const std::array<bool, 4>& ticked);

// One question of the kind: the record to store, or the message to show
// when no tablet or fluid drug of the ticked categories can be asked, or
// when the drug database cannot be read.
// categoryticked(c) tells whether category c (1..ncategories) is chosen.
struct Made {
  bool made = false;
  core::testrecord rec;
  std::string message;
};
Made makequestion(core::CoreState& state, int questiontype, const std::function<bool(int)>& categoryticked);

// The batch as the count box and the test stand: how many questions to
// make, whether the count was cut to the limit (the window shows the
// warning and the cut count), and the question count to start from (0 for
// a fresh test: one question, shown, with empty question and answer
// boxes, whose place the first new question takes).
struct BatchPlan {
  long count = 0;
  bool cut = false;
  std::int16_t numquest = 0;
};
BatchPlan planbatch(const std::string& countbox, std::int16_t numquest, std::int16_t qno, bool boxesempty);

// Makes the planned questions in the document. For each: the test is
// marked changed, a fresh draw picks one of the kinds and make() makes a
// question of it; a question made is stored as question qno of the test,
// numquest and qno moving on first when it is complete (and back again when
// the store throws), and then shown(). A question that cannot be made ends
// the batch with its message.
struct BatchEnd {
  int made = 0;
  std::string message;
};
BatchEnd runbatch(TestDocument& doc, const BatchPlan& plan, const std::vector<int>& kinds,
                  const std::function<Made(int kind)>& make, const std::function<void()>& shown);

}  // namespace authoring
