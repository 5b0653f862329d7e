// Fuzzes the .xlsx reader: the input is a whole file as an administrator might pick it for the
// schedule import. The package is opened from memory and the import's block is read from the
// first two worksheets. Whatever the bytes, the reader answers with a block of exactly the
// requested size within its limits, or with an error that says what was wrong.

#include "sheet/SheetLimits.h"
#include "sheet/XlsxReader.h"
#include "sheet/ZipArchive.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cmath>
#include <variant>

namespace {

using qvfuzz::check;

void checkError(const qv::sheet::SheetError& error) {
    check(!error.detail.empty(), "an error without its detail");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv::sheet;
    auto archive = ZipArchive::openMemory(data, size);
    if (!archive) {
        checkError(archive.error());
        return 0;
    }
    auto book = XlsxWorkbook::open(std::move(archive.value()));
    if (!book) {
        checkError(book.error());
        return 0;
    }
    check(!book->worksheets().empty(), "a workbook without worksheets was opened");
    const CellArea block{{1, 1}, {2046, 8}};
    for (size_t sheet = 0; sheet < std::min<size_t>(2, book->worksheets().size()); ++sheet) {
        const auto grid = book->readBlock(sheet, block);
        if (!grid) {
            checkError(grid.error());
            continue;
        }
        check(grid->rows() == 2046 && grid->columns() == 8, "block of the wrong size");
        size_t textBytes = 0;
        for (uint32_t row = 0; row < grid->rows(); ++row) {
            for (uint32_t column = 0; column < grid->columns(); ++column) {
                const CellValue& cell = grid->at(row, column);
                if (const auto* text = std::get_if<std::string>(&cell))
                    textBytes += text->size();
                if (const auto* number = std::get_if<double>(&cell))
                    check(std::isfinite(*number), "a number that is not finite");
            }
        }
        check(textBytes <= kMaxBlockTextBytes, "more text than a block may hold");
    }
    return 0;
}
