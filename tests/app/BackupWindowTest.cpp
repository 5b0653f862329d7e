// Backup... and Restore... of the window against qvsim in this process: the window's backup
// holds the same bytes as qvctl's and leaves the pages' tables alone, a restore writes only the
// tables ticked in its preview, and a link cut while writing says what was written and what
// was not.

#include "app/ConfigTransfer.h"
#include "app/RestorePreviewDlg.h"
#include "app/TransferProgressDlg.h"
#include "core/backup/BackupFile.h"
#include "pages/network/CInfoDlg.h"
#include "sim/SimHandler.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/WindowOnSim.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>

#include <filesystem>
#include <sys/stat.h>

namespace qvtest {
namespace {

namespace bk = qv::backup;
using qv::sim::SimState;
using Table = bk::Table;

// The demonstration appliance with shorter tables, automatic update off and another address;
// its block IP list is the demonstration one.
std::unique_ptr<SimState> changedState() {
    auto s = qv::sim::seededState();
    s->centerIdCount = 2, s->wolCount = 1, s->scheduleCount = 3;
    s->autoUpdate = qv::result::kAutoUpdateOff;
    s->record.setIpAddress({192, 168, 10, 99});
    return s;
}

QString messageText(const qv::Message& message) {
    return qv::fromUtf8(qv::format(message));
}

class BackupWindow : public WindowOnSim {
protected:
    BackupWindow() : WindowOnSim(changedState()) {}
    void SetUp() override {
        WindowOnSim::SetUp();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        WindowOnSim::TearDown();
        std::filesystem::remove_all(dir);
    }

    void triggerAction(int id) {
        for (QAction* action : window->actions())
            if (action->property(qv::kControlIdProperty).toInt() == id)
                return action->trigger();
        ADD_FAILURE() << "no action " << id;
    }
    bool transferEnds() {
        return waitUntil([&] { return !window->findChild<ConfigTransfer*>()->running(); });
    }
    // The preview of a restore begun with the summary page's Restore... on `file`.
    RestorePreviewDlg* restoreFrom(const std::string& file) {
        prompt.openAnswers.push_back(QString::fromStdString(file));
        click(summaryPage(*window), CInfoDlg::kRestore);
        RestorePreviewDlg* preview = nullptr;
        EXPECT_TRUE(waitUntil([&] {
            preview = window->findChild<RestorePreviewDlg*>();
            return preview != nullptr && preview->isVisible();
        }));
        return preview;
    }
    // Leaves ticked exactly `tables` of the preview, then presses OK.
    void tick(RestorePreviewDlg* preview, const std::vector<Table>& tables) {
        for (const Table table : bk::kAllTables) {
            QCheckBox* box = in<QCheckBox>(preview, RestorePreviewDlg::kFirstTable + int(table));
            const bool wanted = std::find(tables.begin(), tables.end(), table) != tables.end();
            if (box->isChecked() != wanted)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        }
        click(preview, RestorePreviewDlg::kOk);
    }
    // A qvctl backup of the seeded demonstration appliance.
    std::string seededBackup() {
        qv::simtest::RunningSim source;
        const std::string file = dir + "/seeded.json";
        EXPECT_EQ(runQvctl({"--server", source.address(), "backup", file}).status, 0);
        return file;
    }

