#pragma once

// How much of a spreadsheet file the client is willing to take in. A timetable file is small:
// the schedule block is A1:H2040, 16320 cells of short texts and numbers, under 1 MiB of sheet
// XML. Files come from administrators' desks and mail, so anything far beyond that is refused
// with a clear error instead of being allowed to fill memory or stall the window.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace qv::sheet {

inline constexpr size_t kKiB = 1024;
inline constexpr size_t kMiB = 1024 * kKiB;

// Parts in one .xlsx package. Workbooks with many sheets, images and charts stay in the
// hundreds; the central directory of a file with more is not read.
inline constexpr int64_t kMaxZipEntries = 4096;

// Bytes one package part may inflate to. The sheet holding the timetable inflates to under
// 1 MiB and is read to its end, its row order checked; the shared-string table of a workbook
// with many other sheets can be larger. A zip bomb stops here, whatever the part's
// header declares.
inline constexpr uint64_t kMaxPartBytes = 32 * kMiB;

// Bytes all parts touched by one open or one read may inflate to together, so that a package of
// many parts each just under kMaxPartBytes is stopped as well: a sheet and a shared-string table
// may not both be near their cap.
inline constexpr uint64_t kMaxInflatedBytes = 48 * kMiB;

// The package's relationship parts and workbook.xml are parsed whole; they list parts and sheet
// names and stay in kilobytes even for workbooks with hundreds of sheets.
inline constexpr uint64_t kMaxSmallPartBytes = 4 * kMiB;

// Shared strings a cell may refer to. The table is read up to the last string the block uses;
// a workbook with a timetable among other sheets has thousands of distinct texts, not a million.
inline constexpr uint32_t kMaxSharedStrings = 1 << 20;

// One XML text, attribute value or tag. A cell holds at most 32767 characters; even written
// entirely as _xHHHH_ escapes (7 bytes each) that stays under 256 KiB.
inline constexpr size_t kMaxXmlTokenBytes = 256 * kKiB;
// Elements open at once and attributes on one element; sheet XML nests about six deep.
inline constexpr size_t kMaxXmlDepth = 64;
inline constexpr size_t kMaxXmlAttributes = 64;

// Cells one Value2 read may return, and the text they may hold together. The import reads
// A1:H2040 (16320 cells); a block of a million cells or 16 MiB of text is no timetable.
inline constexpr uint64_t kMaxBlockCells = 1 << 20;
inline constexpr size_t kMaxBlockTextBytes = 16 * kMiB;

// Characters a cell can hold in spreadsheet programs; a longer text is refused on Value2 put.
inline constexpr size_t kMaxCellTextChars = 32767;
// Cells a workbook built in memory may hold. The export writes 8 columns of at most 2048
// entries plus the notes and captions.
inline constexpr uint64_t kMaxModelCells = 1 << 20;

// .xls files are read by libfreexl in a child process (see XlsReader.cpp). A timetable .xls is
// tens of kilobytes; the child gets this much time and memory before it is stopped.
inline constexpr uint64_t kMaxXlsFileBytes = 32 * kMiB;
inline constexpr std::chrono::milliseconds kXlsReaderTime{1000};
inline constexpr uint64_t kXlsReaderMemory = 512 * kMiB;

} // namespace qv::sheet
