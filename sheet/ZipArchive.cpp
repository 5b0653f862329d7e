#include "sheet/ZipArchive.h"

#include "sheet/SheetLimits.h"

#include <zip.h>

#include <algorithm>
#include <utility>

namespace qv::sheet {
namespace {

SheetError openError(int code, const std::string& where) {
    switch (code) {
    case ZIP_ER_NOENT:
    case ZIP_ER_OPEN:
        return sheetError(SheetErrorKind::FileNotFound, where + " cannot be read");
    case ZIP_ER_NOZIP:
        // Only what starts like a zip archive comes here: one without its directory was cut
        // short or damaged.
        return sheetError(SheetErrorKind::Corrupt, where + ": the zip directory is missing");
    case ZIP_ER_MEMORY:
        return sheetError(SheetErrorKind::LimitExceeded, where + " is too large to open");
    default: {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        return sheetError(SheetErrorKind::Corrupt, where + ": broken zip directory (" + text + ")");
    }
    }
}

std::string zipErrorText(zip_error_t* error) {
    const char* text = zip_error_strerror(error);
    return text ? text : "unknown zip error";
}

} // namespace

ZipPartStream::ZipPartStream(zip_file* file, std::string name, InflateBudget& budget)
    : m_file(file), m_name(std::move(name)), m_budget(budget) {}

ZipPartStream::~ZipPartStream() {
    zip_fclose(m_file);
}

long ZipPartStream::read(char* buffer, size_t size) {
    const zip_int64_t got = zip_fread(m_file, buffer, size);
    if (got < 0) {
        m_error = sheetError(SheetErrorKind::Corrupt,
                             "part " + m_name + ": " + zipErrorText(zip_file_get_error(m_file)));
        return -1;
    }
    m_inflated += static_cast<uint64_t>(got);
    if (m_inflated > kMaxPartBytes || !m_budget.take(static_cast<uint64_t>(got))) {
        m_error = sheetError(SheetErrorKind::LimitExceeded,
                             "part " + m_name + " inflates beyond the size a workbook may have");
        return -1;
    }
    return static_cast<long>(got);
}

SheetResult<ZipArchive> ZipArchive::openFile(const std::string& path) {
    int code = 0;
    zip* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive)
        return openError(code, path);
    return checked(archive);
}

SheetResult<ZipArchive> ZipArchive::openMemory(const void* data, size_t size) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return sheetError(SheetErrorKind::LimitExceeded, "package too large to open");
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return openError(code, "package");
    }
    return checked(archive);
}

SheetResult<ZipArchive> ZipArchive::checked(zip* archive) {
    ZipArchive result(archive);
    if (zip_get_num_entries(archive, 0) > kMaxZipEntries)
        return sheetError(SheetErrorKind::LimitExceeded, "package holds more parts than a "
                                                         "workbook has");
    return result;
}

ZipArchive::ZipArchive(ZipArchive&& other) noexcept
    : m_archive(std::exchange(other.m_archive, nullptr)) {}

ZipArchive& ZipArchive::operator=(ZipArchive&& other) noexcept {
    std::swap(m_archive, other.m_archive);
    return *this;
}

ZipArchive::~ZipArchive() {
    if (m_archive)
        zip_discard(m_archive);
}

bool ZipArchive::contains(std::string_view part) const {
    return zip_name_locate(m_archive, std::string(part).c_str(), ZIP_FL_NOCASE) >= 0;
}

SheetResult<std::unique_ptr<ZipPartStream>> ZipArchive::openPart(std::string_view part,
                                                                 InflateBudget& budget) const {
    const std::string name(part);
    const zip_int64_t index = zip_name_locate(m_archive, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0)
        return sheetError(SheetErrorKind::Corrupt, "part " + name + " is missing");
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        return sheetError(SheetErrorKind::Corrupt, "part " + name + " has no readable entry");
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return sheetError(SheetErrorKind::Encrypted, "part " + name + " is encrypted");
    if ((stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method != ZIP_CM_STORE &&
        stat.comp_method != ZIP_CM_DEFLATE)
        return sheetError(SheetErrorKind::Unsupported,
                          "part " + name + " uses a compression spreadsheet programs never write");
    zip_file* file = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return sheetError(SheetErrorKind::Corrupt,
                          "part " + name + ": " + zipErrorText(zip_get_error(m_archive)));
    return std::make_unique<ZipPartStream>(file, name, budget);
}

SheetResult<std::string> ZipArchive::readPart(std::string_view part, uint64_t limit,
                                              InflateBudget& budget) const {
    auto stream = openPart(part, budget);
    if (!stream)
        return stream.error();
    std::string bytes;
    char buffer[16 * 1024];
    for (;;) {
        const long got = stream.value()->read(buffer, sizeof buffer);
        if (got < 0)
            return stream.value()->error();
        if (got == 0)
            return bytes;
        if (bytes.size() + static_cast<uint64_t>(got) > limit)
            return sheetError(SheetErrorKind::LimitExceeded,
                              "part " + std::string(part) + " is larger than such a part can be");
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

} // namespace qv::sheet
