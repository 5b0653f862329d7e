// Renders every page of the main window, and the IO schedule window, offscreen to PNG files,
// logged on to an in-process simulated appliance:
//   qv_screenshots OUTPUT_DIR en|ko
// writes OUTPUT_DIR/<page>-<lang>.png, or <page>-<lang>@2x.png when QT_SCALE_FACTOR is 2
// (scripts/screenshots.sh renders both scales). Pages are taken from the Page enumeration, so a
// page added there is rendered too.

#include "link/Requests.h"
#include "pages/FallbackHinting.h"
#include "pages/InterfaceFont.h"
#include "pages/SampledFrameStyle.h"
#include "pages/network/CInfoDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/schedule/WeekPanel.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"
#include "tests/app/AppTestSupport.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// The file name of a page's picture.
QString pageSlug(Page page) {
    switch (page) {
    case Page::Logon:
        return QStringLiteral("logon");
    case Page::Summary:
        return QStringLiteral("summary");
    case Page::Admin:
        return QStringLiteral("admin");
    case Page::CenterIds:
        return QStringLiteral("centerids");
    case Page::Wol:
        return QStringLiteral("wol");
    case Page::Network:
        return QStringLiteral("network");
    case Page::Update:
        return QStringLiteral("update");
    case Page::Logo:
        return QStringLiteral("logo");
    case Page::ActiveX:
        return QStringLiteral("activex");
    case Page::WebPage:
        return QStringLiteral("webpage");
    case Page::Blacklist:
        return QStringLiteral("blacklist");
    case Page::IoSchedule:
        return QStringLiteral("ioschedule");
    }
    return QStringLiteral("page%1").arg(pageIndex(page));
}

// The link that opens `page`, as a user opens it (so the page shows what the appliance sends);
// 0 for a page without a visible link.
int linkTo(Page page) {
    switch (page) {
    case Page::Summary:
        return CQVSettingDlg::kLinkSummary;
    case Page::Admin:
        return CQVSettingDlg::kLinkAdmin;
    case Page::CenterIds:
        return CQVSettingDlg::kLinkCenterIds;
    case Page::Wol:
        return CQVSettingDlg::kLinkWol;
    case Page::Network:
        return CQVSettingDlg::kLinkNetwork;
    case Page::Update:
        return CQVSettingDlg::kLinkUpdate;
    case Page::Logo:
        return CQVSettingDlg::kLinkLogo;
    case Page::ActiveX:
        return CQVSettingDlg::kLinkActiveX;
    case Page::WebPage:
        return CQVSettingDlg::kLinkWebPage;
    case Page::IoSchedule:
        return CQVSettingDlg::kLinkIoSchedule;
    case Page::Blacklist:
        return CQVSettingDlg::kLinkBlacklist;
    default:
        return 0;
    }
}

// Screenshots are committed: kept as 8-bit palettes (a page has few colours) at the strongest
// compression.
bool savePicture(QWidget* widget, const QString& path) {
    const QImage image = widget->grab().toImage().convertToFormat(
        QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    return image.save(path, "PNG", 0);
}

// Selects the first IO device whose week grid and next switching events have something to
// show, so that the picture shows the window at work.
void showBusyDevice(QWidget* window) {
    auto* devices = qv::findControl<QTableView>(window, CIoschDlg::kIoDevices);
    auto* week = window->findChild<WeekPanel*>();
    if (!devices || !week)
        return;
    for (int row = 0; row < devices->model()->rowCount(); ++row) {
        devices->selectRow(row);
        qvtest::settle(std::chrono::milliseconds(50));
        if (!week->nextEvents().empty())
            break;
    }
    devices->scrollTo(devices->currentIndex());
    qvtest::settle(std::chrono::milliseconds(300));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[2], "en") != 0 && std::strcmp(argv[2], "ko") != 0)) {
        std::fprintf(stderr, "usage: qv_screenshots OUTPUT_DIR en|ko\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString lang = QString::fromLatin1(argv[2]);
    const char* locale = lang == QLatin1String("ko") ? "ko_KR.UTF-8" : "en_US.UTF-8";
    setenv("LC_ALL", locale, 1);
    setenv("LANG", locale, 1);
    // The demonstration appliance keeps its Korean center ID name in code page 949, as a Korean
    // appliance does; both languages read it so.
    setenv("QVSETTING_CODEPAGE", "949", 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The fonts and style as the program sets them up.
    qv::prepareFallbackHinting();
    QApplication app(argc, argv);
    app.setStyle(new qv::SampledFrameStyle(app.style()));
    qv::applyInterfaceFont(app);

    qv::sim::ServerOptions options;
    options.port = 0;
    qv::sim::SimServer server(options, qv::sim::seededState());
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "qvsim could not start: %s\n", error.c_str());
        return 1;
    }
    std::thread serving([&] { server.run(); });

    int status = 0;
    {
        qvtest::Window w(QStringLiteral("127.0.0.1:%1").arg(server.port()));
        w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
        qvtest::settle();
        QDir().mkpath(outDir);
        const QString suffix =
            qgetenv("QT_SCALE_FACTOR") == "2" ? QStringLiteral("@2x") : QString();
        const auto save = [&](Page page, QWidget* widget) {
            const QString path = QDir(outDir).filePath(pageSlug(page) + QLatin1Char('-') + lang +
                                                       suffix + QStringLiteral(".png"));
            if (!savePicture(widget, path)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                status = 1;
            } else {
                std::printf("%s\n", qPrintable(path));
            }
        };
        save(Page::Logon, w.window.get());
        w.clickLogin();
        if (!qvtest::waitUntil([&] {
                return w.store.PageIndex == 1 &&
                       qvtest::summaryPage(*w.window)->record().has_value();
            })) {
            std::fprintf(stderr, "the simulated appliance did not answer the logon\n");
            status = 1;
        } else {
            qvtest::settle();
            save(Page::Summary, w.window.get());
            for (int index = pageIndex(Page::Summary) + 1; index < kPageCount; ++index) {
                const auto page = static_cast<Page>(index);
                const int link = linkTo(page);
                if (link && w.control<QWidget>(link)->isVisible()) {
                    // Opened by its link, which shows as the current one.
                    w.clickLink(link);
                } else {
                    // A link the appliance left hidden: as after a cleared blacklist, the page
                    // is shown and its list read.
                    w.store.PageIndex = index;
                    w.window->ShowPage(page);
                    if (page == Page::Blacklist)
                        w.store.send(qv::request::readBlacklist());
                }
                qvtest::settle(std::chrono::milliseconds(500));
                if (page == Page::IoSchedule)
                    showBusyDevice(w.window->page(page));
                save(page, page == Page::IoSchedule ? static_cast<QWidget*>(w.window->page(page))
                                                    : w.window.get());
            }
        }
    }
    server.stop();
    serving.join();
    return status;
}
