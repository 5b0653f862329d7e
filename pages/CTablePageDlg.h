#pragma once

#include "core/Verdict.h"
#include "pages/CPageDlg.h"
#include "pages/QtText.h"
#include "pages/UnappliedEdits.h"

#include <cstdint>
#include <memory>

class QLabel;

namespace qv {
struct Frame;
}

// Base of the pages that edit one of the store's tables and send it whole with Apply (center
// IDs, Wake-on-LAN targets, the Block IP list). It owns the guard of the edits the appliance
// has not taken yet and the marker beside Apply that shows them: a fresh table, a lost link or
// leaving the page never drops them without the operator's word. A page adds its controls, its
// checks and its one list.
class CTablePageDlg : public CPageDlg {
    Q_OBJECT
public:
    // The appliance sent its table; it is in the store. Shows it, and asks first when it
    // replaced edits that were never applied.
    void tableArrived();
    // The appliance answered Apply with `value`; success means it took the table. Any other
    // answer is said, and the edits stay marked.
    void applyAnswered(int32_t value);

    // Asks before unapplied edits are thrown away; false keeps the page.
    bool confirmLeave() override;
    // The link ended: the edits stay in the store and in the page until the operator decides.
    void linkEnded() override;

    // True while the table differs from what the appliance last sent or confirmed.
    bool hasUnappliedChanges() const { return m_edits->unapplied(); }

protected:
    CTablePageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
                  std::unique_ptr<qv::UnappliedEditsGuard> edits, const QString& markerText,
                  QWidget* parent);

    // Reads the page's list again from the store.
    virtual void reloadTable() = 0;
    // The operator threw the edits away: the list shows the appliance's table again.
    virtual void editsDiscarded() {}

    // The page changed the store's table.
    void noteEdit();
    // Apply: sends the store's table while the link is up, and remembers what was sent.
    void sendTable(const qv::Frame& frame);
    // Shows a refusal of the rules; false unless the verdict accepts.
    bool accepted(const qv::Verdict& verdict) {
        if (verdict.kind == qv::Verdict::Kind::Refused)
            showRefusal(qv::uiText(verdict.message));
        return verdict.ok();
    }

    // The marker for the page's layout, beside Apply.
    QLabel* unappliedMarker() const { return m_marker; }

private:
    void showRefusal(const QString& text);
    void reloadAndMark();

    std::unique_ptr<qv::UnappliedEditsGuard> m_edits;
    QLabel* m_marker;
};
