// The dispatcher: every reply of the appliance, and the end of the link, turns into its visible
// effect here. The table reads top to bottom; for one event the first row whose condition holds
// acts, and an event or value without a row changes nothing.

#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CQVSettingDlg.h"
#include "Catalogue.h"
#include "DebugLog.h"
#include "LinkEvent.h"
#include "NavLink.h"
#include "NetworkConfigRecord.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"
#include "ShellTexts.h"
#include "access/CBlacklistDlg.h"
#include "access/CCenteridDlg.h"
#include "network/CInfoDlg.h"
#include "network/CNetworkDlg.h"
#include "network/CWolDlg.h"
#include "schedule/CIoschDlg.h"
#include "upload/CUpdateDlg.h"

#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace {

// Fixed texts of the appliance's firewall replies; they are Korean in both languages.
const QString kBlockListChanged = QStringLiteral("Block Ip List 가 변경되었습니다.");
const QString kBlacklistCleared = QStringLiteral("Blacklist 목록이 클리어 되었습니다.");

// The value range a row applies to, both ends included.
struct When {
    int32_t low;
    int32_t high;
    bool holds(int32_t v) const { return v >= low && v <= high; }
};
constexpr When always{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
constexpr When is(int32_t v) {
    return {v, v};
}
constexpr When between(int32_t low, int32_t high) {
    return {low, high};
}

using Action = std::function<void(CQVSettingDlg&, const qv::LinkEvent&)>;

struct Row {
    qv::ReplyEvent event;
    When when;
    Action action;
};

Action message(int stringId) {
    return [stringId](CQVSettingDlg& w, const qv::LinkEvent&) { w.showMessage(stringId); };
}

const std::vector<Row>& dispatchTable() {
    using E = const qv::LinkEvent&;
    using W = CQVSettingDlg&;
    using R = qv::ReplyEvent;
    static const std::vector<Row> table{
        // Logon answer: 101..249 admits and carries the center ID limit plus 100.
        {R::LogonAnswered, between(101, 249), [](W w, E e) { w.logonAccepted(e.value); }},
        {R::LogonAnswered, always, [](W w, E) { w.logonRefused(); }},
        // Product summary record: limits, IO schedule link, summary page.
        {R::SummaryArrived, always, [](W w, E e) { w.summaryArrived(e); }},
        {R::AdminChangeAnswered, is(101), message(163)},
        {R::CenterIdsArrived, always,
         [](W w, E) { static_cast<CCenteridDlg*>(w.page(3))->refresh(); }},
        // Apply's answer: the center ID page learns whether its edits are now the appliance's.
        {R::CenterIdsApplied, always,
         [](W w, E e) {
             static_cast<CCenteridDlg*>(w.page(3))->applyResult(e.value);
             if (e.value == 101)
                 w.showMessage(164);
         }},
        {R::WolArrived, always, [](W w, E) { static_cast<CWolDlg*>(w.page(4))->refresh(); }},
        // Apply's answer: the Wake-on-LAN page learns whether its edits are now the appliance's.
        {R::WolApplied, always,
         [](W w, E e) {
             static_cast<CWolDlg*>(w.page(4))->applyResult(e.value);
             if (e.value == 101)
                 w.showMessage(165);
         }},
        {R::NetworkArrived, always,
         [](W w, E e) {
             qv::NetworkConfigRecord record;
             std::memcpy(record.data(), e.payload.data(),
                         std::min(e.payload.size(), record.size()));
             w.networkPage()->load(record);
         }},
        // DDNS ID check.
        {R::DdnsIdChecked, is(101), message(166)},
        {R::DdnsIdChecked, is(102), message(167)},
        {R::DdnsIdChecked, is(103), message(168)},
        {R::DdnsIdChecked, always, message(169)},
        // Product registration by MAC address.
        {R::MacRegistrationAnswered, is(101), message(170)},
        {R::MacRegistrationAnswered, is(401), message(171)},
        {R::MacRegistrationAnswered, always, message(172)},
        // DDNS registration.
        {R::DdnsRegistrationAnswered, is(101), message(173)},
        {R::DdnsRegistrationAnswered, is(401), message(174)},
        {R::DdnsRegistrationAnswered, is(402), message(175)},
        {R::DdnsRegistrationAnswered, is(403), message(176)},
        {R::DdnsRegistrationAnswered, always, message(177)},
        // Software update progress: stages 0..7, 8 finished, 99 update server unreachable.
        {R::UpdateStepReported, between(0, 8), [](W w, E e) { w.updateProgress(e.value); }},
        {R::UpdateStepReported, is(99), [](W w, E e) { w.updateProgress(e.value); }},
        {R::LogoAnswered, is(0), message(180)},
        {R::LogoAnswered, is(1), message(181)},
        {R::ActiveXPageUploaded, always, message(182)},
        // Reboot answer: 101 plain reboot; 1..99 the new center ID limit; 1001..5499 a changed
        // schedule privilege; 6001..12000 the standby limit plus 6000.
        {R::RebootAnswered, is(101), [](W w, E) { w.fallBackToLogon(); }},
        {R::RebootAnswered, between(1, 99),
         [](W w, E e) {
             w.store().maxCenterIdCount = e.value;
             w.fallBackToLogon();
         }},
        {R::RebootAnswered, between(1001, 5499), message(184)},
        {R::RebootAnswered, between(6001, 12000),
         [](W w, E e) { w.store().maxStandbyCount = e.value - 6000; }},
        {R::AutoUpdateArrived, always, [](W w, E e) { w.updatePage()->setAutoUpdate(e.value); }},
        {R::FirmwareUpdateAnswered, is(0), [](W w, E) { w.firmwareFinished(); }},
        {R::FirmwareUpdateAnswered, is(99), message(186)},
        {R::NtpServerSet, always, message(187)},
        {R::IoListArrived, always, [](W w, E) { w.ioListArrived(); }},
        {R::SchedulesArrived, always, [](W w, E) { w.schedulesArrived(); }},
        {R::SchedulesApplied, always, [](W w, E e) { w.scheduleUploaded(e.value); }},
        {R::ServerTimeArrived, always, [](W w, E e) { w.serverTimeArrived(e.value); }},
        {R::WebArchiveUploaded, always, message(189)},
        {R::BlacklistArrived, always, [](W w, E) { w.blacklistArrived(); }},
        {R::BlockIpsArrived, always, [](W w, E) { w.blacklistPage()->refreshBlockList(); }},
        // Apply's answer: the blacklist page learns whether its Block IP edits are now the
        // appliance's.
        {R::BlockIpsApplied, always,
         [](W w, E e) {
             w.blacklistPage()->applyResult(e.value);
             if (e.value == 101)
                 w.showFixedText(kBlockListChanged);
         }},
        {R::BlacklistCleared, is(101), [](W w, E) { w.blacklistCleared(); }},
        {R::LinkEnded, always, [](W w, E) { w.linkEnded(); }},
    };
    return table;
}

} // namespace

