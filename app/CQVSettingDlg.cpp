#include "app/CQVSettingDlg.h"

#include "app/CAboutDlg.h"
#include "app/CLogonDlg.h"
#include "app/ConfigTransfer.h"
#include "app/NavLink.h"
#include "app/ServerEvent.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Requests.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/access/CAdminDlg.h"
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
#include "res/AppIcon.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

using Id = CQVSettingDlg::ControlId;

// The navigation links from top to bottom (Reboot stands apart, lowest), with the page each
// one shows. IO Schedule shows only when the appliance has an IO scheduler. Blacklist IP is
// shown like the others: the firewall's Block IP list can be reached only there.
struct LinkRow {
    int id;
    qv::StringId caption;
    Page page;
    bool visibleAtStart;
};
constexpr LinkRow kLinkRows[] = {
    {Id::kLinkSummary, qv::StringId::LinkProductSummary, Page::Summary, true},
    {Id::kLinkAdmin, qv::StringId::LinkChangeIdPassword, Page::Admin, true},
    {Id::kLinkCenterIds, qv::StringId::LinkCenterIdManagement, Page::CenterIds, true},
    {Id::kLinkWol, qv::StringId::LinkWakeOnLan, Page::Wol, true},
    {Id::kLinkNetwork, qv::StringId::LinkNetworkDdns, Page::Network, true},
    {Id::kLinkUpdate, qv::StringId::LinkQuorvelUpdate, Page::Update, true},
    {Id::kLinkLogo, qv::StringId::LinkCompanyLogoUpload, Page::Logo, true},
    {Id::kLinkActiveX, qv::StringId::LinkActiveXPageUpload, Page::ActiveX, true},
    {Id::kLinkWebPage, qv::StringId::LinkWebPageUpload, Page::WebPage, true},
    {Id::kLinkBlacklist, qv::StringId::LinkBlacklistIp, Page::Blacklist, true},
    {Id::kLinkIoSchedule, qv::StringId::LinkIoSchedule, Page::IoSchedule, false},
};

} // namespace

CQVSettingDlg::CQVSettingDlg(qv::CGlobalData& store, qv::Prompt& prompt,
                             const QString& serverAddress, QWidget* parent)
    : QDialog(parent), m_store(store), m_prompt(prompt), m_sink(this) {
    setWindowTitle(qv::uiText(qv::StringId::AppTitle));
    // The application object sets the icon every window shows; read it here only without one.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(QIcon(qv::appIconPath()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* links = new QVBoxLayout;
    links->setSpacing(2);
    for (const LinkRow& row : kLinkRows) {
        auto* link = new NavLink(row.id, qv::uiText(row.caption));
        // Hidden before it has a parent; showing a parentless link would open it as a window
        // of its own for a moment.
        if (!row.visibleAtStart)
            link->hide();
        const int id = row.id;
        connect(link, &QPushButton::clicked, this, [this, id] { onLinkClicked(id); });
        links->addWidget(link);
        m_links[row.id] = link;
    }
    links->addStretch();
    auto* reboot = new NavLink(kLinkReboot, qv::uiText(qv::StringId::LinkReboot));
    connect(reboot, &QPushButton::clicked, this, &CQVSettingDlg::onReboot);
    links->addWidget(reboot);
    m_links[kLinkReboot] = reboot;

    auto* frameBox = new QGroupBox;
    qv::setControl(frameBox, kPageFrame, qv::uiText(qv::StringId::PageFrame));
    auto* frameLayout = new QVBoxLayout(frameBox);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    m_frame = new QStackedWidget;
    m_frame->setMinimumSize(780, 560);
    frameLayout->addWidget(m_frame);

    auto* close = new QPushButton(qv::controls::actionCaption(qv::uiText(qv::StringId::Close)));
    close->setAutoDefault(false);
    qv::setControl(close, kClose, qv::uiText(qv::StringId::Close));
    connect(close, &QPushButton::clicked, this, &CQVSettingDlg::OnClose);

    auto* right = new QVBoxLayout;
    right->addWidget(frameBox, 1);
    right->addWidget(close, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(links);
    layout->addLayout(right, 1);

    // The about box lives where the system menu cannot be reached portably: in the window's
    // context menu and on F1.
    auto* about = new QAction(qv::uiText(qv::StringId::AboutTitle), this);
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, &CQVSettingDlg::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // The links are reached without walking through the page: Ctrl+Page Down and Ctrl+Page Up
    // show the next and the previous page, as tabs do.
    const std::pair<QKeySequence, int> steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [keys, step] : steps) {
        auto* move = new QAction(this);
        move->setShortcut(keys);
        move->setShortcutContext(Qt::WindowShortcut);
        const int by = step;
        connect(move, &QAction::triggered, this, [this, by] { stepPage(by); });
        addAction(move);
    }

    m_transfer = new ConfigTransfer(m_store, m_prompt, this);
    createLogonPage(serverAddress);
    addTransferActions();
    setFixedSize(sizeHint());

    m_blacklistRereadTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_blacklistRereadTimer, &QTimer::timeout, this, &CQVSettingDlg::rereadBlacklist);
}

