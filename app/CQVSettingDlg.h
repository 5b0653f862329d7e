#pragma once

#include "QtEventSink.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <map>
#include <memory>

class CAdminDlg;
class CAxDlg;
class CBlacklistDlg;
class CCenteridDlg;
class CInfoDlg;
class CIoschDlg;
class CLogoDlg;
class CLogonDlg;
class CNetworkDlg;
class CPageDlg;
class CUpdateDlg;
class CWebDlg;
class CWolDlg;
class NavLink;
class QStackedWidget;

namespace qv {
enum class StringId : int;
class CGlobalData;
class Prompt;
struct LinkEvent;
} // namespace qv

// The main window: the navigation links on the left, the page frame on the right with exactly
// one page shown, and Close. Which page is shown is the store's PageIndex: 0 is the logon page,
// 1 to 11 the working pages (11, the IO schedule, is a window of its own). Replies of the
// appliance arrive as ServerEvents and go through OnUserReplyMsg.
class CQVSettingDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 12;
    static constexpr int kPlacementDelayMs = 30;    // timer 1070
    static constexpr int kBlacklistRereadMs = 1200; // timer 1071
    static constexpr int kBlacklistRereads = 3;
    static constexpr int kIoSchedulePauseMs = 30;

    CQVSettingDlg(qv::CGlobalData& store, qv::Prompt& prompt, const QString& serverAddress = {},
                  QWidget* parent = nullptr);
    ~CQVSettingDlg() override;

    // Shows exactly one page: 0 the logon page, 1 to 10 a framed page, 11 the IO schedule
    // window. Any other value does nothing.
    void ShowPage(int index);
    // The handler of the appliance's replies and of the end of the link.
    void OnUserReplyMsg(const qv::LinkEvent& event);

    qv::EventSink& eventSink() { return m_sink; }
    qv::CGlobalData& store() { return m_store; }
    CPageDlg* page(int index) const { return m_pages[static_cast<size_t>(index)]; }
    CLogonDlg* logonPage() const { return m_logon; }
    CUpdateDlg* updatePage() const { return m_update; }
    CIoschDlg* ioSchedulePage() const { return m_iosch; }
    CInfoDlg* infoPage() const { return m_info; }
    CNetworkDlg* networkPage() const { return m_network; }
    CBlacklistDlg* blacklistPage() const { return m_blacklist; }
    bool blacklistTimerActive() const { return m_timer1071.isActive(); }
    void showAbout();

    // Closes the link, forgets it and ends the window (the Close button).
    void OnClose();

    // The dispatcher's actions, one per kind of row (OnUserReplyMsg.cpp).
    void logonAccepted(int32_t value);
    void logonRefused();
    void summaryArrived(const qv::LinkEvent& event);
    void updateProgress(int32_t value);
    void firmwareFinished();
    void ioListArrived();
    void schedulesArrived();
    void scheduleUploaded(int32_t value);
    void serverTimeArrived(int32_t value);
    void blacklistArrived();
    void blacklistCleared();
    void linkEnded();
    void fallBackToLogon();
    void showMessage(qv::StringId message);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void createPages(const QString& serverAddress);
    void onLinkClicked(int linkId);
    void onReboot();
    void onPlacementTimer();
    void onBlacklistTimer();
    void sendPageRequests(int index);
    void closeLink();
    // Asks the shown page whether it may be left (it may have edits that were not applied).
    bool currentPageAllowsLeaving();

    qv::CGlobalData& m_store;
    qv::Prompt& m_prompt;
    QtEventSink m_sink;
    std::array<CPageDlg*, kPageCount> m_pages{};
    CLogonDlg* m_logon = nullptr;
    CInfoDlg* m_info = nullptr;
    CAdminDlg* m_admin = nullptr;
    CCenteridDlg* m_centerid = nullptr;
    CWolDlg* m_wol = nullptr;
    CNetworkDlg* m_network = nullptr;
    CUpdateDlg* m_update = nullptr;
    CLogoDlg* m_logo = nullptr;
    CAxDlg* m_ax = nullptr;
    CWebDlg* m_web = nullptr;
    CBlacklistDlg* m_blacklist = nullptr;
    CIoschDlg* m_iosch = nullptr;
    QStackedWidget* m_frame = nullptr;
    QWidget* m_emptyFrame = nullptr;
    std::map<int, NavLink*> m_links;
    int m_tickCount = 0;
    QTimer m_timer1070;
    QTimer m_timer1071;
};
