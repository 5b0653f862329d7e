#pragma once

#include "CPageDlg.h"
#include "UnappliedEdits.h"
#include "access/CenterIdRules.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Page 3: the center IDs, the operator accounts that the relay server admits. The page edits the
// store's center ID table in place; Apply sends it whole. Edits that the appliance has not
// confirmed are marked beside Apply and are never dropped without the operator's word.
class CCenteridDlg : public CPageDlg {
    Q_OBJECT
public:
    CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // A center ID table arrived from the appliance (event 4): shows it. When it replaced edits
    // that were never applied, asks whether to keep them.
    void refresh();
    // The appliance answered Apply (event 5) with `value`; 101 means it took the table.
    void applyResult(int32_t value);

    // Asks before unapplied edits are thrown away; false keeps the page.
    bool confirmLeave() override;
    // The link ended: the edits stay in the store and in the page until the operator decides.
    void linkEnded() override;

    // True while the table differs from what the appliance last sent or confirmed.
    bool hasUnappliedChanges() const { return m_edits.unapplied(); }

protected:
private:
    void onAdd();
    void onEdit();
    void onDel();
    void onApply();
    void onSelectionChanged();
    void onPasswordChanged(const QString& text);

    // Rebuilds the list from the store and updates the marker.
    void rebuildList();
    void updateMarker();
    void clearInputs();
    int selectedRow() const;
    qv::centerid::Input readInputs() const;
    // Shows a refusal; false when the verdict is not an acceptance.
    bool accepted(const qv::centerid::Verdict& verdict);
    void noteEdit();

    QTableWidget* m_list;
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
    QLabel* m_unappliedMarker;

    // The list index last selected (-1 when the page is created); survives refreshes.
    int m_currentRow = -1;
    // The edits not applied yet: a fresh table, a lost link or leaving the page asks before
    // dropping them.
    qv::UnappliedEdits<qv::CenterIdTable> m_edits;
    // A row's stored password is being shown, not typed.
    bool m_loadingRow = false;
};
