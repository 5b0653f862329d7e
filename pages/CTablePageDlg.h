#pragma once

#include "core/Verdict.h"
#include "pages/CPageDlg.h"
#include "pages/QtText.h"
#include "pages/UnappliedEdits.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLabel;

namespace qv {
struct Frame;
}

// Base of the pages that edit one of the store's tables and send it whole with Apply (center
// IDs, Wake-on-LAN targets, the Block IP list, the IO schedules). It owns the guard of the edits
// the appliance has not taken yet and the marker beside Apply that shows them: a fresh table, a
// lost link or leaving the page never drops them without the operator's word. It also sends
// Apply, says the appliance's answer to it, and takes rows out of the table. A page adds its
// controls, its checks and its lists.
class CTablePageDlg : public CPageDlg {
    Q_OBJECT
public:
    // The appliance sent its table; it is in the store. Shows it, and asks first when it
    // replaced edits that were never applied.
    void tableArrived();
    // The appliance answered Apply with `value`; success means it took the table and is said in
    // the page's words. Any other answer is said too, and the edits stay marked.
    void applyAnswered(int32_t value);

    // Asks before unapplied edits are thrown away; false keeps the page.
    bool confirmLeave() override;
    // The link ended: the edits stay in the store and in the page until the operator decides.
    void linkEnded() override;

    // True while the table differs from what the appliance last sent or confirmed.
    bool hasUnappliedChanges() const { return m_edits->unapplied(); }

protected:
    // `applied` is what the page says when the appliance took its table.
    CTablePageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
                  std::unique_ptr<qv::UnappliedEditsGuard> edits, const QString& markerText,
                  qv::StringId applied, QWidget* parent);

    // Reads the page's list again from the store.
    virtual void reloadTable() = 0;
    // The request that writes the store's table to the appliance, whole.
    virtual qv::Frame applyRequest() const = 0;
    // The operator threw the edits away: the list shows the appliance's table again.
    virtual void editsDiscarded() {}
    // An answer about the table came (the table or Apply's answer), before it is looked at.
    virtual void tableAnswerArrived() {}
    // The appliance did not take the table; it answered `value`. Said by default, since the
    // marker alone does not tell the operator that Apply failed.
    virtual void applyRefused(int32_t value);

    // The page changed the store's table.
    void noteEdit();
    // Apply: sends the store's table while the link is up, and remembers what was sent. False
    // when it did not go out.
    bool apply();
    // Throws the unapplied edits away and shows the appliance's table again.
    void discardEdits();
    // Shows a refusal of the rules; false unless the verdict accepts.
    bool accepted(const qv::Verdict& verdict) {
        if (verdict.kind == qv::Verdict::Kind::Refused)
            showRefusal(qv::uiText(verdict.stringId));
        return verdict.ok();
    }

    // How a page's rules take rows out of its table.
    struct RowDeletion {
        std::function<qv::Verdict(int row)> checkOne;
        std::function<void(int row)> deleteOne;
        std::function<qv::Verdict(const std::vector<int>& rows)> checkSeveral;
        std::function<void(const std::vector<int>& rows)> deleteSeveral;
        // Asked before several rows go, with their number for %1.
        qv::StringId severalQuestion;
    };
    // Delete: `chosen` are the store rows selected in the list, `row` the one chosen row (-1
    // when none is). One row goes without a question; several chosen at once are asked about
    // first, since a slip of Shift or Ctrl would otherwise take entries with it. True when rows
    // went.
    bool deleteChosen(const std::vector<int>& chosen, int row, const RowDeletion& rules);
    // Takes rows out with `remove` once the rules' `verdict` accepts and the operator says yes
    // to `question`. A table that arrives while the question is open replaced the rows that
    // were chosen: then nothing goes. True when rows went.
    bool deleteAfterAsking(const qv::Verdict& verdict, const QString& question,
                           const std::function<void()>& remove);

    // The marker for the page's layout, beside Apply.
    QLabel* unappliedMarker() const { return m_marker; }

private:
    void showRefusal(const QString& text);
    void reloadAndMark();

    std::unique_ptr<qv::UnappliedEditsGuard> m_edits;
    QLabel* m_marker;
    qv::StringId m_applied;
};
