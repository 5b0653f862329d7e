#pragma once

#include "core/network/WolRules.h"
#include "pages/CTablePageDlg.h"

class QLineEdit;
class QPushButton;
class QTableView;
class StoreTableModel;

// Page 4: the computers the appliance can wake on its local network. The page edits the store's
// Wake-on-LAN table in place; Apply sends it whole. The list can be written to a CSV file and
// read back from one.
class CWolDlg : public CTablePageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kMac = 1018,
        kName = 1020,
        kList = 1021,
        kAdd = 1022,
        kDelete = 1023,
        kApply = 1024,
        kEdit = 1025,
        kExport = 1026,
        kImport = 1027,
        kFind = 1202,
    };

    CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    void requestContent() override;

private:
    void setupControls();
    void reloadTable() override;
    qv::Frame applyRequest() const override;
    void editsDiscarded() override { clearInputs(); }

    void onAdd();
    void onEdit();
    void onDelete();
    void onExport();
    void onImport();
    void onSelectionChanged();

    void clearInputs();
    qv::wol::Input readInputs() const;

    StoreTableModel* m_model;
    QTableView* m_list;
    QLineEdit* m_find;
    QLineEdit* m_name;
    QLineEdit* m_mac;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_apply;
    QPushButton* m_export;
    QPushButton* m_import;

    // The list index last selected; survives refreshes.
    int m_currentRow = 0;
};
