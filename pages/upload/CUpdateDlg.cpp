#include "pages/upload/CUpdateDlg.h"

#include "link/CGlobalData.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

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

// The control id of each stage's row label (0: the label has none).
constexpr std::array<int, qv::update::kStepCount> kStageLabelIds{
    CUpdateDlg::kRelayServerLabel, 0, 0, 0, 0, CUpdateDlg::kSettingProgramLabel, 0,
    CUpdateDlg::kFinalStepLabel};
// The CGI stage runs on the appliance but its row stays hidden, as on the appliance's own
// console.
constexpr int kHiddenStage = 6;
// The running time of an update is shown to the second.
constexpr int kElapsedTickMs = 1000;

} // namespace

CUpdateDlg::CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::UpdateTitle), store, prompt, parent) {
    setupControls();
    connect(m_start, &QPushButton::clicked, this, &CUpdateDlg::onUpdateStart);
    connect(m_firmware, &QPushButton::clicked, this, &CUpdateDlg::onFirmwareUpdate);
    connect(m_autoUpdate, &QCheckBox::clicked, this, &CUpdateDlg::onAutoUpdateClicked);
    m_elapsedTicker.setInterval(kElapsedTickMs);
    connect(&m_elapsedTicker, &QTimer::timeout, this, &CUpdateDlg::showElapsed);
    // Enter on the page must never start an update of the appliance.
    dropEnterAndEscape();
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
    m_firmware = controls::button(kFirmware, qv::uiText(StringId::FirmwareUpdate), "firmware");
    m_elapsed = new QLabel;
    qv::setControl(m_elapsed, kElapsed, state);
    m_versionChange = new QLabel;
    qv::setControl(m_versionChange, kVersionChange, qv::uiText(StringId::UpdateTitle));
    // The versions are the appliance's own texts.
    m_versionChange->setTextFormat(Qt::PlainText);
    m_versionChange->setWordWrap(true);
    m_versionChange->hide();

    auto* software = new QGroupBox(qv::uiText(StringId::UpdateSoftwareGroup));
    auto* softwareLayout = new QVBoxLayout(software);
    softwareLayout->addWidget(caption);
    softwareLayout->addLayout(stageRows());
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start);
    startRow->addWidget(m_elapsed, 1);
    softwareLayout->addLayout(startRow);
    softwareLayout->addWidget(m_autoUpdate);

    auto* firmware = new QGroupBox(qv::uiText(StringId::UpdateFirmwareGroup));
    auto* firmwareLayout = new QHBoxLayout(firmware);
    firmwareLayout->addWidget(m_firmware, 0, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(software);
    layout->addWidget(firmware);
    layout->addWidget(m_versionChange);
    layout->addStretch();

    controls::setTabOrder(this, {m_start, m_autoUpdate, m_firmware});
}

QGridLayout* CUpdateDlg::stageRows() {
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(24);
    for (int i = 0; i < qv::update::kStepCount; ++i) {
        const auto stage = static_cast<size_t>(i);
        const QString name = qv::uiText(qv::update::kStepNames[stage]);
        auto* label = new QLabel(name);
        if (kStageLabelIds[stage] != 0)
            qv::setControl(label, kStageLabelIds[stage], name);
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
        endRun();
    return effect.message;
}

void CUpdateDlg::setAutoUpdate(int32_t value) {
    m_autoUpdate->setChecked(value == 1);
}

void CUpdateDlg::onUpdateStart() {
    // Nothing sent, nothing to wait for: the button stays as it is.
    if (!store().isConnected() || !store().send(qv::request::startUpdate()))
        return;
    for (QLabel* status : m_status)
        status->clear();
    // Enabled again when the appliance reports the end of the run, or the link ends.
    m_start->setEnabled(false);
    m_runClock.start();
    showElapsed();
    m_elapsedTicker.start();
    noteUpdateSent();
}

void CUpdateDlg::onFirmwareUpdate() {
    if (!prompt().question(qv::uiText(StringId::FirmwareUpdateQuestion)))
        return;
    // The window waits for the appliance to come back once it reports the firmware written.
    if (store().isConnected() && store().send(qv::request::startFirmwareUpdate()))
        noteUpdateSent();
}

void CUpdateDlg::onAutoUpdateClicked() {
    if (store().isConnected())
        store().send(qv::request::writeAutoUpdate(m_autoUpdate->isChecked()));
}

void CUpdateDlg::linkEnded() {
    // No report can come on a link that ended: the run is over as far as this page can tell.
    endRun();
    m_loggedOnAgain = !m_versionBeforeUpdate.isEmpty();
}

void CUpdateDlg::endRun() {
    m_start->setEnabled(true);
    m_elapsedTicker.stop();
}

void CUpdateDlg::showElapsed() {
    const qint64 seconds = m_runClock.elapsed() / 1000;
    m_elapsed->setText(qv::uiText(StringId::UpdateElapsed)
                           .arg(QStringLiteral("%1:%2")
                                    .arg(seconds / 60)
                                    .arg(seconds % 60, 2, 10, QLatin1Char('0'))));
}

void CUpdateDlg::noteUpdateSent() {
    m_versionBeforeUpdate = m_lastVersion;
    m_versionChange->hide();
}

void CUpdateDlg::versionReported(const QString& version) {
    m_lastVersion = version;
    if (!m_loggedOnAgain)
        return;
    m_versionChange->setText(
        qv::uiText(StringId::UpdateVersionChange).arg(m_versionBeforeUpdate, version));
    m_versionChange->show();
    m_loggedOnAgain = false;
    m_versionBeforeUpdate.clear();
}

void CUpdateDlg::requestContent() {
    sendIfConnected(qv::request::readAutoUpdate());
}
