// qvctl backup and restore against qvsim over loopback: a backup taken from one appliance and
// restored onto another leaves the second holding the first's tables byte for byte; a table
// that does not fit refuses the whole restore before anything is written; a lost link names
// what was written and what was not.

#include "link/Frame.h"
#include "sim/SimHandler.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "core/backup/BackupViews.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using qv::sim::SimState;
using qvtest::QvctlResult;
using namespace std::chrono_literals;

// The demonstration appliance with bytes the client never interprets set everywhere they can
// be: reserved record bytes, the center IDs' last byte, slots past the counts, the firewall's
// lead and trailing bytes.
std::unique_ptr<SimState> markedState() {
    auto s = qv::sim::seededState();
    s->record.bytes[1] = 0xA5, s->record.bytes[240] = 0x5A, s->record.bytes[241] = 0x77;
    s->record.setIpAddress({192, 168, 10, 77});
    for (size_t i = 0; i < qv::CenterIdTable::kSlots; ++i)
        s->centerIds.bytes[i * qv::CenterIdEntry::kSize + 129] = static_cast<uint8_t>(0x40 + i);
    s->wol.bytes[qv::WolTable::kSize - 1] = 0x3C;
    s->blockIps.bytes[1] = 0x52, s->blockIps.bytes[qv::BlockIpTable::kSize - 1] = 0xEE;
    s->schedule.bytes[qv::ScheduleTable::kSize - 1] = 0x99;
    s->autoUpdate = qv::result::kAutoUpdateOff;
    return s;
}

// Another appliance: the demonstration tables, shortened.
std::unique_ptr<SimState> otherState(int32_t maxCenterIds = 20) {
    auto s = qv::sim::seededState();
    s->centerIdCount = 2, s->wolCount = 1, s->blockIpCount = 0, s->scheduleCount = 3;
    s->maxCenterIds = maxCenterIds;
    return s;
}

QvctlResult qvctl(const std::string& server, std::vector<std::string> args) {
    args.insert(args.begin(), {"--server", server});
    return qvtest::runQvctl(args);
}

class BackupCommand : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    // A backup of `state`, taken by qvctl from qvsim serving it.
    std::string backupOf(std::unique_ptr<SimState> state) {
        qv::simtest::RunningSim source({}, std::move(state));
        const QvctlResult r = qvctl(source.address(), {"backup", file});
        EXPECT_EQ(r.status, 0) << r.err;
        return file;
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qvctl-backup-" + std::to_string(::getpid()));
    const std::string file = (dir / "appliance.json").string();
};

