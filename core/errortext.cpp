#include "core/errors.h"

namespace core {

std::string errornote(int number) { return "(error " + numberandcause(number) + ")"; }

std::string errornote(const FileError& e) {
  const std::string number = std::to_string(e.number());
  if (dynamic_cast<const LockHeld*>(&e) != nullptr)
    return "(error " + number + ": another program has held the file locked for too long)";
  if (dynamic_cast<const FileChanged*>(&e) != nullptr)
    return "(error " + number + ": another program changed the file)";
  return errornote(e.number());
}

}  // namespace core
