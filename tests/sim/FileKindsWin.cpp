#include "tests/sim/FileKinds.h"

// Windows has no named pipes in the file system, nor owners that qvsim checks.
bool qv::simtest::makePipe(const std::string&) {
    return false;
}
bool qv::simtest::giveToAnotherUser(const std::string&) {
    return false;
}
