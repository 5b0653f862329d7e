#include "schedule/CIoschDlg.h"

#include "CGlobalData.h"
#include "ControlIds.h"
#include "Requests.h"
#include "schedule/CMyPicStatic.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The appliance's own window title; it is Korean in both languages.
const QString kWindowTitle = QStringLiteral("Quorvel IO ON/OFF 스케줄 관리");

} // namespace

CIoschDlg::CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("IO Schedule"), store, prompt, parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(kWindowTitle);

    m_clock = new CMyPicStatic;
    qv::setControl(m_clock, 1072, m_clock->accessibleName());

    m_ioDevices = new QTableWidget(0, 3);
    m_ioDevices->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("ID"), QStringLiteral("Status")});
    m_ioDevices->setColumnWidth(0, 60);
    m_ioDevices->setColumnWidth(1, 180);
    m_ioDevices->setColumnWidth(2, 100);
    m_ioDevices->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ioDevices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ioDevices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ioDevices->verticalHeader()->hide();
    m_ioDevices->verticalHeader()->setDefaultSectionSize(15);
    qv::setControl(m_ioDevices, 1053, QStringLiteral("IO devices"));

    m_refresh = new QPushButton(QStringLiteral("Refresh"));
    qv::setControl(m_refresh, 1055, m_refresh->text());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_clock);
    layout->addWidget(m_ioDevices, 1);
    layout->addWidget(m_refresh, 0, Qt::AlignLeft);
    resize(420, 520);

    connect(&m_timer3999, &QTimer::timeout, this, &CIoschDlg::onClockTick);
    connect(m_refresh, &QPushButton::clicked, this, &CIoschDlg::onRefresh);
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
