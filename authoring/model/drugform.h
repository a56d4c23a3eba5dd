// The drug editor's form as plain values: one member per control, holding
// what the control shows or what was typed into it (Windows-1252 bytes), and
// the rules that move a drug record into the form and back, tell whether the
// form was changed, check it and create new categories. The window moves its
// controls to and from a DrugForm and calls these; none of them needs one.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/drug.h"
#include "core/text.h"

namespace authoring {

// A list with no entry selected.
inline constexpr int NOSELECTION = -1;
inline constexpr int DRUGROWS = 5;
// The editor's caption and the title of most of its messages.
inline constexpr const char* DRUGTITLE = "Drug Database";

struct DrugForm {
  std::string Text1;                      // generic name
  std::array<std::string, 2> Text2;       // trade names
  std::array<std::string, 2> Text3;       // lowest and highest single dose
  std::array<int, 2> List1{NOSELECTION, NOSELECTION};  // their units
  std::string Increment;
  std::array<bool, DRUGROWS> Check1{};    // may be halved
  std::array<int, DRUGROWS> Type{NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION};
  std::array<std::string, DRUGROWS> Dose;
  std::array<int, DRUGROWS> doseunit{NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION, NOSELECTION};
  std::array<std::string, DRUGROWS> noof;  // the millilitres of a fluid row
  std::string Cbcategory;                 // the category box's text

  friend bool operator==(const DrugForm&, const DrugForm&) = default;
};

// Names compare exactly, letter case included, once trailing blanks are
// taken off both; leading blanks count.
bool samename(std::string_view a, std::string_view b);

// The record as the form shows it: names without trailing blanks, numbers
// in their short form, a code outside its list as no selection, the volume
// of a solid row empty, every unit on mg when the generic name is empty,
// and the name of the record's category (empty for 0 or an unknown number).
DrugForm formof(const core::drugrecord& d, const core::DrugLists& table);

// The record filled from the form (the caller checks the category first).
// A category name that matches no entry of the table keeps d's category.
core::drugrecord recordof(const DrugForm& f, core::drugrecord d, const core::DrugLists& table);

// True as soon as one field of the form differs from the saved record:
// names as samename, numbers by their value, the category by the number of
// the last table entry of that name (0 when none has it) against the
// record's own (0 when the table lacks it, as it then shows no name).
bool recordchanged(const DrugForm& f, const core::drugrecord& saved, const core::DrugLists& table);

struct Problem {
  std::string text;
  std::string title;    // empty: the program's own title
  bool blocks;          // the record may not be saved
  bool failed = false;  // a file operation failed: shown as a warning
};
// Every rule the form fails, in the order the rules are checked.
std::vector<Problem> validate(const DrugForm& f);
// True when one of the problems blocks saving.
bool blocking(const std::vector<Problem>& problems);

// The category box's text turned into a new category. list holds the names
// of the box's list; table is the tool's category table.
enum class CategoryOutcome { Known, Created, Refused };
CategoryOutcome addcategory(const std::string& text, std::vector<std::string>& list, core::DrugLists& table);
// What the user is told of a new or refused category.
Problem categorymessage(CategoryOutcome outcome);
// The name (without trailing blanks) of the category with this number, or
// an empty text.
std::string categoryname(const core::DrugLists& table, int number);

}  // namespace authoring
