#include "app/CQVSettingApp.h"

#include "app/CMyCommandLineInfo.h"
#include "app/CQVSettingDlg.h"
#include "link/CGlobalData.h"
#include "link/DebugLog.h"
#include "pages/FallbackHinting.h"
#include "pages/InterfaceFont.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/SampledFrameStyle.h"
#include "res/AppIcon.h"
#include "res/StringTable.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>
#include <QtPlugin>

Q_LOGGING_CATEGORY(qvLink, "qv.link", QtWarningMsg)

// PNG images (the window icon, the style's own images) without loading every image plugin.
Q_IMPORT_PLUGIN(PngImagePlugin)

std::unique_ptr<QTranslator> loadQtTranslations(qv::Language language) {
    if (language != qv::Language::Korean)
        return nullptr;
    // Standard buttons read "예" and "아니요".
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Korean), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

namespace {

// What must be settled before Qt's font database is read: the fallback fonts' hinting, prepared
// while the application object is built and waited for at the end of its constructor.
std::future<void>& fontPreparation() {
    static std::future<void> preparation;
    return preparation;
}

int& beforeTheApplication(int& argc) {
    fontPreparation() = qv::prepareFallbackHintingAside();
    return argc;
}

} // namespace

CQVSettingApp::CQVSettingApp(int& argc, char** argv)
    : QApplication(beforeTheApplication(argc), argv), m_argc(argc), m_argv(argv) {
    setApplicationName(QStringLiteral("QVSetting"));
    setWindowIcon(QIcon(qv::appIconPath()));
    setStyle(new qv::SampledFrameStyle(style()));
    qv::applyInterfaceFont(*this);
    m_qtTranslator = loadQtTranslations(qv::systemLanguage());
    if (m_qtTranslator)
        installTranslator(m_qtTranslator.get());
    if (fontPreparation().valid())
        fontPreparation().get();
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
