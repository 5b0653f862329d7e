#pragma once

// The IO schedule window's spreadsheet exchange, built as a module of its own that the window
// loads the first time To Excel File or From Excel File is clicked: the spreadsheet libraries
// (and what they pull in) stay out of a window that never reads or writes such a file.
//
// The window and the module are built together by the same compiler from the same sources, so
// the entry hands over C++ references; only the entry's name is a plain C symbol, found with
// QLibrary::resolve().

#include <QString>

#include <functional>

namespace qv {
class CGlobalData;
class Prompt;
} // namespace qv

namespace qv::sheetexchange {

// What the module works on: the window's store and message service, and the window's own
// steps it calls back.
struct Context {
    CGlobalData& store;
    Prompt& prompt;
    // Where the last spreadsheet file was saved or opened; the module updates it.
    QString& folder;
    // Hands a saved file to the desktop's spreadsheet program.
    std::function<bool(const QString& path)> openInDesktop;
    // The timetable in the store was replaced by an import.
    std::function<void()> tableEdited;
};

// Raised whenever Entry or Context change, so that a module left from another build is refused
// rather than called with the wrong layout.
inline constexpr int kVersion = 1;

struct Entry {
    int version;
    void (*exportSchedules)(Context& context);
    void (*importSchedules)(Context& context);
};

using EntryFunction = const Entry* (*)();

} // namespace qv::sheetexchange

// The module's one exported symbol, extern "C" so that its name is not mangled.
#define QV_SHEET_EXCHANGE_ENTRY "qvSheetExchangeEntry"
// The module's file name without the platform's prefix and suffix.
#define QV_SHEET_EXCHANGE_MODULE "qvsetting-sheet"
