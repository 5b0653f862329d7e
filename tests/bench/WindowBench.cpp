// QVSetting as scripts/bench-memory.sh measures it: the program's own application object and
// main window, started as the program starts them. Prints the time to the visible logon page
// from the moment the script started it (QV_BENCH_T0) and the resident memory there; given
// qvsim's address, it then logs on as admin, follows every navigation link the way an
// administrator clicks them, waits for each page's tables and prints the memory after all.

#include "app/CLogonDlg.h"
#include "app/CQVSettingApp.h"
#include "app/CQVSettingDlg.h"
#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/Prompt.h"
#include "tests/bench/BenchProcess.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <cstdio>
#include <string>

namespace {

void click(QWidget* root, int id) {
    if (auto* button = qv::findControl<QAbstractButton>(root, id))
        button->click();
}

// Follows every link; false when the appliance did not let the bench log on.
bool visitEveryPage(CQVSettingDlg& window, qv::CGlobalData& store, const QString& address) {
    CLogonDlg* logon = window.logonPage();
    qv::findControl<QLineEdit>(logon, CLogonDlg::kServerAddress)->setText(address);
    qv::findControl<QLineEdit>(logon, CLogonDlg::kAdminId)->setText(QStringLiteral("admin"));
    qv::findControl<QLineEdit>(logon, CLogonDlg::kPassword)->setText(QStringLiteral("admin"));
    click(logon, CLogonDlg::kLogin);
    if (!qvbench::waitUntil([&] { return store.PageIndex == 1 && store.ioScheduleEnabled; }))
        return false;
    using Id = CQVSettingDlg::ControlId;
    for (const int link :
         {Id::kLinkAdmin, Id::kLinkCenterIds, Id::kLinkWol, Id::kLinkNetwork, Id::kLinkUpdate,
          Id::kLinkLogo, Id::kLinkActiveX, Id::kLinkWebPage, Id::kLinkBlacklist}) {
        click(&window, link);
        qvbench::settle(300);
        qvbench::report(("link_" + std::to_string(link) + "_rss_kb").c_str(), qvbench::rssKb());
    }
    click(&window, Id::kLinkIoSchedule);
    // The full plant's tables are the largest replies; the lists fill after they arrive.
    qvbench::waitUntil([&] { return store.scheduleCount > 0 && store.ioDeviceCount > 0; });
    qvbench::settle(1000);
    qvbench::report("link_1010_rss_kb", qvbench::rssKb());
    // Back on the summary, as an administrator leaves the schedule window.
    click(&window, Id::kLinkSummary);
    qvbench::settle();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    CQVSettingApp app(argc, argv);
    const QString address = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    qv::CGlobalData& store = qv::CGlobalData::Get();
    qv::QtPrompt prompt;
    CQVSettingDlg window(store, prompt);
    prompt.setParent(&window);
    window.show();
    qvbench::waitUntil([&] { return qvbench::exposed(window) && window.logonPage()->isVisible(); });
    qvbench::report("visible_ms", qvbench::msSinceStart());
    if (qvbench::timeOnly())
        return 0;
    qvbench::settle();
    qvbench::report("logon_rss_kb", qvbench::rssKb());
    if (address.isEmpty())
        return 0;
    if (!visitEveryPage(window, store, address)) {
        std::fprintf(stderr, "could not log on to %s\n", qPrintable(address));
        return 1;
    }
    qvbench::report("visited_rss_kb", qvbench::rssKb());
    window.OnClose();
    return 0;
}
