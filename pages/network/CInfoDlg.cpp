#include "CInfoDlg.h"

CInfoDlg::CInfoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Product Summary"), store, prompt, parent) {}

void CInfoDlg::fill(const qv::NetworkConfigRecord& record) {
    // The summary's fields are laid out by the product summary page's own work; the record is
    // kept so that they can show the latest summary when they come.
    m_record = record;
}
