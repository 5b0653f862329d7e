// The IO schedule window's To Excel File and From Excel File buttons with the spreadsheet files.
// The work is done by the spreadsheet exchange module (SheetExchangeModule.cpp), loaded on the
// first click, so that a window that never reads or writes such a file carries none of the
// spreadsheet libraries. A build without them takes CIoschDlgSheetAbsent.cpp instead; an
// installation whose module is missing says the same as that build does.
#include "pages/schedule/CIoschDlg.h"

#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/schedule/SheetExchange.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace exchange = qv::sheetexchange;

namespace {

// Where the module may be: beside the program, in the package's private folder next to the
// program's, and in the build tree the program was built in.
QStringList moduleCandidates() {
    const QString name = QStringLiteral(QV_SHEET_EXCHANGE_MODULE);
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList candidates{program.filePath(name),
                           program.filePath(QStringLiteral("../lib/qvsetting/") + name)};
#ifdef QV_SHEET_MODULE_BUILD_DIR
    candidates << QDir(QStringLiteral(QV_SHEET_MODULE_BUILD_DIR)).filePath(name);
#endif
    return candidates;
}

// The first of `candidates` that is a module of this build; nullptr when none is. A loaded
// module stays loaded for the rest of the process.
const exchange::Entry* loadModule(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        QLibrary library(candidate);
        if (!library.load())
            continue;
        const auto entry =
            reinterpret_cast<exchange::EntryFunction>(library.resolve(QV_SHEET_EXCHANGE_ENTRY));
        const exchange::Entry* found = entry ? entry() : nullptr;
        if (found && found->version == exchange::kVersion)
            return found;
        library.unload();
    }
    return nullptr;
}

// The module's entry, nullptr while it cannot be found (each click looks again).
// QVSETTING_SHEET_MODULE, when set, names the one file to load: an installation that keeps
// the module elsewhere.
const exchange::Entry* sheetExchange() {
    const QString named = qEnvironmentVariable("QVSETTING_SHEET_MODULE");
    if (!named.isEmpty())
        return loadModule({named});
    static const exchange::Entry* loaded = nullptr;
    if (!loaded)
        loaded = loadModule(moduleCandidates());
    return loaded;
}

} // namespace

void CIoschDlg::onExport() {
    const exchange::Entry* module = sheetExchange();
    if (!module)
        return prompt().notice(qv::uiText(qv::StringId::SheetButtonsNotInThisBuild));
    exchange::Context context{store(), prompt(), m_sheetFolder, m_openInDesktop, {}};
    module->exportSchedules(context);
}

void CIoschDlg::onImport() {
    const exchange::Entry* module = sheetExchange();
    if (!module)
        return prompt().notice(qv::uiText(qv::StringId::SheetButtonsNotInThisBuild));
    exchange::Context context{store(), prompt(), m_sheetFolder, m_openInDesktop,
                              [this] { tableEdited(); }};
    module->importSchedules(context);
}
