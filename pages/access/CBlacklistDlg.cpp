#include "CBlacklistDlg.h"

CBlacklistDlg::CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Blacklist IP"), store, prompt, parent) {}

// The two lists are built by the blacklist page's own work; until then the store holds the
// tables and there is nothing on the page to rebuild.
void CBlacklistDlg::refreshBlacklist() {}
void CBlacklistDlg::refreshBlockList() {}
