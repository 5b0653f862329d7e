#include "schedule/CIoschDlg.h"

#include "CGlobalData.h"
#include "Commands.h"
#include "ControlFactory.h"
#include "ControlIds.h"
#include "DebugLog.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"
#include "schedule/CMyPicStatic.h"
#include "schedule/ServerTime.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using qv::StringId;

CIoschDlg::CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::IoScheduleTitle), store, prompt, parent) {
    setWindowFlag(Qt::Window);
    // The appliance's own window title, Korean in both languages.
    setWindowTitle(qv::uiText(StringId::IoScheduleWindowTitle));
    setupControls();
    resize(420, 520);

    connect(&m_clockTimer, &QTimer::timeout, this, &CIoschDlg::onClockTick);
    connect(m_refresh, &QPushButton::clicked, this, &CIoschDlg::onRefresh);
}

void CIoschDlg::setupControls() {
    m_clock = new CMyPicStatic;
    qv::setControl(m_clock, kClock, m_clock->accessibleName());

    m_ioDevices = new QTableWidget(0, 3);
    m_ioDevices->setHorizontalHeaderLabels({qv::uiText(StringId::ColumnNumber),
                                            qv::uiText(StringId::ColumnId),
                                            qv::uiText(StringId::IoColumnStatus)});
    m_ioDevices->setColumnWidth(0, 60);
    m_ioDevices->setColumnWidth(1, 180);
    m_ioDevices->setColumnWidth(2, 100);
    m_ioDevices->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ioDevices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ioDevices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ioDevices->verticalHeader()->hide();
    m_ioDevices->verticalHeader()->setDefaultSectionSize(qv::controls::kListRowHeight);
    qv::setControl(m_ioDevices, kIoDevices, qv::uiText(StringId::IoDevices));

    m_refresh = qv::controls::button(kRefresh, qv::uiText(StringId::IoRefresh), "refresh");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_clock);
    layout->addWidget(m_ioDevices, 1);
    layout->addWidget(m_refresh, 0, Qt::AlignLeft);
}

void CIoschDlg::requestTables() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    // IO list and schedules first; the clock a moment later, each while the link is up.
    s.send(qv::request::readIoList());
    if (s.isConnected())
        s.send(qv::request::readSchedule());
    QTimer::singleShot(kTimeRequestPauseMs, this, [this] {
        if (store().isConnected())
            store().send(qv::request::readTime());
    });
}

void CIoschDlg::ioListArrived() {
    store().ioBusy = 0;
    m_refresh->setEnabled(true);
    SetIOListData();
    qv::debugLog("HHHHHHHHH -n SetIOListData");
}

void CIoschDlg::schedulesArrived() {
    store().ioBusy = 0;
    m_ioDevices->setEnabled(true);
    SetScheduleData();
    qv::debugLog("HHHHHHHHH -n SetScheduleData");
}

void CIoschDlg::schedulesApplied(int32_t value) {
    store().ioBusy = 0;
    if (value == qv::result::kSuccess)
        prompt().notice(qv::uiText(StringId::ScheduleUploaded));
}

void CIoschDlg::serverTimeArrived(int32_t secondsSince1970) {
    SetTimeText(qv::fromUtf8(qv::formatServerTime(secondsSince1970)));
}

void CIoschDlg::SetIOListData() {
    // The IO device list is built by the IO schedule page's own work (the device records and
    // their status text); until then the store holds the list and there is nothing to rebuild.
}

void CIoschDlg::SetScheduleData() {
    // Likewise the schedule list and its count line.
}

void CIoschDlg::SetTimeText(const QString& text) {
    m_clock->SetTimeText(text);
}

void CIoschDlg::onClockTick() {
    // No time request while an IO list or schedule upload is waiting for its answer.
    if (store().ioBusy == 0 && store().isConnected())
        store().send(qv::request::readTime());
}

void CIoschDlg::onRefresh() {
    m_refresh->setEnabled(false);
    if (store().isConnected()) {
        store().ioBusy = 1;
        store().send(qv::request::readIoList());
    }
}

void CIoschDlg::closeEvent(QCloseEvent* event) {
    // Closing hides the window; it lives as long as the main window.
    event->ignore();
    hide();
}
