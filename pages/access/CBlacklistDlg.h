#pragma once

#include "CPageDlg.h"
#include "UnappliedEdits.h"
#include "access/BlacklistRules.h"

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Page 10: the blacklist that the appliance reports (upper list: shown, copied from, cleared on
// the appliance) and the firewall's Block IP list (lower list: edited in the store's table and
// sent whole with Apply). Block IP edits that the appliance has not confirmed are marked beside
// Apply and are never dropped without the operator's word.
class CBlacklistDlg : public CPageDlg {
    Q_OBJECT
public:
    CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Rebuild the upper list from the store's blacklist entries (reply 27) and the lower list
    // from the store's Block IP table (reply 29). A Block IP table that arrives over unapplied
    // edits asks whether to keep them, once for one table from the appliance.
    void refreshBlacklist();
    void refreshBlockList();
    // The appliance answered Apply (event 27) with `value`; 101 means it took the table.
    void applyResult(int32_t value);

    bool confirmLeave() override;
    void linkEnded() override;

    // True while the Block IP list differs from what the appliance last sent or confirmed.
    bool hasUnappliedChanges() const { return m_edits.unapplied(); }

protected:
private:
    void onAdd();
    void onEdit();
    void onDelete();
    void onAddSelected();
    void onApply();
    void onClearAll();
    void onBlacklistRowChanged(int row);
    void onBlockRowChanged(int row);

    void rebuildBlockList();
    void updateMarker();
    void noteEdit();
    // Shows a refusal; false when the verdict is not an acceptance.
    bool accepted(const qv::blacklist::Verdict& verdict);
    static std::vector<int> selectedRows(const QTableWidget* list);

    QTableWidget* m_blacklist;
    QTableWidget* m_blockList;
    QLineEdit* m_addAddress;
    QLineEdit* m_editAddress;
    QPushButton* m_addSelected;
    QPushButton* m_clearAll;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_apply;
    QLabel* m_unappliedMarker;

    // The list indexes last reported by each list (-1 when the page is created).
    int m_blacklistCurrentRow = -1;
    int m_blockCurrentRow = -1;
    // A list is being rebuilt: its notifications are not the operator's.
    bool m_rebuilding = false;

    // The Block IP edits not applied yet: a fresh table, a lost link or leaving the page asks
    // before dropping them. The blacklist clear reads the lists three times; one question.
    qv::UnappliedEdits<qv::BlockIpTable> m_edits;
};
