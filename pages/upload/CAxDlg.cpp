#include "upload/CAxDlg.h"

CAxDlg::CAxDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("ActiveX Page Upload"), store, prompt, parent) {}