TEST_F(BackupCommand, RestoresEveryTableByteForByteOntoAnotherAppliance) {
    const SimState source = *markedState();
    backupOf(markedState());
    // Only its owner may read it (Windows has no file modes: it takes its folder's rights).
    if (const auto mode = qvtest::posixFileMode(file)) {
        EXPECT_EQ(*mode, 0600u);
    }

    qv::simtest::RunningSim target({}, otherState());
    QvctlResult r = qvctl(target.address(), {"restore", file, "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.out.find(
            "Restored: Center IDs, Wake-on-LAN, Block IP list, IO schedule, Automatic update."),
        std::string::npos)
        << r.out;
    const SimState after = target.server().snapshot();
    EXPECT_EQ(after.centerIdCount, source.centerIdCount);
    EXPECT_EQ(after.centerIds, source.centerIds);
    EXPECT_EQ(after.wolCount, source.wolCount);
    EXPECT_EQ(after.wol, source.wol);
    EXPECT_EQ(after.blockIpCount, source.blockIpCount);
    EXPECT_EQ(after.blockIps, source.blockIps);
    EXPECT_EQ(after.scheduleCount, source.scheduleCount);
    EXPECT_EQ(after.schedule, source.schedule);
    EXPECT_EQ(after.autoUpdate, source.autoUpdate);
    EXPECT_NE(after.record, source.record) << "network settings restored without --only";

    r = qvctl(target.address(), {"restore", file, "--dry-run"});
    EXPECT_NE(r.out.find("Center IDs: unchanged"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("--only network"), std::string::npos) << r.out;

    // The network settings, named: the preview warns that the address changes, then Save &
    // Reboot gives the target the source's address.
    r = qvctl(target.address(), {"restore", file, "--only", "network", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("IP Address: 192.168.10.20 -> 192.168.10.77"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("answers at 192.168.10.77"), std::string::npos) << r.out;
    for (int i = 0; i < 100 && target.server().snapshot().record.ipAddress()[3] != 77; ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(target.server().snapshot().record.ipAddress(), source.record.ipAddress());
}

// The dry run's JSON tells a change field by field, in the window's language, and deleting one
// Wake-on-LAN target is one removal, not the rows below it changed.
TEST_F(BackupCommand, DryRunJsonTellsChangesByField) {
    auto source = qv::sim::seededState();
    qv::CenterIdEntry first = source->centerIds.entry(0);
    first.setFileTransferProhibited(!first.fileTransferProhibited());
    source->centerIds.setEntry(0, first);
    backupOf(std::move(source));
    auto state = qv::sim::seededState();
    state->wol.setEntry(static_cast<size_t>(state->wolCount), state->wol.entry(0));
    ++state->wolCount; // the backup lacks this last target
    qv::simtest::RunningSim target({}, std::move(state));

    const std::map<std::string, std::optional<std::string>> korean{{"LANG", "ko_KR.UTF-8"}};
    QvctlResult r = qvtest::runQvctl(
        {"--server", target.address(), "--json", "restore", file, "--dry-run"}, korean);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = qv::backup::Json::parse(r.out);
    const auto& ids = json["tables"][0];
    EXPECT_EQ(ids["title"], "센터 ID");
    ASSERT_EQ(ids["changed"].size(), 1u) << r.out;
    EXPECT_EQ(ids["changed"][0]["fields"][0]["column"], "파일전송");
    const auto& wol = json["tables"][1];
    EXPECT_EQ(wol["removed"].size(), 1u) << r.out;
    EXPECT_EQ(wol["changed"].size() + wol["moved"].size() + wol["added"].size(), 0u) << r.out;

    // The JSON is the preview alone: without --dry-run it is refused, nothing written.
    r = qvtest::runQvctl({"--server", target.address(), "--json", "restore", file});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(target.server().snapshot().wolCount, qv::sim::seededState()->wolCount + 1);
}

TEST_F(BackupCommand, ATableOverTheTargetsLimitRefusesTheWholeRestore) {
    backupOf(markedState());
    qv::simtest::RunningSim target({}, otherState(3));
    const SimState before = target.server().snapshot();
    const QvctlResult r = qvctl(target.address(), {"restore", file, "--yes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("this appliance takes at most 3"), std::string::npos) << r.err;
    EXPECT_EQ(target.server().snapshot(), before);
}

TEST_F(BackupCommand, ALinkLostMidRestoreSaysWhatWasWritten) {
    backupOf(markedState());
    SimState state = *otherState();
    qv::sim::Session session;
    qvtest::ScriptedAppliance* appliance = nullptr;
    qvtest::ScriptedAppliance dropping([&](const qv::Frame& request) {
        if (request.cmd == qv::CMD_SET_WOL_MSG) {
            appliance->closeClient();
            return std::vector<qv::Frame>{};
        }
        return qv::sim::handleRequest(state, session, request, {}).replies;
    });
    appliance = &dropping;
    const QvctlResult r = qvctl(dropping.address(), {"restore", file, "--yes"});
    EXPECT_EQ(r.status, 5);
    EXPECT_EQ(state.centerIds, markedState()->centerIds);
    EXPECT_NE(
        r.err.find("Written: Center IDs. Not written: Wake-on-LAN, Block IP list, IO schedule, "
                   "Automatic update."),
        std::string::npos)
        << r.err;
}

// The question reads its answer from standard input; its end (the null device) is No.
TEST_F(BackupCommand, WithoutYesTheEndOfInputIsNoAndNothingIsWritten) {
    backupOf(markedState());
    qv::simtest::RunningSim target({}, otherState());
    const SimState before = target.server().snapshot();
    const QvctlResult r = qvctl(target.address(), {"restore", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Nothing was restored."), std::string::npos) << r.out;
    EXPECT_EQ(target.server().snapshot(), before);
}

} // namespace
