#include "sheet/XlsxWriter.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <system_error>

namespace qv::sheet {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

SheetError writeError(const std::string& path, lxw_error error) {
    return sheetError(SheetErrorKind::WriteFailed, path + ": " + lxw_strerror(error));
}

// Opens the target the way the library will when it closes the workbook, but without emptying
// a file already there: a folder that is missing, a name taken by a folder or a file that may not
// be written is found here and said in the system's words, before the library would report it
// on the standard error with only its own general message for the caller.
std::optional<SheetError> targetRefused(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return sheetError(SheetErrorKind::WriteFailed,
                          path + ": " + std::error_code(errno, std::generic_category()).message());
    ::close(fd);
    return std::nullopt;
}

class Writer {
public:
    Writer(lxw_workbook* workbook, lxw_worksheet* sheet) : m_sheet(sheet) {
        for (int shrink = 0; shrink < 2; ++shrink)
            for (int text = 0; text < 2; ++text) {
                if (!shrink && !text)
                    continue;
                lxw_format* format = workbook_add_format(workbook);
                if (shrink)
                    format_set_shrink(format);
                if (text)
                    format_set_num_format(format, "@");
                m_formats[shrink][text] = format;
            }
    }

    // Cells go out in row order, as constant-memory mode needs: a merged range is written when
    // its first row comes up, before that row's own cells, so that its first cell's value lands
    // on the cell the range's blanks began with.
    lxw_error write(const SheetModel& model) {
        std::vector<CellArea> merges = model.merged();
        std::sort(merges.begin(), merges.end(), [](const CellArea& a, const CellArea& b) {
            return a.first.row != b.first.row ? a.first.row < b.first.row
                                              : a.first.column < b.first.column;
        });
        auto nextMerge = merges.begin();
        const auto mergeUpTo = [&](uint32_t row) {
            for (; nextMerge != merges.end() && nextMerge->first.row <= row; ++nextMerge)
                if (const lxw_error e = merge(model, *nextMerge))
                    return e;
            return LXW_NO_ERROR;
        };
        for (const auto& [key, cell] : model.cells()) {
            const CellAddress at = SheetModel::address(key);
            if (const lxw_error e = mergeUpTo(at.row))
                return e;
            const bool coveredByMerge =
                std::any_of(merges.begin(), nextMerge, [&](const CellArea& area) {
                    return area.contains(at) && !(area.first == at);
                });
            if (coveredByMerge)
                continue;
            if (const lxw_error e =
                    writeCell(at.row - 1, static_cast<lxw_col_t>(at.column - 1), cell))
                return e;
        }
        if (const lxw_error e = mergeUpTo(kSheetRows))
            return e;
        for (const auto& [column, width] : model.columnWidths())
            if (const lxw_error e =
                    worksheet_set_column(m_sheet, static_cast<lxw_col_t>(column - 1),
                                         static_cast<lxw_col_t>(column - 1), width, nullptr))
                return e;
        const CellArea& selection = model.selection();
        worksheet_set_selection(
            m_sheet, selection.first.row - 1, static_cast<lxw_col_t>(selection.first.column - 1),
            selection.last.row - 1, static_cast<lxw_col_t>(selection.last.column - 1));
        return LXW_NO_ERROR;
    }

private:
    lxw_error merge(const SheetModel& model, const CellArea& area) {
        const auto found = model.cells().find(SheetModel::key(area.first));
        const SheetCell blank;
        const SheetCell& first = found != model.cells().end() ? found->second : blank;
        return worksheet_merge_range(
            m_sheet, area.first.row - 1, static_cast<lxw_col_t>(area.first.column - 1),
            area.last.row - 1, static_cast<lxw_col_t>(area.last.column - 1), "", formatOf(first));
    }

    lxw_format* formatOf(const SheetCell& cell) const {
        return m_formats[cell.shrinkToFit][cell.textFormat];
    }

