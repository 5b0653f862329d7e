#pragma once

#include "core/upload/UpdateSteps.h"
#include "pages/CPageDlg.h"

#include <QElapsedTimer>
#include <QTimer>

#include <array>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;

// Page 6: software and firmware update of the appliance, followed stage by stage.
class CUpdateDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kStart = 1032,
        kFirmware = 1033,
        kFirstStepStatus = 1040, // 1040..1047: the status of each stage, in stage order
        kAutoUpdate = 1051,
        kStateCaption = 1086,
        kRelayServerLabel = 1087,
        kSettingProgramLabel = 1088,
        kFinalStepLabel = 1089,
        kElapsed = 1305,
        kVersionChange = 1306,
    };

    CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // The automatic update setting.
    void requestContent() override;

    // Applies a software update progress report (reply 13) to the status fields and the
    // Update start button; returns the message to show, if any.
    std::optional<qv::StringId> applyProgress(int32_t value);
    // Ticks the automatic-update box when the appliance reports 1 (reply 16).
    void setAutoUpdate(int32_t value);
    // The software version of the summary the appliance sent (at every logon). After an update,
    // the first one that comes after a new logon is shown beside the version that ran before.
    void versionReported(const QString& version);
    void linkEnded() override;
    bool running() const { return m_elapsedTicker.isActive(); }

private:
    void setupControls();
    QGridLayout* stageRows();
    void onUpdateStart();
    void onFirmwareUpdate();
    void onAutoUpdateClicked();
    void endRun();
    void showElapsed();
    // The version that runs now is the one to compare with after the update.
    void noteUpdateSent();

    std::array<QLabel*, qv::update::kStepCount> m_status{};
    QPushButton* m_start;
    QPushButton* m_firmware;
    QCheckBox* m_autoUpdate;
    QLabel* m_elapsed;
    QLabel* m_versionChange;
    QTimer m_elapsedTicker;
    QElapsedTimer m_runClock;
    QString m_lastVersion;
    // Set once an update was sent; the comparison waits for the summary of the next logon.
    QString m_versionBeforeUpdate;
    bool m_loggedOnAgain = false;
};
