#pragma once

#include "CPageDlg.h"
#include "UnappliedEdits.h"
#include "network/WolRules.h"

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Page 4: the computers the appliance can wake on its local network. The page edits the store's
// Wake-on-LAN table in place; Apply sends it whole. The list can be written to a CSV file and
// read back from one. Edits the appliance has not confirmed are marked beside Apply and are
// never dropped without the operator's word.
class CWolDlg : public CPageDlg {
    Q_OBJECT
public:
    CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // A Wake-on-LAN table arrived from the appliance (event 6): shows it. When it replaced
    // edits that were never applied, asks whether to keep them.
    void refresh();
    // The appliance answered Apply (event 7) with `value`; 101 means it took the table.
    void applyResult(int32_t value);

    bool confirmLeave() override;
    void linkEnded() override;

    // True while the table differs from what the appliance last sent or confirmed.
    bool hasUnappliedChanges() const { return m_edits.unapplied(); }

protected:
private:
    void onAdd();
    void onEdit();
    void onDelete();
    void onApply();
    void onExport();
    void onImport();
    void onSelectionChanged();

    void rebuildList();
    void updateMarker();
    void clearInputs();
    int selectedRow() const;
    qv::wol::Input readInputs() const;
    bool accepted(const qv::wol::Verdict& verdict);
    void noteEdit();

    QTableWidget* m_list;
    QLineEdit* m_name;
    QLineEdit* m_mac;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_apply;
    QPushButton* m_export;
    QPushButton* m_import;
    QLabel* m_unappliedMarker;

    // The list index last selected; survives refreshes.
    int m_currentRow = 0;
    // The edits not applied yet: a fresh table, a lost link or leaving the page asks before
    // dropping them.
    qv::UnappliedEdits<qv::WolTable> m_edits;
};
