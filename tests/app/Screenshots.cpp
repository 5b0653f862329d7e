// Renders the main window offscreen on the logon page and on the product summary page (logged
// on to the simulated appliance) to PNG files:
//   qv_screenshots OUTPUT_DIR en|ko [--every-page]
// writes OUTPUT_DIR/logon-<lang>.png and OUTPUT_DIR/summary-<lang>.png; with --every-page also
// page<N>-<lang>.png for every page (N = 2..11), for checking layouts.

#include "AppTestSupport.h"
#include "InterfaceFont.h"
#include "Requests.h"
#include "SimServer.h"
#include "SimState.h"
#include "network/CInfoDlg.h"

#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>

int main(int argc, char** argv) {
    const bool everyPage = argc == 4 && std::strcmp(argv[3], "--every-page") == 0;
    if ((argc != 3 && !everyPage) ||
        (std::strcmp(argv[2], "en") != 0 && std::strcmp(argv[2], "ko") != 0)) {
        std::fprintf(stderr, "usage: qv_screenshots OUTPUT_DIR en|ko [--every-page]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString lang = QString::fromLatin1(argv[2]);
    const char* locale = lang == QLatin1String("ko") ? "ko_KR.UTF-8" : "en_US.UTF-8";
    setenv("LC_ALL", locale, 1);
    setenv("LANG", locale, 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
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
        const auto save = [&](const QString& name, QWidget* widget = nullptr) {
            const QString path =
                QDir(outDir).filePath(name + QLatin1Char('-') + lang + QStringLiteral(".png"));
            if (!(widget ? widget : w.window.get())->grab().save(path)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                status = 1;
            } else {
                std::printf("%s\n", qPrintable(path));
            }
        };
        save(QStringLiteral("logon"));
        w.clickLogin();
        if (!qvtest::waitUntil([&] {
                return w.store.PageIndex == 1 && w.window->infoPage()->record().has_value();
            })) {
            std::fprintf(stderr, "the simulated appliance did not answer the logon\n");
            status = 1;
        } else {
            qvtest::settle();
            save(QStringLiteral("summary"));
            if (everyPage) {
                // Pages are opened the way a user opens them, through their links, so they show
                // what the appliance sends; the blacklist link is hidden and opened directly.
                const std::map<int, int> links{{2, 1002}, {3, 1001}, {4, 1003},
                                               {5, 1004}, {6, 1005}, {7, 1006},
                                               {8, 1007}, {9, 1011}, {11, 1010}};
                for (int page = 2; page <= 11; ++page) {
                    if (const auto link = links.find(page); link != links.end()) {
                        w.clickLink(link->second);
                    } else {
                        // As after a cleared blacklist: the page is shown and its list read.
                        w.store.PageIndex = page;
                        w.window->ShowPage(static_cast<Page>(page));
                        w.store.send(qv::request::readBlacklist());
                    }
                    qvtest::settle(std::chrono::milliseconds(500));
                    save(QStringLiteral("page%1").arg(page),
                         page == 11 ? w.window->page(Page::IoSchedule) : nullptr);
                }
            }
        }
    }
    server.stop();
    serving.join();
    return status;
}
