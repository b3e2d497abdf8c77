#pragma once

#include <string>

// Words that outcomes carry where the system gives none: the reasons of failures it has no text
// for, and the name of a user whom it knows by number only.
namespace zarn::reasons {

std::string folderHasThatName();
std::string folderMovedMeanwhile();
std::string unknownSystemError(unsigned long code);
std::string unknownUser(unsigned long id);

} // namespace zarn::reasons
