#pragma once

#include <string>

// Files a stranger could leave for qvsim, where the system can make them (false where not: the
// case is then skipped). FileKindsPosix.cpp and FileKindsWin.cpp, one chosen by CMake.
namespace qv::simtest {
bool makePipe(const std::string& path);
// Possible for the superuser only.
bool giveToAnotherUser(const std::string& path);
} // namespace qv::simtest
