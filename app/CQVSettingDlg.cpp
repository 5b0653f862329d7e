#include "CQVSettingDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CMySocket.h"
#include "ConfigTransfer.h"
#include "ControlIds.h"
#include "KeyboardAccess.h"
#include "NavLink.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"
#include "ServerEvent.h"
#include "access/CAdminDlg.h"
#include "access/CBlacklistDlg.h"
#include "access/CCenteridDlg.h"
#include "network/CInfoDlg.h"
#include "network/CNetworkDlg.h"
#include "network/CWolDlg.h"
#include "schedule/CIoschDlg.h"
#include "upload/CAxDlg.h"
#include "upload/CLogoDlg.h"
#include "upload/CUpdateDlg.h"
#include "upload/CWebDlg.h"

#include <QAction>
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
    setWindowIcon(QIcon(qv::appIconPath()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* links = new QVBoxLayout;
    links->setSpacing(2);
    for (const LinkRow& row : kLinkRows) {
        auto* link = new NavLink(row.id, qv::uiText(row.caption));
        link->setVisible(row.visibleAtStart);
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
    createPages(serverAddress);
    addTransferActions();
    setFixedSize(sizeHint());

    m_placementTimer.setSingleShot(true);
    connect(&m_placementTimer, &QTimer::timeout, this, &CQVSettingDlg::placeStorePage);
    m_placementTimer.start(kPlacementDelayMs);
    m_blacklistRereadTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_blacklistRereadTimer, &QTimer::timeout, this, &CQVSettingDlg::rereadBlacklist);
}

CQVSettingDlg::~CQVSettingDlg() {
    m_logon->finishConnect();
    m_iosch->stopClockTimer();
    closeLink();
}

void CQVSettingDlg::createPages(const QString& serverAddress) {
    m_logon = new CLogonDlg(m_store, m_prompt);
    m_logon->setEventTarget(&m_sink);
    m_logon->setServerAddress(serverAddress);
    m_info = new CInfoDlg(m_store, m_prompt);
    m_admin = new CAdminDlg(m_store, m_prompt);
    m_centerid = new CCenteridDlg(m_store, m_prompt);
    m_wol = new CWolDlg(m_store, m_prompt);
    m_network = new CNetworkDlg(m_store, m_prompt);
    m_update = new CUpdateDlg(m_store, m_prompt);
    m_logo = new CLogoDlg(m_store, m_prompt);
    m_ax = new CAxDlg(m_store, m_prompt);
    m_web = new CWebDlg(m_store, m_prompt);
    m_blacklist = new CBlacklistDlg(m_store, m_prompt);
    m_iosch = new CIoschDlg(m_store, m_prompt, this);
    m_pages = {m_logon,  m_info, m_admin, m_centerid, m_wol,       m_network,
               m_update, m_logo, m_ax,    m_web,      m_blacklist, m_iosch};
    for (CPageDlg* framed : m_pages)
        if (framed != m_iosch)
            m_frame->addWidget(framed);
    connect(m_info, &CInfoDlg::scheduleWindowRequested, this,
            &CQVSettingDlg::showScheduleWindowOverSummary);
    connect(m_network, &CNetworkDlg::applianceRebooting, this,
            &CQVSettingDlg::awaitApplianceReturn);
    connect(m_info, &CInfoDlg::backupRequested, m_transfer, &ConfigTransfer::backup);
    connect(m_info, &CInfoDlg::restoreRequested, m_transfer, &ConfigTransfer::restore);
    connect(m_transfer, &ConfigTransfer::applianceRebooting, this,
            &CQVSettingDlg::awaitApplianceReturn);
    connect(m_transfer, &ConfigTransfer::tablesWritten, this, &CQVSettingDlg::rereadShownPage);
    connect(m_iosch, &CIoschDlg::closedByOperator, this, &CQVSettingDlg::scheduleWindowClosed);
    connect(&m_returnWatch, &ApplianceReturnWatch::statusChanged, m_logon,
            &CLogonDlg::showReturnStatus);
    // With the IO schedule window shown, the frame shows no page.
    m_emptyFrame = new QWidget;
    m_frame->addWidget(m_emptyFrame);
    m_frame->setCurrentWidget(m_emptyFrame);
    m_iosch->hide();
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
        m_iosch->setWindowModality(Qt::NonModal);
        m_iosch->show();
        m_iosch->raise();
        m_iosch->startClockTimer();
        return;
    }
    m_iosch->stopClockTimer();
    m_iosch->hide();
    m_frame->setCurrentWidget(this->page(page));
    if (page == Page::Logon)
        m_links[kLinkSummary]->setFocus();
    if (page == Page::Admin)
        m_admin->clearEdits();
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
    m_iosch->setWindowModality(Qt::ApplicationModal);
    m_iosch->SetIOListData();
    m_iosch->SetScheduleData();
    m_iosch->show();
    m_iosch->raise();
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
    if (!m_store.isConnected())
        return;
    switch (page) {
    case Page::Summary:
        m_store.send(qv::request::readSummary());
        break;
    case Page::CenterIds:
        m_store.send(qv::request::readCenterIds());
        break;
    case Page::Wol:
        m_store.send(qv::request::readWol());
        break;
    case Page::Network:
        m_store.send(qv::request::readNetwork());
        break;
    case Page::Update:
        m_store.send(qv::request::readAutoUpdate());
        break;
    case Page::Blacklist:
        m_store.send(qv::request::readBlacklist());
        break;
    case Page::IoSchedule:
        m_iosch->requestTables();
        break;
    default:
        break;
    }
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
    const std::array<const CUploadPageDlg*, 3> uploads{m_logo, m_ax, m_web};
    return std::any_of(uploads.begin(), uploads.end(),
                       [](const CUploadPageDlg* page) { return page->sending(); });
}

void CQVSettingDlg::closeLink() {
    for (CPageDlg* page : m_pages)
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
    return m_pages[static_cast<size_t>(index)]->confirmLeave();
}

bool CQVSettingDlg::pagesAllowClosing() {
    // A page holding edits the appliance has not taken asks before they are thrown away.
    for (CPageDlg* page : m_pages)
        if (!page->confirmLeave())
            return false;
    m_logon->finishConnect();
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
    m_blacklist->blacklistArrived();
    setStorePage(Page::Blacklist);
    if (m_store.isConnected())
        m_store.send(qv::request::readBlacklist());
}
