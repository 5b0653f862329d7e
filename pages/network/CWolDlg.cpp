#include "CWolDlg.h"

CWolDlg::CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Wake On Lan"), store, prompt, parent) {}

void CWolDlg::refresh() {
    // The list is built by the Wake-on-LAN page's own work; until then the store holds the
    // table and there is nothing on the page to rebuild.
}
