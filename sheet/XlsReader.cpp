#include "sheet/XlsReader.h"

#include "sheet/IsolatedRun.h"
#include "sheet/SerialDate.h"
#include "sheet/SheetLimits.h"

#include <freexl.h>

#include <cstring>
#include <functional>
#include <utility>

namespace qv::sheet {
namespace {

// What the child sends back: a status byte (0, or a SheetErrorKind + 1 and a detail text), then
// the answer. Cells are (row, column, kind, value) with the kind 1 for a number and 2 for a text.
constexpr uint8_t kNumber = 1;
constexpr uint8_t kText = 2;
constexpr size_t kMaxAnswerBytes = kMaxBlockTextBytes + 32 * kMaxBlockCells;

// The child's side of the answer, in the form above.
class AnswerWriter {
public:
    explicit AnswerWriter(IsolatedOutput& out) : m_out(out) {}
    void bytes(const void* data, size_t size) { m_out.write(data, size); }
    void u8(uint8_t value) { bytes(&value, 1); }
    void u32(uint32_t value) { bytes(&value, 4); }
    void text(const std::string& value) {
        u32(static_cast<uint32_t>(value.size()));
        bytes(value.data(), value.size());
    }
    void fail(SheetErrorKind kind, const std::string& detail) {
        u8(static_cast<uint8_t>(static_cast<int>(kind) + 1));
        text(detail);
    }

private:
    IsolatedOutput& m_out;
};

class AnswerReader {
public:
    explicit AnswerReader(const std::string& bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_at == m_bytes.size(); }
    bool bytes(void* out, size_t size) {
        if (m_bytes.size() - m_at < size)
            return false;
        std::memcpy(out, m_bytes.data() + m_at, size);
        m_at += size;
        return true;
    }
    bool u8(uint8_t& value) { return bytes(&value, 1); }
    bool u32(uint32_t& value) { return bytes(&value, 4); }
    bool text(std::string& value) {
        uint32_t size = 0;
        if (!u32(size) || m_bytes.size() - m_at < size)
            return false;
        value.assign(m_bytes, m_at, size);
        m_at += size;
        return true;
    }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

SheetErrorKind kindOfFreexlError(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return SheetErrorKind::FileNotFound;
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return SheetErrorKind::NotSpreadsheet;
    case FREEXL_INSUFFICIENT_MEMORY:
        return SheetErrorKind::LimitExceeded;
    case FREEXL_UNSUPPORTED_CHARSET:
        return SheetErrorKind::Unsupported;
    default:
        return SheetErrorKind::Corrupt;
    }
}

// Opens `path` with libfreexl in this (child) process; reports failures itself.
const void* openWorkbook(const std::string& path, AnswerWriter& out) {
    const void* handle = nullptr;
    const int opened = freexl_open(path.c_str(), &handle);
    if (opened != FREEXL_OK) {
        out.fail(kindOfFreexlError(opened),
                 "the .xls reader refused the file (code " + std::to_string(opened) + ")");
        if (handle)
            freexl_close(handle);
        return nullptr;
    }
    unsigned int password = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password != FREEXL_BIFF_PLAIN) {
        out.fail(SheetErrorKind::Encrypted, "the .xls workbook is protected by a password");
        freexl_close(handle);
        return nullptr;
    }
    return handle;
}

void answerNames(const std::string& path, AnswerWriter& out) {
    const void* handle = openWorkbook(path, out);
    if (!handle)
        return;
    unsigned int count = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    out.u8(0);
    out.u32(count);
    for (unsigned int i = 0; i < count; ++i) {
        const char* name = nullptr;
        freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &name);
        out.text(name ? name : "");
    }
    freexl_close(handle);
}

