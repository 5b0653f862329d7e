#include "PrivateFile.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <filesystem>

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

} // namespace

std::string writePrivateFile(const std::string& path, std::string_view bytes) {
    // Paths are taken as std::filesystem takes them, so non-ASCII names reach the wide calls.
    const std::wstring target = std::filesystem::path(path).wstring();
    const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    // CREATE_NEW: never a file someone else put there. No chmod: Windows has no file modes,
    // and the file takes its folder's access rights.
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
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
    if (fault == 0 && MoveFileExW(temporary.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
        fault = GetLastError();
    if (fault != 0) {
        DeleteFileW(temporary.c_str());
        return systemMessage(fault);
    }
    return {};
}

} // namespace qv
