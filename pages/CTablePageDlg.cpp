#include "pages/CTablePageDlg.h"

#include "link/CGlobalData.h"
#include "link/Commands.h"
#include "pages/ControlFactory.h"
#include "pages/Prompt.h"

#include <QLabel>

CTablePageDlg::CTablePageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
                             std::unique_ptr<qv::UnappliedEditsGuard> edits,
                             const QString& markerText, QWidget* parent)
    : CPageDlg(title, store, prompt, parent), m_edits(std::move(edits)),
      m_marker(qv::controls::unappliedMarker(markerText)) {}

void CTablePageDlg::tableArrived() {
    // False while a question about an earlier table is open: the page is rebuilt once it has
    // been answered.
    if (m_edits->takeFresh())
        reloadAndMark();
}

void CTablePageDlg::applyAnswered(int32_t value) {
    const bool accepted = value == qv::result::kSuccess;
    m_edits->confirmed(accepted);
    m_marker->setVisible(m_edits->unapplied());
    // The marker alone does not tell the operator that Apply failed.
    if (!accepted)
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

void CTablePageDlg::sendTable(const qv::Frame& frame) {
    qv::CGlobalData& s = store();
    if (s.isConnected() && s.send(frame))
        m_edits->sent();
}

void CTablePageDlg::showRefusal(const QString& text) {
    prompt().notice(text);
}

void CTablePageDlg::reloadAndMark() {
    reloadTable();
    m_marker->setVisible(m_edits->unapplied());
}
