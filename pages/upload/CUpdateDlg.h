#pragma once

#include "CPageDlg.h"
#include "upload/UpdateSteps.h"

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
        kAutoUpdate = 1051,      // hidden
        kStateCaption = 1086,
        kRelayServerLabel = 1087,
        kSettingProgramLabel = 1088,
        kFinalStepLabel = 1089,
    };

    CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Applies a software update progress report (reply 13) to the status fields and the
    // Update start button; returns the message to show, if any.
    std::optional<qv::StringId> applyProgress(int32_t value);
    // Ticks the automatic-update box when the appliance reports 1 (reply 16).
    void setAutoUpdate(int32_t value);

private:
    void setupControls();
    QGridLayout* stageRows();
    void onUpdateStart();
    void onFirmwareUpdate();
    void onAutoUpdateClicked();

    std::array<QLabel*, qv::update::kStepCount> m_status{};
    QPushButton* m_start;
    QPushButton* m_firmware;
    QCheckBox* m_autoUpdate;
};
