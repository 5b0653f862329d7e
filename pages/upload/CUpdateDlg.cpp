#include "upload/CUpdateDlg.h"

#include "CGlobalData.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kStart = QStringLiteral("Start");
const QString kFinished = QStringLiteral("Finished");

// Row label of each stage: a string id, or a fixed program name.
struct StageRow {
    int labelId;
    int stringId;
    const char* fixed;
};
constexpr std::array<StageRow, qv::update::kStepCount> kStages{{
    {1087, 125, nullptr},
    {-1, 0, "center.exe"},
    {-1, 0, "client.exe"},
    {-1, 0, "Watch Dog"},
    {-1, 0, "Active-X"},
    {1088, 126, nullptr},
    {-1, 0, "CGI"},
    {1089, 127, nullptr},
}};
// The CGI stage runs on the appliance but its row stays hidden, as on the appliance's own
// console.
constexpr int kHiddenStage = 6;

} // namespace

CUpdateDlg::CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Quorvel Update"), store, prompt, parent) {
    auto* caption = new QLabel(qv::uiText(124));
    qv::setControl(caption, 1086, caption->text());

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(24);
    for (int i = 0; i < qv::update::kStepCount; ++i) {
        const StageRow& stage = kStages[static_cast<size_t>(i)];
        const QString name =
            stage.fixed ? QString::fromLatin1(stage.fixed) : qv::uiText(stage.stringId);
        auto* label = new QLabel(name);
        if (stage.labelId > 0)
            qv::setControl(label, stage.labelId, name);
        auto* status = new QLabel;
        status->setFixedWidth(160);
        status->setFrameShape(QFrame::StyledPanel);
        qv::setControl(status, 1040 + i, name);
        status->setAccessibleDescription(qv::uiText(124));
        label->setBuddy(status);
        rows->addWidget(label, i, 0);
        rows->addWidget(status, i, 1);
        m_status[static_cast<size_t>(i)] = status;
        if (i == kHiddenStage) {
            label->hide();
            status->hide();
        }
    }

    rows->setColumnStretch(2, 1);

    auto* software = new QGroupBox(QStringLiteral("SW Update"));
    auto* softwareLayout = new QVBoxLayout(software);
    softwareLayout->addWidget(caption);
    softwareLayout->addLayout(rows);
    m_start = new QPushButton(qv::uiText(128));
    qv::setControl(m_start, 1032, m_start->text());
    softwareLayout->addWidget(m_start, 0, Qt::AlignLeft);
    m_autoUpdate = new QCheckBox(qv::uiText(122));
    qv::setControl(m_autoUpdate, 1051, m_autoUpdate->text().trimmed());
    m_autoUpdate->hide();
    softwareLayout->addWidget(m_autoUpdate);

    auto* firmware = new QGroupBox(QStringLiteral("Firmware Update"));
    auto* firmwareLayout = new QHBoxLayout(firmware);
    m_firmware = new QPushButton(qv::uiText(123));
    qv::setControl(m_firmware, 1033, m_firmware->text());
    firmwareLayout->addWidget(m_firmware, 0, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(software);
    layout->addWidget(firmware);
    layout->addStretch();

    connect(m_start, &QPushButton::clicked, this, &CUpdateDlg::onUpdateStart);
    connect(m_firmware, &QPushButton::clicked, this, &CUpdateDlg::onFirmwareUpdate);
    connect(m_autoUpdate, &QCheckBox::clicked, this, &CUpdateDlg::onAutoUpdateClicked);
}

int CUpdateDlg::applyProgress(int32_t value) {
    const qv::update::ProgressEffect effect = qv::update::progressEffect(value);
    for (size_t i = 0; i < m_status.size(); ++i)
        if (effect.steps[i])
            m_status[i]->setText(*effect.steps[i] == qv::update::StepState::Start ? kStart
                                                                                  : kFinished);
    if (effect.runEnded)
        m_start->setEnabled(true);
    return effect.message;
}

void CUpdateDlg::setAutoUpdate(int32_t value) {
    m_autoUpdate->setChecked(value == 1);
}

void CUpdateDlg::onUpdateStart() {
    if (!store().link)
        return;
    for (QLabel* status : m_status)
        status->clear();
    if (store().isConnected())
        store().send(qv::request::startUpdate());
    // Enabled again only when the appliance reports the end of the run.
    m_start->setEnabled(false);
}

void CUpdateDlg::onFirmwareUpdate() {
    if (!prompt().question(qv::uiText(191)))
        return;
    if (store().isConnected())
        store().send(qv::request::startFirmwareUpdate());
}

void CUpdateDlg::onAutoUpdateClicked() {
    if (store().isConnected())
        store().send(qv::request::writeAutoUpdate(m_autoUpdate->isChecked()));
}
