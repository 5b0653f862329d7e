#include "upload/CLogoDlg.h"

#include "QtText.h"

CLogoDlg::CLogoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(qv::StringId::LogoTitle), store, prompt, parent) {}
