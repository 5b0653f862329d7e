#pragma once

#include "CPageDlg.h"
#include "upload/UpdateSteps.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

// Page 6: software and firmware update of the appliance, followed stage by stage.
class CUpdateDlg : public CPageDlg {
    Q_OBJECT
public:
    CUpdateDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Applies a software update progress report (reply 13) to the status fields and the
    // Update start button; returns the string id of the message to show, 0 for none.
    int applyProgress(int32_t value);
    // Ticks the automatic-update box when the appliance reports 1 (reply 16).
    void setAutoUpdate(int32_t value);

private:
    void onUpdateStart();
    void onFirmwareUpdate();
    void onAutoUpdateClicked();

    std::array<QLabel*, qv::update::kStepCount> m_status{};
    QPushButton* m_start;
    QPushButton* m_firmware;
    QCheckBox* m_autoUpdate;
};
