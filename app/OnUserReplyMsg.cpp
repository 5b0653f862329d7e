// The dispatcher: every reply of the appliance, and the end of the link, turns into its visible
// effect here. The table reads top to bottom; for one event the first row whose condition holds
// acts, and an event or value without a row changes nothing. A row hands the reply to the page
// it concerns, or to the window when it concerns the window as a whole.

#include "app/CLogonDlg.h"
#include "app/CQVSettingDlg.h"
#include "app/ConfigTransfer.h"
#include "app/NavLink.h"
#include "core/network/InfoRules.h"
#include "core/network/NetworkRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Commands.h"
#include "link/DebugLog.h"
#include "link/LinkEvent.h"
#include "link/NetworkConfigRecord.h"
#include "link/Requests.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/access/CBlacklistDlg.h"
#include "pages/access/CCenteridDlg.h"
#include "pages/network/CInfoDlg.h"
#include "pages/network/CNetworkDlg.h"
#include "pages/network/CWolDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/upload/CAxDlg.h"
#include "pages/upload/CLogoDlg.h"
#include "pages/upload/CUpdateDlg.h"
#include "pages/upload/CWebDlg.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace {

using Text = qv::StringId;
using qv::ValueRange;
namespace result = qv::result;

constexpr ValueRange always{std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max()};
constexpr ValueRange is(int32_t v) {
    return {v, v};
}

qv::NetworkConfigRecord recordOf(const qv::LinkEvent& event) {
    qv::NetworkConfigRecord record;
    std::memcpy(record.data(), event.payload.data(), std::min(event.payload.size(), record.size()));
    return record;
}

} // namespace

struct CQVSettingDlg::DispatchRow {
    qv::ReplyEvent event;
    ValueRange when;
    std::function<void(CQVSettingDlg&, const qv::LinkEvent&)> action;
};

const std::vector<CQVSettingDlg::DispatchRow>& CQVSettingDlg::dispatchTable() {
    using E = const qv::LinkEvent&;
    using W = CQVSettingDlg&;
    using R = qv::ReplyEvent;
    const auto message = [](Text id) { return [id](W w, E) { w.showMessage(id); }; };
    static const std::vector<DispatchRow> table{
        // Logon answer: the accepted range carries the center ID limit.
        {R::LogonAnswered, result::kLogonAccepted, [](W w, E e) { w.logonAccepted(e.value); }},
        {R::LogonAnswered, always, [](W w, E) { w.logonRefused(); }},
        // Product summary record: limits, IO schedule link, summary page.
        {R::SummaryArrived, always, [](W w, E e) { w.summaryArrived(e); }},
        {R::AdminChangeAnswered, is(result::kSuccess), message(Text::AdminChanged)},
        {R::AdminChangeAnswered, always,
         [](W w, E e) { w.m_prompt.notice(qv::uiText(Text::ChangeRefused).arg(e.value)); }},
        {R::CenterIdsArrived, always, [](W w, E) { w.centerIdPage()->tableArrived(); }},
        // Apply's answer: the page learns whether its edits are now the appliance's, and says so.
        {R::CenterIdsApplied, always, [](W w, E e) { w.centerIdPage()->applyAnswered(e.value); }},
        {R::WolArrived, always, [](W w, E) { w.wolPage()->tableArrived(); }},
        {R::WolApplied, always, [](W w, E e) { w.wolPage()->applyAnswered(e.value); }},
        {R::NetworkArrived, always, [](W w, E e) { w.networkPage()->load(recordOf(e)); }},
        // DDNS and product registration answers: one message per value, as qvctl prints them.
        {R::DdnsIdChecked, always,
         [](W w, E e) { w.showMessage(qv::network::ddnsCheckAnswer(e.value)); }},
        {R::MacRegistrationAnswered, always,
         [](W w, E e) { w.showMessage(qv::network::macRegistrationAnswer(e.value)); }},
        {R::DdnsRegistrationAnswered, always,
         [](W w, E e) { w.showMessage(qv::network::ddnsRegistrationAnswer(e.value)); }},
        // Software update progress: the steps up to finished, or the server unreachable.
        {R::UpdateStepReported,
         {0, result::kUpdateFinished},
         [](W w, E e) { w.updateProgress(e.value); }},
        {R::UpdateStepReported, is(result::kUpdateServerUnreachable),
         [](W w, E e) { w.updateProgress(e.value); }},
        // Upload answers: the page learns that its file arrived, the message says how.
        {R::LogoAnswered, always, [](W w, E e) { w.uploadAnswered(w.logoPage(), e); }},
        {R::ActiveXPageUploaded, always, [](W w, E e) { w.uploadAnswered(w.axPage(), e); }},
        // Reboot answer: a plain reboot or a new center ID limit ends the session; the other
        // ranges are notices without a reboot.
        {R::RebootAnswered, is(result::kRebootAccepted), [](W w, E) { w.awaitRestart(); }},
        {R::RebootAnswered, result::kRebootNewCenterIdLimit,
         [](W w, E e) {
             w.m_store.maxCenterIdCount = e.value;
             w.awaitRestart();
         }},
        {R::RebootAnswered, result::kRebootSchedulePrivilegeChanged,
         message(Text::SchedulePrivilegeChanged)},
        {R::RebootAnswered, result::kRebootNewStandbyLimit,
         [](W w, E e) { w.m_store.maxStandbyCount = e.value - result::kRebootStandbyOffset; }},
        {R::AutoUpdateArrived, always, [](W w, E e) { w.updatePage()->setAutoUpdate(e.value); }},
        {R::FirmwareUpdateAnswered, is(result::kFirmwareUpdateFinished),
         [](W w, E) { w.firmwareFinished(); }},
        {R::FirmwareUpdateAnswered, is(result::kUpdateServerUnreachable),
         message(Text::FirmwareServerUnreachable)},
        {R::NtpServerSet, always, message(Text::NtpServerSet)},
        {R::IoListArrived, always, [](W w, E) { w.ioSchedulePage()->ioListArrived(); }},
        {R::SchedulesArrived, always, [](W w, E) { w.ioSchedulePage()->tableArrived(); }},
        {R::SchedulesApplied, always, [](W w, E e) { w.ioSchedulePage()->applyAnswered(e.value); }},
        {R::ServerTimeArrived, always,
         [](W w, E e) { w.ioSchedulePage()->serverTimeArrived(e.value); }},
        {R::WebArchiveUploaded, always, [](W w, E e) { w.uploadAnswered(w.webPage(), e); }},
        {R::BlacklistArrived, always, [](W w, E) { w.blacklistArrived(); }},
        {R::BlockIpsArrived, always, [](W w, E) { w.blacklistPage()->tableArrived(); }},
        {R::BlockIpsApplied, always, [](W w, E e) { w.blacklistPage()->applyAnswered(e.value); }},
        {R::BlacklistCleared, is(result::kSuccess), [](W w, E) { w.blacklistCleared(); }},
        {R::LinkEnded, always, [](W w, E) { w.linkEnded(); }},
    };
    return table;
}

