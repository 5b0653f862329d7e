#include "upload/CLogoDlg.h"

CLogoDlg::CLogoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Company Logo Upload"), store, prompt, parent) {}