CQVSettingDlg::~CQVSettingDlg() {
    m_logon->abandonConnect();
    if (CIoschDlg* schedule = builtScheduleWindow())
        schedule->stopClockTimer();
    closeLink();
}

void CQVSettingDlg::createLogonPage(const QString& serverAddress) {
    m_logon = new CLogonDlg(m_store, m_prompt);
    m_logon->setEventTarget(&m_sink);
    m_logon->setServerAddress(serverAddress);
    // Texts read in another code page: the summary is asked for again, and every other page
    // reads its table again when it is next shown.
    connect(m_logon, &CLogonDlg::codePageChanged, this, [this] {
        if (m_store.isConnected())
            m_store.send(qv::request::readSummary());
    });
    m_pages[static_cast<size_t>(pageIndex(Page::Logon))] = m_logon;
    m_frame->addWidget(m_logon);
    connect(&m_returnWatch, &ApplianceReturnWatch::statusChanged, m_logon,
            &CLogonDlg::showReturnStatus);
    // With the IO schedule window shown, the frame shows no page.
    m_emptyFrame = new QWidget;
    m_frame->addWidget(m_emptyFrame);
    m_frame->setCurrentWidget(m_emptyFrame);
}

CPageDlg* CQVSettingDlg::page(Page which) {
    CPageDlg*& slot = m_pages[static_cast<size_t>(pageIndex(which))];
    if (!slot)
        slot = buildPage(which);
    return slot;
}

CPageDlg* CQVSettingDlg::buildPage(Page which) {
    CPageDlg* built = nullptr;
    switch (which) {
    case Page::Logon:
        return m_logon;
    case Page::Summary: {
        auto* info = new CInfoDlg(m_store, m_prompt);
        connect(info, &CInfoDlg::scheduleWindowRequested, this,
                &CQVSettingDlg::showScheduleWindowOverSummary);
        connect(info, &CInfoDlg::backupRequested, m_transfer, &ConfigTransfer::backup);
        connect(info, &CInfoDlg::restoreRequested, m_transfer, &ConfigTransfer::restore);
        built = info;
        break;
    }
    case Page::Admin:
        built = new CAdminDlg(m_store, m_prompt);
        break;
    case Page::CenterIds:
        built = new CCenteridDlg(m_store, m_prompt);
        break;
    case Page::Wol:
        built = new CWolDlg(m_store, m_prompt);
        break;
    case Page::Network: {
        auto* network = new CNetworkDlg(m_store, m_prompt);
        connect(network, &CNetworkDlg::applianceRebooting, this,
                &CQVSettingDlg::awaitApplianceReturn);
        built = network;
        break;
    }
    case Page::Update:
        built = new CUpdateDlg(m_store, m_prompt);
        break;
    case Page::Logo:
        built = new CLogoDlg(m_store, m_prompt);
        break;
    case Page::ActiveX:
        built = new CAxDlg(m_store, m_prompt);
        break;
    case Page::WebPage:
        built = new CWebDlg(m_store, m_prompt);
        break;
    case Page::Blacklist:
        built = new CBlacklistDlg(m_store, m_prompt);
        break;
    case Page::IoSchedule: {
        // A window of its own, not in the frame.
        auto* schedule = new CIoschDlg(m_store, m_prompt, this);
        connect(schedule, &CIoschDlg::closedByOperator, this, &CQVSettingDlg::scheduleWindowClosed);
        schedule->hide();
        return schedule;
    }
    }
    // Added to the frame hidden: the frame keeps showing its current page.
    m_frame->addWidget(built);
    return built;
}

