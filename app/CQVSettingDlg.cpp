#include "CQVSettingDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CMySocket.h"
#include "ControlIds.h"
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

namespace {

// The navigation links from top to bottom (Reboot stands apart, lowest), with the page each
// one shows. Blacklist IP and IO Schedule start hidden.
struct LinkRow {
    int id;
    const char* caption;
    int page;
    bool visibleAtStart;
};
constexpr LinkRow kLinkRows[] = {
    {1000, "Product Summary ", 1, true},      {1002, "Change ID/Password ", 2, true},
    {1001, "Center ID Management ", 3, true}, {1003, "Wake On Lan ", 4, true},
    {1004, "Network/DDNS Setting ", 5, true}, {1005, "Quorvel Update ", 6, true},
    {1006, "Company Logo Upload ", 7, true},  {1007, "Active-X page Upload ", 8, true},
    {1011, "Web page Upload ", 9, true},      {1012, "Blacklist IP", 10, false},
    {1010, "IO Schedule", 11, false},
};
constexpr int kRebootLink = 1008;
constexpr int kCloseButton = 1009;
constexpr int kPageFrame = 1069;

} // namespace

CQVSettingDlg::CQVSettingDlg(qv::CGlobalData& store, qv::Prompt& prompt,
                             const QString& serverAddress, QWidget* parent)
    : QDialog(parent), m_store(store), m_prompt(prompt), m_sink(this) {
    setWindowTitle(QStringLiteral("QVSetting"));
    setWindowIcon(QIcon(qv::appIconPath()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* links = new QVBoxLayout;
    links->setSpacing(2);
    for (const LinkRow& row : kLinkRows) {
        auto* link = new NavLink(row.id, QString::fromLatin1(row.caption));
        link->setVisible(row.visibleAtStart);
        const int id = row.id;
        connect(link, &QPushButton::clicked, this, [this, id] { onLinkClicked(id); });
        links->addWidget(link);
        m_links[row.id] = link;
    }
    links->addStretch();
    auto* reboot = new NavLink(kRebootLink, QStringLiteral("Reboot "));
    connect(reboot, &QPushButton::clicked, this, &CQVSettingDlg::onReboot);
    links->addWidget(reboot);
    m_links[kRebootLink] = reboot;

    auto* frameBox = new QGroupBox;
    qv::setControl(frameBox, kPageFrame, QStringLiteral("Page"));
    auto* frameLayout = new QVBoxLayout(frameBox);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    m_frame = new QStackedWidget;
    m_frame->setMinimumSize(780, 560);
    frameLayout->addWidget(m_frame);

    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setAutoDefault(false);
    qv::setControl(close, kCloseButton, close->text());
    connect(close, &QPushButton::clicked, this, &CQVSettingDlg::OnClose);

    auto* right = new QVBoxLayout;
    right->addWidget(frameBox, 1);
    right->addWidget(close, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(links);
    layout->addLayout(right, 1);

    // The about box lives where the system menu cannot be reached portably: in the window's
    // context menu and on F1.
    auto* about = new QAction(qv::uiText(101), this);
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, &CQVSettingDlg::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    createPages(serverAddress);
    setFixedSize(sizeHint());

    m_timer1070.setSingleShot(true);
    connect(&m_timer1070, &QTimer::timeout, this, &CQVSettingDlg::onPlacementTimer);
    m_timer1070.start(kPlacementDelayMs);
    m_timer1071.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1071, &QTimer::timeout, this, &CQVSettingDlg::onBlacklistTimer);
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
    for (int i = 0; i <= 10; ++i)
        m_frame->addWidget(m_pages[static_cast<size_t>(i)]);
    // With the IO schedule window shown, the frame shows no page.
    m_emptyFrame = new QWidget;
    m_frame->addWidget(m_emptyFrame);
    m_frame->setCurrentWidget(m_emptyFrame);
    m_iosch->hide();
}

void CQVSettingDlg::ShowPage(int index) {
    if (index < 0 || index >= kPageCount)
        return;
    if (index == 11) {
        m_frame->setCurrentWidget(m_emptyFrame);
        m_iosch->show();
        m_iosch->raise();
        m_iosch->startClockTimer();
        return;
    }
    m_iosch->stopClockTimer();
    m_iosch->hide();
    m_frame->setCurrentWidget(m_pages[static_cast<size_t>(index)]);
    if (index == 0)
        m_links[1000]->setFocus();
    if (index == 2)
        m_admin->clearEdits();
}

void CQVSettingDlg::onPlacementTimer() {
    ShowPage(m_store.PageIndex);
    if (m_store.PageIndex == 0)
        m_logon->focusFirstField();
}

void CQVSettingDlg::onLinkClicked(int linkId) {
    if (m_store.PageIndex == 0)
        return;
    int index = -1;
    for (const LinkRow& row : kLinkRows)
        if (row.id == linkId)
            index = row.page;
    if (index < 0)
        return;
    if (!currentPageAllowsLeaving())
        return;
    m_store.PageIndex = index;
    ShowPage(index);
    sendPageRequests(index);
}

void CQVSettingDlg::sendPageRequests(int index) {
    if (!m_store.isConnected())
        return;
    switch (index) {
    case 1:
        m_store.send(qv::request::readSummary());
        break;
    case 3:
        m_store.send(qv::request::readCenterIds());
        break;
    case 4:
        m_store.send(qv::request::readWol());
        break;
    case 5:
        m_store.send(qv::request::readNetwork());
        break;
    case 6:
        m_store.send(qv::request::readAutoUpdate());
        break;
    case 10:
        m_store.send(qv::request::readBlacklist());
        break;
    case 11:
        // IO list and schedules first; the clock a moment later, each while the link is up.
        m_store.send(qv::request::readIoList());
        if (m_store.isConnected())
            m_store.send(qv::request::readSchedule());
        QTimer::singleShot(kIoSchedulePauseMs, this, [this] {
            if (m_store.isConnected())
                m_store.send(qv::request::readTime());
        });
        break;
    default:
        break;
    }
}

void CQVSettingDlg::onReboot() {
    if (!m_prompt.question(qv::uiText(190)))
        return;
    if (m_store.isConnected())
        m_store.send(qv::request::reboot());
}

void CQVSettingDlg::closeLink() {
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

void CQVSettingDlg::OnClose() {
    // A page holding edits the appliance has not taken asks before they are thrown away.
    for (CPageDlg* page : m_pages)
        if (!page->confirmLeave())
            return;
    m_logon->finishConnect();
    closeLink();
    accept();
}

void CQVSettingDlg::reject() {
    // The window's close box ends the program like the Close button.
    for (CPageDlg* page : m_pages)
        if (!page->confirmLeave())
            return;
    m_logon->finishConnect();
    closeLink();
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

void CQVSettingDlg::onBlacklistTimer() {
    if (++m_tickCount >= kBlacklistRereads)
        m_timer1071.stop();
    m_blacklist->refreshBlacklist();
    m_store.PageIndex = 10;
    ShowPage(10);
    if (m_store.isConnected())
        m_store.send(qv::request::readBlacklist());
}
