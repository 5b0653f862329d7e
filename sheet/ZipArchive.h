#pragma once

// The .xlsx package as a zip archive, read through libzip with every part's inflated size
// capped: a part is streamed in pieces and refused once it passes kMaxPartBytes, or once all
// parts read for one request pass kMaxInflatedBytes, whatever sizes the archive declares.

#include "sheet/SheetError.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace qv::sheet {

// The bytes all parts of one request may still inflate to.
class InflateBudget {
public:
    explicit InflateBudget(uint64_t bytes) : m_left(bytes) {}
    bool take(uint64_t bytes) {
        if (bytes > m_left)
            return false;
        m_left -= bytes;
        return true;
    }

private:
    uint64_t m_left;
};

// One part, inflated piece by piece.
class ZipPartStream {
public:
    ZipPartStream(zip_file* file, std::string name, InflateBudget& budget);
    ~ZipPartStream();
    ZipPartStream(const ZipPartStream&) = delete;
    ZipPartStream& operator=(const ZipPartStream&) = delete;

    // Up to `size` bytes; 0 at the end of the part. A negative count is an error, kept in
    // error(): a broken stream, a CRC mismatch, or a cap passed.
    long read(char* buffer, size_t size);
    const SheetError& error() const { return m_error; }

private:
    zip_file* m_file;
    std::string m_name;
    InflateBudget& m_budget;
    uint64_t m_inflated = 0;
    SheetError m_error{SheetErrorKind::Corrupt, {}};
};

class ZipArchive {
public:
    static SheetResult<ZipArchive> openFile(const std::string& path);
    // The archive in memory; the bytes must outlive the archive.
    static SheetResult<ZipArchive> openMemory(const void* data, size_t size);

    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;
    ~ZipArchive();

    bool contains(std::string_view part) const;
    // Streams a part. Parts are found by name without regard to letter case, as package part
    // names compare; only stored and deflated parts are read, as spreadsheet programs write.
    SheetResult<std::unique_ptr<ZipPartStream>> openPart(std::string_view part,
                                                         InflateBudget& budget) const;
    // A whole part of at most `limit` bytes, for the small parts that are parsed whole.
    SheetResult<std::string> readPart(std::string_view part, uint64_t limit,
                                      InflateBudget& budget) const;

private:
    explicit ZipArchive(zip* archive) : m_archive(archive) {}
    static SheetResult<ZipArchive> checked(zip* archive);

    zip* m_archive = nullptr;
};

} // namespace qv::sheet
