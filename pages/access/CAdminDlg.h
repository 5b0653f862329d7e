#pragma once

#include "CPageDlg.h"

class QLineEdit;

// Page 2: the administrator's own ID and password.
class CAdminDlg : public CPageDlg {
    Q_OBJECT
public:
    CAdminDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Empties the new ID (1012), new password (1013) and retyped password (1014) boxes; the
    // main window does it each time it shows the page.
    void clearEdits();

private:
    QLineEdit* m_newId;
    QLineEdit* m_newPassword;
    QLineEdit* m_retype;
};
