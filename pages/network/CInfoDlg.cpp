#include "network/CInfoDlg.h"

#include "CGlobalData.h"
#include "CodePage.h"
#include "ControlIds.h"
#include "QtText.h"
#include "network/InfoRules.h"
#include "schedule/CIoschDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct FieldRow {
    int id;
    const char* label;
    const char* objectName;
};

// The fields in the order the page shows them; the firmware number (1010) is kept hidden.
constexpr FieldRow kFieldRows[] = {
    {1010, "Firmware Version", "firmwareVersion"},
    {1011, "Device Name", "deviceName"},
    {1012, "S/W Version", "softwareVersion"},
    {1016, "Mac Address", "macAddress"},
    {1013, "Company", "company"},
    {1014, "DDNS", "ddnsHost"},
    {1015, "e-Mail", "email"},
    {1017, "Max Center ID", "maxCenterIds"},
    {1018, "Max Schedule", "maxSchedules"},
    {1019, "Max Standby", "maxStandby"},
};
constexpr int kHiddenField = 1010;
constexpr int kScheduleButton = 1052;

} // namespace

CInfoDlg::CInfoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Product Summary"), store, prompt, parent) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    // The values keep a readable width; the space beyond them stays empty.
    grid->setColumnStretch(2, 1);
    int row = 0;
    for (const FieldRow& f : kFieldRows) {
        const QString caption = QString::fromLatin1(f.label);
        auto* field = new QLineEdit;
        field->setReadOnly(true);
        field->setMinimumWidth(360);
        field->setObjectName(QString::fromLatin1(f.objectName));
        qv::setControl(field, f.id, caption);
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        if (f.id == kHiddenField) {
            field->setVisible(false);
            label->setVisible(false);
        }
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        m_fields[f.id] = field;
        ++row;
    }

    m_schedule = new QPushButton(QStringLiteral("ON/OFF Schedule"));
    m_schedule->setObjectName(QStringLiteral("scheduleWindow"));
    qv::setControl(m_schedule, kScheduleButton, m_schedule->text());
    m_schedule->setAutoDefault(false);
    m_schedule->setVisible(false);
    connect(m_schedule, &QPushButton::clicked, this, &CInfoDlg::openScheduleWindow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addWidget(m_schedule, 0, Qt::AlignLeft);
    layout->addStretch();
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
    const std::pair<int, const std::string*> texts[] = {
        {1010, &t.firmwareNumber}, {1011, &t.deviceName},   {1012, &t.softwareVersion},
        {1016, &t.macAddress},     {1013, &t.company},      {1014, &t.ddnsHost},
        {1015, &t.email},          {1017, &t.maxCenterIds}, {1018, &t.maxSchedules},
        {1019, &t.maxStandby},
    };
    for (const auto& [id, text] : texts) {
        QLineEdit* field = m_fields.at(id);
        field->setText(qv::fromUtf8(*text));
        // Long texts show from their start.
        field->setCursorPosition(0);
    }
}

void CInfoDlg::openScheduleWindow() {
    // A window of its own over the summary, showing the IO devices and schedules the store
    // holds; closing hides it, and nothing is read back.
    if (m_scheduleWindow == nullptr) {
        m_scheduleWindow = new CIoschDlg(store(), prompt(), this);
        m_scheduleWindow->setWindowModality(Qt::ApplicationModal);
    }
    m_scheduleWindow->SetIOListData();
    m_scheduleWindow->SetScheduleData();
    m_scheduleWindow->show();
    m_scheduleWindow->raise();
}