void CQVSettingDlg::OnUserReplyMsg(const qv::LinkEvent& event) {
    qv::debugLog("HHHHHHHHHH OnUserReplyMsg........");
    // A table that travelled with the event goes into the store before any page reads it.
    qv::applyReplyToStore(m_store, event);
    for (const Row& row : dispatchTable()) {
        if (row.event == event.code && row.when.holds(event.value)) {
            row.action(*this, event);
            return;
        }
    }
}

void CQVSettingDlg::logonAccepted(int32_t value) {
    m_store.maxCenterIdCount = std::clamp(value - 100, 1, 100);
    m_store.PageIndex = 1;
    ShowPage(1);
    if (m_store.isConnected())
        m_store.send(qv::request::readSummary());
}

void CQVSettingDlg::logonRefused() {
    m_store.PageIndex = 0;
    ShowPage(0);
    showMessage(162);
}

void CQVSettingDlg::summaryArrived(const qv::LinkEvent& event) {
    qv::NetworkConfigRecord record;
    std::memcpy(record.data(), event.payload.data(), std::min(event.payload.size(), record.size()));
    m_store.ioScheduleEnabled = record.ioScheduleEnabled();
    m_store.maxScheduleCount = std::clamp(record.maxScheduleCount(), 10, 2040);
    m_store.maxStandbyCount = record.maxStandbyCount();
    m_links[1010]->setVisible(record.ioScheduleEnabled() == 1);
    m_info->fill(record);
}

void CQVSettingDlg::updateProgress(int32_t value) {
    if (const int messageId = m_update->applyProgress(value))
        showMessage(messageId);
}

void CQVSettingDlg::firmwareFinished() {
    showMessage(185);
    fallBackToLogon();
}

void CQVSettingDlg::ioListArrived() {
    m_store.ioBusy = 0;
    m_iosch->refreshButton()->setEnabled(true);
    m_iosch->SetIOListData();
    qv::debugLog("HHHHHHHHH -n SetIOListData");
}

void CQVSettingDlg::schedulesArrived() {
    m_store.ioBusy = 0;
    m_iosch->ioDeviceList()->setEnabled(true);
    m_iosch->SetScheduleData();
    qv::debugLog("HHHHHHHHH -n SetScheduleData");
}

void CQVSettingDlg::scheduleUploaded(int32_t value) {
    m_store.ioBusy = 0;
    if (value == 101)
        showMessage(188);
}

void CQVSettingDlg::serverTimeArrived(int32_t value) {
    if (m_iosch)
        m_iosch->SetTimeText(qv::fromUtf8(qv::formatServerTime(value)));
}

void CQVSettingDlg::blacklistArrived() {
    m_blacklist->refreshBlacklist();
    if (m_store.isConnected())
        m_store.send(qv::request::readBlockIps());
}

void CQVSettingDlg::blacklistCleared() {
    // The appliance empties its blacklist in the background: read it again three times.
    m_tickCount = 0;
    m_timer1071.start(kBlacklistRereadMs);
    showFixedText(kBlacklistCleared);
}

void CQVSettingDlg::linkEnded() {
    for (CPageDlg* page : m_pages)
        page->linkEnded();
    fallBackToLogon();
}

void CQVSettingDlg::fallBackToLogon() {
    m_logon->clearCredentials();
    m_store.PageIndex = 0;
    ShowPage(0);
}

void CQVSettingDlg::showMessage(int stringId) {
    m_prompt.notice(qv::uiText(stringId));
}

void CQVSettingDlg::showFixedText(const QString& text) {
    m_prompt.notice(text);
}
