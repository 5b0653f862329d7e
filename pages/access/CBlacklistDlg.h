#pragma once

#include "CPageDlg.h"
#include "access/BlacklistRules.h"

#include <cstdint>
#include <optional>
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
    bool hasUnappliedChanges() const { return m_tracker.unapplied(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAdd();
    void onEdit();
    void onDelete();
    void onAddSelected();
    void onApply();
    void onClearAll();
    void onBlacklistRowChanged(int row);
    void onBlockRowChanged(int row);

    // Takes the fresh table in the store against unapplied edits, asking when it must.
    void takeFreshBlockTable();
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

    qv::blacklist::ChangeTracker m_tracker;
    // The link ended while edits were unapplied; the next table asks about them in those words.
    bool m_linkEndedWithEdits = false;
    // The appliance's table over which the operator chose to keep the edits. The same table
    // arriving again (the blacklist clear reads the lists three times) does not ask again.
    struct Snapshot {
        qv::BlockIpTable table;
        int32_t count = 0;
    };
    std::optional<Snapshot> m_keptOver;
    // A question about a fresh table is open; another table arriving meanwhile waits here.
    bool m_asking = false;
    std::optional<Snapshot> m_pendingFresh;
};
