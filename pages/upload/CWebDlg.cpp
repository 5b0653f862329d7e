#include "upload/CWebDlg.h"

CWebDlg::CWebDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Web Page Upload"), store, prompt, parent) {}
