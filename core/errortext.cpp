#include "core/errors.h"

namespace core {

namespace {
// The causes that errorcause leaves unnamed, as the editors tell them. A
// path or file access error (75) says no more than "could not be read" or
// "written" does, unless the failure itself tells why.
std::string othercause(int number) {
  switch (number) {
    case ErrOverflow: return "a number or the file is too large";
    case ErrSubscript: return "an entry is out of range";
    case ErrTypeMismatch: return "a value is not a number";
    case ErrBadFileName: return "the file name or number is not valid";
    case ErrFileNotFound: return "the file was not found";
    case ErrBadFileMode: return "the file cannot be used that way";
    case ErrInputPastEnd: return "the file ends too soon";
    case ErrPathNotFound: return "the folder was not found";
    default: return "";
  }
}
}  // namespace

std::string errornote(int number) {
  std::string cause = errorcause(number);
  if (cause.empty()) cause = othercause(number);
  return "(error " + std::to_string(number) + (cause.empty() ? "" : ": " + cause) + ")";
}

std::string errornote(const FileError& e) {
  const std::string number = std::to_string(e.number());
  if (dynamic_cast<const LockHeld*>(&e) != nullptr)
    return "(error " + number + ": another program has held the file locked for too long)";
  if (dynamic_cast<const FileChanged*>(&e) != nullptr)
    return "(error " + number + ": another program changed the file)";
  return errornote(e.number());
}

}  // namespace core
