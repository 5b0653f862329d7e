#include "upload/CWebDlg.h"

#include "QtText.h"

CWebDlg::CWebDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(qv::StringId::WebTitle), store, prompt, parent) {}