void CQVSettingDlg::OnUserReplyMsg(const qv::LinkEvent& event) {
    qv::debugLog("HHHHHHHHHH OnUserReplyMsg........");
    // A backup or restore takes the answers it waits for before the store and the pages.
    if (m_transfer->takeReply(event))
        return;
    // A table that travelled with the event goes into the store before any page reads it.
    qv::applyReplyToStore(m_store, event);
    noteTexts(event);
    for (const DispatchRow& row : dispatchTable()) {
        if (row.event == event.code && row.when.holds(event.value)) {
            row.action(*this, event);
            return;
        }
    }
}

// The center IDs' names are the texts the appliance keeps in its code page: the logon page
// tells Korean ones.
void CQVSettingDlg::noteTexts(const qv::LinkEvent& event) {
    if (event.code != qv::ReplyEvent::CenterIdsArrived)
        return;
    std::vector<std::string> texts;
    const auto count = static_cast<size_t>(std::clamp<int32_t>(
        m_store.centerIdCount, 0, static_cast<int32_t>(qv::CenterIdTable::kSlots)));
    for (size_t i = 0; i < count; ++i)
        texts.push_back(m_store.centerIdTable.entry(i).name());
    m_logon->textsArrived(texts);
}

void CQVSettingDlg::logonAccepted(int32_t value) {
    m_logon->logonAccepted();
    m_logon->forgetPassword();
    m_returnWatch.stop();
    m_logon->showReturnStatus({});
    m_store.maxCenterIdCount = std::clamp(value - result::kLogonLimitOffset, 1, 100);
    setStorePage(Page::Summary);
    if (m_store.isConnected())
        m_store.send(qv::request::readSummary());
}

void CQVSettingDlg::logonRefused() {
    m_logon->forgetPassword();
    setStorePage(Page::Logon);
    showMessage(Text::LogonRefused);
}

void CQVSettingDlg::summaryArrived(const qv::LinkEvent& event) {
    const qv::NetworkConfigRecord record = recordOf(event);
    m_store.ioScheduleEnabled = record.ioScheduleEnabled();
    m_store.maxScheduleCount = std::clamp(record.maxScheduleCount(), 10, 2040);
    m_store.maxStandbyCount = record.maxStandbyCount();
    m_links[kLinkIoSchedule]->setVisible(record.ioScheduleEnabled() == 1);
    infoPage()->fill(record);
    updatePage()->versionReported(qv::fromAnsi(
        qv::info::softwareVersionAnsi(record.softwareVersion(), record.versionNote())));
    m_logon->summaryArrived(record);
}

void CQVSettingDlg::updateProgress(int32_t value) {
    if (const std::optional<qv::StringId> message = updatePage()->applyProgress(value))
        showMessage(*message);
}

void CQVSettingDlg::uploadAnswered(CUploadPageDlg* page, const qv::LinkEvent& event) {
    page->uploadAnswered();
    if (const std::optional<Text> message = qv::upload::answerMessage(page->kind(), event.value))
        showMessage(*message);
}

void CQVSettingDlg::firmwareFinished() {
    showMessage(Text::FirmwareUpdated);
    awaitRestart();
}

void CQVSettingDlg::awaitRestart() {
    // The appliance comes back where this link reached it.
    if (!m_store.link) {
        fallBackToLogon();
        return;
    }
    awaitApplianceReturn(QString::fromStdString(m_store.link->host()),
                         static_cast<quint16>(m_store.link->port()));
}

void CQVSettingDlg::blacklistArrived() {
    blacklistPage()->blacklistArrived();
    if (m_store.isConnected())
        m_store.send(qv::request::readBlockIps());
}

void CQVSettingDlg::blacklistCleared() {
    // The appliance empties its blacklist in the background: read it again a few times.
    m_blacklistRereadsDone = 0;
    m_blacklistRereadTimer.start(kBlacklistRereadMs);
    showMessage(Text::BlacklistCleared);
}

void CQVSettingDlg::linkEnded() {
    // Without a link there is nothing to read again, and a reread would put the blacklist page
    // over the logon page.
    m_blacklistRereadTimer.stop();
    for (CPageDlg* page : m_pages)
        if (page)
            page->linkEnded();
    fallBackToLogon();
}

void CQVSettingDlg::fallBackToLogon() {
    m_logon->clearCredentials();
    setStorePage(Page::Logon);
}

void CQVSettingDlg::showMessage(qv::StringId message) {
    m_prompt.notice(qv::uiText(message));
}