// Opens `path` and selects worksheet `index`; its dimensions in `rows` and `columns`. Reports
// failures itself.
const void* openWorksheet(const std::string& path, size_t index, unsigned int& rows,
                          unsigned short& columns, AnswerWriter& out) {
    const void* handle = openWorkbook(path, out);
    if (!handle)
        return nullptr;
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
        out.fail(SheetErrorKind::BadArgument, "no worksheet " + std::to_string(index + 1));
        freexl_close(handle);
        return nullptr;
    }
    return handle;
}

void answerBlock(const std::string& path, size_t index, const CellArea& area, AnswerWriter& out) {
    unsigned int rows = 0;
    unsigned short columns = 0;
    const void* handle = openWorksheet(path, index, rows, columns, out);
    if (!handle)
        return;
    unsigned int dateMode = 0;
    freexl_get_info(handle, FREEXL_BIFF_DATEMODE, &dateMode);
    out.u8(0);
    const uint32_t lastRow = std::min<uint32_t>(area.last.row, rows);
    const uint32_t lastColumn = std::min<uint32_t>(area.last.column, columns);
    for (uint32_t row = area.first.row; row <= lastRow; ++row) {
        for (uint32_t column = area.first.column; column <= lastColumn; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, row - 1, static_cast<unsigned short>(column - 1),
                                      &cell) != FREEXL_OK)
                continue;
            double number = 0;
            std::string text;
            uint8_t kind = kNumber;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                number = cell.value.int_value;
                break;
            case FREEXL_CELL_DOUBLE:
                number = cell.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                kind = kText;
                text = cell.value.text_value ? cell.value.text_value : "";
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: {
                const char* stored = cell.value.text_value ? cell.value.text_value : "";
                const auto serial =
                    serialFromIsoText(stored, dateMode == FREEXL_BIFF_DATEMODE_1904);
                if (serial)
                    number = *serial;
                else
                    kind = kText, text = stored;
                break;
            }
            default:
                continue;
            }
            out.u32(row - area.first.row);
            out.u32(column - area.first.column);
            out.u8(kind);
            if (kind == kNumber)
                out.bytes(&number, sizeof number);
            else
                out.text(text);
        }
    }
    freexl_close(handle);
}

// The answer: 0, or 1 and the cell's row and column.
void answerLastValue(const std::string& path, size_t index, const CellArea& area,
                     AnswerWriter& out) {
    unsigned int rows = 0;
    unsigned short columns = 0;
    const void* handle = openWorksheet(path, index, rows, columns, out);
    if (!handle)
        return;
    out.u8(0);
    const uint32_t lastColumn = std::min<uint32_t>(area.last.column, columns);
    for (uint32_t row = std::min<uint32_t>(area.last.row, rows); row >= area.first.row; --row) {
        for (uint32_t column = lastColumn; column >= area.first.column; --column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, row - 1, static_cast<unsigned short>(column - 1),
                                      &cell) == FREEXL_OK &&
                cell.type != FREEXL_CELL_NULL) {
                out.u8(1);
                out.u32(row);
                out.u32(column);
                freexl_close(handle);
                return;
            }
        }
    }
    out.u8(0);
    freexl_close(handle);
}

// What every answer that breaks off says: the child ended in the middle of it.
SheetError readerStopped() {
    return sheetError(SheetErrorKind::Corrupt, "the .xls reader stopped on this file");
}

// Runs `work` in a child process and returns what it wrote, or why there is nothing.
SheetResult<std::string> runInChild(const std::function<void(AnswerWriter&)>& work) {
    IsolatedResult result = runIsolated(
        [&](IsolatedOutput& output) {
            AnswerWriter out(output);
            work(out);
        },
        {kXlsReaderTime, kXlsReaderMemory, kMaxAnswerBytes});
    switch (result.end) {
    case IsolatedEnd::Answered:
        return std::move(result.answer);
    case IsolatedEnd::NotStarted:
        return sheetError(SheetErrorKind::LimitExceeded, "no process for the .xls reader");
    case IsolatedEnd::TookTooLong:
        return sheetError(SheetErrorKind::LimitExceeded, "reading the .xls file took too long");
    case IsolatedEnd::AnswerTooLarge:
        return sheetError(SheetErrorKind::LimitExceeded, "the .xls block is too large");
    case IsolatedEnd::Stopped:
        break;
    }
    return readerStopped();
}