CInfoDlg* CQVSettingDlg::infoPage() {
    return static_cast<CInfoDlg*>(page(Page::Summary));
}
CAdminDlg* CQVSettingDlg::adminPage() {
    return static_cast<CAdminDlg*>(page(Page::Admin));
}
CCenteridDlg* CQVSettingDlg::centerIdPage() {
    return static_cast<CCenteridDlg*>(page(Page::CenterIds));
}
CWolDlg* CQVSettingDlg::wolPage() {
    return static_cast<CWolDlg*>(page(Page::Wol));
}
CNetworkDlg* CQVSettingDlg::networkPage() {
    return static_cast<CNetworkDlg*>(page(Page::Network));
}
CUpdateDlg* CQVSettingDlg::updatePage() {
    return static_cast<CUpdateDlg*>(page(Page::Update));
}
CLogoDlg* CQVSettingDlg::logoPage() {
    return static_cast<CLogoDlg*>(page(Page::Logo));
}
CAxDlg* CQVSettingDlg::axPage() {
    return static_cast<CAxDlg*>(page(Page::ActiveX));
}
CWebDlg* CQVSettingDlg::webPage() {
    return static_cast<CWebDlg*>(page(Page::WebPage));
}
CBlacklistDlg* CQVSettingDlg::blacklistPage() {
    return static_cast<CBlacklistDlg*>(page(Page::Blacklist));
}
CIoschDlg* CQVSettingDlg::ioSchedulePage() {
    return static_cast<CIoschDlg*>(page(Page::IoSchedule));
}
CIoschDlg* CQVSettingDlg::builtScheduleWindow() const {
    return static_cast<CIoschDlg*>(m_pages[static_cast<size_t>(pageIndex(Page::IoSchedule))]);
}

void CQVSettingDlg::addTransferActions() {
    // Beside About in the context menu; offered only while logged on, like the summary page's
    // buttons.
    const std::pair<int, qv::StringId> rows[] = {{kBackupAction, qv::StringId::BackupMenu},
                                                 {kRestoreAction, qv::StringId::RestoreMenu}};
    for (const auto& [id, caption] : rows) {
        auto* action = new QAction(qv::controls::actionCaption(qv::uiText(caption)), this);
        action->setProperty(qv::kControlIdProperty, id);
        const bool backup = id == kBackupAction;
        connect(action, &QAction::triggered, this, [this, backup] {
            if (m_store.PageIndex == pageIndex(Page::Logon))
                return;
            // The reads and writes would queue behind the file on the link, freezing the
            // window until its last byte is out.
            if (uploadUnderWay()) {
                m_prompt.notice(qv::uiText(qv::StringId::TransferWhileUploading));
                return;
            }
            if (backup)
                m_transfer->backup();
            else
                m_transfer->restore();
        });
        addAction(action);
    }
}

void CQVSettingDlg::rereadShownPage() {
    const int index = m_store.PageIndex;
    if (index > 0 && index < kPageCount)
        sendPageRequests(static_cast<Page>(index));
}

void CQVSettingDlg::ShowPage(Page page) {
    for (const LinkRow& row : kLinkRows)
        m_links[row.id]->setCurrent(row.page == page);
    if (page == Page::IoSchedule) {
        m_frame->setCurrentWidget(m_emptyFrame);
        CIoschDlg* schedule = ioSchedulePage();
        schedule->setWindowModality(Qt::NonModal);
        schedule->show();
        schedule->raise();
        schedule->startClockTimer();
        return;
    }
    if (CIoschDlg* schedule = builtScheduleWindow()) {
        schedule->stopClockTimer();
        schedule->hide();
    }
    m_frame->setCurrentWidget(this->page(page));
    if (page == Page::Logon)
        m_links[kLinkSummary]->setFocus();
    if (page == Page::Admin)
        adminPage()->clearEdits();
}

void CQVSettingDlg::awaitApplianceReturn(const QString& host, quint16 port) {
    m_logon->setServerAddress(
        port == qv::kDefaultPort ? host : host + QLatin1Char(':') + QString::number(port));
    fallBackToLogon();
    m_returnWatch.start(host, port);
}

void CQVSettingDlg::setStorePage(Page page) {
    m_store.PageIndex = pageIndex(page);
    ShowPage(page);
}

void CQVSettingDlg::placeStorePage() {
    const int index = m_store.PageIndex;
    if (index >= 0 && index < kPageCount)
        ShowPage(static_cast<Page>(index));
    if (index == pageIndex(Page::Logon))
        m_logon->focusFirstField();
}

void CQVSettingDlg::showScheduleWindowOverSummary() {
    // Over the summary, the IO schedule window shows what the store holds and reads nothing.
    CIoschDlg* schedule = ioSchedulePage();
    schedule->setWindowModality(Qt::ApplicationModal);
    schedule->SetIOListData();
    schedule->SetScheduleData();
    schedule->show();
    schedule->raise();
}

void CQVSettingDlg::onLinkClicked(int linkId) {
    if (m_store.PageIndex == pageIndex(Page::Logon))
        return;
    const auto row = std::find_if(std::begin(kLinkRows), std::end(kLinkRows),
                                  [linkId](const LinkRow& r) { return r.id == linkId; });
    if (row == std::end(kLinkRows) || !currentPageAllowsLeaving())
        return;
    if (row->page == Page::IoSchedule && m_store.PageIndex != pageIndex(Page::IoSchedule))
        m_pageBeforeSchedule = static_cast<Page>(m_store.PageIndex);
    setStorePage(row->page);
    sendPageRequests(row->page);
}

