#include "link/PrivateFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qv {
namespace {

// The file's owner and its write bits for the group and others, as a reason to refuse it.
std::string ownershipFault(const struct stat& info) {
    if (info.st_uid != ::geteuid())
        return "it belongs to another user";
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "other users may write to it";
    return {};
}

} // namespace

std::string writePrivateTemporary(const std::string& path, std::string_view bytes,
                                  std::string& temporary) {
    // mkostemp creates the file exclusively, mode 0600, under a name of its own choosing.
    std::vector<char> name(path.begin(), path.end());
    for (const char c : std::string_view(".tmpXXXXXX"))
        name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    temporary = name.data();
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
    if (fault != 0) {
        ::unlink(temporary.c_str());
        temporary.clear();
        return std::strerror(fault);
    }
    return {};
}

std::string replaceWithTemporary(const std::string& temporary, const std::string& path) {
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int fault = errno;
        ::unlink(temporary.c_str());
        return std::strerror(fault);
    }
    return {};
}

std::string writePrivateFile(const std::string& path, std::string_view bytes) {
    std::string temporary;
    if (std::string fault = writePrivateTemporary(path, bytes, temporary); !fault.empty())
        return fault;
    return replaceWithTemporary(temporary, path);
}

std::string makePrivateFolder(const std::string& parent, const std::string& prefix,
                              std::string& created) {
    std::string pattern = parent;
    if (!pattern.empty() && pattern.back() != '/')
        pattern += '/';
    pattern += prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name no one had.
    if (::mkdtemp(name.data()) == nullptr)
        return std::strerror(errno);
    created = name.data();
    return {};
}

std::string privateFolderFault(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISLNK(info.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(info.st_mode))
        return "it is not a folder";
    return ownershipFault(info);
}

std::string readPrivateFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    // Not blocking: opening a pipe would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
    struct stat info {};
    std::string fault;
    if (::fstat(fd, &info) != 0)
        fault = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        fault = "it is not a regular file";
    else
        fault = ownershipFault(info);
    if (fault.empty()) {
        bytes.assign(maxBytes + 1, '\0');
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n > 0) {
                got += static_cast<size_t>(n);
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                fault = std::strerror(errno);
                break;
            }
        }
        bytes.resize(got);
        if (fault.empty() && got > maxBytes)
            fault = "it is larger than such a file can be";
    }
    ::close(fd);
    if (!fault.empty())
        bytes.clear();
    return fault;
}

} // namespace qv
