#include "CQVSettingApp.h"

#include "AppIcon.h"
#include "CGlobalData.h"
#include "CMyCommandLineInfo.h"
#include "CQVSettingDlg.h"
#include "DebugLog.h"
#include "Prompt.h"
#include "QtText.h"
#include "StringTable.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(qvLink, "qv.link", QtWarningMsg)

CQVSettingApp::CQVSettingApp(int& argc, char** argv)
    : QApplication(argc, argv), m_argc(argc), m_argv(argv) {
    setApplicationName(QStringLiteral("QVSetting"));
    setWindowIcon(QIcon(qv::appIconPath()));
    if (qv::systemLanguage() == qv::Language::Korean) {
        // Standard buttons read "예" and "아니요".
        m_qtTranslator = std::make_unique<QTranslator>();
        if (m_qtTranslator->load(QLocale(QLocale::Korean), QStringLiteral("qtbase"),
                                 QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            installTranslator(m_qtTranslator.get());
    }
    // Silent unless enabled, for example QT_LOGGING_RULES="qv.link.debug=true".
    qv::setDebugWriter([](std::string_view line) {
        qCDebug(qvLink, "%.*s", static_cast<int>(line.size()), line.data());
    });
}

CQVSettingApp::~CQVSettingApp() {
    qv::setDebugWriter({});
    // The store goes last; it closes the link if it is still up.
    qv::CGlobalData::Destroy();
}

int CQVSettingApp::run() {
    qv::CGlobalData& store = qv::CGlobalData::Get();
    // Qt has taken its own options (-platform, -style, ...) out of argv by now.
    const CMyCommandLineInfo commandLine = CMyCommandLineInfo::parse(m_argc, m_argv);
    qv::QtPrompt prompt;
    CQVSettingDlg window(store, prompt, qv::fromUtf8(commandLine.serverAddress()));
    prompt.setParent(&window);
    window.exec();
    return 0;
}