    const std::string dir = ::testing::TempDir() + "backup-window-" +
                            std::to_string(QCoreApplication::applicationPid());
};

TEST_F(BackupWindow, TheMenuAndTheSummaryButtonWriteWhatQvctlWrites) {
    openWindow();
    ASSERT_TRUE(logOn());
    const std::string byMenu = dir + "/menu.json", byButton = dir + "/button.json";
    prompt.saveAnswers = {QString::fromStdString(byMenu), QString::fromStdString(byButton)};
    triggerAction(CQVSettingDlg::kBackupAction);
    ASSERT_TRUE(transferEnds());
    click(summaryPage(*window), CInfoDlg::kBackup);
    ASSERT_TRUE(transferEnds());
    const std::string byQvctl = dir + "/qvctl.json";
    ASSERT_EQ(runQvctl({"--server", sim.address(), "backup", byQvctl}).status, 0);

    const bk::ReadResult expected = bk::readBackupFile(byQvctl);
    ASSERT_TRUE(expected.ok());
    for (const std::string& path : {byMenu, byButton}) {
        const bk::ReadResult written = bk::readBackupFile(path);
        ASSERT_TRUE(written.ok()) << qv::format(written.error);
        const bk::Backup &a = *written.backup, &b = *expected.backup;
        EXPECT_EQ(a.summary, b.summary) << path;
        EXPECT_EQ(a.network, b.network) << path;
        EXPECT_EQ(std::tie(a.centerIdCount, a.wolCount, a.blockIpCount, a.scheduleCount,
                           a.ioDeviceCount, a.autoUpdate),
                  std::tie(b.centerIdCount, b.wolCount, b.blockIpCount, b.scheduleCount,
                           b.ioDeviceCount, b.autoUpdate))
            << path;
        EXPECT_TRUE(a.centerIds == b.centerIds && a.wol == b.wol && a.blockIps == b.blockIps &&
                    a.schedule == b.schedule && a.ioDevices == b.ioDevices)
            << path;
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600) << path;
        // Success reads as information, not as a warning.
        EXPECT_TRUE(prompt.informations().contains(
            qv::uiText(qv::StringId::BackupWritten).arg(QString::fromStdString(path))));
    }
    // The second chooser opens where the first backup went.
    std::vector<QString> offered;
    for (const ScriptedPrompt::Shown& shown : prompt.shown)
        if (shown.kind == ScriptedPrompt::Kind::SaveFile)
            offered.push_back(shown.defaultName);
    ASSERT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered[0].startsWith(QStringLiteral("qvsetting-backup-")))
        << offered[0].toStdString();
    EXPECT_EQ(QFileInfo(offered[1]).absolutePath(),
              QFileInfo(QString::fromStdString(byMenu)).absolutePath());
    // The answers went to the backup alone: the store (where the pages keep their edits) holds
    // no center ID table, and no page asked about edits.
    EXPECT_EQ(store.centerIdCount, 0);
    EXPECT_TRUE(prompt.questions().isEmpty());
}

TEST_F(BackupWindow, CancelWritesNoFileAndTheNextBackupIsWhole) {
    openWindow();
    ASSERT_TRUE(logOn());
    const std::string cancelled = dir + "/cancelled.json", next = dir + "/next.json";
    prompt.saveAnswers = {QString::fromStdString(cancelled), QString::fromStdString(next)};
    triggerAction(CQVSettingDlg::kBackupAction);
    // The first request is out; Cancel ends the backup before its answer comes.
    click(window.get(), TransferProgressDlg::kCancel);
    EXPECT_FALSE(window->findChild<ConfigTransfer*>()->running());
    EXPECT_TRUE(noticeShown(qv::uiText(qv::StringId::TransferCancelled) + QLatin1Char(' ') +
                            qv::uiText(qv::StringId::BackupNotWritten)));
    // A backup begun while the cancelled request's answer is still on its way is whole.
    triggerAction(CQVSettingDlg::kBackupAction);
    ASSERT_TRUE(transferEnds());
    EXPECT_FALSE(std::filesystem::exists(cancelled));
    const bk::ReadResult written = bk::readBackupFile(next);
    ASSERT_TRUE(written.ok()) << qv::format(written.error);
    EXPECT_EQ(written.backup->centerIdCount, simState().centerIdCount);
    EXPECT_EQ(written.backup->centerIds, simState().centerIds);
    EXPECT_EQ(written.backup->autoUpdate, simState().autoUpdate);
}

TEST_F(BackupWindow, ARestoreWritesOnlyTheTickedTables) {
    const std::string file = seededBackup();
    const std::unique_ptr<SimState> seeded = qv::sim::seededState();
    const SimState before = simState();
    openWindow();
    ASSERT_TRUE(logOn());
    RestorePreviewDlg* preview = restoreFrom(file);
    ASSERT_NE(preview, nullptr);
    // Changed tables start ticked, the network settings unticked, an unchanged table cannot
    // be ticked.
    const struct {
        Table table;
        bool enabled, checked;
    } offered[] = {
        {Table::CenterIds, true, true},  {Table::Wol, true, true},
        {Table::BlockIps, false, false}, {Table::Schedule, true, true},
        {Table::AutoUpdate, true, true}, {Table::Network, true, false},
    };
    for (const auto& row : offered) {
        QCheckBox* box = in<QCheckBox>(preview, RestorePreviewDlg::kFirstTable + int(row.table));
        EXPECT_EQ(box->isEnabled(), row.enabled) << bk::tableName(row.table);
        EXPECT_EQ(box->isChecked(), row.checked) << bk::tableName(row.table);
    }
    tick(preview, {Table::CenterIds, Table::AutoUpdate});
    ASSERT_TRUE(transferEnds());
    EXPECT_TRUE(prompt.informations().contains(
        messageText({qv::StringId::RestoreDone, {"Center IDs, Automatic update"}})))
        << prompt.notices().join(QLatin1Char('\n')).toStdString();

    const SimState after = simState();
    EXPECT_EQ(after.centerIdCount, seeded->centerIdCount);
    EXPECT_EQ(after.centerIds, seeded->centerIds);
    EXPECT_EQ(after.autoUpdate, seeded->autoUpdate);
    EXPECT_EQ(after.wolCount, before.wolCount);
    EXPECT_EQ(after.scheduleCount, before.scheduleCount);
    EXPECT_EQ(after.record, before.record);
}

