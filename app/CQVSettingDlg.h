#pragma once

#include "app/ApplianceReturnWatch.h"
#include "app/Page.h"
#include "app/QtEventSink.h"
#include "res/StringIds.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <map>
#include <vector>

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
class CUploadPageDlg;
class CWebDlg;
class CWolDlg;
class ConfigTransfer;
class NavLink;
class QStackedWidget;

namespace qv {
class CGlobalData;
class Prompt;
struct LinkEvent;
} // namespace qv

// The main window: the navigation links on the left, the page frame on the right with exactly
// one page shown, and Close. Which page is shown is the store's PageIndex (Page). Replies of the
// appliance arrive as ServerEvents and go through OnUserReplyMsg, whose dispatch table hands
// each one to the page it concerns.
class CQVSettingDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the window's own controls (the links are NavLink ids).
    enum ControlId : int {
        kLinkSummary = 1000,
        kLinkCenterIds = 1001,
        kLinkAdmin = 1002,
        kLinkWol = 1003,
        kLinkNetwork = 1004,
        kLinkUpdate = 1005,
        kLinkLogo = 1006,
        kLinkActiveX = 1007,
        kLinkReboot = 1008,
        kClose = 1009,
        kLinkIoSchedule = 1010,
        kLinkWebPage = 1011,
        kLinkBlacklist = 1012,
        kBackupAction = 1013, // in the window's context menu
        kRestoreAction = 1014,
        kPageFrame = 1069,
    };

    // After the appliance cleared its blacklist, the blacklist is read again this often at this
    // pace, while the appliance empties it in the background (timer 1071).
    static constexpr int kBlacklistRereadMs = 1200;
    static constexpr int kBlacklistRereads = 3;

    CQVSettingDlg(qv::CGlobalData& store, qv::Prompt& prompt, const QString& serverAddress = {},
                  QWidget* parent = nullptr);
    ~CQVSettingDlg() override;

    // Shows exactly one page; the IO schedule is a window of its own, over an empty frame.
    void ShowPage(Page page);
    // The handler of the appliance's replies and of the end of the link.
    void OnUserReplyMsg(const qv::LinkEvent& event);

    qv::EventSink& eventSink() { return m_sink; }
    // A working page is built the first time it is shown or a reply concerns it, not at start:
    // most sessions visit a few pages, and each built page keeps its widgets and models.
    CPageDlg* page(Page page);
    CLogonDlg* logonPage() const { return m_logon; }
    CNetworkDlg* networkPage();
    CBlacklistDlg* blacklistPage();
    CIoschDlg* ioSchedulePage();
    bool blacklistRereadActive() const { return m_blacklistRereadTimer.isActive(); }

    // Shows the logon page with `host` and `port` in the address box and waits there for the
    // appliance to answer after a reboot (ApplianceReturnWatch), saying how long it has waited.
    void awaitApplianceReturn(const QString& host, quint16 port);

    void showAbout();
    // Closes the link, forgets it and ends the window (the Close button).
    void OnClose();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // One row of the dispatch table (OnUserReplyMsg.cpp).
    struct DispatchRow;
    static const std::vector<DispatchRow>& dispatchTable();

    void createLogonPage(const QString& serverAddress);
    CPageDlg* buildPage(Page page);
    // The IO schedule window when it has been built, without building it.
    CIoschDlg* builtScheduleWindow() const;
    CInfoDlg* infoPage();
    CAdminDlg* adminPage();
    CCenteridDlg* centerIdPage();
    CWolDlg* wolPage();
    CUpdateDlg* updatePage();
    CLogoDlg* logoPage();
    CAxDlg* axPage();
    CWebDlg* webPage();
    void onLinkClicked(int linkId);
    void onReboot();
    void placeStorePage();
    void rereadBlacklist();
    void showScheduleWindowOverSummary();
    // Ctrl+Page Down / Up: the page of the next (`by` 1) or previous (-1) shown link.
    void stepPage(int by);
    void scheduleWindowClosed();
    void sendPageRequests(Page page);
    void closeLink();
    void addTransferActions();
    // After a restore: the shown page reads its table again.
    void rereadShownPage();
    // True while one of the upload pages is reading or sending a file.
    bool uploadUnderWay() const;
    bool pagesAllowClosing();
    // Asks the shown page whether it may be left (it may have edits that were not applied).
    bool currentPageAllowsLeaving();
    void setStorePage(Page page);

    // The dispatcher's actions that concern the window itself rather than one page.
    void logonAccepted(int32_t value);
    void logonRefused();
    void summaryArrived(const qv::LinkEvent& event);
    void noteTexts(const qv::LinkEvent& event);
    void updateProgress(int32_t value);
    void uploadAnswered(CUploadPageDlg* page, const qv::LinkEvent& event);
    void firmwareFinished();
    // After a reboot or a firmware update: the logon page waits for the appliance to answer again.
    void awaitRestart();
    void blacklistArrived();
    void blacklistCleared();
    void linkEnded();
    void fallBackToLogon();
    void showMessage(qv::StringId message);

    qv::CGlobalData& m_store;
    qv::Prompt& m_prompt;
    QtEventSink m_sink;
    // Null until built; the logon page is built with the window.
    std::array<CPageDlg*, kPageCount> m_pages{};
    CLogonDlg* m_logon = nullptr;
    QStackedWidget* m_frame = nullptr;
    QWidget* m_emptyFrame = nullptr;
    std::map<int, NavLink*> m_links;
    int m_blacklistRereadsDone = 0;
    // The page the IO schedule window was opened from, shown again when it closes.
    Page m_pageBeforeSchedule = Page::Summary;
    bool m_placed = false; // the store's page was put in the frame when the window first showed
    QTimer m_blacklistRereadTimer; // timer 1071
    ApplianceReturnWatch m_returnWatch;
    ConfigTransfer* m_transfer = nullptr;
};
