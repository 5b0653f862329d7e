#include "CCenteridDlg.h"

CCenteridDlg::CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Center ID Management"), store, prompt, parent) {}

void CCenteridDlg::refresh() {
    // The list and its editor are built by the center ID page's own work; until then there is
    // nothing on the page to rebuild.
}
