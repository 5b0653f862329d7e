#pragma once

#include "pages/CPageDlg.h"

class QLineEdit;
class QPushButton;

// Page 2: the administrator's own ID and password. Apply checks what was typed and asks the
// appliance to take the new pair; its answer arrives as event 3 and the dispatcher reports it.
class CAdminDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kApply = 1011,
        kNewId = 1012,
        kNewPassword = 1013,
        kRetype = 1014, // the new password typed again
    };

    CAdminDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Empties the new ID, new password and retyped password boxes; the main window does it each
    // time it shows the page.
    void clearEdits();

private:
    void setupControls();
    void onApply();

    QLineEdit* m_newId;
    QLineEdit* m_newPassword;
    QLineEdit* m_retype;
    QPushButton* m_apply;
};