void CQVSettingDlg::stepPage(int by) {
    if (m_store.PageIndex == pageIndex(Page::Logon))
        return;
    std::vector<const LinkRow*> shown;
    for (const LinkRow& row : kLinkRows)
        if (!m_links[row.id]->isHidden())
            shown.push_back(&row);
    if (shown.empty())
        return;
    const auto at = std::find_if(shown.begin(), shown.end(), [this](const LinkRow* row) {
        return pageIndex(row->page) == m_store.PageIndex;
    });
    const int count = static_cast<int>(shown.size());
    const int from = at == shown.end() ? (by > 0 ? -1 : 0) : static_cast<int>(at - shown.begin());
    const LinkRow* next = shown[static_cast<size_t>((from + by + count) % count)];
    NavLink* link = m_links[next->id];
    onLinkClicked(next->id);
    if (m_store.PageIndex == pageIndex(next->page))
        link->setFocus(Qt::ShortcutFocusReason);
}

void CQVSettingDlg::scheduleWindowClosed() {
    // The frame stood empty behind the window: the page shown before it comes back.
    if (m_store.PageIndex != pageIndex(Page::IoSchedule))
        return;
    const Page back = m_pageBeforeSchedule;
    setStorePage(back);
    sendPageRequests(back);
}

void CQVSettingDlg::sendPageRequests(Page page) {
    // Each page knows what it shows and asks for it itself.
    if (m_store.isConnected() && page != Page::Logon)
        this->page(page)->requestContent();
}

void CQVSettingDlg::onReboot() {
    // The file holds the link until its last byte is out: the reboot request would wait behind
    // it with the window frozen, and cancelling the upload closes the link it would go on.
    if (uploadUnderWay()) {
        m_prompt.notice(qv::uiText(qv::StringId::RebootWhileUploading));
        return;
    }
    if (!m_prompt.question(qv::uiText(qv::StringId::RebootQuestion)))
        return;
    if (m_store.isConnected())
        m_store.send(qv::request::reboot());
}

bool CQVSettingDlg::uploadUnderWay() const {
    // A page not built yet has sent nothing.
    const std::array<Page, 3> uploads{Page::Logo, Page::ActiveX, Page::WebPage};
    return std::any_of(uploads.begin(), uploads.end(), [this](Page upload) {
        const CPageDlg* built = m_pages[static_cast<size_t>(pageIndex(upload))];
        return built && static_cast<const CUploadPageDlg*>(built)->sending();
    });
}

void CQVSettingDlg::closeLink() {
    for (CPageDlg* page : m_pages)
        if (page)
            page->linkClosing();
    if (m_store.link) {
        if (m_store.link->connected())
            m_store.link->Close();
        m_store.link.reset();
    }
}

bool CQVSettingDlg::currentPageAllowsLeaving() {
    const int index = m_store.PageIndex;
    if (index <= 0 || index >= kPageCount)
        return true;
    CPageDlg* shown = m_pages[static_cast<size_t>(index)];
    return !shown || shown->confirmLeave();
}

bool CQVSettingDlg::pagesAllowClosing() {
    // A page holding edits the appliance has not taken asks before they are thrown away.
    // A page not built yet holds no edits.
    for (CPageDlg* page : m_pages)
        if (page && !page->confirmLeave())
            return false;
    m_logon->abandonConnect();
    closeLink();
    return true;
}

void CQVSettingDlg::OnClose() {
    if (pagesAllowClosing())
        accept();
}

void CQVSettingDlg::reject() {
    // The window's close box ends the program like the Close button.
    if (pagesAllowClosing())
        QDialog::reject();
}

// The store's page goes in the frame as the window first shows, before its first paint: the
// layout has placed the frame by then, so no start-up delay is needed and the window never
// shows an empty frame.
void CQVSettingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        placeStorePage();
    }
}

void CQVSettingDlg::keyPressEvent(QKeyEvent* event) {
    // Escape does not end the program; Close and the window's close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CQVSettingDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

bool CQVSettingDlg::event(QEvent* event) {
    if (event->type() == ServerEvent::kType) {
        OnUserReplyMsg(static_cast<ServerEvent*>(event)->link());
        return true;
    }
    return QDialog::event(event);
}

void CQVSettingDlg::rereadBlacklist() {
    if (++m_blacklistRereadsDone >= kBlacklistRereads)
        m_blacklistRereadTimer.stop();
    blacklistPage()->blacklistArrived();
    setStorePage(Page::Blacklist);
    if (m_store.isConnected())
        m_store.send(qv::request::readBlacklist());
}
