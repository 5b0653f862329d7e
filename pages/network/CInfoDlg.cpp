#include "pages/network/CInfoDlg.h"

#include "core/network/InfoRules.h"
#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/KeyboardAccess.h"
#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

using qv::StringId;
namespace controls = qv::controls;

namespace {

struct FieldRow {
    CInfoDlg::ControlId id;
    StringId label;
    const char* objectName;
};

// The fields in the order the page shows them.
constexpr FieldRow kFieldRows[] = {
    {CInfoDlg::kFirmwareNumber, StringId::SummaryFirmwareVersion, "firmwareVersion"},
    {CInfoDlg::kDeviceName, StringId::SummaryDeviceName, "deviceName"},
    {CInfoDlg::kSoftwareVersion, StringId::SummarySoftwareVersion, "softwareVersion"},
    {CInfoDlg::kMacAddress, StringId::SummaryMacAddress, "macAddress"},
    {CInfoDlg::kCompany, StringId::SummaryCompany, "company"},
    {CInfoDlg::kDdnsHost, StringId::SummaryDdns, "ddnsHost"},
    {CInfoDlg::kEmail, StringId::SummaryEmail, "email"},
    {CInfoDlg::kMaxCenterIds, StringId::SummaryMaxCenterIds, "maxCenterIds"},
    {CInfoDlg::kMaxSchedules, StringId::SummaryMaxSchedules, "maxSchedules"},
    {CInfoDlg::kMaxStandby, StringId::SummaryMaxStandby, "maxStandby"},
};

} // namespace

CInfoDlg::CInfoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::SummaryTitle), store, prompt, parent) {
    setupControls();
    connect(m_schedule, &QPushButton::clicked, this, &CInfoDlg::scheduleWindowRequested);
    connect(m_backup, &QPushButton::clicked, this, &CInfoDlg::backupRequested);
    connect(m_restore, &QPushButton::clicked, this, &CInfoDlg::restoreRequested);
}

void CInfoDlg::setupControls() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    // The values keep a readable width; the space beyond them stays empty.
    grid->setColumnStretch(2, 1);
    int row = 0;
    for (const FieldRow& f : kFieldRows) {
        QLineEdit* field = controls::lineEdit(f.id, qv::uiText(f.label), f.objectName);
        field->setReadOnly(true);
        // The summary is to read, not to type in: its fields wear the window's colour, as a
        // read-only field does, instead of the white of one that takes input.
        QPalette readOnly = field->palette();
        readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
        field->setPalette(readOnly);
        field->setMinimumWidth(360);
        auto* label = new QLabel(field->accessibleName());
        label->setBuddy(field);
        if (f.id == kFirmwareNumber) {
            field->setVisible(false);
            label->setVisible(false);
        }
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        m_fields[f.id] = field;
        ++row;
    }

    m_schedule = controls::button(kScheduleWindow, qv::uiText(StringId::SummaryScheduleWindow),
                                  "scheduleWindow");
    m_schedule->setVisible(false);
    m_backup = controls::button(kBackup, qv::uiText(StringId::BackupMenu), "backup");
    m_restore = controls::button(kRestore, qv::uiText(StringId::RestoreMenu), "restore");
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(m_backup);
    transfer->addWidget(m_restore);
    transfer->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addWidget(m_schedule, 0, Qt::AlignLeft);
    layout->addSpacing(12);
    layout->addLayout(transfer);
    layout->addStretch();

    std::vector<QWidget*> tabOrder;
    for (const FieldRow& f : kFieldRows)
        tabOrder.push_back(m_fields[f.id]);
    tabOrder.insert(tabOrder.end(), {m_schedule, m_backup, m_restore});
    controls::setTabOrder(this, tabOrder);
}

void CInfoDlg::fill(const qv::NetworkConfigRecord& record) {
    m_record = record;
    const qv::CGlobalData& s = store();
    qv::info::Limits limits;
    limits.maxCenterIds = s.maxCenterIdCount;
    limits.ioScheduleEnabled = s.ioScheduleEnabled;
    limits.maxSchedules = s.maxScheduleCount;
    limits.maxStandby = s.maxStandbyCount;
    const qv::info::SummaryTexts t = qv::info::summaryTexts(record, limits, qv::systemCodePage());
    const std::pair<ControlId, const std::string*> texts[] = {
        {kFirmwareNumber, &t.firmwareNumber},
        {kDeviceName, &t.deviceName},
        {kSoftwareVersion, &t.softwareVersion},
        {kMacAddress, &t.macAddress},
        {kCompany, &t.company},
        {kDdnsHost, &t.ddnsHost},
        {kEmail, &t.email},
        {kMaxCenterIds, &t.maxCenterIds},
        {kMaxSchedules, &t.maxSchedules},
        {kMaxStandby, &t.maxStandby},
    };
    for (const auto& [id, text] : texts) {
        QLineEdit* field = m_fields.at(id);
        field->setText(qv::fromUtf8(*text));
        // Long texts show from their start.
        field->setCursorPosition(0);
    }
}

void CInfoDlg::requestContent() {
    sendIfConnected(qv::request::readSummary());
}
