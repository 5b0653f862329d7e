#pragma once

// The outcome of every spreadsheet call: a value or an error the window can put into words. No
// call of the spreadsheet library lets an exception escape; what the file or the caller did
// wrong comes back as one of these.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace qv::sheet {

enum class SheetErrorKind {
    FileNotFound,   // no file at the path, or it cannot be opened for reading
    NotSpreadsheet, // neither an .xlsx package nor an .xls workbook
    Encrypted,      // protected by a password; the administrator must save it without one
    Corrupt,        // the file breaks its own format
    LimitExceeded,  // larger than anything a timetable needs (see SheetLimits.h)
    Unsupported,    // a valid file or call this backend does not handle
    BadArgument,    // a cell name, index or value the caller passed is not valid
    WriteFailed,    // the workbook could not be written
};

struct SheetError {
    SheetErrorKind kind;
    std::string detail; // what was wrong and where, for the administrator and the log

    bool operator==(const SheetError&) const = default;
};

// "corrupt", "limit exceeded", ...: the kind in words, for messages and test output.
const char* kindName(SheetErrorKind kind);
// The kind and the detail in one line.
std::string describe(const SheetError& error);

template <typename T> class SheetResult {
public:
    SheetResult(T value) : m_value(std::move(value)) {}
    SheetResult(SheetError error) : m_value(std::move(error)) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(m_value); }
    const T& value() const { return std::get<0>(m_value); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const SheetError& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, SheetError> m_value;
};

template <> class SheetResult<void> {
public:
    SheetResult() = default;
    SheetResult(SheetError error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const SheetError& error() const { return *m_error; }

private:
    std::optional<SheetError> m_error;
};

using SheetStatus = SheetResult<void>;

inline SheetError sheetError(SheetErrorKind kind, std::string detail) {
    return SheetError{kind, std::move(detail)};
}

} // namespace qv::sheet