    lxw_error writeCell(lxw_row_t row, lxw_col_t column, const SheetCell& cell) {
        lxw_format* format = formatOf(cell);
        const CellValue& value = cell.value;
        if (const auto* number = std::get_if<double>(&value))
            return worksheet_write_number(m_sheet, row, column, *number, format);
        if (const auto* text = std::get_if<std::string>(&value)) {
            if (!cell.textFormat && isPlainDecimal(*text)) {
                double number = 0;
                std::from_chars(text->data(), text->data() + text->size(), number);
                return worksheet_write_number(m_sheet, row, column, number, format);
            }
            if (text->find("_x") == std::string::npos)
                return worksheet_write_string(m_sheet, row, column, text->c_str(), format);
            return worksheet_write_string(m_sheet, row, column, escapeLiterals(*text).c_str(),
                                          format);
        }
        if (const auto* truth = std::get_if<bool>(&value))
            return worksheet_write_boolean(m_sheet, row, column, *truth, format);
        if (const auto* error = std::get_if<CellError>(&value)) {
            // The file format keeps an error only as a formula's result: a formula that is the
            // error constant, which spreadsheet programs evaluate when they open the file.
            const std::string formula = "=" + std::string(errorText(*error));
            return worksheet_write_formula(m_sheet, row, column, formula.c_str(), format);
        }
        return worksheet_write_blank(m_sheet, row, column, format);
    }

    lxw_worksheet* m_sheet;
    lxw_format* m_formats[2][2] = {}; // [shrink to fit][text]
};

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::string escapeLiterals(std::string_view text) {
    // Readers turn _xHHHH_ into the character HHHH (the file's way to hold control characters,
    // which libxlsxwriter writes so itself); a text that holds those seven characters literally
    // keeps them by writing its underscore as _x005F_.
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const bool literal =
            text.substr(i, 2) == "_x" && i + 7 <= text.size() && text[i + 6] == '_' &&
            std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i + 2),
                        text.begin() + static_cast<std::ptrdiff_t>(i + 6), isHexDigit);
        out += literal ? std::string_view("_x005F_") : text.substr(i, 1);
    }
    return out;
}

bool isPlainDecimal(std::string_view text) {
    size_t i = text.starts_with('-') ? 1 : 0;
    const size_t integer = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const size_t integerDigits = i - integer;
    if (integerDigits == 0 || (integerDigits > 1 && text[integer] == '0'))
        return false;
    size_t significant = text[integer] == '0' ? 0 : integerDigits;
    if (i < text.size() && text[i] == '.') {
        const size_t fraction = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == fraction || text[i - 1] == '0')
            return false;
        // Zeros right after the point in "0.05" are not significant.
        size_t leading = 0;
        if (significant == 0)
            while (text[fraction + leading] == '0')
                ++leading;
        significant += i - fraction - leading;
    } else if (text == "-0") {
        return false;
    }
    return i == text.size() && significant <= 15;
}

// Constant-memory mode writes each row out as soon as a later one starts and stores texts in
// the cells instead of a shared-string table, which saves the table's lookups and the cell trees.
// A merged range over several rows writes blanks down to its last row at once, so it would cut
// off the cells of its rows that come after it; such sheets are written the ordinary way.
bool rowsWriteInOrder(const std::vector<NamedSheet>& sheets) {
    return std::all_of(sheets.begin(), sheets.end(), [](const NamedSheet& sheet) {
        return std::all_of(sheet.sheet->merged().begin(), sheet.sheet->merged().end(),
                           [](const CellArea& area) { return area.rows() == 1; });
    });
}

SheetStatus writeXlsx(const std::string& path, const std::vector<NamedSheet>& sheets) {
    lxw_workbook_options options = {};
    options.constant_memory = rowsWriteInOrder(sheets) ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (!workbook)
        return sheetError(SheetErrorKind::WriteFailed, path + ": cannot start the workbook");
    // Until the workbook is closed nothing is written to the path: a write given up before then
    // frees the workbook and leaves a file already at the path as it was.
    for (const NamedSheet& sheet : sheets) {
        // Checked first: the library would print its own warning for a name it refuses.
        if (const lxw_error e = workbook_validate_sheet_name(workbook, sheet.name.c_str())) {
            lxw_workbook_free(workbook);
            return sheetError(SheetErrorKind::WriteFailed,
                              path + ": worksheet name \"" + sheet.name + "\": " + lxw_strerror(e));
        }
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.name.c_str());
        if (!worksheet) {
            lxw_workbook_free(workbook);
            return sheetError(SheetErrorKind::WriteFailed,
                              path + ": worksheet name \"" + sheet.name + "\" refused");
        }
        if (const lxw_error e = Writer(workbook, worksheet).write(*sheet.sheet)) {
            lxw_workbook_free(workbook);
            return writeError(path, e);
        }
    }
    if (auto refused = targetRefused(path)) {
        lxw_workbook_free(workbook);
        return *refused;
    }
    if (const lxw_error e = workbook_close(workbook)) {
        // What was written so far is no workbook the administrator asked for.
        std::remove(path.c_str());
        return writeError(path, e);
    }
    return {};
}

} // namespace qv::sheet