// The status byte at the start of an answer.
SheetStatus answerStatus(AnswerReader& in) {
    uint8_t status = 0;
    if (!in.u8(status))
        return readerStopped();
    if (status == 0)
        return {};
    std::string detail;
    in.text(detail);
    const int kind = std::min<int>(status - 1, static_cast<int>(SheetErrorKind::WriteFailed));
    return sheetError(static_cast<SheetErrorKind>(kind), detail);
}

// Asks a child: runs `work` there, and when its answer begins with success, has `read` take the
// rest of it. Every question to the child goes this way.
template <class T>
SheetResult<T> askChild(const std::function<void(AnswerWriter&)>& work,
                        const std::function<SheetResult<T>(AnswerReader&)>& read) {
    const auto answer = runInChild(work);
    if (!answer)
        return answer.error();
    AnswerReader in(answer.value());
    const SheetStatus status = answerStatus(in);
    if (!status)
        return status.error();
    return read(in);
}

} // namespace

SheetResult<std::vector<std::string>> readXlsWorksheetNames(const std::string& path) {
    return askChild<std::vector<std::string>>(
        [&](AnswerWriter& out) { answerNames(path, out); },
        [](AnswerReader& in) -> SheetResult<std::vector<std::string>> {
            uint32_t count = 0;
            std::vector<std::string> names;
            if (!in.u32(count))
                return readerStopped();
            for (uint32_t i = 0; i < count; ++i)
                if (!in.text(names.emplace_back()))
                    return readerStopped();
            if (names.empty())
                return sheetError(SheetErrorKind::Corrupt, "a workbook without worksheets");
            return names;
        });
}

SheetResult<CellGrid> readXlsBlock(const std::string& path, size_t index, const CellArea& area) {
    if (area.cellCount() > kMaxBlockCells)
        return sheetError(SheetErrorKind::LimitExceeded,
                          "block " + areaName(area) + " holds more cells than a read may return");
    return askChild<CellGrid>([&](AnswerWriter& out) { answerBlock(path, index, area, out); },
                              [&](AnswerReader& in) -> SheetResult<CellGrid> {
                                  CellGrid grid(area.rows(), area.columns());
                                  size_t textBytes = 0;
                                  while (!in.atEnd()) {
                                      uint32_t row = 0;
                                      uint32_t column = 0;
                                      uint8_t kind = 0;
                                      if (!in.u32(row) || !in.u32(column) || !in.u8(kind) ||
                                          row >= grid.rows() || column >= grid.columns())
                                          return readerStopped();
                                      if (kind == kNumber) {
                                          double number = 0;
                                          if (!in.bytes(&number, sizeof number))
                                              return readerStopped();
                                          grid.at(row, column) = number;
                                          continue;
                                      }
                                      std::string text;
                                      if (!in.text(text))
                                          return readerStopped();
                                      textBytes += text.size();
                                      if (textBytes > kMaxBlockTextBytes)
                                          return sheetError(
                                              SheetErrorKind::LimitExceeded,
                                              "the block holds more text than a read may return");
                                      grid.at(row, column) = std::move(text);
                                  }
                                  return grid;
                              });
}

SheetResult<std::optional<CellAddress>> findXlsLastValue(const std::string& path, size_t index,
                                                         const CellArea& area) {
    return askChild<std::optional<CellAddress>>(
        [&](AnswerWriter& out) { answerLastValue(path, index, area, out); },
        [](AnswerReader& in) -> SheetResult<std::optional<CellAddress>> {
            uint8_t found = 0;
            CellAddress at;
            if (!in.u8(found) || (found && (!in.u32(at.row) || !in.u32(at.column))))
                return readerStopped();
            return found ? std::optional<CellAddress>(at) : std::nullopt;
        });
}

} // namespace qv::sheet
