#include "upload/CUpdateDlg.h"

#include "CGlobalData.h"
#include "ControlFactory.h"
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

using qv::StringId;
namespace controls = qv::controls;

namespace {

// Row label of each stage and its control id (0: the label has none).
struct StageRow {
    int labelId;
    StringId name;
};
constexpr std::array<StageRow, qv::update::kStepCount> kStages{{
    {CUpdateDlg::kRelayServerLabel, StringId::UpdateRelayServer},
    {0, StringId::UpdateCenterProgram},
    {0, StringId::UpdateClientProgram},
    {0, StringId::UpdateWatchDog},
    {0, StringId::UpdateActiveX},
    {CUpdateDlg::kSettingProgramLabel, StringId::UpdateSettingProgram},
    {0, StringId::UpdateCgi},
    {CUpdateDlg::kFinalStepLabel, StringId::UpdateFinalStep},
}};
// The CGI stage runs on the appliance but its row stays hidden, as on the appliance's own
// console.
constexpr int kHiddenStage = 6;

} // namespace

CUpdateDlg::CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::UpdateTitle), store, prompt, parent) {
    setupControls();
    connect(m_start, &QPushButton::clicked, this, &CUpdateDlg::onUpdateStart);
    connect(m_firmware, &QPushButton::clicked, this, &CUpdateDlg::onFirmwareUpdate);
    connect(m_autoUpdate, &QCheckBox::clicked, this, &CUpdateDlg::onAutoUpdateClicked);
}

void CUpdateDlg::setupControls() {
    const QString state = qv::uiText(StringId::UpdateState);
    auto* caption = new QLabel(state);
    qv::setControl(caption, kStateCaption, state);
    m_start = controls::button(kStart, qv::uiText(StringId::UpdateStart), "updateStart");
    m_autoUpdate =
        controls::checkBox(kAutoUpdate, qv::uiText(StringId::NoAutoUpdate), "autoUpdate");
    // The caption's leading blank is spacing, not a word for a screen reader.
    m_autoUpdate->setAccessibleName(m_autoUpdate->text().trimmed());
    m_autoUpdate->hide();
    m_firmware = controls::button(kFirmware, qv::uiText(StringId::FirmwareUpdate), "firmware");
    // Unlike the other pages' buttons, these two keep the default-button behaviour this page has
    // always had inside the main window: Enter on the page presses Update start.
    m_start->setAutoDefault(true);
    m_firmware->setAutoDefault(true);

    auto* software = new QGroupBox(qv::uiText(StringId::UpdateSoftwareGroup));
    auto* softwareLayout = new QVBoxLayout(software);
    softwareLayout->addWidget(caption);
    softwareLayout->addLayout(stageRows());
    softwareLayout->addWidget(m_start, 0, Qt::AlignLeft);
    softwareLayout->addWidget(m_autoUpdate);

    auto* firmware = new QGroupBox(qv::uiText(StringId::UpdateFirmwareGroup));
    auto* firmwareLayout = new QHBoxLayout(firmware);
    firmwareLayout->addWidget(m_firmware, 0, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(software);
    layout->addWidget(firmware);
    layout->addStretch();
}

QGridLayout* CUpdateDlg::stageRows() {
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(24);
    for (int i = 0; i < qv::update::kStepCount; ++i) {
        const StageRow& stage = kStages[static_cast<size_t>(i)];
        const QString name = qv::uiText(stage.name);
        auto* label = new QLabel(name);
        if (stage.labelId != 0)
            qv::setControl(label, stage.labelId, name);
        auto* status = new QLabel;
        status->setFixedWidth(160);
        status->setFrameShape(QFrame::StyledPanel);
        qv::setControl(status, kFirstStepStatus + i, name);
        status->setAccessibleDescription(qv::uiText(StringId::UpdateState));
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
    return rows;
}

std::optional<StringId> CUpdateDlg::applyProgress(int32_t value) {
    const qv::update::ProgressEffect effect = qv::update::progressEffect(value);
    for (size_t i = 0; i < m_status.size(); ++i)
        if (effect.steps[i])
            m_status[i]->setText(qv::uiText(*effect.steps[i] == qv::update::StepState::Start
                                                ? StringId::UpdateStepStarted
                                                : StringId::UpdateStepFinished));
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
    if (!prompt().question(qv::uiText(StringId::FirmwareUpdateQuestion)))
        return;
    if (store().isConnected())
        store().send(qv::request::startFirmwareUpdate());
}

void CUpdateDlg::onAutoUpdateClicked() {
    if (store().isConnected())
        store().send(qv::request::writeAutoUpdate(m_autoUpdate->isChecked()));
}
