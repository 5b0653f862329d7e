#include "pages/CTablePageDlg.h"

#include "link/CGlobalData.h"
#include "link/Commands.h"
#include "link/Frame.h"
#include "pages/ControlFactory.h"
#include "pages/Prompt.h"

#include <QLabel>

CTablePageDlg::CTablePageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
                             std::unique_ptr<qv::UnappliedEditsGuard> edits,
                             const QString& markerText, qv::StringId applied, QWidget* parent)
    : CPageDlg(title, store, prompt, parent), m_edits(std::move(edits)),
      m_marker(qv::controls::unappliedMarker(markerText)), m_applied(applied) {}

void CTablePageDlg::tableArrived() {
    tableAnswerArrived();
    // False while a question about an earlier table is open: the page is rebuilt once it has
    // been answered.
    if (m_edits->takeFresh())
        reloadAndMark();
}

void CTablePageDlg::applyAnswered(int32_t value) {
    tableAnswerArrived();
    const bool accepted = value == qv::result::kSuccess;
    m_edits->confirmed(accepted);
    m_marker->setVisible(m_edits->unapplied());
    if (accepted)
        prompt().notice(qv::uiText(m_applied));
    else
        applyRefused(value);
}

void CTablePageDlg::applyRefused(int32_t value) {
    prompt().notice(qv::uiText(qv::StringId::ChangeRefused).arg(value));
}

bool CTablePageDlg::confirmLeave() {
    const qv::EditsOnLeave answer = m_edits->confirmLeave();
    if (answer == qv::EditsOnLeave::Discarded) {
        reloadAndMark();
        editsDiscarded();
    }
    return answer != qv::EditsOnLeave::Stay;
}

void CTablePageDlg::linkEnded() {
    m_edits->linkEnded();
}

void CTablePageDlg::noteEdit() {
    m_edits->noteEdit();
    reloadAndMark();
}

bool CTablePageDlg::apply() {
    qv::CGlobalData& s = store();
    if (!s.isConnected() || !s.send(applyRequest()))
        return false;
    m_edits->sent();
    return true;
}

void CTablePageDlg::discardEdits() {
    m_edits->discard();
    reloadAndMark();
}

bool CTablePageDlg::deleteChosen(const std::vector<int>& chosen, int row,
                                 const RowDeletion& rules) {
    if (chosen.size() > 1) {
        return deleteAfterAsking(
            rules.checkSeveral(chosen),
            qv::uiText(rules.severalQuestion).arg(static_cast<int>(chosen.size())),
            [&] { rules.deleteSeveral(chosen); });
    }
    if (!accepted(rules.checkOne(row)))
        return false;
    rules.deleteOne(row);
    noteEdit();
    return true;
}

bool CTablePageDlg::deleteAfterAsking(const qv::Verdict& verdict, const QString& question,
                                      const std::function<void()>& remove) {
    if (!accepted(verdict))
        return false;
    const std::function<bool()> unchanged = m_edits->unchangedSinceNow();
    if (!prompt().question(question, qv::DefaultAnswer::No) || !unchanged())
        return false;
    remove();
    noteEdit();
    return true;
}

void CTablePageDlg::showRefusal(const QString& text) {
    prompt().notice(text);
}

void CTablePageDlg::reloadAndMark() {
    reloadTable();
    m_marker->setVisible(m_edits->unapplied());
}
