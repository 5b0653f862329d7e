#include "sheet/SheetError.h"

namespace qv::sheet {

const char* kindName(SheetErrorKind kind) {
    switch (kind) {
    case SheetErrorKind::FileNotFound:
        return "file not found";
    case SheetErrorKind::NotSpreadsheet:
        return "not a spreadsheet";
    case SheetErrorKind::Encrypted:
        return "encrypted";
    case SheetErrorKind::Corrupt:
        return "corrupt";
    case SheetErrorKind::LimitExceeded:
        return "limit exceeded";
    case SheetErrorKind::Unsupported:
        return "unsupported";
    case SheetErrorKind::BadArgument:
        return "bad argument";
    case SheetErrorKind::WriteFailed:
        return "write failed";
    }
    return "unknown";
}

std::string describe(const SheetError& error) {
    return std::string(kindName(error.kind)) + ": " + error.detail;
}

} // namespace qv::sheet
