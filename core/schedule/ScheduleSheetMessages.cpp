#include "core/schedule/ScheduleSheetMessages.h"

#include "core/schedule/ScheduleRules.h"
#include "core/schedule/ScheduleSheetExport.h"

#include <array>

namespace qv::schedule {
namespace {

StringId kindText(sheet::SheetErrorKind kind) {
    switch (kind) {
    case sheet::SheetErrorKind::FileNotFound:
        return StringId::SheetFileNotFound;
    case sheet::SheetErrorKind::NotSpreadsheet:
        return StringId::SheetNotSpreadsheet;
    case sheet::SheetErrorKind::Encrypted:
        return StringId::SheetEncrypted;
    case sheet::SheetErrorKind::LimitExceeded:
        return StringId::SheetTooLarge;
    case sheet::SheetErrorKind::Unsupported:
        return StringId::SheetUnsupported;
    case sheet::SheetErrorKind::WriteFailed:
        return StringId::SheetWriteFailed;
    case sheet::SheetErrorKind::Corrupt:
    case sheet::SheetErrorKind::BadArgument:
        break;
    }
    return StringId::SheetCorrupt;
}

// The captions of the ranged fields, in RangedField's order.
constexpr std::array<StringId, kRangedFields> kFieldNames{
    StringId::ScheduleWeekday, StringId::ScheduleMonth,  StringId::ScheduleDate,
    StringId::ScheduleHour,    StringId::ScheduleMinute, StringId::ScheduleRelay};

} // namespace

std::string exportNotReadBackText(int32_t count, Language language) {
    const int32_t notReadBack = entriesNotReadBack(count);
    if (notReadBack == 0)
        return {};
    return format(Message{StringId::ExportNotReadBack,
                          {std::to_string(notReadBack), std::to_string(usedSchedules(count))}},
                  language);
}

std::string sheetErrorText(const sheet::SheetError& error, Language language) {
    std::string text(uiString(kindText(error.kind), language));
    if (!error.detail.empty())
        text += "\n(" + error.detail + ")";
    return text;
}

std::string importSummaryText(const ScheduleSheet& sheet, int32_t scheduleLimit,
                              Language language) {
    const auto line = [&](StringId id, auto value) {
        return format(Message{id, {std::to_string(value)}}, language) + "\n";
    };
    const ImportSummary& s = sheet.summary;
    std::string text = line(StringId::ImportTaken, sheet.entries.size());
    if (s.lastRowNotRead > 0)
        text += line(StringId::ImportRowsNotRead, s.lastRowNotRead);
    if (s.duplicates > 0)
        text += line(StringId::ImportSkippedDuplicates, s.duplicates);
    if (s.unknownFunctions > 0)
        text += line(StringId::ImportSkippedFunctions, s.unknownFunctions);
    if (s.notes > 0)
        text += line(StringId::ImportSkippedNotes, s.notes);
    if (s.outOfRangeTotal() > 0) {
        std::string fields;
        for (size_t i = 0; i < kFieldNames.size(); ++i)
            if (s.outOfRange[i] > 0)
                fields += (fields.empty() ? "" : ", ") +
                          std::string(uiString(kFieldNames[i], language)) + " " +
                          std::to_string(s.outOfRange[i]);
        text += format(Message{StringId::ImportOutOfRange, {fields}}, language) + "\n";
    }
    if (s.idsCut > 0)
        text += line(StringId::ImportIdsCut, s.idsCut);
    if (s.idsNotConvertible > 0)
        text += line(StringId::ImportIdsNotConvertible, s.idsNotConvertible);
    if (static_cast<int64_t>(sheet.entries.size()) > scheduleLimit)
        text += line(StringId::ImportOverLimit, scheduleLimit);
    return text;
}

} // namespace qv::schedule
