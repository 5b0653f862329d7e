#pragma once

#include "core/access/CenterIdRules.h"
#include "pages/CTablePageDlg.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class StoreTableModel;

// Page 3: the center IDs, the operator accounts that the relay server admits. The page edits the
// store's center ID table in place; Apply sends it whole.
class CCenteridDlg : public CTablePageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kList = 1013,
        kAdd = 1014,
        kDel = 1015,
        kId = 1016,
        kApply = 1017,
        kPassword = 1018,
        kName = 1019,
        kEdit = 1020,
        kGroup = 1041,
        kSuperUser = 1042,
        kProhibitFileTransfer = 1043,
        kProhibitLogDeletion = 1044,
        kFind = 1201,
    };

    CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    void requestContent() override;

private:
    void setupControls();
    void reloadTable() override;
    qv::Frame applyRequest() const override;
    void editsDiscarded() override { clearInputs(); }

    void onAdd();
    void onEdit();
    void onDel();
    void onSelectionChanged();
    void onPasswordChanged(const QString& text);

    void clearInputs();
    qv::centerid::Input readInputs() const;

    StoreTableModel* m_model;
    QTableView* m_list;
    QLineEdit* m_find;
    QLineEdit* m_id;
    QLineEdit* m_password;
    QLineEdit* m_name;
    QComboBox* m_group;
    QCheckBox* m_superUser;
    QCheckBox* m_prohibitFileTransfer;
    QCheckBox* m_prohibitLogDeletion;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_del;
    QPushButton* m_apply;

    // The list index last selected (-1 when the page is created); survives refreshes.
    int m_currentRow = -1;
    // A row's stored password is being shown, not typed.
    bool m_loadingRow = false;
};