// The file names the appliance it came from in words of its own choosing: the preview shows
// them as they are and draws nothing they say.
TEST_F(BackupWindow, TheFilesOwnTextsArePreviewedAsText) {
    const std::string file = seededBackup();
    bk::ReadResult read = bk::readBackupFile(file);
    ASSERT_TRUE(read.ok());
    read.backup->appliance = "<h1 style='color:red'>OFFICIAL BACKUP</h1><img src='x.png'>";
    ASSERT_FALSE(bk::writeBackupFile(*read.backup, file));
    openWindow();
    ASSERT_TRUE(logOn());
    RestorePreviewDlg* preview = restoreFrom(file);
    ASSERT_NE(preview, nullptr);
    int quoting = 0;
    for (const QLabel* label : preview->findChildren<QLabel*>())
        if (label->text().contains(QStringLiteral("<h1"))) {
            ++quoting;
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
    EXPECT_EQ(quoting, 1);
    click(preview, RestorePreviewDlg::kCancel);
    ASSERT_TRUE(transferEnds());
}

TEST_F(BackupWindow, NetworkSettingsGoLastAfterTheNetworkPagesQuestion) {
    const std::string file = seededBackup();
    const std::unique_ptr<SimState> seeded = qv::sim::seededState();
    openWindow();
    ASSERT_TRUE(logOn());
    RestorePreviewDlg* preview = restoreFrom(file);
    ASSERT_NE(preview, nullptr);
    prompt.answers.push_back(true);
    tick(preview, {Table::Network, Table::Wol});
    ASSERT_TRUE(transferEnds());
    // The appliance moves away from the address in use, so No is offered first.
    ASSERT_EQ(prompt.questions().size(), 1);
    const auto question = std::find_if(prompt.shown.begin(), prompt.shown.end(), [](auto& s) {
        return s.kind == ScriptedPrompt::Kind::Question;
    });
    EXPECT_EQ(question->preselected, qv::DefaultAnswer::No);
    EXPECT_TRUE(question->text.contains(QStringLiteral("192.168.10.20")))
        << question->text.toStdString();
    EXPECT_TRUE(
        noticeShown(messageText({qv::StringId::RestoreDone, {"Wake-on-LAN, Network settings"}}) +
                    QLatin1Char('\n') + qv::uiText(qv::StringId::NetworkSent)));
    // Wake-on-LAN went before Save & Reboot ended the link; the logon page waits for the
    // appliance to come back.
    EXPECT_EQ(simState().wolCount, seeded->wolCount);
    EXPECT_TRUE(
        waitUntil([&] { return simState().record.ipAddress() == seeded->record.ipAddress(); }));
    EXPECT_TRUE(waitUntil([&] { return store.PageIndex == pageIndex(Page::Logon); }));
}

TEST_F(BackupWindow, ALinkCutWhileWritingSaysWhatWasWritten) {
    const std::string file = seededBackup();
    SimState state = *changedState();
    qv::sim::Session session;
    ScriptedAppliance* appliance = nullptr;
    ScriptedAppliance dropping([&](const qv::Frame& request) {
        if (request.cmd == qv::CMD_SET_WOL_MSG) {
            appliance->closeClient();
            return std::vector<qv::Frame>{};
        }
        return qv::sim::handleRequest(state, session, request, {}).replies;
    });
    appliance = &dropping;
    window =
        std::make_unique<CQVSettingDlg>(store, prompt, QString::fromStdString(dropping.address()));
    window->show();
    ASSERT_TRUE(logOn());
    RestorePreviewDlg* preview = restoreFrom(file);
    ASSERT_NE(preview, nullptr);
    tick(preview, {Table::CenterIds, Table::Wol, Table::Schedule});
    ASSERT_TRUE(transferEnds());
    EXPECT_TRUE(noticeShown(
        qv::uiText(qv::StringId::TransferLinkLost) + QLatin1Char(' ') +
        messageText({qv::StringId::RestorePartial, {"Center IDs", "Wake-on-LAN, IO schedule"}})))
        << prompt.notices().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(state.centerIds, qv::sim::seededState()->centerIds);
    EXPECT_EQ(state.scheduleCount, 3);
}

} // namespace
} // namespace qvtest
