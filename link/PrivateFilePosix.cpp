#include "PrivateFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

std::string writePrivateFile(const std::string& path, std::string_view bytes) {
    // A name of this process alone, created afresh: never a file someone else put there.
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::strerror(errno);
    // The mode again, whatever the umask took away from it.
    int fault = ::fchmod(fd, 0600) == 0 ? 0 : errno;
    size_t written = 0;
    while (fault == 0 && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0)
            written += static_cast<size_t>(n);
        else if (errno != EINTR)
            fault = errno;
    }
    if (fault == 0 && ::fsync(fd) != 0)
        fault = errno;
    if (::close(fd) != 0 && fault == 0)
        fault = errno;
    if (fault == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        fault = errno;
    if (fault != 0) {
        std::remove(temporary.c_str());
        return std::strerror(fault);
    }
    return {};
}

} // namespace qv
