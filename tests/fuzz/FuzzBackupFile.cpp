// Fuzzes the backup file reader: the input is a whole file. Whatever the file, the reader never
// crashes, and a file it takes is written back into one it takes again with the same bytes in
// every table, so what a restore sends is exactly what the file held.

#include "core/backup/BackupFile.h"
#include "tests/fuzz/FuzzCheck.h"

#include <string_view>

using qvfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const qv::backup::ReadResult first = qv::backup::parseBackup(file, "fuzz.json");
    if (!first.ok())
        return 0;
    const std::string written = qv::backup::backupText(*first.backup);
    const qv::backup::ReadResult second = qv::backup::parseBackup(written, "fuzz.json");
    check(second.ok(), "a backup taken once is refused once written back");
    check(qv::backup::backupText(*second.backup) == written, "a table changed on the way");
    return 0;
}
