#include "upload/CAxDlg.h"

#include "QtText.h"

CAxDlg::CAxDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(qv::StringId::ActiveXTitle), store, prompt, parent) {}
