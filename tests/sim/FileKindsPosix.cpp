#include "tests/sim/FileKinds.h"

#include <sys/stat.h>
#include <unistd.h>

bool qv::simtest::makePipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

bool qv::simtest::giveToAnotherUser(const std::string& path) {
    return ::geteuid() == 0 && ::lchown(path.c_str(), 65534, 65534) == 0; // nobody
}
