#include "link/PrivateFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <filesystem>
#include <random>

namespace qv {
namespace {

std::string systemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

// Six letters and digits no earlier call of this process gave, and unlikely for any other.
std::wstring freshSuffix() {
    static const wchar_t digits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    std::mt19937 random(device() ^ (GetCurrentProcessId() << 8) ^ counter.fetch_add(1));
    std::wstring suffix;
    for (int i = 0; i < 6; ++i)
        suffix += digits[random() % 36];
    return suffix;
}

constexpr int kNameTries = 100;

} // namespace

std::string writePrivateTemporary(const std::string& path, std::string_view bytes,
                                  std::string& temporary) {
    // Paths are taken as std::filesystem takes them, so non-ASCII names reach the wide calls.
    const std::wstring target = std::filesystem::path(path).wstring();
    // CREATE_NEW: never a file someone else put there. No chmod: Windows has no file modes,
    // and the file takes its folder's access rights.
    std::wstring name;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int i = 0; i < kNameTries && file == INVALID_HANDLE_VALUE; ++i) {
        name = target + L".tmp" + freshSuffix();
        file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE)
        return systemMessage(GetLastError());
    DWORD fault = 0;
    for (size_t written = 0; fault == 0 && written < bytes.size();) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, INT_MAX));
        if (WriteFile(file, bytes.data() + written, chunk, &n, nullptr) == 0)
            fault = GetLastError();
        else if (n == 0)
            fault = ERROR_WRITE_FAULT;
        written += n;
    }
    if (fault == 0 && FlushFileBuffers(file) == 0)
        fault = GetLastError();
    if (CloseHandle(file) == 0 && fault == 0)
        fault = GetLastError();
    if (fault != 0) {
        DeleteFileW(name.c_str());
        return systemMessage(fault);
    }
    temporary = std::filesystem::path(name).string();
    return {};
}

std::string replaceWithTemporary(const std::string& temporary, const std::string& path) {
    const std::wstring from = std::filesystem::path(temporary).wstring();
    const std::wstring to = std::filesystem::path(path).wstring();
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ==
        0) {
        const DWORD fault = GetLastError();
        DeleteFileW(from.c_str());
        return systemMessage(fault);
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
    // The folder takes its parent's access rights: under the user's own temporary folder, the
    // user's alone.
    const std::filesystem::path base(parent);
    for (int i = 0; i < kNameTries; ++i) {
        const std::filesystem::path folder =
            base / (std::filesystem::path(prefix).wstring() + freshSuffix());
        if (CreateDirectoryW(folder.wstring().c_str(), nullptr) != 0) {
            created = folder.string();
            return {};
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return systemMessage(GetLastError());
}

std::string privateFolderFault(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(std::filesystem::path(path).wstring().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return systemMessage(GetLastError());
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return "it is a link";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return "it is not a folder";
    return {};
}

std::string readPrivateFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    const std::wstring name = std::filesystem::path(path).wstring();
    // The attributes of a link are its own, not those of what it points to.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return systemMessage(GetLastError());
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return "it is a link";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return "it is not a regular file";
    // The link itself is opened, not what it points to, should one have appeared meanwhile.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return systemMessage(GetLastError());
    std::string fault;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK)
        fault = "it is not a regular file";
    else if (GetFileInformationByHandle(file, &info) == 0)
        fault = systemMessage(GetLastError());
    else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        fault = "it is a link";
    else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        fault = "it is not a regular file";
    if (fault.empty()) {
        bytes.assign(maxBytes + 1, '\0');
        size_t got = 0;
        while (got < bytes.size()) {
            DWORD n = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - got, INT_MAX));
            if (ReadFile(file, bytes.data() + got, chunk, &n, nullptr) == 0) {
                fault = systemMessage(GetLastError());
                break;
            }
            if (n == 0)
                break;
            got += n;
        }
        bytes.resize(got);
        if (fault.empty() && got > maxBytes)
            fault = "it is larger than such a file can be";
    }
    CloseHandle(file);
    if (!fault.empty())
        bytes.clear();
    return fault;
}

} // namespace qv
