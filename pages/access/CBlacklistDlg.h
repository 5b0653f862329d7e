#pragma once

#include "core/access/BlacklistRules.h"
#include "pages/CTablePageDlg.h"

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;
class StoreTableModel;

// Page 10: the blacklist that the appliance reports (upper list: shown, copied from, cleared on
// the appliance) and the firewall's Block IP list (lower list: edited in the store's table and
// sent whole with Apply). The Block IP list is the table the page base guards: tableArrived()
// and applyAnswered() are about it.
class CBlacklistDlg : public CTablePageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kBlacklist = 1090,
        kBlockList = 1091,
        kAddAddress = 1092,
        kAdd = 1093,
        kDelete = 1094,
        kApply = 1095,
        kEditAddress = 1096,
        kEdit = 1097,
        kClearAll = 1098,
        kAddSelected = 1099,
        kBlacklistFind = 1203,
        kBlockListFind = 1204,
    };

    CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // The appliance answers with the blacklist and the Block IP list.
    void requestContent() override;

    // The blacklist entries in the store changed (the appliance sent them): the upper list
    // shows them, with nothing chosen.
    void blacklistArrived();

private:
    void setupControls();
    void reloadTable() override;
    qv::Frame applyRequest() const override;

    void onAdd();
    void onEdit();
    void onDelete();
    void onAddSelected();
    void onClearAll();
    void onBlacklistRowChanged(int row);
    void onBlockRowChanged(int row);
    // False when `address` (ANSI) is the client's own and the operator does not want it blocked.
    bool confirmBlocking(const std::string& address);

    // Reloads `model` with nothing chosen in `view`; the view's notifications meanwhile are not
    // the operator's.
    void reloadUnselected(StoreTableModel* model, QTableView* view);

    StoreTableModel* m_blacklistModel;
    StoreTableModel* m_blockModel;
    QTableView* m_blacklist;
    QTableView* m_blockList;
    QLineEdit* m_blacklistFind;
    QLineEdit* m_blockListFind;
    QLineEdit* m_addAddress;
    QLineEdit* m_editAddress;
    QPushButton* m_addSelected;
    QPushButton* m_clearAll;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_apply;

    // The list indexes last reported by each list (-1 when the page is created).
    int m_blacklistCurrentRow = -1;
    int m_blockCurrentRow = -1;
    // A list is being rebuilt: its notifications are not the operator's.
    bool m_rebuilding = false;
};
